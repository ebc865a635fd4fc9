// Pieces of text the problems share: offending texts quoted, and the
// program's own messages as the end user meets them.
#pragma once

#include <cstddef>
#include <string>

namespace kit::check {

// A text as printed in a problem: in double quotes, control characters
// written out, cut after `limit` characters.
std::string Quoted(const std::string& text, size_t limit = std::string::npos);

// A line of a text file quoted, long lines cut.
std::string QuotedLine(const std::string& line);

// Archive entries that share a fault, counted, with the first of them: one
// problem tells of them all.
struct EntryGroup {
  std::size_t count = 0;
  std::string first;

  void Add(const std::string& name);
  // "the archive's file "a.txt" is", "2 of the archive's files, the first
  // "a.txt", are"
  std::string Described(const char* one, const char* many, const char* isOne, const char* isMany) const;
};

// The program's message for a failed unpacking, its exit code left open.
std::string UnpackingFailedMessage();
// The same with the unpacker's exit code.
std::string UnpackingFailedMessage(unsigned long exitCode);

}  // namespace kit::check
