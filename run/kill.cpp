#include "run/kill.h"

KillOutcome KillRun(UnpackerProcess& process, RunClaim& claim) {
  if (!claim.BeginKill()) return KillOutcome::kAlreadyEnded;
  if (process.Terminate(kKilledUnpackerExitCode)) {
    claim.ConfirmKill();
    return KillOutcome::kKilled;
  }
  claim.CancelKill();
  return process.HasEnded() ? KillOutcome::kAlreadyEnded : KillOutcome::kCannotTerminate;
}
