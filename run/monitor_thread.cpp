// The monitor thread: the window-free monitor on the unpacker's process and
// the setup screen's controls.
#include "framework/afxwin.h"
#include "run/monitor.h"
#include "run/monitor_args.h"
#include "run/run_log.h"

namespace {

class Win32MonitorPort : public MonitorPort {
 public:
  explicit Win32MonitorPort(const MonitorArgs& args) : m_args(args) {}

  WaitOutcome WaitForUnpacker(int milliseconds) override {
    // The handle is read through the record before every wait.
    const HANDLE process = m_args.pProcInfo->hProcess;
    if (process == nullptr) return WaitOutcome::kFailed;
    switch (::WaitForSingleObject(process, static_cast<DWORD>(milliseconds))) {
      case WAIT_OBJECT_0:
        return WaitOutcome::kEnded;
      case WAIT_TIMEOUT:
        return WaitOutcome::kTimedOut;
      default:
        return WaitOutcome::kFailed;
    }
  }

  bool UnpackerExitCode(unsigned long& code) override {
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(m_args.pProcInfo->hProcess, &exitCode)) return false;
    code = exitCode;
    return true;
  }

  void SetProgress(int position) override {
    ::SendMessageA(::GetParent(m_args.pProgress->m_hWnd), WM_RUN_PROGRESS, static_cast<WPARAM>(position), 0);
  }

  // The screen shows it on its own thread (see WM_RUN_MESSAGE).
  void ShowMessage(const char* text) override {
    ::SendMessageA(::GetParent(m_args.pProgress->m_hWnd), WM_RUN_MESSAGE, 0, reinterpret_cast<LPARAM>(text));
  }

  void SetCancelCaption(const char* text) override { m_args.pBtnCancel->SetWindowText(text); }

  void Record(const char* text) override {
    if (m_args.pLog != nullptr) m_args.pLog->Line(text);
  }

 private:
  const MonitorArgs& m_args;
};

}  // namespace

DWORD WINAPI MonitorThreadProc(LPVOID args) {
  const MonitorArgs& record = *static_cast<const MonitorArgs*>(args);
  Win32MonitorPort port(record);
  return static_cast<DWORD>(RunMonitor(port, *record.pClaim, *record.pbRunning));
}
