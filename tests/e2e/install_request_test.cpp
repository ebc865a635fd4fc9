// "Install" on the setup screen: the free-space question, the confirmation,
// the refusals of the installation folder, and the hand-over to the
// unpacker. Every refusal leaves the screen as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/setup_screen_steps.h"

namespace e2e {
namespace {

constexpr DWORD kOrdinaryExitCode = 0;

// The largest package size the descriptor holds, and a larger one, which is
// held at it; both are more than any disk here has.
constexpr char kLargestPackageKB[] = "2147483647";
constexpr char kBeyondLargestPackageKB[] = "99999999999";
// The largest size in whole megabytes, as the question quotes it.
constexpr long kLargestPackageMB = 2097151;
constexpr unsigned long long kLargestPackageBytes = 2147483647ull * 1024;

// Time for the unpacker's monitor to clear its run once its last message has
// been answered and closed.
constexpr DWORD kMonitorEndMs = 300;

std::string NotEnoughSpaceQuestion(long megabytes) {
  char text[200];
  std::snprintf(text, sizeof text, TEXT_NOT_ENOUGH_SPACE, megabytes);
  return text;
}

// What the setup screen shows, for a check that a request left it alone.
struct ScreenState {
  std::string source;
  std::string target;
  std::string pathField;
  std::string drive;
  std::vector<std::string> folders;
  bool progressShown;

  static ScreenState Of(HWND screen) {
    return {ControlText(screen, IDC_SOURCE_PATH),
            ControlText(screen, IDC_TARGET_DIR),
            ControlText(screen, IDC_CURRENT_PATH),
            ControlText(screen, IDC_DRIVE_COMBO),
            FolderListEntries(screen),
            ::IsWindowVisible(::GetDlgItem(screen, IDC_PROGRESS_LABEL)) ||
                ::IsWindowVisible(::GetDlgItem(screen, IDC_PROGRESS))};
  }
};

void ExpectSameScreen(const ScreenState& now, const ScreenState& before) {
  EXPECT_EQ(now.source, before.source);
  EXPECT_EQ(now.target, before.target) << "the installation folder changed";
  EXPECT_EQ(now.pathField, before.pathField);
  EXPECT_EQ(now.drive, before.drive);
  EXPECT_EQ(now.folders, before.folders);
  EXPECT_EQ(now.progressShown, before.progressShown) << "the progress label or bar changed";
}

class InstallRequest : public SetupScreenCase {
 protected:
  // Presses "Install" and answers the confirmation that follows; false (with
  // a failure) when it does not come.
  bool InstallAndConfirm(HWND screen, int answer) {
    PostClick(screen, IDOK);
    return AnswerConfirmation(answer);
  }

  bool AnswerConfirmation(int answer) {
    const std::optional<MessageBoxOnScreen> box = ExpectMessageBox(m_program, TEXT_CONFIRM_INSTALL, {IDYES, IDNO});
    if (box) AnswerAndWaitGone(*box, answer);
    return box.has_value();
  }
};

// ---- refusals of the installation folder -----------------------------------

struct RefusalCase {
  const char* name;
  std::string typed;    // into the installation folder
  std::string message;  // the refusal
};

class InstallFolderRefused : public InstallRequest, public testing::WithParamInterface<RefusalCase> {};

TEST_P(InstallFolderRefused, AfterTheConfirmationAndTheScreenStaysAsItWas) {
  const RefusalCase& c = GetParam();
  const HWND screen = OpenWithPackageSize();
  ASSERT_NE(screen, nullptr);
  ASSERT_TRUE(TypeInto(screen, IDC_TARGET_DIR, c.typed));
  const ScreenState before = ScreenState::Of(screen);

  ASSERT_TRUE(InstallAndConfirm(screen, IDYES));
  const std::optional<MessageBoxOnScreen> refusal = ExpectMessageBox(m_program, c.message, {IDOK});
  ASSERT_TRUE(refusal.has_value());
  AnswerAndWaitGone(*refusal, IDOK);
  ASSERT_TRUE(ScreenStaysWithoutMessage(m_program, screen));
  // What was typed stays on screen as typed, not as it was tested.
  ExpectSameScreen(ScreenState::Of(screen), before);
}

std::string RefusalName(const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Folders, InstallFolderRefused,
                         testing::Values(RefusalCase{"Blank", "", TEXT_INVALID_FOLDER},
                                         RefusalCase{"BlanksOnly", "   ", TEXT_INVALID_FOLDER},
                                         RefusalCase{"BackslashesOnly", "\\\\\\", TEXT_INVALID_FOLDER},
                                         // A double quote would split the unpacker's command line.
                                         RefusalCase{"DoubleQuote", "c:\\da\"ta", TEXT_INVALID_FOLDER},
                                         // Stripped to c:, which has no parent: a drive's root is
                                         // no installation folder.
                                         RefusalCase{"DriveRoot", "c:\\", TEXT_PARENT_MISSING},
                                         RefusalCase{"NoBackslash", "e2edata", TEXT_PARENT_MISSING},
                                         RefusalCase{"ParentMissing", "c:\\e2enosuchfolder\\sub", TEXT_PARENT_MISSING}),
                         RefusalName);

// ---- a package larger than the disk ------------------------------------------

struct SpaceCase {
  const char* name;
  const char* sizeKB;
  int answer;  // to the question whether to quit
};

class NotEnoughSpace : public InstallRequest, public testing::WithParamInterface<SpaceCase> {};

// The question is about quitting: No goes on to the confirmation, here
// answered No as well, and Yes ends the request; either way the screen stays.
TEST_P(NotEnoughSpace, QuestionAnsweredNoGoesOnAndYesEndsTheRequest) {
  const SpaceCase& c = GetParam();
  ULARGE_INTEGER available;
  ULARGE_INTEGER total;
  ULARGE_INTEGER free;
  ASSERT_TRUE(::GetDiskFreeSpaceExA("c:\\", &available, &total, &free));
  if (free.QuadPart >= kLargestPackageBytes) GTEST_SKIP() << "drive c: has room for the largest package";

  const HWND screen = OpenWithPackageSize(c.sizeKB);
  ASSERT_NE(screen, nullptr);
  const ScreenState before = ScreenState::Of(screen);
  PostClick(screen, IDOK);
  const std::optional<MessageBoxOnScreen> question =
      ExpectMessageBox(m_program, NotEnoughSpaceQuestion(kLargestPackageMB), {IDYES, IDNO});
  ASSERT_TRUE(question.has_value());
  AnswerAndWaitGone(*question, c.answer);
  if (c.answer == IDNO) {
    ASSERT_TRUE(AnswerConfirmation(IDNO));
  }
  ASSERT_TRUE(ScreenStaysWithoutMessage(m_program, screen));
  ExpectSameScreen(ScreenState::Of(screen), before);
}

INSTANTIATE_TEST_SUITE_P(Sizes, NotEnoughSpace,
                         testing::Values(SpaceCase{"AnsweredNo", kLargestPackageKB, IDNO},
                                         SpaceCase{"AnsweredYes", kLargestPackageKB, IDYES},
                                         SpaceCase{"SizeBeyondTheRangeAnsweredYes", kBeyondLargestPackageKB, IDYES}),
                         [](const testing::TestParamInfo<SpaceCase>& info) { return std::string(info.param.name); });

// ---- a request that passes ---------------------------------------------------

struct AcceptedCase {
  const char* name;
  std::optional<std::string> typed;  // nothing: the proposed folder as it is
};

class InstallAccepted : public InstallRequest, public testing::WithParamInterface<AcceptedCase> {};

// The package has no unpacker beside the program, so the launch that follows
// a passed request reports that it cannot run it; the screen then closes as
// usual. (Short names: the package folder is named after the case, and the
// unpacker's command line holds it twice.)
TEST_P(InstallAccepted, LaunchFollows) {
  const AcceptedCase& c = GetParam();
  const HWND screen = OpenWithPackageSize();
  ASSERT_NE(screen, nullptr);
  if (c.typed) {
    ASSERT_TRUE(TypeInto(screen, IDC_TARGET_DIR, *c.typed));
  }

  ASSERT_TRUE(InstallAndConfirm(screen, IDYES));
  const std::optional<MessageBoxOnScreen> error = ExpectMessageBox(m_program, TEXT_UNZIP_ERROR, {IDOK});
  ASSERT_TRUE(error.has_value());
  AnswerAndWaitGone(*error, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(error->window); }, kWindowWaitMs)) << "the error stays";
  ::Sleep(kMonitorEndMs);

  PostClick(screen, IDCANCEL);
  EXPECT_TRUE(WaitForWindowGone(screen, "the setup screen"));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
}

INSTANTIATE_TEST_SUITE_P(Folders, InstallAccepted,
                         testing::Values(AcceptedCase{"Proposed", std::nullopt},
                                         // Blanks around and backslashes behind go before the
                                         // parent, c:, is tested.
                                         AcceptedCase{"Typed", "  c:\\e2enew\\\\\\  "}),
                         [](const testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
