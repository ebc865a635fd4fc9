#include "kit/check/descriptor_lines.h"

#include <cctype>

#include "framework/cstring.h"
#include "package/descriptor.h"
#include "package/key_line.h"
#include "package/text_mode_reader.h"

namespace kit::check {

namespace {

constexpr const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// True when `line` holds `key` with at least one letter in another case.
bool HoldsKeyInOtherCase(const std::string& line, const std::string& key) {
  const std::string lowerLine = Lower(line);
  const std::string lowerKey = Lower(key);
  for (size_t at = lowerLine.find(lowerKey); at != std::string::npos; at = lowerLine.find(lowerKey, at + 1)) {
    if (line.compare(at, key.size(), key) != 0) return true;
  }
  return false;
}

// One step of the program's reading of a line: when `line` holds `key`, it
// is replaced by the key's value. `raw` is the whole line, for quoting.
void TakeKey(CString& line, const char* key, const std::string& raw, KeyLines& lines) {
  const int at = line.Find(key);
  const std::string before = line.str().substr(0, at > 0 ? static_cast<size_t>(at) : 0);
  if (!TakeKeyValue(line, key)) return;
  lines.found = true;
  lines.value = line.str();
  lines.lines.push_back({raw, at == 0, before == kUtf8ByteOrderMark});
}

}  // namespace

DescriptorLines ScanDescriptor(const std::string& path) {
  DescriptorLines lines;
  TextModeReader reader(kDescriptorReadSize);
  if (!reader.Open(path.c_str())) return lines;
  CString piece;
  while (reader.ReadPiece(piece)) {
    StripLineEnd(piece);
    const std::string raw = piece.str();
    if (HoldsKeyInOtherCase(raw, kArchiveKey)) lines.archive.otherCase.push_back(raw);
    if (HoldsKeyInOtherCase(raw, kSizeKey)) lines.size.otherCase.push_back(raw);
    CString line = piece;
    TakeKey(line, kArchiveKey, raw, lines.archive);
    TakeKey(line, kSizeKey, raw, lines.size);
  }
  return lines;
}

}  // namespace kit::check
