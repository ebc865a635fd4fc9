// Starting and ending the unpacker's process on Windows.
#pragma once

#include <windows.h>

#include "run/kill.h"
#include "unattended/silent_install.h"

// Starts the command line hidden, in a new console, at high priority. False
// when the process does not start; `process` then holds no process.
bool StartHiddenProcess(char* commandLine, PROCESS_INFORMATION& process);

// Closes the handles of a process record and empties it.
void ReleaseProcess(PROCESS_INFORMATION& process);

class Win32UnpackerProcess : public UnpackerProcess {
 public:
  explicit Win32UnpackerProcess(HANDLE process) : m_process(process) {}
  bool Terminate(unsigned int exitCode) override;
  bool HasEnded() override;

 private:
  HANDLE m_process;
};

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
