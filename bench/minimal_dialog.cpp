// The references of two benchmarks: the least a program can do
//  - to show a screen: one modal dialog from a template, ended by Esc, its
//    close box or its button (no arguments);
//  - to watch a run as the setup screen does (--monitor): a dialog with a
//    progress bar that a second thread steps by 5 after each 50 ms wait,
//    200 times (10 s), each step sent to the dialog's own thread, and then a
//    message box "Done" from that thread; the program ends when it is
//    answered. --monitor=send sends the steps but leaves the bar as it is;
//    --monitor=wait only waits: the parts of the cost, one by one.
#include <windows.h>
#include <commctrl.h>

#include <cstring>

#include "bench/minimal_dialog.h"

namespace {

constexpr UINT kStepMessage = WM_APP;
constexpr int kSteps = 200;
constexpr DWORD kStepMs = 50;
constexpr int kStepSize = 5;
constexpr int kFull = 100;

enum class Steps { kWaitSendAndDraw, kWaitAndSend, kWaitOnly };
Steps g_steps = Steps::kWaitSendAndDraw;

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

DWORD WINAPI StepBar(LPVOID parameter) {
  const HWND dialog = static_cast<HWND>(parameter);
  const HANDLE never = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  int position = 0;
  for (int step = 0; step < kSteps; ++step) {
    ::WaitForSingleObject(never, kStepMs);
    position = (position + kStepSize) % kFull;
    if (g_steps != Steps::kWaitOnly) ::SendMessageA(dialog, kStepMessage, static_cast<WPARAM>(position), 0);
  }
  ::CloseHandle(never);
  ::SendMessageA(dialog, kStepMessage, kFull, 0);
  ::MessageBoxA(dialog, MINIMAL_MONITOR_DONE, MINIMAL_MONITOR_CAPTION, MB_OK);
  ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return 0;
}

INT_PTR CALLBACK MonitorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ::SendDlgItemMessageA(dialog, IDC_MINIMAL_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, kFull));
      const HANDLE thread = ::CreateThread(nullptr, 0, &StepBar, dialog, 0, nullptr);
      if (thread != nullptr) ::CloseHandle(thread);
      return TRUE;
    }
    case kStepMessage:
      if (g_steps == Steps::kWaitSendAndDraw) ::SendDlgItemMessageA(dialog, IDC_MINIMAL_PROGRESS, PBM_SETPOS, wParam, 0);
      return TRUE;
    default:
      return DialogProc(dialog, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int /*show*/) {
  if (const char* monitor = std::strstr(commandLine, MINIMAL_MONITOR_ARGUMENT)) {
    const char* steps = monitor + std::strlen(MINIMAL_MONITOR_ARGUMENT);
    if (std::strncmp(steps, "=send", 5) == 0) g_steps = Steps::kWaitAndSend;
    if (std::strncmp(steps, "=wait", 5) == 0) g_steps = Steps::kWaitOnly;
    // The progress bar's library is loaded only here, so that the start-up
    // reference loads no more than a dialog needs.
    using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const HMODULE library = ::LoadLibraryA("comctl32.dll");
    const auto init = library != nullptr ? reinterpret_cast<InitControls>(
                                               reinterpret_cast<void*>(::GetProcAddress(library, "InitCommonControlsEx")))
                                         : nullptr;
    const INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
    if (init == nullptr || !init(&controls)) return 1;
    ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL_MONITOR), nullptr, &MonitorProc, 0);
    return 0;
  }
  ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL_DIALOG), nullptr, &DialogProc, 0);
  return 0;
}
