// A package of more files than the archive's classic end record can count:
// 65,536 files in 256 folders (tests/e2e/make-many-files), made into a package
// by the publisher's kit, whose archive then ends with Zip64 records. It
// installs through the screens with the genuine unzip.exe, every file equal to
// the data it was made from.
//
// The fixtures folder (--fixtures) holds the data in many\ and the kit's
// package in many-kit\ (tests/e2e/CMakeLists.txt makes both).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {
namespace {

constexpr size_t kFiles = 65536;
constexpr size_t kFolders = 256;
// The run unpacks 65,536 files: about 75 s under Wine here, bounded
// generously for a loaded machine.
constexpr DWORD kRunWaitMs = 600000;

std::string Fixture(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

TEST(ManyFiles, KitPackageOf65536FilesInstallsByteForByte) {
  ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
  const std::string data = Fixture("many");
  const std::vector<std::string> source = TreeOf(data);
  ASSERT_EQ(source.size(), kFiles + kFolders) << "the data at " << data << " is not the one made for this case";

  const CasePackage package;
  for (const char* name : {"Install.ini", "Install.zip", "unzip.exe", "display.txt", "shrinkli.txt"}) {
    ASSERT_TRUE(package.Files().CopyIn(Fixture("many-kit") + "\\" + name, name))
        << "the kit-built package lacks " << name;
  }
  ProgramUnderTest program;
  ASSERT_TRUE(package.Start(program));
  const HWND setup = unpacking::OpenSetupScreen(program);
  ASSERT_NE(setup, nullptr);
  const std::string target = package.Files().PathOf("target");
  const unpacking::RunWatch run(program.ProcessId());
  ASSERT_TRUE(unpacking::RequestInstall(program, setup, target));

  const bool ended = WaitUntil(
      [&] {
        return unpacking::MessageBoxWithText(program.ProcessId(), TEXT_INSTALLED).has_value() || !program.IsRunning();
      },
      kRunWaitMs);
  EXPECT_TRUE(ended) << "no end of the run after " << kRunWaitMs << " ms";
  const std::optional<MessageBoxOnScreen> done = unpacking::ExpectMessageBox(program, TEXT_INSTALLED, {IDOK});
  unpacking::EndUnpackers(program.ProcessId());
  ASSERT_TRUE(done.has_value());
  ASSERT_TRUE(unpacking::AnswerAndWait(*done, IDOK));

  const std::vector<std::string> differences = TreeDifferences(data, target);
  EXPECT_TRUE(differences.empty()) << differences.size() << " differences, the first: "
                                   << (differences.empty() ? std::string() : differences.front());
  ASSERT_TRUE(run.WaitForRunEnd());
  PostClick(setup, IDCANCEL);
  EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  // The installed copy stays, as every case's folder does. Deleting 65,536
  // files under Wine took 40 to 90 s here, which a later run in the same
  // prefix pays as it lays out the case afresh; a fresh prefix (CI) does not.
}

}  // namespace
}  // namespace e2e
