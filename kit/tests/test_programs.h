// Small Windows program files for the kit's tests, written byte by byte
// from the documented PE layout: a DOS header pointing at the PE signature,
// the file header, the optional header and the section table, then the
// sections' raw data. They are never run; the check reads their headers.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kit_test {

struct TestSection {
  std::string name;
  std::uint32_t rawOffset = 0;
  std::uint32_t rawSize = 0;
};

// The shape of a test program; the defaults make a 32-bit x86 windowed
// program with one section of code.
struct ProgramShape {
  static constexpr std::uint16_t kI386 = 0x014C;
  static constexpr std::uint16_t kAmd64 = 0x8664;
  static constexpr std::uint16_t kArm64 = 0xAA64;
  static constexpr std::uint16_t kArmThumb2 = 0x01C4;
  static constexpr std::uint16_t kPe32 = 0x010B;
  static constexpr std::uint16_t kPe32Plus = 0x020B;
  static constexpr std::uint16_t kGui = 2;
  static constexpr std::uint16_t kConsole = 3;
  static constexpr std::uint16_t kExecutable = 0x0002;
  static constexpr std::uint16_t kLargeAddressAware = 0x0020;
  static constexpr std::uint16_t k32BitMachine = 0x0100;
  static constexpr std::uint16_t kDll = 0x2000;
  static constexpr std::uint32_t kFirstSectionOffset = 0x400;
  static constexpr std::uint32_t kSectionSize = 0x200;

  std::uint16_t machine = kI386;
  std::uint16_t characteristics = kExecutable | k32BitMachine;
  std::uint16_t magic = kPe32;
  std::uint16_t subsystem = kGui;
  std::vector<TestSection> sections = {{".text", kFirstSectionOffset, kSectionSize}};
  // The signature's certificate table, as a file offset and size; none when 0.
  std::uint32_t certificateOffset = 0;
  std::uint32_t certificateSize = 0;
  // Where the file ends; 0: where its last part ends.
  std::uint64_t fileSize = 0;

  // The same program for x86-64, with PE32+ headers.
  ProgramShape X64() const {
    ProgramShape shape = *this;
    shape.machine = kAmd64;
    shape.magic = kPe32Plus;
    shape.characteristics = kExecutable | kLargeAddressAware;
    return shape;
  }
  ProgramShape Console() const {
    ProgramShape shape = *this;
    shape.subsystem = kConsole;
    return shape;
  }
};

// A console program: what unzip.exe must be.
inline ProgramShape UnpackerShape() { return ProgramShape().Console(); }

inline void PutLittle(std::string& bytes, std::uint64_t at, std::uint64_t value, int size) {
  constexpr int kBitsPerByte = 8;
  constexpr unsigned kByteMask = 0xFF;
  const std::uint64_t end = at + static_cast<std::uint64_t>(size);
  if (bytes.size() < end) bytes.resize(end, '\0');
  for (int i = 0; i < size; ++i) {
    bytes[at + static_cast<std::uint64_t>(i)] = static_cast<char>((value >> (kBitsPerByte * i)) & kByteMask);
  }
}

inline std::string ProgramBytes(const ProgramShape& shape) {
  // The documented layout, field by field.
  constexpr int kWord = 2;
  constexpr int kDword = 4;
  constexpr std::uint64_t kSignatureOffsetField = 0x3C;
  constexpr std::uint64_t kSignatureAt = 0x80;  // after the DOS header and room for a stub
  constexpr std::uint64_t kFileHeaderAt = kSignatureAt + 4;
  constexpr std::uint64_t kMachineField = 0;
  constexpr std::uint64_t kSectionCountField = 2;
  constexpr std::uint64_t kOptionalSizeField = 16;
  constexpr std::uint64_t kCharacteristicsField = 18;
  constexpr std::uint64_t kOptionalAt = kFileHeaderAt + 20;
  constexpr std::uint64_t kMagicField = 0;
  constexpr std::uint64_t kSubsystemField = 68;
  constexpr std::uint64_t kOptionalSizePe32 = 224;
  constexpr std::uint64_t kOptionalSizePe32Plus = 240;
  constexpr std::uint64_t kDirectoryCountFieldPe32 = 92;
  constexpr std::uint64_t kDirectoryCountFieldPe32Plus = 108;
  constexpr std::uint64_t kDirectoryCount = 16;
  constexpr std::uint64_t kDirectoryEntrySize = 8;
  constexpr std::uint64_t kCertificateIndex = 4;
  constexpr std::uint64_t kSectionRowSize = 40;
  constexpr std::uint64_t kRawSizeField = 16;
  constexpr std::uint64_t kRawOffsetField = 20;
  constexpr char kSectionFill = 'x';

  const bool plus = shape.magic == ProgramShape::kPe32Plus;
  const std::uint64_t optionalSize = plus ? kOptionalSizePe32Plus : kOptionalSizePe32;
  const std::uint64_t countField = kOptionalAt + (plus ? kDirectoryCountFieldPe32Plus : kDirectoryCountFieldPe32);
  const std::uint64_t certificateEntry = countField + kDword + kCertificateIndex * kDirectoryEntrySize;
  std::string bytes = "MZ";
  PutLittle(bytes, kSignatureOffsetField, kSignatureAt, kDword);
  bytes.resize(kSignatureAt, '\0');
  bytes += std::string("PE\0\0", 4);
  PutLittle(bytes, kFileHeaderAt + kMachineField, shape.machine, kWord);
  PutLittle(bytes, kFileHeaderAt + kSectionCountField, shape.sections.size(), kWord);
  PutLittle(bytes, kFileHeaderAt + kOptionalSizeField, optionalSize, kWord);
  PutLittle(bytes, kFileHeaderAt + kCharacteristicsField, shape.characteristics, kWord);
  PutLittle(bytes, kOptionalAt + kMagicField, shape.magic, kWord);
  PutLittle(bytes, kOptionalAt + kSubsystemField, shape.subsystem, kWord);
  PutLittle(bytes, countField, kDirectoryCount, kDword);
  PutLittle(bytes, certificateEntry, shape.certificateOffset, kDword);
  PutLittle(bytes, certificateEntry + kDword, shape.certificateSize, kDword);
  const std::uint64_t table = kOptionalAt + optionalSize;
  bytes.resize(table + shape.sections.size() * kSectionRowSize, '\0');
  std::uint64_t end = bytes.size();
  for (size_t i = 0; i < shape.sections.size(); ++i) {
    const TestSection& section = shape.sections[i];
    const std::uint64_t row = table + i * kSectionRowSize;
    bytes.replace(row, section.name.size(), section.name);
    PutLittle(bytes, row + kRawSizeField, section.rawSize, kDword);
    PutLittle(bytes, row + kRawOffsetField, section.rawOffset, kDword);
    if (section.rawSize != 0) end = std::max<std::uint64_t>(end, section.rawOffset + section.rawSize);
  }
  end = std::max<std::uint64_t>(end, std::uint64_t{shape.certificateOffset} + shape.certificateSize);
  bytes.resize(shape.fileSize != 0 ? shape.fileSize : end, kSectionFill);
  return bytes;
}

}  // namespace kit_test
