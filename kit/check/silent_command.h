// The command line that installs the checked package silently into the
// check's typical installation folder, for the publisher to hand to a
// deployment tool: NAME.exe /S /DIR="folder".
#pragma once

#include <string>

namespace kit::check {

// Each part quoted as the program's command line reads it: the program's
// file when it holds a blank, and the folder inside /DIR="..." with any
// backslashes before the closing quote doubled.
std::string SilentCommandLine(const std::string& programFile, const std::string& folder);

}  // namespace kit::check
