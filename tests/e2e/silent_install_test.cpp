// Silent installations (/S), operated from outside as a deployment tool
// runs them: each is watched from its start to its end, and no window of the
// program may become visible. Its exit code is read, what the unpacker was
// given is read from the fake unpacker's unzip.log, and the run's own log is
// read back line by line. The sample package installs with the genuine
// unzip.exe and is compared with its source byte for byte.
#include <gtest/gtest.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/setup_screen_steps.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/unattended_steps.h"
#include "unattended/exit_codes.h"

namespace e2e::unattended {
namespace {

constexpr char kLargestPackageKB[] = "2147483647";
constexpr unsigned long long kLargestPackageBytes = 2147483647ull * 1024;
constexpr char kFixtureArchive[] = "sample.zip";
constexpr char kFixtureData[] = "sample";

std::string FixturePath(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

bool DriveCHoldsTheLargestPackage() {
  ULARGE_INTEGER available;
  ULARGE_INTEGER total;
  ULARGE_INTEGER free;
  return ::GetDiskFreeSpaceExA("c:\\", &available, &total, &free) && free.QuadPart >= kLargestPackageBytes;
}

// The sample package (nested folders, blanks in names, binary files) installs
// with the genuine unpacker into a folder whose name holds blanks, every file
// equal to its source.
TEST_F(Unattended, SilentInstallWithTheGenuineUnpackerIsByteForByte) {
  ASSERT_FALSE(Options().unzip.empty()) << "the driver was given no --unzip=PATH";
  ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
  Files().WriteFile(DescriptorName(), DescriptorText(kPackageKB, kArchive));
  ASSERT_TRUE(Files().CopyIn(FixturePath(kFixtureArchive), kArchive));
  ASSERT_TRUE(Files().CopyIn(Options().unzip, kUnpackerFile));

  const std::string target = Target("my installed data");
  EXPECT_EQ(RunSilently("/S /DIR=" + Quoted(target)), std::optional<DWORD>(kExitInstalled));
  const std::string source = FixturePath(kFixtureData);
  ASSERT_GT(TreeOf(source).size(), 100u) << "the sample data at " << source << " is missing";
  EXPECT_EQ(TreeDifferences(source, target), std::vector<std::string>{});
}

// While the unpacker runs for seconds, the program shows nothing at all.
TEST_F(Unattended, NoWindowOfTheProgramShowsWhileTheUnpackerRuns) {
  LayOut(kExtractsSlowly);
  EXPECT_EQ(RunSilently(Quoted("-s") + " " + Quoted("/dir=" + Target())), std::optional<DWORD>(kExitInstalled));
  EXPECT_EQ(UnpackerStarts(), std::vector<std::string>{CommandLineFor(Target())});
  EXPECT_NE(::GetFileAttributesA((Target() + "\\installed.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

enum class Package { kWhole, kNoDescriptor, kNoUnpacker, kLargest, kFailingUnpacker };

struct ExitCase {
  const char* name;
  Package package;
  const char* arguments;  // "TARGET" stands for an installation folder in the case's folder
  int exitCode;
  bool unpackerStarted;
  const char* logResult;  // the meaning on the log's last line
};

void PrintTo(const ExitCase& c, std::ostream* out) { *out << c.name; }
std::string ExitCaseName(const testing::TestParamInfo<ExitCase>& info) { return info.param.name; }

class SilentExitCode : public Unattended, public testing::WithParamInterface<ExitCase> {};

// Each exit code of the table, reached for real; where the run stops before
// the unpacker, the unpacker is not started, and the log's last line gives
// the code and what it means.
TEST_P(SilentExitCode, IsReachedForReal) {
  const ExitCase& c = GetParam();
  if (c.package == Package::kLargest && DriveCHoldsTheLargestPackage()) {
    GTEST_SKIP() << "drive c: has room for the largest package";
  }
  LayOut(c.package == Package::kFailingUnpacker ? kFails : kExtracts,
         c.package == Package::kLargest ? kLargestPackageKB : kPackageKB);
  if (c.package == Package::kNoDescriptor) {
    ASSERT_TRUE(::DeleteFileA(Files().PathOf(DescriptorName()).c_str()));
  }
  if (c.package == Package::kNoUnpacker) {
    ASSERT_TRUE(::DeleteFileA(Files().PathOf(kUnpackerFile).c_str()));
  }

  std::string arguments = c.arguments;
  const size_t target = arguments.find("TARGET");
  if (target != std::string::npos) arguments.replace(target, 6, Target());
  const size_t longTarget = arguments.find("LONG");
  if (longTarget != std::string::npos) arguments.replace(longTarget, 4, Target(std::string(210, 'x')));
  arguments += " /LOG=" + Quoted(LogPath());

  EXPECT_EQ(RunSilently(arguments), std::optional<DWORD>(c.exitCode)) << arguments;
  EXPECT_EQ(UnpackerStarts().size(), c.unpackerStarted ? 1u : 0u) << "the unpacker's starts";
  if (c.exitCode != kExitInstalled) {
    EXPECT_EQ(::GetFileAttributesA(Target().c_str()), INVALID_FILE_ATTRIBUTES) << "something was installed";
  }
  const LogLines log = ReadLog(LogPath());
  ASSERT_FALSE(log.texts.empty());
  EXPECT_EQ(log.texts.back(), "result: exit code " + std::to_string(c.exitCode) + ", " + c.logResult);
}

INSTANTIATE_TEST_SUITE_P(
    Unattended, SilentExitCode,
    testing::Values(
        ExitCase{"Installed", Package::kWhole, "/S /DIR=\"TARGET\"", kExitInstalled, true, TEXT_EXIT_INSTALLED},
        ExitCase{"UnknownSwitch", Package::kWhole, "/S /DIR=\"TARGET\" /QUIET", kExitCommandLine, false,
                 TEXT_EXIT_COMMAND_LINE},
        ExitCase{"SwitchGivenTwice", Package::kWhole, "/S -s", kExitCommandLine, false, TEXT_EXIT_COMMAND_LINE},
        ExitCase{"DescriptorMissing", Package::kNoDescriptor, "/S /DIR=\"TARGET\"", kExitDescriptor, false,
                 TEXT_EXIT_DESCRIPTOR},
        ExitCase{"ParentMissing", Package::kWhole, "/S /DIR=C:\\e2e\\no-such-parent\\target", kExitFolderRefused, false,
                 TEXT_EXIT_FOLDER_REFUSED},
        ExitCase{"DriveRoot", Package::kWhole, "/S /DIR=C:\\", kExitFolderRefused, false, TEXT_EXIT_FOLDER_REFUSED},
        ExitCase{"PathsTooLong", Package::kWhole, "/S \"/DIR=LONG\"", kExitPathsTooLong, false,
                 TEXT_EXIT_PATHS_TOO_LONG},
        ExitCase{"LargerThanTheDrive", Package::kLargest, "/S /DIR=\"TARGET\"", kExitNotEnoughSpace, false,
                 TEXT_EXIT_NOT_ENOUGH_SPACE},
        ExitCase{"NoUnpacker", Package::kNoUnpacker, "/S /DIR=\"TARGET\"", kExitUnpackerNotStarted, false,
                 TEXT_EXIT_UNPACKER_NOT_STARTED},
        ExitCase{"UnpackerFails", Package::kFailingUnpacker, "/S /DIR=\"TARGET\"", kExitUnpackerFailed, true,
                 TEXT_EXIT_UNPACKER_FAILED}),
    ExitCaseName);

// A log that cannot be opened stops the run before anything happens.
TEST_F(Unattended, LogThatCannotBeWrittenIsExitCodeOne) {
  LayOut();
  EXPECT_EQ(RunSilently("/S /DIR=" + Quoted(Target()) + " /LOG=C:\\e2e\\no-such-folder\\setup.log"),
            std::optional<DWORD>(kExitCommandLine));
  EXPECT_TRUE(UnpackerStarts().empty());
  EXPECT_EQ(::GetFileAttributesA(Target().c_str()), INVALID_FILE_ATTRIBUTES);
}

// The log of a success and then of a failure, appended to the same file:
// every step on a line of its own, stamped with the local date and time,
// ending in CR LF.
TEST_F(Unattended, LogOfASuccessThenOfAFailure) {
  LayOut();
  const std::string before = LocalStampNow();
  const std::string arguments = "/S /DIR=" + Quoted(Target()) + " /LOG=" + Quoted(LogPath());
  ASSERT_EQ(RunSilently(arguments), std::optional<DWORD>(kExitInstalled));
  const std::string descriptor = Files().PathOf(DescriptorName());
  const std::vector<std::string> success = {
      "program " + m_case.ProgramPath() + " started, arguments: " + arguments,
      TEXT_LOG_LICENCE_TAKEN,
      "descriptor " + descriptor + " read: archive " + Files().PathOf(kArchive) + ", size 64 KB",
      // the free-space line, checked below
      "installation folder " + Target() + ": accepted",
      "unpacker command line: " + CommandLineFor(Target()),
      "unpacker started, waiting for its end",
      "unpacker ended with exit code 0",
      "result: exit code 0, installed",
  };
  LogLines log = ReadLog(LogPath());
  ASSERT_EQ(log.texts.size(), success.size() + 1) << "one line a step";
  EXPECT_TRUE(InOrder(log.texts, success));
  EXPECT_TRUE(
      std::regex_match(log.texts[3], std::regex(R"(free space of C:\\: \d+ KB, the package needs 64 KB: enough)")))
      << log.texts[3];
  const std::string after = LocalStampNow();
  for (const std::string& stamp : log.stamps) {
    EXPECT_TRUE(before <= stamp && stamp <= after) << stamp << " not between " << before << " and " << after;
  }

  // A second run into the same log: the first run's lines stay.
  Configure(kFails);
  ProgramUnderTest second;
  ASSERT_EQ(RunSilently(arguments, second), std::optional<DWORD>(kExitUnpackerFailed));
  log = ReadLog(LogPath());
  ASSERT_EQ(log.texts.size(), 2 * (success.size() + 1));
  EXPECT_TRUE(InOrder(log.texts, success));
  EXPECT_EQ(std::vector<std::string>(log.texts.end() - 2, log.texts.end()),
            (std::vector<std::string>{"unpacker ended with exit code 3",
                                      "result: exit code 7, the unpacker ended with a nonzero exit code"}));
}

}  // namespace
}  // namespace e2e::unattended
