// The run's log file on Windows, and the local clock its lines are stamped
// with.
#pragma once

#include <windows.h>

#include "platform/log_file.h"

class Win32LogFile : public LogFile {
 public:
  Win32LogFile() = default;
  ~Win32LogFile() override;
  Win32LogFile(const Win32LogFile&) = delete;
  Win32LogFile& operator=(const Win32LogFile&) = delete;

  // Opened for appending only, so that each write lands at the end even
  // when another run appends to the same file; others may read it and
  // append meanwhile.
  bool Open(const char* path) override;
  // One write for the whole line: it goes to the system at once, so a run
  // that dies afterwards leaves it in the file.
  bool Append(const CString& bytes) override;

 private:
  HANDLE m_file = INVALID_HANDLE_VALUE;
};

class Win32LocalClock : public Clock {
 public:
  LocalTime Now() override;
};
