#include "platform/win32_process.h"

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

bool Win32UnpackerProcess::Terminate(unsigned int exitCode) {
  return m_process != nullptr && ::TerminateProcess(m_process, exitCode) != FALSE;
}

bool Win32UnpackerProcess::HasEnded() {
  return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}
