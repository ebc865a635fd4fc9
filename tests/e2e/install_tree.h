// An installed folder tree as the end user's file manager sees it: every
// name read with the wide calls and given in UTF-8, so that a name outside
// the system's code page shows as it is, and the comparison of a tree with
// the data it was made from, byte for byte.
#pragma once

#include <string>
#include <vector>

namespace e2e {

// The whole file at `path` (empty when it cannot be read).
std::string ReadBytes(const std::string& path);

// `wide` in UTF-8.
std::string Utf8From(const std::wstring& wide);

// Every file and folder under `root` (a path in the ANSI code page), as
// paths relative to it in UTF-8, sorted; folders end with a backslash.
std::vector<std::string> TreeOf(const std::string& root);

// What tells the tree at `copy` from the tree at `source`: entries missing
// or extra, and files whose bytes differ. Empty when they are equal.
std::vector<std::string> TreeDifferences(const std::string& source, const std::string& copy);

}  // namespace e2e
