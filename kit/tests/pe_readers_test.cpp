// The readers branding and the check rely on: the layout of a program file
// (each of its parts), the version block and version numbers, UTF-8 texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "branding_test_support.h"
#include "kit/branding/pe_image.h"
#include "kit/branding/utf16_text.h"
#include "kit/utf8_text.h"
#include "kit/branding/version_block.h"

namespace {

namespace br = kit::branding;

std::vector<br::PeLayoutPart> PartsOf(const br::PeImage& image) {
  std::vector<br::PeLayoutPart> parts;
  for (const br::PeLayoutProblem& problem : br::PeLayoutProblems(image)) parts.push_back(problem.part);
  return parts;
}

// The linker's program agrees in every part; each part spoilt on its own
// is found, and only that part. The checksum is made right again after
// each change but the checksum's own, so that each case shows one part.
TEST(PeLayout, EachPartIsCheckedOnItsOwn) {
  const br::PeImage sound = kit_test::ReadImage(kit_test::ResourcesProgram());
  ASSERT_EQ(PartsOf(sound), std::vector<br::PeLayoutPart>{});
  struct Case {
    const char* name;
    void (*spoil)(br::PeImage& image);
    br::PeLayoutPart part;
  };
  const Case cases[] = {
      {"SectionOffTheAlignment", [](br::PeImage& i) { i.sections[1].virtualAddress += 0x10; },
       br::PeLayoutPart::kSectionTable},
      {"SectionsOverlapInTheFile", [](br::PeImage& i) { i.sections[2].rawOffset = i.sections[1].rawOffset; },
       br::PeLayoutPart::kSectionTable},
      {"SectionPastTheFileEnd", [](br::PeImage& i) { i.sections.back().rawSize += 0x200; },
       br::PeLayoutPart::kSectionTable},
      {"ImageSizeTooLarge", [](br::PeImage& i) { i.sizeOfImage += 0x1000; }, br::PeLayoutPart::kImageSize},
      {"ImageSizeShort", [](br::PeImage& i) { i.sizeOfImage -= 0x1000; }, br::PeLayoutPart::kImageSize},
      {"ResourcesAcrossSections", [](br::PeImage& i) { i.directories[br::kResourceDirectoryIndex].size += 0x100000; },
       br::PeLayoutPart::kResourceDirectory},
      {"ChecksumStale", [](br::PeImage& i) { i.checksum += 1; }, br::PeLayoutPart::kChecksum},
      {"ChecksumOfOtherBytes", [](br::PeImage& i) { i.bytes[i.sections[0].rawOffset] ^= 1; },
       br::PeLayoutPart::kChecksum},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    br::PeImage image = sound;
    c.spoil(image);
    EXPECT_EQ(PartsOf(image), std::vector<br::PeLayoutPart>{c.part});
  }
}

// The checksum of the linker's program is the one its header holds, also
// with an odd length.
TEST(PeLayout, TheChecksumIsTheDocumentedSum) {
  const br::PeImage image = kit_test::ReadImage(kit_test::ResourcesProgram());
  EXPECT_EQ(br::PeChecksum(image.bytes, image.checksumField), image.checksum);
  // One byte more counts as a word of its own and adds to the length.
  EXPECT_EQ(br::PeChecksum(image.bytes + '\x01', image.checksumField), image.checksum + 2);
}

TEST(VersionNumber, IsFourPartsUpTo65535) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"1.0.0.1", true},
      {"65535.65535.65535.65535", true},
      {"0.0.0.0", true},
      {"01.2.3.4", true},
      {"1.2.3", false},
      {"1.2.3.4.5", false},
      {"1.2.3.65536", false},
      {"1.2..3", false},
      {"1.2.3.", false},
      {".1.2.3", false},
      {"1.2.3.-4", false},
      {"1.2.3.4 ", false},
      {"", false},
      {"1.2.3.99999999999", false},
  };
  for (const auto& [text, usable] : cases) {
    br::VersionNumber version;
    EXPECT_EQ(br::ParseVersionNumber(text, version), usable) << "\"" << text << "\"";
  }
  br::VersionNumber version;
  ASSERT_TRUE(br::ParseVersionNumber("2.10.300.65535", version));
  EXPECT_EQ(br::VersionText(version), "2.10.300.65535");
}

// The program's version block as res/setup.rc writes it, read back.
TEST(VersionBlock, ReadsTheBuiltBlock) {
  const br::Resource* resource = nullptr;
  const std::vector<br::Resource> resources = kit_test::ResourcesOf(kit_test::ResourcesProgram());
  resource = br::FindResource(resources, br::kTypeVersion, br::kVersionBlockId);
  ASSERT_NE(resource, nullptr);
  br::VersionBlock block;
  std::string why;
  ASSERT_TRUE(br::ParseVersionBlock(resource->data, block, why)) << why;
  EXPECT_EQ(block.fileVersion, (br::VersionNumber{1, 0, 0, 1}));
  ASSERT_EQ(block.tables.size(), 1u);
  EXPECT_EQ(block.tables[0].key, "040904b0");
  EXPECT_EQ(block.tables[0].strings.size(), 7u);
  EXPECT_EQ(*block.String("OriginalFilename"), "setup.exe");
  // Cut anywhere inside, it is refused, never read past its end.
  for (size_t size = 0; size < resource->data.size(); size += 7) {
    br::VersionBlock cut;
    const std::string part = resource->data.substr(0, size);
    if (br::ParseVersionBlock(part, cut, why)) ADD_FAILURE() << "a block cut after " << size << " bytes was taken";
  }
}

TEST(Utf8, WellFormedOnly) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"plain", true},     {"\xC2\xA9 2026", true}, {"\xE2\x82\xAC", true},  {"\xF0\x9F\x97\xBA", true},
      {"\xE9", false},     {"\xC0\xAF", false},     {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false},
      {"\xE2\x82", false}, {"\x80", false},
  };
  for (const auto& [text, wellFormed] : cases) EXPECT_EQ(kit::IsUtf8(text), wellFormed) << testing::PrintToString(text);
  // And back from UTF-16, a pair of surrogates as one character.
  const std::string units("\xA9\0 \0\x3D\xD8\xFA\xDD", 8);
  EXPECT_EQ(br::Utf8FromUtf16(units, 0, 4), "\xC2\xA9 \xF0\x9F\x97\xBA");
}

}  // namespace
