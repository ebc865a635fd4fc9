// The switches with the screens, operated from outside: /DIR= proposes the
// folder, /LOG= records the person's answers, /? and a command line that is
// not understood show the usage box, and a log that cannot be written is
// told.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/setup_screen_steps.h"
#include "tests/e2e/unattended_steps.h"
#include "tests/e2e/unpacking_steps.h"
#include "unattended/exit_codes.h"

namespace e2e::unattended {
namespace {

// /DIR= with the screens: the setup screen proposes the folder, installs
// into it when Install is pressed, and browsing leaves it as it leaves
// c:\data: the first double-click starts from the root of drive c:, which
// the list shows.
TEST_F(Unattended, FolderGivenWithTheScreensIsProposed) {
  LayOut();
  ASSERT_TRUE(Start("/DIR=" + Quoted(Target())));
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
  ASSERT_TRUE(Start("/DIR=" + Quoted(Target())));
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
  ASSERT_TRUE(Start("/LOG=" + Quoted(LogPath())));
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
  ASSERT_TRUE(Start("/LOG=" + Quoted(LogPath())));
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
  ASSERT_TRUE(Start(c.arguments));
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
  ASSERT_TRUE(Start("/LOG=" + log));
  const std::optional<MessageBoxOnScreen> box =
      ExpectMessageBox(m_program, "The log file cannot be written: " + log, {IDOK});
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(AnswerAndWaitGone(*box, IDOK));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kExitCommandLine));
}

}  // namespace
}  // namespace e2e::unattended
