// End-to-end harness: lays out a package folder, starts the program in it and
// operates it from another process with window messages only, as a person at
// the screen would: find a screen by its caption, read its controls by id,
// click, press keys, answer message boxes, read the exit code.
//
// Every wait is bounded and polls; a wait that runs out adds a test failure
// that says what it was waiting for. Clicks and keys are always posted, never
// sent: a handler that opens a modal box does not return until the box has
// closed, and a sent click would leave the driver waiting on itself.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Bounds of the waits. Generous: the first window of a process under Wine can
// take a few seconds.
constexpr DWORD kWindowWaitMs = 20000;
constexpr DWORD kExitWaitMs = 20000;
constexpr DWORD kPollMs = 20;
// Bound of one message sent to a window of the program under test.
constexpr UINT kSendTimeoutMs = 5000;

// Where the cases lay out their folders (Windows form, trailing backslash).
constexpr const char kCaseRoot[] = "C:\\e2e\\";

// What the driver's command line gave.
struct DriverOptions {
  std::string program;    // the program under test (Windows path)
  std::string demo;       // demo mode: the folder of the screenshot exchange
  std::string demoShot;   // demo mode, licence screen only: the one screenshot's name
  std::string fakeUnzip;  // the fake unpacker of the tests (Windows path)
  std::string unzip;      // the genuine unzip.exe (Windows path)
  std::string fixtures;   // the sample data and its archive (Windows folder)
  std::string probe;      // the logo probe DLL (Windows path), for the branding cases
};
DriverOptions& Options();

// The running test case's name, fit for a folder name.
std::string CaseName();

// Polls `done` until it holds or `timeoutMs` has passed; true when it held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs);

// A folder of the driver's, made fresh: an old one of the same path is deleted
// first. It stays after the case, for a look at what the case left.
class Folder {
 public:
  explicit Folder(std::string path);  // with or without trailing backslash

  const std::string& Path() const { return m_path; }  // with trailing backslash
  std::string PathOf(const std::string& name) const { return m_path + name; }
  // Writes `bytes` to the file exactly as given (no text-mode translation).
  bool WriteFile(const std::string& name, const std::string& bytes) const;
  bool CopyIn(const std::string& source, const std::string& name) const;

 private:
  std::string m_path;
};

// Deletes a folder with everything in it; true when it is gone.
bool DeleteTree(const std::string& path);

// One run of a program. A program still running when the object goes is
// killed, so no case leaks a process.
class ProgramUnderTest {
 public:
  // Exit code given to a program the harness kills.
  static constexpr UINT kKilledExitCode = 0xE2E;

  ProgramUnderTest() = default;
  ~ProgramUnderTest();
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

  // Starts `exe` (with `arguments` after its quoted path) in `workingDir`.
  // Adds a failure and returns false when it cannot be started.
  bool Start(const std::string& exe, const std::string& workingDir, const std::string& arguments = "");
  bool IsRunning() const;
  DWORD ProcessId() const { return m_info.dwProcessId; }
  const std::string& Name() const { return m_exe; }

  // Waits for the program's end: its exit code, or nothing (and a failure
  // naming the windows it still shows) when it is still running at the bound.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = kExitWaitMs) const;
  // Ends it at once if it is still running; true when it had to be killed.
  bool Kill();

 private:
  PROCESS_INFORMATION m_info{};
  std::string m_exe;
};

// The program's visible top-level windows.
std::vector<HWND> TopLevelWindows(DWORD processId);
// A description of them (class and caption), for failure messages.
std::string DescribeWindows(DWORD processId);

// Waits for a visible top-level window of the program with exactly this
// caption. nullptr, with a failure saying what was awaited, at the bound or
// when the program ends meanwhile.
HWND WaitForWindow(const ProgramUnderTest& program, const std::string& caption, DWORD timeoutMs = kWindowWaitMs);
// Waits until `window` is gone (closed, hidden or destroyed); false, with a
// failure, at the bound.
bool WaitForWindowGone(HWND window, const std::string& what, DWORD timeoutMs = kWindowWaitMs);

// The package folder of the running case, C:\e2e\<case>\, made fresh, with
// the program under test copied in as Install.exe; the case writes the other
// package files. The program is started from a second fresh folder,
// C:\e2e\<case>.elsewhere\, so that it must find its files by its own
// location and not by the working directory.
class CasePackage {
 public:
  static constexpr const char kProgramName[] = "Install.exe";
  // The program's title, its message boxes' caption: the name without
  // extension.
  static constexpr const char kProgramTitle[] = "Install";

  CasePackage();
  const Folder& Files() const { return m_package; }
  const Folder& Elsewhere() const { return m_elsewhere; }
  std::string ProgramPath() const { return m_package.PathOf(kProgramName); }
  // Starts the package's program; false, with a failure, when it cannot.
  bool Start(ProgramUnderTest& program) const;

 private:
  Folder m_package;
  Folder m_elsewhere;
};

// ---- reading -------------------------------------------------------------

// A message that only asks `window` something and carries no pointer
// (EM_GETLINECOUNT, LB_GETCURSEL, DM_GETDEFID...), sent with a bound: its
// result, or 0 with a failure when the window does not answer in time.
LRESULT SendQuery(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// The whole text of a window of another process, by WM_GETTEXT.
std::string TextOf(HWND window);
// The text of the dialog's control `id` (empty, with a failure, when the
// dialog has no such control).
std::string ControlText(HWND dialog, int id);
// The entries of a list box / combo box of another process. Read with the
// wide messages and converted to the ANSI code page: the ANSI LB_GETTEXT and
// CB_GETLBTEXT return only the first character across processes under Wine.
std::vector<std::string> ListEntries(HWND list);
std::vector<std::string> ComboEntries(HWND combo);
// The window that has the keyboard focus on `window`'s thread, or nullptr.
HWND FocusedWindow(HWND window);
// Id of the dialog's control that has the focus; 0 when none of its controls
// has it.
int FocusedControlId(HWND dialog);

// ---- acting (always posted) ----------------------------------------------

// Clicks the dialog's control `id` (BM_CLICK).
void PostClick(HWND dialog, int id);
// The command a click of control `id` gives (WM_COMMAND, BN_CLICKED), posted
// to the dialog itself.
void PostCommand(HWND dialog, int id);
// Esc on a dialog: the command IDCANCEL.
void PressEscape(HWND dialog);
// The close box of a window: WM_SYSCOMMAND SC_CLOSE.
void PressCloseBox(HWND window);
// A key pressed and released on `window` (the focused control, as a person's
// key press reaches it).
void PressKey(HWND window, WORD virtualKey);
// Characters typed into `window` (WM_CHAR each).
void PostChars(HWND window, const std::string& text);

// ---- message boxes -------------------------------------------------------

struct MessageBoxOnScreen {
  HWND window = nullptr;
  std::string caption;
  std::string text;      // the static 0xFFFF
  bool hasIcon = false;  // a visible static of SS_ICON style holds an icon
  std::vector<int> buttons;  // ids of its visible buttons, in child order
};

// Id of the static that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// The program's message box on screen now, if any: a visible top-level dialog
// (class #32770) of its with the text static 0xFFFF.
std::optional<MessageBoxOnScreen> MessageBoxShown(DWORD processId);
// Waits for one; nothing, with a failure, at the bound or when the program
// ends meanwhile.
std::optional<MessageBoxOnScreen> WaitForMessageBox(const ProgramUnderTest& program, DWORD timeoutMs = kWindowWaitMs);
// Answers it with button `id` (IDYES, IDNO, IDOK, ...).
void Answer(const MessageBoxOnScreen& box, int id);

}  // namespace e2e
