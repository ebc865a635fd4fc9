// The program under test as the driver sees it: its windows, found without
// sending them a message; messages sent to them with long bounds; its
// message boxes waited for; the way through its screens and out of them.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>

#include "bench/bench_support.h"
#include "tests/e2e/harness.h"

namespace bench {

using e2e::Folder;
using e2e::MessageBoxOnScreen;
using e2e::ProgramUnderTest;

DWORD OwnerOf(HWND window);

// A visible top-level window of the process with this class (or any, for
// nullptr) and caption (or any), found without sending it a message.
HWND FindVisible(DWORD processId, const char* className, const char* caption);

// A visible message box of the process other than `ignore`, or nullptr.
HWND MessageBoxWindow(DWORD processId, HWND ignore);

HWND WaitVisible(const ProgramUnderTest& program, const char* caption, DWORD pollMs = kFastPollMs,
                 DWORD timeoutMs = kScreenWaitMs);

// A message sent to a window of the program, answered within the long
// bound. Not with SMTO_ABORTIFHUNG: Wine takes a thread for hung when it has
// fetched no message for 5 s and is not waiting for one, which is how the
// monitor thread stands while its first message box comes up.
LRESULT SendLong(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool wide = false);

// The whole text of a window of another process, with the long bound.
std::string TextLong(HWND window);

// Waits for a message box of the program with exactly `text`; any other
// box that is not in `ignore` ends the benchmark with its text.
MessageBoxOnScreen WaitForBox(const ProgramUnderTest& program, const std::string& text, DWORD pollMs,
                              const std::set<HWND>& ignore = {}, DWORD timeoutMs = kRunWaitMs);

void SetControlText(HWND dialog, int id, const std::string& text);

// Ends the program from the setup screen after a run: Cancel (captioned
// "Close" by then) ends the setup screen and with it the licence screen.
void CloseAfterRun(ProgramUnderTest& program, HWND setup);

// Ends a screen with Esc and waits for the program's end.
void EndWithEscape(ProgramUnderTest& program, HWND screen);

// Starts the program of the package folder `folder` (trailing backslash) in
// it and takes it through the licence screen ("I Agree") onto the setup
// screen.
HWND OpenSetupScreen(ProgramUnderTest& program, const std::string& folder);

// From the process start of `exe` (in `folder`) to the window `caption`
// visible: the time; `check` looks at the window first, then Esc ends the
// program.
double TimeToScreen(const std::string& exe, const std::string& folder, const char* caption, HWND* shown = nullptr,
                    const std::function<void(HWND)>& check = {});

// A package folder C:\bench\<name> with the program and, unless empty, its
// descriptor.
Folder MakePackage(const std::string& name, const std::string& descriptor);

}  // namespace bench
