// The values the framework forms from the program's own path before the
// application's InitInstance runs.
#pragma once

#include "framework/cstring.h"

struct AppPaths {
  CString exeName;       // the module's file name without its extension
  CString appTitle;      // the title resource if present, else exeName
  CString helpFilePath;  // the module path from its last '.' on replaced by ".HLP"
};

// `titleResource` is the program's application-title string, empty when its
// string table holds none.
AppPaths FormAppPaths(const CString& modulePath, const CString& titleResource);
