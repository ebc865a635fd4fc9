#include "run/monitor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

// Answers the monitor's waits from a script: a number of time-outs, then
// the given end.
class ScriptedPort : public MonitorPort {
 public:
  ScriptedPort(int timeouts, WaitOutcome end, unsigned long exitCode, std::atomic<int>& running)
      : m_timeouts(timeouts), m_end(end), m_exitCode(exitCode), m_running(running) {}

  WaitOutcome WaitForUnpacker(int milliseconds) override {
    waits.push_back(milliseconds);
    if (m_timeouts-- > 0) return WaitOutcome::kTimedOut;
    return m_end;
  }
  bool UnpackerExitCode(unsigned long& code) override {
    code = m_exitCode;
    return true;
  }
  void SetProgress(int position) override { positions.push_back(position); }
  void ShowMessage(const char* text) override {
    messages.push_back(text);
    runningWhileMessageShown = m_running.load();
  }
  void SetCancelCaption(const char* text) override { caption = text; }
  void Record(const char* text) override {
    records.push_back(text);
    messagesBeforeRecord = messages.size();
  }

  std::vector<int> waits;
  std::vector<std::string> records;
  size_t messagesBeforeRecord = 0;
  std::vector<int> positions;
  std::vector<std::string> messages;
  std::string caption;
  int runningWhileMessageShown = -1;

 private:
  int m_timeouts;
  WaitOutcome m_end;
  unsigned long m_exitCode;
  std::atomic<int>& m_running;
};

struct MonitorRun {
  explicit MonitorRun(int timeouts, WaitOutcome end = WaitOutcome::kEnded, unsigned long exitCode = 0)
      : port(timeouts, end, exitCode, running) {
    claim.Start();
    exitCodeOfThread = RunMonitor(port, claim, running);
  }
  std::atomic<int> running{1};
  RunClaim claim;
  ScriptedPort port;
  int exitCodeOfThread;
};

}  // namespace

TEST(Monitor, StepsTheBarByFiveEveryFiftyMillisecondsAndWrapsAtAHundred) {
  MonitorRun run(22);
  std::vector<int> expected;
  for (int step = 1; step <= 22; ++step) expected.push_back(step * 5 % 100);
  expected.push_back(100);
  EXPECT_EQ(run.port.positions, expected);  // 5, 10, ..., 95, 0, 5, 10, then the end at 100
  for (const int wait : run.port.waits) EXPECT_EQ(wait, 50);
}

TEST(Monitor, SuccessReportsThenRelabelsThenClearsTheFlag) {
  MonitorRun run(3);
  EXPECT_EQ(run.port.messages, std::vector<std::string>{"Installed successfully"});
  EXPECT_EQ(run.port.caption, "Close");
  EXPECT_EQ(run.port.runningWhileMessageShown, 1);  // cleared only after the message was dismissed
  EXPECT_EQ(run.running.load(), 0);
  EXPECT_EQ(run.exitCodeOfThread, 0);
}

TEST(Monitor, AnUnpackerAlreadyEndedAtTheFirstWaitJumpsStraightToAHundred) {
  MonitorRun run(0);
  EXPECT_EQ(run.port.positions, std::vector<int>{100});
}

TEST(Monitor, ANonzeroExitIsAFailureWithItsCodeAndLeavesBarAndButton) {
  struct Case {
    unsigned long exitCode;
    const char* message;
  };
  const Case cases[] = {
      {9, "Installation failed: unzip ended with exit code 9"},
      {0x7FFFFFFFUL, "Installation failed: unzip ended with exit code 2147483647"},
      // Codes from 0x80000000 on are status codes (a crash, a kill), written
      // in hexadecimal as Windows writes them.
      {0x80000000UL, "Installation failed: unzip ended with exit code 0x80000000"},
      {0xC0000005UL, "Installation failed: unzip ended with exit code 0xC0000005"},
      {4294966297UL, "Installation failed: unzip ended with exit code 0xFFFFFC19"},
  };
  for (const Case& c : cases) {
    MonitorRun run(2, WaitOutcome::kEnded, c.exitCode);
    EXPECT_EQ(run.port.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(run.port.positions, (std::vector<int>{5, 10}));  // where it stood
    EXPECT_EQ(run.port.caption, "");
    EXPECT_EQ(run.running.load(), 0);
  }
}

TEST(Monitor, TheUnpackersEndIsRecordedBeforeItIsReported) {
  struct Case {
    WaitOutcome end;
    unsigned long exitCode;
    const char* record;
  };
  const Case cases[] = {
      {WaitOutcome::kEnded, 0, "unpacker ended with exit code 0"},
      {WaitOutcome::kEnded, 9, "unpacker ended with exit code 9"},
      {WaitOutcome::kFailed, 0, "unpacker cannot be watched: it did not start, or its end cannot be read"},
  };
  for (const Case& c : cases) {
    MonitorRun run(1, c.end, c.exitCode);
    EXPECT_EQ(run.port.records, std::vector<std::string>{c.record});
    EXPECT_EQ(run.port.messagesBeforeRecord, 0u);
  }
}

TEST(Monitor, AFailedWaitIsTheUnzipError) {
  MonitorRun run(1, WaitOutcome::kFailed);
  EXPECT_EQ(run.port.messages, std::vector<std::string>{"Error in executing unzip command"});
  EXPECT_EQ(run.port.positions, std::vector<int>{5});
  EXPECT_EQ(run.port.caption, "");
  EXPECT_EQ(run.running.load(), 0);
}
