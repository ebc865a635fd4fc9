// The checks of the two programs of the package: NAME.exe, which the end
// user starts, and unzip.exe, which it starts to unpack the archive.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// NAME.exe.
void CheckProgram(Context& context);

// unzip.exe.
void CheckUnpacker(Context& context);

}  // namespace kit::check
