#include "framework/dbcs.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace dbcs {
namespace {

bool DefaultRule(unsigned char byte) {
#ifdef _WIN32
  return IsDBCSLeadByte(byte) != FALSE;
#else
  (void)byte;
  return false;
#endif
}

LeadByteRule g_rule = &DefaultRule;

}  // namespace

void SetLeadByteRule(LeadByteRule rule) { g_rule = rule != nullptr ? rule : &DefaultRule; }

bool IsLeadByte(unsigned char byte) { return g_rule(byte); }

bool IsCodePage932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int CharLength(const char* text, int length, int index) {
  if (index + 1 < length && IsLeadByte(static_cast<unsigned char>(text[index]))) return 2;
  return 1;
}

}  // namespace dbcs
