#include "framework/win_app.h"

#include <windows.h>

#include <commctrl.h>

#include "framework/app_paths.h"
#include "framework/ui_rules.h"
#include "framework/wnd.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp(const char* appName) : m_appName(appName), m_nameGiven(appName != nullptr) {
  g_app = this;
  if (m_nameGiven) m_pszAppName = m_appName;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

void CWinApp::SetModulePath(const CString& modulePath) {
  CString titleResource;
  titleResource.LoadString(AFX_IDS_APP_TITLE);
  const AppPaths paths = FormAppPaths(modulePath, titleResource);
  m_exeName = paths.exeName;
  m_helpFilePath = paths.helpFilePath;
  m_profileName = paths.exeName + ".INI";
  if (!m_nameGiven) m_appName = paths.appTitle;
  m_pszAppName = m_appName;
  m_pszExeName = m_exeName;
  m_pszHelpFilePath = m_helpFilePath;
  m_pszProfileName = m_profileName;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

int CWinApp::Run() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return ExitInstance();
}

int CWinApp::DoMessageBox(const char* text, UINT type) {
  HWND owner = nullptr;
  // Every box of the program is shown on the screens' thread, owned by the
  // main window's last active pop-up: the screen (or the box) it comes over,
  // which takes no input while it is up.
  if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr) owner = ::GetLastActivePopup(m_pMainWnd->m_hWnd);
  // The top-level window above the owner is disabled while the box is open.
  HWND top = owner != nullptr ? ::GetAncestor(owner, GA_ROOTOWNER) : nullptr;
  const bool disableTop = top != nullptr && top != owner && ::IsWindowEnabled(top);
  if (disableTop) ::EnableWindow(top, FALSE);
  const int result = ::MessageBoxA(owner, text, m_pszAppName, MessageBoxStyleWithIcon(type));
  if (disableTop) ::EnableWindow(top, TRUE);
  return result;
}

const MessageMap* CWinApp::ThisMessageMap() {
  static const MessageMapEntry entries[] = {OnCommand<CWinApp>(ID_HELP, &CWinApp::OnHelp)};
  static const MessageMap map = {CCmdTarget::ThisMessageMap(), entries, 1};
  return &map;
}

const MessageMap* CWinApp::GetMessageMap() const { return ThisMessageMap(); }

// No help file ships with a package: the help command shows nothing.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app != nullptr ? g_app->m_pMainWnd : nullptr; }

void AfxEnableControlContainer() {}

int AfxMessageBox(const char* text, UINT type) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return ::MessageBoxA(nullptr, text, nullptr, MessageBoxStyleWithIcon(type));
  return app->DoMessageBox(text, type);
}

int AfxWinMain(HINSTANCE instance) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  app->m_hInstance = instance;

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);

  char modulePath[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
  app->SetModulePath(modulePath);

  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
