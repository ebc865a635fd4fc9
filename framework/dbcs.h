// Lead-byte rule of the active ANSI code page.
//
// Searches in CString step over double-byte characters: a byte that the rule
// calls a lead byte takes the following byte with it, so a trail byte equal to
// '\\' or '.' is never taken for one. The Win32 build asks the system by
// default; the host build treats every byte as a single character until a
// test installs a rule.
#pragma once

namespace dbcs {

using LeadByteRule = bool (*)(unsigned char byte);

// Sets the rule used by every search; nullptr restores the build's default.
void SetLeadByteRule(LeadByteRule rule);

bool IsLeadByte(unsigned char byte);

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
bool IsCodePage932LeadByte(unsigned char byte);

// Length in bytes of the character that starts at text[index] (1 or 2); a
// lead byte at the very end of the text counts as one byte.
int CharLength(const char* text, int length, int index);

}  // namespace dbcs
