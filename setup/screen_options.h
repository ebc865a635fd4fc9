// What the command line gives the screens: the folder the setup screen
// proposes (c:\data unless /DIR= names another) and the run's log (/LOG=).
#pragma once

#include "framework/cstring.h"
#include "setup/browsing.h"

class RunLog;

struct ScreenOptions {
  CString proposedFolder = ProposedFolder();
  RunLog* log = nullptr;  // none: nothing is logged
};
