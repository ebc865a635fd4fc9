// UTF-8 as the kit takes it: the one test of well-formed text, for names
// (build and check) and for the version block's texts (branding), and the
// encoding of one character. Locale-free: no C library state is touched.
#pragma once

#include <cstdint>
#include <string>

namespace kit {

// True when `text` is well-formed UTF-8: no overlong forms, no surrogates,
// nothing past U+10FFFF.
bool IsUtf8(const std::string& text);

// True when every byte of `text` is below 0x80.
bool IsAscii(const std::string& text);

// Appends the UTF-8 bytes of the code point `code` (at most U+10FFFF).
void AppendUtf8(std::string& out, std::uint32_t code);

}  // namespace kit
