// Runs another program of this machine (the signing tool, ImageMagick's
// convert, node with the resource writer) and collects what it prints. The
// program is found on PATH and started from its argument list, never through
// a shell, so that no file name is taken for shell syntax. It
// gets no terminal: it runs in a session of its own with its input from
// /dev/null, so a tool that would ask for a password on the terminal fails at
// once instead of waiting for an answer nobody gives.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kit {

enum class ProgramOutcome {
  kExited,       // it ended by itself: see exitCode
  kNotFound,     // no such program on PATH
  kCannotStart,  // found, but it could not be started
  kTimedOut,     // still running at the bound: it was killed
  kKilled,       // ended by a signal
};

struct ProgramRun {
  ProgramOutcome outcome = ProgramOutcome::kCannotStart;
  int exitCode = -1;
  int signal = 0;      // the signal that ended it, when kKilled
  std::string output;  // standard output and standard error, interleaved as written
  std::string why;     // what went wrong, when it did not exit by itself

  bool Succeeded() const { return outcome == ProgramOutcome::kExited && exitCode == 0; }
  bool Started() const { return outcome != ProgramOutcome::kNotFound && outcome != ProgramOutcome::kCannotStart; }
  // Its end as a shell tells it: the exit code, or 128 + the signal.
  int ShellStatus() const { return outcome == ProgramOutcome::kKilled ? kSignalStatusBase + signal : exitCode; }

  static constexpr int kSignalStatusBase = 128;
};

// Runs arguments[0] with the arguments after it and waits for its end, at
// most `timeout`; a program still running then is killed.
ProgramRun RunProgram(const std::vector<std::string>& arguments, std::chrono::seconds timeout);

}  // namespace kit
