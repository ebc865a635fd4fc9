#include "kit/check/silent_command.h"

#include <gtest/gtest.h>

#include <string>

#include "unattended/argument_split.h"
#include "unattended/switches.h"

namespace {

// The line the check prints is read back by the program's own command-line
// reader as a silent installation into the folder.
TEST(SilentCommand, TheProgramReadsItBackAsASilentRunIntoTheFolder) {
  struct Case {
    const char* programFile;
    const char* folder;
    const char* line;
  };
  const Case cases[] = {
      {"Install.exe", "C:\\Program Files\\Install Data", "Install.exe /S /DIR=\"C:\\Program Files\\Install Data\""},
      {"North Coast.exe", "C:\\Program Files\\North Coast Data",
       "\"North Coast.exe\" /S /DIR=\"C:\\Program Files\\North Coast Data\""},
      // A backslash before the closing quote would escape it.
      {"Install.exe", "D:\\Maps\\", "Install.exe /S /DIR=\"D:\\Maps\\\\\""},
  };
  for (const Case& c : cases) {
    const std::string line = kit::check::SilentCommandLine(c.programFile, c.folder);
    EXPECT_EQ(line, c.line);
    CommandLineArguments arguments(line.c_str());
    EXPECT_EQ(arguments.Program().str(), c.programFile);
    const Switches switches = ParseSwitches(arguments);
    EXPECT_EQ(switches.error, SwitchError::kNone) << line;
    EXPECT_TRUE(switches.silent) << line;
    EXPECT_EQ(switches.folder.str(), c.folder) << line;
  }
}

}  // namespace
