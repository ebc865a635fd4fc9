// What an archive's end and central directory say, read as an unpacker reads
// them, for the printout of the benchmark of a package past 4 GiB: whether the
// archive ends with the Zip64 end records, and each entry's sizes and place,
// 64-bit where its Zip64 extra field gives them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct ArchiveRecordEntry {
  std::string name;
  std::uint64_t size = 0;        // unpacked
  std::uint64_t packedSize = 0;  // as stored
  std::uint64_t offset = 0;      // of its local header
  bool zip64Extra = false;       // a Zip64 extra field gives a size or the offset
};

struct ArchiveRecords {
  std::uint64_t archiveBytes = 0;
  bool zip64End = false;  // the Zip64 end record and its locator precede the classic end
  std::uint64_t entryCount = 0;
  std::uint64_t directoryOffset = 0;
  std::vector<ArchiveRecordEntry> entries;
};

// False, with `error` set, when the archive cannot be read or its end is not
// as a writer without an archive comment leaves it.
bool ReadArchiveRecords(const std::string& path, ArchiveRecords& records, std::string& error);

}  // namespace bench
