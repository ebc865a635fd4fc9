// The checks of the archive's entry names as Windows creates them: each
// name as it is written, names Windows takes for one, names that read
// differently by the end user's code page, and paths longer than Windows
// takes under a typical installation folder.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Looks at the entries CheckArchive has read.
void CheckEntryNames(Context& context);

}  // namespace kit::check
