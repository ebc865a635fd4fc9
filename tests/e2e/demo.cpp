#include "tests/e2e/demo.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {

namespace {

// How long the script may take over one screenshot.
constexpr DWORD kScreenshotWaitMs = 60000;
// Time for a screen that has just appeared to be painted.
constexpr DWORD kPaintSettleMs = 1000;
// The bar's full position.
constexpr int kBarFull = 100;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExchangePath(const std::string& name) {
  std::string folder = Options().demo;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

// Waits until `window` is on screen and painted.
void Settle(HWND window) {
  WaitUntil([&] { return ::IsWindowVisible(window) != FALSE; }, kWindowWaitMs);
  ::Sleep(kPaintSettleMs);
}

bool Failed() { return testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed(); }

// Step: the licence screen, then "I Agree"; the setup screen, or nullptr.
HWND LicenceScreen(ProgramUnderTest& program) {
  const HWND screen = WaitForWindow(program, TEXT_LICENCE_CAPTION);
  if (screen == nullptr) return nullptr;
  std::cout << "demo: the licence screen is open\n";
  Settle(screen);
  if (!RequestScreenshot("licence", screen)) return nullptr;
  return unpacking::AgreeToLicence(program, screen);
}

// Step: the setup screen with the installation folder typed in, then
// "Install", confirmed.
bool SetupScreen(const ProgramUnderTest& program, HWND screen) {
  std::cout << "demo: the setup screen is open\n";
  if (!unpacking::SetControlText(screen, IDC_TARGET_DIR, kDemoInstallFolder)) return false;
  Settle(screen);
  if (!RequestScreenshot("setup", screen)) return false;
  std::cout << "demo: installing into " << kDemoInstallFolder << "\n";
  return unpacking::PressInstallAndConfirm(program, screen);
}

// Step: the run, with the bar cycling, until "Installed successfully"; then
// "Close".
bool Run(const ProgramUnderTest& program, HWND screen, const unpacking::RunWatch& run) {
  const ULONGLONG start = ::GetTickCount64();
  const bool moving = WaitUntil(
      [&] {
        const int position = unpacking::ProgressPosition(screen);
        return (position > 0 && position < kBarFull) || MessageBoxShown(program.ProcessId()).has_value();
      },
      kWindowWaitMs);
  if (!moving || MessageBoxShown(program.ProcessId())) {
    std::cout << "demo: the unpacker ended before the bar could be seen moving; no picture of it\n";
  } else {
    std::cout << "demo: the unpacker runs, the bar at " << unpacking::ProgressPosition(screen) << "\n";
    if (!RequestScreenshot("progress", screen)) return false;
    if (MessageBoxShown(program.ProcessId())) {
      std::cout << "demo: the unpacker ended while the picture of the bar was taken; look whether it shows the bar\n";
    }
  }
  const std::optional<MessageBoxOnScreen> done = unpacking::ExpectMessageBox(program, TEXT_INSTALLED, {IDOK});
  if (!done) return false;
  std::cout << "demo: \"" << TEXT_INSTALLED << "\" after " << (::GetTickCount64() - start) << " ms\n";
  Settle(done->window);
  if (!RequestScreenshot("success", screen) || !unpacking::AnswerAndWait(*done, IDOK)) return false;
  if (!WaitUntil([&] { return ControlText(screen, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs) || !run.WaitForRunEnd()) {
    return false;
  }
  PostClick(screen, IDCANCEL);
  return WaitForWindowGone(screen, "the setup screen");
}

}  // namespace

bool RequestScreenshot(const std::string& name, HWND window) {
  // The window's client area, kept on the screen: without a window manager
  // nothing draws the frame and caption around it.
  RECT rect;
  ::GetClientRect(window, &rect);
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  const RECT screen = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::IntersectRect(&rect, &rect, &screen);
  char display[256] = {};
  ::GetEnvironmentVariableA("DISPLAY", display, sizeof display);
  const std::string request = ExchangePath(name + ".request");
  const std::string done = ExchangePath(name + ".done");
  const std::string partial = request + ".partial";
  ::DeleteFileA(done.c_str());
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out << "display=" << display << "\n"
        << "geometry=" << (rect.right - rect.left) << "x" << (rect.bottom - rect.top) << "+" << rect.left << "+"
        << rect.top << "\n";
    if (!out) {
      ADD_FAILURE() << "cannot write " << partial;
      return false;
    }
  }
  // Whole or not at all: the script reads only finished requests.
  if (!::MoveFileExA(partial.c_str(), request.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    ADD_FAILURE() << "cannot ask for the screenshot " << name;
    return false;
  }
  if (!WaitUntil([&] { return ::GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, kScreenshotWaitMs)) {
    ADD_FAILURE() << "timed out waiting for the screenshot " << name;
    return false;
  }
  ::DeleteFileA(done.c_str());
  return true;
}

int RunDemo() {
  const std::string program = Options().program;
  ProgramUnderTest run;
  // Started as from a double click: in its own folder.
  if (!run.Start(program, FolderOf(program))) return 1;
  std::cout << "demo: started " << program << "\n";
  const HWND setup = LicenceScreen(run);
  if (setup == nullptr) return 1;
  const unpacking::RunWatch watch(run.ProcessId());
  if (!SetupScreen(run, setup) || !Run(run, setup, watch)) return 1;
  const std::optional<DWORD> code = run.WaitForExit();
  if (!code || Failed()) return 1;
  std::cout << "demo: the program ended (exit code " << *code << ")\n";
  return 0;
}

int RunLicenceShot(const std::string& name) {
  const std::string program = Options().program;
  ProgramUnderTest run;
  if (!run.Start(program, FolderOf(program))) return 1;
  std::cout << "demo: started " << program << "\n";
  const HWND screen = WaitForWindow(run, TEXT_LICENCE_CAPTION);
  if (screen == nullptr) return 1;
  Settle(screen);
  if (!RequestScreenshot(name, screen)) return 1;
  PostClick(screen, IDCANCEL);
  const std::optional<DWORD> code = run.WaitForExit();
  if (!code || Failed()) return 1;
  std::cout << "demo: the licence screen is cancelled, the program ended (exit code " << *code << ")\n";
  return 0;
}

}  // namespace e2e
