#include "kit/zip_archive.h"

#include <zip.h>

#include <filesystem>
#include <system_error>
#include <vector>

#include "kit/utf8_text.h"

namespace kit {

namespace {

constexpr char kFolderMark = '/';
// libzip's choice of deflate level.
constexpr zip_uint32_t kDefaultDeflateLevel = 0;
// zip_source_file: from the file's start, to its end.
constexpr zip_uint64_t kFromStart = 0;
constexpr zip_int64_t kToEnd = -1;
constexpr size_t kReadChunkBytes = 64 * 1024;
// The plain attributes every entry gets: a Unix mode in the high half, the
// MS-DOS attributes in the low byte (0x10 marks a folder).
constexpr int kModeShift = 16;
constexpr zip_uint32_t kFileAttributes = 0100644u << kModeShift;
constexpr zip_uint32_t kFolderAttributes = (040755u << kModeShift) | 0x10u;
// libzip's compression method test: for decompressing.
constexpr int kForReading = 0;

bool IsFolderName(const std::string& name) { return !name.empty() && name.back() == kFolderMark; }

std::string ArchiveError(zip_t* archive) { return zip_strerror(archive); }

std::string OpenError(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

bool AddEntry(zip_t* archive, const ArchiveInput& entry, std::string& error) {
  if (IsFolderName(entry.name)) {
    const zip_int64_t index = zip_dir_add(archive, entry.name.c_str(), ZIP_FL_ENC_GUESS);
    if (index < 0 || zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                                      kFolderAttributes) < 0) {
      error = "cannot add the folder " + entry.name + ": " + ArchiveError(archive);
      return false;
    }
    return true;
  }
  zip_source_t* source = zip_source_file(archive, entry.sourcePath.c_str(), kFromStart, kToEnd);
  if (source == nullptr) {
    error = "cannot read " + entry.sourcePath + ": " + ArchiveError(archive);
    return false;
  }
  const zip_int64_t index = zip_file_add(archive, entry.name.c_str(), source, ZIP_FL_ENC_GUESS);
  if (index < 0) {
    zip_source_free(source);
    error = "cannot add " + entry.name + ": " + ArchiveError(archive);
    return false;
  }
  if (zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, kDefaultDeflateLevel) < 0) {
    error = "cannot deflate " + entry.name + ": " + ArchiveError(archive);
    return false;
  }
  if (zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX, kFileAttributes) <
      0) {
    error = "cannot set the attributes of " + entry.name + ": " + ArchiveError(archive);
    return false;
  }
  return true;
}

// The name's bytes as stored, and whether it is the same on every system:
// ASCII, or marked UTF-8. libzip gives a marked name's bytes as they are
// (with the Unicode path extra field, that field's name) also when told to
// read unmarked names as the format's default code page, CP437.
void ReadStoredName(zip_t* archive, zip_uint64_t index, ArchiveEntry& entry) {
  const char* raw = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
  entry.storedName = raw != nullptr ? raw : entry.name;
  const char* strict = zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
  entry.nameMarkedUtf8 = IsAscii(entry.storedName) || (strict != nullptr && entry.storedName == strict);
}

// Reads one file entry to its end through `chunk`; libzip checks its
// checksum there. The memory is one chunk's, whatever the entry's size.
bool ReadThrough(zip_t* archive, zip_uint64_t index, const std::string& name, std::vector<char>& chunk,
                 std::string& error) {
  zip_file_t* file = zip_fopen_index(archive, index, 0);
  if (file == nullptr) {
    error = "cannot open the entry " + name + ": " + ArchiveError(archive);
    return false;
  }
  zip_int64_t read = 0;
  while ((read = zip_fread(file, chunk.data(), chunk.size())) > 0) {
  }
  if (read < 0) error = "cannot read the entry " + name + ": " + zip_file_strerror(file);
  zip_fclose(file);
  return read == 0;
}

}  // namespace

bool WriteArchive(const std::string& path, const std::vector<ArchiveInput>& entries, std::string& error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) {
    error = "cannot create " + path + ": " + OpenError(code);
    return false;
  }
  for (const ArchiveInput& entry : entries) {
    if (!AddEntry(archive, entry, error)) {
      zip_discard(archive);
      return false;
    }
  }
  if (zip_close(archive) < 0) {
    error = "cannot write " + path + ": " + ArchiveError(archive);
    zip_discard(archive);
    return false;
  }
  // libzip writes no file for an archive without entries; an old one would
  // otherwise stay in its place.
  std::error_code ignored;
  if (entries.empty() || !std::filesystem::is_regular_file(path, ignored)) {
    error = "no archive was written to " + path;
    std::filesystem::remove(path, ignored);
    return false;
  }
  return true;
}

bool ReadArchive(const std::string& path, std::vector<ArchiveEntry>& entries, std::string& error) {
  entries.clear();
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
  if (archive == nullptr) {
    error = OpenError(code);
    return false;
  }
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  std::vector<char> chunk(kReadChunkBytes);
  bool readable = count >= 0;
  if (!readable) error = ArchiveError(archive);
  for (zip_int64_t i = 0; readable && i < count; ++i) {
    const zip_uint64_t index = static_cast<zip_uint64_t>(i);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, index, ZIP_FL_ENC_GUESS, &stat) < 0 || (stat.valid & ZIP_STAT_NAME) == 0 ||
        (stat.valid & ZIP_STAT_SIZE) == 0) {
      error = "cannot read the entry list: " + ArchiveError(archive);
      readable = false;
      break;
    }
    ArchiveEntry entry;
    entry.name = stat.name;
    entry.isFolder = IsFolderName(entry.name);
    entry.size = entry.isFolder ? 0 : stat.size;
    ReadStoredName(archive, index, entry);
    entry.method = (stat.valid & ZIP_STAT_COMP_METHOD) != 0 ? stat.comp_method : ZIP_CM_STORE;
    zip_file_get_external_attributes(archive, index, 0, &entry.hostSystem, &entry.externalAttributes);
    entry.dataRead = !entry.isFolder && zip_compression_method_supported(entry.method, kForReading) != 0;
    if (entry.dataRead) readable = ReadThrough(archive, index, entry.name, chunk, error);
    entries.push_back(entry);
  }
  zip_discard(archive);
  if (!readable) entries.clear();
  return readable;
}

}  // namespace kit
