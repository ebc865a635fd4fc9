#include "kit/pack_build.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <vector>

#include "kit/pack_check.h"
#include "kit/templates.h"
#include "kit_test_support.h"
#include "package/descriptor.h"

namespace {

namespace fs = std::filesystem;
using kit_test::ReadBytes;
using kit_test::WriteBytes;

// A small data folder, made in an order other than the sorted one. In 4 KiB
// clusters: 1 byte takes 4 KB, an empty file 0, 4096 bytes 4 KB, 4097 bytes
// 8 KB and 3 bytes 4 KB: 20 KB in all.
constexpr long kDataKB = 20;
const std::vector<std::string> kDataEntries = {"a.txt",     "empty.dat",   "sub/", "sub/b.bin",
                                               "sub/c.bin", "sub/deeper/", "z.txt"};

void MakeData(const fs::path& data) {
  WriteBytes(data / "z.txt", "zzz");
  fs::create_directories(data / "sub" / "deeper");
  WriteBytes(data / "sub" / "c.bin", std::string(4097, 'c'));
  WriteBytes(data / "sub" / "b.bin", std::string(4096, 'b'));
  WriteBytes(data / "empty.dat", "");
  WriteBytes(data / "a.txt", "a");
}

struct StoredEntry {
  std::string name;
  std::string bytes;
  bool deflated = false;
};

// The archive read back with libzip, entry by entry in its stored order.
std::vector<StoredEntry> ReadBack(const fs::path& archivePath) {
  std::vector<StoredEntry> stored;
  int code = 0;
  zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) {
    ADD_FAILURE() << "cannot open " << archivePath;
    return stored;
  }
  for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    EXPECT_EQ(zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat), 0);
    StoredEntry entry{stat.name, std::string(), stat.comp_method == ZIP_CM_DEFLATE};
    zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
    char chunk[4096];
    zip_int64_t read = 0;
    while (file != nullptr && (read = zip_fread(file, chunk, sizeof chunk)) > 0) {
      entry.bytes.append(chunk, static_cast<size_t>(read));
    }
    if (file != nullptr) zip_fclose(file);
    stored.push_back(entry);
  }
  zip_discard(archive);
  return stored;
}

TEST(Build, PacksTheDataFolderAndWritesItsClusterRoundedSize) {
  kit_test::TempFolder temp;
  const fs::path data = temp.Path() / "data";
  const fs::path out = temp.Path() / "out";
  MakeData(data);
  kit_test::WriteProgram(temp.Path() / "setup.exe");
  kit_test::WriteProgram(temp.Path() / "unzip-build.exe", kit_test::UnpackerShape());
  WriteBytes(temp.Path() / "welcome.txt", "FIRSTLINE:Hello\r\nSECONDLINE:Maps\r\nTHIRDLINE:Bye\r\n");
  WriteBytes(temp.Path() / "licence.txt", "Use the maps kindly.\n");

  kit::BuildOptions options;
  options.dataDir = data.string();
  options.outDir = out.string();
  options.programFile = (temp.Path() / "setup.exe").string();
  options.unzipFile = (temp.Path() / "unzip-build.exe").string();
  options.welcomeFile = (temp.Path() / "welcome.txt").string();
  options.licenceFile = (temp.Path() / "licence.txt").string();
  const kit::BuildResult result = kit::BuildPackage(options);
  ASSERT_EQ(result.status, kit::BuildStatus::kBuilt) << result.error;

  EXPECT_EQ(result.sizeKB, static_cast<std::uint64_t>(kDataKB));
  EXPECT_EQ(ReadBytes(out / "Install.ini"), "ZIPFILE:Install.zip\r\nFILESIZE:20\r\n");
  PackageDescriptor descriptor;
  ASSERT_TRUE(ReadPackageDescriptor((out / "Install.ini").c_str(), descriptor));
  EXPECT_EQ(descriptor.requiredKB, kDataKB);
  EXPECT_EQ(descriptor.zipPath.str(), "Install.zip");

  const std::vector<StoredEntry> stored = ReadBack(out / "Install.zip");
  std::vector<std::string> names;
  for (const StoredEntry& entry : stored) {
    names.push_back(entry.name);
    if (entry.name.back() == '/') continue;
    EXPECT_EQ(entry.bytes, ReadBytes(data / entry.name)) << entry.name;
    EXPECT_TRUE(entry.deflated) << entry.name;
  }
  EXPECT_EQ(names, kDataEntries);

  EXPECT_EQ(ReadBytes(out / "Install.exe"), ReadBytes(temp.Path() / "setup.exe"));
  EXPECT_EQ(ReadBytes(out / "unzip.exe"), ReadBytes(temp.Path() / "unzip-build.exe"));
  EXPECT_EQ(ReadBytes(out / "display.txt"), ReadBytes(temp.Path() / "welcome.txt"));
  EXPECT_EQ(ReadBytes(out / "shrinkli.txt"), ReadBytes(temp.Path() / "licence.txt"));
  const kit::CheckReport report = kit::CheckPackage(out.string(), "Install");
  EXPECT_EQ(kit_test::CodesOf(report), std::vector<std::string>());
  EXPECT_EQ(report.summary.unpackedKB, static_cast<std::uint64_t>(kDataKB));
}

TEST(Build, WithoutTheFilesTheCheckListsWhatIsLeftToDo) {
  kit_test::TempFolder temp;
  const fs::path data = temp.Path() / "data";
  const fs::path out = temp.Path() / "out";
  MakeData(data);
  kit::BuildOptions options;
  options.dataDir = data.string();
  options.outDir = out.string();
  options.name = "North Maps";
  ASSERT_EQ(kit::BuildPackage(options).status, kit::BuildStatus::kBuilt);

  EXPECT_EQ(ReadBytes(out / "North Maps.ini"), "ZIPFILE:North Maps.zip\r\nFILESIZE:20\r\n");
  EXPECT_EQ(ReadBytes(out / "display.txt"), kit::kWelcomeTemplate);
  EXPECT_EQ(ReadBytes(out / "shrinkli.txt"), kit::kLicenceTemplate);
  const kit::CheckReport report = kit::CheckPackage(out.string(), "North Maps");
  EXPECT_EQ(kit_test::CodesOf(report), (std::vector<std::string>{"E-PROGRAM-MISSING", "E-UNZIP-MISSING",
                                                                 "E-WELCOME-PLACEHOLDER", "E-LICENCE-PLACEHOLDER"}));
  EXPECT_FALSE(report.summary.welcome.first.IsEmpty());
}

TEST(Build, TheWelcomeTemplatesNotesHoldNoKey) {
  // The program takes a key anywhere in a line: a note quoting one would
  // replace a welcome line.
  const char* const keys[] = {"FIRSTLINE:", "SECONDLINE:", "THIRDLINE:"};
  const std::string text = kit::kWelcomeTemplate;
  int keyLines = 0;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start);
    bool startsWithKey = false;
    for (const char* key : keys) startsWithKey = startsWithKey || line.rfind(key, 0) == 0;
    keyLines += startsWithKey ? 1 : 0;
    if (!startsWithKey) {
      for (const char* key : keys) EXPECT_EQ(line.find(key), std::string::npos) << line;
    }
    start = end == std::string::npos ? text.size() : end + 1;
  }
  EXPECT_EQ(keyLines, 3);
}

TEST(Build, ARebuildKeepsTheFilesItIsNotGiven) {
  kit_test::TempFolder temp;
  const fs::path data = temp.Path() / "data";
  const fs::path out = temp.Path() / "out";
  MakeData(data);
  kit_test::WriteProgram(temp.Path() / "setup.exe");
  kit::BuildOptions options;
  options.dataDir = data.string();
  options.outDir = out.string();
  options.programFile = (temp.Path() / "setup.exe").string();
  ASSERT_EQ(kit::BuildPackage(options).status, kit::BuildStatus::kBuilt);
  WriteBytes(out / "display.txt", "FIRSTLINE:Edited\r\n");
  WriteBytes(data / "more.bin", std::string(1, 'm'));

  options.programFile.clear();
  // The edited file itself given back: it is left as it is.
  options.licenceFile = (out / "shrinkli.txt").string();
  const kit::BuildResult result = kit::BuildPackage(options);
  ASSERT_EQ(result.status, kit::BuildStatus::kBuilt) << result.error;
  EXPECT_EQ(ReadBytes(out / "display.txt"), "FIRSTLINE:Edited\r\n");
  EXPECT_EQ(ReadBytes(out / "Install.exe"), ReadBytes(temp.Path() / "setup.exe"));
  EXPECT_EQ(ReadBytes(out / "shrinkli.txt"), kit::kLicenceTemplate);
  // The new byte takes a cluster of its own.
  EXPECT_EQ(result.sizeKB, static_cast<std::uint64_t>(kDataKB + 4));
}

TEST(Build, AFileThatCannotBeWrittenWholeIsNotPutInPlace) {
  struct Case {
    const char* what;
    void (*breakIt)(const fs::path& out, kit::BuildOptions& options);
    const char* target;
  };
  const Case cases[] = {
      // Opens, then every read fails.
      {"a program that cannot be read to its end",
       [](const fs::path&, kit::BuildOptions& options) { options.programFile = "/proc/self/mem"; }, "Install.exe"},
      {"a folder in the descriptor's place",
       [](const fs::path& out, kit::BuildOptions&) {
         fs::remove(out / "Install.ini");
         WriteBytes(out / "Install.ini" / "note.txt", "x");
       },
       "Install.ini"},
      {"a folder in the licence's place",
       [](const fs::path& out, kit::BuildOptions&) {
         fs::remove(out / "shrinkli.txt");
         WriteBytes(out / "shrinkli.txt" / "note.txt", "x");
       },
       "shrinkli.txt"},
  };
  for (const Case& c : cases) {
    kit_test::TempFolder temp;
    const fs::path data = temp.Path() / "data";
    const fs::path out = temp.Path() / "out";
    MakeData(data);
    kit_test::WriteProgram(temp.Path() / "setup.exe");
    kit::BuildOptions options;
    options.dataDir = data.string();
    options.outDir = out.string();
    options.programFile = (temp.Path() / "setup.exe").string();
    ASSERT_EQ(kit::BuildPackage(options).status, kit::BuildStatus::kBuilt) << c.what;
    const std::string before = ReadBytes(out / "Install.exe");

    c.breakIt(out, options);
    const kit::BuildResult result = kit::BuildPackage(options);
    EXPECT_EQ(result.status, kit::BuildStatus::kFailed) << c.what;
    EXPECT_NE(result.error.find(c.target), std::string::npos) << c.what << ": " << result.error;
    // The program of the earlier build stays whole.
    EXPECT_EQ(ReadBytes(out / "Install.exe"), before) << c.what;
    EXPECT_EQ(kit_test::PartialFilesIn(out), std::vector<std::string>()) << c.what;
  }
}

TEST(Build, RefusesWhatCannotMakeAPackage) {
  struct Case {
    const char* what;
    void (*prepare)(const fs::path& data);
    std::string outUnderData;  // the package folder, relative to the data folder; empty: beside it
    std::string name;
    kit::BuildStatus status;
  };
  const auto none = [](const fs::path&) {};
  const auto colon = [](const fs::path& data) { WriteBytes(data / "sub" / "a:b.txt", "x"); };
  const auto backslash = [](const fs::path& data) { WriteBytes(data / "a\\b.txt", "x"); };
  const auto empty = [](const fs::path& data) {
    fs::remove_all(data);
    fs::create_directories(data);
  };
  const auto missing = [](const fs::path& data) { fs::remove_all(data); };
  const auto folderLink = [](const fs::path& data) { fs::create_directory_symlink(data / "sub", data / "link"); };
  const Case cases[] = {
      {"no data folder", missing, "", "Install", kit::BuildStatus::kBadArgument},
      {"package folder is the data folder", none, ".", "Install", kit::BuildStatus::kBadArgument},
      {"package folder inside the data folder", none, "sub/out", "Install", kit::BuildStatus::kBadArgument},
      {"name with a folder", none, "", "a/b", kit::BuildStatus::kBadArgument},
      {"name ending in a blank", none, "", "Install ", kit::BuildStatus::kBadArgument},
      {"data name with a colon", colon, "", "Install", kit::BuildStatus::kFailed},
      {"data name with a backslash", backslash, "", "Install", kit::BuildStatus::kFailed},
      {"link to a folder", folderLink, "", "Install", kit::BuildStatus::kFailed},
      {"empty data folder", empty, "", "Install", kit::BuildStatus::kFailed},
  };
  for (const Case& c : cases) {
    kit_test::TempFolder temp;
    const fs::path data = temp.Path() / "data";
    MakeData(data);
    c.prepare(data);
    kit::BuildOptions options;
    options.dataDir = data.string();
    options.outDir = (c.outUnderData.empty() ? temp.Path() / "out" : data / c.outUnderData).string();
    options.name = c.name;
    const kit::BuildResult result = kit::BuildPackage(options);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_FALSE(result.error.empty()) << c.what;
    EXPECT_FALSE(fs::exists(fs::path(options.outDir) / (c.name + ".zip"))) << c.what;
  }
  kit_test::TempFolder temp;
  MakeData(temp.Path() / "data");
  kit::BuildOptions options;
  options.dataDir = (temp.Path() / "data").string();
  options.outDir = (temp.Path() / "out").string();
  options.welcomeFile = (temp.Path() / "no-such-welcome.txt").string();
  EXPECT_EQ(kit::BuildPackage(options).status, kit::BuildStatus::kBadArgument);
}

}  // namespace
