#include "bench/program_windows.h"

#include <map>

#include "res/resource.h"
#include "res/texts.h"

namespace bench {

DWORD OwnerOf(HWND window) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner;
}

HWND FindVisible(DWORD processId, const char* className, const char* caption) {
  HWND window = nullptr;
  while ((window = ::FindWindowExA(nullptr, window, className, caption)) != nullptr) {
    if (OwnerOf(window) == processId && ::IsWindowVisible(window)) return window;
  }
  return nullptr;
}

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

HWND WaitVisible(const ProgramUnderTest& program, const char* caption, DWORD pollMs, DWORD timeoutMs) {
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

LRESULT SendLong(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool wide) {
  DWORD_PTR result = 0;
  const UINT flags = SMTO_BLOCK;
  const LRESULT done = wide ? ::SendMessageTimeoutW(window, message, wParam, lParam, flags, kQueryWaitMs, &result)
                            : ::SendMessageTimeoutA(window, message, wParam, lParam, flags, kQueryWaitMs, &result);
  if (done == 0) {
    const DWORD error = ::GetLastError();
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    throw BenchFailure("the window " + std::to_string(reinterpret_cast<UINT_PTR>(window)) + " (" + className + ", id " +
                       std::to_string(::GetDlgCtrlID(window)) + (::IsWindow(window) ? "" : ", gone") +
                       ") did not answer message " + std::to_string(message) + " (error " + std::to_string(error) +
                       ")");
  }
  return static_cast<LRESULT>(result);
}

std::string TextLong(HWND window) {
  const LRESULT length = SendLong(window, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = SendLong(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return text;
}

MessageBoxOnScreen WaitForBox(const ProgramUnderTest& program, const std::string& text, DWORD pollMs,
                              const std::set<HWND>& ignore, DWORD timeoutMs) {
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

void EndWithEscape(ProgramUnderTest& program, HWND screen) {
  e2e::PressEscape(screen);
  Require(program.WaitForExit(kScreenWaitMs).has_value(), "the program does not end after Esc");
}

HWND OpenSetupScreen(ProgramUnderTest& program, const std::string& folder) {
  Require(program.Start(folder + kProgramName, folder), "cannot start the program " + folder + kProgramName);
  const HWND licence = WaitVisible(program, TEXT_LICENCE_CAPTION, kSlowPollMs);
  e2e::PostClick(licence, IDOK);
  return WaitVisible(program, TEXT_SETUP_CAPTION, kSlowPollMs);
}

double TimeToScreen(const std::string& exe, const std::string& folder, const char* caption, HWND* shown,
                    const std::function<void(HWND)>& check) {
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

Folder MakePackage(const std::string& name, const std::string& descriptor) {
  Folder package(kWorkRoot + name);
  package.CopyIn(Options().program, kProgramName);
  if (!descriptor.empty()) package.WriteFile(kDescriptorName, descriptor);
  CheckHarness("laying out the package " + name);
  return package;
}

}  // namespace bench
