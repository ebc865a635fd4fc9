#include "tests/e2e/tree_compare.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

// Every file and folder under `root` + `relative`, as paths relative to
// `root`; folders end with a backslash.
void ListTree(const std::string& root, const std::string& relative, std::vector<std::string>& entries) {
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((root + relative + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries.push_back(relative + name + "\\");
      ListTree(root, relative + name + "\\", entries);
    } else {
      entries.push_back(relative + name);
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

}  // namespace

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> TreeOf(std::string root) {
  if (root.empty() || root.back() != '\\') root += '\\';
  std::vector<std::string> entries;
  ListTree(root, "", entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::vector<std::string> TreeDifferences(const std::string& source, const std::string& copy) {
  const std::vector<std::string> wanted = TreeOf(source);
  const std::vector<std::string> found = TreeOf(copy);
  std::vector<std::string> differences;
  for (const std::string& entry : wanted) {
    if (!std::binary_search(found.begin(), found.end(), entry)) {
      differences.push_back("missing: " + entry);
    } else if (entry.back() != '\\' && ReadBytes(source + "\\" + entry) != ReadBytes(copy + "\\" + entry)) {
      differences.push_back("differs: " + entry);
    }
  }
  for (const std::string& entry : found) {
    if (!std::binary_search(wanted.begin(), wanted.end(), entry)) differences.push_back("extra: " + entry);
  }
  return differences;
}

}  // namespace e2e
