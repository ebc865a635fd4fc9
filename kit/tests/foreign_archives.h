// Archives as other tools write them, for the kit's tests: names stored
// without the UTF-8 mark, other compression methods, Unix modes and MS-DOS
// attributes, written with libzip directly.
#pragma once

#include <gtest/gtest.h>
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kit_test_support.h"

namespace kit_test {

struct ForeignEntry {
  std::string name;  // a folder's ends with '/', its bytes are empty
  std::string bytes;
  std::uint16_t method = ZIP_CM_DEFLATE;
  // false: the name's bytes are stored unmarked (the mark is taken off the
  // whole archive's entries).
  bool markUtf8 = true;
  // Unix mode (high half) and MS-DOS attributes (low byte); 0: libzip's own.
  std::uint32_t attributes = 0;
};

constexpr int kUnixModeShift = 16;
constexpr std::uint32_t kReadOnlyAttribute = 0x01;
constexpr std::uint32_t kHiddenAttribute = 0x02;
constexpr std::uint32_t UnixMode(std::uint32_t mode) { return mode << kUnixModeShift; }

// The headers of an archive's entries, local and central alike: `change`
// gets each header's general purpose flags and compression method.
template <typename Change>
void RewriteHeaders(const std::filesystem::path& path, Change change) {
  std::string bytes = ReadBytes(path);
  struct Header {
    std::string signature;
    size_t flagsOffset;  // the method's two bytes follow the flags'
  };
  const Header headers[] = {{std::string("PK\x03\x04", 4), 6}, {std::string("PK\x01\x02", 4), 8}};
  for (const Header& header : headers) {
    for (size_t at = bytes.find(header.signature); at != std::string::npos; at = bytes.find(header.signature, at + 1)) {
      const auto field = [&](size_t offset) -> std::uint16_t {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at + offset]) |
                                          static_cast<unsigned char>(bytes[at + offset + 1]) << 8);
      };
      std::uint16_t flags = field(header.flagsOffset);
      std::uint16_t method = field(header.flagsOffset + 2);
      change(flags, method);
      const std::uint16_t values[] = {flags, method};
      for (size_t i = 0; i < 2; ++i) {
        bytes[at + header.flagsOffset + 2 * i] = static_cast<char>(values[i] & 0xFF);
        bytes[at + header.flagsOffset + 2 * i + 1] = static_cast<char>(values[i] >> 8);
      }
    }
  }
  WriteBytes(path, bytes);
}

constexpr std::uint16_t kUtf8Mark = 1 << 11;

inline void WriteForeignArchive(const std::filesystem::path& path, const std::vector<ForeignEntry>& entries) {
  std::filesystem::create_directories(path.parent_path());
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_NE(archive, nullptr) << "cannot create " << path;
  bool anyUnmarked = false;
  for (const ForeignEntry& entry : entries) {
    // A folder is an empty entry whose name ends with '/'. libzip marks a
    // name UTF-8 when it is UTF-8 beyond ASCII.
    zip_source_t* source = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_GUESS);
    ASSERT_GE(index, 0) << entry.name << ": " << zip_strerror(archive);
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), entry.method, 0);
    if (entry.attributes != 0) {
      zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX, entry.attributes);
    }
    anyUnmarked = anyUnmarked || !entry.markUtf8;
  }
  ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
  // libzip stores no UTF-8 bytes unmarked: the mark is taken off afterwards,
  // from every entry.
  if (anyUnmarked) RewriteHeaders(path, [](std::uint16_t& flags, std::uint16_t&) { flags &= ~kUtf8Mark; });
}

// Rewrites the compression method of every entry, as an archiver of another
// method would have written it; the data stay as they are (stored), which a
// check that cannot read the method never looks at.
inline void RewriteMethods(const std::filesystem::path& path, std::uint16_t method) {
  RewriteHeaders(path, [method](std::uint16_t&, std::uint16_t& stored) { stored = method; });
}

}  // namespace kit_test
