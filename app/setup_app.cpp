#include "app/setup_app.h"

#include "app/program_screens.h"
#include "package/program_folder.h"
#include "platform/win32_disk_queries.h"
#include "platform/win32_log_file.h"
#include "platform/win32_process.h"
#include "unattended/start_up.h"

// The one application object, constructed before the framework's start-up.
CSetupApp theApp;

CSetupApp::CSetupApp() : CWinApp(nullptr) {}

const MessageMap* CSetupApp::GetMessageMap() const {
  static const MessageMapEntry entries[] = {OnCommand<CWinApp>(ID_HELP, &CWinApp::OnHelp)};
  static const MessageMap map = {CWinApp::ThisMessageMap(), entries, 1};
  return &map;
}

BOOL CSetupApp::InitInstance() {
  AfxEnableControlContainer();
  char modulePath[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  ProgramPlace place;
  place.programPath = modulePath;
  place.descriptorPath = DescriptorPath(m_pszHelpFilePath);

  Win32ProgramScreens screens(*this);
  Win32LogFile logFile;
  Win32LocalClock clock;
  Win32DiskQueries disk;
  Win32UnpackerLaunch unpacker;
  m_exitCode = StartUp(::GetCommandLineA(), place, StartUpPorts{screens, logFile, clock, disk, unpacker});
  return FALSE;
}

int CSetupApp::ExitInstance() {
  CWinApp::ExitInstance();
  return m_exitCode;
}
