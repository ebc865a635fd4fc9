// The check of the program's face: what it prints of the logo, the icon
// and the version block, the warnings while they are the built-in ones, and
// a program whose resources cannot be used.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "branding_test_support.h"
#include "kit/pack_check.h"
#include "kit/run_program.h"

namespace {

namespace fs = std::filesystem;
namespace br = kit::branding;
using kit_test::CodesOf;
using kit_test::Package;
using kit_test::ReadBytes;

std::string Printed(const kit::CheckReport& report) {
  std::ostringstream out;
  kit::PrintReport(report, out);
  return out.str();
}

// A package that installs as meant, with `program` as its Install.exe.
kit::CheckReport CheckWithProgram(const fs::path& root, const fs::path& program) {
  Package package(root);
  fs::copy_file(program, package.PathOf("Install.exe"), fs::copy_options::overwrite_existing);
  return package.Check();
}

// As built, the program shows the built-in logo, icon and company: the
// check prints them so and warns of each, and the package still installs.
TEST(FaceCheck, TheBuiltInFaceIsPrintedAndWarnedOf) {
  kit_test::TempFolder temp;
  const kit::CheckReport report = CheckWithProgram(temp.Path(), kit_test::ResourcesProgram());
  EXPECT_EQ(CodesOf(report), (std::vector<std::string>{"W-LOGO-BUILT-IN", "W-ICON-BUILT-IN", "W-COMPANY-BUILT-IN"}));
  EXPECT_EQ(report.ErrorCount(), 0);
  const std::string printed = Printed(report);
  for (const char* line :
       {"\nLogo:             203 x 137 pixels, 24-bit (the built-in one)\n",
        "\nIcon:             32 x 32, 4-bit (the built-in one)\n",
        "\nVersion:          file 1.0.0.1, product 1.0.0.1\n", "\n  CompanyName:    Verandel (the built-in one)\n",
        "\n  ProductName:    Verandel data package setup\n"}) {
    EXPECT_NE(printed.find(line), std::string::npos) << "no line " << line << " in\n" << printed;
  }
}

// Each warning goes with its own part of the face: a package branded with
// one part keeps the warnings of the others.
TEST(FaceCheck, EachPartIsToldApart) {
  struct Case {
    const char* name;
    void (*brand)(kit_test::BrandingBuild& build);
    std::vector<std::string> codes;
  };
  const Case cases[] = {
      {"Logo",
       [](kit_test::BrandingBuild& b) {
         kit_test::MakePicture(b.Picture("logo.png"), {"-size", "203x137", "xc:#336699", "PNG24:"});
         b.Brand().logoFile = b.Picture("logo.png").string();
       },
       {"W-ICON-BUILT-IN", "W-COMPANY-BUILT-IN"}},
      {"Icon",
       [](kit_test::BrandingBuild& b) {
         kit_test::MakePicture(b.Picture("icon.png"), {"-size", "32x32", "xc:#336699", "PNG32:"});
         b.Brand().iconFile = b.Picture("icon.png").string();
       },
       {"W-LOGO-BUILT-IN", "W-COMPANY-BUILT-IN"}},
      // The product alone leaves the company as built.
      {"Product",
       [](kit_test::BrandingBuild& b) { b.Brand().product = "North Coast charts"; },
       {"W-LOGO-BUILT-IN", "W-ICON-BUILT-IN", "W-COMPANY-BUILT-IN"}},
      {"Company",
       [](kit_test::BrandingBuild& b) { b.Brand().company = "North Coast Charts"; },
       {"W-LOGO-BUILT-IN", "W-ICON-BUILT-IN"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kit_test::TempFolder temp;
    kit_test::BrandingBuild build(temp.Path());
    c.brand(build);
    build.Built();
    EXPECT_EQ(CodesOf(CheckWithProgram(temp.Path() / "check", build.Program())), c.codes);
  }
}

// A logo of another size than the screens are laid out for (written by
// another tool than the kit) is warned of with its size.
TEST(FaceCheck, ALogoOfAnotherSizeIsWarnedOf) {
  kit_test::TempFolder temp;
  const fs::path bmp = temp.Path() / "small.bmp";
  kit_test::MakePicture(bmp, {"-size", "100x50", "xc:#336699", "-type", "TrueColor", "BMP3:"});
  const std::string dib = ReadBytes(bmp).substr(br::kBitmapFileHeaderSize);
  kit_test::WriteBytes(temp.Path() / "small.dib", dib);
  const fs::path program = temp.Path() / "small-logo.exe";
  const kit::ProgramRun run = kit::RunProgram({"node", RESOURCE_WRITER_SCRIPT, "--modules", RESOURCE_WRITER_MODULES,
                                               "--in", kit_test::ResourcesProgram().string(), "--out", program.string(),
                                               "--bitmap", "129", (temp.Path() / "small.dib").string()},
                                              br::kBrandToolTimeout);
  ASSERT_TRUE(run.Succeeded()) << run.output;
  const kit::CheckReport report = CheckWithProgram(temp.Path(), program);
  EXPECT_EQ(CodesOf(report), (std::vector<std::string>{"W-LOGO-SIZE", "W-ICON-BUILT-IN", "W-COMPANY-BUILT-IN"}));
  EXPECT_EQ(report.problems.front().what, "Install.exe's logo is 100 x 50 pixels, not 203 x 137");
  EXPECT_NE(Printed(report).find("\nLogo:             100 x 50 pixels, 24-bit\n"), std::string::npos);
}

// A program whose resource directory cannot be read, or whose resources
// lack a screen's template, cannot show its screens: an error.
TEST(FaceCheck, ResourcesThatCannotBeUsedAreAnError) {
  const br::PeImage image = kit_test::ReadImage(kit_test::ResourcesProgram());
  const br::PeDirectory resources = image.Directory(br::kResourceDirectoryIndex);
  std::uint64_t tree = 0;
  ASSERT_TRUE(image.FileOffsetOf(resources.virtualAddress, resources.size, tree));
  struct Case {
    const char* name;
    std::uint64_t at;  // where to write
    std::uint32_t value;
    int size;          // bytes written
    std::string what;  // a part of the problem
  };
  constexpr std::uint64_t kIdCountField = 14;
  constexpr std::uint64_t kFirstEntry = 16;
  const Case cases[] = {
      // The root directory claims more types than the tree holds: what is
      // read as the last of them lies outside it, or points anywhere.
      {"RootCountsTooMany", tree + kIdCountField, 0xFFFF, 2, ""},
      // The first type (bitmaps) now points its data past the directory.
      {"TypeBeyondTheTree", tree + kFirstEntry + 4, 0x80FFFFF0U, 4, "a directory of the tree lies outside"},
      // The dialog templates' type (5) renamed to 7: no screen's template.
      {"NoTemplates", tree + kFirstEntry + 8 * 2, 7, 2, "it lacks the dialog template 131 of a screen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kit_test::TempFolder temp;
    std::string bytes = image.bytes;
    kit_test::PutLittle(bytes, c.at, c.value, c.size);
    kit_test::WriteBytes(temp.Path() / "damaged.exe", bytes);
    const kit::CheckReport report = CheckWithProgram(temp.Path(), temp.Path() / "damaged.exe");
    ASSERT_EQ(CodesOf(report), std::vector<std::string>{"E-PROGRAM-RESOURCES"});
    EXPECT_NE(report.problems.front().what.find(c.what), std::string::npos) << report.problems.front().what;
    EXPECT_NE(Printed(report).find("Program's face:   (its resources cannot be used)"), std::string::npos);
  }
}

}  // namespace
