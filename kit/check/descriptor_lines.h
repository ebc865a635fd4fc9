// The descriptor's lines as the program reads them, with where each key
// stands: the facts the descriptor's checks judge.
#pragma once

#include <string>
#include <vector>

namespace kit::check {

// A line of the descriptor that holds a key exactly.
struct KeyLine {
  std::string text;  // the whole line
  bool atStart = true;
  // Nothing but a UTF-8 byte-order mark before the key, which editors do
  // not show: the file was saved as "UTF-8 with BOM".
  bool afterByteOrderMark = false;
};

// The lines of the descriptor that hold one key.
struct KeyLines {
  bool found = false;                  // a line holds the key exactly
  std::string value;                   // the value of the last such line: the one the program uses
  std::vector<KeyLine> lines;          // every such line, in order: each replaces the value of those before
  std::vector<std::string> otherCase;  // lines holding the key in other letter case

  const KeyLine& Used() const { return lines.back(); }
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
