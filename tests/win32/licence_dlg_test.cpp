// The licence dialog seen from inside its own process: what another process
// cannot read under Wine (fonts and pictures: a font or bitmap handle means
// nothing across processes) and its keyboard set-up.
//
// The test program is the application: a CWinApp of its own whose module
// path lies in a fixture folder, so that the dialog reads the fixture's text
// files. Each case runs the dialog modally and inspects it from inside its
// modal loop, then ends it.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/afxwin.h"
#include "licence/licence_dlg.h"
#include "package/licence_texts.h"
#include "res/resource.h"
#include "res/texts.h"

namespace {

// The dialog's own font: 12 points, given in tenths of a point and
// converted for the screen.
constexpr long kScreenFontPoints = 12;
constexpr long kTenthsPerPoint = 10;
constexpr long kPointsPerInch = 72;
// The template's font size, in points.
constexpr int kTemplateFontPoints = 8;
// The logo picture's size in pixels.
constexpr LONG kLogoWidth = 203;
constexpr LONG kLogoHeight = 137;

// How often and how long the inspection looks for the dialog's window.
constexpr UINT kProbeIntervalMs = 20;
constexpr int kProbeTries = 500;

constexpr char kFixtureHeading[] = "Fixture welcome";

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp(nullptr) {}
};
TestApp theTestApp;

int ScreenDpiY() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi;
}

LOGFONTA FontOf(HWND window) {
  LOGFONTA font = {};
  const HFONT handle = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  EXPECT_NE(handle, nullptr) << "control " << ::GetDlgCtrlID(window) << " has no font of its own";
  if (handle != nullptr) {
    EXPECT_EQ(::GetObjectA(handle, sizeof font, &font), static_cast<int>(sizeof font));
  }
  return font;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  ASSERT_EQ(written, bytes.size()) << path;
}

// The inspection under way: the dialog to look at and what to do with it.
struct Probe {
  CDialog* dialog;
  const std::function<void(HWND)>* inspect;
  int triesLeft;
  bool done;
};
Probe* g_probe = nullptr;

void CALLBACK ProbeTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_probe == nullptr || g_probe->done) return;
  const HWND window = g_probe->dialog->GetSafeHwnd();
  if (window != nullptr && ::IsWindowVisible(window)) {
    g_probe->done = true;
    (*g_probe->inspect)(window);
    g_probe->dialog->EndDialog(IDCANCEL);
  } else if (--g_probe->triesLeft == 0) {
    g_probe->done = true;
    ADD_FAILURE() << "the dialog did not come on screen";
    if (window != nullptr) g_probe->dialog->EndDialog(IDCANCEL);
  }
}

// Runs `dialog` modally; once its window is on screen, calls `inspect` with
// it from inside the modal loop (a thread timer) and ends the dialog with
// IDCANCEL. Returns what DoModal returned.
INT_PTR RunAndInspect(CDialog& dialog, const std::function<void(HWND)>& inspect) {
  Probe probe = {&dialog, &inspect, kProbeTries, false};
  g_probe = &probe;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kProbeIntervalMs, &ProbeTick);
  const INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  g_probe = nullptr;
  EXPECT_TRUE(probe.done) << "the dialog ended before it could be inspected";
  return result;
}

class LicenceDialogInside : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    m_folder = std::string(temp) + "licence_dlg_test\\";
    ::CreateDirectoryA(m_folder.c_str(), nullptr);
    WriteFile(m_folder + kWelcomeFileName,
              std::string("FIRSTLINE:") + kFixtureHeading + "\r\nSECONDLINE:Second\r\nTHIRDLINE:Third\r\n");
    WriteFile(m_folder + kLicenceFileName, "Terms of use\r\nYou may use the data.\r\n");
    theTestApp.SetModulePath((m_folder + "Install.exe").c_str());
  }

  void TearDown() override {
    ::DeleteFileA((m_folder + kWelcomeFileName).c_str());
    ::DeleteFileA((m_folder + kLicenceFileName).c_str());
    ::RemoveDirectoryA(m_folder.c_str());
  }

  std::string m_folder;
};

TEST_F(LicenceDialogInside, ReadsTheFixtureBesideTheModulePath) {
  const CLicenseDlg dialog;
  EXPECT_EQ(dialog.m_strAppDir.str(), m_folder);
  EXPECT_EQ(dialog.m_strHeadline.str(), kFixtureHeading);
}

// The heading, both welcome lines, the title and both buttons show in the
// dialog's own font; the licence text keeps the template's.
TEST_F(LicenceDialogInside, ScreenFontOnTextsAndButtonsTemplateFontOnTheLicenceText) {
  const long dpi = ScreenDpiY();
  const LONG screenHeight = -(kScreenFontPoints * kTenthsPerPoint * dpi / (kPointsPerInch * kTenthsPerPoint));
  CLicenseDlg dialog;
  RunAndInspect(dialog, [&](HWND window) {
    std::vector<HFONT> fonts;
    for (const int id : {IDC_HEADLINE, IDC_SECONDLINE, IDC_THIRDLINE, IDC_LICENSE_TITLE, IDOK, IDCANCEL}) {
      SCOPED_TRACE("control " + std::to_string(id));
      const HWND control = ::GetDlgItem(window, id);
      const LOGFONTA font = FontOf(control);
      EXPECT_STREQ(font.lfFaceName, TEXT_SCREEN_FACE);
      EXPECT_EQ(font.lfHeight, screenHeight);
      EXPECT_EQ(font.lfWidth, 0);
      EXPECT_TRUE(font.lfWeight == FW_DONTCARE || font.lfWeight == FW_NORMAL) << font.lfWeight;
      EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
      EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
      fonts.push_back(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    }
    for (const HFONT font : fonts) EXPECT_EQ(font, fonts.front()) << "the controls share the dialog's one font";

    const LOGFONTA licence = FontOf(::GetDlgItem(window, IDC_LICENSE_TEXT));
    EXPECT_STREQ(licence.lfFaceName, TEXT_TEMPLATE_FONT);
    EXPECT_EQ(licence.lfHeight, -::MulDiv(kTemplateFontPoints, dpi, kPointsPerInch));
    EXPECT_EQ(licence.lfCharSet, DEFAULT_CHARSET) << "the template's font takes the system's character set";
  });
}

// The font belongs to the dialog: it lives as long as the dialog object, and
// goes with it.
TEST_F(LicenceDialogInside, FontLivesUntilTheDialogObjectGoes) {
  HFONT font = nullptr;
  {
    CLicenseDlg dialog;
    RunAndInspect(dialog, [&](HWND window) {
      font = reinterpret_cast<HFONT>(::SendDlgItemMessageA(window, IDC_HEADLINE, WM_GETFONT, 0, 0));
    });
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(::GetObjectType(font), static_cast<DWORD>(OBJ_FONT)) << "deleted while the dialog object lives";
  }
  EXPECT_EQ(::GetObjectType(font), 0u) << "the font outlives the dialog";
}

// "I Agree" is the default button and has the focus at the start; the logo
// shows the bitmap at its own size.
TEST_F(LicenceDialogInside, DefaultButtonFocusAndLogo) {
  CLicenseDlg dialog;
  RunAndInspect(dialog, [&](HWND window) {
    EXPECT_EQ(::SendMessageA(window, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(window, IDOK));

    const HWND logo = ::GetDlgItem(window, IDC_LICENSE_LOGO);
    const HBITMAP bitmap = reinterpret_cast<HBITMAP>(::SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(bitmap, nullptr);
    BITMAP picture = {};
    ASSERT_EQ(::GetObjectA(bitmap, sizeof picture, &picture), static_cast<int>(sizeof picture));
    EXPECT_EQ(picture.bmWidth, kLogoWidth);
    EXPECT_EQ(picture.bmHeight, kLogoHeight);
  });
}

}  // namespace
