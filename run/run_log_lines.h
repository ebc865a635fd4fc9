// The texts of the log's lines for the run's own steps, written by the
// screen's monitor and by the silent run alike, so that both write the same
// line for the same step.
#pragma once

#include "framework/cstring.h"

// "unpacker ended with exit code 9", the code as ExitCodeText writes it.
CString LogUnpackerEnded(unsigned long exitCode);
