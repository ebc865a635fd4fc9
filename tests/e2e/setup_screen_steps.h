// Steps on the setup screen shared by its end-to-end cases: a package with a
// descriptor, the way through the licence screen to the setup screen, folder
// trees in the root of drive c:, and the browsing and typing a person does
// there.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e {

// The archive the cases' descriptors name, beside the program.
constexpr char kArchiveName[] = "data.zip";
// A package size, in kilobytes, that any disk holds.
constexpr char kSmallPackageKB[] = "1";

// The text of a descriptor naming `archive` and the size `sizeKB` (as the
// "FILESIZE:" line writes it), with CR LF ends.
std::string DescriptorText(const std::string& sizeKB, const std::string& archive = kArchiveName);
// The descriptor's file name for the package's program: "Install.ini".
std::string DescriptorName(const std::string& programTitle = CasePackage::kProgramTitle);

// Waits for the licence screen of the started program and presses "I Agree";
// the licence screen, or nullptr (with a failure) when it does not come.
HWND AgreeToLicence(const ProgramUnderTest& program);
// Goes through the licence screen with "I Agree" and waits for the setup
// screen; nullptr (with a failure) when it does not come.
HWND OpenSetupScreen(const ProgramUnderTest& program);

// A folder tree in the root of drive c:, made for one case and removed at its
// end: a folder left there would show in the folder list of every later case.
class RootFolderTree {
 public:
  // Makes C:\<name> and, inside it, each of `inside`: relative paths whose
  // levels are split at each backslash byte, so only `name` may hold
  // double-byte characters.
  explicit RootFolderTree(std::string name, const std::vector<std::string>& inside = {});
  ~RootFolderTree();
  RootFolderTree(const RootFolderTree&) = delete;
  RootFolderTree& operator=(const RootFolderTree&) = delete;

  const std::string& Name() const { return m_name; }
  std::string Path() const { return "C:\\" + m_name; }
  // The folder's entry in a folder list: "[name]".
  std::string Entry() const { return "[" + m_name + "]"; }

 private:
  std::string m_name;
};

// A case on the setup screen of the package's program.
class SetupScreenCase : public testing::Test {
 protected:
  // Writes the descriptor with the package size `sizeKB`, starts the program
  // and goes on to the setup screen; nullptr (with a failure) when it does
  // not come.
  HWND OpenWithPackageSize(const std::string& sizeKB = kSmallPackageKB);
  // A folder tree in the root of c: for the case (see RootFolderTree). It
  // goes only after the program has ended: the program's current folder is
  // the folder it lists last.
  const RootFolderTree& MakeRootFolder(const std::string& name, const std::vector<std::string>& inside = {});

  // Declared first, so that it goes after the program.
  std::vector<std::unique_ptr<RootFolderTree>> m_rootFolders;
  CasePackage m_package;
  ProgramUnderTest m_program;
};

// Whether the last character of `path` is a backslash, and `folder` with one
// behind it: in the system's code page, where the second byte of a
// double-byte character may equal a backslash.
bool EndsWithBackslash(const std::string& path);
std::string WithBackslash(const std::string& folder);

// The folders of `folder` (with trailing backslash) in the folder list's
// form, "[name]", as the driver itself finds them, sorted.
std::vector<std::string> FolderEntriesOf(const std::string& folder);

// The folder list's and the drive list's entries, sorted by byte value (the
// lists sort in an order of their own).
std::vector<std::string> FolderListEntries(HWND screen);
std::vector<std::string> DriveListEntries(HWND screen);

// Double-clicks the folder list's entry `entry` ("[name]" or "[..]"): selects
// it, then posts the list's double-click notification to the screen. False,
// with a failure, when the list holds no such entry.
bool DoubleClickFolder(HWND screen, const std::string& entry);
// Picks `entry` ("[-z-]") in the drive list as a click in its dropped list
// does: the selection, then CBN_SELENDOK and CBN_SELCHANGE to the screen, in
// this order. False, with a failure, when the list holds no such entry.
bool PickDrive(HWND screen, const std::string& entry);
// Replaces the whole text of the screen's edit `id` by typing: everything
// selected, then `text` typed over it (Backspace for no text). Waits until
// the edit shows it; false, with a failure, at the bound.
bool TypeInto(HWND screen, int id, const std::string& text);

// Waits until the screen's control `id` shows `expected`; false, with a
// failure naming what it shows, at the bound.
bool WaitForControlText(HWND screen, int id, const std::string& expected);
// Waits until the screen has handled everything posted to it so far, then a
// moment more for a message box to show; true when none shows and the
// program still runs.
bool ScreenStaysWithoutMessage(const ProgramUnderTest& program, HWND screen);

// Waits for a message box and checks it as every box of the program looks:
// the program's title as caption, the exclamation icon, `text` and
// `buttons`. The box, or nothing (with failures) when it does not come.
std::optional<MessageBoxOnScreen> ExpectMessageBox(const ProgramUnderTest& program, const std::string& text,
                                                   const std::vector<int>& buttons,
                                                   const std::string& caption = CasePackage::kProgramTitle);

// Answers `box` with button `id` and waits until it has closed, so that a
// box that follows is not mistaken for it; false, with a failure, at the
// bound.
bool AnswerAndWaitGone(const MessageBoxOnScreen& box, int id);

}  // namespace e2e
