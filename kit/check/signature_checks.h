// The checks of the programs' signatures: whether NAME.exe and unzip.exe are
// signed, by whom, with a certificate valid for how long, and whether each
// signature still matches its file. osslsigncode reads the signatures.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Both programs, those that are there and are Windows programs whose
// signature lies wholly in the file (the program checks report the rest).
void CheckSignatures(Context& context);

}  // namespace kit::check
