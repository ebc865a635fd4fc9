// The application object: reads the command line, then runs the licence
// screen, which hands over to the setup screen, or installs silently; the
// process ends when they are done.
#pragma once

#include "framework/afxwin.h"

class CSetupApp : public CWinApp {
 public:
  CSetupApp();
  // Always FALSE: the screens run their own modal loops, so the framework's
  // message loop is never needed.
  BOOL InitInstance() override;
  // The exit code the run decided on (0 for the screens' ordinary end).
  int ExitInstance() override;

  const MessageMap* GetMessageMap() const override;

 private:
  int m_exitCode = 0;
};
