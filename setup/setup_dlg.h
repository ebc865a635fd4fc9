// The setup screen: the archive to install, the installation folder, a
// folder browser (path field, folder list, drive list), the progress label
// and bar, "Install" and "Cancel".
#pragma once

#include <atomic>

#include "framework/afxwin.h"
#include "platform/directory_listing.h"
#include "platform/win32_directory_listing.h"
#include "platform/win32_disk_queries.h"
#include "run/monitor_args.h"
#include "run/run_claim.h"
#include "run/run_gate.h"
#include "setup/browsing.h"
#include "setup/screen_options.h"

class CSetupDlg : public CDialog, private BrowsingScreen {
 public:
  // Reads the package descriptor; when it cannot be opened, tells the user
  // and ends the process with exit code -999. `options`: the folder to
  // propose and the run's log, from the command line.
  explicit CSetupDlg(CWnd* parent = nullptr, const ScreenOptions& options = ScreenOptions());
  ~CSetupDlg() override;

  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // "Install": the install request, then the unpacker's launch.
  void OnOK() override;
  // "Cancel"/"Close", Esc and the close box: close the screen, or offer to
  // kill the running unpacker.
  void OnCancel() override;

  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnDirListDblClk();
  void OnDriveSelChange();
  void OnCurrentPathChange();
  void OnDriveSelEndOk();

  // Tests the free space of the drive with `driveRoot` against the package
  // size; nonzero to go on, 0 to stop the request.
  int CheckDiskSpace(long requiredKB, CString driveRoot);
  // Starts the monitor thread; nonzero when it was created.
  int StartMonitor();
  // Terminates the unpacker and stops the monitor; nonzero when both were
  // stopped.
  int KillUnpacker();
  // A bar position from the monitor, applied unless the run was killed.
  LRESULT OnRunProgress(WPARAM position, LPARAM unused);
  // The monitor's closing message (lParam: its text), shown on the screen's
  // own thread like every other box of the program, so that the screen
  // takes no input while it is up and it stays above the screen; returns
  // when the user has dismissed it.
  LRESULT OnRunMessage(WPARAM unused, LPARAM text);

  char m_szListPath[kListPathSize];
  CString m_strCurrentDir;
  CString m_strZipPath;
  CString m_strUnzipPath;
  HANDLE m_hMonitorThread = nullptr;
  PROCESS_INFORMATION m_procInfo = {};
  long m_lRequiredKB = 0;
  MonitorArgs m_monitorArgs;
  std::atomic<int> m_bRunning{0};
  int m_bLeftDefaultDir = 0;
  CComboBox m_comboDrive;
  CProgressCtrl m_progress;
  CStatic m_stProgressLabel;
  CButton m_btnInstall;
  CButton m_btnCancel;
  CStatic m_stTargetLabel;
  CStatic m_stSourceLabel;
  CStatic m_stBrowseLabel;
  CEdit m_editCurrentPath;
  CString m_strDriveItem;
  CString m_strSourcePath;
  CString m_strTargetDir;
  HICON m_hIcon = nullptr;

 private:
  void Refresh() override;
  void ShowMessage(const char* text) override;
  // Where a request that passed its checks goes on.
  void LaunchUnpacker();
  // Once a run has ended, waits out its monitor's last moments (handling the
  // messages it sends meanwhile) and closes the run's handles.
  void ReleaseEndedRun();
  // A line for the run's log, when there is one.
  void Record(const CString& text);

  // True while a run is in progress, for Install and Cancel.
  bool RunInProgress();

  RunClaim m_runClaim;
  RunGate m_runGate{m_bRunning, m_runClaim};
  ScreenOptions m_options;

  // Lives until the dialog's window and its controls are gone.
  CFont m_font;
  Win32DirectoryListing m_listing;
  Win32DiskQueries m_disk;
  Browsing m_browsing;
};
