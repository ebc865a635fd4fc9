// Packages past the 32-bit limits: the "FILESIZE:" figure of data past 2 GiB
// and 4 GiB, the program's own limit of that figure, and archives of more
// than 65,535 entries. The data's large files are sparse: they take no disk
// space, and only their sizes are read.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/pack_build.h"
#include "kit/zip_archive.h"
#include "kit_test_support.h"

namespace {

namespace fs = std::filesystem;
using kit_test::ReadBytes;
using kit_test::WriteBytes;

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
constexpr std::uint64_t kTiB = std::uint64_t{1} << 40;

// A file of `bytes` that reads as zeros and takes no disk space.
void MakeSparseFile(const fs::path& path, std::uint64_t bytes) {
  fs::create_directories(path.parent_path());
  WriteBytes(path, "");
  fs::resize_file(path, bytes);
}

TEST(LargePackage, SizeFigureOfDataPastTwoAndFourGiB) {
  struct Case {
    const char* what;
    std::vector<std::uint64_t> fileBytes;
    std::uint64_t expectedKB;
  };
  const Case cases[] = {
      {"one byte past 2 GiB", {2 * kGiB + 1}, 2 * 1024 * 1024 + 4},
      {"one byte past 4 GiB", {4 * kGiB + 1}, 4 * 1024 * 1024 + 4},
      {"5 GiB and 3 GiB and a byte", {5 * kGiB, 3 * kGiB, 1}, 8 * 1024 * 1024 + 4},
      {"a thousand files of 5 MB, 4.9 GB in all", std::vector<std::uint64_t>(1000, 5 * 1000 * 1000), 1000 * 4884},
  };
  for (const Case& c : cases) {
    kit_test::TempFolder temp;
    for (size_t i = 0; i < c.fileBytes.size(); ++i) {
      MakeSparseFile(temp.Path() / "data" / ("part-" + std::to_string(i) + ".bin"), c.fileBytes[i]);
    }
    std::vector<kit::ArchiveInput> entries;
    std::uint64_t clusterBytes = 0;
    std::string error;
    ASSERT_TRUE(kit::ListDataFolder((temp.Path() / "data").string(), entries, clusterBytes, error)) << error;
    EXPECT_EQ(kit::KilobytesRoundedUp(clusterBytes), c.expectedKB) << c.what;
  }
}

// The program reads "FILESIZE:" as a signed 32-bit number of kilobytes, so a
// package of 2 TB or more cannot say its size: the build refuses it before it
// packs anything.
TEST(LargePackage, DataBeyondTheProgramsSizeFigureIsRefused) {
  struct Case {
    const char* what;
    std::vector<std::uint64_t> fileBytes;
  };
  const Case cases[] = {
      {"one file of 2 TiB", {2 * kTiB}},
      {"two files of 1 TiB", {kTiB, kTiB}},
      {"a file one cluster short of 2 TiB and one byte", {2 * kTiB - 4096, 1}},
  };
  for (const Case& c : cases) {
    kit_test::TempFolder temp;
    for (size_t i = 0; i < c.fileBytes.size(); ++i) {
      MakeSparseFile(temp.Path() / "data" / ("part-" + std::to_string(i) + ".bin"), c.fileBytes[i]);
    }
    kit::BuildOptions options;
    options.dataDir = (temp.Path() / "data").string();
    options.outDir = (temp.Path() / "out").string();
    const kit::BuildResult result = kit::BuildPackage(options);
    EXPECT_EQ(result.status, kit::BuildStatus::kFailed) << c.what;
    EXPECT_NE(result.error.find("2147483648 KB"), std::string::npos) << c.what << ": " << result.error;
    EXPECT_FALSE(fs::exists(temp.Path() / "out" / "Install.zip")) << c.what;
    EXPECT_FALSE(fs::exists(temp.Path() / "out" / "Install.ini")) << c.what;
  }
}

// More entries than the classic end record's 16-bit count can hold: every
// one is written and read back, and the archive ends with the Zip64 end
// records that tell an unpacker the true count.
TEST(LargePackage, MoreThan65535EntriesAreAllWrittenAndRead) {
  constexpr int kFolders = 256;
  constexpr int kFilesPerFolder = 256;
  kit_test::TempFolder temp;
  const fs::path source = temp.Path() / "one.txt";
  WriteBytes(source, "the same small file\n");
  std::vector<kit::ArchiveInput> inputs;
  for (int folder = 0; folder < kFolders; ++folder) {
    const std::string folderName = "d" + std::to_string(folder) + "/";
    inputs.push_back({folderName, std::string()});
    for (int file = 0; file < kFilesPerFolder; ++file) {
      inputs.push_back({folderName + "f" + std::to_string(file) + ".txt", source.string()});
    }
  }
  const fs::path archive = temp.Path() / "many.zip";
  std::string error;
  ASSERT_TRUE(kit::WriteArchive(archive.string(), inputs, error)) << error;

  std::vector<kit::ArchiveEntry> entries;
  ASSERT_TRUE(kit::ReadArchive(archive.string(), entries, error)) << error;
  ASSERT_EQ(entries.size(), inputs.size());
  EXPECT_EQ(entries.back().name, inputs.back().name);
  EXPECT_EQ(entries.back().size, 20u);

  // The archive's last bytes: the Zip64 end record (PK 6 6) and its locator
  // (PK 6 7), then the classic end record (PK 5 6) with its counts at 0xFFFF.
  const std::string bytes = ReadBytes(archive);
  constexpr size_t kClassicEndBytes = 22;
  constexpr size_t kLocatorBytes = 20;
  constexpr size_t kZip64EndBytes = 56;
  ASSERT_GT(bytes.size(), kClassicEndBytes + kLocatorBytes + kZip64EndBytes);
  const std::string classicEnd = bytes.substr(bytes.size() - kClassicEndBytes);
  const std::string locator = bytes.substr(bytes.size() - kClassicEndBytes - kLocatorBytes, 4);
  const std::string zip64End = bytes.substr(bytes.size() - kClassicEndBytes - kLocatorBytes - kZip64EndBytes, 4);
  EXPECT_EQ(classicEnd.substr(0, 4), std::string("PK\x05\x06"));
  EXPECT_EQ(classicEnd.substr(8, 4), std::string("\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(locator, std::string("PK\x06\x07"));
  EXPECT_EQ(zip64End, std::string("PK\x06\x06"));
}

}  // namespace
