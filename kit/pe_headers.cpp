#include "kit/pe_headers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "kit/byte_view.h"
#include "kit/pe_layout.h"

namespace kit {

namespace {

namespace fs = std::filesystem;

using namespace pe_layout;  // NOLINT: the layout's offsets, read below

constexpr std::uint64_t kSubsystemFieldEnd = kSubsystemField + 2;
// The certificate table's entry gives a file offset, not an address.
constexpr std::uint32_t kCertificateDirectoryIndex = 4;
constexpr char kCertificatePartName[] = "certificate table";

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7E;

// Fields of bytes read from the file, whose extent the caller has checked
// against the fields it reads; the view's own bounds hold regardless.
std::uint16_t Word(const std::string& bytes, std::uint64_t at) {
  std::uint16_t value = 0;
  ByteView(bytes).U16(at, value);
  return value;
}

std::uint32_t Dword(const std::string& bytes, std::uint64_t at) {
  std::uint32_t value = 0;
  ByteView(bytes).U32(at, value);
  return value;
}

// `size` bytes of the file from `offset`, or fewer where it ends.
bool ReadAt(std::ifstream& in, std::uint64_t offset, std::uint64_t size, std::string& bytes) {
  bytes.assign(size, '\0');
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  if (in.bad()) return false;
  bytes.resize(static_cast<size_t>(in.gcount()));
  return true;
}

PeReadResult Fail(PeReadStatus status, std::string why) {
  PeReadResult result;
  result.status = status;
  result.why = std::move(why);
  return result;
}

// A section by its place in the table and its name, as stored: a long name
// is stored as "/" and its offset in the symbols' string table.
std::string SectionWhat(const std::string& bytes, std::uint64_t row, std::uint64_t number) {
  std::string name = bytes.substr(row, kSectionNameSize);
  name = name.substr(0, name.find('\0'));
  for (char& ch : name) {
    if (static_cast<unsigned char>(ch) < kFirstPrintable || static_cast<unsigned char>(ch) > kLastPrintable) ch = '?';
  }
  return "section " + std::to_string(number) + " (\"" + name + "\")";
}

}  // namespace

PeReadResult ReadPeHeaders(const std::string& path) {
  std::error_code code;
  const std::uint64_t fileSize = fs::file_size(path, code);
  std::ifstream in(path, std::ios::binary);
  if (code || !in) return Fail(PeReadStatus::kCannotRead, "it cannot be read");
  std::string dos;
  if (!ReadAt(in, 0, kDosHeaderSize, dos)) return Fail(PeReadStatus::kCannotRead, "it cannot be read");
  if (dos.compare(0, sizeof kDosMagic - 1, kDosMagic) != 0) {
    return Fail(PeReadStatus::kNotPe, "it does not start with \"MZ\"");
  }
  if (dos.size() < kDosHeaderSize) {
    return Fail(PeReadStatus::kNotPe, "it ends inside the DOS header, after " + std::to_string(fileSize) + " bytes");
  }
  // From here on, offsets count from the PE signature.
  const std::uint64_t signature = Dword(dos, kSignatureOffsetField);
  constexpr std::uint64_t kFileHeader = kPeSignatureSize;
  constexpr std::uint64_t kOptionalHeader = kFileHeader + kFileHeaderSize;
  if (signature + kOptionalHeader > fileSize) {
    return Fail(PeReadStatus::kNotPe, "\"MZ\" starts it, but no PE header follows within its " +
                                          std::to_string(fileSize) + " bytes (a DOS program, or a file cut short)");
  }
  std::string bytes;
  if (!ReadAt(in, signature, kOptionalHeader, bytes) || bytes.size() < kOptionalHeader) {
    return Fail(PeReadStatus::kCannotRead, "it cannot be read");
  }
  if (bytes.compare(0, kPeSignatureSize, kPeSignature, kPeSignatureSize) != 0) {
    return Fail(PeReadStatus::kNotPe, "\"MZ\" starts it, but no PE signature follows (a DOS or 16-bit program)");
  }

  PeReadResult result;
  PeHeaders& headers = result.headers;
  headers.fileSize = fileSize;
  headers.machine = Word(bytes, kFileHeader + kMachineField);
  headers.characteristics = Word(bytes, kFileHeader + kFileCharacteristicsField);
  const std::uint64_t optionalSize = Word(bytes, kFileHeader + kOptionalHeaderSizeField);
  const std::uint64_t sectionTable = kOptionalHeader + optionalSize;
  const std::uint64_t headersEnd = sectionTable + Word(bytes, kFileHeader + kSectionCountField) * kSectionRowSize;
  if (optionalSize < kSubsystemFieldEnd) {
    return Fail(PeReadStatus::kNotPe, "its optional header is missing or too short for a program");
  }
  if (signature + headersEnd > fileSize) {
    return Fail(PeReadStatus::kHeadersCut,
                "its headers and section table need " + std::to_string(signature + headersEnd) +
                    " bytes, but the file ends after " + std::to_string(fileSize) + " bytes");
  }
  if (!ReadAt(in, signature, headersEnd, bytes) || bytes.size() < headersEnd) {
    return Fail(PeReadStatus::kCannotRead, "it cannot be read");
  }
  headers.magic = Word(bytes, kOptionalHeader + kMagicField);
  if (headers.magic != kMagicPe32 && headers.magic != kMagicPe32Plus) {
    char magic[sizeof "0x0000"];
    std::snprintf(magic, sizeof magic, "0x%04X", headers.magic);
    return Fail(PeReadStatus::kNotPe, std::string("its optional header has the unknown magic ") + magic);
  }
  headers.subsystem = Word(bytes, kOptionalHeader + kSubsystemField);

  std::uint64_t number = 1;
  for (std::uint64_t row = sectionTable; row < headersEnd; row += kSectionRowSize, ++number) {
    const std::uint64_t rawSize = Dword(bytes, row + kRawSizeField);
    if (rawSize == 0) continue;  // uninitialised data: nothing in the file
    headers.parts.push_back({SectionWhat(bytes, row, number), Dword(bytes, row + kRawOffsetField), rawSize});
  }
  const std::uint64_t countField =
      kOptionalHeader + (headers.magic == kMagicPe32 ? kDirectoryCountFieldPe32 : kDirectoryCountFieldPe32Plus);
  const std::uint64_t certificateEntry =
      countField + sizeof(std::uint32_t) + kCertificateDirectoryIndex * kDirectoryEntrySize;
  if (certificateEntry + kDirectoryEntrySize <= sectionTable && Dword(bytes, countField) > kCertificateDirectoryIndex) {
    const std::uint64_t size = Dword(bytes, certificateEntry + sizeof(std::uint32_t));
    if (size != 0) headers.parts.push_back({kCertificatePartName, Dword(bytes, certificateEntry), size, false});
  }
  result.status = PeReadStatus::kRead;
  return result;
}

bool Is64Bit(const PeHeaders& headers) {
  return headers.magic == kMagicPe32Plus || headers.machine == kMachineAmd64 || headers.machine == kMachineArm64 ||
         headers.machine == kMachineIa64;
}

std::string MachineName(std::uint16_t machine) {
  switch (machine) {
    case kMachineI386:
      return "x86";
    case kMachineAmd64:
      return "x64";
    case kMachineArm64:
      return "ARM64";
    case kMachineIa64:
      return "Itanium";
    default: {
      char number[sizeof "0x0000"];
      std::snprintf(number, sizeof number, "0x%04X", machine);
      return number;
    }
  }
}

const PeFilePart* FurthestPartPastEnd(const PeHeaders& headers) {
  const PeFilePart* furthest = nullptr;
  for (const PeFilePart& part : headers.parts) {
    if (part.End() > headers.fileSize && (furthest == nullptr || part.End() > furthest->End())) furthest = &part;
  }
  return furthest;
}

bool AnySectionPastEnd(const PeHeaders& headers) {
  for (const PeFilePart& part : headers.parts) {
    if (part.isSection && part.End() > headers.fileSize) return true;
  }
  return false;
}

}  // namespace kit
