// The program splits its own command line (unattended/argument_split.h);
// here the C runtime of this system splits the same lines, in a program of
// its own, argument_echo.exe, and the two must agree.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/unit/argument_split_cases.h"
#include "unattended/argument_split.h"

namespace {

constexpr DWORD kEchoWaitMs = 30000;

std::string EchoPath() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1) + "argument_echo.exe";
}

// The arguments argument_echo.exe is given by the C runtime for
// `arguments`, or a failure.
std::vector<std::string> RuntimeSplit(const std::string& arguments) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    ADD_FAILURE() << "no pipe";
    return {};
  }
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  const std::string echo = EchoPath();
  std::string line = "\"" + echo + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process = {};
  const BOOL started = ::CreateProcessA(echo.c_str(), &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
  ::CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) output.append(chunk, read);
    ::WaitForSingleObject(process.hProcess, kEchoWaitMs);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "cannot start " << echo << " (error " << ::GetLastError() << ")";
  }
  ::CloseHandle(readEnd);

  std::vector<std::string> split;
  for (size_t at = 0; at < output.size();) {
    const size_t colon = output.find(':', at);
    if (colon == std::string::npos) {
      ADD_FAILURE() << "unreadable echo: " << output;
      break;
    }
    const size_t length = std::stoul(output.substr(at, colon - at));
    split.push_back(output.substr(colon + 1, length));
    at = colon + 1 + length;
  }
  return split;
}

TEST(ArgumentSplitAgreement, TheCRuntimeSplitsEveryLineAsTheProgramDoes) {
  for (const ArgumentSplitCase& c : ArgumentSplitCases()) {
    const std::string line = "Install.exe " + std::string(c.arguments);
    CommandLineArguments split(line.c_str());
    std::vector<std::string> program;
    for (CString argument; split.Next(argument);) program.push_back(argument.str());
    EXPECT_EQ(RuntimeSplit(c.arguments), program) << c.what << ": " << c.arguments;
  }
}

}  // namespace
