#include "platform/win32_log_file.h"

Win32LogFile::~Win32LogFile() {
  if (m_file != INVALID_HANDLE_VALUE) ::CloseHandle(m_file);
}

bool Win32LogFile::Open(const char* path) {
  if (m_file != INVALID_HANDLE_VALUE) return false;
  m_file = ::CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  return m_file != INVALID_HANDLE_VALUE;
}

bool Win32LogFile::Append(const CString& bytes) {
  if (m_file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = static_cast<DWORD>(bytes.GetLength());
  DWORD written = 0;
  return ::WriteFile(m_file, bytes.c_str(), size, &written, nullptr) && written == size;
}

LocalTime Win32LocalClock::Now() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  LocalTime time;
  time.year = now.wYear;
  time.month = now.wMonth;
  time.day = now.wDay;
  time.hour = now.wHour;
  time.minute = now.wMinute;
  time.second = now.wSecond;
  return time;
}
