// The publisher's face on a package the kit built and branded (the
// fixtures' kit-branded, made by tests/e2e/CMakeLists.txt with --logo,
// --icon, --company, --product, --description, --version and --copyright):
// both screens show the publisher's logo, read from inside the program by
// the logo probe and compared pixel for pixel with the bitmap the kit wrote
// into the program; Windows reads the new version block. That it installs
// as an unbranded package does is KitPackage.BrandedInstallsByteForByte.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/logo_probe_client.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {
namespace {

constexpr char kBrandedKit[] = "kit-branded";

std::string BrandedFile(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + kBrandedKit + "\\" + name;
}

class Branded : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
    ASSERT_FALSE(Options().probe.empty()) << "the driver was given no --probe=PATH";
    for (const char* name : {"Install.exe", "Install.ini", "Install.zip", "unzip.exe", "display.txt", "shrinkli.txt"}) {
      ASSERT_TRUE(m_case.Files().CopyIn(BrandedFile(name), name)) << "the branded package lacks " << name;
    }
  }

  CasePackage m_case;
  ProgramUnderTest m_program;
  probe::ProbeFolder m_probe{m_case.Files().PathOf("probe")};
};

// Each screen's logo control shows the bitmap the kit wrote, pixel for
// pixel, at its size of 203 x 137; and that bitmap is not the built-in one.
TEST_F(Branded, BothScreensShowThePublishersLogo) {
  const std::optional<probe::Picture> written =
      probe::PictureOfBitmap(probe::BitmapResource(m_case.ProgramPath(), IDB_LOGO));
  ASSERT_TRUE(written.has_value()) << "the branded program holds no 24-bit logo";
  EXPECT_EQ(written->width, 203);
  EXPECT_EQ(written->height, 137);
  const std::optional<probe::Picture> builtIn =
      probe::PictureOfBitmap(probe::BitmapResource(Options().program, IDB_LOGO));
  ASSERT_TRUE(builtIn.has_value());
  ASSERT_NE(probe::PictureDifference(*builtIn, *written), "") << "the kit wrote the built-in logo";

  ASSERT_TRUE(m_case.Start(m_program));
  const HWND licence = WaitForWindow(m_program, TEXT_LICENCE_CAPTION);
  ASSERT_NE(licence, nullptr);
  const auto onLicence = m_probe.ReadLogos(m_program.ProcessId(), Options().probe);
  ASSERT_EQ(onLicence.size(), 1u) << "the licence screen's logo was not read";
  EXPECT_EQ(onLicence[0].first, IDC_LICENSE_LOGO);
  EXPECT_EQ(probe::PictureDifference(*written, onLicence[0].second), "") << "on the licence screen";

  const HWND setup = unpacking::AgreeToLicence(m_program, licence);
  ASSERT_NE(setup, nullptr);
  // The licence screen stays, hidden, while the setup screen runs: both
  // logos are read, each must be the publisher's.
  const auto onSetup = m_probe.ReadLogos(m_program.ProcessId(), Options().probe);
  std::vector<int> ids;
  for (const auto& [id, picture] : onSetup) {
    ids.push_back(id);
    EXPECT_EQ(probe::PictureDifference(*written, picture), "") << "the logo of control " << id;
  }
  EXPECT_NE(std::find(ids.begin(), ids.end(), IDC_SETUP_LOGO), ids.end()) << "the setup screen's logo was not read";
  PostClick(setup, IDCANCEL);
  EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
  EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(0));
}

// Windows' own reader of the version block finds the publisher's strings
// and version, fixed fields and texts alike.
TEST_F(Branded, WindowsReadsThePublishersVersionBlock) {
  const std::string program = m_case.ProgramPath();  // ASCII: C:\e2e\<case>\Install.exe
  const std::wstring path(program.begin(), program.end());
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version block (error " << ::GetLastError() << ")";
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, BRANDED_VERSION_MS);
  EXPECT_EQ(fixed->dwFileVersionLS, BRANDED_VERSION_LS);
  EXPECT_EQ(fixed->dwProductVersionMS, BRANDED_VERSION_MS);
  EXPECT_EQ(fixed->dwProductVersionLS, BRANDED_VERSION_LS);

  const std::vector<std::pair<const wchar_t*, std::string>> strings = {
      {L"CompanyName", BRANDED_COMPANY},         {L"ProductName", BRANDED_PRODUCT},
      {L"FileDescription", BRANDED_DESCRIPTION}, {L"LegalCopyright", BRANDED_COPYRIGHT},
      {L"FileVersion", BRANDED_VERSION},         {L"ProductVersion", BRANDED_VERSION},
  };
  for (const auto& [name, expected] : strings) {
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    wchar_t* value = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        << Utf8From(name);
    EXPECT_EQ(Utf8From(value), expected) << Utf8From(name);
  }
}

}  // namespace
}  // namespace e2e
