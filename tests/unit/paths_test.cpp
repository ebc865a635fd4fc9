#include <gtest/gtest.h>

#include "framework/app_paths.h"
#include "framework/dbcs.h"
#include "package/program_folder.h"

namespace {

TEST(ProgramPaths, FolderAndDescriptorFromTheHelpFilePath) {
  struct Case {
    const char* helpFilePath;
    const char* folder;
    const char* descriptor;
  };
  const Case cases[] = {
      {"C:\\Pkg\\Install.HLP", "C:\\Pkg\\", "C:\\Pkg\\Install.ini"},
      {"C:\\Rel.2\\Install.HLP", "C:\\Rel.2\\", "C:\\Rel.2\\Install.ini"},
      {"C:\\Install.HLP", "C:\\", "C:\\Install.ini"},  // the backslash at index 2
      {"C:\\Pkg\\Data.HLP", "C:\\Pkg\\", "C:\\Pkg\\Data.ini"},
      {"\\\\server\\share\\Install.HLP", "\\\\server\\share\\", "\\\\server\\share\\Install.ini"},
      {"Install.HLP", "", "Install.ini"},         // no backslash: the current directory
      {"\\Install.HLP", "", "\\Install.ini"},     // a backslash at index 0 does not count
      {"C:\\Pkg\\Install", "C:\\Pkg\\", "C:\\Pkg\\Install.ini"},  // no dot: ".ini" appended
      {".HLP", "", ".HLP.ini"},                   // a dot at index 0 is not cut
      {"C:\\Rel.2\\Install", "C:\\Rel.2\\", "C:\\Rel.ini"},  // the last dot, wherever it stands
      {"", "", ".ini"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramFolder(c.helpFilePath).str(), c.folder) << c.helpFilePath;
    EXPECT_EQ(DescriptorPath(c.helpFilePath).str(), c.descriptor) << c.helpFilePath;
  }
}

TEST(ProgramPaths, DescriptorAndFolderAgreeOnTheFolder) {
  const char* const paths[] = {"C:\\Pkg\\Install.HLP", "C:\\Rel.2\\Install.HLP", "C:\\Install.HLP", "Install.HLP"};
  for (const char* path : paths) EXPECT_EQ(ProgramFolder(DescriptorPath(path)).str(), ProgramFolder(path).str()) << path;
}

// Code page 932: 0x95 0x5C is one character whose second byte equals '\\'.
class ProgramPathsDoubleByte : public testing::Test {
 protected:
  void SetUp() override { dbcs::SetLeadByteRule(&dbcs::IsCodePage932LeadByte); }
  void TearDown() override { dbcs::SetLeadByteRule(nullptr); }
};

TEST_F(ProgramPathsDoubleByte, TrailByteIsNotTakenForABackslash) {
  struct Case {
    const char* helpFilePath;
    const char* folder;
    const char* descriptor;
  };
  const Case cases[] = {
      {"C:\\\x95\x5C\\Install.HLP", "C:\\\x95\x5C\\", "C:\\\x95\x5C\\Install.ini"},  // folder name
      {"C:\\Pkg\\\x95\x5C.HLP", "C:\\Pkg\\", "C:\\Pkg\\\x95\x5C.ini"},              // program name
      {"\x95\x5C.HLP", "", "\x95\x5C.ini"},                                         // no real backslash
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ProgramFolder(c.helpFilePath).str(), c.folder) << c.helpFilePath;
    EXPECT_EQ(DescriptorPath(c.helpFilePath).str(), c.descriptor) << c.helpFilePath;
  }
}

TEST(AppPaths, FormedFromTheModulePath) {
  struct Case {
    const char* modulePath;
    const char* titleResource;
    const char* exeName;
    const char* appTitle;
    const char* helpFilePath;
  };
  const Case cases[] = {
      {"C:\\Pkg\\Install.exe", "", "Install", "Install", "C:\\Pkg\\Install.HLP"},
      {"C:\\Pkg\\Data.exe", "", "Data", "Data", "C:\\Pkg\\Data.HLP"},
      {"C:\\Pkg\\Install.exe", "Package Setup", "Install", "Package Setup", "C:\\Pkg\\Install.HLP"},
      {"C:\\Rel.2\\Install.exe", "", "Install", "Install", "C:\\Rel.2\\Install.HLP"},
      {"C:\\Install.exe", "", "Install", "Install", "C:\\Install.HLP"},
      {"C:\\Pkg\\My.Setup.exe", "", "My.Setup", "My.Setup", "C:\\Pkg\\My.Setup.HLP"},
      {"C:\\Rel.2\\Install", "", "Install", "Install", "C:\\Rel.HLP"},  // no extension in a dotted folder
      {"Install.exe", "", "Install", "Install", "Install.HLP"},
  };
  for (const Case& c : cases) {
    const AppPaths paths = FormAppPaths(c.modulePath, c.titleResource);
    EXPECT_EQ(paths.exeName.str(), c.exeName) << c.modulePath;
    EXPECT_EQ(paths.appTitle.str(), c.appTitle) << c.modulePath;
    EXPECT_EQ(paths.helpFilePath.str(), c.helpFilePath) << c.modulePath;
  }
}

TEST(AppPaths, ThePackageFilesFollowTheModulePath) {
  // The chain the program runs at start-up: module path, help-file path,
  // then the program folder and the descriptor.
  const AppPaths paths = FormAppPaths("C:\\Rel.2\\Data.exe", "");
  EXPECT_EQ(ProgramFolder(paths.helpFilePath).str(), "C:\\Rel.2\\");
  EXPECT_EQ(DescriptorPath(paths.helpFilePath).str(), "C:\\Rel.2\\Data.ini");
}

TEST_F(ProgramPathsDoubleByte, ExecutableNameEndingInATrailBackslashByte) {
  const AppPaths paths = FormAppPaths("C:\\Pkg\\\x95\x5C.exe", "");
  EXPECT_EQ(paths.exeName.str(), "\x95\x5C");
  EXPECT_EQ(paths.helpFilePath.str(), "C:\\Pkg\\\x95\x5C.HLP");
  EXPECT_EQ(ProgramFolder(paths.helpFilePath).str(), "C:\\Pkg\\");
}

}  // namespace
