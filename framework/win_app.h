// CWinApp: the application object. Exactly one exists, as a global object of
// a class derived from it; the framework's start-up forms its paths from the
// program's own location and calls InitInstance.
#pragma once

#include "framework/cmd_target.h"
#include "framework/cstring.h"

class CWnd;

// String-table id of the optional application title.
constexpr UINT AFX_IDS_APP_TITLE = 0xE000;
// The help command.
constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;

  // Returns TRUE to run the message loop, FALSE to end at once.
  virtual BOOL InitInstance();
  virtual int ExitInstance();
  virtual int Run();
  // Shows a message box by the program's convention (see AfxMessageBox).
  virtual int DoMessageBox(const char* text, UINT type);

  const MessageMap* GetMessageMap() const override;
  static const MessageMap* ThisMessageMap();
  void OnHelp();

  // Forms the names and paths from the module path (the start-up does this
  // before InitInstance; tests may call it with a path of their own).
  void SetModulePath(const CString& modulePath);

  const char* m_pszAppName = nullptr;
  const char* m_pszExeName = nullptr;
  const char* m_pszHelpFilePath = nullptr;
  const char* m_pszProfileName = nullptr;
  CWnd* m_pMainWnd = nullptr;
  HINSTANCE m_hInstance = nullptr;

 private:
  CString m_appName;
  CString m_exeName;
  CString m_helpFilePath;
  CString m_profileName;
  bool m_nameGiven;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// Lets dialogs host ActiveX controls; neither screen holds one, so this has
// no effect.
void AfxEnableControlContainer();

// Shows `text` in a modal message box: MB_OK or MB_YESNO alone; the
// exclamation-mark icon is added, the caption is the application title, the
// owner the main window's last active pop-up. Returns the button pressed.
int AfxMessageBox(const char* text, UINT type = MB_OK);

// The framework's start-up: forms the paths, runs InitInstance and, when it
// returns TRUE, the message loop. Returns the process's exit code.
int AfxWinMain(HINSTANCE instance);
