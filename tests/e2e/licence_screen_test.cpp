// The licence screen, operated from outside: what it shows from the package's
// text files, where its focus is, and how it ends.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "package/licence_texts.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

// The exit code of the program's ordinary end: the framework's start-up
// returns what ExitInstance gives when InitInstance returns FALSE.
constexpr DWORD kOrdinaryExitCode = 0;

// Texts of a typical package, for cases about something else.
constexpr char kDisplayText[] = "FIRSTLINE:Welcome\r\nSECONDLINE:Read the terms\r\nTHIRDLINE:Thanks\r\n";
constexpr char kLicenceText[] = "Terms of use\r\nYou may use the data.\r\n";

// Files in the working folder that the program must not read: it looks for
// its text files beside itself.
constexpr char kDecoyDisplayText[] = "FIRSTLINE:decoy\nSECONDLINE:decoy\nTHIRDLINE:decoy\n";
constexpr char kDecoyLicenceText[] = "decoy licence\n";

// A package folder for the case with display.txt and shrinkli.txt as given
// (nothing: the file is absent), its program started from a working folder
// elsewhere that holds decoys of both files.
class LicenceScreen : public testing::Test {
 protected:
  // Lays out the package, starts the program and waits for the licence
  // screen; nullptr (with a failure) when it does not come.
  HWND Open(const std::optional<std::string>& display, const std::optional<std::string>& licence) {
    if (display) m_package.Files().WriteFile(kWelcomeFileName, *display);
    if (licence) m_package.Files().WriteFile(kLicenceFileName, *licence);
    m_package.Elsewhere().WriteFile(kWelcomeFileName, kDecoyDisplayText);
    m_package.Elsewhere().WriteFile(kLicenceFileName, kDecoyLicenceText);
    if (!m_package.Start(m_program)) return nullptr;
    return WaitForWindow(m_program, TEXT_LICENCE_CAPTION);
  }

  CasePackage m_package;
  ProgramUnderTest m_program;
};

// ---- welcome lines and title ---------------------------------------------

struct WelcomeCase {
  const char* name;
  std::optional<std::string> display;  // nothing: no display.txt
  std::string heading;
  std::string secondLine;
  std::string thirdLine;
};

class WelcomeLinesShown : public LicenceScreen, public testing::WithParamInterface<WelcomeCase> {};

TEST_P(WelcomeLinesShown, HeadingLinesAndTitleReadBack) {
  const WelcomeCase& c = GetParam();
  const HWND screen = Open(c.display, kLicenceText);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ControlText(screen, IDC_HEADLINE), c.heading);
  EXPECT_EQ(ControlText(screen, IDC_SECONDLINE), c.secondLine);
  EXPECT_EQ(ControlText(screen, IDC_THIRDLINE), c.thirdLine);
  EXPECT_EQ(ControlText(screen, IDC_LICENSE_TITLE), TEXT_LICENSE_TITLE);
}

INSTANTIATE_TEST_SUITE_P(
    DisplayFile, WelcomeLinesShown,
    testing::Values(
        // Leading white space goes, trailing blanks stay; CR LF ends are read
        // as line ends.
        WelcomeCase{"ThreeKeys", "FIRSTLINE:   Welcome to Verandel  \r\nSECONDLINE:\tRead the terms below.\r\n"
                                 "THIRDLINE:Thanks\r\n",
                    "Welcome to Verandel  ", "Read the terms below.", "Thanks"},
        WelcomeCase{"Missing", std::nullopt, TEXT_WELCOME_1, TEXT_WELCOME_2, TEXT_WELCOME_3},
        // A file that opens gives no fallback, even when it holds no key.
        WelcomeCase{"Empty", "", "", "", ""},
        WelcomeCase{"WithoutKeys", "firstline:lower case is no key\r\nWelcome\r\n", "", "", ""},
        WelcomeCase{"OnlySecondLine", "SECONDLINE:Only this\r\n", "", "Only this", ""}),
    [](const testing::TestParamInfo<WelcomeCase>& info) { return std::string(info.param.name); });

// ---- licence text ----------------------------------------------------------

struct LicenceCase {
  const char* name;
  std::optional<std::string> licence;  // nothing: no shrinkli.txt
  std::string shown;                   // the edit control's text
  LRESULT lines;                       // lines on screen
};

class LicenceTextShown : public LicenceScreen, public testing::WithParamInterface<LicenceCase> {};

// The edit control holds the text with CR CR LF line ends exactly, and breaks
// the line at each.
TEST_P(LicenceTextShown, EditControlHoldsTheTextWithCrCrLfLineEnds) {
  const LicenceCase& c = GetParam();
  const HWND screen = Open(kDisplayText, c.licence);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(ControlText(screen, IDC_LICENSE_TEXT), c.shown);
  EXPECT_EQ(SendQuery(::GetDlgItem(screen, IDC_LICENSE_TEXT), EM_GETLINECOUNT), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    LicenceFile, LicenceTextShown,
    testing::Values(LicenceCase{"LineEnds", "Terms of use\nFirst clause.\r\n\nLast line without an end",
                                "Terms of use\r\r\nFirst clause.\r\r\n\r\r\nLast line without an end", 4},
                    LicenceCase{"Empty", "", "", 1},
                    LicenceCase{"Missing", std::nullopt, "", 1}),
    [](const testing::TestParamInfo<LicenceCase>& info) { return std::string(info.param.name); });

// A line longer than one read of the file and than the box is wide: one line
// of the text, wrapped on screen with no break added to the text; typing,
// Delete and Backspace change nothing.
TEST_F(LicenceScreen, LongLineWrapsAndTheTextCannotBeChanged) {
  std::string line;
  while (line.size() < 2500) line += "licensed data ";
  const HWND screen = Open(kDisplayText, line + "\n");
  ASSERT_NE(screen, nullptr);
  const HWND text = ::GetDlgItem(screen, IDC_LICENSE_TEXT);
  EXPECT_EQ(TextOf(text), line + "\r\r\n");
  EXPECT_GT(SendQuery(text, EM_GETLINECOUNT), 2);

  ::PostMessageA(text, EM_SETSEL, 0, 0);
  PostChars(text, "typed");
  PressKey(text, VK_DELETE);
  PressKey(text, VK_BACK);
  // A selection posted last shows when everything before it has been handled.
  constexpr WPARAM kMarkFrom = 1;
  constexpr LPARAM kMarkTo = 2;
  ::PostMessageA(text, EM_SETSEL, kMarkFrom, kMarkTo);
  ASSERT_TRUE(WaitUntil([&] { return SendQuery(text, EM_GETSEL) == MAKELONG(kMarkFrom, kMarkTo); },
                        kWindowWaitMs));
  EXPECT_EQ(TextOf(text), line + "\r\r\n");
}

// ---- focus -------------------------------------------------------------------

TEST_F(LicenceScreen, FocusStartsOnAgreeAndTabGoesToCancelTheTextAndBack) {
  const HWND screen = Open(kDisplayText, kLicenceText);
  ASSERT_NE(screen, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControlId(screen) == IDOK; }, kWindowWaitMs))
      << "focus on control " << FocusedControlId(screen);
  for (const int next : {IDCANCEL, IDC_LICENSE_TEXT, IDOK}) {
    PressKey(FocusedWindow(screen), VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusedControlId(screen) == next; }, kWindowWaitMs))
        << "after Tab, focus on control " << FocusedControlId(screen) << " instead of " << next;
  }
}

// ---- ending ------------------------------------------------------------------

struct EndingCase {
  const char* name;
  void (*act)(HWND screen);
};

std::string EndingName(const testing::TestParamInfo<EndingCase>& info) { return info.param.name; }

// The package has no descriptor: only the way on to the setup screen reads
// it, so these ends show no message and end the program as usual.
class LicenceScreenCancelled : public LicenceScreen, public testing::WithParamInterface<EndingCase> {};

TEST_P(LicenceScreenCancelled, ProgramEndsWithoutAMessage) {
  const HWND screen = Open(kDisplayText, kLicenceText);
  ASSERT_NE(screen, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControlId(screen) == IDOK; }, kWindowWaitMs));
  GetParam().act(screen);
  EXPECT_TRUE(WaitForWindowGone(screen, "the licence screen"));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
}

INSTANTIATE_TEST_SUITE_P(Actions, LicenceScreenCancelled,
                         testing::Values(EndingCase{"Cancel", [](HWND screen) { PostClick(screen, IDCANCEL); }},
                                         EndingCase{"Escape", [](HWND screen) { PressEscape(screen); }},
                                         EndingCase{"CloseBox", [](HWND screen) { PressCloseBox(screen); }},
                                         // With the focus on "Cancel", Enter is "Cancel".
                                         EndingCase{"EnterOnCancel",
                                                    [](HWND screen) {
                                                      PressKey(FocusedWindow(screen), VK_TAB);
                                                      WaitUntil([&] { return FocusedControlId(screen) == IDCANCEL; },
                                                                kWindowWaitMs);
                                                      PressKey(FocusedWindow(screen), VK_RETURN);
                                                    }}),
                         EndingName);

// "I Agree" hides the licence screen and goes on to the setup screen, whose
// start finds no descriptor: the message shows with no screen of the program
// visible, and OK ends the program with the forced-end code.
class LicenceScreenAgreed : public LicenceScreen, public testing::WithParamInterface<EndingCase> {};

TEST_P(LicenceScreenAgreed, MissingDescriptorIsReportedAndEndsTheProgram) {
  const HWND screen = Open(kDisplayText, kLicenceText);
  ASSERT_NE(screen, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FocusedControlId(screen) == IDOK; }, kWindowWaitMs));
  GetParam().act(screen);
  const std::optional<MessageBoxOnScreen> box = WaitForMessageBox(m_program);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, TEXT_CANNOT_INITIALIZE);
  EXPECT_EQ(box->caption, CasePackage::kProgramTitle);
  EXPECT_TRUE(box->hasIcon);
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  EXPECT_FALSE(::IsWindowVisible(screen)) << "the licence screen still shows behind the message";
  Answer(*box, IDOK);
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(static_cast<DWORD>(EXIT_CODE_FORCED_END)));
}

INSTANTIATE_TEST_SUITE_P(
    Actions, LicenceScreenAgreed,
    testing::Values(EndingCase{"Agree", [](HWND screen) { PostClick(screen, IDOK); }},
                    EndingCase{"EnterOnAgree", [](HWND screen) { PressKey(FocusedWindow(screen), VK_RETURN); }},
                    // The licence text does not take Enter: it goes to the default button.
                    EndingCase{"EnterInLicenceText",
                               [](HWND screen) {
                                 for (int tab = 0; tab < 2; ++tab) PressKey(FocusedWindow(screen), VK_TAB);
                                 WaitUntil([&] { return FocusedControlId(screen) == IDC_LICENSE_TEXT; },
                                           kWindowWaitMs);
                                 PressKey(FocusedWindow(screen), VK_RETURN);
                               }}),
    EndingName);

}  // namespace
}  // namespace e2e
