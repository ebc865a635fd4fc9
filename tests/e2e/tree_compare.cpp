#include "tests/e2e/tree_compare.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace e2e {

namespace {

constexpr DWORD kCompareChunkBytes = 1 << 20;

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

// Reads up to `size` bytes, as many as the file still holds; false on a
// failed read.
bool ReadChunk(HANDLE file, char* buffer, DWORD size, DWORD& got) {
  got = 0;
  while (got < size) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer + got, size - got, &read, nullptr)) return false;
    if (read == 0) break;
    got += read;
  }
  return true;
}

class OpenFile {
 public:
  explicit OpenFile(const std::string& path)
      : m_handle(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {}
  ~OpenFile() {
    if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  HANDLE Handle() const { return m_handle; }
  bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

 private:
  HANDLE m_handle;
};

}  // namespace

bool SameBytes(const std::string& a, const std::string& b) {
  const OpenFile first(a);
  const OpenFile second(b);
  if (!first.IsOpen() || !second.IsOpen()) return false;
  // Made once: the driver compares on one thread, and a tree of many small
  // files would otherwise pay for clearing two chunks per file.
  static std::vector<char> bufferA(kCompareChunkBytes);
  static std::vector<char> bufferB(kCompareChunkBytes);
  for (;;) {
    DWORD gotA = 0;
    DWORD gotB = 0;
    if (!ReadChunk(first.Handle(), bufferA.data(), kCompareChunkBytes, gotA) ||
        !ReadChunk(second.Handle(), bufferB.data(), kCompareChunkBytes, gotB) || gotA != gotB) {
      return false;
    }
    if (gotA == 0) return true;
    if (std::memcmp(bufferA.data(), bufferB.data(), gotA) != 0) return false;
  }
}

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
    } else if (entry.back() != '\\' && !SameBytes(source + "\\" + entry, copy + "\\" + entry)) {
      differences.push_back("differs: " + entry);
    }
  }
  for (const std::string& entry : found) {
    if (!std::binary_search(wanted.begin(), wanted.end(), entry)) differences.push_back("extra: " + entry);
  }
  return differences;
}

}  // namespace e2e
