#include "package/descriptor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "temp_folder.h"

namespace {

// The descriptor's file name holds a backslash, so that its program folder,
// taken up to the last backslash, is a real folder prefix on this host too:
// "<temp>/pk\Install.ini" gives the folder "<temp>/pk\".
const char kDescriptorName[] = "pk\\Install.ini";

struct Read {
  std::string folder;  // the program folder the reader should join onto
  PackageDescriptor descriptor;
};

Read ReadDescriptor(const std::string& bytes) {
  TempFolder temp;
  const std::string path = temp.Write(kDescriptorName, bytes);
  Read read;
  read.folder = path.substr(0, path.rfind('\\') + 1);
  EXPECT_TRUE(ReadPackageDescriptor(path.c_str(), read.descriptor));
  return read;
}

TEST(PackageDescriptor, KeysAnywhereInALineWithTheValueCountedFromTheLineStart) {
  const std::string a251(251, 'a');
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> archive;  // the value behind the folder; none: no archive path
    long size;
    bool hasSize;
  };
  const Case cases[] = {
      {"both keys", "ZIPFILE:pkg.zip\nFILESIZE:20480\n", "pkg.zip", 20480, true},
      {"CR LF line ends", "ZIPFILE:pkg.zip\r\nFILESIZE:20480\r\n", "pkg.zip", 20480, true},
      {"no final line end", "FILESIZE:20480\nZIPFILE:pkg.zip", "pkg.zip", 20480, true},
      {"blanks around the value kept", "ZIPFILE: pkg.zip \n", " pkg.zip ", 0, false},
      {"CR not before LF kept", "ZIPFILE:pkg.zip\r\r\n", "pkg.zip\r", 0, false},
      {"subfolder in the value", "ZIPFILE:data\\pkg.zip\n", "data\\pkg.zip", 0, false},
      {"archive key after a blank", " ZIPFILE:pkg.zip\n", ":pkg.zip", 0, false},
      {"size key after a blank", " FILESIZE:100\n", std::nullopt, 0, true},
      {"key quoted in a comment replaces the archive", "ZIPFILE:pkg.zip\n# the ZIPFILE: line names it\n",
       "PFILE: line names it", 0, false},
      {"lower-case keys ignored", "zipfile:pkg.zip\nfilesize:100\n", std::nullopt, 0, false},
      {"no keys", "[Setup]\nname=pkg.zip\n\nFILESIZE 100\n", std::nullopt, 0, false},
      {"only the size", "FILESIZE:20480\n", std::nullopt, 20480, true},
      {"last occurrence wins", "ZIPFILE:a.zip\nFILESIZE:1\nZIPFILE:b.zip\nFILESIZE:2\n", "b.zip", 2, true},
      {"a later empty value wins", "ZIPFILE:a.zip\nZIPFILE:\n", "", 0, false},
      // The size key is looked for in what the archive key left of the line.
      {"both keys on one line", "ZIPFILE:pkg.zip FILESIZE:100\n", "pkg.zip FILESIZE:100", 0, true},
      {"size key before the archive key", "FILESIZE:100 ZIPFILE:pkg.zip\n", ":100 ZIPFILE:pkg.zip", 0, false},
      {"longest whole value", "ZIPFILE:" + a251 + "\nFILESIZE:7\n", a251, 7, true},
      {"longer value cut, its rest searched as a line", "ZIPFILE:" + a251 + "FILESIZE:77\n", a251, 77, true},
      {"rest of a cut line replaces the archive", "ZIPFILE:" + a251 + "ZIPFILE:rest\n", "rest", 0, false},
      {"size beyond 32 bits held at the end", "FILESIZE:99999999999\n", std::nullopt, INT32_MAX, true},
      {"empty file", "", std::nullopt, 0, false},
  };
  for (const Case& c : cases) {
    const Read read = ReadDescriptor(c.bytes);
    const PackageDescriptor& d = read.descriptor;
    EXPECT_EQ(d.zipPath.str(), c.archive ? read.folder + *c.archive : std::string()) << c.what;
    EXPECT_EQ(d.unzipPath.str(), read.folder + "unzip") << c.what;
    EXPECT_EQ(d.requiredKB, c.size) << c.what;
    EXPECT_EQ(d.hasSize, c.hasSize) << c.what;
  }
}

TEST(PackageDescriptor, PathWithoutABackslashGivesBareNames) {
  TempFolder temp;
  const std::string path = temp.Write("Install.ini", "ZIPFILE:pkg.zip\n");
  PackageDescriptor d;
  ASSERT_TRUE(ReadPackageDescriptor(path.c_str(), d));
  EXPECT_EQ(d.zipPath.str(), "pkg.zip");
  EXPECT_EQ(d.unzipPath.str(), "unzip");
}

TEST(PackageDescriptor, MissingFileIsReportedAndSetsNothing) {
  TempFolder temp;
  PackageDescriptor d;
  EXPECT_FALSE(ReadPackageDescriptor(temp.PathOf(kDescriptorName).c_str(), d));
  EXPECT_TRUE(d.zipPath.IsEmpty());
  EXPECT_TRUE(d.unzipPath.IsEmpty());
  EXPECT_EQ(d.requiredKB, 0);
  EXPECT_FALSE(d.hasSize);
}

TEST(PackageDescriptor, SizeNumberRule) {
  struct Case {
    std::string text;
    long expected;
  };
  const Case cases[] = {
      {"20480", 20480},
      {" 20480", 20480},
      {" \t\n\v\f\r20480", 20480},
      {"20480 KB", 20480},
      {"20480KB", 20480},
      {"12ab34", 12},
      {"abc", 0},
      {"", 0},
      {"-5", -5},
      {"+7", 7},
      {"- 5", 0},
      {"+-5", 0},
      {"2147483647", INT32_MAX},
      {"2147483648", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN},
      {std::string(100, '9'), INT32_MAX},
      {"-" + std::string(100, '9'), INT32_MIN},
      {std::string(40, '0') + "20480", 20480},  // leading zeros do not count towards the range
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSizeNumber(c.text.c_str()), c.expected) << '"' << c.text << '"';
}

}  // namespace
