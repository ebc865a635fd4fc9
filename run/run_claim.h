// Who ends a run: the monitor, when the unpacker's process has ended, or a
// kill from the Cancel button. Exactly one of them wins; the other then does
// nothing, so a kill answered after a natural end reports no kill, and a
// killed run shows no message of its own end.
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
