#include "run/kill.h"

KillOutcome KillRun(UnpackerProcess& process, RunClaim& claim) {
  if (!claim.BeginKill()) return KillOutcome::kAlreadyEnded;
  // An unpacker that has ended by itself is not killed, even where the
  // system would still accept a terminate request for it.
  if (process.HasEnded()) {
    claim.CancelKill();
    return KillOutcome::kAlreadyEnded;
  }
  if (process.Terminate(kKilledUnpackerExitCode)) {
    claim.ConfirmKill();
    return KillOutcome::kKilled;
  }
  claim.CancelKill();
  return process.HasEnded() ? KillOutcome::kAlreadyEnded : KillOutcome::kCannotTerminate;
}
