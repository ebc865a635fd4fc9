#include "kit/branding/utf16_text.h"

namespace kit::branding {

namespace {

constexpr std::uint32_t kHighSurrogateFirst = 0xD800;
constexpr std::uint32_t kLowSurrogateFirst = 0xDC00;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr std::uint32_t kSupplementaryFirst = 0x10000;
constexpr std::uint32_t kLargestCodePoint = 0x10FFFF;
constexpr std::uint32_t kReplacement = 0xFFFD;
constexpr int kSurrogateBits = 10;
constexpr int kContinuationBits = 6;
constexpr unsigned char kContinuationMark = 0x80;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr std::uint32_t kContinuationPayload = 0x3F;
constexpr std::uint32_t kOneByteEnd = 0x80;
constexpr std::uint32_t kTwoBytesEnd = 0x800;
constexpr unsigned char kTwoBytesLead = 0xC0;
constexpr unsigned char kThreeBytesLead = 0xE0;
constexpr unsigned char kFourBytesLead = 0xF0;
constexpr unsigned char kFiveBytesLead = 0xF8;
constexpr int kBitsPerByte = 8;

std::uint32_t UnitAt(const std::string& bytes, std::uint64_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         (std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << kBitsPerByte);
}

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < kOneByteEnd) {
    out += static_cast<char>(code);
  } else if (code < kTwoBytesEnd) {
    out += static_cast<char>(kTwoBytesLead | (code >> kContinuationBits));
    out += static_cast<char>(kContinuationMark | (code & kContinuationPayload));
  } else if (code < kSupplementaryFirst) {
    out += static_cast<char>(kThreeBytesLead | (code >> (2 * kContinuationBits)));
    out += static_cast<char>(kContinuationMark | ((code >> kContinuationBits) & kContinuationPayload));
    out += static_cast<char>(kContinuationMark | (code & kContinuationPayload));
  } else {
    out += static_cast<char>(kFourBytesLead | (code >> (3 * kContinuationBits)));
    out += static_cast<char>(kContinuationMark | ((code >> (2 * kContinuationBits)) & kContinuationPayload));
    out += static_cast<char>(kContinuationMark | ((code >> kContinuationBits) & kContinuationPayload));
    out += static_cast<char>(kContinuationMark | (code & kContinuationPayload));
  }
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

bool IsUtf8(const std::string& text) {
  // Each form of a UTF-8 sequence: the lead byte's mark under its mask, the
  // bits of the code point it carries, the continuation bytes that follow,
  // and the least code point the form may hold (no overlong forms).
  struct Form {
    unsigned char mask;
    unsigned char mark;
    unsigned char payload;
    size_t continuations;
    std::uint32_t least;
  };
  static const Form kForms[] = {
      {0xE0, kTwoBytesLead, 0x1F, 1, kOneByteEnd},
      {0xF0, kThreeBytesLead, 0x0F, 2, kTwoBytesEnd},
      {kFiveBytesLead, kFourBytesLead, 0x07, 3, kSupplementaryFirst},
  };
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead < kOneByteEnd) {
      ++i;
      continue;
    }
    const Form* form = nullptr;
    for (const Form& candidate : kForms) {
      if ((lead & candidate.mask) == candidate.mark) form = &candidate;
    }
    if (form == nullptr || i + form->continuations >= text.size()) return false;
    std::uint32_t code = lead & form->payload;
    for (size_t k = 1; k <= form->continuations; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & kContinuationMask) != kContinuationMark) return false;
      code = (code << kContinuationBits) | (next & kContinuationPayload);
    }
    if (code < form->least || code > kLargestCodePoint || (code >= kHighSurrogateFirst && code < kSurrogateEnd)) {
      return false;
    }
    i += form->continuations + 1;
  }
  return true;
}

}  // namespace kit::branding
