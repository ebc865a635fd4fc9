#include "setup/setup_dlg.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/format.h"
#include "package/descriptor.h"
#include "package/program_folder.h"
#include "platform/win32_process.h"
#include "run/win32_unpacker_process.h"
#include "res/resource.h"
#include "res/texts.h"
#include "run/command_line.h"
#include "run/kill.h"
#include "run/monitor.h"
#include "run/monitor_wait.h"
#include "setup/install_request.h"
#include "unattended/log_lines.h"
#include "run/run_log.h"

namespace {
constexpr long kScreenFontTenths = 120;
constexpr int kMessageBufferSize = 200;
}  // namespace

CSetupDlg::CSetupDlg(CWnd* parent, const ScreenOptions& options)
    : CDialog(IDD_SETUP_DIALOG, parent),
      m_options(options),
      m_listing(IDC_DIR_LIST, IDC_DRIVE_COMBO, IDC_CURRENT_PATH),
      m_browsing(m_szListPath, m_strCurrentDir, m_bLeftDefaultDir, m_strTargetDir, m_listing, *this,
                 options.proposedFolder) {
  m_szListPath[0] = '\0';
  m_strDriveItem = "";
  m_strSourcePath = "";
  m_strTargetDir = "";
  m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  m_bRunning = 0;
  m_bLeftDefaultDir = 0;

  const CWinApp* app = AfxGetApp();
  PackageDescriptor descriptor;
  const CString descriptorPath = DescriptorPath(app != nullptr ? app->m_pszHelpFilePath : "");
  if (!ReadPackageDescriptor(descriptorPath, descriptor)) {
    Record(LogDescriptorMissing(descriptorPath));
    AfxMessageBox(TEXT_CANNOT_INITIALIZE, MB_OK);
    Record(FormatString(TEXT_LOG_DESCRIPTOR_MISSING_ENDS, EXIT_CODE_FORCED_END));
    std::exit(EXIT_CODE_FORCED_END);
  }
  Record(LogDescriptorRead(descriptorPath, descriptor));
  m_strZipPath = descriptor.zipPath;
  m_strUnzipPath = descriptor.unzipPath;
  m_lRequiredKB = descriptor.requiredKB;
}

CSetupDlg::~CSetupDlg() { ReleaseEndedRun(); }

const MessageMap* CSetupDlg::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage<CSetupDlg>(WM_PAINT, &CSetupDlg::OnPaint),
      OnIconMessage<CSetupDlg>(WM_QUERYDRAGICON, &CSetupDlg::OnQueryDragIcon),
      OnNotify<CSetupDlg>(LBN_DBLCLK, IDC_DIR_LIST, &CSetupDlg::OnDirListDblClk),
      OnNotify<CSetupDlg>(CBN_SELCHANGE, IDC_DRIVE_COMBO, &CSetupDlg::OnDriveSelChange),
      OnNotify<CSetupDlg>(EN_CHANGE, IDC_CURRENT_PATH, &CSetupDlg::OnCurrentPathChange),
      OnNotify<CSetupDlg>(CBN_SELENDOK, IDC_DRIVE_COMBO, &CSetupDlg::OnDriveSelEndOk),
      OnParamMessage<CSetupDlg>(WM_RUN_PROGRESS, &CSetupDlg::OnRunProgress),
      OnParamMessage<CSetupDlg>(WM_RUN_MESSAGE, &CSetupDlg::OnRunMessage),
  };
  static const MessageMap map = {CDialog::ThisMessageMap(), entries, sizeof entries / sizeof entries[0]};
  return &map;
}

void CSetupDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_DRIVE_COMBO, m_comboDrive);
  DDX_Control(dx, IDC_PROGRESS, m_progress);
  DDX_Control(dx, IDC_PROGRESS_LABEL, m_stProgressLabel);
  DDX_Control(dx, IDOK, m_btnInstall);
  DDX_Control(dx, IDCANCEL, m_btnCancel);
  DDX_Control(dx, IDC_TARGET_LABEL, m_stTargetLabel);
  DDX_Control(dx, IDC_SOURCE_LABEL, m_stSourceLabel);
  DDX_Control(dx, IDC_BROWSE_LABEL, m_stBrowseLabel);
  DDX_Control(dx, IDC_CURRENT_PATH, m_editCurrentPath);
  DDX_CBString(dx, IDC_DRIVE_COMBO, m_strDriveItem);
  DDX_Text(dx, IDC_SOURCE_PATH, m_strSourcePath);
  DDX_Text(dx, IDC_TARGET_DIR, m_strTargetDir);
}

BOOL CSetupDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_listing.Attach(m_hWnd);

  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  const LOGFONTA description = PointFontDescription(TEXT_SCREEN_FACE, kScreenFontTenths, FW_BOLD, DEFAULT_CHARSET);
  if (m_font.CreatePointFontIndirect(&description)) {
    SetFontOn(m_font, {IDC_TARGET_LABEL, IDC_SOURCE_LABEL, IDC_BROWSE_LABEL, IDCANCEL, IDOK});
  }

  m_strSourcePath = m_strZipPath;
  m_stProgressLabel.ShowWindow(SW_HIDE);
  m_progress.ShowWindow(SW_HIDE);

  // Browsing starts at the root of drive c: and proposes c:\data (or the
  // folder the command line gives), whatever drives the machine has.
  const CString letter = TEXT_START_DRIVE_LETTER;
  m_strDriveItem = "[-" + letter + "-]";
  const CString root = letter + ":\\";
  std::memcpy(m_szListPath, root.c_str(), static_cast<size_t>(root.GetLength()) + 1);
  m_strCurrentDir = m_options.proposedFolder;
  Record(FormatString(TEXT_LOG_SETUP_PROPOSES, m_strCurrentDir.c_str()));
  m_listing.ListDrives(m_szListPath);
  m_strTargetDir = "";
  UpdateData(FALSE);
  // This listing writes the path field, whose change handler proposes
  // m_strCurrentDir as the installation folder.
  m_listing.ListFolders(m_szListPath);
  return TRUE;
}

void CSetupDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    return;
  }
  PAINTSTRUCT paint;
  const HDC dc = ::BeginPaint(m_hWnd, &paint);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(&client);
  const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, m_hIcon);
  ::EndPaint(m_hWnd, &paint);
}

HCURSOR CSetupDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CSetupDlg::OnDirListDblClk() { m_browsing.OnFolderDoubleClick(); }

void CSetupDlg::OnDriveSelChange() { m_browsing.OnDriveChange(); }

void CSetupDlg::OnCurrentPathChange() { m_browsing.OnPathChange(); }

void CSetupDlg::OnDriveSelEndOk() {
  const int selected = m_comboDrive.GetCurSel();
  if (selected >= 0) m_comboDrive.GetLBText(selected, m_strDriveItem);
}

void CSetupDlg::Refresh() { UpdateData(FALSE); }

void CSetupDlg::ShowMessage(const char* text) { AfxMessageBox(text, MB_OK); }

int CSetupDlg::CheckDiskSpace(long requiredKB, CString driveRoot) {
  char message[kMessageBufferSize];
  std::uint64_t freeKB = 0;
  const SpaceVerdict verdict = DecideSpace(m_disk, driveRoot, requiredKB, &freeKB);
  Record(LogFreeSpace(driveRoot, verdict, freeKB, requiredKB));
  switch (verdict) {
    case SpaceVerdict::kEnough:
      return 1;
    case SpaceVerdict::kUnknown:
      FormatText(message, sizeof message, TEXT_FREE_SPACE_UNKNOWN, SizeInMegabytes(requiredKB));
      AfxMessageBox(message, MB_OK);
      Record(TEXT_LOG_SPACE_NOTICE);
      return 1;
    case SpaceVerdict::kNotEnough: {
      FormatText(message, sizeof message, TEXT_NOT_ENOUGH_SPACE, SizeInMegabytes(requiredKB));
      const bool quit = AfxMessageBox(message, MB_YESNO) == IDYES;
      Record(quit ? TEXT_LOG_SPACE_QUIT_YES : TEXT_LOG_SPACE_QUIT_NO);
      return quit ? 0 : 1;
    }
  }
  return 1;
}

void CSetupDlg::OnOK() {
  // One run at a time.
  if (RunInProgress()) {
    AfxMessageBox(TEXT_ALREADY_RUNNING, MB_OK);
    return;
  }
  // The drive tested is that of the folder last stored, not of text typed
  // into the field since.
  if (!CheckDiskSpace(m_lRequiredKB, DriveRoot(m_strTargetDir))) return;
  if (AfxMessageBox(TEXT_CONFIRM_INSTALL, MB_YESNO) == IDNO) {
    Record(TEXT_LOG_NOT_CONFIRMED);
    return;
  }
  Record(TEXT_LOG_CONFIRMED);
  UpdateData(TRUE);
  m_strTargetDir = NormaliseInstallFolder(m_strTargetDir);
  const FolderVerdict verdict = CheckInstallFolder(m_strTargetDir, m_disk);
  Record(LogFolder(m_strTargetDir, verdict));
  switch (verdict) {
    case FolderVerdict::kInvalid:
      AfxMessageBox(TEXT_INVALID_FOLDER, MB_OK);
      return;
    case FolderVerdict::kParentMissing:
      AfxMessageBox(TEXT_PARENT_MISSING, MB_OK);
      return;
    case FolderVerdict::kAccepted:
      break;
  }
  LaunchUnpacker();
}

void CSetupDlg::LaunchUnpacker() {
  char commandLine[kCommandLineSize];
  if (!ComposeUnpackerCommand(m_strUnzipPath, m_strSourcePath, m_strTargetDir, commandLine)) {
    Record(LogCommandLineTooLong(m_strUnzipPath, m_strSourcePath, m_strTargetDir));
    AfxMessageBox(TEXT_PATHS_TOO_LONG, MB_OK);
    return;
  }
  Record(LogCommandLine(commandLine));
  ReleaseEndedRun();
  // A process that does not start leaves the record empty; the monitor's
  // first wait then reports the error.
  if (StartHiddenProcess(commandLine, m_procInfo)) {
    Record(LogUnpackerStarted());
  } else {
    Record(LogUnpackerNotStarted(::GetLastError()));
  }

  m_stProgressLabel.ShowWindow(SW_SHOW);
  m_stProgressLabel.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  m_progress.ShowWindow(SW_SHOW);
  m_progress.SetRange(0, kProgressFull);
  StartMonitor();
}

int CSetupDlg::StartMonitor() {
  m_monitorArgs.pProcInfo = &m_procInfo;
  m_monitorArgs.pProgress = &m_progress;
  m_monitorArgs.pbRunning = &m_bRunning;
  m_monitorArgs.pBtnCancel = &m_btnCancel;
  m_monitorArgs.pClaim = &m_runClaim;
  m_monitorArgs.pLog = m_options.log;
  // The flag is 1 before the monitor can reach its own clearing step.
  m_runGate.Started();
  DWORD threadId = 0;
  m_hMonitorThread = ::CreateThread(nullptr, 0, &MonitorThreadProc, &m_monitorArgs, 0, &threadId);
  if (m_hMonitorThread == nullptr) {
    // An unpacker already started runs on unwatched: it stays the run in
    // progress, so that no second unpacker starts over it and Cancel can
    // still kill it. One that did not start leaves no run in progress.
    m_runGate.Unwatched(m_procInfo.hProcess != nullptr);
    AfxMessageBox(TEXT_THREAD_FAILED, MB_OK);
    return 0;
  }
  return 1;
}

LRESULT CSetupDlg::OnRunProgress(WPARAM position, LPARAM /*unused*/) {
  if (!m_runClaim.IsKilled()) m_progress.SetPos(static_cast<int>(position));
  return 0;
}

LRESULT CSetupDlg::OnRunMessage(WPARAM /*unused*/, LPARAM text) {
  AfxMessageBox(reinterpret_cast<const char*>(text), MB_OK);
  return 0;
}

bool CSetupDlg::RunInProgress() {
  Win32UnpackerProcess unpacker(m_procInfo.hProcess);
  return m_runGate.InProgress(unpacker);
}

void CSetupDlg::OnCancel() {
  if (!RunInProgress()) {
    CDialog::OnCancel();
    return;
  }
  if (AfxMessageBox(TEXT_KILL_QUESTION, MB_YESNO) != IDYES) {
    Record(TEXT_LOG_KILL_NO);
    return;
  }
  Record(TEXT_LOG_KILL_YES);
  if (KillUnpacker()) AfxMessageBox(TEXT_KILLED, MB_OK);
}

int CSetupDlg::KillUnpacker() {
  Win32UnpackerProcess unpacker(m_procInfo.hProcess);
  switch (KillRun(unpacker, m_runClaim)) {
    case KillOutcome::kKilled:
      m_runGate.Killed();
      Record(TEXT_LOG_KILLED);
      return 1;
    case KillOutcome::kCannotTerminate:
      Record(TEXT_LOG_KILL_FAILED);
      AfxMessageBox(TEXT_CANNOT_TERMINATE, MB_OK);
      return 0;
    case KillOutcome::kAlreadyEnded:
      // The run's own end stands; the monitor reports it.
      Record(TEXT_LOG_KILL_TOO_LATE);
      return 0;
  }
  return 0;
}

namespace {

// The wait for a run's monitor on Windows: the monitor's thread, and the
// messages it sends the screen meanwhile.
class Win32MonitorWait : public MonitorWaitPort {
 public:
  explicit Win32MonitorWait(HANDLE monitor) : m_monitor(monitor) {}
  MonitorWaitStep Wait() override {
    switch (::MsgWaitForMultipleObjects(1, &m_monitor, FALSE, INFINITE, QS_SENDMESSAGE)) {
      case WAIT_OBJECT_0:
        return MonitorWaitStep::kMonitorEnded;
      case WAIT_OBJECT_0 + 1:
        return MonitorWaitStep::kMessagesSent;
      default:
        return MonitorWaitStep::kFailed;
    }
  }
  void HandleSentMessages() override {
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }

 private:
  HANDLE m_monitor;
};

}  // namespace

void CSetupDlg::ReleaseEndedRun() {
  if (m_hMonitorThread != nullptr) {
    // The monitor is past its last message or stopping after a kill; it may
    // still be sending the screen a bar position.
    Win32MonitorWait wait(m_hMonitorThread);
    if (!WaitForMonitorEnd(wait)) {
      // Whether the monitor still reads the record is unknown: leave its
      // handles open rather than close them under it, and forget them.
      m_hMonitorThread = nullptr;
      m_procInfo = PROCESS_INFORMATION{};
      return;
    }
    ::CloseHandle(m_hMonitorThread);
    m_hMonitorThread = nullptr;
  }
  ReleaseProcess(m_procInfo);
}

void CSetupDlg::Record(const CString& text) {
  if (m_options.log != nullptr) m_options.log->Line(text);
}
