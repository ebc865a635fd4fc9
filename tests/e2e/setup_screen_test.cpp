// The setup screen as "I Agree" on the licence screen opens it: what it shows
// first, how it ends, and which descriptor it reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/setup_screen_steps.h"

namespace e2e {
namespace {

// The program's ordinary end, however the setup screen was closed.
constexpr DWORD kOrdinaryExitCode = 0;

// The program as a publisher renames it, and its title.
constexpr char kRenamedProgram[] = "Data.exe";
constexpr char kRenamedTitle[] = "Data";

bool Contains(const std::vector<std::string>& entries, const std::string& entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The drive list's entries for the drives the system reports, sorted.
std::vector<std::string> DriveEntriesOfTheSystem() {
  std::vector<std::string> entries;
  const DWORD drives = ::GetLogicalDrives();
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    if (drives & (1u << (letter - 'a'))) entries.push_back(std::string("[-") + letter + "-]");
  }
  return entries;
}

using SetupScreen = SetupScreenCase;

// ---- what it shows first -------------------------------------------------

TEST_F(SetupScreen, ShowsTheArchiveTheProposedFolderDriveCAndTheRootOfC) {
  // Two folders of the case's own in the root of c:, so that the list is
  // known to hold something beyond what the prefix brings.
  const RootFolderTree& first = MakeRootFolder("e2eshownfirst");
  const RootFolderTree& second = MakeRootFolder("e2eshownsecond");
  m_package.Files().WriteFile(DescriptorName(), DescriptorText(kSmallPackageKB));
  ASSERT_TRUE(m_package.Start(m_program));
  const HWND licence = AgreeToLicence(m_program);
  ASSERT_NE(licence, nullptr);
  const HWND screen = WaitForWindow(m_program, TEXT_SETUP_CAPTION);
  ASSERT_NE(screen, nullptr);
  EXPECT_FALSE(::IsWindowVisible(licence)) << "the licence screen still shows behind the setup screen";

  EXPECT_EQ(ControlText(screen, IDC_SOURCE_PATH), m_package.Files().PathOf(kArchiveName));
  EXPECT_EQ(ControlText(screen, IDC_TARGET_DIR), "c:\\data");

  const HWND combo = ::GetDlgItem(screen, IDC_DRIVE_COMBO);
  EXPECT_EQ(DriveListEntries(screen), DriveEntriesOfTheSystem());
  EXPECT_EQ(TextOf(combo), "[-c-]");
  const LRESULT selected = SendQuery(combo, CB_GETCURSEL);
  const std::vector<std::string> drives = ComboEntries(combo);
  ASSERT_GE(selected, 0) << "no drive is selected";
  ASSERT_LT(selected, static_cast<LRESULT>(drives.size()));
  EXPECT_EQ(drives[static_cast<size_t>(selected)], "[-c-]");

  const std::vector<std::string> folders = FolderListEntries(screen);
  EXPECT_EQ(folders, FolderEntriesOf("C:\\"));
  EXPECT_TRUE(Contains(folders, first.Entry()) && Contains(folders, second.Entry()));
  EXPECT_FALSE(Contains(folders, "[..]")) << "a drive's root has no parent entry";
  EXPECT_EQ(ControlText(screen, IDC_CURRENT_PATH), "c:\\");

  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(screen, IDC_PROGRESS_LABEL)));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(screen, IDC_PROGRESS)));
  EXPECT_TRUE(WaitUntil([&] { return FocusedControlId(screen) == IDOK; }, kWindowWaitMs))
      << "focus on control " << FocusedControlId(screen);
}

// ---- ending --------------------------------------------------------------

struct EndingCase {
  const char* name;
  void (*act)(HWND screen);
};

class SetupScreenClosed : public SetupScreen, public testing::WithParamInterface<EndingCase> {};

TEST_P(SetupScreenClosed, ProgramEndsWithoutAMessage) {
  const HWND screen = OpenWithPackageSize();
  ASSERT_NE(screen, nullptr);
  GetParam().act(screen);
  EXPECT_TRUE(WaitForWindowGone(screen, "the setup screen"));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
}

INSTANTIATE_TEST_SUITE_P(Actions, SetupScreenClosed,
                         testing::Values(EndingCase{"Cancel", [](HWND screen) { PostClick(screen, IDCANCEL); }},
                                         EndingCase{"Escape", [](HWND screen) { PressEscape(screen); }},
                                         EndingCase{"CloseBox", [](HWND screen) { PressCloseBox(screen); }}),
                         [](const testing::TestParamInfo<EndingCase>& info) { return std::string(info.param.name); });

// ---- the descriptor follows the program's name -------------------------------

// The program renamed Data.exe, beside a descriptor of the original name that
// names another archive; the working folder holds decoys as well.
class RenamedProgram : public SetupScreen {
 protected:
  RenamedProgram() {
    m_package.Files().CopyIn(Options().program, kRenamedProgram);
    m_package.Files().WriteFile(DescriptorName(), DescriptorText(kSmallPackageKB, "decoy.zip"));
    m_package.Elsewhere().WriteFile(DescriptorName(kRenamedTitle), DescriptorText(kSmallPackageKB, "decoy.zip"));
  }

  bool Start() { return m_program.Start(m_package.Files().PathOf(kRenamedProgram), m_package.Elsewhere().Path()); }
};

TEST_F(RenamedProgram, ReadsTheDescriptorOfItsOwnNameAndTitlesItsMessagesWithIt) {
  m_package.Files().WriteFile(DescriptorName(kRenamedTitle), DescriptorText(kSmallPackageKB, "renamed.zip"));
  ASSERT_TRUE(Start());
  const HWND screen = OpenSetupScreen(m_program);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ControlText(screen, IDC_SOURCE_PATH), m_package.Files().PathOf("renamed.zip"));

  PostClick(screen, IDOK);
  const std::optional<MessageBoxOnScreen> box =
      ExpectMessageBox(m_program, TEXT_CONFIRM_INSTALL, {IDYES, IDNO}, kRenamedTitle);
  ASSERT_TRUE(box.has_value());
  AnswerAndWaitGone(*box, IDNO);
  EXPECT_TRUE(ScreenStaysWithoutMessage(m_program, screen));
  PostClick(screen, IDCANCEL);
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
}

// Without a descriptor of its own name the program cannot go on past the
// licence screen, whatever other descriptors lie about. (The original name
// without its descriptor is a case of the licence screen's.)
TEST_F(RenamedProgram, WithoutItsDescriptorReportsItAfterAgreeAndEndsWithTheForcedEndCode) {
  ASSERT_TRUE(Start());
  const HWND licence = AgreeToLicence(m_program);
  ASSERT_NE(licence, nullptr);
  const std::optional<MessageBoxOnScreen> box =
      ExpectMessageBox(m_program, TEXT_CANNOT_INITIALIZE, {IDOK}, kRenamedTitle);
  ASSERT_TRUE(box.has_value());
  EXPECT_FALSE(::IsWindowVisible(licence)) << "the licence screen still shows behind the message";
  AnswerAndWaitGone(*box, IDOK);
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(static_cast<DWORD>(EXIT_CODE_FORCED_END)));
}

}  // namespace
}  // namespace e2e
