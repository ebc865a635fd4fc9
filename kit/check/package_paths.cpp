#include "kit/check/package_paths.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace kit::check {

namespace {

namespace fs = std::filesystem;

constexpr const char kParentSegment[] = "..";
constexpr const char kTypicalInstallParent[] = "C:\\Program Files\\";
constexpr const char kTypicalInstallSuffix[] = " Data";

bool StartsWithDriveLetter(const std::string& text) {
  return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) != 0 && text[1] == ':';
}

}  // namespace

bool IsFile(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

bool IsSeparator(char ch) { return ch == kWindowsSeparator || ch == kHostSeparator; }

bool IsAbsolute(const std::string& path) {
  return StartsWithDriveLetter(path) || (!path.empty() && IsSeparator(path[0]));
}

std::string HostPath(const std::string& packageDir, const std::string& value) {
  std::string path = packageDir + kHostSeparator + value;
  for (char& ch : path) {
    if (ch == kWindowsSeparator) ch = kHostSeparator;
  }
  return path;
}

std::string PackageFolderName(const std::string& packageDir) {
  std::error_code ignored;
  fs::path path = fs::absolute(packageDir, ignored).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  return path.filename().string();
}

bool LandsOutsideFolder(const std::string& entryName) {
  if (IsAbsolute(entryName)) return true;
  size_t start = 0;
  while (start <= entryName.size()) {
    size_t end = start;
    while (end < entryName.size() && !IsSeparator(entryName[end])) ++end;
    if (entryName.compare(start, end - start, kParentSegment) == 0) return true;
    start = end + 1;
  }
  return false;
}

std::string TypicalInstallFolder(const std::string& name) {
  return kTypicalInstallParent + name + kTypicalInstallSuffix;
}

}  // namespace kit::check
