#include "run/win32_unpacker_process.h"

#include "platform/win32_process.h"

bool Win32UnpackerProcess::Terminate(unsigned int exitCode) { return TerminateRunningProcess(m_process, exitCode); }

bool Win32UnpackerProcess::HasEnded() { return HasProcessEnded(m_process); }
