// The checks of how the unpacker writes each of the archive's entries: its
// compression method, a symbolic link, the attributes Windows gives the file.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Looks at the entries CheckArchive has read.
void CheckEntryContents(Context& context);

}  // namespace kit::check
