// The build's branding stage: writes the publisher's face into the
// package's copy of the program, NAME.exe, in place (whole, through a
// temporary file), and never into the build's setup.exe. It runs after the
// program is copied into the package and before it is signed: a signature
// covers the branded bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "kit/branding/brand_options.h"

namespace kit::branding {

// Brands `program`; false, with `error` set, when a picture cannot be made,
// the resource writer fails, or the copy it wrote is not sound (then
// `program` stays as it was). One note per part written.
bool BrandProgram(const std::filesystem::path& program, const BrandOptions& options, std::vector<std::string>& notes,
                  std::string& error);

}  // namespace kit::branding
