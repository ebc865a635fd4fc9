// The kill of a run, free of window code: terminate the unpacker with exit
// code -999, and stop the monitor by claiming the run, so that the monitor
// shows nothing, touches neither the button nor the flag, and moves the bar
// no further.
#pragma once

#include "run/run_claim.h"

constexpr unsigned int kKilledUnpackerExitCode = static_cast<unsigned int>(-999);

class UnpackerProcess {
 public:
  virtual ~UnpackerProcess() = default;
  // Tells the process to end with `exitCode`; false when it cannot, or when
  // the process turns out to have ended by itself with a code of its own.
  virtual bool Terminate(unsigned int exitCode) = 0;
  // True when the process has already ended.
  virtual bool HasEnded() = 0;
};

enum class KillOutcome {
  kKilled,           // the unpacker was told to end; the monitor stops
  kCannotTerminate,  // the run goes on
  kAlreadyEnded,     // the unpacker ended by itself: its own end stands
};

KillOutcome KillRun(UnpackerProcess& process, RunClaim& claim);
