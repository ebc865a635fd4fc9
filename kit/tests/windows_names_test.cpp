// Names Windows does not create as they are written: `setup-pack build`
// refuses them in a data folder, `setup-pack check` reports them in an
// archive, each with its code; names in any script that Windows does create
// pass both.
#include <gtest/gtest.h>

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

// Writes each path into `data`: a folder when it ends with '/', else a file
// holding its own name.
void MakePaths(const fs::path& data, const std::vector<std::string>& paths) {
  fs::create_directories(data);
  for (const std::string& path : paths) {
    if (path.back() == '/') {
      fs::create_directories(data / path);
    } else {
      kit_test::WriteBytes(data / path, path);
    }
  }
}

kit::BuildResult BuildFrom(const kit_test::TempFolder& temp, const std::vector<std::string>& paths) {
  const fs::path data = temp.Path() / "data";
  MakePaths(data, paths);
  kit_test::WriteBytes(data / "plain.txt", "a name Windows creates");
  kit::BuildOptions options;
  options.dataDir = data.string();
  options.outDir = (temp.Path() / "out").string();
  return kit::BuildPackage(options);
}

struct NameRow {
  const char* what;
  std::vector<std::string> paths;
  const char* code;
};

// Every fault Windows or the unpacker makes of a name: a device in its
// place, a character dropped or replaced, an end cut off, two names merged.
const NameRow kFaultyNames[] = {
    {"a device name with an extension", {"aux.txt"}, "E-NAME-RESERVED"},
    {"a device name without one", {"maps/nul"}, "E-NAME-RESERVED"},
    {"a device name as a folder, in capitals", {"CON/readme.txt"}, "E-NAME-RESERVED"},
    {"a device name with two extensions", {"nul.tar.gz"}, "E-NAME-RESERVED"},
    {"a numbered device", {"com1.log"}, "E-NAME-RESERVED"},
    {"a numbered device with a superscript digit", {"LPT\xC2\xB2.txt"}, "E-NAME-RESERVED"},
    {"a device name with a blank before the dot", {"prn .txt"}, "E-NAME-RESERVED"},
    {"the console's output", {"CONOUT$"}, "E-NAME-RESERVED"},
    {"a trailing dot", {"notes."}, "E-NAME-TRAILING"},
    {"a trailing blank", {"notes "}, "E-NAME-TRAILING"},
    {"a folder with a trailing dot", {"maps./north.dat"}, "E-NAME-TRAILING"},
    {"a colon", {"a:b.txt"}, "E-NAME-CHARACTER"},
    {"an asterisk", {"a*b.txt"}, "E-NAME-CHARACTER"},
    {"a question mark", {"why?.txt"}, "E-NAME-CHARACTER"},
    {"a double quote", {"say \"hi\".txt"}, "E-NAME-CHARACTER"},
    {"angle brackets", {"<tag>.txt"}, "E-NAME-CHARACTER"},
    {"a bar", {"a|b.txt"}, "E-NAME-CHARACTER"},
    {"a backslash", {"a\\b.txt"}, "E-NAME-CHARACTER"},
    {"a control character", {"bell\x07.txt"}, "E-NAME-CHARACTER"},
    {"a version number", {"notes;2"}, "E-NAME-VERSION"},
    {"a semicolon at the end", {"notes;"}, "E-NAME-VERSION"},
    {"two names in other case", {"README.txt", "Readme.txt"}, "E-NAME-CASE"},
    {"a file beside a folder in other case", {"x", "X/y.txt"}, "E-NAME-CASE"},
    {"accented letters in other case", {"Caf\xC3\xA9.txt", "CAF\xC3\x89.txt"}, "E-NAME-CASE"},
    {"Greek folders in other case", {"\xCE\xA9mega/a.txt", "\xCF\x89mega/b.txt"}, "E-NAME-CASE"},
    {"Cyrillic in other case",
     {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0.txt", "\xD0\x9C\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90.txt"},
     "E-NAME-CASE"},
    {"bytes that are not UTF-8", {"caf\xE9.txt"}, "E-NAME-NOT-UTF8"},
};

// Names Windows creates as written, in several scripts, close to the faults.
const std::vector<std::string> kSoundNames = {
    "auxiliary.txt",
    "con-tents.txt",
    "COM10.txt",
    "LPT.txt",
    "nul_",
    "a.b.c",
    "a;b.txt",
    ".hidden",
    "notes..old/x.txt",
    "R\xC3\xA9gion \xC3\x8Ele/caf\xC3\xA9.txt",                           // Région Île/café.txt
    "\xCE\xA9mega/\xCE\x9A\xCF\x8D\xCF\x80\xCF\x81\xCE\xBF\xCF\x82.txt",  // Ωmega/Κύπρος.txt
    "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0/\xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD0\xB0.txt",  // Москва/карта.txt
    "\xE6\x97\xA5\xE6\x9C\xAC/\xE5\x9C\xB0\xE5\x9B\xB3.txt",  // 日本/地図.txt
    "legend \xF0\x9F\x97\xBA.txt",                            // a character beyond U+FFFF
    "Stra\xC3\x9F"
    "e.txt",  // Straße beside STRASSE: two names on Windows
    "STRASSE.txt",
};

TEST(BuildNames, RefusesANameWindowsDoesNotCreateAsWritten) {
  for (const NameRow& row : kFaultyNames) {
    kit_test::TempFolder temp;
    const kit::BuildResult result = BuildFrom(temp, row.paths);
    EXPECT_EQ(result.status, kit::BuildStatus::kFailed) << row.what;
    EXPECT_NE(result.error.find(std::string("\n") + row.code + ": "), std::string::npos)
        << row.what << ": " << result.error;
    EXPECT_FALSE(fs::exists(temp.Path() / "out" / "Install.zip")) << row.what;
  }
}

TEST(BuildNames, NamesWindowsCreatesInAnyScriptAreBuiltAndPassTheCheck) {
  kit_test::TempFolder temp;
  const kit::BuildResult result = BuildFrom(temp, kSoundNames);
  ASSERT_EQ(result.status, kit::BuildStatus::kBuilt) << result.error;
  const kit::CheckReport report = kit::CheckPackage((temp.Path() / "out").string(), "Install");
  EXPECT_EQ(kit_test::CodesOf(report), (std::vector<std::string>{"E-PROGRAM-MISSING", "E-UNZIP-MISSING",
                                                                 "E-WELCOME-PLACEHOLDER", "E-LICENCE-PLACEHOLDER"}));
}

TEST(BuildNames, EveryFaultIsListedAtOnce) {
  kit_test::TempFolder temp;
  const kit::BuildResult result = BuildFrom(temp, {"aux.txt", "nul/a.txt", "nul/b.txt", "a.", "b.", "c;1"});
  ASSERT_EQ(result.status, kit::BuildStatus::kFailed);
  // The folder nul once, not again for its files.
  EXPECT_EQ(kit_test::ProblemLines("\n" + result.error).size(), 5u) << result.error;
}

// The same names in an archive made by another tool, in a folder (a name
// with a colon at the start would name a drive).
TEST(CheckNames, ReportsANameWindowsDoesNotCreateAsWritten) {
  for (const NameRow& row : kFaultyNames) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    std::vector<ForeignEntry> entries;
    for (const std::string& path : row.paths) entries.push_back({"maps/" + path, path});
    kit_test::WriteForeignArchive(package.PathOf("Install.zip"), entries);
    package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:100\r\n");
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), std::vector<std::string>{row.code}) << row.what;
    EXPECT_EQ(report.ExitStatus(), kit::kExitHasProblems) << row.what;
  }
}

TEST(CheckNames, ANameBeyondAsciiNotMarkedUtf8IsReportedOnceForAll) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  // As Info-ZIP's zip writes names on Linux: the UTF-8 bytes, unmarked.
  kit_test::WriteForeignArchive(package.PathOf("Install.zip"),
                                {{"R\xC3\xA9gion/", "", ZIP_CM_STORE, false},
                                 {"R\xC3\xA9gion/caf\xC3\xA9.txt", "x", ZIP_CM_DEFLATE, false},
                                 {"plain.txt", "x", ZIP_CM_DEFLATE, false}});
  package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:100\r\n");
  const kit::CheckReport report = package.Check();
  ASSERT_EQ(kit_test::CodesOf(report), std::vector<std::string>{"E-NAME-NOT-UTF8"});
  for (const kit::Problem& problem : report.problems) {
    if (kit::InfoOf(problem.kind).code != std::string("E-NAME-NOT-UTF8")) continue;
    EXPECT_EQ(problem.what.rfind("2 of the archive's entries, the first \"R\xC3\xA9gion/\"", 0), 0u) << problem.what;
  }
}

TEST(CheckNames, AFolderAtFaultIsReportedOnceNotForWhatIsInIt) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  kit_test::WriteForeignArchive(package.PathOf("Install.zip"), {{"nul/", ""},
                                                                {"nul/a.txt", "a"},
                                                                {"nul/b.txt", "b"},
                                                                {"Maps/", ""},
                                                                {"Maps/x", "x"},
                                                                {"maps/y", "y"},
                                                                {"maps/z", "z"}});
  package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:100\r\n");
  EXPECT_EQ(kit_test::CodesOf(package.Check()), (std::vector<std::string>{"E-NAME-RESERVED", "E-NAME-CASE"}));
}

}  // namespace
