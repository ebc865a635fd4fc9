#include "kit/branding/utf16_text.h"

#include "kit/utf8_text.h"

namespace kit::branding {

namespace {

constexpr std::uint32_t kHighSurrogateFirst = 0xD800;
constexpr std::uint32_t kLowSurrogateFirst = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr std::uint32_t kSupplementaryFirst = 0x10000;
constexpr std::uint32_t kReplacement = 0xFFFD;
constexpr int kSurrogateBits = 10;
constexpr int kBitsPerByte = 8;

std::uint32_t UnitAt(const std::string& bytes, std::uint64_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         (std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << kBitsPerByte);
}

}  // namespace

std::string Utf8FromUtf16(const std::string& bytes, std::uint64_t at, std::uint64_t units) {
  std::string out;
  for (std::uint64_t i = 0; i < units; ++i) {
    std::uint32_t code = UnitAt(bytes, at + 2 * i);
    if (code >= kHighSurrogateFirst && code < kLowSurrogateFirst && i + 1 < units) {
      const std::uint32_t low = UnitAt(bytes, at + 2 * (i + 1));
      if (low >= kLowSurrogateFirst && low < kSurrogateEnd) {
        code = kSupplementaryFirst + ((code - kHighSurrogateFirst) << kSurrogateBits) + (low - kLowSurrogateFirst);
        ++i;
      }
    }
    if (code >= kHighSurrogateFirst && code < kSurrogateEnd) code = kReplacement;
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace kit::branding
