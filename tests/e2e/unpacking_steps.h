// Steps of an installation run, shared by the unpacking cases and the demo
// walk: the package's descriptor, the way through the licence screen to the
// setup screen, a confirmed install request, the program's message boxes, and
// the unpacker processes the program starts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e::unpacking {

// The descriptor's file name for the package's program: "Install.ini".
std::string DescriptorName();
// The text of a descriptor naming `archive` and `sizeKB`, with CR LF ends.
std::string DescriptorText(const std::string& archive, long sizeKB);

// Presses "I Agree" on the licence screen and waits for the setup screen;
// nullptr (with a failure) when it does not come.
HWND AgreeToLicence(const ProgramUnderTest& program, HWND licenceScreen);
// Waits for the licence screen of the started program, then as
// AgreeToLicence.
HWND OpenSetupScreen(const ProgramUnderTest& program);

// Sets the text of the dialog's control `id` in another process
// (WM_SETTEXT, bounded) and reads it back; false, with a failure, when the
// control does not take it.
bool SetControlText(HWND dialog, int id, const std::string& text);
// Presses "Install" and answers "Start Installation on the selected
// directory?" with Yes; false, with a failure, when the question does not
// come. The question has closed when it returns.
bool PressInstallAndConfirm(const ProgramUnderTest& program, HWND setupScreen);
// Types `folder` into the installation folder field, then as
// PressInstallAndConfirm.
bool RequestInstall(const ProgramUnderTest& program, HWND setupScreen, const std::string& folder);

// The progress bar's position (PBM_GETPOS).
int ProgressPosition(HWND setupScreen);
// Whether the dialog's control `id` is visible.
bool ControlVisible(HWND dialog, int id);

// Waits for a message box of the program and checks that it looks as every
// box of the program does: the program's title as caption, an icon, `text`
// and `buttons`. The box, or nothing (with failures) when it does not come
// or another one comes.
std::optional<MessageBoxOnScreen> ExpectMessageBox(const ProgramUnderTest& program, const std::string& text,
                                                   const std::vector<int>& buttons);
// Answers `box` with button `id` and waits until its window has been
// destroyed, so that the program's code after the box is running; false, with
// a failure, at the bound.
bool AnswerAndWait(const MessageBoxOnScreen& box, int id);
// ExpectMessageBox with OK only, answered with OK.
bool ExpectNotice(const ProgramUnderTest& program, const std::string& text);
// The program's visible message box with exactly `text`, when there is one
// now: a program may show two at once, one from each of its threads.
std::optional<MessageBoxOnScreen> MessageBoxWithText(DWORD processId, const std::string& text);

// The program's threads before a run, to tell when the run is over: its
// monitor thread clears the run flag as its very last step, after its closing
// message has gone and the button has been relabelled, so the screen cannot
// tell that moment.
class RunWatch {
 public:
  RunWatch() = default;
  // Notes the program's threads now, just before a run starts.
  explicit RunWatch(DWORD processId);
  // Waits until every thread the program has started since has ended; false,
  // with a failure, at the bound.
  bool WaitForRunEnd() const;

 private:
  DWORD m_processId = 0;
  std::vector<DWORD> m_before;
};

// The unpacker processes the program has started and that still run: those
// named unzip.exe whose parent it is.
std::vector<DWORD> RunningUnpackers(DWORD programId);
// Ends every unpacker the program started that still runs. A case calls it
// at its end: an unpacker that hangs outlives the program.
void EndUnpackers(DWORD programId);

// One unpacker of the program, opened while it runs so that its exit code
// can be read after its end. Ended when the object goes, if it still runs.
class Unpacker {
 public:
  Unpacker() = default;
  ~Unpacker();
  Unpacker(const Unpacker&) = delete;
  Unpacker& operator=(const Unpacker&) = delete;

  // Waits for a running unpacker of the program other than `other` (a
  // process id; 0 for none) and opens it; false, with a failure, at the
  // bound.
  bool Find(const ProgramUnderTest& program, DWORD other = 0);
  DWORD Id() const { return m_id; }
  bool IsRunning() const;
  // Ends it at once with `exitCode`, as if it had ended by itself so.
  void End(UINT exitCode);
  // Waits for its end: its exit code, or nothing (with a failure) at the
  // bound.
  std::optional<DWORD> ExitCode(DWORD timeoutMs = kExitWaitMs) const;

 private:
  HANDLE m_process = nullptr;
  DWORD m_id = 0;
};

}  // namespace e2e::unpacking
