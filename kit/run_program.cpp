#include "kit/run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

extern char** environ;

namespace kit {

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kReadChunkBytes = 4096;
// How often a program that closed its output is asked whether it has ended.
constexpr std::chrono::milliseconds kExitPoll(10);

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Frees the spawn attributes and file actions however the start ends.
class SpawnSetup {
 public:
  SpawnSetup() {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
  }
  ~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
};

// Reads the program's output until it closes it or the deadline passes;
// false at the deadline.
bool ReadUntilClosed(int fd, Clock::time_point deadline, std::string& output) {
  char chunk[kReadChunkBytes];
  for (;;) {
    pollfd wanted = {fd, POLLIN, 0};
    const int ready = ::poll(&wanted, 1, MillisecondsLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return false;
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return true;
    output.append(chunk, static_cast<size_t>(got));
  }
}

enum class Wait { kEnded, kDeadline, kLost };

// Waits for the program's end until the deadline.
Wait WaitUntilEnded(pid_t pid, Clock::time_point deadline, int& status) {
  for (;;) {
    const pid_t ended = ::waitpid(pid, &status, WNOHANG);
    if (ended == pid) return Wait::kEnded;
    if (ended < 0 && errno != EINTR) return Wait::kLost;
    if (Clock::now() >= deadline) return Wait::kDeadline;
    std::this_thread::sleep_for(kExitPoll);
  }
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& arguments, std::chrono::seconds timeout) {
  ProgramRun run;
  if (arguments.empty()) {
    run.why = "no program named";
    return run;
  }
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    run.why = std::string("cannot make a pipe: ") + std::strerror(errno);
    return run;
  }
  const int readEnd = pipeEnds[0];
  const int writeEnd = pipeEnds[1];

  SpawnSetup setup;
  posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&setup.actions, writeEnd, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&setup.actions, writeEnd, STDERR_FILENO);
  sigset_t noSignals;
  sigemptyset(&noSignals);
  posix_spawnattr_setsigmask(&setup.attributes, &noSignals);
  posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);

  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ);
  ::close(writeEnd);
  if (spawned != 0) {
    ::close(readEnd);
    run.outcome = spawned == ENOENT ? ProgramOutcome::kNotFound : ProgramOutcome::kCannotStart;
    run.why = arguments[0] + ": " + std::strerror(spawned);
    return run;
  }

  const Clock::time_point deadline = Clock::now() + timeout;
  int status = 0;
  const bool closedInTime = ReadUntilClosed(readEnd, deadline, run.output);
  ::close(readEnd);
  const Wait wait = closedInTime ? WaitUntilEnded(pid, deadline, status) : Wait::kDeadline;
  if (wait == Wait::kLost) {
    run.why = std::string("cannot learn how ") + arguments[0] + " ended: " + std::strerror(errno);
    return run;
  }
  if (wait == Wait::kDeadline) {
    // The program leads a session of its own: ending its process group ends
    // what it started too, which would otherwise run on after the build.
    ::kill(-pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    run.outcome = ProgramOutcome::kTimedOut;
    run.why = arguments[0] + " did not end within " + std::to_string(timeout.count()) + " seconds";
    return run;
  }
  if (WIFEXITED(status)) {
    run.outcome = ProgramOutcome::kExited;
    run.exitCode = WEXITSTATUS(status);
  } else {
    run.outcome = ProgramOutcome::kKilled;
    run.signal = WTERMSIG(status);
    run.why = arguments[0] + " was ended by signal " + std::to_string(WTERMSIG(status));
  }
  return run;
}

}  // namespace kit
