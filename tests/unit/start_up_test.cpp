#include "unattended/start_up.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/fake_disk.h"
#include "tests/unit/log_fakes.h"
#include "tests/unit/temp_folder.h"
#include "tests/unit/unpacker_fakes.h"
#include "unattended/exit_codes.h"

namespace {

class RecordedScreens : public ProgramScreens {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> proposals;
  int screensExitCode = 0;

  void ShowMessage(const char* text) override { messages.emplace_back(text); }
  int RunScreens(const CString& proposedFolder, RunLog& log) override {
    proposals.push_back(proposedFolder.str());
    log.Line("screens ran");
    return screensExitCode;
  }
};

class StartUpCase : public testing::Test {
 protected:
  StartUpCase() {
    disk.totalFreeBytes = 1ull << 40;
    disk.existing = {"c:"};
    place.programPath = "C:\\Pkg\\Install.exe";
    place.descriptorPath = package.Write("Install.ini", "ZIPFILE:data.zip\r\nFILESIZE:64\r\n");
  }

  int Start(const std::string& arguments) {
    const std::string line = "\"C:\\Pkg\\Install.exe\"" + (arguments.empty() ? "" : " " + arguments);
    return StartUp(line.c_str(), place, StartUpPorts{screens, logFile, clock, disk, unpacker});
  }

  TempFolder package;
  ProgramPlace place;
  RecordedScreens screens;
  MemoryLogFile logFile;
  FixedClock clock;
  FakeDisk disk;
  FakeUnpacker unpacker;
};

TEST_F(StartUpCase, WithoutArgumentsTheScreensAsEverAndNoLog) {
  screens.screensExitCode = 0;
  EXPECT_EQ(Start(""), 0);
  EXPECT_EQ(screens.proposals, std::vector<std::string>{"c:\\data"});
  EXPECT_TRUE(screens.messages.empty());
  EXPECT_TRUE(logFile.opened.empty());
  EXPECT_TRUE(unpacker.started.empty());
}

TEST_F(StartUpCase, FolderAndLogWithTheScreens) {
  EXPECT_EQ(Start("/DIR=\"d:\\my maps\" /LOG=c:\\setup.log"), 0);
  EXPECT_EQ(screens.proposals, std::vector<std::string>{"d:\\my maps"});
  EXPECT_EQ(logFile.opened, std::vector<std::string>{"c:\\setup.log"});
  EXPECT_EQ(logFile.Texts(),
            (std::vector<std::string>{
                "program C:\\Pkg\\Install.exe started, arguments: /DIR=\"d:\\my maps\" /LOG=c:\\setup.log",
                "screens ran", "program ends, exit code 0"}));
}

TEST_F(StartUpCase, SilentRunInstallsWithoutAnyBox) {
  EXPECT_EQ(Start("/S /DIR=c:\\maps /LOG=c:\\setup.log"), kExitInstalled);
  EXPECT_TRUE(screens.messages.empty());
  EXPECT_TRUE(screens.proposals.empty());
  EXPECT_EQ(unpacker.started, std::vector<std::string>{"\"unzip\" -o -q \"data.zip\" -d \"c:\\maps\""});
  ASSERT_FALSE(logFile.Texts().empty());
  EXPECT_EQ(logFile.Texts().front(),
            "program C:\\Pkg\\Install.exe started, arguments: /S /DIR=c:\\maps /LOG=c:\\setup.log");
  EXPECT_EQ(logFile.Texts().back(), "result: exit code 0, installed");
}

TEST_F(StartUpCase, SilentWithoutAFolderInstallsIntoTheProposedOne) {
  EXPECT_EQ(Start("/S"), kExitInstalled);
  EXPECT_EQ(unpacker.started, std::vector<std::string>{"\"unzip\" -o -q \"data.zip\" -d \"c:\\data\""});
}

TEST_F(StartUpCase, UsageAndFaults) {
  struct Case {
    const char* arguments;
    int exitCode;
    const char* boxStartsWith;  // nullptr: no box at all
  };
  const Case cases[] = {
      {"/?", 0, "Usage: Install.exe [/S]"},
      {"-help /DIR=c:\\x", 0, "Usage: Install.exe [/S]"},
      {"/S /?", 0, nullptr},
      {"/X", 1, "Unknown switch: /X\n\nUsage: Install.exe"},
      {"/? /X", 1, "Unknown switch: /X\n\n"},
      {"data", 1, "Not a switch: data\n\n"},
      {"/DIR", 1, "This switch needs a value after its '=': /DIR\n\n"},
      {"/S /S", 1, nullptr},
      {"/X /S", 1, nullptr},
  };
  for (const Case& c : cases) {
    screens.messages.clear();
    EXPECT_EQ(Start(c.arguments), c.exitCode) << c.arguments;
    if (c.boxStartsWith == nullptr) {
      EXPECT_TRUE(screens.messages.empty()) << c.arguments;
    } else {
      ASSERT_EQ(screens.messages.size(), 1u) << c.arguments;
      EXPECT_EQ(screens.messages[0].rfind(c.boxStartsWith, 0), 0u) << c.arguments << ": " << screens.messages[0];
    }
    EXPECT_TRUE(screens.proposals.empty()) << c.arguments;
    EXPECT_TRUE(unpacker.started.empty()) << c.arguments;
  }
}

TEST_F(StartUpCase, FaultyCommandLineIsLoggedWhenTheLogIsGiven) {
  EXPECT_EQ(Start("/S /LOG=c:\\setup.log /Q"), kExitCommandLine);
  EXPECT_EQ(logFile.Texts(),
            (std::vector<std::string>{"program C:\\Pkg\\Install.exe started, arguments: /S /LOG=c:\\setup.log /Q",
                                      "command line not understood: Unknown switch: /Q",
                                      "result: exit code 1, the command line was not understood, or the log cannot "
                                      "be written"}));
  EXPECT_TRUE(unpacker.started.empty());
}

TEST_F(StartUpCase, LogThatCannotBeWrittenStopsBeforeAnything) {
  struct Case {
    const char* arguments;
    bool opens;
    int failFrom;
    bool box;
  };
  const Case cases[] = {
      {"/S /LOG=q:\\none\\setup.log", false, -1, false},
      {"/S /LOG=c:\\read-only.log", true, 0, false},
      {"/LOG=q:\\none\\setup.log", false, -1, true},
  };
  for (const Case& c : cases) {
    logFile = MemoryLogFile();
    logFile.opens = c.opens;
    logFile.failFrom = c.failFrom;
    screens.messages.clear();
    EXPECT_EQ(Start(c.arguments), kExitCommandLine) << c.arguments;
    EXPECT_TRUE(unpacker.started.empty()) << c.arguments;
    EXPECT_TRUE(screens.proposals.empty()) << c.arguments;
    if (c.box) {
      EXPECT_EQ(screens.messages, std::vector<std::string>{"The log file cannot be written: q:\\none\\setup.log"});
    } else {
      EXPECT_TRUE(screens.messages.empty()) << c.arguments;
    }
  }
}

TEST_F(StartUpCase, SilentInstallWhoseLogLostALineIsNotReportedAsDone) {
  logFile.failFrom = 3;
  EXPECT_EQ(Start("/S /LOG=c:\\setup.log"), kExitCommandLine);
  EXPECT_EQ(unpacker.started.size(), 1u);
  // A failed installation keeps its own code.
  logFile = MemoryLogFile();
  logFile.failFrom = 3;
  unpacker.exitCode = 9;
  EXPECT_EQ(Start("/S /LOG=c:\\setup.log"), kExitUnpackerFailed);
}

}  // namespace
