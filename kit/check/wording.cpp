#include "kit/check/wording.h"

#include <cstdio>
#include <cstring>

#include "res/texts.h"

namespace kit::check {

namespace {

// The text of a line quoted in a problem is cut after this many characters.
constexpr size_t kQuotedLineLength = 60;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kByteOrderMarkLength = sizeof kUtf8ByteOrderMark - 1;

// The program's message for a failed unpacking with `code` in place of the
// exit code.
std::string UnpackingFailedWith(const std::string& code) {
  constexpr const char kCodeField[] = "%lu";
  std::string text = TEXT_UNZIP_FAILED;
  const size_t field = text.find(kCodeField);
  if (field != std::string::npos) text.replace(field, std::strlen(kCodeField), code);
  return "after Install: \"" + text + "\"";
}

}  // namespace

std::string Quoted(const std::string& text, size_t limit) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == limit) {
      out += "...";
      break;
    }
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (text.compare(i, kByteOrderMarkLength, kUtf8ByteOrderMark) == 0) {
      // Invisible on a terminal: written out.
      out += "\\xEF\\xBB\\xBF";
      i += kByteOrderMarkLength - 1;
    } else if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\t') {
      out += "\\t";
    } else if (ch < kFirstPrintable || ch == kDelete) {
      char escaped[sizeof "\\x00"];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", ch);
      out += escaped;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

std::string QuotedLine(const std::string& line) { return Quoted(line, kQuotedLineLength); }

std::string UnpackingFailedMessage() { return UnpackingFailedWith("<code>"); }

std::string UnpackingFailedMessage(unsigned long exitCode) { return UnpackingFailedWith(std::to_string(exitCode)); }

void EntryGroup::Add(const std::string& name) {
  if (count++ == 0) first = name;
}

std::string EntryGroup::Described(const char* one, const char* many, const char* isOne, const char* isMany) const {
  if (count == 1) return std::string("the archive's ") + one + " " + Quoted(first) + " " + isOne;
  return std::to_string(count) + " of the archive's " + many + ", the first " + Quoted(first) + ", " + isMany;
}

}  // namespace kit::check
