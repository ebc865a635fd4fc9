// The branding stage's own check of the copy it wrote, made without the
// writer's library: the copy must be the program it was, the publisher's
// face in place of the built one, and nothing else changed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kit/branding/pe_image.h"
#include "kit/branding/picture_formats.h"
#include "kit/branding/version_block.h"

namespace kit::branding {

// What the copy must hold; each part not set must be as it was.
struct BrandedFace {
  std::optional<std::string> logoDib;
  std::optional<std::vector<IconImage>> icons;  // with their bytes
  std::optional<VersionNumber> version;
  std::vector<std::pair<std::string, std::string>> strings;  // version strings set
  bool VersionChanged() const { return version.has_value() || !strings.empty(); }
};

// Every way in which `after` is not `before` with `face` written into it:
// a layout that does not agree (section table, image size, resource
// directory, checksum), a header field, section or data directory that
// changed where it must not, a resource other than the logo, the icon and
// the version block that changed (the manifest and the dialog templates
// among them), or a part of the face that is not what was asked. Empty for
// a sound copy.
std::vector<std::string> BrandedCopyProblems(const PeImage& before, const PeImage& after, const BrandedFace& face);

}  // namespace kit::branding
