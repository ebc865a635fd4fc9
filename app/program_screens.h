// The program's windows as its start-up reaches them: the message boxes and
// the two screens, run one after the other.
#pragma once

#include "framework/afxwin.h"
#include "unattended/start_up.h"

class Win32ProgramScreens : public ProgramScreens {
 public:
  explicit Win32ProgramScreens(CWinApp& app) : m_app(app) {}

  void ShowMessage(const char* text) override;
  // The licence screen is the main window while it runs; it hands over to
  // the setup screen.
  int RunScreens(const CString& proposedFolder, RunLog& log) override;

 private:
  CWinApp& m_app;
};
