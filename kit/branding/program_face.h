// The program's face as its resources give it: the logo both screens show,
// the icon, and the version block Windows shows in the file's properties;
// and whether each is still the one the program is built with.
#pragma once

#include <string>
#include <vector>

#include "kit/branding/pe_image.h"
#include "kit/branding/pe_resources.h"
#include "kit/branding/picture_formats.h"
#include "kit/branding/version_block.h"

namespace kit::branding {

// The size and depth of the logo the screens are laid out for: the static
// control of 136 x 87 dialog units shows the bitmap at its own pixel size
// from its top left corner, and 203 x 137 pixels is what those units come
// to with the screens' font.
constexpr std::uint32_t kLogoWidth = 203;
constexpr std::uint32_t kLogoHeight = 137;
constexpr std::uint16_t kLogoBitsPerPixel = 24;

struct ProgramFace {
  ResourceReadStatus resources = ResourceReadStatus::kNone;
  std::string damage;  // when the resources are damaged, or a screen's template is missing

  bool hasLogo = false;  // the bitmap both screens show, with a readable header
  BitmapInfo logo;
  bool logoBuiltIn = false;

  bool hasIcon = false;  // the program's icon group, with its images
  std::vector<IconImage> icons;
  bool iconBuiltIn = false;

  bool hasVersion = false;  // a readable version block
  VersionBlock version;
  bool companyBuiltIn = false;
};

ProgramFace ReadProgramFace(const PeImage& image);

// The logo's pixels in the package as bytes of a bitmap resource, and the
// icon images of an icon group: used by the check and by the branding
// stage's own check of what it wrote.
std::string LogoData(const std::vector<Resource>& resources);
// The icon group's images, each with the bytes of its icon resource; false
// when the group is malformed or names an icon resource that is missing.
bool IconGroupImages(const std::vector<Resource>& resources, std::vector<IconImage>& images);

}  // namespace kit::branding
