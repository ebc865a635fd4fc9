// A silent installation (/S): the checks of the setup screen's install
// request, in the same order and with the same readers and rules, then the
// same unpacker with the same command line, started hidden and waited for.
// Where the screens would ask, it decides: not enough free space stops the
// run; free space that cannot be read lets it go on; there is no
// confirmation to give. The result is one of the exit codes of
// exit_codes.h, and every step is a line of the log.
#pragma once

#include "framework/cstring.h"
#include "platform/disk_space.h"
#include "unattended/run_log.h"

// Starting and watching the unpacker.
class UnpackerLaunch {
 public:
  virtual ~UnpackerLaunch() = default;
  // Starts the command line as the setup screen starts it: hidden, in a new
  // console. False, with the system's error code, when it does not start.
  virtual bool Start(char* commandLine, unsigned long& systemError) = 0;
  // Waits for the started unpacker's end and reads its exit code. False,
  // with the system's error code, when it cannot be waited for or read.
  virtual bool WaitForEnd(unsigned long& exitCode, unsigned long& systemError) = 0;
};

struct SilentRequest {
  CString descriptorPath;  // the package descriptor beside the program
  CString folder;          // the installation folder as given, not yet normalised
};

// Runs the installation; returns its exit code.
int RunSilentInstall(const SilentRequest& request, DiskQueries& disk, UnpackerLaunch& unpacker, RunLog& log);
