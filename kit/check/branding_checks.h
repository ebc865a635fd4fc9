// The checks of the program's face: NAME.exe's resources, its logo, icon
// and version block, read back as Windows will show them; and the lines of
// the report that show them.
#pragma once

#include <iosfwd>

#include "kit/check/context.h"

namespace kit::check {

// Reads NAME.exe's face into the summary, and warns while the logo, the
// icon or the company are the built-in ones. A program that is not there or
// not a PE file is left to the program's checks.
void CheckProgramFace(Context& context);

// The summary's lines of the face: the logo's size, the icon's sizes, the
// versions and the version strings.
void PrintProgramFace(const PackageSummary& summary, std::ostream& out);

}  // namespace kit::check
