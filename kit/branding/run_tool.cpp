#include "kit/branding/run_tool.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace kit::branding {

namespace {

constexpr int kSignalStatusBase = 128;
constexpr size_t kReadChunk = 4096;

}  // namespace

ToolRun RunTool(const std::vector<std::string>& argv) {
  ToolRun run;
  if (argv.empty()) return run;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    run.output = std::string("cannot make a pipe: ") + std::strerror(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (spawned != 0) {
    ::close(pipeEnds[0]);
    run.output = argv[0] + ": " + std::strerror(spawned);
    return run;
  }
  run.started = true;
  char buffer[kReadChunk];
  for (;;) {
    const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (got > 0) {
      run.output.append(buffer, static_cast<size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    run.exitStatus = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    run.exitStatus = kSignalStatusBase + WTERMSIG(status);
  }
  return run;
}

}  // namespace kit::branding
