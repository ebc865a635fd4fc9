// The built tool's signing: the password kept off command lines and out of
// the output, and what happens where osslsigncode is not installed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/pack_build.h"
#include "kit_test_support.h"
#include "signing_support.h"

namespace {

namespace fs = std::filesystem;
using kit_test::ReadBytes;
using kit_test::RunTool;
using kit_test::ShellQuoted;
using kit_test::WriteBytes;

// The arguments of a package build from a small data folder in `temp`.
std::vector<std::string> BuildArguments(const fs::path& temp) {
  WriteBytes(temp / "data" / "north.dat", "north");
  kit_test::WriteProgram(temp / "setup.exe");
  kit_test::WriteProgram(temp / "unzip.exe", kit_test::UnpackerShape());
  WriteBytes(temp / "welcome.txt", "FIRSTLINE:Hi\nSECONDLINE:Maps\nTHIRDLINE:Bye\n");
  WriteBytes(temp / "licence.txt", "Licence\n");
  return {"build",
          (temp / "data").string(),
          (temp / "out").string(),
          "--program",
          (temp / "setup.exe").string(),
          "--unzip",
          (temp / "unzip.exe").string(),
          "--welcome",
          (temp / "welcome.txt").string(),
          "--licence",
          (temp / "licence.txt").string()};
}

std::vector<std::string> With(std::vector<std::string> arguments, const std::vector<std::string>& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(SigningTool, ThePasswordIsOnNoCommandLineAndInNoOutput) {
  kit_test::TempFolder temp;
  const kit_test::TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  // A stand-in for osslsigncode that records its command line and, at its
  // worst, prints the password it was given.
  const fs::path bin = temp.Path() / "bin";
  const fs::path recorded = temp.Path() / "command-line.txt";
  WriteBytes(bin / "osslsigncode",
             "#!/bin/sh\n"
             "echo \"$@\" >> " +
                 ShellQuoted(recorded.string()) +
                 "\n"
                 "while [ $# -gt 0 ]; do [ \"$1\" = -readpass ] && password=$(cat \"$2\"); shift; done\n"
                 "echo \"Failed to parse PKCS#12 file (Wrong password?): $password\"\n"
                 "exit 255\n");
  fs::permissions(bin / "osslsigncode", fs::perms::owner_all);
  const std::vector<std::string> arguments = With(
      BuildArguments(temp.Path()),
      {"--sign-pkcs12", certificates.Path("signer.p12"), "--sign-password-file", certificates.Path("password.txt")});

  const kit_test::ToolRun run = RunTool(arguments, "PATH=" + ShellQuoted(bin.string()) + ":\"$PATH\" ");
  EXPECT_EQ(run.status, kit::kExitHasProblems) << run.output;
  EXPECT_NE(run.output.find("cannot sign Install.exe: the password in " + certificates.Path("password.txt") +
                            " does not open " + certificates.Path("signer.p12")),
            std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find(certificates.Password()), std::string::npos) << run.output;
  const std::string commandLine = ReadBytes(recorded);
  EXPECT_NE(commandLine.find("-readpass " + certificates.Path("password.txt")), std::string::npos) << commandLine;
  EXPECT_EQ(commandLine.find(certificates.Password()), std::string::npos) << commandLine;
}

TEST(SigningTool, WithoutOsslsigncodeTheCheckSaysSoAndTheBuildDoesNotSign) {
  kit_test::TempFolder temp;
  const kit_test::TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  const std::vector<std::string> signedBuild = With(
      BuildArguments(temp.Path()),
      {"--sign-pkcs12", certificates.Path("signer.p12"), "--sign-password-file", certificates.Path("password.txt")});
  const kit_test::ToolRun built = RunTool(signedBuild);
  ASSERT_EQ(built.status, kit::kExitInstallsAsMeant) << built.output;
  const std::string package = (temp.Path() / "out").string();
  const std::string signedProgram = ReadBytes(fs::path(package) / "Install.exe");

  const std::string noTools = "PATH=/nonexistent ";
  const kit_test::ToolRun checked = RunTool({"check", package}, noTools);
  EXPECT_EQ(checked.status, kit::kExitInstallsAsMeant) << checked.output;
  const std::vector<std::string> lines = kit_test::ProblemLines(checked.output);
  ASSERT_EQ(lines.size(), 2u) << checked.output;
  EXPECT_EQ(lines[0].rfind("W-PROGRAM-SIGNATURE-UNCHECKED: Install.exe is signed, but its signature was not checked: "
                           "osslsigncode is not installed",
                           0),
            0u)
      << lines[0];
  EXPECT_EQ(lines[1].rfind("W-UNZIP-SIGNATURE-UNCHECKED: ", 0), 0u) << lines[1];

  const kit_test::ToolRun rebuilt = RunTool(signedBuild, noTools);
  EXPECT_EQ(rebuilt.status, kit::kExitHasProblems) << rebuilt.output;
  EXPECT_NE(rebuilt.output.find("cannot sign Install.exe: osslsigncode is not installed"), std::string::npos)
      << rebuilt.output;
  // The rebuild copied the unsigned program, and left it so.
  EXPECT_NE(ReadBytes(fs::path(package) / "Install.exe"), signedProgram);
  EXPECT_EQ(ReadBytes(fs::path(package) / "Install.exe"), ReadBytes(temp.Path() / "setup.exe"));
}

}  // namespace
