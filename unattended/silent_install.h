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
#include "platform/unpacker_launch.h"
#include "run/run_log.h"

struct SilentRequest {
  CString descriptorPath;  // the package descriptor beside the program
  CString folder;          // the installation folder as given, not yet normalised
};

// Runs the installation; returns its exit code.
int RunSilentInstall(const SilentRequest& request, DiskQueries& disk, UnpackerLaunch& unpacker, RunLog& log);
