#include "setup/install_request.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "framework/dbcs.h"
#include "tests/unit/fake_disk.h"

namespace {

constexpr std::uint64_t kKB = 1024;
// 2 TB in kilobytes: one more than the largest size the descriptor gives.
constexpr std::uint64_t kTwoTerabytesKB = std::uint64_t{1} << 31;

TEST(FreeSpace, TotalFreeBytesFirstThenFreeClusters) {
  struct Case {
    const char* what;
    std::optional<std::uint64_t> totalFreeBytes;
    std::optional<Clusters> clusters;
    std::uint64_t expectedKB;
  };
  const Case cases[] = {
      {"total free bytes, remainder dropped", 20480 * kKB + 1023, std::nullopt, 20480},
      {"total free bytes preferred", 2 * kKB, Clusters{8, 512, 100}, 2},
      {"total free bytes beyond 32 bits of kilobytes", std::uint64_t{1} << 52, std::nullopt, std::uint64_t{1} << 42},
      {"free clusters", std::nullopt, Clusters{8, 512, 1000}, 4000},
      {"free clusters, remainder dropped", std::nullopt, Clusters{1, 1000, 3}, 2},
      {"cluster size beyond 32 bits", std::nullopt, Clusters{65536, 65536, 3}, 3 * (std::uint64_t{1} << 22)},
      {"cluster product beyond 32 bits", std::nullopt, Clusters{64, 4096, 0xFFFFFFFF}, 0xFFFFFFFFull * 256},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.totalFreeBytes = c.totalFreeBytes;
    disk.clusters = c.clusters;
    std::uint64_t freeKB = 0;
    EXPECT_TRUE(FreeKilobytes(disk, "c:\\", freeKB)) << c.what;
    EXPECT_EQ(freeKB, c.expectedKB) << c.what;
    for (const std::string& root : disk.rootsAsked) EXPECT_EQ(root, "c:\\") << c.what;
  }
}

TEST(FreeSpace, NeitherQueryAnswering) {
  FakeDisk disk;
  std::uint64_t freeKB = 7;
  EXPECT_FALSE(FreeKilobytes(disk, "\\\\s", freeKB));
  EXPECT_EQ(disk.rootsAsked, (std::vector<std::string>{"\\\\s", "\\\\s"}));
  for (long requiredKB : {0L, 20480L}) EXPECT_EQ(DecideSpace(disk, "\\\\s", requiredKB), SpaceVerdict::kUnknown);
}

TEST(FreeSpace, PackageSizeAgainstTheFreeSpace) {
  struct Case {
    const char* what;
    std::optional<std::uint64_t> totalFreeBytes;
    std::optional<Clusters> clusters;
    long requiredKB;
    SpaceVerdict expected;
  };
  const Case cases[] = {
      {"free space equal to the size", 20480 * kKB, std::nullopt, 20480, SpaceVerdict::kEnough},
      {"one byte short of the size", 20480 * kKB - 1, std::nullopt, 20480, SpaceVerdict::kNotEnough},
      {"size 0 on a full disk", 0, std::nullopt, 0, SpaceVerdict::kEnough},
      {"negative size on a full disk", 0, std::nullopt, -5, SpaceVerdict::kEnough},
      {"most negative size on a full disk", 0, std::nullopt, INT32_MIN, SpaceVerdict::kEnough},
      {"free kilobytes beyond 32 bits", (std::uint64_t{1} << 32) * kKB, std::nullopt, INT32_MAX, SpaceVerdict::kEnough},
      {"largest size, one kilobyte short", (std::uint64_t{INT32_MAX} - 1) * kKB, std::nullopt, INT32_MAX,
       SpaceVerdict::kNotEnough},
      {"clusters of 4 GB exactly enough", std::nullopt, Clusters{65536, 65536, 1}, 4194304, SpaceVerdict::kEnough},
      {"clusters of 4 GB one kilobyte short", std::nullopt, Clusters{65536, 65536, 1}, 4194305,
       SpaceVerdict::kNotEnough},
      // A drive with more than 2 TB free answers as a small one does: its
      // kilobytes are past the signed 32-bit range (negative there) or, past
      // 4 TB, would wrap to a few kilobytes in 32 bits.
      {"just over 2 TB free, a 20 MB package", (kTwoTerabytesKB + 5) * kKB, std::nullopt, 20480,
       SpaceVerdict::kEnough},
      {"just over 2 TB free, the largest package", (kTwoTerabytesKB + 5) * kKB, std::nullopt, INT32_MAX,
       SpaceVerdict::kEnough},
      {"4 TB and 10 KB free, a 20 KB package", (2 * kTwoTerabytesKB + 10) * kKB, std::nullopt, 20,
       SpaceVerdict::kEnough},
      {"4 TB and 12 KB free in clusters, a 20 KB package", std::nullopt, Clusters{8, 512, (1u << 30) + 3}, 20,
       SpaceVerdict::kEnough},
      {"16 TB free in clusters, the largest package", std::nullopt, Clusters{8, 512, 0xFFFFFFFF}, INT32_MAX,
       SpaceVerdict::kEnough},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.totalFreeBytes = c.totalFreeBytes;
    disk.clusters = c.clusters;
    EXPECT_EQ(DecideSpace(disk, "c:\\", c.requiredKB), c.expected) << c.what;
  }
}

TEST(FreeSpace, SizeInWholeMegabytes) {
  struct Case {
    long kilobytes;
    long megabytes;
  };
  const Case cases[] = {{500, 0}, {1023, 0}, {1024, 1},      {1500, 1},           {20480, 20},
                        {-5, 0},  {0, 0},    {INT32_MIN, 0}, {INT32_MAX, 2097151}};
  for (const Case& c : cases) EXPECT_EQ(SizeInMegabytes(c.kilobytes), c.megabytes) << c.kilobytes;
}

TEST(InstallFolder, DriveRootIsTheFirstThreeCharacters) {
  struct Case {
    const char* targetDir;
    const char* root;
  };
  const Case cases[] = {
      {"c:\\data", "c:\\"}, {"\\\\server\\share\\data", "\\\\s"}, {"d:\\", "d:\\"}, {"d:", "d:"}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(DriveRoot(c.targetDir).str(), c.root) << c.targetDir;
}

TEST(InstallFolder, NormalisingTrimsThenStripsTrailingBackslashes) {
  struct Case {
    const char* typed;
    const char* folder;
  };
  const Case cases[] = {
      {"c:\\data", "c:\\data"},
      {"  c:\\data  ", "c:\\data"},
      {"\t\r\n\v\fc:\\data\r\n\t", "c:\\data"},
      {"c:\\data\\", "c:\\data"},
      {"c:\\data\\\\\\", "c:\\data"},
      {" c:\\data\\ ", "c:\\data"},
      {"c:\\data\\ \\", "c:\\data\\ "},  // blanks only at the ends are trimmed
      {"c:\\", "c:"},
      {"\\\\server\\share\\", "\\\\server\\share"},
      {"c:\\my data", "c:\\my data"},
      {"", ""},
      {"   ", ""},
      {"\\\\\\", ""},
      {" \\ ", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(NormaliseInstallFolder(c.typed).str(), c.folder) << '"' << c.typed << '"';
}

// Code page 932: 0x95 0x5C is one character whose second byte equals '\\'.
class InstallFolderDoubleByte : public testing::Test {
 protected:
  void SetUp() override { dbcs::SetLeadByteRule(&dbcs::IsCodePage932LeadByte); }
  void TearDown() override { dbcs::SetLeadByteRule(nullptr); }
};

TEST_F(InstallFolderDoubleByte, TrailByteLikeABackslashIsKept) {
  EXPECT_EQ(NormaliseInstallFolder("c:\\\x95\x5C").str(), "c:\\\x95\x5C");
  EXPECT_EQ(NormaliseInstallFolder("c:\\\x95\x5C\\\\").str(), "c:\\\x95\x5C");
  // The parent is cut at the last real backslash.
  FakeDisk disk;
  disk.existing = {"c:\\\x95\x5C"};
  EXPECT_EQ(CheckInstallFolder("c:\\\x95\x5C\\sub", disk), FolderVerdict::kAccepted);
  disk.existing = {"c:"};
  EXPECT_EQ(CheckInstallFolder("c:\\\x95\x5C", disk), FolderVerdict::kAccepted);
}

TEST(InstallFolder, TypedFolderIsCheckedForItsParent) {
  struct Case {
    const char* typed;
    FolderVerdict expected;
  };
  const Case cases[] = {
      {"c:\\new", FolderVerdict::kAccepted},  // the folder itself need not exist
      {"  c:\\data\\\\  ", FolderVerdict::kAccepted},
      {"c:\\data\\new", FolderVerdict::kAccepted},
      {"c:\\readme.txt\\new", FolderVerdict::kAccepted},  // only existence counts, a file passes
      {"c:\\new\\sub", FolderVerdict::kParentMissing},
      {"d:\\maps", FolderVerdict::kParentMissing},
      {"c:\\", FolderVerdict::kParentMissing},  // stripped to c:, which has no parent
      {"data", FolderVerdict::kParentMissing},
      {"d:", FolderVerdict::kParentMissing},
      {"\\data", FolderVerdict::kParentMissing},  // the parent is empty
      {"c:\\my \"data\"", FolderVerdict::kInvalid},
      {"\"c:\\data\"", FolderVerdict::kInvalid},
      {"c:\\data\\\"", FolderVerdict::kInvalid},
      {"", FolderVerdict::kInvalid},
      {" \t ", FolderVerdict::kInvalid},
      {"\\\\", FolderVerdict::kInvalid},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.existing = {"c:", "c:\\data", "c:\\readme.txt"};
    EXPECT_EQ(CheckInstallFolder(NormaliseInstallFolder(c.typed), disk), c.expected) << '"' << c.typed << '"';
  }
}

}  // namespace
