// Writing and reading package archives, through libzip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit {

// One entry to write: a folder when its name ends with '/', otherwise a file
// whose bytes are read from `sourcePath` and stored deflated. A name beyond
// ASCII is marked UTF-8 (general purpose bit 11). Every entry gets the same
// plain attributes, none taken from the data folder: a file rw-r--r--, a
// folder rwxr-xr-x, no read-only, hidden or system mark for Windows.
struct ArchiveInput {
  std::string name;  // '/'-separated, relative to the installation folder
  std::string sourcePath;
};

// Writes the entries in the order given into a new archive at `path`,
// replacing any file there. False, with `error` set, when libzip fails; no
// archive is left behind then.
bool WriteArchive(const std::string& path, const std::vector<ArchiveInput>& entries, std::string& error);

struct ArchiveEntry {
  std::string name;        // as stored; UTF-8 when marked so, else as libzip guesses
  std::uint64_t size = 0;  // unpacked bytes
  bool isFolder = false;
  // ASCII, or marked UTF-8 (bit 11 or the Unicode path extra field): the
  // same name on every system.
  bool nameMarkedUtf8 = true;
  // The name's bytes as stored (the Unicode path field's, if any): what the
  // unpacker reads.
  std::string storedName;
  std::uint16_t method = 0;              // compression method (ZIP_CM_*)
  bool dataRead = false;                 // read through: libzip decompresses its method
  std::uint8_t hostSystem = 0;           // the "made by" system (ZIP_OPSYS_*)
  std::uint32_t externalAttributes = 0;  // the host's mode in the high half, MS-DOS attributes in the low byte
};

// Lists the archive's entries in their stored order, after reading every
// file entry whose method libzip decompresses through to its end so that
// damaged data (a bad checksum, a cut file) shows. False, with `error` set,
// when libzip cannot open or read it.
bool ReadArchive(const std::string& path, std::vector<ArchiveEntry>& entries, std::string& error);

}  // namespace kit
