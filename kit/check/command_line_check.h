// The check of the unpacker's command line: the program composes it from
// its own folder, the archive's name and the installation folder, and
// refuses a line that does not fit.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Composes the line with the package at a typical place on the end user's
// machine and notes its length in the summary.
void CheckCommandLine(Context& context);

}  // namespace kit::check
