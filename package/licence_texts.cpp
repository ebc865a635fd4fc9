#include "package/licence_texts.h"

#include "package/key_line.h"
#include "package/text_mode_reader.h"

namespace {
constexpr const char kFirstLineKey[] = "FIRSTLINE:";
constexpr const char kSecondLineKey[] = "SECONDLINE:";
constexpr const char kThirdLineKey[] = "THIRDLINE:";
constexpr const char kLicenceLineEnd[] = "\r\r\n";
}  // namespace

bool ReadWelcomeLines(const char* path, WelcomeLines& lines) {
  TextModeReader reader(kWelcomeReadSize);
  if (!reader.Open(path)) return false;
  CString line;
  while (reader.ReadPiece(line)) {
    StripLineEnd(line);
    // Each key is looked for in the line as the previous search left it.
    if (TakeKeyValue(line, kFirstLineKey)) lines.first = line;
    if (TakeKeyValue(line, kSecondLineKey)) lines.second = line;
    if (TakeKeyValue(line, kThirdLineKey)) lines.third = line;
  }
  return true;
}

bool ReadLicenceText(const char* path, CString& text) {
  TextModeReader reader(kLicenceReadSize);
  if (!reader.Open(path)) return false;
  CString piece;
  while (reader.ReadPiece(piece)) {
    const bool hadLineEnd = StripLineEnd(piece);
    text += piece;
    if (hadLineEnd) text += kLicenceLineEnd;
  }
  return true;
}

LicenceScreenTexts ReadLicenceScreenTexts(const CString& programFolder, const WelcomeLines& fallback) {
  LicenceScreenTexts texts;
  if (!ReadWelcomeLines(programFolder + kWelcomeFileName, texts.lines)) texts.lines = fallback;
  texts.lines.first.TrimLeft();
  texts.lines.second.TrimLeft();
  texts.lines.third.TrimLeft();
  texts.headline = texts.lines.first;
  ReadLicenceText(programFolder + kLicenceFileName, texts.licenceText);
  return texts;
}
