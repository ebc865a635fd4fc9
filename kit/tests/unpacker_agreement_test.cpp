// What the check passes, the unpacker installs as meant: packages that the
// recipe's unzip installs wrongly are reported with their codes (a path too
// long for Windows, a method it cannot extract, a link, attributes), a
// method it does extract is not refused, and descriptor lines and text files
// are judged as the program reads them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foreign_archives.h"
#include "kit/exit_status.h"
#include "kit/pack_build.h"
#include "kit/pack_check.h"
#include "kit_test_support.h"

namespace {

namespace fs = std::filesystem;
using kit_test::ForeignEntry;
using kit_test::Package;
using kit_test::UnixMode;

constexpr int kError = kit::kExitHasProblems;
constexpr int kClean = kit::kExitInstallsAsMeant;

struct Row {
  const char* what;
  std::function<void(Package&)> change;
  std::vector<std::string> codes;  // exactly the problems reported, in order
  int status;
  const char* said = "";  // a text one of the problems must hold (what, sees or fix)
};

// The package's archive replaced by `entries`, with room enough in FILESIZE.
void Archive(Package& package, const std::vector<ForeignEntry>& entries) {
  kit_test::WriteForeignArchive(package.PathOf("Install.zip"), entries);
  package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:100000\r\n");
}

void Descriptor(Package& package, const std::string& bytes) { package.Write("Install.ini", bytes); }

// One stored entry whose method is then rewritten to `method`.
std::function<void(Package&)> MethodRewrittenTo(std::uint16_t method) {
  return [method](Package& p) {
    Archive(p, {{"maps/", ""}, {"maps/north.dat", "north", ZIP_CM_STORE}});
    kit_test::RewriteMethods(p.PathOf("Install.zip"), method);
  };
}

// The typical installation folder, C:\Program Files\Install Data, and the
// backslash after it take 30 characters: a file's path may take 229 more,
// a folder's 217.
const std::string kLongestFile = std::string(225, 'f') + ".txt";
const std::string kLongestFolder(217, 'd');
// U+1F5FA, two UTF-16 units for Windows, four bytes of UTF-8.
const std::string kMap = "\xF0\x9F\x97\xBA";
// U+65E5, one unit, three bytes.
const std::string kSun = "\xE6\x97\xA5";

std::string Repeated(const std::string& text, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

TEST(UnpackerAgreement, WhatTheUnpackerInstallsWronglyIsReported) {
  const Row rows[] = {
      {"a file's path one character too long",
       [](Package& p) {
         Archive(p, {{"f" + kLongestFile, "x"}});
       },
       {"E-PATH-TOO-LONG"},
       kError,
       "260 characters"},
      {"a folder's path one character too long, once for its files",
       [](Package& p) {
         Archive(p,
                 {{kLongestFolder + "d/", ""}, {kLongestFolder + "d/a.txt", "a"}, {kLongestFolder + "d/b.txt", "b"}});
       },
       {"E-PATH-TOO-LONG"},
       kError,
       "248 characters"},
      {"characters beyond U+FFFF count two",
       [](Package& p) {
         Archive(p, {{Repeated(kMap, 113) + ".txt", "x"}});
       },
       {"E-PATH-TOO-LONG"},
       kError},
      {"bzip2, which the unpacker cannot extract",
       [](Package& p) {
         Archive(p, {{"north.dat", "north north north", ZIP_CM_BZIP2}});
       },
       {"E-ARCHIVE-METHOD"},
       kError,
       "bzip2 (method 12)"},
      {"PPMd, which neither the unpacker nor the check reads", MethodRewrittenTo(98), {"E-ARCHIVE-METHOD"}, kError},
      {"a symbolic link",
       [](Package& p) {
         Archive(p, {{"north.dat", "north"}, {"latest.dat", "north.dat", ZIP_CM_STORE, true, UnixMode(0120777)}});
       },
       {"E-ARCHIVE-LINK"},
       kError},
      {"a file without write permission",
       [](Package& p) {
         Archive(p, {{"ro.txt", "x", ZIP_CM_DEFLATE, true, UnixMode(0100444) | kit_test::kReadOnlyAttribute},
                     {"ro2.txt", "y", ZIP_CM_DEFLATE, true, UnixMode(0100444) | kit_test::kReadOnlyAttribute}});
       },
       {"E-ARCHIVE-ATTRIBUTES"},
       kError,
       "2 of the archive's entries, the first \"ro.txt\", carry the Windows "
       "attribute read-only"},
      {"a hidden folder",
       [](Package& p) {
         Archive(p, {{"maps/", "", ZIP_CM_STORE, true, UnixMode(040755) | 0x10 | kit_test::kHiddenAttribute}});
       },
       {"E-ARCHIVE-ATTRIBUTES"},
       kError,
       "hidden"},
      {"a note that quotes the archive key in other case",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nZipfile: see above\r\nFILESIZE:12\r\n"); },
       {"W-ZIPFILE-CASE-IGNORED"},
       kClean},
      {"a note that quotes the size key in other case",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:12\r\n; filesize: in KB\r\n"); },
       {"W-FILESIZE-CASE-IGNORED"},
       kClean},
      {"a note quoting the archive key before the line it means",
       [](Package& p) {
         Descriptor(p, "; the ZIPFILE: line names the archive\r\nZIPFILE:Install.zip\r\nFILESIZE:12\r\n");
       },
       {"W-ZIPFILE-OVERRIDDEN"},
       kClean},
      {"an archive line replaced by a later one",
       [](Package& p) { Descriptor(p, "ZIPFILE:Old.zip\r\nZIPFILE:Install.zip\r\nFILESIZE:12\r\n"); },
       {"W-ZIPFILE-OVERRIDDEN"},
       kClean,
       "\"Install.zip\""},
      {"a size line replaced by a later one",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:4\r\nFILESIZE:12\r\n"); },
       {"W-FILESIZE-OVERRIDDEN"},
       kClean},
      {"a byte-order mark before the archive key",
       [](Package& p) { Descriptor(p, "\xEF\xBB\xBFZIPFILE:Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-NOT-AT-START"},
       kError,
       "byte-order mark (the bytes EF BB BF"},
      {"a byte-order mark before the size key",
       [](Package& p) {
         Descriptor(p,
                    "\xEF\xBB\xBF"
                    "FILESIZE:12\r\nZIPFILE:Install.zip\r\n");
       },
       {"E-FILESIZE-NOT-AT-START"},
       kError,
       "byte-order mark"},
      {"a folder named display.txt",
       [](Package& p) {
         p.Remove("display.txt");
         fs::create_directory(p.PathOf("display.txt"));
       },
       {"W-WELCOME-MISSING"},
       kClean},
      {"a folder named shrinkli.txt",
       [](Package& p) {
         p.Remove("shrinkli.txt");
         fs::create_directory(p.PathOf("shrinkli.txt"));
       },
       {"E-LICENCE-MISSING"},
       kError},
  };
  for (const Row& row : rows) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    row.change(package);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), row.codes) << row.what;
    EXPECT_EQ(report.ExitStatus(), row.status) << row.what;
    bool said = false;
    for (const kit::Problem& problem : report.problems) {
      said = said || (problem.what + problem.userSees + problem.fix).find(row.said) != std::string::npos;
      EXPECT_FALSE(problem.what.empty() || problem.userSees.empty() || problem.fix.empty()) << row.what;
    }
    EXPECT_TRUE(said) << row.what << ": no problem says " << row.said;
  }
}

// Methods the unpacker extracts are not refused, also where libzip cannot
// read them; paths of the longest length Windows takes pass.
TEST(UnpackerAgreement, WhatTheUnpackerInstallsAsMeantIsNotRefused) {
  const Row rows[] = {
      {"Deflate64", MethodRewrittenTo(9), {"W-ARCHIVE-UNCHECKED"}, kClean, "Deflate64 (method 9)"},
      {"imploded", MethodRewrittenTo(6), {"W-ARCHIVE-UNCHECKED"}, kClean},
      {"shrunk", MethodRewrittenTo(1), {"W-ARCHIVE-UNCHECKED"}, kClean},
      {"stored and deflated",
       [](Package& p) {
         Archive(p, {{"a.txt", "a", ZIP_CM_STORE}, {"b.txt", "b", ZIP_CM_DEFLATE}});
       },
       {},
       kClean},
      {"a file's path of the longest length",
       [](Package& p) {
         Archive(p, {{kLongestFile, "x"}});
       },
       {},
       kClean},
      {"a folder's path of the longest length",
       [](Package& p) {
         Archive(p, {{kLongestFolder + "/", ""}, {kLongestFolder + "/a.txt", "a"}});
       },
       {},
       kClean},
      {"characters of three bytes count one",
       [](Package& p) {
         Archive(p, {{Repeated(kSun, 229), "x"}});
       },
       {},
       kClean},
      {"a read-only folder",
       [](Package& p) {
         Archive(p, {{"maps/", "", ZIP_CM_STORE, true, UnixMode(040555) | 0x10 | kit_test::kReadOnlyAttribute}});
       },
       {},
       kClean},
  };
  for (const Row& row : rows) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    row.change(package);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), row.codes) << row.what;
    EXPECT_EQ(report.ExitStatus(), row.status) << row.what;
    bool said = false;
    for (const kit::Problem& problem : report.problems) {
      said = said || (problem.what + problem.userSees + problem.fix).find(row.said) != std::string::npos;
    }
    EXPECT_TRUE(said || report.problems.empty()) << row.what << ": no problem says " << row.said;
  }
}

// The kit writes no permission of the data folder into the archive: a file
// without write permission installs as any other.
TEST(UnpackerAgreement, TheBuildWritesPlainAttributes) {
  kit_test::TempFolder temp;
  const fs::path data = temp.Path() / "data";
  kit_test::WriteBytes(data / "maps" / "north.dat", "north");
  kit_test::WriteBytes(data / "readme.txt", "read me");
  fs::permissions(data / "readme.txt", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(data / "maps", fs::perms::owner_all);
  kit::BuildOptions options;
  options.dataDir = data.string();
  options.outDir = (temp.Path() / "out").string();
  ASSERT_EQ(kit::BuildPackage(options).status, kit::BuildStatus::kBuilt);

  int code = 0;
  zip_t* archive = zip_open((temp.Path() / "out" / "Install.zip").c_str(), ZIP_RDONLY, &code);
  ASSERT_NE(archive, nullptr);
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    const std::string name = zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    zip_file_get_external_attributes(archive, static_cast<zip_uint64_t>(i), 0, &system, &attributes);
    const bool folder = name.back() == '/';
    EXPECT_EQ(system, ZIP_OPSYS_UNIX) << name;
    EXPECT_EQ(attributes, folder ? UnixMode(040755) | 0x10 : UnixMode(0100644)) << name;
  }
  zip_discard(archive);
  EXPECT_EQ(kit_test::CodesOf(kit::CheckPackage(options.outDir, "Install")),
            (std::vector<std::string>{"E-PROGRAM-MISSING", "E-UNZIP-MISSING", "E-WELCOME-PLACEHOLDER",
                                      "E-LICENCE-PLACEHOLDER"}));
}

}  // namespace
