#include "kit/pack_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/templates.h"
#include "kit_test_support.h"
#include "res/texts.h"

namespace {

using kit_test::Package;

// Bytes that deflate cannot shrink, so that the archive stores them as they
// are and a changed byte in the middle damages the entry's data.
std::string IncompressibleBytes(size_t count) {
  constexpr std::uint32_t kMultiplier = 1664525;
  constexpr std::uint32_t kIncrement = 1013904223;
  constexpr int kHighByteShift = 24;
  std::uint32_t state = 1;
  std::string bytes;
  for (size_t i = 0; i < count; ++i) {
    state = state * kMultiplier + kIncrement;
    bytes += static_cast<char>(state >> kHighByteShift);
  }
  return bytes;
}

constexpr size_t kDamagedEntryBytes = 4000;
constexpr unsigned char kAllBits = 0xFF;

void DamageArchiveData(const Package& package) {
  package.Archive({{"random.bin", IncompressibleBytes(kDamagedEntryBytes)}});
  std::string bytes = kit_test::ReadBytes(package.PathOf("Install.zip"));
  bytes[kDamagedEntryBytes / 2] = static_cast<char>(bytes[kDamagedEntryBytes / 2] ^ kAllBits);
  package.Write("Install.zip", bytes);
  package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:4\r\n");
}

std::string ArchiveCut(const Package& package) {
  const std::string bytes = kit_test::ReadBytes(package.PathOf("Install.zip"));
  return bytes.substr(0, bytes.size() / 2);
}

struct Row {
  const char* what;
  std::function<void(Package&)> breakIt;
  std::vector<std::string> codes;  // exactly the problems reported, in order
  int status;
};

void Descriptor(Package& p, const std::string& bytes) { p.Write("Install.ini", bytes); }

const std::string kLongFolderName(100, 'f');

TEST(Check, EachProblemOfTheBrokenPackageIsReportedWithItsCodeAndClass) {
  const int kError = kit::kExitHasProblems;
  const int kClean = kit::kExitInstallsAsMeant;
  const Row rows[] = {
      {"no program", [](Package& p) { p.Remove("Install.exe"); }, {"E-PROGRAM-MISSING"}, kError},
      {"no descriptor", [](Package& p) { p.Remove("Install.ini"); }, {"E-DESCRIPTOR-MISSING"}, kError},
      {"no archive key", [](Package& p) { Descriptor(p, "FILESIZE:12\r\n"); }, {"E-ZIPFILE-MISSING"}, kError},
      {"blank before the archive",
       [](Package& p) { Descriptor(p, "ZIPFILE: Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-BLANKS"},
       kError},
      {"blank after the archive",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip \r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-BLANKS"},
       kError},
      {"stray CR after the archive",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-BLANKS"},
       kError},
      {"archive key after a blank",
       [](Package& p) { Descriptor(p, " ZIPFILE:Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-NOT-AT-START"},
       kError},
      {"note quoting the archive key last",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:12\r\n; the ZIPFILE: line names it\r\n"); },
       {"E-ZIPFILE-NOT-AT-START"},
       kError},
      {"archive key in lower case",
       [](Package& p) { Descriptor(p, "zipfile:Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-CASE"},
       kError},
      {"archive on a drive",
       [](Package& p) { Descriptor(p, "ZIPFILE:C:\\Pkg\\Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-ABSOLUTE"},
       kError},
      {"archive from the root",
       [](Package& p) { Descriptor(p, "ZIPFILE:\\Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-ABSOLUTE"},
       kError},
      {"archive from the root, slash",
       [](Package& p) { Descriptor(p, "ZIPFILE:/Install.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-ABSOLUTE"},
       kError},
      {"archive not there",
       [](Package& p) { Descriptor(p, "ZIPFILE:Other.zip\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-NO-FILE"},
       kError},
      {"archive value empty",
       [](Package& p) { Descriptor(p, "ZIPFILE:\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-NO-FILE"},
       kError},
      {"archive value names a folder",
       [](Package& p) { Descriptor(p, "ZIPFILE:maps\r\nFILESIZE:12\r\n"); },
       {"E-ZIPFILE-NO-FILE"},
       kError},
      {"no size key", [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\n"); }, {"E-FILESIZE-MISSING"}, kError},
      {"size key in lower case",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nfilesize:12\r\n"); },
       {"E-FILESIZE-CASE"},
       kError},
      {"size key after a blank",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\n FILESIZE:12\r\n"); },
       {"E-FILESIZE-NOT-AT-START"},
       kError},
      {"size not a number",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:twelve\r\n"); },
       {"E-FILESIZE-NOT-A-NUMBER"},
       kError},
      {"size empty",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:\r\n"); },
       {"E-FILESIZE-NOT-A-NUMBER"},
       kError},
      {"size negative",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:-12\r\n"); },
       {"E-FILESIZE-NEGATIVE"},
       kError},
      {"size one kilobyte short",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:11\r\n"); },
       {"E-FILESIZE-TOO-SMALL"},
       kError},
      {"size of the bytes, not the clusters",
       [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:5\r\n"); },
       {"E-FILESIZE-TOO-SMALL"},
       kError},
      {"no unpacker", [](Package& p) { p.Remove("unzip.exe"); }, {"E-UNZIP-MISSING"}, kError},
      {"archive is text",
       [](Package& p) { p.Write("Install.zip", "not an archive\r\n"); },
       {"E-ARCHIVE-UNREADABLE"},
       kError},
      {"archive cut in half",
       [](Package& p) { p.Write("Install.zip", ArchiveCut(p)); },
       {"E-ARCHIVE-UNREADABLE"},
       kError},
      {"archive data damaged", [](Package& p) { DamageArchiveData(p); }, {"E-ARCHIVE-UNREADABLE"}, kError},
      {"entries outside the folder",
       [](Package& p) {
         p.Archive({{"../up.txt", "x"},
                    {"maps/../../up.txt", "x"},
                    {"maps\\..\\..\\up.txt", "x"},
                    {"/root.txt", "x"},
                    {"\\root.txt", "x"},
                    {"C:drive.txt", "x"},
                    {"maps/..", "x"}});
         Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:28\r\n");
       },
       std::vector<std::string>(7, "E-ARCHIVE-UNSAFE-ENTRY"), kError},
      {"package folder with a long name",
       [](Package& p) { p.Rename(kLongFolderName); },
       {"E-COMMAND-TOO-LONG"},
       kError},
      {"no welcome file", [](Package& p) { p.Remove("display.txt"); }, {"W-WELCOME-MISSING"}, kClean},
      {"welcome keys in lower case",
       [](Package& p) { p.Write("display.txt", "firstline:Welcome\r\nsecondline:Hello\r\nthirdline:Bye\r\n"); },
       {"E-WELCOME-NO-KEYS"},
       kError},
      {"welcome keys without text",
       [](Package& p) { p.Write("display.txt", "FIRSTLINE:\r\nSECONDLINE:   \r\nTHIRDLINE:\r\n"); },
       {"E-WELCOME-NO-KEYS"},
       kError},
      {"welcome without a third line",
       [](Package& p) { p.Write("display.txt", "FIRSTLINE:Welcome\r\nSECONDLINE:Hello\r\n"); },
       {"W-WELCOME-LINE-EMPTY"},
       kClean},
      {"welcome template",
       [](Package& p) { p.Write("display.txt", kit::kWelcomeTemplate); },
       {"E-WELCOME-PLACEHOLDER"},
       kError},
      {"no licence file", [](Package& p) { p.Remove("shrinkli.txt"); }, {"E-LICENCE-MISSING"}, kError},
      {"licence file empty", [](Package& p) { p.Write("shrinkli.txt", ""); }, {"E-LICENCE-EMPTY"}, kError},
      {"licence template",
       [](Package& p) { p.Write("shrinkli.txt", kit::kLicenceTemplate); },
       {"E-LICENCE-PLACEHOLDER"},
       kError},
  };
  for (const Row& row : rows) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    row.breakIt(package);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), row.codes) << row.what;
    EXPECT_EQ(report.ExitStatus(), row.status) << row.what;
    for (const kit::Problem& problem : report.problems) {
      EXPECT_FALSE(problem.what.empty() || problem.userSees.empty() || problem.fix.empty()) << row.what;
    }
  }
}

TEST(Check, PackagesThatInstallAsMeantHaveNoProblems) {
  struct Variant {
    const char* what;
    std::function<void(Package&)> change;
  };
  const Variant variants[] = {
      {"as made", [](Package&) {}},
      {"archive in a subfolder, named with a backslash",
       [](Package& p) {
         p.Archive({{"readme.txt", "ten bytes!"}}, "data/Install.zip");
         Descriptor(p, "ZIPFILE:data\\Install.zip\r\nFILESIZE:4\r\n");
       }},
      {"LF line ends, a note line and a unit after the size",
       [](Package& p) { Descriptor(p, "; map package\nZIPFILE:Install.zip\nFILESIZE:12 KB\n"); }},
      {"size larger than needed", [](Package& p) { Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:20480\r\n"); }},
      {"dots inside names are no parent folder",
       [](Package& p) {
         p.Archive({{"a..b.txt", "x"}, {"..hidden/", ""}, {"notes..old/x.txt", "x"}});
         Descriptor(p, "ZIPFILE:Install.zip\r\nFILESIZE:8\r\n");
       }},
      {"a blank inside the archive's name",
       [](Package& p) {
         p.Archive({{"readme.txt", "ten bytes!"}}, "North Maps.zip");
         Descriptor(p, "ZIPFILE:North Maps.zip\r\nFILESIZE:4\r\n");
       }},
  };
  for (const Variant& variant : variants) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    variant.change(package);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), std::vector<std::string>()) << variant.what;
    EXPECT_EQ(report.ExitStatus(), kit::kExitInstallsAsMeant) << variant.what;
  }
}

TEST(Check, SummaryShowsWhatTheProgramWillShow) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  // 21503 KB is 20 MB and 1023 KB: the megabytes drop the remainder.
  package.Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:21503\r\n");
  const kit::PackageSummary s = package.Check().summary;
  EXPECT_EQ(s.archivePath, package.PathOf("Install.zip").string());
  EXPECT_EQ(s.requiredKB, 21503);
  EXPECT_EQ(s.requiredMB, 20);
  EXPECT_EQ(s.unpackedKB, static_cast<std::uint64_t>(Package::kUnpackedKB));
  EXPECT_EQ(s.archiveFiles, 3u);
  EXPECT_EQ(s.welcome.first.str(), "Welcome");
  EXPECT_EQ(s.welcome.second.str(), "North coast charts");  // leading blanks trimmed, as shown
  EXPECT_EQ(s.welcome.third.str(), "Support: example.org");
  // "Line one", CR CR LF, "Line two": the last line has no line end.
  EXPECT_EQ(s.licenceLength, 19);
  EXPECT_TRUE(s.commandFits);
  EXPECT_EQ(s.typicalInstallFolder, "C:\\Program Files\\Install Data");
  EXPECT_EQ(s.silentCommand, "Install.exe /S /DIR=\"C:\\Program Files\\Install Data\"");
  EXPECT_EQ(s.typicalProgramFolder.substr(s.typicalProgramFolder.size() - 5), "\\pkg\\");
}

TEST(Check, WithoutWelcomeFileTheProgramsOwnLinesAreShown) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  package.Remove("display.txt");
  const kit::PackageSummary s = package.Check().summary;
  EXPECT_TRUE(s.welcomeFromProgram);
  EXPECT_EQ(s.welcome.first.str(), TEXT_WELCOME_1);
  EXPECT_EQ(s.welcome.second.str(), TEXT_WELCOME_2);
  EXPECT_EQ(s.welcome.third.str(), TEXT_WELCOME_3);
}

TEST(Check, AMissingDescriptorStillShowsTheLicenceScreensTexts) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  package.Remove("Install.ini");
  package.Remove("shrinkli.txt");
  const kit::CheckReport report = package.Check();
  EXPECT_FALSE(report.summary.descriptorRead);
  EXPECT_EQ(report.summary.welcome.first.str(), "Welcome");
  EXPECT_EQ(kit_test::CodesOf(report), (std::vector<std::string>{"E-DESCRIPTOR-MISSING", "E-LICENCE-MISSING"}));
}

}  // namespace
