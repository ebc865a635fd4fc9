#include "kit/package_files.h"

#include <cstring>

namespace kit {

namespace {
constexpr const char kForbiddenCharacters[] = "\\/:*?\"<>|";
constexpr unsigned char kFirstPrintable = 0x20;
}  // namespace

std::uint64_t ClusterRoundedBytes(std::uint64_t fileBytes) {
  const std::uint64_t clusters = fileBytes / kClusterBytes + (fileBytes % kClusterBytes != 0 ? 1 : 0);
  return clusters * kClusterBytes;
}

std::uint64_t KilobytesRoundedUp(std::uint64_t bytes) {
  return bytes / kBytesPerKilobyte + (bytes % kBytesPerKilobyte != 0 ? 1 : 0);
}

bool IsForbiddenInWindowsName(char ch) {
  return static_cast<unsigned char>(ch) < kFirstPrintable || std::strchr(kForbiddenCharacters, ch) != nullptr;
}

std::string PackageNameProblem(const std::string& name) {
  if (name.empty()) return "the name is empty";
  for (char ch : name) {
    if (IsForbiddenInWindowsName(ch)) return "the name holds a character Windows file names cannot hold";
  }
  if (name.front() == ' ' || name.back() == ' ') return "the name starts or ends with a blank";
  if (name.back() == '.') return "the name ends with a dot";
  return std::string();
}

}  // namespace kit
