// The application object: runs the licence screen, which hands over to the
// setup screen, and lets the process end when they have closed.
#pragma once

#include "framework/afxwin.h"

class CSetupApp : public CWinApp {
 public:
  CSetupApp();
  // Always FALSE: the screens run their own modal loops, so the framework's
  // message loop is never needed.
  BOOL InitInstance() override;

  const MessageMap* GetMessageMap() const override;
};
