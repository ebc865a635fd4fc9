#include "kit/check/package_paths.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace kit::check {

namespace {

namespace fs = std::filesystem;

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

}  // namespace kit::check
