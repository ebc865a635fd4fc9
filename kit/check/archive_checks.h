// The checks of the archive the descriptor names: read through to its end,
// its entries' names and unpacked size.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Reads the archive when the descriptor names one, and notes its files and
// unpacked size in the summary.
void CheckArchive(Context& context);

}  // namespace kit::check
