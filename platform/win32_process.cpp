#include "platform/win32_process.h"

namespace {
// How long a terminated process is given to end before its code is read.
constexpr DWORD kTerminateSettleMs = 2000;
}  // namespace

bool StartHiddenProcess(char* commandLine, PROCESS_INFORMATION& process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  process = PROCESS_INFORMATION{};
  if (::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS | CREATE_NEW_CONSOLE,
                       nullptr, nullptr, &startup, &process)) {
    return true;
  }
  process = PROCESS_INFORMATION{};
  return false;
}

void ReleaseProcess(PROCESS_INFORMATION& process) {
  if (process.hThread != nullptr) ::CloseHandle(process.hThread);
  if (process.hProcess != nullptr) ::CloseHandle(process.hProcess);
  process = PROCESS_INFORMATION{};
}

bool TerminateRunningProcess(HANDLE process, unsigned int exitCode) {
  if (process == nullptr || !::TerminateProcess(process, exitCode)) return false;
  DWORD code = 0;
  if (::WaitForSingleObject(process, kTerminateSettleMs) == WAIT_OBJECT_0 && ::GetExitCodeProcess(process, &code) &&
      code != exitCode) {
    return false;
  }
  return true;
}

bool HasProcessEnded(HANDLE process) {
  return process != nullptr && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

Win32UnpackerLaunch::~Win32UnpackerLaunch() { ReleaseProcess(m_process); }

bool Win32UnpackerLaunch::Start(char* commandLine, unsigned long& systemError) {
  ReleaseProcess(m_process);
  if (StartHiddenProcess(commandLine, m_process)) return true;
  systemError = ::GetLastError();
  return false;
}

bool Win32UnpackerLaunch::WaitForEnd(unsigned long& exitCode, unsigned long& systemError) {
  DWORD code = 0;
  if (m_process.hProcess == nullptr || ::WaitForSingleObject(m_process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(m_process.hProcess, &code)) {
    systemError = ::GetLastError();
    return false;
  }
  exitCode = code;
  return true;
}
