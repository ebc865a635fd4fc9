#include "tests/e2e/harness.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

namespace e2e {

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kStaticClass[] = "Static";
constexpr char kButtonClass[] = "Button";

std::string WithTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string ClassOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

// The caption of a top-level window. GetWindowText reads a window of another
// process from the system's copy, without sending it a message.
std::string CaptionOf(HWND window) {
  char caption[512] = {};
  ::GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  ::EnumChildWindows(parent, &CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

struct TopLevelSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TopLevelSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && ::IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool wide = false) {
  DWORD_PTR result = 0;
  const UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  const LRESULT done = wide ? ::SendMessageTimeoutW(window, message, wParam, lParam, flags, kSendTimeoutMs, &result)
                            : ::SendMessageTimeoutA(window, message, wParam, lParam, flags, kSendTimeoutMs, &result);
  if (done == 0) ADD_FAILURE() << "window " << window << " did not answer message " << message << " in time";
  return static_cast<LRESULT>(result);
}

// A visible static of SS_ICON style that holds an icon. The handle itself
// means nothing in another process; that there is one does.
bool IsIconStatic(HWND window) {
  return ClassOf(window) == kStaticClass && (::GetWindowLongA(window, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
         ::IsWindowVisible(window) && SendBounded(window, STM_GETICON, 0, 0) != 0;
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
  std::string converted(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0], size, nullptr, nullptr);
  return converted;
}

// Entries of a list or combo box, by the wide messages named.
std::vector<std::string> EntriesOf(HWND control, UINT getCount, UINT getTextLength, UINT getText, LRESULT error) {
  std::vector<std::string> entries;
  if (control == nullptr) {
    ADD_FAILURE() << "no list control to read";
    return entries;
  }
  const LRESULT count = SendBounded(control, getCount, 0, 0, true);
  for (LRESULT index = 0; index < count; ++index) {
    const LRESULT length = SendBounded(control, getTextLength, static_cast<WPARAM>(index), 0, true);
    if (length == error || length < 0) {
      ADD_FAILURE() << "entry " << index << " of a list of " << count << " cannot be read";
      break;
    }
    std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendBounded(control, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&entry[0]), true);
    entry.resize(copied == error || copied < 0 ? 0 : static_cast<size_t>(copied));
    entries.push_back(ToAnsi(entry));
  }
  return entries;
}

}  // namespace

DriverOptions& Options() {
  static DriverOptions options;
  return options;
}

std::string CaseName() {
  const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
  if (info == nullptr) return "outside-a-case";
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& ch : name) {
    if (ch == '/' || ch == '\\' || ch == ':' || ch == '*' || ch == '?' || ch == '<' || ch == '>' || ch == '|') ch = '_';
  }
  return name;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= end) return false;
    ::Sleep(kPollMs);
  }
}

// ---- folders -------------------------------------------------------------

namespace {

// Deletes `folder` (with a trailing backslash) and everything in it, by the
// wide calls: names outside the system's code page go too.
void DeleteTreeWide(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = folder + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTreeWide(child + L"\\");
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

bool DeleteTree(const std::string& path) {
  const std::string folder = WithTrailingBackslash(path);
  const int units = ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
  std::wstring wide(units > 0 ? static_cast<size_t>(units) : 1, L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, &wide[0], units);
  wide.resize(wide.size() - 1);
  DeleteTreeWide(wide);
  return ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES;
}

Folder::Folder(std::string path) : m_path(WithTrailingBackslash(std::move(path))) {
  if (::GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES && !DeleteTree(m_path)) {
    ADD_FAILURE() << "cannot delete the old folder " << m_path;
  }
  // Make every level, so that a folder deep under a fresh root can be made.
  for (size_t slash = m_path.find('\\', 3); slash != std::string::npos; slash = m_path.find('\\', slash + 1)) {
    ::CreateDirectoryA(m_path.substr(0, slash).c_str(), nullptr);
  }
  if (!(::GetFileAttributesA(m_path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
    ADD_FAILURE() << "cannot create the folder " << m_path;
  }
}

bool Folder::WriteFile(const std::string& name, const std::string& bytes) const {
  const std::string path = PathOf(name);
  const HANDLE file =
      ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot create " << path;
    return false;
  }
  DWORD written = 0;
  const BOOL ok = bytes.empty() || ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (!ok || written != bytes.size()) {
    ADD_FAILURE() << "cannot write " << path;
    return false;
  }
  return true;
}

bool Folder::CopyIn(const std::string& source, const std::string& name) const {
  const std::string path = PathOf(name);
  if (!::CopyFileA(source.c_str(), path.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << source << " to " << path << " (error " << ::GetLastError() << ")";
    return false;
  }
  return true;
}

CasePackage::CasePackage() : m_package(kCaseRoot + CaseName()), m_elsewhere(kCaseRoot + CaseName() + ".elsewhere") {
  m_package.CopyIn(Options().program, kProgramName);
}

bool CasePackage::Start(ProgramUnderTest& program) const {
  return program.Start(ProgramPath(), m_elsewhere.Path());
}

// ---- the program ---------------------------------------------------------

ProgramUnderTest::~ProgramUnderTest() {
  Kill();
  if (m_info.hThread != nullptr) ::CloseHandle(m_info.hThread);
  if (m_info.hProcess != nullptr) ::CloseHandle(m_info.hProcess);
}

bool ProgramUnderTest::Start(const std::string& exe, const std::string& workingDir, const std::string& arguments) {
  if (m_info.hProcess != nullptr) {
    ADD_FAILURE() << "one ProgramUnderTest runs one program";
    return false;
  }
  m_exe = exe;
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  if (!::CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &m_info)) {
    ADD_FAILURE() << "cannot start " << exe << " (error " << ::GetLastError() << ")";
    m_info = {};
    return false;
  }
  return true;
}

bool ProgramUnderTest::IsRunning() const {
  return m_info.hProcess != nullptr && ::WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramUnderTest::WaitForExit(DWORD timeoutMs) const {
  if (m_info.hProcess == nullptr) {
    ADD_FAILURE() << "no program was started";
    return std::nullopt;
  }
  if (::WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for " << m_exe
                  << " to end; it still shows: " << DescribeWindows(m_info.dwProcessId);
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(m_info.hProcess, &code);
  return code;
}

bool ProgramUnderTest::Kill() {
  if (!IsRunning()) return false;
  ::TerminateProcess(m_info.hProcess, kKilledExitCode);
  ::WaitForSingleObject(m_info.hProcess, kExitWaitMs);
  return true;
}

// ---- windows -------------------------------------------------------------

std::vector<HWND> TopLevelWindows(DWORD processId) {
  TopLevelSearch search{processId, {}};
  ::EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string DescribeWindows(DWORD processId) {
  std::ostringstream out;
  const std::vector<HWND> windows = TopLevelWindows(processId);
  if (windows.empty()) return "no visible window";
  for (HWND window : windows) {
    out << "[" << ClassOf(window) << " \"" << CaptionOf(window) << "\"";
    for (HWND child : Children(window)) {
      if (::GetDlgCtrlID(child) == kMessageBoxTextId && ClassOf(child) == kStaticClass) {
        out << " text \"" << TextOf(child) << "\"";
      }
    }
    out << "] ";
  }
  return out.str();
}

HWND WaitForWindow(const ProgramUnderTest& program, const std::string& caption, DWORD timeoutMs) {
  HWND found = nullptr;
  bool ended = false;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(program.ProcessId())) {
          if (CaptionOf(window) == caption) {
            found = window;
            return true;
          }
        }
        ended = !program.IsRunning();
        return ended;
      },
      timeoutMs);
  if (found != nullptr) return found;
  if (ended) {
    ADD_FAILURE() << program.Name() << " ended while the driver was waiting for the window \"" << caption << "\"";
  } else {
    ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for the window \"" << caption
                  << "\"; the program shows: " << DescribeWindows(program.ProcessId());
  }
  return nullptr;
}

bool WaitForWindowGone(HWND window, const std::string& what, DWORD timeoutMs) {
  if (WaitUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); }, timeoutMs)) return true;
  ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for " << what << " to close";
  return false;
}

// ---- reading -------------------------------------------------------------

LRESULT SendQuery(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendBounded(window, message, wParam, lParam);
}

std::string TextOf(HWND window) {
  if (window == nullptr) return {};
  const LRESULT length = SendBounded(window, WM_GETTEXTLENGTH, 0, 0);
  // The length in bytes may be an estimate across a conversion; leave room.
  std::string text(static_cast<size_t>(length) * 2 + 1, '\0');
  const LRESULT copied = SendBounded(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return text;
}

std::string ControlText(HWND dialog, int id) {
  const HWND control = ::GetDlgItem(dialog, id);
  if (control == nullptr) {
    ADD_FAILURE() << "the window \"" << CaptionOf(dialog) << "\" has no control " << id;
    return {};
  }
  return TextOf(control);
}

std::vector<std::string> ListEntries(HWND list) {
  return EntriesOf(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_ERR);
}

std::vector<std::string> ComboEntries(HWND combo) {
  return EntriesOf(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ERR);
}

HWND FocusedWindow(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  if (thread == 0 || !::GetGUIThreadInfo(thread, &info)) return nullptr;
  return info.hwndFocus;
}

int FocusedControlId(HWND dialog) {
  const HWND focus = FocusedWindow(dialog);
  if (focus == nullptr || ::GetParent(focus) != dialog) return 0;
  return ::GetDlgCtrlID(focus);
}

// ---- acting --------------------------------------------------------------

void PostClick(HWND dialog, int id) {
  const HWND control = ::GetDlgItem(dialog, id);
  if (control == nullptr) {
    ADD_FAILURE() << "the window \"" << CaptionOf(dialog) << "\" has no control " << id << " to click";
    return;
  }
  ::PostMessageA(control, BM_CLICK, 0, 0);
}

void PostCommand(HWND dialog, int id) {
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void PressEscape(HWND dialog) { ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); }

void PressCloseBox(HWND window) { ::PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PressKey(HWND window, WORD virtualKey) {
  const UINT scanCode = ::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
  const LPARAM down = 1 | (static_cast<LPARAM>(scanCode) << 16);
  const LPARAM up = down | (LPARAM{1} << 30) | (LPARAM{1} << 31);
  ::PostMessageA(window, WM_KEYDOWN, virtualKey, down);
  ::PostMessageA(window, WM_KEYUP, virtualKey, up);
}

void PostChars(HWND window, const std::string& text) {
  for (const char ch : text) ::PostMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

// ---- message boxes -------------------------------------------------------

std::optional<MessageBoxOnScreen> MessageBoxShown(DWORD processId) {
  for (HWND window : TopLevelWindows(processId)) {
    if (ClassOf(window) != kDialogClass) continue;
    const HWND text = ::GetDlgItem(window, kMessageBoxTextId);
    if (text == nullptr || ClassOf(text) != kStaticClass) continue;
    MessageBoxOnScreen box;
    box.window = window;
    box.caption = CaptionOf(window);
    box.text = TextOf(text);
    for (HWND child : Children(window)) {
      if (IsIconStatic(child)) box.hasIcon = true;
      if (ClassOf(child) == kButtonClass && ::IsWindowVisible(child)) box.buttons.push_back(::GetDlgCtrlID(child));
    }
    return box;
  }
  return std::nullopt;
}

std::optional<MessageBoxOnScreen> WaitForMessageBox(const ProgramUnderTest& program, DWORD timeoutMs) {
  std::optional<MessageBoxOnScreen> box;
  bool ended = false;
  WaitUntil(
      [&] {
        box = MessageBoxShown(program.ProcessId());
        ended = !box && !program.IsRunning();
        return box.has_value() || ended;
      },
      timeoutMs);
  if (box) return box;
  if (ended) {
    ADD_FAILURE() << program.Name() << " ended while the driver was waiting for a message box";
  } else {
    ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for a message box; the program shows: "
                  << DescribeWindows(program.ProcessId());
  }
  return std::nullopt;
}

void Answer(const MessageBoxOnScreen& box, int id) { PostClick(box.window, id); }

}  // namespace e2e
