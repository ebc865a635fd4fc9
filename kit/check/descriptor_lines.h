// The descriptor's lines as the program reads them, with where each key
// stands: the facts the descriptor's checks judge.
#pragma once

#include <string>
#include <vector>

namespace kit::check {

// The lines of the descriptor that hold one key.
struct KeyLines {
  bool found = false;  // a line holds the key exactly
  std::string value;   // the value of the last such line: the one the program uses
  bool lastNotAtStart = false;
  std::vector<std::string> notAtStart;  // lines where the key stands after other text
  std::vector<std::string> otherCase;   // lines holding the key in other letter case
};

struct DescriptorLines {
  KeyLines archive;
  KeyLines size;
};

// Goes through the descriptor's lines with the program's reader, in the
// program's order (the size key is looked for in what the archive key left
// of the line), noting where each key stands. Empty when it cannot be opened.
DescriptorLines ScanDescriptor(const std::string& path);

}  // namespace kit::check
