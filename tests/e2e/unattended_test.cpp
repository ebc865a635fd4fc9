// Unattended installation, operated from outside: the program started with
// /S, /DIR=, /LOG= and /? as a deployment tool or a login script starts it.
//
// A silent run is watched from its start to its end: no window of the
// program may become visible. Its exit code is read, what the unpacker was
// given is read from the fake unpacker's unzip.log, and the run's own log is
// read back line by line. The sample package installs with the genuine
// unzip.exe and is compared with its source byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/setup_screen_steps.h"
#include "tests/e2e/tree_compare.h"
#include "tests/e2e/unpacking_steps.h"
#include "unattended/exit_codes.h"

namespace e2e {
namespace {

constexpr char kArchive[] = "data.zip";
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kFakeConfig[] = "unzip.cfg";
constexpr char kFakeLog[] = "unzip.log";
// The fake unpacker's orders: make the folder after -d, then end with 0.
constexpr char kExtracts[] = "extract=1\r\n";
// A run that lasts, so that a window would have time to show.
constexpr char kExtractsSlowly[] = "sleep_ms=3000\r\nextract=1\r\n";
constexpr char kFails[] = "exit_code=3\r\n";
constexpr char kHangs[] = "hang=1\r\n";
constexpr char kPackageKB[] = "64";
constexpr char kLargestPackageKB[] = "2147483647";
constexpr unsigned long long kLargestPackageBytes = 2147483647ull * 1024;
constexpr char kFixtureArchive[] = "sample.zip";
constexpr char kFixtureData[] = "sample";
// The lines' stamp: "YYYY-MM-DD HH:MM:SS ".
constexpr size_t kStampLength = 20;

std::string FixturePath(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string LocalStampNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return stamp;
}

// The log's lines, each checked for its stamp and its CR LF end.
struct LogLines {
  std::vector<std::string> stamps;
  std::vector<std::string> texts;
};

LogLines ReadLog(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  LogLines log;
  const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d $)");
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the log's last line does not end with CR LF: " << bytes.substr(at);
      break;
    }
    const std::string line = bytes.substr(at, end - at);
    at = end + 2;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF in the line: " << line;
    if (line.size() < kStampLength || !std::regex_match(line.substr(0, kStampLength), stamp)) {
      ADD_FAILURE() << "a line without its date and time: " << line;
      continue;
    }
    log.stamps.push_back(line.substr(0, kStampLength - 1));
    log.texts.push_back(line.substr(kStampLength));
  }
  return log;
}

// Whether `wanted` stands in `lines` in this order, other lines between.
::testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
  size_t next = 0;
  for (const std::string& line : lines) {
    if (next < wanted.size() && line == wanted[next]) ++next;
  }
  if (next == wanted.size()) return ::testing::AssertionSuccess();
  std::ostringstream out;
  out << "the log lacks \"" << wanted[next] << "\" (in this order); it holds:";
  for (const std::string& line : lines) out << "\n  " << line;
  return ::testing::AssertionFailure() << out.str();
}

bool DriveCHoldsTheLargestPackage() {
  ULARGE_INTEGER available;
  ULARGE_INTEGER total;
  ULARGE_INTEGER free;
  return ::GetDiskFreeSpaceExA("c:\\", &available, &total, &free) && free.QuadPart >= kLargestPackageBytes;
}

class Unattended : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Options().fakeUnzip.empty()) << "the driver was given no --fake-unzip=PATH"; }
  void TearDown() override { unpacking::EndUnpackers(m_program.ProcessId()); }

  // The package: the program, its descriptor with the size `sizeKB`, a
  // placeholder archive, and the fake unpacker with `config` as unzip.cfg.
  void LayOut(const std::string& config = kExtracts, const std::string& sizeKB = kPackageKB) {
    Files().WriteFile(DescriptorName(), DescriptorText(sizeKB, kArchive));
    Files().WriteFile(kArchive, "an archive that the fake unpacker does not read");
    Files().CopyIn(Options().fakeUnzip, kUnpackerFile);
    Files().WriteFile(kFakeConfig, config);
  }

  const Folder& Files() const { return m_case.Files(); }
  std::string Target(const std::string& name = "installed data") const { return Files().PathOf(name); }
  std::string LogPath() const { return Files().PathOf("setup log.txt"); }
  std::string UnpackerPath() const { return Files().PathOf("unzip"); }
  std::string CommandLineFor(const std::string& folder) const {
    return Quoted(UnpackerPath()) + " -o -q " + Quoted(Files().PathOf(kArchive)) + " -d " + Quoted(folder);
  }
  // The command lines the fake unpacker was given, one for each start.
  std::vector<std::string> UnpackerStarts() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(Files().PathOf(kFakeLog)));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  // Starts the program with `arguments` and watches it to its end: the
  // exit code, or nothing (with a failure) when it does not end. Every
  // window of the program that becomes visible meanwhile is a failure.
  std::optional<DWORD> RunSilently(const std::string& arguments) { return RunSilently(arguments, m_program); }
  std::optional<DWORD> RunSilently(const std::string& arguments, ProgramUnderTest& program) {
    if (!program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), arguments)) return std::nullopt;
    std::string shown;
    WaitUntil(
        [&] {
          if (shown.empty() && !TopLevelWindows(program.ProcessId()).empty()) {
            shown = DescribeWindows(program.ProcessId());
          }
          return !program.IsRunning();
        },
        kExitWaitMs);
    EXPECT_EQ(shown, "") << "a window of the program became visible during " << arguments;
    return program.WaitForExit();
  }

  CasePackage m_case;
  ProgramUnderTest m_program;
};

// ---- silent runs -------------------------------------------------------------

// The sample package (nested folders, blanks in names, binary files) installs
// with the genuine unpacker into a folder whose name holds blanks, every file
// equal to its source.
TEST_F(Unattended, SilentInstallWithTheGenuineUnpackerIsByteForByte) {
  ASSERT_FALSE(Options().unzip.empty()) << "the driver was given no --unzip=PATH";
  ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
  Files().WriteFile(DescriptorName(), DescriptorText(kPackageKB, kArchive));
  ASSERT_TRUE(Files().CopyIn(FixturePath(kFixtureArchive), kArchive));
  ASSERT_TRUE(Files().CopyIn(Options().unzip, kUnpackerFile));

  const std::string target = Target("my installed data");
  EXPECT_EQ(RunSilently("/S /DIR=" + Quoted(target)), std::optional<DWORD>(kExitInstalled));
  const std::string source = FixturePath(kFixtureData);
  ASSERT_GT(TreeOf(source).size(), 100u) << "the sample data at " << source << " is missing";
  EXPECT_EQ(TreeDifferences(source, target), std::vector<std::string>{});
}

// While the unpacker runs for seconds, the program shows nothing at all.
TEST_F(Unattended, NoWindowOfTheProgramShowsWhileTheUnpackerRuns) {
  LayOut(kExtractsSlowly);
  EXPECT_EQ(RunSilently(Quoted("-s") + " " + Quoted("/dir=" + Target())), std::optional<DWORD>(kExitInstalled));
  EXPECT_EQ(UnpackerStarts(), std::vector<std::string>{CommandLineFor(Target())});
  EXPECT_NE(::GetFileAttributesA((Target() + "\\installed.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

enum class Package { kWhole, kNoDescriptor, kNoUnpacker, kLargest, kFailingUnpacker };

struct ExitCase {
  const char* name;
  Package package;
  const char* arguments;  // "TARGET" stands for an installation folder in the case's folder
  int exitCode;
  bool unpackerStarted;
  const char* logResult;  // the meaning on the log's last line
};

void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.name; }
std::string ExitCaseName(const testing::TestParamInfo<ExitCase>& info) { return info.param.name; }

class SilentExitCode : public Unattended, public testing::WithParamInterface<ExitCase> {};

// Each exit code of the table, reached for real; where the run stops before
// the unpacker, the unpacker is not started, and the log's last line gives
// the code and what it means.
TEST_P(SilentExitCode, IsReachedForReal) {
  const ExitCase& c = GetParam();
  if (c.package == Package::kLargest && DriveCHoldsTheLargestPackage()) {
    GTEST_SKIP() << "drive c: has room for the largest package";
  }
  LayOut(c.package == Package::kFailingUnpacker ? kFails : kExtracts,
         c.package == Package::kLargest ? kLargestPackageKB : kPackageKB);
  if (c.package == Package::kNoDescriptor) {
    ASSERT_TRUE(::DeleteFileA(Files().PathOf(DescriptorName()).c_str()));
  }
  if (c.package == Package::kNoUnpacker) {
    ASSERT_TRUE(::DeleteFileA(Files().PathOf(kUnpackerFile).c_str()));
  }

  std::string arguments = c.arguments;
  const size_t target = arguments.find("TARGET");
  if (target != std::string::npos) arguments.replace(target, 6, Target());
  const size_t longTarget = arguments.find("LONG");
  if (longTarget != std::string::npos) arguments.replace(longTarget, 4, Target(std::string(210, 'x')));
  arguments += " /LOG=" + Quoted(LogPath());

  EXPECT_EQ(RunSilently(arguments), std::optional<DWORD>(c.exitCode)) << arguments;
  EXPECT_EQ(UnpackerStarts().size(), c.unpackerStarted ? 1u : 0u) << "the unpacker's starts";
  if (c.exitCode != kExitInstalled) {
    EXPECT_EQ(::GetFileAttributesA(Target().c_str()), INVALID_FILE_ATTRIBUTES) << "something was installed";
  }
  const LogLines log = ReadLog(LogPath());
  ASSERT_FALSE(log.texts.empty());
  EXPECT_EQ(log.texts.back(), "result: exit code " + std::to_string(c.exitCode) + ", " + c.logResult);
}

INSTANTIATE_TEST_SUITE_P(
    Unattended, SilentExitCode,
    testing::Values(
        ExitCase{"Installed", Package::kWhole, "/S /DIR=\"TARGET\"", kExitInstalled, true, TEXT_EXIT_INSTALLED},
        ExitCase{"UnknownSwitch", Package::kWhole, "/S /DIR=\"TARGET\" /QUIET", kExitCommandLine, false,
                 TEXT_EXIT_COMMAND_LINE},
        ExitCase{"SwitchGivenTwice", Package::kWhole, "/S -s", kExitCommandLine, false, TEXT_EXIT_COMMAND_LINE},
        ExitCase{"DescriptorMissing", Package::kNoDescriptor, "/S /DIR=\"TARGET\"", kExitDescriptor, false,
                 TEXT_EXIT_DESCRIPTOR},
        ExitCase{"ParentMissing", Package::kWhole, "/S /DIR=C:\\e2e\\no-such-parent\\target", kExitFolderRefused, false,
                 TEXT_EXIT_FOLDER_REFUSED},
        ExitCase{"DriveRoot", Package::kWhole, "/S /DIR=C:\\", kExitFolderRefused, false, TEXT_EXIT_FOLDER_REFUSED},
        ExitCase{"PathsTooLong", Package::kWhole, "/S \"/DIR=LONG\"", kExitPathsTooLong, false,
                 TEXT_EXIT_PATHS_TOO_LONG},
        ExitCase{"LargerThanTheDrive", Package::kLargest, "/S /DIR=\"TARGET\"", kExitNotEnoughSpace, false,
                 TEXT_EXIT_NOT_ENOUGH_SPACE},
        ExitCase{"NoUnpacker", Package::kNoUnpacker, "/S /DIR=\"TARGET\"", kExitUnpackerNotStarted, false,
                 TEXT_EXIT_UNPACKER_NOT_STARTED},
        ExitCase{"UnpackerFails", Package::kFailingUnpacker, "/S /DIR=\"TARGET\"", kExitUnpackerFailed, true,
                 TEXT_EXIT_UNPACKER_FAILED}),
    ExitCaseName);

// A log that cannot be opened stops the run before anything happens.
TEST_F(Unattended, LogThatCannotBeWrittenIsExitCodeOne) {
  LayOut();
  EXPECT_EQ(RunSilently("/S /DIR=" + Quoted(Target()) + " /LOG=C:\\e2e\\no-such-folder\\setup.log"),
            std::optional<DWORD>(kExitCommandLine));
  EXPECT_TRUE(UnpackerStarts().empty());
  EXPECT_EQ(::GetFileAttributesA(Target().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The log of a success and then of a failure, appended to the same file:
// every step on a line of its own, stamped with the local date and time,
// ending in CR LF.
TEST_F(Unattended, LogOfASuccessThenOfAFailure) {
  LayOut();
  const std::string before = LocalStampNow();
  const std::string arguments = "/S /DIR=" + Quoted(Target()) + " /LOG=" + Quoted(LogPath());
  ASSERT_EQ(RunSilently(arguments), std::optional<DWORD>(kExitInstalled));
  const std::string descriptor = Files().PathOf(DescriptorName());
  const std::vector<std::string> success = {
      "program " + m_case.ProgramPath() + " started, arguments: " + arguments,
      TEXT_LOG_LICENCE_TAKEN,
      "descriptor " + descriptor + " read: archive " + Files().PathOf(kArchive) + ", size 64 KB",
      // the free-space line, checked below
      "installation folder " + Target() + ": accepted",
      "unpacker command line: " + CommandLineFor(Target()),
      "unpacker started, waiting for its end",
      "unpacker ended with exit code 0",
      "result: exit code 0, installed",
  };
  LogLines log = ReadLog(LogPath());
  ASSERT_EQ(log.texts.size(), success.size() + 1) << "one line a step";
  EXPECT_TRUE(InOrder(log.texts, success));
  EXPECT_TRUE(
      std::regex_match(log.texts[3], std::regex(R"(free space of C:\\: \d+ KB, the package needs 64 KB: enough)")))
      << log.texts[3];
  const std::string after = LocalStampNow();
  for (const std::string& stamp : log.stamps) {
    EXPECT_TRUE(before <= stamp && stamp <= after) << stamp << " not between " << before << " and " << after;
  }

  // A second run into the same log: the first run's lines stay.
  Files().WriteFile(kFakeConfig, kFails);
  ProgramUnderTest second;
  ASSERT_EQ(RunSilently(arguments, second), std::optional<DWORD>(kExitUnpackerFailed));
  log = ReadLog(LogPath());
  ASSERT_EQ(log.texts.size(), 2 * (success.size() + 1));
  EXPECT_TRUE(InOrder(log.texts, success));
  EXPECT_EQ(std::vector<std::string>(log.texts.end() - 2, log.texts.end()),
            (std::vector<std::string>{"unpacker ended with exit code 3",
                                      "result: exit code 7, the unpacker ended with a nonzero exit code"}));
}

// ---- the screens -------------------------------------------------------------

// /DIR= with the screens: the setup screen proposes the folder, installs
// into it when Install is pressed, and browsing leaves it as it leaves
// c:\data: the first double-click starts from the root of drive c:, which
// the list shows.
TEST_F(Unattended, FolderGivenWithTheScreensIsProposed) {
  LayOut();
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), "/DIR=" + Quoted(Target())));
  const HWND setup = OpenSetupScreen(m_program);
  ASSERT_NE(setup, nullptr);
  EXPECT_TRUE(WaitForControlText(setup, IDC_TARGET_DIR, Target()));
  ASSERT_TRUE(unpacking::PressInstallAndConfirm(m_program, setup));
  ASSERT_TRUE(unpacking::ExpectNotice(m_program, TEXT_INSTALLED));
  EXPECT_EQ(UnpackerStarts(), std::vector<std::string>{CommandLineFor(Target())});
}

TEST_F(Unattended, BrowsingLeavesTheGivenFolderAsItLeavesCData) {
  LayOut();
  const RootFolderTree root("e2e-unattended-browse");
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), "/DIR=" + Quoted(Target())));
  const HWND setup = OpenSetupScreen(m_program);
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(WaitForControlText(setup, IDC_TARGET_DIR, Target()));
  ASSERT_TRUE(DoubleClickFolder(setup, root.Entry()));
  EXPECT_TRUE(WaitForControlText(setup, IDC_TARGET_DIR, "c:\\" + root.Name()));
  PressEscape(setup);
  EXPECT_TRUE(m_program.WaitForExit().has_value());
}

// /LOG= with the screens: the person's answers are logged as they are given.
TEST_F(Unattended, LogWithTheScreensRecordsTheAnswers) {
  LayOut(kHangs);
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), "/LOG=" + Quoted(LogPath())));
  const HWND setup = OpenSetupScreen(m_program);
  ASSERT_NE(setup, nullptr);
  unpacking::Unpacker unpacker;
  ASSERT_TRUE(unpacking::RequestInstall(m_program, setup, Target()));
  ASSERT_TRUE(unpacker.Find(m_program));
  PostClick(setup, IDCANCEL);
  std::optional<MessageBoxOnScreen> question = ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question && unpacking::AnswerAndWait(*question, IDNO));
  PostClick(setup, IDCANCEL);
  question = ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question && unpacking::AnswerAndWait(*question, IDYES));
  ASSERT_TRUE(unpacking::ExpectNotice(m_program, TEXT_KILLED));
  PostClick(setup, IDCANCEL);
  ASSERT_EQ(m_program.WaitForExit(), std::optional<DWORD>(0));

  EXPECT_TRUE(InOrder(
      ReadLog(LogPath()).texts,
      {"program " + m_case.ProgramPath() + " started, arguments: /LOG=" + Quoted(LogPath()), TEXT_LOG_LICENCE_AGREED,
       "setup screen opened, proposing c:\\data", TEXT_LOG_CONFIRMED, "installation folder " + Target() + ": accepted",
       "unpacker command line: " + CommandLineFor(Target()), "unpacker started, waiting for its end", TEXT_LOG_KILL_NO,
       TEXT_LOG_KILL_YES, TEXT_LOG_KILLED, "program ends, exit code 0"}));
}

TEST_F(Unattended, LogWithTheScreensRecordsACancelledLicence) {
  LayOut();
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), "/LOG=" + Quoted(LogPath())));
  const HWND licence = WaitForWindow(m_program, TEXT_LICENCE_CAPTION);
  ASSERT_NE(licence, nullptr);
  PostClick(licence, IDCANCEL);
  ASSERT_EQ(m_program.WaitForExit(), std::optional<DWORD>(0));
  const LogLines log = ReadLog(LogPath());
  ASSERT_EQ(log.texts.size(), 3u);
  EXPECT_EQ(log.texts[1], TEXT_LOG_LICENCE_DECLINED);
  EXPECT_EQ(log.texts[2], "program ends, exit code 0");
}

struct UsageCase {
  const char* name;
  const char* arguments;
  DWORD exitCode;
  const char* fault;  // the box's first line; "" for the usage alone
};

void PrintTo(const UsageCase& c, std::ostream* out) { *out << c.name; }
std::string UsageCaseName(const testing::TestParamInfo<UsageCase>& info) { return info.param.name; }

class UsageBox : public Unattended, public testing::WithParamInterface<UsageCase> {};

// /? and a command line that is not understood: the usage box, as every box
// of the program looks, naming the argument at fault; then the program ends
// without a screen, and nothing is installed.
TEST_P(UsageBox, ShowsTheUsageAndEnds) {
  const UsageCase& c = GetParam();
  LayOut();
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), c.arguments));
  const std::string usage = std::string(TEXT_USAGE_PREFIX) + CasePackage::kProgramName + TEXT_USAGE_BODY;
  const std::string text = *c.fault == '\0' ? usage : std::string(c.fault) + "\n\n" + usage;
  const std::optional<MessageBoxOnScreen> box = ExpectMessageBox(m_program, text, {IDOK});
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(TopLevelWindows(m_program.ProcessId()).size(), 1u) << DescribeWindows(m_program.ProcessId());
  ASSERT_TRUE(AnswerAndWaitGone(*box, IDOK));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(c.exitCode));
  EXPECT_TRUE(UnpackerStarts().empty());
}

INSTANTIATE_TEST_SUITE_P(Unattended, UsageBox,
                         testing::Values(UsageCase{"Help", "/?", 0, ""}, UsageCase{"HelpWord", "-help", 0, ""},
                                         UsageCase{"UnknownSwitch", "/X", 1, "Unknown switch: /X"},
                                         UsageCase{"PlainWord", "/DIR=c:\\maps data", 1, "Not a switch: data"},
                                         UsageCase{"MissingValue", "/LOG", 1,
                                                   "This switch needs a value after its '=': /LOG"}),
                         UsageCaseName);

// With the screens, a log that cannot be written is told, and the program
// ends before the licence screen.
TEST_F(Unattended, LogThatCannotBeWrittenIsToldWithTheScreens) {
  LayOut();
  const std::string log = "C:\\e2e\\no-such-folder\\setup.log";
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), "/LOG=" + log));
  const std::optional<MessageBoxOnScreen> box =
      ExpectMessageBox(m_program, "The log file cannot be written: " + log, {IDOK});
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(AnswerAndWaitGone(*box, IDOK));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kExitCommandLine));
}

}  // namespace
}  // namespace e2e
