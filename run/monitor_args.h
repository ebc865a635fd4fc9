// The record handed to the monitor thread: four pointers into the setup
// screen, which owns everything they point to and cannot end while a run is
// in progress.
#pragma once

#include <windows.h>

#include <atomic>

class CProgressCtrl;
class CButton;
class RunClaim;
class RunLog;

// Sent by the monitor to the setup screen for each bar position (wParam), so
// that the screen's own thread applies it only while the run was not killed.
constexpr UINT WM_RUN_PROGRESS = WM_APP + 1;
// Sent by the monitor to the setup screen with its closing message (lParam:
// the text); handled once the user has dismissed the message.
constexpr UINT WM_RUN_MESSAGE = WM_APP + 2;

struct MonitorArgs {
  PROCESS_INFORMATION* pProcInfo = nullptr;  // read before every wait, never copied
  CProgressCtrl* pProgress = nullptr;        // target of the bar positions
  std::atomic<int>* pbRunning = nullptr;     // cleared when the run ends
  CButton* pBtnCancel = nullptr;             // relabelled "Close" on success
  RunClaim* pClaim = nullptr;                // who ends the run: the monitor or a kill
  RunLog* pLog = nullptr;                    // the run's log; none: nothing is logged
};

// The monitor thread's entry; its argument is the address of a MonitorArgs.
DWORD WINAPI MonitorThreadProc(LPVOID args);
