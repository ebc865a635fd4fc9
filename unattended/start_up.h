// How the program starts, from its command line: the screens (no
// arguments, or /DIR= and /LOG= alone), a silent installation (/S), the
// usage (/?), or a command line that is not understood. Free of window
// code: the screens and the boxes are reached through ProgramScreens.
#pragma once

#include "framework/cstring.h"
#include "platform/disk_space.h"
#include "run/run_log.h"
#include "unattended/silent_install.h"

// What start-up needs of the program's windows.
class ProgramScreens {
 public:
  virtual ~ProgramScreens() = default;
  // A message box with an OK button.
  virtual void ShowMessage(const char* text) = 0;
  // The licence screen, then the setup screen proposing `proposedFolder`;
  // the exit code of their ordinary end.
  virtual int RunScreens(const CString& proposedFolder, RunLog& log) = 0;
};

struct StartUpPorts {
  ProgramScreens& screens;
  LogFile& logFile;
  Clock& clock;
  DiskQueries& disk;
  UnpackerLaunch& unpacker;
};

struct ProgramPlace {
  CString programPath;     // the program's own file, as the system names it
  CString descriptorPath;  // the package descriptor beside it
};

// Runs the program as its command line asks; returns the process's exit
// code.
int StartUp(const char* commandLine, const ProgramPlace& place, const StartUpPorts& ports);
