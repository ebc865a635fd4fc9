// Pieces of text the problems share: offending texts quoted, and the
// program's own messages as the end user meets them.
#pragma once

#include <string>

namespace kit::check {

// A text as printed in a problem: in double quotes, control characters
// written out, cut after `limit` characters.
std::string Quoted(const std::string& text, size_t limit = std::string::npos);

// A line of a text file quoted, long lines cut.
std::string QuotedLine(const std::string& line);

// The program's message for a failed unpacking, its exit code left open.
std::string UnpackingFailedMessage();

}  // namespace kit::check
