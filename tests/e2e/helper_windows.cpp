#include "tests/e2e/helper_windows.h"

#include <cstring>

namespace e2e::helper {

namespace {

constexpr char kControlsClass[] = "E2eHarnessControls";
constexpr int kWidth = 400;
constexpr int kHeight = 300;
constexpr int kListHeight = 150;
constexpr int kComboHeight = 120;
constexpr int kEditHeight = 24;
constexpr int kMargin = 10;

LRESULT CALLBACK ControlsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

int ShowControls() {
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = &ControlsProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kControlsClass;
  ::RegisterClassA(&windowClass);
  const HWND window = ::CreateWindowExA(0, kControlsClass, kControlsCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                        CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  const int innerWidth = kWidth - 4 * kMargin;
  const HWND list = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, kMargin,
                                      kMargin, innerWidth, kListHeight, window,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), instance, nullptr);
  const HWND combo = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, kMargin,
                                       2 * kMargin + kListHeight, innerWidth, kComboHeight, window,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kComboId)), instance, nullptr);
  ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, kMargin,
                    4 * kMargin + kListHeight, innerWidth, kEditHeight, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  // Added with the ANSI messages, as the program fills its lists.
  for (const std::string& text : ListTexts()) {
    ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

const std::vector<std::string>& ListTexts() {
  // Unsorted lists keep this order; one entry of a single character.
  static const std::vector<std::string> texts = {"[..]", "[Program Files]", "x", "[-c-]"};
  return texts;
}

std::optional<int> RunIfAsked(int argc, char** argv) {
  const size_t prefix = std::strlen(kArgument);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kArgument, prefix) != 0) continue;
    const std::string kind = argv[i] + prefix;
    for (const BoxKind& box : {kYesNoBox, kPlainOkBox}) {
      if (kind == box.name) return ::MessageBoxA(nullptr, kBoxText, kBoxCaption, box.style);
    }
    if (kind == kControlsKind) return ShowControls();
    return 2;
  }
  return std::nullopt;
}

}  // namespace e2e::helper
