#include "run/run_gate.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

struct FakeUnpacker : UnpackerProcess {
  bool Terminate(unsigned int /*exitCode*/) override {
    ended = true;
    return true;
  }
  bool HasEnded() override { return ended; }
  bool ended = false;
};

// A process handle that is not there: it never reports an end, and no kill
// reaches it.
struct NoUnpacker : UnpackerProcess {
  bool Terminate(unsigned int /*exitCode*/) override { return false; }
  bool HasEnded() override { return false; }
};

struct Screen {
  std::atomic<int> running{0};
  RunClaim claim;
  RunGate gate{running, claim};
  FakeUnpacker unpacker;
};

// A run whose monitor could not be created: the unpacker it started runs
// on unwatched. It stays the run in progress — Install must not start a
// second unpacker over it — and Cancel's kill still reaches it.
TEST(RunGate, AnUnwatchedRunStaysInProgressAndKillable) {
  Screen screen;
  screen.gate.Started();
  screen.gate.Unwatched(true);
  EXPECT_TRUE(screen.gate.InProgress(screen.unpacker));
  EXPECT_TRUE(screen.gate.InProgress(screen.unpacker)) << "asking again changes nothing";

  ASSERT_EQ(KillRun(screen.unpacker, screen.claim), KillOutcome::kKilled);
  screen.gate.Killed();
  EXPECT_FALSE(screen.gate.InProgress(screen.unpacker));
}

// Once the unwatched unpacker has ended by itself, nothing runs: Cancel
// closes the screen and Install may start anew.
TEST(RunGate, AnUnwatchedRunIsOverOnceItsProcessHasEnded) {
  Screen screen;
  screen.gate.Started();
  screen.gate.Unwatched(true);
  screen.unpacker.ended = true;
  EXPECT_FALSE(screen.gate.InProgress(screen.unpacker));
  EXPECT_EQ(KillRun(screen.unpacker, screen.claim), KillOutcome::kAlreadyEnded) << "nothing left to kill";

  screen.unpacker.ended = false;
  screen.gate.Started();
  EXPECT_TRUE(screen.gate.InProgress(screen.unpacker));
}

// The unpacker did not start and its monitor could not be created either:
// nothing runs, so nothing is in progress. Install may start anew and
// Cancel closes the screen rather than offer a kill that cannot succeed.
TEST(RunGate, AnUnwatchedRunWhoseUnpackerNeverStartedIsOver) {
  Screen screen;
  NoUnpacker none;
  screen.gate.Started();
  screen.gate.Unwatched(false);
  EXPECT_FALSE(screen.gate.InProgress(none));
  EXPECT_EQ(KillRun(none, screen.claim), KillOutcome::kAlreadyEnded) << "the claim stays with nobody";

  screen.gate.Started();
  screen.gate.Unwatched(true);
  EXPECT_TRUE(screen.gate.InProgress(screen.unpacker)) << "a later run that did start is watched as before";
}

// A watched run is in progress until its monitor has cleared the flag, even
// when its process has ended: the monitor still has its end to report.
TEST(RunGate, AWatchedRunEndsWithItsMonitor) {
  Screen screen;
  screen.gate.Started();
  screen.unpacker.ended = true;
  EXPECT_TRUE(screen.gate.InProgress(screen.unpacker));
  screen.running.store(0);  // the monitor, after its closing message
  EXPECT_FALSE(screen.gate.InProgress(screen.unpacker));
}

}  // namespace
