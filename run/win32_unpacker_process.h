// The unpacker that a kill ends: its process on Windows.
#pragma once

#include <windows.h>

#include "run/kill.h"

class Win32UnpackerProcess : public UnpackerProcess {
 public:
  explicit Win32UnpackerProcess(HANDLE process) : m_process(process) {}
  bool Terminate(unsigned int exitCode) override;
  bool HasEnded() override;

 private:
  HANDLE m_process;
};
