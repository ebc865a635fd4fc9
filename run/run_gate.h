// Whether a run is in progress, as the Install and Cancel buttons ask it,
// free of window code.
//
// A run is in progress from its start until the monitor has reported its end
// or a kill has ended it (run_claim.h). A run whose monitor could not be
// started is still in progress while its unpacker runs: no second unpacker
// may start over it, and Cancel still offers to kill it. Once its process
// has ended by itself, it is over; a run whose unpacker never started is
// over at once.
#pragma once

#include <atomic>

#include "run/kill.h"
#include "run/run_claim.h"

class RunGate {
 public:
  // `running` is the screen's run flag, which the monitor clears too.
  RunGate(std::atomic<int>& running, RunClaim& claim) : m_running(running), m_claim(claim) {}

  // A run starts; before its monitor is created, so that the flag is set
  // before the monitor can clear it.
  void Started();
  // The monitor could not be created. With `unpackerStarted` the unpacker
  // runs on unwatched; without, nothing runs and the run is over.
  void Unwatched(bool unpackerStarted);
  // A kill has ended the run.
  void Killed();

  // True while a run is in progress; `unpacker` is the run's process.
  bool InProgress(UnpackerProcess& unpacker);

 private:
  std::atomic<int>& m_running;
  RunClaim& m_claim;
  bool m_unwatched = false;  // touched on the screen's thread only
};
