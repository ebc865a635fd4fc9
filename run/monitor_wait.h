// Waiting for a run's monitor thread to end, free of window code. The screen
// waits so that it can close the run's handles; meanwhile the monitor may
// still be sending it a bar position, so the wait handles sent messages
// whenever they come, and ends when the monitor has ended — or at once
// when the wait itself fails, rather than trying again for ever.
#pragma once

enum class MonitorWaitStep {
  kMonitorEnded,
  kMessagesSent,  // messages are waiting to be handled
  kFailed,        // the thread cannot be waited on
};

class MonitorWaitPort {
 public:
  virtual ~MonitorWaitPort() = default;
  virtual MonitorWaitStep Wait() = 0;
  virtual void HandleSentMessages() = 0;
};

// True when the monitor has ended; false when the wait failed.
bool WaitForMonitorEnd(MonitorWaitPort& port);
