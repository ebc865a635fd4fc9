// Starting and ending the unpacker's process on Windows.
#pragma once

#include <windows.h>

#include "run/kill.h"

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
