// How a run ends: the hand-shake between the monitor and a kill.
//
// A run has two threads that may each want to end it: the monitor, when the
// unpacker's process has ended by itself, and the screen's thread, when the
// user answers "Kill the on-going process?" with Yes. Exactly one of them
// ends it; the other then does nothing. One RunClaim per screen decides, in
// these states:
//
//   kIdle     no run is being watched (before the first run; a run whose
//             monitor could not start is watched by nobody).
//   kRunning  Start(): the unpacker runs and the monitor watches it.
//   kKilling  BeginKill() from kRunning: the kill has chosen to terminate
//             and is between its call and that call's outcome. The monitor,
//             seeing the process end meanwhile, waits in ClaimEnd() for
//             the outcome rather than report an end the kill may cause.
//   kKilled   ConfirmKill(): the process was told to end; the run is the
//             kill's. The monitor's ClaimEnd() fails, so it shows nothing,
//             touches neither the button nor the flag, and stops moving the
//             bar (the screen drops bar steps once IsKilled()).
//   kEnding   ClaimEnd() from kRunning: the process ended by itself and the
//             monitor reports it. A later BeginKill() fails, so a question
//             answered after the natural end kills nothing and reports no
//             kill (KillOutcome::kAlreadyEnded).
//
// CancelKill() returns kKilling to kRunning when the process could not be
// terminated, or turned out to have ended by itself (the kill checks before
// and after its call): the monitor then reports the run's own end.
//
// The screen's run flag (m_bRunning) is separate: set when a run starts,
// cleared by the monitor after its closing message, by a successful kill, or
// by the screen when an unwatched run's process is found ended.
#pragma once

#include <atomic>

class RunClaim {
 public:
  // A new run begins.
  void Start() { m_state.store(kRunning); }
  // The run could not be watched; nobody claims it.
  void Abandon() { m_state.store(kIdle); }

  // The monitor saw the process end. True when the end is the monitor's to
  // report; false when a kill got there first. While a kill is deciding, it
  // waits for its outcome.
  bool ClaimEnd();

  // The kill's first step: true when it may terminate the run.
  bool BeginKill();
  // The process has been told to end: the run is the kill's.
  void ConfirmKill() { m_state.store(kKilled); }
  // The process could not be terminated: the run goes on.
  void CancelKill() { m_state.store(kRunning); }

  bool IsKilled() const { return m_state.load() == kKilled; }

 private:
  enum State { kIdle, kRunning, kKilling, kKilled, kEnding };
  std::atomic<int> m_state{kIdle};
};
