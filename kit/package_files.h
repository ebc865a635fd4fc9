// The files of a package folder as the program expects them, and the size
// rule of the descriptor's "FILESIZE:" figure.
#pragma once

#include <cstdint>
#include <string>

#include "package/descriptor.h"

namespace kit {

// The package's name when none is given: the program is <name>.exe, its
// descriptor <name>.ini and the archive <name>.zip.
constexpr const char kDefaultPackageName[] = "Install";
constexpr const char kProgramExtension[] = ".exe";
constexpr const char kDescriptorExtension[] = ".ini";
constexpr const char kArchiveExtension[] = ".zip";

// The program starts program folder + "unzip"; Windows adds ".exe" to a
// program name without extension.
const std::string kUnpackerFileName = std::string(kUnpackerName) + kProgramExtension;

constexpr std::uint64_t kBytesPerKilobyte = 1024;
// The cluster size the size figure assumes: the common cluster of NTFS
// volumes up to 16 TB.
constexpr std::uint64_t kClusterBytes = 4 * kBytesPerKilobyte;

// The space one file takes on disk, in bytes: its size rounded up to whole
// clusters. An empty file counts 0: NTFS keeps it in the folder's records,
// without a cluster of its own. Folders count 0 too.
std::uint64_t ClusterRoundedBytes(std::uint64_t fileBytes);

// A total of cluster-rounded bytes in kilobytes, rounded up.
std::uint64_t KilobytesRoundedUp(std::uint64_t bytes);

// Empty when `name` can name the program, its descriptor and its archive on
// Windows; otherwise why it cannot. The name must be ASCII: the program, an
// ANSI program, finds its descriptor by its own name, which a system of
// another code page would spell otherwise. And the program must not be the
// unpacker: unzip.exe, in any letter case.
std::string PackageNameProblem(const std::string& name);

}  // namespace kit
