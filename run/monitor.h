// The monitor of a run, free of window code: it waits on the unpacker in
// steps of 50 ms, steps the progress bar by 5 at each time-out (5, 10, ...,
// 95, 0, 5, ...), and reports the end: the bar at 100, "Installed
// successfully" and the Cancel button relabelled "Close" when the unpacker
// ended with exit code 0; "Installation failed: unzip ended with exit code N"
// for any other code; "Error in executing unzip command" when the process
// cannot be waited on. The run flag is cleared after the message has been
// dismissed. A killed run ends the monitor silently. The unpacker's end
// (its exit code, or that it cannot be watched) is recorded for the log.
#pragma once

#include <atomic>

#include "run/run_claim.h"

constexpr int kMonitorStepMs = 50;
constexpr int kMonitorStepSize = 5;
constexpr int kProgressFull = 100;
// The monitor's exit code when a kill ended its run.
constexpr int kMonitorKilledExitCode = -999;

enum class WaitOutcome { kEnded, kTimedOut, kFailed };

// What the monitor reaches of the unpacker and the screen.
class MonitorPort {
 public:
  virtual ~MonitorPort() = default;
  virtual WaitOutcome WaitForUnpacker(int milliseconds) = 0;
  // The ended unpacker's exit code; false when it cannot be read.
  virtual bool UnpackerExitCode(unsigned long& code) = 0;
  virtual void SetProgress(int position) = 0;
  // Shows a message and returns when the user has dismissed it.
  virtual void ShowMessage(const char* text) = 0;
  virtual void SetCancelCaption(const char* text) = 0;
  // A line for the run's log (/LOG=): the unpacker's end, before it is
  // reported.
  virtual void Record(const char* text) { (void)text; }
};

// Runs the monitor to its end; returns the thread's exit code.
int RunMonitor(MonitorPort& port, RunClaim& claim, std::atomic<int>& running);
