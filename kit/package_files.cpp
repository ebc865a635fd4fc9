#include "kit/package_files.h"

#include "kit/utf8_text.h"
#include "kit/windows_names.h"

namespace kit {

namespace {
constexpr char kBlank = ' ';
constexpr char kDot = '.';
}  // namespace

std::uint64_t ClusterRoundedBytes(std::uint64_t fileBytes) {
  const std::uint64_t clusters = fileBytes / kClusterBytes + (fileBytes % kClusterBytes != 0 ? 1 : 0);
  return clusters * kClusterBytes;
}

std::uint64_t KilobytesRoundedUp(std::uint64_t bytes) {
  return bytes / kBytesPerKilobyte + (bytes % kBytesPerKilobyte != 0 ? 1 : 0);
}

std::string PackageNameProblem(const std::string& name) {
  if (name.empty()) return "the name is empty";
  if (!IsAscii(name)) {
    return "the name holds a character beyond ASCII: the program finds its descriptor by its own name, which "
           "Windows spells in the system's code page, so on a system of another code page it finds none";
  }
  const std::string programName = name + kProgramExtension;
  switch (PartFault(programName, true)) {
    case NameFault::kForbiddenCharacter:
      return "the name holds a character Windows file names cannot hold";
    case NameFault::kReservedDevice:
      return "Windows takes " + programName + " for a device, not a file";
    default:
      break;
  }
  if (name.front() == kBlank || name.back() == kBlank) return "the name starts or ends with a blank";
  if (name.back() == kDot) return "the name ends with a dot";
  if (CaseFolded(programName) == CaseFolded(kUnpackerFileName)) {
    return "the program would be " + programName + ", the unpacker's file: the one copied last replaces the other";
  }
  return std::string();
}

}  // namespace kit
