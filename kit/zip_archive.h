// Writing and reading package archives, through libzip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit {

// One entry to write: a folder when its name ends with '/', otherwise a file
// whose bytes are read from `sourcePath` and stored deflated.
struct ArchiveInput {
  std::string name;  // '/'-separated, relative to the installation folder
  std::string sourcePath;
};

// Writes the entries in the order given into a new archive at `path`,
// replacing any file there. False, with `error` set, when libzip fails; no
// archive is left behind then.
bool WriteArchive(const std::string& path, const std::vector<ArchiveInput>& entries, std::string& error);

struct ArchiveEntry {
  std::string name;        // as stored
  std::uint64_t size = 0;  // unpacked bytes
  bool isFolder = false;
};

// Lists the archive's entries in their stored order, after reading every
// file entry through to its end so that damaged data (a bad checksum, a cut
// file) shows. False, with `error` set, when libzip cannot open or read it.
bool ReadArchive(const std::string& path, std::vector<ArchiveEntry>& entries, std::string& error);

}  // namespace kit
