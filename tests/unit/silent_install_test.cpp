#include "unattended/silent_install.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/unit/fake_disk.h"
#include "tests/unit/log_fakes.h"
#include "tests/unit/temp_folder.h"
#include "tests/unit/unpacker_fakes.h"
#include "unattended/exit_codes.h"

namespace {

constexpr std::uint64_t kKB = 1024;
constexpr char kDescriptor[] = "ZIPFILE:data.zip\r\nFILESIZE:20480\r\n";
// The descriptor's path has no backslash here, so the program folder is
// empty and the package's files are named bare.
constexpr char kCommandLine[] = "\"unzip\" -o -q \"data.zip\" -d \"c:\\data\"";

class SilentInstall : public testing::Test {
 protected:
  SilentInstall() {
    disk.totalFreeBytes = 1024 * 1024 * kKB;
    disk.existing = {"c:", "d:"};
  }

  int Run(const std::string& folder = "c:\\data", const char* descriptor = kDescriptor) {
    SilentRequest request;
    request.descriptorPath = package.PathOf("Install.ini");
    if (descriptor != nullptr) {
      package.Write("Install.ini", descriptor);
    } else {
      std::filesystem::remove(request.descriptorPath.str());
    }
    request.folder = folder;
    RunLog log(logFile, clock);
    return RunSilentInstall(request, disk, unpacker, log);
  }

  TempFolder package;
  FakeDisk disk;
  FakeUnpacker unpacker;
  MemoryLogFile logFile;
  FixedClock clock;
};

TEST_F(SilentInstall, EveryExitCodeOfTheTable) {
  struct Case {
    const char* what;
    const char* descriptor;  // nullptr: missing
    std::string folder;
    std::optional<std::uint64_t> freeBytes;  // nothing: cannot be read
    bool starts;
    bool canBeWatched;
    unsigned long unpackerExitCode;
    int expected;
    bool unpackerStarted;
  };
  const std::uint64_t enough = 20480 * kKB;
  const Case cases[] = {
      {"installed", kDescriptor, "c:\\data", enough, true, true, 0, kExitInstalled, true},
      {"free space unknown goes on", kDescriptor, "c:\\data", std::nullopt, true, true, 0, kExitInstalled, true},
      {"no size, full disk", "ZIPFILE:data.zip\r\n", "c:\\data", 0, true, true, 0, kExitInstalled, true},
      {"descriptor missing", nullptr, "c:\\data", enough, true, true, 0, kExitDescriptor, false},
      {"one kilobyte short", kDescriptor, "c:\\data", enough - kKB, true, true, 0, kExitNotEnoughSpace, false},
      // Free space comes first, as on the screen.
      {"short and refused", kDescriptor, "c:\\new\\sub", enough - 1, true, true, 0, kExitNotEnoughSpace, false},
      {"parent missing", kDescriptor, "c:\\new\\sub", enough, true, true, 0, kExitFolderRefused, false},
      {"drive root", kDescriptor, "c:\\", enough, true, true, 0, kExitFolderRefused, false},
      {"blanks and backslashes only", kDescriptor, " \\\\ ", enough, true, true, 0, kExitFolderRefused, false},
      {"a double quote", kDescriptor, "c:\\my \"data\"", enough, true, true, 0, kExitFolderRefused, false},
      // The folder check comes before the command line's length.
      {"refused and long", kDescriptor, "e:\\" + std::string(250, 'f'), enough, true, true, 0, kExitFolderRefused,
       false},
      {"paths too long", kDescriptor, "c:\\" + std::string(250, 'f'), enough, true, true, 0, kExitPathsTooLong, false},
      {"not started", kDescriptor, "c:\\data", enough, false, true, 0, kExitUnpackerNotStarted, true},
      {"cannot be watched", kDescriptor, "c:\\data", enough, true, false, 0, kExitUnpackerNotStarted, true},
      {"unpacker failed", kDescriptor, "c:\\data", enough, true, true, 9, kExitUnpackerFailed, true},
      {"unpacker crashed", kDescriptor, "c:\\data", enough, true, true, 0xC0000005, kExitUnpackerFailed, true},
  };
  for (const Case& c : cases) {
    FakeDisk caseDisk;
    caseDisk.totalFreeBytes = c.freeBytes;
    caseDisk.existing = disk.existing;
    disk = caseDisk;
    unpacker = FakeUnpacker();
    unpacker.starts = c.starts;
    unpacker.canBeWatched = c.canBeWatched;
    unpacker.exitCode = c.unpackerExitCode;
    EXPECT_EQ(Run(c.folder, c.descriptor), c.expected) << c.what;
    EXPECT_EQ(!unpacker.started.empty(), c.unpackerStarted) << c.what;
  }
}

TEST_F(SilentInstall, SameCommandLineAsTheScreenAndTheDriveOfTheFolderAsGiven) {
  ASSERT_EQ(Run(" d:\\maps\\\\ "), kExitInstalled);
  // The first three characters of what was given, as the screen takes them.
  EXPECT_EQ(disk.rootsAsked.front(), " d:");
  ASSERT_EQ(unpacker.started.size(), 1u);
  EXPECT_EQ(unpacker.started[0], "\"unzip\" -o -q \"data.zip\" -d \"d:\\maps\"");
  unpacker.started.clear();
  ASSERT_EQ(Run(), kExitInstalled);
  EXPECT_EQ(unpacker.started, std::vector<std::string>{kCommandLine});
}

TEST_F(SilentInstall, LogOfASuccessEachLineWrittenBeforeTheNextStep) {
  size_t linesAtStart = 0;
  size_t linesAtWait = 0;
  unpacker.onStart = [&] { linesAtStart = logFile.writes.size(); };
  unpacker.onWait = [&] { linesAtWait = logFile.writes.size(); };
  ASSERT_EQ(Run(), kExitInstalled);
  const std::vector<std::string> expected = {
      "silent installation: the licence counts as accepted by whoever deploys the package",
      "descriptor " + package.PathOf("Install.ini") + " read: archive data.zip, size 20480 KB",
      "free space of c:\\: 1048576 KB, the package needs 20480 KB: enough",
      "installation folder c:\\data: accepted",
      std::string("unpacker command line: ") + kCommandLine,
      "unpacker started, waiting for its end",
      "unpacker ended with exit code 0",
      "result: exit code 0, installed",
  };
  EXPECT_EQ(logFile.Texts(), expected);
  EXPECT_EQ(linesAtStart, 5u);
  EXPECT_EQ(linesAtWait, 6u);
}

TEST_F(SilentInstall, LogOfFailuresNamesWhatStoppedTheRun) {
  struct Case {
    const char* what;
    std::string folder;
    std::optional<std::uint64_t> freeBytes;
    bool starts;
    unsigned long unpackerExitCode;
    std::vector<std::string> lastLines;
  };
  const Case cases[] = {
      {"unpacker failed",
       "c:\\data",
       1024 * 1024 * kKB,
       true,
       9,
       {"unpacker ended with exit code 9", "result: exit code 7, the unpacker ended with a nonzero exit code"}},
      {"not started",
       "c:\\data",
       1024 * 1024 * kKB,
       false,
       0,
       {"unpacker could not be started (system error 2)", "result: exit code 6, the unpacker could not be started"}},
      {"short",
       "c:\\data",
       10 * kKB,
       true,
       0,
       {"free space of c:\\: 10 KB, the package needs 20480 KB: not enough",
        "result: exit code 5, not enough free space on the target drive"}},
      {"unknown free space",
       "c:\\new\\sub",
       std::nullopt,
       true,
       0,
       {"free space of c:\\ cannot be read: going on (the package needs 20480 KB)",
        "installation folder c:\\new\\sub: refused, its parent does not exist",
        "result: exit code 3, the installation folder is refused"}},
      {"too long",
       "c:\\" + std::string(250, 'f'),
       1024 * 1024 * kKB,
       true,
       0,
       {"unpacker command line too long: the three paths take 266 characters, at most 242 fit",
        "result: exit code 4, the paths are too long for the unpacker's command line"}},
  };
  for (const Case& c : cases) {
    disk.totalFreeBytes = c.freeBytes;
    unpacker.starts = c.starts;
    unpacker.exitCode = c.unpackerExitCode;
    logFile.writes.clear();
    Run(c.folder);
    const std::vector<std::string> texts = logFile.Texts();
    ASSERT_GE(texts.size(), c.lastLines.size()) << c.what;
    EXPECT_EQ(std::vector<std::string>(texts.end() - static_cast<long>(c.lastLines.size()), texts.end()), c.lastLines)
        << c.what;
  }
}

TEST_F(SilentInstall, MissingDescriptorIsLoggedAndNothingElseIsAsked) {
  EXPECT_EQ(Run("c:\\data", nullptr), kExitDescriptor);
  EXPECT_TRUE(disk.rootsAsked.empty());
  const std::vector<std::string> texts = logFile.Texts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1], "descriptor " + package.PathOf("Install.ini") + " cannot be read");
  EXPECT_EQ(texts[2], "result: exit code 2, the descriptor is missing or cannot be read");
}

}  // namespace
