#include "run/kill.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/monitor.h"

namespace {

// The unpacker's process as both sides see it.
struct FakeUnpacker : UnpackerProcess {
  bool Terminate(unsigned int exitCode) override {
    if (!terminable.load()) return false;
    code.store(exitCode);
    ended.store(true);
    return true;
  }
  bool HasEnded() override { return ended.load(); }

  std::atomic<bool> ended{false};
  std::atomic<bool> terminable{true};
  std::atomic<unsigned int> code{0};
};

// The monitor's view: waits poll the fake process; a message can be held
// open until the test lets it go, as a user would.
class ThreadedPort : public MonitorPort {
 public:
  explicit ThreadedPort(FakeUnpacker& unpacker) : m_unpacker(unpacker) {}

  WaitOutcome WaitForUnpacker(int /*milliseconds*/) override {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    return m_unpacker.ended.load() ? WaitOutcome::kEnded : WaitOutcome::kTimedOut;
  }
  bool UnpackerExitCode(unsigned long& code) override {
    code = m_unpacker.code.load();
    return true;
  }
  void SetProgress(int /*position*/) override { ++steps; }
  void ShowMessage(const char* text) override {
    {
      std::lock_guard<std::mutex> lock(m_mutex);
      messages.push_back(text);
    }
    messageShown.store(true);
    while (holdMessage.load()) std::this_thread::yield();
  }
  void SetCancelCaption(const char* text) override {
    std::lock_guard<std::mutex> lock(m_mutex);
    caption = text;
  }

  std::vector<std::string> Messages() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return messages;
  }
  std::string Caption() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return caption;
  }

  std::atomic<int> steps{0};
  std::atomic<bool> holdMessage{false};
  std::atomic<bool> messageShown{false};

 private:
  FakeUnpacker& m_unpacker;
  std::mutex m_mutex;
  std::vector<std::string> messages;
  std::string caption;
};

// One run: a monitor thread on the fake process.
struct WatchedRun {
  WatchedRun() : port(unpacker) {
    claim.Start();
    monitor = std::thread([this] { monitorExit.store(RunMonitor(port, claim, running)); });
  }
  ~WatchedRun() {
    if (monitor.joinable()) monitor.join();
  }
  void WaitForSteps(int count) {
    while (port.steps.load() < count) std::this_thread::yield();
  }
  void Join() { monitor.join(); }

  FakeUnpacker unpacker;
  ThreadedPort port;
  RunClaim claim;
  std::atomic<int> running{1};
  std::atomic<int> monitorExit{1};
  std::thread monitor;
};

}  // namespace

TEST(Kill, DuringARunEndsTheUnpackerWithMinus999AndStopsTheMonitorSilently) {
  WatchedRun run;
  run.WaitForSteps(3);
  EXPECT_EQ(KillRun(run.unpacker, run.claim), KillOutcome::kKilled);
  const int stepsAtKill = run.port.steps.load();
  run.Join();
  EXPECT_EQ(run.unpacker.code.load(), 4294966297U);
  EXPECT_EQ(run.monitorExit.load(), -999);
  EXPECT_TRUE(run.port.Messages().empty());
  EXPECT_EQ(run.port.Caption(), "");
  EXPECT_EQ(run.running.load(), 1);  // the screen clears it, not the monitor
  // A step decided just before the kill may still arrive; the screen drops it.
  EXPECT_LE(run.port.steps.load(), stepsAtKill + 1);
}

TEST(Kill, AnUnpackerThatCannotBeTerminatedRunsOnAndTheMonitorKeepsWatching) {
  WatchedRun run;
  run.unpacker.terminable.store(false);
  run.WaitForSteps(2);
  EXPECT_EQ(KillRun(run.unpacker, run.claim), KillOutcome::kCannotTerminate);
  const int stepsAtKill = run.port.steps.load();
  run.WaitForSteps(stepsAtKill + 2);  // the bar goes on cycling
  run.unpacker.ended.store(true);
  run.Join();
  EXPECT_EQ(run.port.Messages(), std::vector<std::string>{"Installed successfully"});
  EXPECT_EQ(run.running.load(), 0);
}

TEST(Kill, AnsweredAfterTheUnpackerEndedByItselfReportsNoKill) {
  WatchedRun run;
  run.port.holdMessage.store(true);
  run.unpacker.ended.store(true);
  while (!run.port.messageShown.load()) std::this_thread::yield();
  // The success message is on screen; the user answers the kill question now.
  EXPECT_EQ(KillRun(run.unpacker, run.claim), KillOutcome::kAlreadyEnded);
  run.port.holdMessage.store(false);
  run.Join();
  EXPECT_EQ(run.port.Messages(), std::vector<std::string>{"Installed successfully"});
  EXPECT_EQ(run.port.Caption(), "Close");
  EXPECT_EQ(run.running.load(), 0);
  EXPECT_EQ(run.monitorExit.load(), 0);
}

TEST(Kill, ATerminateThatFailsBecauseTheProcessJustEndedLeavesTheEndToTheMonitor) {
  FakeUnpacker unpacker;
  unpacker.terminable.store(false);
  unpacker.ended.store(true);
  RunClaim claim;
  claim.Start();
  EXPECT_EQ(KillRun(unpacker, claim), KillOutcome::kAlreadyEnded);
  EXPECT_TRUE(claim.ClaimEnd());
}

TEST(Kill, AnUnpackerThatHasEndedIsNotKilledEvenWhereTerminateWouldSucceed) {
  FakeUnpacker unpacker;
  unpacker.ended.store(true);
  RunClaim claim;
  claim.Start();
  EXPECT_EQ(KillRun(unpacker, claim), KillOutcome::kAlreadyEnded);
  EXPECT_EQ(unpacker.code.load(), 0U);
  EXPECT_TRUE(claim.ClaimEnd());
}

TEST(Kill, RacingANaturalEndExactlyOneSideEndsTheRun) {
  for (int round = 0; round < 200; ++round) {
    WatchedRun run;
    run.WaitForSteps(1);
    std::thread natural([&run] { run.unpacker.ended.store(true); });
    const KillOutcome outcome = KillRun(run.unpacker, run.claim);
    natural.join();
    run.Join();
    const bool monitorReported = !run.port.Messages().empty();
    EXPECT_NE(outcome == KillOutcome::kKilled, monitorReported) << "round " << round;
    EXPECT_NE(outcome, KillOutcome::kCannotTerminate);
  }
}
