#include "kit/check/silent_command.h"

#include "res/texts.h"

namespace kit::check {

namespace {

std::string QuotedValue(const std::string& value) {
  // Backslashes before the closing quote would escape it: double them.
  size_t trailing = 0;
  while (trailing < value.size() && value[value.size() - 1 - trailing] == '\\') ++trailing;
  return "\"" + value + std::string(trailing, '\\') + "\"";
}

}  // namespace

std::string SilentCommandLine(const std::string& programFile, const std::string& folder) {
  const bool quoteProgram = programFile.find_first_of(" \t") != std::string::npos;
  return (quoteProgram ? "\"" + programFile + "\"" : programFile) + " /" SWITCH_SILENT " /" SWITCH_FOLDER "=" +
         QuotedValue(folder);
}

}  // namespace kit::check
