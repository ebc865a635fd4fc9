#include "kit/utf8_text.h"

#include <cstddef>

namespace kit {

namespace {

constexpr std::uint32_t kSurrogateFirst = 0xD800;
constexpr std::uint32_t kSurrogateEnd = 0xE000;
constexpr std::uint32_t kSupplementaryFirst = 0x10000;
constexpr std::uint32_t kLargestCodePoint = 0x10FFFF;
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

}  // namespace

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
    if (code < form->least || code > kLargestCodePoint || (code >= kSurrogateFirst && code < kSurrogateEnd)) {
      return false;
    }
    i += form->continuations + 1;
  }
  return true;
}

bool IsAscii(const std::string& text) {
  for (const char ch : text) {
    if (static_cast<unsigned char>(ch) >= kOneByteEnd) return false;
  }
  return true;
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

}  // namespace kit
