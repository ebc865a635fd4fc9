#include "bench/unpacker_runs.h"

// after windows.h
#include <tlhelp32.h>

#include <cstdio>

#include "bench/bench_support.h"
#include "bench/program_windows.h"
#include "res/resource.h"
#include "res/texts.h"

namespace bench {

namespace {

// How often the program's unpacker is looked for once Yes is answered, and
// while the silent installation starts.
constexpr DWORD kChildPollMs = 10;
constexpr DWORD kSilentChildPollMs = 5;

void ReadRunParts(HANDLE process, double startSystemMs, RunParts& parts) {
  FILETIME created, ended, kernel, user;  // only the first two are this process's under Wine
  if (!::GetProcessTimes(process, &created, &ended, &kernel, &user)) return;
  const auto ms = [](const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10000.0;
  };
  parts.launchMs = ms(created) - startSystemMs;
  parts.runMs = ms(ended) - ms(created);
}

}  // namespace

HANDLE FindChild(DWORD parentId, const char* name, const std::function<bool()>& over, DWORD pollMs,
                 DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  while (NowMs() < end) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    HANDLE found = nullptr;
    for (BOOL more = ::Process32First(snapshot, &entry); more && found == nullptr;
         more = ::Process32Next(snapshot, &entry)) {
      if (entry.th32ParentProcessID == parentId && _stricmp(entry.szExeFile, name) == 0) {
        found = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
      }
    }
    ::CloseHandle(snapshot);
    if (found != nullptr) return found;
    if (over()) return nullptr;  // the run is over
    ::Sleep(pollMs);
  }
  return nullptr;
}

std::string Describe(const RunParts& parts) {
  std::string text = Format("unpacker created after %.0f ms, ", parts.launchMs) + Format("ran %.0f ms", parts.runMs);
  if (parts.reportMs >= 0) text += Format(", its end to the message %.0f ms", parts.reportMs);
  return text;
}

double InstallThroughScreens(const PackagePlace& package, const std::string& target, RunParts& parts,
                             const WhileUnpacking& whileUnpacking) {
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package.folder);
  SetControlText(setup, IDC_TARGET_DIR, target);
  e2e::PostClick(setup, IDOK);
  const MessageBoxOnScreen confirm = WaitForBox(program, TEXT_CONFIRM_INSTALL, kSlowPollMs, {}, kScreenWaitMs);
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  e2e::Answer(confirm, IDYES);
  // While the unpacker runs, the driver only waits on it, and polls fast
  // for the end's message once it has ended: no load of the driver's own
  // slows the run.
  double unpackerEnd = -1;
  const DWORD programId = program.ProcessId();
  const HANDLE unpacker = FindChild(
      programId, kUnpackerName, [&] { return MessageBoxWindow(programId, confirm.window) != nullptr; }, kChildPollMs,
      kRunWaitMs);
  if (unpacker != nullptr) {
    if (whileUnpacking) {
      whileUnpacking(setup, unpacker);
    } else {
      ::WaitForSingleObject(unpacker, kRunWaitMs);
    }
    unpackerEnd = NowMs();
  }
  const MessageBoxOnScreen done = WaitForBox(program, TEXT_INSTALLED, kFastPollMs, {confirm.window});
  const double end = NowMs();
  if (unpacker != nullptr) {
    ReadRunParts(unpacker, startSystem, parts);
    parts.reportMs = end - unpackerEnd;
    ::CloseHandle(unpacker);
  }
  e2e::Answer(done, IDOK);
  CloseAfterRun(program, setup);
  return end - start;
}

double InstallSilently(const PackagePlace& package, const std::string& target, RunParts& parts) {
  std::string commandLine = "\"" + package.folder + kProgramName + "\" /S /DIR=" + target;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, package.folder.c_str(), &startup,
                        &process)) {
    throw BenchFailure("cannot start the silent installation: " + commandLine);
  }
  const HANDLE unpacker = FindChild(
      process.dwProcessId, kUnpackerName,
      [&] { return ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, kSilentChildPollMs, kRunWaitMs);
  const DWORD waited = ::WaitForSingleObject(process.hProcess, kRunWaitMs);
  const double elapsed = NowMs() - start;
  if (unpacker != nullptr) {
    ReadRunParts(unpacker, startSystem, parts);
    ::CloseHandle(unpacker);
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  Require(waited == WAIT_OBJECT_0, "the silent installation did not end");
  Require(code == 0, "the silent installation ended with exit code " + std::to_string(code));
  return elapsed;
}

double UnzipDirectly(const PackagePlace& package, const std::string& target, RunParts& parts) {
  const std::string unpacker = package.folder + "unzip";  // as the descriptor reader names it
  char commandLine[1024];
  std::snprintf(commandLine, sizeof commandLine, TEXT_UNPACKER_COMMAND_FORMAT, unpacker.c_str(),
                (package.folder + package.archive).c_str(), target.c_str());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS | CREATE_NEW_CONSOLE, nullptr,
                        nullptr, &startup, &process)) {
    throw BenchFailure("cannot start " + std::string(commandLine));
  }
  const DWORD waited = ::WaitForSingleObject(process.hProcess, kRunWaitMs);
  const double elapsed = NowMs() - start;
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ReadRunParts(process.hProcess, startSystem, parts);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  Require(waited == WAIT_OBJECT_0, "unzip.exe did not end");
  Require(code == 0, "unzip.exe ended with exit code " + std::to_string(code));
  return elapsed;
}

}  // namespace bench
