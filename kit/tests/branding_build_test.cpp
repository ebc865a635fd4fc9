// The build's branding stage on a program that carries the real program's
// resources: what it writes, what it keeps byte for byte, the pictures it
// takes and makes, and what it refuses.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "branding_test_support.h"
#include "kit/branding/branded_copy.h"
#include "kit/branding/pe_image.h"
#include "kit/branding/pe_resources.h"
#include "kit/branding/program_face.h"
#include "kit/branding/version_block.h"
#include "res/resource.h"

namespace {

namespace fs = std::filesystem;
namespace br = kit::branding;
using kit_test::BrandingBuild;
using kit_test::PixelOf;
using kit_test::ReadBytes;
using kit_test::Rgb;

const Rgb kWhite{255, 255, 255};
const Rgb kBlue{0x33, 0x66, 0x99};
const Rgb kRed{0xCC, 0x33, 0x00};

// A logo of exactly the screens' size: blue, a red block at the top left,
// a transparent one at the bottom right.
void MakeExactLogo(const fs::path& path) {
  kit_test::MakePicture(path, {"-size", "203x137", "xc:#336699", "-fill", "#CC3300", "-draw", "rectangle 0,0 9,4",
                               "-region", "13x17+190+120", "-alpha", "transparent", "+region", "PNG32:"});
}

// Every resource but the ones branding writes, as (description, bytes).
std::vector<std::pair<std::string, std::string>> KeptResources(const fs::path& program) {
  std::vector<std::pair<std::string, std::string>> kept;
  for (const br::Resource& resource : kit_test::ResourcesOf(program)) {
    const std::uint32_t type = resource.type.id;
    if (type == br::kTypeBitmap || type == br::kTypeIcon || type == br::kTypeIconGroup || type == br::kTypeVersion) {
      continue;
    }
    kept.emplace_back(resource.Describe(), resource.data);
  }
  return kept;
}

// The whole face at once, as a publisher gives it.
class FullyBranded : public testing::Test {
 protected:
  void SetUp() override {
    MakeExactLogo(m_build.Picture("logo.png"));
    kit_test::MakePicture(m_build.Picture("icon.png"), {"-size", "64x40", "xc:#CC3300", "PNG32:"});
    br::BrandOptions& brand = m_build.Brand();
    brand.logoFile = m_build.Picture("logo.png").string();
    brand.iconFile = m_build.Picture("icon.png").string();
    brand.company = "North Coast Charts";
    brand.product = "North Coast charts";
    brand.description = "Setup of the North Coast charts";
    brand.version = "2.1.0.65535";
    brand.copyright = "\xC2\xA9 2026 North Coast Charts Ltd";
    m_programBefore = ReadBytes(kit_test::ResourcesProgram());
    m_result = m_build.Built();
  }

  std::string m_programBefore;
  kit_test::TempFolder m_temp;
  BrandingBuild m_build{m_temp.Path()};
  kit::BuildResult m_result;
};

// The copy is a sound program, each of its layout's parts agreeing, and
// only its face differs from the program it was made from: every section
// but the resources keeps its bytes, every resource but the face (the
// manifest, both templates, the strings) keeps its bytes.
TEST_F(FullyBranded, TheCopyIsTheSameSoundProgramWithAnotherFace) {
  const br::PeImage before = kit_test::ReadImage(kit_test::ResourcesProgram());
  const br::PeImage after = kit_test::ReadImage(m_build.Program());
  for (const br::PeLayoutProblem& problem : br::PeLayoutProblems(after)) ADD_FAILURE() << problem.what;
  EXPECT_NE(after.sizeOfImage, before.sizeOfImage) << "the resources grew: the image size must follow";
  EXPECT_EQ(after.checksum, br::PeChecksum(after.bytes, after.checksumField));

  ASSERT_EQ(after.sections.size(), before.sections.size());
  for (size_t i = 0; i < before.sections.size(); ++i) {
    const br::PeSection& was = before.sections[i];
    const br::PeSection& is = after.sections[i];
    if (was.name == ".rsrc") continue;
    EXPECT_EQ(after.bytes.substr(is.rawOffset, is.rawSize), before.bytes.substr(was.rawOffset, was.rawSize))
        << "section " << was.name;
    if (was.name != ".reloc") {
      EXPECT_EQ(is.virtualAddress, was.virtualAddress) << "section " << was.name;
    }
  }

  const auto kept = KeptResources(m_build.Program());
  EXPECT_EQ(kept, KeptResources(kit_test::ResourcesProgram()));
  std::vector<std::string> names;
  for (const auto& resource : kept) names.push_back(resource.first);
  EXPECT_EQ(names,
            (std::vector<std::string>{"dialog template 102 (language 1033)", "dialog template 131 (language 1033)",
                                      "string table 1 (language 1033)", "manifest 1 (language 1033)"}));
  EXPECT_EQ(ReadBytes(kit_test::ResourcesProgram()), m_programBefore) << "the build's own program is never written";
}

// The face is the publisher's: the logo pixel for pixel (transparent parts
// on white), the icon in its four sizes, the version in its fixed fields
// and its strings.
TEST_F(FullyBranded, TheFaceIsThePublishers) {
  const br::ProgramFace face = br::ReadProgramFace(kit_test::ReadImage(m_build.Program()));
  ASSERT_TRUE(face.hasLogo);
  EXPECT_EQ(face.logo.width, 203);
  EXPECT_EQ(face.logo.height, 137);
  EXPECT_EQ(face.logo.bitsPerPixel, 24);
  const std::string logo = br::LogoData(kit_test::ResourcesOf(m_build.Program()));
  EXPECT_EQ(PixelOf(logo, 0, 0), kRed);
  EXPECT_EQ(PixelOf(logo, 9, 4), kRed);
  EXPECT_EQ(PixelOf(logo, 10, 4), kBlue);
  EXPECT_EQ(PixelOf(logo, 189, 136), kBlue);
  EXPECT_EQ(PixelOf(logo, 190, 120), kWhite);
  EXPECT_EQ(PixelOf(logo, 202, 136), kWhite);

  std::vector<std::string> icons;
  for (const br::IconImage& image : face.icons) icons.push_back(br::DescribeIconImage(image));
  EXPECT_EQ(icons,
            (std::vector<std::string>{"256 x 256, 32-bit", "48 x 48, 32-bit", "32 x 32, 32-bit", "16 x 16, 32-bit"}));
  EXPECT_FALSE(face.logoBuiltIn || face.iconBuiltIn || face.companyBuiltIn);

  ASSERT_TRUE(face.hasVersion);
  const br::VersionNumber version = {2, 1, 0, 65535};
  EXPECT_EQ(face.version.fileVersion, version);
  EXPECT_EQ(face.version.productVersion, version);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"CompanyName", "North Coast Charts"},
      {"ProductName", "North Coast charts"},
      {"FileDescription", "Setup of the North Coast charts"},
      {"LegalCopyright", "\xC2\xA9 2026 North Coast Charts Ltd"},
      {"FileVersion", "2.1.0.65535"},
      {"ProductVersion", "2.1.0.65535"},
      {"InternalName", "setup"},  // not the publisher's business: kept
  };
  for (const auto& [name, value] : expected) {
    const std::string* found = face.version.String(name);
    ASSERT_NE(found, nullptr) << name;
    EXPECT_EQ(*found, value) << name;
  }
  const std::string notes = kit_test::BrandingNotes(m_result);
  EXPECT_NE(notes.find("made into images of 256, 48, 32 and 16 pixels, 32-bit, centred on a transparent square"),
            std::string::npos)
      << notes;
}

// A rebuild that is given no program brands the copy it keeps: the face
// given now is written, the face given before stays.
TEST_F(FullyBranded, ARebuildBrandsTheCopyItKeeps) {
  kit::BuildOptions again = m_build.Options();
  again.programFile.clear();
  again.brand = br::BrandOptions();
  again.brand.company = "South Coast Charts";
  ASSERT_EQ(kit::BuildPackage(again).status, kit::BuildStatus::kBuilt);
  const br::ProgramFace face = br::ReadProgramFace(kit_test::ReadImage(m_build.Program()));
  ASSERT_TRUE(face.hasVersion);
  EXPECT_EQ(*face.version.String("CompanyName"), "South Coast Charts");
  EXPECT_EQ(*face.version.String("ProductName"), "North Coast charts");
  EXPECT_EQ(face.icons.size(), 4u);
}

// Given nothing of the face, the package's program is the build's, byte
// for byte.
TEST(Branding, GivenNothingTheProgramStaysAsBuilt) {
  kit_test::TempFolder temp;
  BrandingBuild build(temp.Path());
  const kit::BuildResult result = build.Built();
  EXPECT_EQ(ReadBytes(build.Program()), ReadBytes(kit_test::ResourcesProgram()));
  EXPECT_EQ(kit_test::BrandingNotes(result), "");
}

struct LogoCase {
  const char* name;
  std::vector<std::string> picture;  // convert's description of the publisher's picture
  const char* file;
  std::string note;  // a part of the build's note
  // Pixels of the logo written: column, row, colour.
  std::vector<std::tuple<int, int, Rgb>> pixels;
};

void PrintTo(const LogoCase& c, std::ostream* out) { *out << c.name; }

class Logo : public testing::TestWithParam<LogoCase> {};

// Whatever the picture, the logo is a 24-bit bitmap of 203 x 137 pixels: a
// picture of that size pixel for pixel, any other scaled to fit with its
// proportions kept and centred on white.
TEST_P(Logo, IsA24BitBitmapOfTheScreensSize) {
  const LogoCase& c = GetParam();
  kit_test::TempFolder temp;
  BrandingBuild build(temp.Path());
  kit_test::MakePicture(build.Picture(c.file), c.picture);
  build.Brand().logoFile = build.Picture(c.file).string();
  const kit::BuildResult result = build.Built();
  EXPECT_NE(kit_test::BrandingNotes(result).find(c.note), std::string::npos) << kit_test::BrandingNotes(result);
  const std::string logo = br::LogoData(kit_test::ResourcesOf(build.Program()));
  br::BitmapInfo info;
  ASSERT_TRUE(br::ReadBitmapInfo(logo, info));
  EXPECT_EQ(info.width, 203);
  EXPECT_EQ(info.height, 137);
  EXPECT_EQ(info.bitsPerPixel, 24);
  EXPECT_EQ(info.compression, 0u);
  for (const auto& [x, y, colour] : c.pixels) EXPECT_EQ(PixelOf(logo, x, y), colour) << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Branding, Logo,
    testing::Values(LogoCase{"PaletteBmpOfTheSize",
                             {"-size", "203x137", "xc:#336699", "-fill", "#CC3300", "-draw", "point 202,0", "-type",
                              "Palette", "BMP3:"},
                             "logo.bmp",
                             "(203 x 137) written as a 24-bit bitmap of 203 x 137 pixels",
                             {{202, 0, kRed}, {201, 0, kBlue}, {0, 136, kBlue}}},
                    // 400 x 300 scales to 183 x 137: 10 columns of white each side.
                    LogoCase{"WiderPng",
                             {"-size", "400x300", "xc:#336699", "PNG24:"},
                             "wide.png",
                             "is 400 x 300 pixels, not 203 x 137: scaled to 183 x 137 and centred on white",
                             {{9, 68, kWhite}, {10, 68, kBlue}, {192, 68, kBlue}, {193, 68, kWhite}, {100, 0, kBlue}}},
                    // 100 x 400 scales to 34 x 137: 84 columns of white on the left.
                    LogoCase{"TallerBmp",
                             {"-size", "100x400", "xc:#CC3300", "BMP3:"},
                             "tall.bmp",
                             "scaled to 34 x 137 and centred on white",
                             {{83, 10, kWhite}, {84, 10, kRed}, {117, 10, kRed}, {118, 10, kWhite}}},
                    // 20 x 10 is scaled up to 203 x 102: white above and below.
                    LogoCase{"SmallerPng",
                             {"-size", "20x10", "xc:#CC3300", "PNG24:"},
                             "small.png",
                             "scaled to 203 x 102 and centred on white",
                             {{100, 16, kWhite}, {100, 18, kRed}, {100, 118, kRed}, {100, 120, kWhite}}}),
    [](const testing::TestParamInfo<LogoCase>& info) { return std::string(info.param.name); });

// An ICO is taken as it is: each of its images byte for byte, in its order.
TEST(Branding, AnIconFileIsTakenByteForByte) {
  kit_test::TempFolder temp;
  BrandingBuild build(temp.Path());
  const fs::path ico = build.Picture("icon.ico");
  kit_test::MakePicture(ico, {"-size", "48x48", "xc:#336699", "-define", "icon:auto-resize=48,16", "ICO:"});
  build.Brand().iconFile = ico.string();
  const kit::BuildResult result = build.Built();
  std::vector<br::IconImage> given;
  std::string why;
  ASSERT_TRUE(br::ReadIconFile(ReadBytes(ico), given, why)) << why;
  std::vector<br::IconImage> written;
  ASSERT_TRUE(br::IconGroupImages(kit_test::ResourcesOf(build.Program()), written));
  ASSERT_EQ(written.size(), 2u);
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(written[i].data, given[i].data) << "image " << i;
    EXPECT_EQ(written[i].width, given[i].width) << "image " << i;
  }
  EXPECT_NE(kit_test::BrandingNotes(result).find("as given: 48 x 48, 32-bit; 16 x 16, 32-bit"), std::string::npos)
      << kit_test::BrandingNotes(result);
  // The built-in icon's single image is gone with its group.
  int icons = 0;
  for (const br::Resource& resource : kit_test::ResourcesOf(build.Program()))
    icons += resource.type.id == br::kTypeIcon;
  EXPECT_EQ(icons, 2);
}

struct RefusalCase {
  const char* name;
  void (*set)(BrandingBuild& build);
  std::string error;  // a part of the refusal
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class Refused : public testing::TestWithParam<RefusalCase> {};

// Options that cannot brand the program are refused as wrong usage before
// anything is written.
TEST_P(Refused, BeforeAnythingIsWritten) {
  const RefusalCase& c = GetParam();
  kit_test::TempFolder temp;
  BrandingBuild build(temp.Path());
  c.set(build);
  const kit::BuildResult result = build.Run();
  EXPECT_EQ(result.status, kit::BuildStatus::kBadArgument);
  EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
  EXPECT_FALSE(fs::exists(temp.Path() / "pkg")) << "nothing is written";
}

INSTANTIATE_TEST_SUITE_P(
    Branding, Refused,
    testing::Values(
        RefusalCase{"LogoNotThere", [](BrandingBuild& b) { b.Brand().logoFile = b.Picture("none.png").string(); },
                    "of --logo is not there"},
        RefusalCase{"LogoNotAPicture",
                    [](BrandingBuild& b) {
                      kit_test::WriteBytes(b.Picture("logo.png"), "GIF89a, not a picture we take");
                      b.Brand().logoFile = b.Picture("logo.png").string();
                    },
                    "of --logo is not a BMP or PNG file"},
        // Found by the fuzz target: a file cut inside its header.
        RefusalCase{"LogoCutInItsHeader",
                    [](BrandingBuild& b) {
                      kit_test::WriteBytes(b.Picture("logo.bmp"), "BM");
                      b.Brand().logoFile = b.Picture("logo.bmp").string();
                    },
                    "of --logo is not a BMP or PNG file"},
        RefusalCase{"IconIsABmp",
                    [](BrandingBuild& b) {
                      kit_test::MakePicture(b.Picture("icon.bmp"), {"-size", "32x32", "xc:red", "BMP3:"});
                      b.Brand().iconFile = b.Picture("icon.bmp").string();
                    },
                    "of --icon is not an ICO or PNG file"},
        RefusalCase{"VersionOfThreeParts", [](BrandingBuild& b) { b.Brand().version = "1.2.3"; },
                    "--version 1.2.3 is not four numbers A.B.C.D, each from 0 to 65535"},
        RefusalCase{"VersionPartTooLarge", [](BrandingBuild& b) { b.Brand().version = "1.2.3.65536"; },
                    "--version 1.2.3.65536 is not"},
        RefusalCase{"VersionPartEmpty", [](BrandingBuild& b) { b.Brand().version = "1..2.3"; }, "is not four"},
        RefusalCase{"VersionWithLetters", [](BrandingBuild& b) { b.Brand().version = "1.2.3.4b"; }, "is not four"},
        RefusalCase{"CompanyWithALineEnd", [](BrandingBuild& b) { b.Brand().company = "North\nCoast"; },
                    "the text of --company holds a control character"},
        RefusalCase{"ProductNotUtf8", [](BrandingBuild& b) { b.Brand().product = "Nord\xE9"; },
                    "the text of --product is not UTF-8"},
        RefusalCase{"CopyrightTooLong", [](BrandingBuild& b) { b.Brand().copyright = std::string(257, 'c'); },
                    "the text of --copyright is longer than 256 bytes"},
        RefusalCase{"NoProgramToBrand",
                    [](BrandingBuild& b) {
                      b.Options().programFile.clear();
                      b.Brand().company = "North Coast Charts";
                    },
                    "branding needs the program: give --program EXE"}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

// When branding fails the build fails with the reason, and the package's
// program is the complete copy it had before branding, never a part of a
// branded one. A writer that hangs is killed at the bound.
TEST(Branding, AFailedBrandingLeavesTheProgramAsCopied) {
  kit_test::TempFolder tools;
  const fs::path hangingNode = tools.Path() / "node";
  kit_test::WriteBytes(hangingNode, "#!/bin/sh\nexec sleep 60\n");
  fs::permissions(hangingNode, fs::perms::owner_all);
  struct Case {
    const char* name;
    bool programWithoutResources;
    std::string node;
    std::string error;
    std::chrono::seconds timeout = br::kBrandToolTimeout;
  };
  const Case cases[] = {
      {"WriterNotInstalled", false, "/nonexistent/node", "install them with scripts/setup-deps"},
      {"ProgramWithoutTheFace", true, "", "the program holds no version block"},
      {"WriterThatHangs", false, hangingNode.string(),
       "the resource writer was stopped: " + hangingNode.string() + " did not end within 1 seconds",
       std::chrono::seconds(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kit_test::TempFolder temp;
    BrandingBuild build(temp.Path());
    if (c.programWithoutResources) {
      kit_test::WriteProgram(temp.Path() / "plain.exe");
      build.Options().programFile = (temp.Path() / "plain.exe").string();
    }
    build.Brand().company = "North Coast Charts";
    build.Brand().tools.node = c.node;
    build.Brand().tools.timeout = c.timeout;
    const kit::BuildResult result = build.Run();
    EXPECT_EQ(result.status, kit::BuildStatus::kFailed);
    EXPECT_NE(result.error.find(c.error), std::string::npos) << result.error;
    EXPECT_EQ(ReadBytes(build.Program()), ReadBytes(build.Options().programFile));
    EXPECT_EQ(kit_test::PartialFilesIn(temp.Path() / "pkg"), std::vector<std::string>{});
  }
}

// A signed program is branded into an unsigned copy, its signature's bytes
// gone, for the signing that follows branding; the build says so.
TEST(Branding, ASignedProgramLosesItsSignature) {
  kit_test::TempFolder temp;
  std::string bytes = ReadBytes(kit_test::ResourcesProgram());
  const br::PeImage image = kit_test::ReadImage(kit_test::ResourcesProgram());
  // A certificate table at the end of the file, as signing appends it.
  const std::string certificate("\x10\0\0\0\0\x02\x02\0SIGNATURE", 16);
  const std::uint64_t table = bytes.size();
  bytes += certificate;
  constexpr std::uint64_t kDirectoriesAfterChecksum = 28;  // subsystem ... number of directories
  const std::uint64_t entry = image.checksumField + kDirectoriesAfterChecksum + 4 + 8 * br::kCertificateDirectoryIndex;
  kit_test::PutLittle(bytes, entry, table, 4);
  kit_test::PutLittle(bytes, entry + 4, certificate.size(), 4);
  kit_test::WriteBytes(temp.Path() / "signed.exe", bytes);

  BrandingBuild build(temp.Path());
  build.Options().programFile = (temp.Path() / "signed.exe").string();
  build.Brand().company = "North Coast Charts";
  const kit::BuildResult result = build.Built();
  const br::PeImage branded = kit_test::ReadImage(build.Program());
  EXPECT_EQ(branded.Directory(br::kCertificateDirectoryIndex).size, 0u);
  EXPECT_EQ(branded.bytes.find("SIGNATURE"), std::string::npos);
  EXPECT_NE(kit_test::BrandingNotes(result).find("its signature is removed"), std::string::npos);
}

// The stage's own check of the copy catches what a faulty writer would do.
TEST(Branding, TheStagesCheckCatchesAFaultyCopy) {
  const br::PeImage before = kit_test::ReadImage(kit_test::ResourcesProgram());
  br::BrandedFace face;
  face.strings = {{"CompanyName", "North Coast Charts"}};
  struct Case {
    const char* name;
    void (*spoil)(br::PeImage& image);
    std::string problem;
  };
  const Case cases[] = {
      {"AsItWas", [](br::PeImage&) {}, "its CompanyName is not \"North Coast Charts\""},
      {"CodeChanged", [](br::PeImage& image) { image.bytes[image.sections.front().rawOffset] ^= 1; },
       "section .text changed its content"},
      {"DataMoved", [](br::PeImage& image) { image.sections[1].virtualAddress += 0x1000; }, "section .data moved"},
      {"EntryPointMoved", [](br::PeImage& image) { image.entryPoint += 1; }, "its headers changed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    br::PeImage after = before;
    c.spoil(after);
    std::string problems;
    for (const std::string& problem : br::BrandedCopyProblems(before, after, face)) problems += problem + "\n";
    EXPECT_NE(problems.find(c.problem), std::string::npos) << problems;
  }
}

}  // namespace

namespace {

// The tool takes the face's options, refuses an empty text as wrong usage
// and names the options and codes in its help.
TEST(BrandingTool, TakesTheFacesOptions) {
  kit_test::TempFolder temp;
  kit_test::WriteBytes(temp.Path() / "data" / "a.txt", "a");
  const std::string data = (temp.Path() / "data").string();
  const std::string out = (temp.Path() / "pkg").string();
  const kit_test::ToolRun empty =
      kit_test::RunTool({"build", data, out, "--program", kit_test::ResourcesProgram().string(), "--company", ""});
  EXPECT_EQ(empty.status, 2) << empty.output;
  EXPECT_NE(empty.output.find("the option --company needs a value, not an empty one"), std::string::npos);

  const kit_test::ToolRun built = kit_test::RunTool(
      {"build", data, out, "--program", kit_test::ResourcesProgram().string(), "--company", "North Coast Charts"});
  EXPECT_NE(built.output.find("version: CompanyName \"North Coast Charts\""), std::string::npos) << built.output;
  EXPECT_NE(built.output.find("\n  CompanyName:    North Coast Charts\n"), std::string::npos) << built.output;

  const kit_test::ToolRun help = kit_test::RunTool({"--help"});
  for (const char* text : {"[--logo FILE]", "[--version A.B.C.D]", "W-LOGO-BUILT-IN", "E-PROGRAM-RESOURCES"}) {
    EXPECT_NE(help.output.find(text), std::string::npos) << text;
  }
}

}  // namespace
