#include "package/descriptor.h"

#include <cstdint>

#include "package/key_line.h"
#include "package/program_folder.h"
#include "package/text_mode_reader.h"

long ParseSizeNumber(const char* text) {
  constexpr std::int64_t kMax = INT32_MAX;
  constexpr std::int64_t kMin = INT32_MIN;
  while (IsTrimSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  std::int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > kMax + 1) value = kMax + 1;  // far enough to saturate either way
  }
  if (negative) value = -value;
  if (value > kMax) value = kMax;
  if (value < kMin) value = kMin;
  return static_cast<long>(value);
}

bool ReadPackageDescriptor(const CString& descriptorPath, PackageDescriptor& descriptor) {
  const CString folder = ProgramFolder(descriptorPath);
  TextModeReader reader(kDescriptorReadSize);
  if (!reader.Open(descriptorPath)) return false;

  CString archivePath;
  CString line;
  while (reader.ReadPiece(line)) {
    StripLineEnd(line);
    if (TakeKeyValue(line, kArchiveKey)) archivePath = folder + line;
    // The size key is looked for in the line as the archive key left it.
    if (TakeKeyValue(line, kSizeKey)) {
      descriptor.requiredKB = ParseSizeNumber(line);
      descriptor.hasSize = true;
    }
  }
  descriptor.zipPath = archivePath;
  descriptor.unzipPath = folder + kUnpackerName;
  return true;
}
