// Folder trees compared byte for byte: what an installation unpacked against
// the data it was made from.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The whole file at `path` (empty when it cannot be read).
std::string ReadBytes(const std::string& path);

// Every file and folder under `root`, as paths relative to it, sorted;
// folders end with a backslash.
std::vector<std::string> TreeOf(std::string root);

// Whether the files at `a` and `b` hold the same bytes: read side by side a
// chunk at a time, so that files of any size compare in a 32-bit process.
// False when either cannot be read.
bool SameBytes(const std::string& a, const std::string& b);

// What tells the tree at `copy` from the tree at `source`: entries missing
// or extra, and files whose bytes differ. Empty when they are equal.
std::vector<std::string> TreeDifferences(const std::string& source, const std::string& copy);

}  // namespace e2e
