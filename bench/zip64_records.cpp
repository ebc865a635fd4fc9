#include "bench/zip64_records.h"

#include <windows.h>

namespace bench {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kDirectoryEntrySignature = 0x02014b50;
constexpr std::uint16_t kZip64ExtraId = 0x0001;
constexpr std::uint32_t kFieldInZip64 = 0xFFFFFFFF;
constexpr size_t kEndBytes = 22;
constexpr size_t kLocatorBytes = 20;
constexpr size_t kZip64EndBytes = 56;
constexpr size_t kDirectoryEntryBytes = 46;
// The central directory read whole: the benchmark's archive has a hundred
// entries.
constexpr std::uint64_t kLargestDirectoryBytes = 16 << 20;

std::uint64_t Little(const unsigned char* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

bool ReadAt(HANDLE file, std::uint64_t offset, size_t size, std::vector<unsigned char>& bytes) {
  LARGE_INTEGER place;
  place.QuadPart = static_cast<LONGLONG>(offset);
  if (!::SetFilePointerEx(file, place, nullptr, FILE_BEGIN)) return false;
  bytes.assign(size, 0);
  DWORD read = 0;
  return ::ReadFile(file, bytes.data(), static_cast<DWORD>(size), &read, nullptr) && read == size;
}

// One central directory entry at `at`; the place after it, or 0 when it is
// not one.
size_t ReadEntry(const std::vector<unsigned char>& directory, size_t at, ArchiveRecordEntry& entry) {
  if (at + kDirectoryEntryBytes > directory.size() || Little(&directory[at], 4) != kDirectoryEntrySignature) return 0;
  const unsigned char* fixed = &directory[at];
  const size_t nameLength = Little(fixed + 28, 2);
  const size_t extraLength = Little(fixed + 30, 2);
  const size_t commentLength = Little(fixed + 32, 2);
  const size_t end = at + kDirectoryEntryBytes + nameLength + extraLength + commentLength;
  if (end > directory.size()) return 0;
  entry.name.assign(reinterpret_cast<const char*>(fixed + kDirectoryEntryBytes), nameLength);
  entry.packedSize = Little(fixed + 20, 4);
  entry.size = Little(fixed + 24, 4);
  entry.offset = Little(fixed + 42, 4);
  // The Zip64 extra field holds, in this order, those of the three that the
  // fixed fields mark as held there.
  const unsigned char* extra = fixed + kDirectoryEntryBytes + nameLength;
  for (size_t field = 0; field + 4 <= extraLength;) {
    const std::uint64_t id = Little(extra + field, 2);
    const size_t length = Little(extra + field + 2, 2);
    if (id == kZip64ExtraId) {
      const unsigned char* value = extra + field + 4;
      const unsigned char* valueEnd = value + length;
      for (std::uint64_t* target : {&entry.size, &entry.packedSize, &entry.offset}) {
        if (*target == kFieldInZip64 && value + 8 <= valueEnd) {
          *target = Little(value, 8);
          value += 8;
          entry.zip64Extra = true;
        }
      }
    }
    field += 4 + length;
  }
  return end;
}

}  // namespace

bool ReadArchiveRecords(const std::string& path, ArchiveRecords& records, std::string& error) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = "cannot open " + path;
    return false;
  }
  LARGE_INTEGER size;
  std::vector<unsigned char> tail;
  std::vector<unsigned char> directory;
  const size_t tailBytes = kZip64EndBytes + kLocatorBytes + kEndBytes;
  bool read = ::GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) >= tailBytes &&
              ReadAt(file, static_cast<std::uint64_t>(size.QuadPart) - tailBytes, tailBytes, tail);
  if (read) {
    records.archiveBytes = static_cast<std::uint64_t>(size.QuadPart);
    const unsigned char* end = &tail[tailBytes - kEndBytes];
    const unsigned char* locator = &tail[kZip64EndBytes];
    const unsigned char* zip64End = &tail[0];
    read = Little(end, 4) == kEndSignature;
    records.zip64End = Little(locator, 4) == kZip64LocatorSignature && Little(zip64End, 4) == kZip64EndSignature;
    records.entryCount = records.zip64End ? Little(zip64End + 32, 8) : Little(end + 10, 2);
    records.directoryOffset = records.zip64End ? Little(zip64End + 48, 8) : Little(end + 16, 4);
    const std::uint64_t directoryBytes = records.zip64End ? Little(zip64End + 40, 8) : Little(end + 12, 4);
    read = read && directoryBytes <= kLargestDirectoryBytes &&
           ReadAt(file, records.directoryOffset, static_cast<size_t>(directoryBytes), directory);
  }
  ::CloseHandle(file);
  if (!read) {
    error = "the end of " + path + " is not that of an archive without a comment";
    return false;
  }
  records.entries.clear();
  for (size_t at = 0; at < directory.size();) {
    ArchiveRecordEntry entry;
    at = ReadEntry(directory, at, entry);
    if (at == 0) {
      error = "the central directory of " + path + " is damaged";
      return false;
    }
    records.entries.push_back(entry);
  }
  return true;
}

}  // namespace bench
