// Whether one path lies within a folder, links and ".." resolved as far as
// the paths exist: what decides that the package folder or a secret file
// must not lie in the data folder, whose whole content is packed.
#pragma once

#include <filesystem>

namespace kit {

// True when `inner` is `outer` or lies anywhere below it.
bool IsSameOrInside(const std::filesystem::path& inner, const std::filesystem::path& outer);

}  // namespace kit
