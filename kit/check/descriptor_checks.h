// The checks of the descriptor, NAME.ini: its "ZIPFILE:" and "FILESIZE:"
// lines as the program reads them.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Reads the descriptor into the summary and checks the "ZIPFILE:" lines and
// value; sets the context's archiveNamed when the value names a file.
void CheckDescriptor(Context& context);

// Checks the "FILESIZE:" lines and figure, against the archive's unpacked
// size when the archive was read: runs after the archive's checks.
void CheckDescriptorSize(Context& context);

}  // namespace kit::check
