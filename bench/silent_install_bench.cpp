// The silent installation against the bare unpacker, side by side in one
// run, several rounds interleaved (the order alternates from round to
// round):
//
//   product    Install.exe /S /DIR=<folder>, from its process start to its
//              end, exit code 0;
//   reference  unzip.exe with the very command line the program gives it,
//              started as the program starts it (hidden, a console of its
//              own, high priority), from its process start to its end.
//
// Each round installs the generated package (bench/make-inputs.py) into a
// fresh folder and checks that every file arrived. The figure is the ratio
// of the medians; the goal, at most 1.01: a silent installation costs no
// more than the unpacking it asks for. Where the difference lies is told
// too, from the system's record of the unpacker's process: the time to its
// start, its run, and its end to the end of the process timed.
#include "bench/silent_install_bench.h"

#include <windows.h>
// after windows.h
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "tests/e2e/harness.h"

namespace {

constexpr char kPackageFolder[] = "C:\\bench\\silent";
constexpr char kTargetFolder[] = "C:\\bench\\silent-target";
constexpr char kProgramName[] = "Install.exe";
constexpr char kArchiveName[] = "package.zip";
constexpr DWORD kRunWaitMs = 600000;
constexpr double kGoal = 1.01;
// How often the product's unpacker is looked for while the program starts.
constexpr DWORD kChildPollMs = 5;

// The parts of one timed run, in milliseconds.
struct RunParts {
  double toUnpacker = -1;  // the timed process's start to the unpacker's creation
  double unpacking = -1;   // the unpacker's creation to its end
  double afterward = -1;   // the unpacker's end to the timed process's end
};

double SystemNowMs() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<double>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000.0;
}

double Ms(const FILETIME& time) {
  return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
         10000.0;
}

// The running unzip.exe that `parentId` started, opened for its times; it is
// looked for until it shows or the parent ends (nullptr then).
HANDLE FindUnpacker(DWORD parentId, HANDLE parent) {
  for (;;) {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return nullptr;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    HANDLE found = nullptr;
    for (BOOL more = ::Process32First(snapshot, &entry); more && found == nullptr;
         more = ::Process32Next(snapshot, &entry)) {
      if (entry.th32ParentProcessID == parentId && _stricmp(entry.szExeFile, "unzip.exe") == 0) {
        found = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
      }
    }
    ::CloseHandle(snapshot);
    if (found != nullptr) return found;
    if (::WaitForSingleObject(parent, kChildPollMs) == WAIT_OBJECT_0) return nullptr;
  }
}

double NowMs() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER counter;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

std::string Listed(const std::vector<double>& values) {
  std::string text;
  for (const double value : values) {
    char one[32];
    std::snprintf(one, sizeof one, "%.0f", value);
    text += (text.empty() ? "" : " ") + std::string(one);
  }
  return text;
}

std::string ReadInput(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw std::runtime_error("no input " + path + " (scripts/bench makes it)");
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

long FilesUnder(const std::string& folder) {
  long files = 0;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    files += (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? FilesUnder(folder + "\\" + name) : 1;
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return files;
}

// Runs `commandLine` as given to its end: the time from its start, after
// checking its exit code. `unpacker`: whether the process timed is the
// unpacker itself, or starts it.
double TimedRun(std::string commandLine, DWORD flags, bool hidden, const char* who, bool unpacker, RunParts& parts) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (hidden) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION process = {};
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, flags, nullptr, kPackageFolder, &startup,
                        &process)) {
    throw std::runtime_error(std::string("cannot start the ") + who + ": " + commandLine);
  }
  const HANDLE child = unpacker ? nullptr : FindUnpacker(process.dwProcessId, process.hProcess);
  const DWORD waited = ::WaitForSingleObject(process.hProcess, kRunWaitMs);
  const double elapsed = NowMs() - start;
  const double endSystem = startSystem + elapsed;
  FILETIME created, ended, kernel, user;
  if (::GetProcessTimes(unpacker ? process.hProcess : child, &created, &ended, &kernel, &user)) {
    parts.toUnpacker = Ms(created) - startSystem;
    parts.unpacking = Ms(ended) - Ms(created);
    parts.afterward = endSystem - Ms(ended);
  }
  if (child != nullptr) ::CloseHandle(child);
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (waited != WAIT_OBJECT_0) throw std::runtime_error(std::string("the ") + who + " did not end");
  if (code != 0) throw std::runtime_error(std::string("the ") + who + " ended with exit code " + std::to_string(code));
  return elapsed;
}

}  // namespace

namespace bench {

void SilentInstallBenchmark(const std::string& program, const std::string& unzip, const std::string& inputs,
                            int rounds) {
  const std::string kilobytes = ReadInput(inputs + "package.kb");
  const e2e::Folder package(kPackageFolder);
  package.CopyIn(program, kProgramName);
  package.CopyIn(unzip, "unzip.exe");
  package.CopyIn(inputs + kArchiveName, kArchiveName);
  package.WriteFile("Install.ini", "ZIPFILE:" + std::string(kArchiveName) +
                                       "\r\nFILESIZE:" + kilobytes.substr(0, kilobytes.find_first_of("\r\n")) + "\r\n");

  const std::string silent = "\"" + package.PathOf(kProgramName) + "\" /S /DIR=" + kTargetFolder;
  char unpacker[1024];
  std::snprintf(unpacker, sizeof unpacker, "\"%s\" -o -q \"%s\" -d \"%s\"", package.PathOf("unzip").c_str(),
                package.PathOf(kArchiveName).c_str(), kTargetFolder);

  std::vector<double> product;
  std::vector<double> reference;
  std::vector<double> parts[2][3];  // [product, reference][to the unpacker, unpacking, afterward]
  long expectedFiles = -1;
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool productTurn = (turn == 0) == (round % 2 == 0);
      e2e::DeleteTree(kTargetFolder);
      RunParts run;
      const double elapsed =
          productTurn ? TimedRun(silent, 0, false, "silent installation", false, run)
                      : TimedRun(unpacker, HIGH_PRIORITY_CLASS | CREATE_NEW_CONSOLE, true, "unpacker", true, run);
      if (run.unpacking >= 0) {
        std::vector<double>(&side)[3] = parts[productTurn ? 0 : 1];
        side[0].push_back(run.toUnpacker);
        side[1].push_back(run.unpacking);
        side[2].push_back(run.afterward);
      }
      const long files = FilesUnder(kTargetFolder);
      if (expectedFiles < 0) expectedFiles = files;
      if (files == 0 || files != expectedFiles) {
        throw std::runtime_error(std::to_string(files) + " files unpacked, not " + std::to_string(expectedFiles));
      }
      (productTurn ? product : reference).push_back(elapsed);
      std::printf("  %s %.0f ms: the unpacker created after %.0f ms, ran %.0f ms, then %.0f ms to the end\n",
                  productTurn ? "product  " : "reference", elapsed, run.toUnpacker, run.unpacking, run.afterward);
      std::fflush(stdout);
    }
  }
  e2e::DeleteTree(kTargetFolder);
  const double ratio = Median(product) / Median(reference);
  std::printf("  unpacked: %ld files\n", expectedFiles);
  if (!parts[0][0].empty() && !parts[1][0].empty()) {
    std::printf(
        "  medians: to the unpacker's creation %.0f ms (directly %.0f ms); its run %.0f ms (directly %.0f ms); "
        "its end to the end %.0f ms (directly %.0f ms)\n",
        Median(parts[0][0]), Median(parts[1][0]), Median(parts[0][1]), Median(parts[1][1]), Median(parts[0][2]),
        Median(parts[1][2]));
  }
  std::printf("  product   Install.exe /S, process start to end: min / median %.0f / %.0f ms  [%s]\n",
              *std::min_element(product.begin(), product.end()), Median(product), Listed(product).c_str());
  std::printf("  reference unzip.exe -o -q, the same command line, start to end: min / median %.0f / %.0f ms  [%s]\n",
              *std::min_element(reference.begin(), reference.end()), Median(reference), Listed(reference).c_str());
  std::printf("  ratio of medians %.3f; goal <= %.2f; %s\n", ratio, kGoal, ratio <= kGoal ? "PASS" : "OVER");
  std::fflush(stdout);
}

}  // namespace bench
