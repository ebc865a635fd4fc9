// Names in any script: a package the publisher's kit built from a folder
// named in accented Latin, Greek, Cyrillic and Japanese installs through the
// screens with the genuine unzip, every name exactly as in the data folder
// and every file equal to its source, under the system code page the case
// runs in (1252 in the e2e test, 932 in e2e.codepage932): each holds names
// outside it.
//
// The fixtures folder (--fixtures) holds the data, written by
// tests/e2e/make-names-data, in names\ and the package setup-pack built from
// it, with the genuine unzip, in kit-names\.
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

constexpr char kKitFixture[] = "kit-names";
constexpr char kDataFixture[] = "names";
constexpr char kTargetName[] = "target";
const char* const kPackageFiles[] = {"Install.ini", "Install.zip", "unzip.exe", "display.txt", "shrinkli.txt"};

// The names make-names-data writes, sorted as TreeOf sorts them.
const std::vector<std::string> kInstalledNames = {
    "Région Île\\",
    "Région Île\\café.txt",
    "legend 🗺.txt",
    "plain.txt",
    "Ωmega\\",
    "Ωmega\\Κύπρος.txt",
    "Москва\\",
    "Москва\\карта.txt",
    "日本\\",
    "日本\\地図.txt",
    "日本\\東京 駅\\",
    "日本\\東京 駅\\路線図.txt",
};

std::string FixturePath(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

class KitNames : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER"; }
  void TearDown() override { unpacking::EndUnpackers(m_program.ProcessId()); }

  CasePackage m_case;
  ProgramUnderTest m_program;
};

TEST_F(KitNames, InstallExactlyInAnyScript) {
  for (const char* name : kPackageFiles) {
    ASSERT_TRUE(m_case.Files().CopyIn(FixturePath(kKitFixture) + "\\" + name, name))
        << "the kit-built package lacks " << name;
  }
  ASSERT_TRUE(m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path()));
  const HWND setup = unpacking::OpenSetupScreen(m_program);
  ASSERT_NE(setup, nullptr);
  const unpacking::RunWatch run(m_program.ProcessId());
  const std::string target = m_case.Files().PathOf(kTargetName);
  ASSERT_TRUE(unpacking::RequestInstall(m_program, setup, target));
  // The unpacker reports success only for names it could create as written.
  const std::optional<MessageBoxOnScreen> done = unpacking::ExpectMessageBox(m_program, TEXT_INSTALLED, {IDOK});
  ASSERT_TRUE(done.has_value());
  ASSERT_TRUE(unpacking::AnswerAndWait(*done, IDOK));

  EXPECT_EQ(TreeOf(FixturePath(kDataFixture)), kInstalledNames) << "the fixture's data are not the case's";
  EXPECT_EQ(TreeOf(target), kInstalledNames) << "system code page " << ::GetACP();
  EXPECT_EQ(TreeDifferences(FixturePath(kDataFixture), target), std::vector<std::string>{});

  ASSERT_TRUE(run.WaitForRunEnd());
  PostClick(setup, IDCANCEL);
  EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
