#include "tests/e2e/setup_screen_steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "res/resource.h"
#include "res/texts.h"

namespace e2e {

namespace {

// How long a message box may take to show once the screen's thread has
// handled what opens it: the box shows as soon as its queue runs empty.
constexpr DWORD kMessageBoxShowMs = 500;

std::vector<std::string> Sorted(std::vector<std::string> entries) {
  std::sort(entries.begin(), entries.end());
  return entries;
}

// The index of `entry` in `entries`, or -1.
int IndexOf(const std::vector<std::string>& entries, const std::string& entry) {
  const auto found = std::find(entries.begin(), entries.end(), entry);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

std::string Joined(const std::vector<std::string>& entries) {
  std::string joined;
  for (const std::string& entry : entries) joined += (joined.empty() ? "" : " ") + entry;
  return joined;
}

}  // namespace

std::string DescriptorText(const std::string& sizeKB, const std::string& archive) {
  return "ZIPFILE:" + archive + "\r\nFILESIZE:" + sizeKB + "\r\n";
}

std::string DescriptorName(const std::string& programTitle) { return programTitle + ".ini"; }

HWND AgreeToLicence(const ProgramUnderTest& program) {
  const HWND licence = WaitForWindow(program, TEXT_LICENCE_CAPTION);
  if (licence != nullptr) PostClick(licence, IDOK);
  return licence;
}

HWND OpenSetupScreen(const ProgramUnderTest& program) {
  if (AgreeToLicence(program) == nullptr) return nullptr;
  return WaitForWindow(program, TEXT_SETUP_CAPTION);
}

HWND SetupScreenCase::OpenWithPackageSize(const std::string& sizeKB) {
  if (!m_package.Files().WriteFile(DescriptorName(), DescriptorText(sizeKB))) return nullptr;
  if (!m_package.Start(m_program)) return nullptr;
  return OpenSetupScreen(m_program);
}

const RootFolderTree& SetupScreenCase::MakeRootFolder(const std::string& name, const std::vector<std::string>& inside) {
  m_rootFolders.push_back(std::make_unique<RootFolderTree>(name, inside));
  return *m_rootFolders.back();
}

// ---- folders -------------------------------------------------------------

RootFolderTree::RootFolderTree(std::string name, const std::vector<std::string>& inside) : m_name(std::move(name)) {
  // Made level by level here rather than with Folder, whose paths would take
  // the second byte 0x5C of a double-byte character for a backslash.
  const std::string top = Path();
  if (::GetFileAttributesA(top.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteTree(top + "\\")) {
    ADD_FAILURE() << "cannot delete the old folder " << top;
  }
  if (!::CreateDirectoryA(top.c_str(), nullptr)) ADD_FAILURE() << "cannot create " << top;
  for (const std::string& folder : inside) {
    std::string path = top;
    for (size_t start = 0; start <= folder.size();) {
      const size_t end = std::min(folder.find('\\', start), folder.size());
      path += "\\" + folder.substr(start, end - start);
      ::CreateDirectoryA(path.c_str(), nullptr);
      start = end + 1;
    }
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      ADD_FAILURE() << "cannot create " << path;
    }
  }
}

RootFolderTree::~RootFolderTree() {
  if (!DeleteTree(Path() + "\\")) ADD_FAILURE() << "cannot remove " << Path();
}

bool EndsWithBackslash(const std::string& path) {
  if (path.empty()) return false;
  const char* last = ::CharPrevA(path.c_str(), path.c_str() + path.size());
  return last == path.c_str() + path.size() - 1 && *last == '\\';
}

std::string WithBackslash(const std::string& folder) { return EndsWithBackslash(folder) ? folder : folder + "\\"; }

std::vector<std::string> FolderEntriesOf(const std::string& folder) {
  std::vector<std::string> entries;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot list " << folder;
    return entries;
  }
  do {
    // As the list shows them: every folder, hidden ones and the parent
    // included, but the folder itself.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && std::string(found.cFileName) != ".") {
      entries.push_back("[" + std::string(found.cFileName) + "]");
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return Sorted(entries);
}

std::vector<std::string> FolderListEntries(HWND screen) {
  return Sorted(ListEntries(::GetDlgItem(screen, IDC_DIR_LIST)));
}

std::vector<std::string> DriveListEntries(HWND screen) {
  return Sorted(ComboEntries(::GetDlgItem(screen, IDC_DRIVE_COMBO)));
}

// ---- acting --------------------------------------------------------------

bool DoubleClickFolder(HWND screen, const std::string& entry) {
  const HWND list = ::GetDlgItem(screen, IDC_DIR_LIST);
  const std::vector<std::string> entries = ListEntries(list);
  const int index = IndexOf(entries, entry);
  if (index < 0) {
    ADD_FAILURE() << "the folder list holds no " << entry << "; it holds: " << Joined(entries);
    return false;
  }
  SendQuery(list, LB_SETCURSEL, static_cast<WPARAM>(index));
  ::PostMessageA(screen, WM_COMMAND, MAKEWPARAM(IDC_DIR_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  return true;
}

bool PickDrive(HWND screen, const std::string& entry) {
  const HWND combo = ::GetDlgItem(screen, IDC_DRIVE_COMBO);
  const std::vector<std::string> entries = ComboEntries(combo);
  const int index = IndexOf(entries, entry);
  if (index < 0) {
    ADD_FAILURE() << "the drive list holds no " << entry << "; it holds: " << Joined(entries);
    return false;
  }
  SendQuery(combo, CB_SETCURSEL, static_cast<WPARAM>(index));
  for (const WORD notification : {CBN_SELENDOK, CBN_SELCHANGE}) {
    ::PostMessageA(screen, WM_COMMAND, MAKEWPARAM(IDC_DRIVE_COMBO, notification), reinterpret_cast<LPARAM>(combo));
  }
  return true;
}

bool TypeInto(HWND screen, int id, const std::string& text) {
  const HWND edit = ::GetDlgItem(screen, id);
  ::PostMessageA(edit, EM_SETSEL, 0, -1);
  if (text.empty()) {
    ::PostMessageA(edit, WM_CHAR, VK_BACK, 1);
  } else {
    PostChars(edit, text);
  }
  return WaitForControlText(screen, id, text);
}

// ---- waiting ---------------------------------------------------------------

bool WaitForControlText(HWND screen, int id, const std::string& expected) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(screen, &processId);
  std::string shown;
  std::optional<MessageBoxOnScreen> box;
  if (WaitUntil(
          [&] {
            shown = ControlText(screen, id);
            box = MessageBoxShown(processId);
            return shown == expected || box.has_value();
          },
          kWindowWaitMs) &&
      shown == expected) {
    return true;
  }
  if (box) {
    ADD_FAILURE() << "the message \"" << box->text << "\" came while control " << id << " was awaited to show \""
                  << expected << "\"; it shows \"" << shown << "\"";
  } else {
    ADD_FAILURE() << "timed out waiting for control " << id << " to show \"" << expected << "\"; it shows \"" << shown
                  << "\"";
  }
  return false;
}

bool ScreenStaysWithoutMessage(const ProgramUnderTest& program, HWND screen) {
  // A selection in the read-only archive field, posted behind everything
  // else: once it shows, the screen's thread has handled all before it.
  static WPARAM mark = 0;
  mark = mark % 4 + 1;
  const HWND field = ::GetDlgItem(screen, IDC_SOURCE_PATH);
  ::PostMessageA(field, EM_SETSEL, mark, static_cast<LPARAM>(mark + 1));
  const LRESULT marked = MAKELONG(mark, mark + 1);
  if (!WaitUntil([&] { return SendQuery(field, EM_GETSEL) == marked; }, kWindowWaitMs)) {
    ADD_FAILURE() << "the setup screen did not get through its messages in time; the program shows: "
                  << DescribeWindows(program.ProcessId());
    return false;
  }
  std::optional<MessageBoxOnScreen> box;
  WaitUntil([&] { return (box = MessageBoxShown(program.ProcessId())).has_value(); }, kMessageBoxShowMs);
  if (box) {
    ADD_FAILURE() << "unexpected message box \"" << box->text << "\"";
    return false;
  }
  if (!program.IsRunning()) {
    ADD_FAILURE() << "the program has ended";
    return false;
  }
  return true;
}

std::optional<MessageBoxOnScreen> ExpectMessageBox(const ProgramUnderTest& program, const std::string& text,
                                                   const std::vector<int>& buttons, const std::string& caption) {
  std::optional<MessageBoxOnScreen> box = WaitForMessageBox(program);
  if (!box) {
    ADD_FAILURE() << "the message \"" << text << "\" did not come";
    return box;
  }
  EXPECT_EQ(box->text, text);
  EXPECT_EQ(box->caption, caption);
  EXPECT_TRUE(box->hasIcon) << "the message \"" << box->text << "\" shows no icon";
  EXPECT_EQ(box->buttons, buttons);
  return box;
}

bool AnswerAndWaitGone(const MessageBoxOnScreen& box, int id) {
  Answer(box, id);
  return WaitForWindowGone(box.window, "the message \"" + box.text + "\"");
}

}  // namespace e2e
