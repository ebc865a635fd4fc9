// Running the signing tool: its exit code and output, a program that is not
// there, one that would wait for a terminal, and one that does not end.
#include "kit/run_program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
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

}  // namespace
