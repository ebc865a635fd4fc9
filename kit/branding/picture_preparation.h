// The publisher's pictures made into what the program's resources hold,
// with ImageMagick's convert:
//
// - the logo: a 24-bit bitmap of 203 x 137 pixels, the size the screens are
//   laid out for. A BMP or PNG of that size is taken pixel for pixel; any
//   other size is scaled, keeping its proportions, to fit 203 x 137 and
//   centred on white. Transparent parts are put on white.
// - the icon: an ICO file is taken as it is, its images byte for byte; a
//   PNG is centred on a transparent square and made into images of 256, 48,
//   32 and 16 pixels, 32-bit.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "kit/branding/brand_options.h"
#include "kit/branding/picture_formats.h"

namespace kit::branding {

struct PreparedLogo {
  std::string dib;   // the bitmap resource: the BMP file without its file header
  std::string note;  // what was done, for the build's output
};

// Makes the logo from `file` in `workDir`; false, with `error` set, when
// convert cannot or its result is not the bitmap asked for.
bool PrepareLogo(const std::string& file, const BrandTools& tools, const std::filesystem::path& workDir,
                 PreparedLogo& logo, std::string& error);

struct PreparedIcon {
  std::string icoFile;            // the icon file to write into the program
  std::vector<IconImage> images;  // its images, with their bytes
  std::string note;
};

bool PrepareIcon(const std::string& file, const BrandTools& tools, const std::filesystem::path& workDir,
                 PreparedIcon& icon, std::string& error);

// The icon sizes made from a PNG, largest first.
const std::vector<unsigned>& IconSizesFromPng();

}  // namespace kit::branding
