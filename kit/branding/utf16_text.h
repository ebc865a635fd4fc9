// UTF-16 text of resources (little-endian, as Windows stores it) as UTF-8,
// and back: names of resources and the strings of the version block.
#pragma once

#include <cstdint>
#include <string>

namespace kit::branding {

// `units` UTF-16 code units from `at` in `bytes` as UTF-8; a lone surrogate
// becomes U+FFFD. The caller has checked that the units lie in `bytes`.
std::string Utf8FromUtf16(const std::string& bytes, std::uint64_t at, std::uint64_t units);

}  // namespace kit::branding
