// The readers of a program's face on arbitrary bytes: as a whole program
// file (its layout, its resource tree, its logo, icon and version block),
// as a resource section of its own, and as the picture files and version
// block the kit reads. Every read must stay within the bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "kit/branding/pe_image.h"
#include "kit/branding/pe_resources.h"
#include "kit/branding/picture_formats.h"
#include "kit/branding/program_face.h"
#include "kit/branding/utf16_text.h"
#include "kit/branding/version_block.h"
#include "kit/utf8_text.h"

namespace br = kit::branding;

namespace {

// An input read as a resource section: its first four bytes give the
// section's address in memory, the rest is the section.
constexpr size_t kAddressBytes = 4;
constexpr std::uint32_t kSectionAlignment = 0x1000;

void ReadAsSection(const std::string& input) {
  if (input.size() < kAddressBytes) return;
  std::uint32_t address = 0;
  for (size_t i = kAddressBytes; i-- > 0;) address = (address << 8) | static_cast<unsigned char>(input[i]);
  br::PeImage image;
  image.bytes = input.substr(kAddressBytes);
  image.sectionAlignment = kSectionAlignment;
  image.directories.resize(br::kResourceDirectoryIndex + 1);
  image.directories[br::kResourceDirectoryIndex] = {address, static_cast<std::uint32_t>(image.bytes.size())};
  image.sections.push_back({".rsrc", address, static_cast<std::uint32_t>(image.bytes.size()), 0,
                            static_cast<std::uint32_t>(image.bytes.size()), 0});
  const br::ProgramFace face = br::ReadProgramFace(image);
  if (face.resources == br::ResourceReadStatus::kRead && face.damage.empty() && face.hasIcon && face.icons.empty()) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  br::PeImage image;
  std::string why;
  if (br::ParsePeImage(input, image, why)) {
    br::PeLayoutProblems(image);
    const br::ResourceReadResult resources = br::ReadResources(image);
    if (resources.status == br::ResourceReadStatus::kDamaged && resources.why.empty()) std::abort();
    br::ReadProgramFace(image);
  }
  ReadAsSection(input);

  br::VersionBlock block;
  if (br::ParseVersionBlock(input, block, why)) {
    for (const br::VersionStringTable& table : block.tables) {
      for (const auto& string : table.strings) {
        if (!kit::IsUtf8(string.first) || !kit::IsUtf8(string.second)) std::abort();
      }
    }
  }
  std::vector<br::IconImage> icons;
  if (br::ReadIconFile(input, icons, why)) {
    for (const br::IconImage& icon : icons) {
      if (icon.data.size() != icon.size) std::abort();
    }
  }
  br::ReadIconGroup(input, icons);
  br::BitmapInfo info;
  br::ReadBitmapInfo(input, info);
  br::IdentifyPicture(input);
  return 0;
}
