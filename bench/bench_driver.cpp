// The benchmark driver: measures the program under Wine against a reference
// of each benchmark's own, the two side by side in one run, several rounds
// interleaved (the order alternates from round to round), and prints for
// each benchmark the minimum and median of both and, last, the figure
// against its goal. Absolute times alone prove nothing on a shared machine;
// the ratios do.
//
//   bench_driver --program=SETUP --unzip=UNZIP --fake-unzip=FAKE
//                --minimal=MINIMAL --inputs=FOLDER [--only=NAME,...]
//                [--rounds=N]
//
// Paths are in Windows form. FOLDER holds what bench/make-inputs.py makes
// (package.zip, package.kb, licence-1k.txt, licence-1m.txt, licence-4m.txt);
// the folder benchmark expects C:\bench5000\ (5,000 subfolders) and
// C:\bench50\ (50), which scripts/bench makes. NAME is one of install,
// monitor, startup, licence, folders, silent. --rounds overrides every
// benchmark's number of rounds.
//
// The exit status is 0 when every benchmark chosen could be measured (a
// figure over its goal is a finding, not a failure), 1 otherwise.
#include <windows.h>
// after windows.h
#include <tlhelp32.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench/minimal_dialog.h"
#include "bench/silent_install_bench.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"

namespace {

using e2e::Folder;
using e2e::MessageBoxOnScreen;
using e2e::ProgramUnderTest;

// ---- options ----------------------------------------------------------------

struct BenchOptions {
  std::string program;
  std::string unzip;
  std::string fakeUnzip;
  std::string minimal;
  std::string inputs;  // with trailing backslash
  std::set<std::string> only;
  int rounds = 0;  // 0: each benchmark's own
};

BenchOptions& Options() {
  static BenchOptions options;
  return options;
}

int Rounds(int own) { return Options().rounds > 0 ? Options().rounds : own; }

// ---- where the benchmarks work ---------------------------------------------

constexpr char kWorkRoot[] = "C:\\bench\\";
constexpr char kProgramName[] = "Install.exe";
constexpr char kDescriptorName[] = "Install.ini";
constexpr char kArchiveName[] = "package.zip";
constexpr char kUnpackerName[] = "unzip.exe";
constexpr char kTargetFolder[] = "C:\\bench\\target";
constexpr char kManyFoldersName[] = "bench5000";
constexpr char kFewFoldersName[] = "bench50";
constexpr int kManyFolders = 5000;
constexpr int kFewFolders = 50;

// Bounds of the waits: generous, as a loaded machine under Wine is slow.
constexpr DWORD kScreenWaitMs = 120000;
constexpr DWORD kRunWaitMs = 600000;
constexpr DWORD kQueryWaitMs = 120000;
// Polling while a time runs: short, and only with calls that send the
// program no message (the window list, visibility, captions from the
// server's copy).
constexpr DWORD kFastPollMs = 1;
constexpr DWORD kSlowPollMs = 50;

// The program's own run, as the monitor benchmark asks of the fake unpacker.
constexpr DWORD kMonitorRunMs = 10000;

// ---- failures ----------------------------------------------------------------

struct BenchFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Failures the harness has added since the last look, as one text.
std::string NewHarnessFailures() {
  static int seen = 0;
  const testing::TestResult& result = testing::UnitTest::GetInstance()->ad_hoc_test_result();
  std::string text;
  for (; seen < result.total_part_count(); ++seen) {
    const testing::TestPartResult& part = result.GetTestPartResult(seen);
    if (part.failed()) text += std::string(text.empty() ? "" : "; ") + part.message();
  }
  return text;
}

void CheckHarness(const std::string& during) {
  const std::string failures = NewHarnessFailures();
  if (!failures.empty()) throw BenchFailure(during + ": " + failures);
}

void Require(bool condition, const std::string& what) {
  CheckHarness(what);
  if (!condition) throw BenchFailure(what);
}

// ---- time --------------------------------------------------------------------

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / perMs;
}

// Kernel plus user time of another process, in milliseconds, from the
// system's process list (NtQuerySystemInformation, SystemProcessInformation).
// Not GetProcessTimes: Wine answers it, for any process, with the caller's
// own times.
double CpuMs(DWORD processId) {
  using Query = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  static const Query query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) throw BenchFailure("no NtQuerySystemInformation");
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    const NTSTATUS status =
        query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (buffer.size() >= (64u << 20)) throw BenchFailure("cannot read the system's process list");
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 65536));
  }
  for (size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
    if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
      return static_cast<double>(entry->KernelTime.QuadPart + entry->UserTime.QuadPart) / 10000.0;
    }
    if (entry->NextEntryOffset == 0) break;
    offset += entry->NextEntryOffset;
  }
  throw BenchFailure("the process " + std::to_string(processId) + " is not in the system's process list");
}

struct Samples {
  std::vector<double> values;
  void Add(double value) { values.push_back(value); }
  double Min() const { return *std::min_element(values.begin(), values.end()); }
  double Median() const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const size_t n = sorted.size();
    return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
  }
  std::string List(const char* format) const {
    std::string text;
    for (const double value : values) {
      char one[64];
      std::snprintf(one, sizeof one, format, value);
      text += (text.empty() ? "" : " ") + std::string(one);
    }
    return text;
  }
};

// ---- output ------------------------------------------------------------------

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, double value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// One benchmark's result line of the closing table.
struct Figure {
  Figure(std::string name_, std::string unit_, const char* valueFormat_)
      : name(std::move(name_)), unit(std::move(unit_)), valueFormat(valueFormat_) {}

  std::string name;
  std::string unit;        // "ms" or "%"
  const char* valueFormat;  // of product and reference values
  Samples product;
  Samples reference;
  std::string figureName;  // what is held against the goal
  double figure = 0;
  std::string goalText;    // "<= 1.05", "informational"
  double goal = 0;         // 0: informational
};

std::vector<Figure>& Figures() {
  static std::vector<Figure> figures;
  return figures;
}

std::string Verdict(const Figure& f) {
  if (f.goal <= 0) return "INFO";
  return f.figure <= f.goal ? "PASS" : "OVER";
}

std::string MinMedian(const Samples& samples, const char* format, const std::string& unit) {
  return Format(format, samples.Min()) + " / " + Format(format, samples.Median()) + " " + unit;
}

void Report(const Figure& f, const std::string& productWhat, const std::string& referenceWhat) {
  Say("  product   " + productWhat + ": min / median " + MinMedian(f.product, f.valueFormat, f.unit) + "  [" +
      f.product.List(f.valueFormat) + "]");
  Say("  reference " + referenceWhat + ": min / median " + MinMedian(f.reference, f.valueFormat, f.unit) + "  [" +
      f.reference.List(f.valueFormat) + "]");
  Say("  " + f.figureName + " " + Format("%.3f", f.figure) + "; goal " + f.goalText + "; " + Verdict(f));
  Figures().push_back(f);
}

void PrintTable() {
  Say("");
  Say("== summary (product and reference: min / median)");
  for (const Figure& f : Figures()) {
    char line[512];
    std::snprintf(line, sizeof line, "%-10s product %-24s reference %-24s %s %.3f  goal %-16s %s", f.name.c_str(),
                  MinMedian(f.product, f.valueFormat, f.unit).c_str(),
                  MinMedian(f.reference, f.valueFormat, f.unit).c_str(), f.figureName.c_str(), f.figure,
                  f.goalText.c_str(), Verdict(f).c_str());
    Say(line);
  }
}

// ---- windows of the program --------------------------------------------------

DWORD OwnerOf(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner;
}

// A visible top-level window of the process with this class (or any, for
// nullptr) and caption (or any), found without sending it a message.
HWND FindVisible(DWORD processId, const char* className, const char* caption) {
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, className, caption)) != nullptr) {
    if (OwnerOf(window) == processId && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

// A visible message box of the process other than `ignore`, or nullptr.
HWND MessageBoxWindow(DWORD processId, HWND ignore) {
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
    if (window != ignore && OwnerOf(window) == processId && ::IsWindowVisible(window) &&
        ::GetDlgItem(window, e2e::kMessageBoxTextId) != nullptr) {
      return window;
    }
  }
  return nullptr;
}

HWND WaitVisible(const ProgramUnderTest& program, const char* caption, DWORD pollMs = kFastPollMs,
                 DWORD timeoutMs = kScreenWaitMs) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    if (const HWND window = FindVisible(program.ProcessId(), nullptr, caption)) return window;
    if (!program.IsRunning()) throw BenchFailure(program.Name() + " ended while awaited: the window " + caption);
    if (NowMs() > end) {
      throw BenchFailure(std::string("timed out waiting for the window ") + caption +
                         "; the program shows: " + e2e::DescribeWindows(program.ProcessId()));
    }
    ::Sleep(pollMs);
  }
}

// A message sent to a window of the program, answered within the long
// bound. Not with SMTO_ABORTIFHUNG: Wine takes a thread for hung when it has
// fetched no message for 5 s and is not waiting for one, which is how the
// monitor thread stands while its first message box comes up.
LRESULT SendLong(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool wide = false) {
  DWORD_PTR result = 0;
  const UINT flags = SMTO_BLOCK;
  const LRESULT done = wide ? ::SendMessageTimeoutW(window, message, wParam, lParam, flags, kQueryWaitMs, &result)
                            : ::SendMessageTimeoutA(window, message, wParam, lParam, flags, kQueryWaitMs, &result);
  if (done == 0) {
    const DWORD error = ::GetLastError();
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    throw BenchFailure("the window " + std::to_string(reinterpret_cast<UINT_PTR>(window)) + " (" + className +
                       ", id " + std::to_string(::GetDlgCtrlID(window)) + (::IsWindow(window) ? "" : ", gone") +
                       ") did not answer message " + std::to_string(message) + " (error " + std::to_string(error) +
                       ")");
  }
  return static_cast<LRESULT>(result);
}

// The whole text of a window of another process, with the long bound.
std::string TextLong(HWND window) {
  const LRESULT length = SendLong(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendLong(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return text;
}

// Waits for a message box of the program with exactly `text`; any other
// box that is not in `ignore` ends the benchmark with its text.
MessageBoxOnScreen WaitForBox(const ProgramUnderTest& program, const std::string& text, DWORD pollMs,
                              const std::set<HWND>& ignore = {}, DWORD timeoutMs = kRunWaitMs) {
  std::map<HWND, std::string> read;  // each box's text is asked once
  const double end = NowMs() + timeoutMs;
  for (;;) {
    HWND window = nullptr;
    while ((window = ::FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr) {
      if (ignore.count(window) != 0 || OwnerOf(window) != program.ProcessId() || !::IsWindowVisible(window)) continue;
      const HWND textControl = ::GetDlgItem(window, e2e::kMessageBoxTextId);
      if (textControl == nullptr) continue;
      auto known = read.find(window);
      if (known == read.end()) known = read.emplace(window, TextLong(textControl)).first;
      if (known->second == text) {
        MessageBoxOnScreen box;
        box.window = window;
        box.text = known->second;
        return box;
      }
      throw BenchFailure("the program shows \"" + known->second + "\" instead of \"" + text + "\"");
    }
    if (!program.IsRunning()) throw BenchFailure(program.Name() + " ended while awaited: the box \"" + text + "\"");
    if (NowMs() > end) throw BenchFailure("timed out waiting for the box \"" + text + "\"");
    ::Sleep(pollMs);
  }
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  const HWND control = ::GetDlgItem(dialog, id);
  Require(control != nullptr, "the setup screen has no control " + std::to_string(id));
  SendLong(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  Require(TextLong(control) == text, "the control " + std::to_string(id) + " does not take the text " + text);
}

// Ends the program from the setup screen after a run: Cancel (captioned
// "Close" by then) ends the setup screen and with it the licence screen.
void CloseAfterRun(ProgramUnderTest& program, HWND setup) {
  const HWND cancel = ::GetDlgItem(setup, IDCANCEL);
  Require(e2e::WaitUntil([&] { return TextLong(cancel) == TEXT_CLOSE; }, kScreenWaitMs),
          "the Cancel button of the setup screen is not relabelled Close");
  // The run flag is cleared just after the relabelling; a Cancel that comes
  // before it asks whether to kill the run: then answer No and try again.
  for (int attempt = 0; attempt < 5 && ::IsWindow(setup); ++attempt) {
    ::Sleep(200);
    e2e::PostClick(setup, IDCANCEL);
    if (e2e::WaitUntil([&] { return !::IsWindow(setup); }, 5000)) break;
    if (const HWND box = MessageBoxWindow(program.ProcessId(), nullptr)) e2e::PostClick(box, IDNO);
  }
  Require(!::IsWindow(setup), "the setup screen does not close");
  Require(program.WaitForExit(kScreenWaitMs).has_value(), "the program does not end after Close");
}

// Ends a screen with Esc and waits for the program's end.
void EndWithEscape(ProgramUnderTest& program, HWND screen) {
  e2e::PressEscape(screen);
  Require(program.WaitForExit(kScreenWaitMs).has_value(), "the program does not end after Esc");
}

// The program through the licence screen ("I Agree") onto the setup screen.
HWND OpenSetupScreen(ProgramUnderTest& program, const Folder& package) {
  Require(program.Start(package.PathOf(kProgramName), package.Path()), "cannot start the program");
  const HWND licence = WaitVisible(program, TEXT_LICENCE_CAPTION, kSlowPollMs);
  e2e::PostClick(licence, IDOK);
  return WaitVisible(program, TEXT_SETUP_CAPTION, kSlowPollMs);
}

// A package folder with the program and its descriptor.
Folder MakePackage(const std::string& name, const std::string& descriptor) {
  Folder package(kWorkRoot + name);
  package.CopyIn(Options().program, kProgramName);
  if (!descriptor.empty()) package.WriteFile(kDescriptorName, descriptor);
  CheckHarness("laying out the package " + name);
  return package;
}

std::string ReadInput(const std::string& name) {
  std::ifstream file(Options().inputs + name, std::ios::binary);
  if (!file) throw BenchFailure("no input " + Options().inputs + name + " (scripts/bench makes it)");
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct TreeCount {
  long files = 0;
  long folders = 0;
  unsigned long long bytes = 0;
};

void CountTree(const std::string& folder, TreeCount& count) {
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ++count.folders;
      CountTree(folder + "\\" + name, count);
    } else {
      ++count.files;
      count.bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

// Whether round `round` runs the product first: the order alternates.
bool ProductFirst(int round) { return round % 2 == 0; }

// ---- 1. install overhead -----------------------------------------------------

// The running child process `name` of the process, opened for waiting; it
// is looked for every few milliseconds until it shows or the parent's end
// message comes (nullptr then: it ended before it was seen).
HANDLE WaitForChild(DWORD parentId, const char* name, HWND confirm, DWORD timeoutMs) {
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
    if (MessageBoxWindow(parentId, confirm) != nullptr) return nullptr;  // the run is over
    ::Sleep(10);
  }
  return nullptr;
}

// Where a run's time went: the unpacker's own life, from the system's record
// of its process.
struct RunParts {
  double launchMs = -1;  // Yes (or CreateProcess) to the unpacker's creation
  double runMs = -1;     // the unpacker's creation to its end
  double reportMs = -1;  // its end to the message (product only)
};

double SystemNowMs() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<double>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) /
         10000.0;
}

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

std::string Describe(const RunParts& parts) {
  std::string text = Format("unpacker created after %.0f ms, ", parts.launchMs) +
                     Format("ran %.0f ms", parts.runMs);
  if (parts.reportMs >= 0) text += Format(", its end to the message %.0f ms", parts.reportMs);
  return text;
}

// From the confirmation's Yes to the success box, through the screens.
double InstallThroughScreens(const Folder& package, RunParts& parts) {
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package);
  SetControlText(setup, IDC_TARGET_DIR, kTargetFolder);
  e2e::PostClick(setup, IDOK);
  const MessageBoxOnScreen confirm = WaitForBox(program, TEXT_CONFIRM_INSTALL, kSlowPollMs, {}, kScreenWaitMs);
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  e2e::Answer(confirm, IDYES);
  // While the unpacker runs, the driver only waits on it, and polls fast
  // for the end's message once it has ended: no load of the driver's own
  // slows the run.
  double unpackerEnd = -1;
  const HANDLE unpacker = WaitForChild(program.ProcessId(), kUnpackerName, confirm.window, kRunWaitMs);
  if (unpacker != nullptr) {
    ::WaitForSingleObject(unpacker, kRunWaitMs);
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

// The same command line as the program's, started as the program starts it
// (hidden, a console of its own, high priority, handles inherited), to its
// process end.
double UnzipDirectly(const Folder& package, RunParts& parts) {
  const std::string unpacker = package.PathOf("unzip");  // as the descriptor reader names it
  char commandLine[1024];
  std::snprintf(commandLine, sizeof commandLine, TEXT_UNPACKER_COMMAND_FORMAT, unpacker.c_str(),
                package.PathOf(kArchiveName).c_str(), kTargetFolder);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process = {};
  const double startSystem = SystemNowMs();
  const double start = NowMs();
  if (!::CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, HIGH_PRIORITY_CLASS | CREATE_NEW_CONSOLE,
                        nullptr, nullptr, &startup, &process)) {
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

void InstallOverhead() {
  const std::string kilobytes = ReadInput("package.kb");
  Folder package = MakePackage("install", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:" +
                                              kilobytes.substr(0, kilobytes.find_first_of("\r\n")) + "\r\n");
  package.CopyIn(Options().unzip, kUnpackerName);
  package.CopyIn(Options().inputs + kArchiveName, kArchiveName);
  package.WriteFile("shrinkli.txt", ReadInput("licence-1k.txt"));
  CheckHarness("laying out the install package");

  Figure f("install", "ms", "%.0f");
  TreeCount expected;
  Samples launch[2], unpacking[2], report;  // [0] product, [1] reference
  const auto checkedRound = [&](const char* who, const std::function<double(RunParts&)>& run) {
    e2e::DeleteTree(kTargetFolder);
    RunParts parts;
    const double elapsed = run(parts);
    const int side = parts.reportMs >= 0 ? 0 : 1;
    if (parts.runMs >= 0) {
      launch[side].Add(parts.launchMs);
      unpacking[side].Add(parts.runMs);
    }
    if (parts.reportMs >= 0) report.Add(parts.reportMs);
    TreeCount count;
    CountTree(kTargetFolder, count);
    if (expected.files == 0) {
      expected = count;
      Say("  unpacked: " + std::to_string(count.files) + " files in " + std::to_string(count.folders) +
          " folders, " + Format("%.1f", static_cast<double>(count.bytes) / 1048576.0) + " MB");
    }
    Require(count.files == expected.files && count.bytes == expected.bytes && count.files > 0,
            std::string(who) + " unpacked " + std::to_string(count.files) + " files, not " +
                std::to_string(expected.files));
    Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");
    Say(std::string("  ") + who + Format(" %.0f ms: ", elapsed) + Describe(parts));
    return elapsed;
  };
  const int rounds = Rounds(3);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(checkedRound("product", [&](RunParts& parts) { return InstallThroughScreens(package, parts); }));
      } else {
        f.reference.Add(checkedRound("reference", [&](RunParts& parts) { return UnzipDirectly(package, parts); }));
      }
    }
  }
  // Where the difference lies: before the unpacker starts, in its run, and
  // after its end.
  if (!launch[0].values.empty() && !launch[1].values.empty() && !report.values.empty()) {
    Say(Format("  medians: to the unpacker's start %.0f ms", launch[0].Median()) +
        Format(" (directly %.0f ms); ", launch[1].Median()) +
        Format("its run %.0f ms", unpacking[0].Median()) + Format(" (directly %.0f ms); ", unpacking[1].Median()) +
        Format("its end to the message %.0f ms", report.Median()));
  }
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "<= 1.05";
  f.goal = 1.05;
  Report(f, "Yes to \"Installed successfully\"", "unzip.exe -o -q started directly, to its end");
}

// ---- 2. monitor cost ---------------------------------------------------------

struct CpuShare {
  double percent;
  double cpuMs;
  double wallMs;
};

CpuShare ShareOf(double cpu0, double wall0, double cpu1, double wall1) {
  return {100.0 * (cpu1 - cpu0) / (wall1 - wall0), cpu1 - cpu0, wall1 - wall0};
}

// The share of one core that `process` takes from now until `done` returns.
CpuShare MeasureShare(DWORD process, const std::function<void()>& done) {
  const double cpu0 = CpuMs(process), wall0 = NowMs();
  done();
  return ShareOf(cpu0, wall0, CpuMs(process), NowMs());
}

std::string Describe(const CpuShare& share) {
  return Format("%.0f ms CPU", share.cpuMs) + Format(" in %.0f ms", share.wallMs) +
         Format(" = %.3f %%", share.percent);
}

// The program's share during a run of the fake unpacker, from the progress
// bar's appearance (the unpacker started and watched) to the end's message;
// and, before, its share with the setup screen idle as long.
CpuShare ProductMonitorRound(const Folder& package, Samples& idleShares) {
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package);
  const DWORD process = program.ProcessId();
  SetControlText(setup, IDC_TARGET_DIR, kTargetFolder);
  ::Sleep(500);  // the start-up's own work settles
  const CpuShare idle = MeasureShare(process, [] { ::Sleep(kMonitorRunMs); });
  Say("  idle      the setup screen, nothing running: " + Describe(idle));
  idleShares.Add(idle.percent);

  e2e::PostClick(setup, IDOK);
  const MessageBoxOnScreen confirm = WaitForBox(program, TEXT_CONFIRM_INSTALL, kSlowPollMs, {}, kScreenWaitMs);
  e2e::Answer(confirm, IDYES);
  const HWND bar = ::GetDlgItem(setup, IDC_PROGRESS);
  Require(e2e::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, kScreenWaitMs),
          "the progress bar does not appear");
  MessageBoxOnScreen done;
  const CpuShare run = MeasureShare(
      process, [&] { done = WaitForBox(program, TEXT_INSTALLED, kSlowPollMs, {confirm.window}); });
  Say("  product   a run of the fake unpacker: " + Describe(run));
  e2e::Answer(done, IDOK);
  CloseAfterRun(program, setup);
  return run;
}

// The minimal monitor's share from its window's appearance to its "Done";
// `steps` chooses its steps' parts (see minimal_dialog.cpp).
CpuShare ReferenceMonitorRound(const Folder& package, const std::string& steps = "") {
  ProgramUnderTest program;
  Require(program.Start(package.PathOf("minimal_dialog.exe"), package.Path(), MINIMAL_MONITOR_ARGUMENT + steps),
          "cannot start the minimal monitor");
  WaitVisible(program, MINIMAL_MONITOR_CAPTION, kFastPollMs);
  MessageBoxOnScreen done;
  const CpuShare run =
      MeasureShare(program.ProcessId(), [&] { done = WaitForBox(program, MINIMAL_MONITOR_DONE, kSlowPollMs); });
  Say("  reference the minimal monitor" + steps + ": " + Describe(run));
  e2e::Answer(done, IDOK);
  Require(program.WaitForExit(kScreenWaitMs).has_value(), "the minimal monitor does not end");
  return run;
}

void MonitorCost() {
  Folder package = MakePackage("monitor", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:1\r\n");
  package.CopyIn(Options().fakeUnzip, kUnpackerName);
  package.WriteFile("unzip.cfg", "sleep_ms=" + std::to_string(kMonitorRunMs) + "\r\n");
  package.CopyIn(Options().minimal, "minimal_dialog.exe");
  CheckHarness("laying out the monitor package");

  Figure f("monitor", "%", "%.3f");
  Samples idle;
  const int rounds = Rounds(3);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(ProductMonitorRound(package, idle).percent);
      } else {
        f.reference.Add(ReferenceMonitorRound(package).percent);
      }
    }
  }
  // The parts of a step, once each: the 50 ms waits alone, and with the
  // sends to the screen's thread but no drawing of the bar.
  const CpuShare waits = ReferenceMonitorRound(package, "=wait");
  const CpuShare sends = ReferenceMonitorRound(package, "=send");
  Say(Format("  parts of the minimal monitor's cost: the waits alone %.3f %%, ", waits.percent) +
      Format("with the sends %.3f %%, ", sends.percent) +
      Format("with the bar drawn too (median) %.3f %%", f.reference.Median()));
  Say("  idle setup screen: min / median " + MinMedian(idle, "%.3f", "%"));
  Say(Format("  ratio of medians, product / minimal monitor: %.2f", f.product.Median() / f.reference.Median()));
  f.figureName = "product share, %";
  f.figure = f.product.Median();
  f.goalText = "<= 1 %";
  f.goal = 1.0;
  Report(f, "the setup program during a 10 s run, % of one core",
         "a minimal program stepping a bar every 50 ms for 10 s, % of one core");
}

// ---- 3. start-up -------------------------------------------------------------

// From the process start to the window `caption` visible; then Esc.
double TimeToScreen(const std::string& exe, const std::string& folder, const char* caption, HWND* shown = nullptr,
                    const std::function<void(HWND)>& check = {}) {
  ProgramUnderTest program;
  const double start = NowMs();
  Require(program.Start(exe, folder), "cannot start " + exe);
  const HWND screen = WaitVisible(program, caption, kFastPollMs);
  const double elapsed = NowMs() - start;
  if (shown != nullptr) *shown = screen;
  if (check) check(screen);
  EndWithEscape(program, screen);
  return elapsed;
}

void StartUp() {
  Folder package = MakePackage("startup", "");
  package.WriteFile("display.txt",
                    "FIRSTLINE:Welcome\r\nSECONDLINE:Read the terms below.\r\nTHIRDLINE:Thank you.\r\n");
  package.WriteFile("shrinkli.txt", ReadInput("licence-1k.txt"));
  package.CopyIn(Options().minimal, "minimal_dialog.exe");
  CheckHarness("laying out the start-up package");

  Figure f("startup", "ms", "%.0f");
  const int rounds = Rounds(7);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(TimeToScreen(package.PathOf(kProgramName), package.Path(), TEXT_LICENCE_CAPTION));
      } else {
        f.reference.Add(TimeToScreen(package.PathOf("minimal_dialog.exe"), package.Path(), MINIMAL_DIALOG_CAPTION));
      }
      ::Sleep(200);
    }
  }
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "<= 1.3";
  f.goal = 1.3;
  Report(f, "process start to the licence screen visible", "process start to the minimal dialog visible");
}

// ---- 4. large licence --------------------------------------------------------

// The file's text as the licence screen shows it: every LF as CR CR LF.
std::string AsShown(const std::string& file) {
  std::string shown;
  shown.reserve(file.size() * 3);
  for (const char ch : file) {
    if (ch == '\n') {
      shown += "\r\r\n";
    } else {
      shown += ch;
    }
  }
  return shown;
}

void LargeLicence() {
  struct Variant {
    Variant(const char* input_, const char* folder_) : input(input_), folder(folder_) {}
    const char* input;
    const char* folder;
    Samples times;
    std::string expected;
    bool checked = false;
    std::unique_ptr<Folder> package;
  };
  Variant variants[] = {{"licence-1k.txt", "licence-1k"}, {"licence-1m.txt", "licence-1m"},
                        {"licence-4m.txt", "licence-4m"}};
  for (Variant& v : variants) {
    const std::string text = ReadInput(v.input);
    v.package = std::make_unique<Folder>(kWorkRoot + std::string(v.folder));
    v.package->CopyIn(Options().program, kProgramName);
    v.package->WriteFile("shrinkli.txt", text);
    v.expected = AsShown(text);
    CheckHarness(std::string("laying out the package ") + v.folder);
  }
  const int rounds = Rounds(5);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 3; ++turn) {
      // 1 KB, 1 MB, 4 MB in one round, 4 MB, 1 MB, 1 KB in the next.
      Variant& v = variants[ProductFirst(round) ? 2 - turn : turn];
      const auto check = [&](HWND screen) {
        if (v.checked) return;
        const HWND edit = ::GetDlgItem(screen, IDC_LICENSE_TEXT);
        const LRESULT length = SendLong(edit, WM_GETTEXTLENGTH, 0, 0);
        std::string shown(static_cast<size_t>(length) + 1, '\0');
        const LRESULT copied = SendLong(edit, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(&shown[0]));
        shown.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
        Require(static_cast<size_t>(length) == v.expected.size(),
                std::string(v.input) + ": the licence text is " + std::to_string(length) + " characters long, not " +
                    std::to_string(v.expected.size()));
        Require(shown == v.expected, std::string(v.input) + ": the licence text differs from the file's");
        Say(std::string("  ") + v.input + ": the licence screen shows the whole text (" +
            std::to_string(length) + " characters, line ends CR CR LF)");
        v.checked = true;
      };
      const double elapsed =
          TimeToScreen(v.package->PathOf(kProgramName), v.package->Path(), TEXT_LICENCE_CAPTION, nullptr, check);
      v.times.Add(elapsed);
      Say(std::string("  ") + v.input + Format(" %.0f ms", elapsed));
      ::Sleep(200);
    }
  }
  Figure f("licence", "ms", "%.0f");
  f.product = variants[2].times;
  f.reference = variants[0].times;
  const double extra1 = variants[1].times.Median() - variants[0].times.Median();
  const double extra4 = variants[2].times.Median() - variants[0].times.Median();
  Say("  1 MB licence: min / median " + MinMedian(variants[1].times, "%.0f", "ms"));
  Say(Format("  extra time over 1 KB: 1 MB %.0f ms, ", extra1) + Format("4 MB %.0f ms; ", extra4) +
      Format("4 MB / 1 MB extra %.2f (linear: 4)", extra4 / extra1));
  Say(Format("  ratio of medians 4 MB / 1 KB: %.2f", f.product.Median() / f.reference.Median()));
  f.figureName = "4MB/1MB extra";
  f.figure = extra4 / extra1;
  f.goalText = "~4 (<= 5)";
  f.goal = 5.0;
  Report(f, "4 MB licence, start to screen visible", "1 KB licence, start to screen visible");
}

// ---- 5. a folder with 5,000 subfolders ---------------------------------------

// One entry of a list of the program, read with the wide messages (see
// harness.h).
std::string EntryAt(HWND list, int index) {
  const LRESULT length = SendLong(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, true);
  if (length < 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendLong(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]), true);
  wide.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return std::string(wide.begin(), wide.end());  // the entries asked for are ASCII
}

// Index of `entry` in the list, or -1: the list's own search, checked, and
// else a walk through the entries.
int FindEntry(HWND list, const std::string& entry) {
  const std::wstring wide(entry.begin(), entry.end());
  const int found = static_cast<int>(SendLong(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(wide.c_str()), true));
  if (found >= 0 && EntryAt(list, found) == entry) return found;
  const int count = static_cast<int>(SendLong(list, LB_GETCOUNT, 0, 0, true));
  for (int index = 0; index < count; ++index) {
    if (EntryAt(list, index) == entry) return index;
  }
  return -1;
}

// Double-clicks `entry` of the folder list and waits until the list holds
// `count` entries and the path field has changed: the time that takes.
double DoubleClickAndList(HWND setup, const std::string& entry, int count) {
  const HWND list = ::GetDlgItem(setup, IDC_DIR_LIST);
  const int index = FindEntry(list, entry);
  Require(index >= 0, "the folder list has no entry " + entry);
  SendLong(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const std::string pathBefore = TextLong(::GetDlgItem(setup, IDC_CURRENT_PATH));
  const double start = NowMs();
  ::PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_DIR_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  const double end = start + kScreenWaitMs;
  for (;;) {
    // Answered once the program is back in its message loop.
    if (SendLong(list, LB_GETCOUNT, 0, 0, true) == count && TextLong(::GetDlgItem(setup, IDC_CURRENT_PATH)) != pathBefore) {
      return NowMs() - start;
    }
    if (NowMs() > end) {
      throw BenchFailure("timed out waiting for the listing after a double-click on " + entry + "; the list holds " +
                         std::to_string(SendLong(list, LB_GETCOUNT, 0, 0, true)) + " entries");
    }
    ::Sleep(kFastPollMs);
  }
}

void ManyFolders() {
  Folder package = MakePackage("folders", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:1\r\n");
  const auto entryOf = [](const char* name) { return "[" + std::string(name) + "]"; };
  Figure f("folders", "ms", "%.0f");
  const int rounds = Rounds(5);
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package);
  const HWND list = ::GetDlgItem(setup, IDC_DIR_LIST);
  const int rootCount = static_cast<int>(SendLong(list, LB_GETCOUNT, 0, 0, true));
  // Each listing has the parent entry above the subfolders.
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool many = (turn == 0) == ProductFirst(round);
      const char* name = many ? kManyFoldersName : kFewFoldersName;
      const double elapsed = DoubleClickAndList(setup, entryOf(name), (many ? kManyFolders : kFewFolders) + 1);
      Say(std::string("  ") + name + Format(" listed in %.0f ms", elapsed));
      (many ? f.product : f.reference).Add(elapsed);
      DoubleClickAndList(setup, "[..]", rootCount);
    }
  }
  EndWithEscape(program, setup);
  const double perEntry = (f.product.Median() - f.reference.Median()) / (kManyFolders - kFewFolders);
  Say(Format("  cost of one more entry: %.3f ms", perEntry));
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "informational";
  f.goal = 0;
  Report(f, "double-click to a list of 5,000 subfolders", "double-click to a list of 50 subfolders");
}

// ---- main --------------------------------------------------------------------

bool TakeValue(const char* argument, const char* name, std::string& value) {
  const size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0) return false;
  value = argument + length;
  return true;
}

int Usage(const std::string& why) {
  std::fprintf(stderr,
               "bench_driver: %s\nusage: bench_driver --program=SETUP --unzip=UNZIP --fake-unzip=FAKE "
               "--minimal=MINIMAL --inputs=FOLDER [--only=NAME,...] [--rounds=N]\n",
               why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  BenchOptions& options = Options();
  for (int i = 1; i < argc; ++i) {
    std::string only, rounds;
    if (std::strcmp(argv[i], "--help") == 0) {
      Usage("runs the benchmarks");
      return 0;
    }
    if (TakeValue(argv[i], "--program=", options.program) || TakeValue(argv[i], "--unzip=", options.unzip) ||
        TakeValue(argv[i], "--fake-unzip=", options.fakeUnzip) || TakeValue(argv[i], "--minimal=", options.minimal) ||
        TakeValue(argv[i], "--inputs=", options.inputs)) {
      continue;
    }
    if (TakeValue(argv[i], "--only=", only)) {
      std::stringstream names(only);
      for (std::string name; std::getline(names, name, ',');) options.only.insert(name);
    } else if (TakeValue(argv[i], "--rounds=", rounds)) {
      options.rounds = std::atoi(rounds.c_str());
    } else {
      return Usage(std::string("unknown argument ") + argv[i]);
    }
  }
  if (options.program.empty() || options.unzip.empty() || options.fakeUnzip.empty() || options.minimal.empty() ||
      options.inputs.empty()) {
    return Usage("a path is missing");
  }
  if (options.inputs.back() != '\\') options.inputs += '\\';
  e2e::Options().program = options.program;

  struct Benchmark {
    const char* name;
    const char* title;
    void (*run)();
  };
  const Benchmark benchmarks[] = {
      {"install", "install overhead: through the screens against unzip.exe alone", &InstallOverhead},
      {"monitor", "monitor cost: the setup program's CPU during a 10 s run", &MonitorCost},
      {"startup", "start-up: to the licence screen against a minimal dialog program", &StartUp},
      {"licence", "large licence: 4 MB (and 1 MB) against 1 KB, to the licence screen", &LargeLicence},
      {"folders", "a folder with 5,000 subfolders against one with 50, listed after a double-click", &ManyFolders},
      {"silent", "silent installation: Install.exe /S against unzip.exe alone",
       [] { SilentInstallBenchmark(Options().program, Options().unzip, Options().inputs, Rounds(5)); }},
  };
  for (const std::string& name : options.only) {
    if (std::none_of(std::begin(benchmarks), std::end(benchmarks),
                     [&](const Benchmark& b) { return name == b.name; })) {
      return Usage("no benchmark " + name);
    }
  }
  int failed = 0;
  for (const Benchmark& benchmark : benchmarks) {
    if (!options.only.empty() && options.only.count(benchmark.name) == 0) continue;
    Say("");
    Say(std::string("== ") + benchmark.name + ": " + benchmark.title);
    try {
      benchmark.run();
    } catch (const std::exception& error) {
      Say(std::string("  FAILED: ") + error.what());
      NewHarnessFailures();
      ++failed;
    }
  }
  if (!Figures().empty()) PrintTable();
  e2e::DeleteTree(kWorkRoot);
  return failed == 0 ? 0 : 1;
}
