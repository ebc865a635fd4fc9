// Running the signing tool: its exit code and output, a program that is not
// there, one that would wait for a terminal, and one that does not end, with
// what it started.
#include "kit/run_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using kit::ProgramOutcome;
using std::chrono::seconds;

TEST(RunProgram, TellsHowTheProgramEndedAndWhatItPrinted) {
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    seconds timeout;
    ProgramOutcome outcome;
    int exitCode;
    std::vector<std::string> printed;  // parts of its output
  };
  const Case cases[] = {
      {"exit code, standard output and standard error",
       {"sh", "-c", "echo to-output; echo to-error >&2; exit 3"},
       seconds(10),
       ProgramOutcome::kExited,
       3,
       {"to-output\n", "to-error\n"}},
      // A tool that asks for a password reads nothing and finds no terminal,
      // in a session of its own: it cannot wait for an answer.
      {"no input, no terminal, a session of its own",
       {"sh", "-c",
        "read line; echo \"read [$line]\"; tty; set -- $(cat /proc/$$/stat); [ \"$6\" = $$ ] && echo leader"},
       seconds(10),
       ProgramOutcome::kExited,
       0,
       {"read []\n", "not a tty\n", "leader\n"}},
      {"a program that is not there", {"no-such-program-of-the-kit"}, seconds(10), ProgramOutcome::kNotFound, -1, {}},
      {"killed by a signal", {"sh", "-c", "kill -9 $$"}, seconds(10), ProgramOutcome::kKilled, -1, {}},
      {"still running at the bound",
       {"sh", "-c", "echo started; exec sleep 60"},
       seconds(1),
       ProgramOutcome::kTimedOut,
       -1,
       {"started\n"}},
      {"its output closed, still running at the bound",
       {"sh", "-c", "exec sleep 60 >/dev/null 2>&1"},
       seconds(1),
       ProgramOutcome::kTimedOut,
       -1,
       {}},
  };
  for (const Case& c : cases) {
    const auto started = std::chrono::steady_clock::now();
    const kit::ProgramRun run = kit::RunProgram(c.arguments, c.timeout);
    EXPECT_EQ(run.outcome, c.outcome) << c.what << ": " << run.why;
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what;
    for (const std::string& part : c.printed)
      EXPECT_NE(run.output.find(part), std::string::npos) << c.what << ": " << run.output;
    EXPECT_EQ(run.why.empty(), c.outcome == ProgramOutcome::kExited) << c.what << ": " << run.why;
    // A program killed at the bound is ended then, not waited for.
    EXPECT_LT(std::chrono::steady_clock::now() - started, c.timeout + seconds(5)) << c.what;
  }
}

// True while the process runs: not gone, and no zombie waiting to be reaped.
bool IsRunning(const std::string& pid) {
  std::ifstream stat("/proc/" + pid + "/stat");
  std::string field;
  for (int i = 0; i < 3 && stat >> field; ++i) {
  }
  return stat && field != "Z" && field != "X";
}

TEST(RunProgram, AProgramEndedAtTheBoundTakesWhatItStartedWithIt) {
  const kit::ProgramRun run =
      kit::RunProgram({"sh", "-c", "sleep 60 & echo $!; exec sleep 60"}, seconds(1));
  ASSERT_EQ(run.outcome, ProgramOutcome::kTimedOut) << run.why;
  const std::string child = run.output.substr(0, run.output.find('\n'));
  ASSERT_FALSE(child.empty()) << run.output;
  const auto deadline = std::chrono::steady_clock::now() + seconds(5);
  while (IsRunning(child) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_FALSE(IsRunning(child)) << "the tool's own child " << child << " still runs";
}

}  // namespace
