// Starting, watching and ending the unpacker's process on Windows.
#pragma once

#include <windows.h>

#include "platform/unpacker_launch.h"

// Starts the command line hidden, in a new console, at high priority. False
// when the process does not start; `process` then holds no process.
bool StartHiddenProcess(char* commandLine, PROCESS_INFORMATION& process);

// Closes the handles of a process record and empties it.
void ReleaseProcess(PROCESS_INFORMATION& process);

// Tells the process to end with `exitCode`. False when it cannot be told,
// and when it turns out to have ended by itself with a code of its own:
// some systems accept the request for a process that has already ended.
bool TerminateRunningProcess(HANDLE process, unsigned int exitCode);

// True when the process has ended.
bool HasProcessEnded(HANDLE process);

// The unpacker of a silent installation: started as the setup screen starts
// it, then waited for until it ends, however long that takes.
class Win32UnpackerLaunch : public UnpackerLaunch {
 public:
  Win32UnpackerLaunch() = default;
  ~Win32UnpackerLaunch() override;
  Win32UnpackerLaunch(const Win32UnpackerLaunch&) = delete;
  Win32UnpackerLaunch& operator=(const Win32UnpackerLaunch&) = delete;

  bool Start(char* commandLine, unsigned long& systemError) override;
  bool WaitForEnd(unsigned long& exitCode, unsigned long& systemError) override;

 private:
  PROCESS_INFORMATION m_process = {};
};
