#include "tests/e2e/install_tree.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

constexpr wchar_t kSeparator = L'\\';
// Files are compared side by side a chunk at a time, so that files of any
// size compare in a 32-bit process.
constexpr size_t kCompareChunkBytes = 1 << 20;

std::wstring WideFrom(UINT codePage, const std::string& text) {
  const int units = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  std::wstring wide(units > 0 ? static_cast<size_t>(units) : 1, L'\0');
  ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], units);
  wide.resize(wide.size() - 1);
  return wide;
}

std::wstring WideRoot(const std::string& root) {
  std::wstring wide = WideFrom(CP_ACP, root);
  if (wide.empty() || wide.back() != kSeparator) wide += kSeparator;
  return wide;
}

void ListTree(const std::wstring& root, const std::wstring& relative, std::vector<std::string>& entries) {
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((root + relative + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      entries.push_back(Utf8From(relative + name + kSeparator));
      ListTree(root, relative + name + kSeparator, entries);
    } else {
      entries.push_back(Utf8From(relative + name));
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

std::FILE* OpenRelative(const std::string& root, const std::string& relative) {
  return ::_wfopen((WideRoot(root) + WideFrom(CP_UTF8, relative)).c_str(), L"rb");
}

// Whether the file `relative` holds the same bytes under both roots; false
// when either cannot be read.
bool SameBytes(const std::string& rootA, const std::string& rootB, const std::string& relative) {
  std::FILE* a = OpenRelative(rootA, relative);
  std::FILE* b = OpenRelative(rootB, relative);
  bool same = a != nullptr && b != nullptr;
  // Made once: the driver compares on one thread, and a tree of many small
  // files would otherwise pay for clearing two chunks per file.
  static std::vector<char> chunkA(kCompareChunkBytes);
  static std::vector<char> chunkB(kCompareChunkBytes);
  while (same) {
    const size_t gotA = std::fread(chunkA.data(), 1, chunkA.size(), a);
    const size_t gotB = std::fread(chunkB.data(), 1, chunkB.size(), b);
    same = gotA == gotB && std::memcmp(chunkA.data(), chunkB.data(), gotA) == 0 && !std::ferror(a) && !std::ferror(b);
    if (gotA == 0) break;
  }
  if (a != nullptr) std::fclose(a);
  if (b != nullptr) std::fclose(b);
  return same;
}

}  // namespace

std::string Utf8From(const std::wstring& wide) {
  const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(bytes > 0 ? static_cast<size_t>(bytes) : 1, '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
  utf8.resize(utf8.size() - 1);
  return utf8;
}

std::vector<std::string> TreeOf(const std::string& root) {
  std::vector<std::string> entries;
  ListTree(WideRoot(root), L"", entries);
  std::sort(entries.begin(), entries.end());
  return entries;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> TreeDifferences(const std::string& source, const std::string& copy) {
  const std::vector<std::string> wanted = TreeOf(source);
  const std::vector<std::string> found = TreeOf(copy);
  std::vector<std::string> differences;
  for (const std::string& entry : wanted) {
    if (!std::binary_search(found.begin(), found.end(), entry)) {
      differences.push_back("missing: " + entry);
    } else if (entry.back() != '\\' && !SameBytes(source, copy, entry)) {
      differences.push_back("differs: " + entry);
    }
  }
  for (const std::string& entry : found) {
    if (!std::binary_search(wanted.begin(), wanted.end(), entry)) differences.push_back("extra: " + entry);
  }
  return differences;
}

}  // namespace e2e
