// The built tool: its exit status, its output and its usage errors.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/pack_check.h"
#include "kit_test_support.h"

namespace {

namespace fs = std::filesystem;
using kit_test::Package;
using kit_test::RunTool;

TEST(Tool, CheckPrintsTheSummaryAndExitsWithTheVerdict) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  const kit_test::ToolRun clean = RunTool({"check", package.Dir().string()});
  EXPECT_EQ(clean.status, kit::kExitInstallsAsMeant) << clean.output;
  // The tests' program files are not signed.
  const std::vector<std::string> cleanLines = kit_test::ProblemLines(clean.output);
  ASSERT_EQ(cleanLines.size(), 2u) << clean.output;
  EXPECT_EQ(cleanLines[0].rfind("W-PROGRAM-UNSIGNED: Install.exe is not signed | end user: ", 0), 0u) << cleanLines[0];
  EXPECT_EQ(cleanLines[1].rfind("W-UNZIP-UNSIGNED: unzip.exe is not signed | end user: ", 0), 0u) << cleanLines[1];
  EXPECT_NE(clean.output.find("Signature:        Install.exe not signed\n"), std::string::npos) << clean.output;
  EXPECT_NE(clean.output.find("Data Source:      " + package.PathOf("Install.zip").string() + "\n"), std::string::npos)
      << clean.output;
  EXPECT_NE(clean.output.find("12 KB (0 MB)"), std::string::npos) << clean.output;
  EXPECT_NE(clean.output.find("Welcome line 2:   North coast charts\n"), std::string::npos) << clean.output;
  EXPECT_NE(clean.output.find("Silent install:   Install.exe /S /DIR=\"C:\\Program Files\\Install Data\"   (exit "
                              "code 0: installed)\n"),
            std::string::npos)
      << clean.output;

  package.Remove("unzip.exe");
  package.Remove("display.txt");
  const kit_test::ToolRun broken = RunTool({"check", package.Dir().string(), "--name", "Install"});
  EXPECT_EQ(broken.status, kit::kExitHasProblems) << broken.output;
  const std::vector<std::string> lines = kit_test::ProblemLines(broken.output);
  ASSERT_EQ(lines.size(), 3u) << broken.output;
  EXPECT_EQ(lines[0].rfind("E-UNZIP-MISSING: ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(" | end user: "), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find(" | fix: "), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("W-WELCOME-MISSING: ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("W-PROGRAM-UNSIGNED: ", 0), 0u) << lines[2];
}

TEST(Tool, CheckNamesA64BitUnpackerAndExitsWithOne) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  kit_test::WriteProgram(package.PathOf("unzip.exe"), kit_test::UnpackerShape().X64());
  const kit_test::ToolRun run = RunTool({"check", package.Dir().string()});
  EXPECT_EQ(run.status, kit::kExitHasProblems) << run.output;
  const std::vector<std::string> lines = kit_test::ProblemLines(run.output);
  ASSERT_FALSE(lines.empty()) << run.output;
  EXPECT_EQ(lines.front(),
            std::string(
                "E-UNZIP-64BIT: unzip.exe is a 64-bit program (machine x64, PE32+ header) | end user: on 32-bit "
                "Windows: after Install: \"Error in executing unzip command\", and nothing is installed | fix: copy a "
                "32-bit console build of the unpacker into the folder as unzip.exe (setup-pack build --unzip EXE)"))
      << run.output;
}

TEST(Tool, BuildExitsWithTheStatusOfItsCheck) {
  kit_test::TempFolder temp;
  const fs::path data = temp.Path() / "data";
  kit_test::WriteBytes(data / "maps" / "north.dat", "north");
  kit_test::WriteProgram(temp.Path() / "setup.exe");
  kit_test::WriteProgram(temp.Path() / "unzip.exe", kit_test::UnpackerShape());
  kit_test::WriteBytes(temp.Path() / "welcome.txt", "FIRSTLINE:Hi\nSECONDLINE:Maps\nTHIRDLINE:Bye\n");
  kit_test::WriteBytes(temp.Path() / "licence.txt", "Licence\n");
  const std::string out = (temp.Path() / "out").string();

  const kit_test::ToolRun complete =
      RunTool({"build", data.string(), out, "--program", (temp.Path() / "setup.exe").string(), "--unzip",
               (temp.Path() / "unzip.exe").string(), "--welcome", (temp.Path() / "welcome.txt").string(), "--licence",
               (temp.Path() / "licence.txt").string(), "--name", "Maps"});
  EXPECT_EQ(complete.status, kit::kExitInstallsAsMeant) << complete.output;
  EXPECT_TRUE(fs::exists(fs::path(out) / "Maps.exe"));

  const std::string bare = (temp.Path() / "bare").string();
  const kit_test::ToolRun templates = RunTool({"build", data.string(), bare});
  EXPECT_EQ(templates.status, kit::kExitHasProblems) << templates.output;
  EXPECT_EQ(kit_test::ProblemLines(templates.output).size(), 4u) << templates.output;

  kit_test::WriteBytes(data / "a:b", "x");
  const kit_test::ToolRun failed = RunTool({"build", data.string(), bare});
  EXPECT_EQ(failed.status, kit::kExitHasProblems) << failed.output;
  EXPECT_EQ(kit_test::ProblemLines(failed.output).size(), 1u) << failed.output;
  EXPECT_NE(failed.output.find("\nE-NAME-CHARACTER: the data folder's \"a:b\""), std::string::npos) << failed.output;
}

TEST(Tool, ABuildThatRunsOutOfSpaceOrIsKilledLeavesNoProgramALaterBuildKeeps) {
  constexpr std::uint32_t kProgramCode = 256 * 1024;
  constexpr std::uint64_t kFileSizeLimit = 64 * 1024;
  kit_test::ProgramShape large;
  large.sections = {{".text", kit_test::ProgramShape::kFirstSectionOffset, kProgramCode}};
  for (const kit_test::AtFileSizeLimit atLimit :
       {kit_test::AtFileSizeLimit::kWriteFails, kit_test::AtFileSizeLimit::kKilled}) {
    const bool killed = atLimit == kit_test::AtFileSizeLimit::kKilled;
    kit_test::TempFolder temp;
    const fs::path data = temp.Path() / "data";
    const fs::path out = temp.Path() / "out";
    kit_test::WriteBytes(data / "north.dat", "north");
    kit_test::WriteProgram(temp.Path() / "setup.exe", large);

    const kit_test::ToolRun cut = kit_test::RunToolWithFileSizeLimit(
        {"build", data.string(), out.string(), "--program", (temp.Path() / "setup.exe").string()}, kFileSizeLimit,
        atLimit);
    EXPECT_EQ(cut.status, killed ? -1 : kit::kExitHasProblems) << cut.output;
    EXPECT_FALSE(fs::exists(out / "Install.exe")) << cut.output;
    EXPECT_EQ(kit_test::PartialFilesIn(out),
              killed ? std::vector<std::string>{"Install.exe.setup-pack-part"} : std::vector<std::string>())
        << cut.output;

    const kit_test::ToolRun rebuild = RunTool({"build", data.string(), out.string()});
    EXPECT_EQ(rebuild.output.find("kept"), std::string::npos) << rebuild.output;
    EXPECT_NE(rebuild.output.find("E-PROGRAM-MISSING: "), std::string::npos) << rebuild.output;
    EXPECT_EQ(kit_test::PartialFilesIn(out), std::vector<std::string>()) << rebuild.output;
  }
}

TEST(Tool, WrongUsageExitsWithTwo) {
  kit_test::TempFolder temp;
  Package package(temp.Path());
  const std::string dir = package.Dir().string();
  const std::string file = package.PathOf("display.txt").string();
  const std::vector<std::vector<std::string>> usages = {
      {},
      {"pack", dir},
      {"check"},
      {"check", dir, dir},
      {"check", dir, "--welcome", file},
      {"check", dir, "--name"},
      {"check", dir, "--name", "A", "--name", "B"},
      {"check", dir, "--name", "a\\b"},
      {"check", (temp.Path() / "no-such-folder").string()},
      {"check", file},
      {"build", dir},
      {"build", dir, (temp.Path() / "out").string(), "--colour", "blue"},
      {"build", (temp.Path() / "no-such-folder").string(), (temp.Path() / "out").string()},
      {"build", dir, (temp.Path() / "out").string(), "--program", (temp.Path() / "no-such.exe").string()},
      // An empty file would count as none given.
      {"build", dir, (temp.Path() / "out").string(), "--program", ""},
      {"build", dir, (temp.Path() / "out").string(), "--welcome", ""},
      // Names Windows cannot use, or that make the program the unpacker.
      {"build", dir, (temp.Path() / "out").string(), "--name", "unzip"},
      {"build", dir, (temp.Path() / "out").string(), "--name", "UnZip"},
      {"build", dir, (temp.Path() / "out").string(), "--name", "CON"},
      {"build", dir, (temp.Path() / "out").string(), "--name", "con.v2"},
      {"check", dir, "--name", "nul"},
      {"check", dir, "--name", "Unzip"},
      // The program finds its descriptor by its name in the system's code page.
      {"build", dir, (temp.Path() / "out").string(), "--name", "R\xC3\xA9gion"},
  };
  for (const std::vector<std::string>& args : usages) {
    const kit_test::ToolRun run = RunTool(args);
    std::string shown;
    for (const std::string& arg : args) shown += " " + arg;
    EXPECT_EQ(run.status, kit::kExitWrongUsage) << shown << "\n" << run.output;
    EXPECT_NE(run.output.find("Usage:"), std::string::npos) << shown;
  }
}

TEST(Tool, HelpShowsBothCommandsAndEveryCode) {
  const kit_test::ToolRun help = RunTool({"--help"});
  EXPECT_EQ(help.status, kit::kExitInstallsAsMeant);
  EXPECT_NE(help.output.find("setup-pack build DATA_DIR OUT_DIR"), std::string::npos);
  EXPECT_NE(help.output.find("setup-pack check PACKAGE_DIR"), std::string::npos);
  for (const kit::ProblemInfo& info : kit::AllProblems()) {
    EXPECT_NE(help.output.find(info.code), std::string::npos) << info.code;
  }
}

}  // namespace
