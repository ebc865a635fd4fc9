#include "tests/e2e/unpacking_steps.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>

#include "res/resource.h"
#include "res/texts.h"

namespace e2e::unpacking {

namespace {

constexpr char kDescriptorExtension[] = ".ini";
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kDialogClass[] = "#32770";

std::string ClassOf(HWND window) {
  char name[256] = {};
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

}  // namespace

std::string DescriptorName() { return std::string(CasePackage::kProgramTitle) + kDescriptorExtension; }

std::string DescriptorText(const std::string& archive, long sizeKB) {
  return "ZIPFILE:" + archive + "\r\nFILESIZE:" + std::to_string(sizeKB) + "\r\n";
}

HWND AgreeToLicence(const ProgramUnderTest& program, HWND licenceScreen) {
  PostClick(licenceScreen, IDOK);
  return WaitForWindow(program, TEXT_SETUP_CAPTION);
}

HWND OpenSetupScreen(const ProgramUnderTest& program) {
  const HWND licence = WaitForWindow(program, TEXT_LICENCE_CAPTION);
  return licence == nullptr ? nullptr : AgreeToLicence(program, licence);
}

bool SetControlText(HWND dialog, int id, const std::string& text) {
  const HWND control = ::GetDlgItem(dialog, id);
  if (control == nullptr) {
    ADD_FAILURE() << "the setup screen has no control " << id;
    return false;
  }
  DWORD_PTR result = 0;
  // WM_SETTEXT carries its string across processes.
  if (::SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                            SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &result) == 0 ||
      TextOf(control) != text) {
    ADD_FAILURE() << "control " << id << " did not take the text \"" << text << "\"; it holds \"" << TextOf(control)
                  << "\"";
    return false;
  }
  return true;
}

bool PressInstallAndConfirm(const ProgramUnderTest& program, HWND setupScreen) {
  PostClick(setupScreen, IDOK);
  const std::optional<MessageBoxOnScreen> question = ExpectMessageBox(program, TEXT_CONFIRM_INSTALL, {IDYES, IDNO});
  return question && AnswerAndWait(*question, IDYES);
}

bool RequestInstall(const ProgramUnderTest& program, HWND setupScreen, const std::string& folder) {
  return SetControlText(setupScreen, IDC_TARGET_DIR, folder) && PressInstallAndConfirm(program, setupScreen);
}

int ProgressPosition(HWND setupScreen) {
  return static_cast<int>(SendQuery(::GetDlgItem(setupScreen, IDC_PROGRESS), PBM_GETPOS));
}

bool ControlVisible(HWND dialog, int id) {
  const HWND control = ::GetDlgItem(dialog, id);
  return control != nullptr && ::IsWindowVisible(control);
}

std::optional<MessageBoxOnScreen> ExpectMessageBox(const ProgramUnderTest& program, const std::string& text,
                                                   const std::vector<int>& buttons) {
  std::optional<MessageBoxOnScreen> box = WaitForMessageBox(program);
  if (!box) {
    ADD_FAILURE() << "no message box \"" << text << "\"";
    return std::nullopt;
  }
  if (box->text != text) {
    ADD_FAILURE() << "the message box \"" << box->text << "\" came instead of \"" << text << "\"";
    return std::nullopt;
  }
  EXPECT_EQ(box->caption, CasePackage::kProgramTitle) << "caption of \"" << text << "\"";
  EXPECT_TRUE(box->hasIcon) << "no icon in \"" << text << "\"";
  EXPECT_EQ(box->buttons, buttons) << "buttons of \"" << text << "\"";
  return box;
}

bool AnswerAndWait(const MessageBoxOnScreen& box, int id) {
  Answer(box, id);
  // Gone from the screen is not enough: the code after the box runs once it
  // has been destroyed, which under Wine without a window manager is about
  // 2 s later.
  if (WaitUntil([&] { return !::IsWindow(box.window); }, kWindowWaitMs)) return true;
  ADD_FAILURE() << "timed out after " << kWindowWaitMs << " ms waiting for the message box \"" << box.text
                << "\" to close";
  return false;
}

bool ExpectNotice(const ProgramUnderTest& program, const std::string& text) {
  const std::optional<MessageBoxOnScreen> box = ExpectMessageBox(program, text, {IDOK});
  return box && AnswerAndWait(*box, IDOK);
}

std::optional<MessageBoxOnScreen> MessageBoxWithText(DWORD processId, const std::string& text) {
  for (HWND window : TopLevelWindows(processId)) {
    if (ClassOf(window) != kDialogClass) continue;
    const HWND textControl = ::GetDlgItem(window, kMessageBoxTextId);
    if (textControl == nullptr || TextOf(textControl) != text) continue;
    MessageBoxOnScreen box;
    box.window = window;
    box.text = text;
    return box;
  }
  return std::nullopt;
}

// ---- the program's threads and its unpackers ----------------------------------

namespace {

std::vector<DWORD> ThreadsOf(DWORD processId) {
  std::vector<DWORD> threads;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot list the threads (error " << ::GetLastError() << ")";
    return threads;
  }
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) threads.push_back(entry.th32ThreadID);
  }
  ::CloseHandle(snapshot);
  return threads;
}

}  // namespace

RunWatch::RunWatch(DWORD processId) : m_processId(processId), m_before(ThreadsOf(processId)) {}

bool RunWatch::WaitForRunEnd() const {
  if (m_processId == 0) return true;
  const auto onlyOldThreads = [&] {
    for (const DWORD thread : ThreadsOf(m_processId)) {
      if (std::find(m_before.begin(), m_before.end(), thread) == m_before.end()) return false;
    }
    return true;
  };
  if (WaitUntil(onlyOldThreads, kWindowWaitMs)) return true;
  ADD_FAILURE() << "timed out after " << kWindowWaitMs << " ms waiting for the run's monitor thread to end";
  return false;
}

std::vector<DWORD> RunningUnpackers(DWORD programId) {
  std::vector<DWORD> found;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot list the processes (error " << ::GetLastError() << ")";
    return found;
  }
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
    if (entry.th32ParentProcessID == programId && ::lstrcmpiA(entry.szExeFile, kUnpackerFile) == 0) {
      found.push_back(entry.th32ProcessID);
    }
  }
  ::CloseHandle(snapshot);
  return found;
}

void EndUnpackers(DWORD programId) {
  if (programId == 0) return;
  for (const DWORD id : RunningUnpackers(programId)) {
    const HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    if (process == nullptr) continue;
    ::TerminateProcess(process, ProgramUnderTest::kKilledExitCode);
    ::WaitForSingleObject(process, kExitWaitMs);
    ::CloseHandle(process);
  }
}

Unpacker::~Unpacker() {
  if (m_process == nullptr) return;
  if (IsRunning()) End(ProgramUnderTest::kKilledExitCode);
  ::CloseHandle(m_process);
}

bool Unpacker::Find(const ProgramUnderTest& program, DWORD other) {
  if (m_process != nullptr) {
    ADD_FAILURE() << "one Unpacker watches one process";
    return false;
  }
  WaitUntil(
      [&] {
        for (const DWORD id : RunningUnpackers(program.ProcessId())) {
          if (id == other) continue;
          m_process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
          if (m_process != nullptr) {
            m_id = id;
            return true;
          }
        }
        return false;
      },
      kWindowWaitMs);
  if (m_process == nullptr) {
    ADD_FAILURE() << "timed out after " << kWindowWaitMs << " ms waiting for " << program.Name()
                  << " to start an unpacker";
    return false;
  }
  return true;
}

bool Unpacker::IsRunning() const { return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT; }

void Unpacker::End(UINT exitCode) {
  if (m_process == nullptr) return;
  ::TerminateProcess(m_process, exitCode);
  ::WaitForSingleObject(m_process, kExitWaitMs);
}

std::optional<DWORD> Unpacker::ExitCode(DWORD timeoutMs) const {
  if (m_process == nullptr) {
    ADD_FAILURE() << "no unpacker was found";
    return std::nullopt;
  }
  if (::WaitForSingleObject(m_process, timeoutMs) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "timed out after " << timeoutMs << " ms waiting for the unpacker " << m_id << " to end";
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(m_process, &code);
  return code;
}

}  // namespace e2e::unpacking
