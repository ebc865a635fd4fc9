// The record handed to the monitor thread: four pointers into the setup
// screen, which owns everything they point to and cannot end while a run is
// in progress.
#pragma once

#include <windows.h>

#include <atomic>

class CProgressCtrl;
class CButton;

struct MonitorArgs {
  PROCESS_INFORMATION* pProcInfo = nullptr;  // read before every wait, never copied
  CProgressCtrl* pProgress = nullptr;        // target of the bar positions
  std::atomic<int>* pbRunning = nullptr;     // cleared when the run ends
  CButton* pBtnCancel = nullptr;             // relabelled "Close" on success
};
