// The checks of the licence screen's texts: the welcome lines of
// display.txt and the licence of shrinkli.txt, as the program shows them.
#pragma once

#include "kit/check/context.h"

namespace kit::check {

// Reads both texts with the program's readers into the summary and checks
// them.
void CheckScreenTexts(Context& context);

}  // namespace kit::check
