#include "app/setup_app.h"

#include "licence/licence_dlg.h"

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
  CLicenseDlg licence;
  m_pMainWnd = &licence;
  licence.DoModal();
  // The licence screen's object goes with this scope: leave no pointer to it.
  m_pMainWnd = nullptr;
  return FALSE;
}
