#include "kit/branding/pe_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "kit/byte_view.h"
#include "kit/pe_headers.h"
#include "kit/pe_layout.h"

namespace kit::branding {

namespace {

using namespace pe_layout;  // NOLINT: the layout's offsets, read below

const std::string kPeSignatureBytes(kPeSignature, kPeSignatureSize);

// The documented number of data directories; a larger count is not read.
constexpr std::uint32_t kMostDirectories = 16;

constexpr std::uint64_t kChecksumFieldSize = 4;
constexpr std::uint64_t kWordMask = 0xFFFF;
constexpr int kWordBits = 16;

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
  return alignment == 0 ? value : (value + alignment - 1) / alignment * alignment;
}

std::string Hex(std::uint64_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + text;
}

void SectionTableProblems(const PeImage& image, std::vector<PeLayoutProblem>& problems) {
  const auto add = [&problems](const std::string& what) { problems.push_back({PeLayoutPart::kSectionTable, what}); };
  std::uint64_t previousVirtualEnd = AlignUp(image.sizeOfHeaders, image.sectionAlignment);
  std::uint64_t previousRawEnd = image.sizeOfHeaders;
  for (const PeSection& section : image.sections) {
    const std::string name = "section " + section.name;
    if (image.sectionAlignment != 0 && section.virtualAddress % image.sectionAlignment != 0) {
      add(name + " starts at " + Hex(section.virtualAddress) + ", not on the section alignment " +
          Hex(image.sectionAlignment));
    }
    if (section.virtualAddress < previousVirtualEnd) {
      add(name + " starts at " + Hex(section.virtualAddress) + ", inside the headers or the section before it");
    }
    previousVirtualEnd = AlignUp(section.VirtualEnd(), image.sectionAlignment);
    if (section.rawSize == 0) continue;
    if (image.fileAlignment != 0 && section.rawOffset % image.fileAlignment != 0) {
      add(name + "'s data starts at byte " + Hex(section.rawOffset) + ", not on the file alignment " +
          Hex(image.fileAlignment));
    }
    if (section.rawOffset < previousRawEnd) {
      add(name + "'s data starts at byte " + Hex(section.rawOffset) + ", inside the headers or the data before it");
    }
    const std::uint64_t rawEnd = std::uint64_t{section.rawOffset} + section.rawSize;
    if (rawEnd > image.bytes.size()) {
      add(name + "'s data runs to byte " + Hex(rawEnd) + ", past the end of the file at " + Hex(image.bytes.size()));
    }
    previousRawEnd = rawEnd;
  }
}

}  // namespace

PeDirectory PeImage::Directory(std::uint32_t index) const {
  return index < directories.size() ? directories[index] : PeDirectory();
}

const PeSection* PeImage::SectionHolding(std::uint64_t rva, std::uint64_t size) const {
  for (const PeSection& section : sections) {
    if (rva >= section.virtualAddress && rva + size <= section.VirtualEnd()) return &section;
  }
  return nullptr;
}

bool PeImage::FileOffsetOf(std::uint64_t rva, std::uint64_t size, std::uint64_t& offset) const {
  const PeSection* section = SectionHolding(rva, size);
  if (section == nullptr) return false;
  const std::uint64_t within = rva - section->virtualAddress;
  if (within + size > section->rawSize) return false;
  offset = section->rawOffset + within;
  return offset + size <= bytes.size();
}

bool ParsePeImage(std::string bytes, PeImage& image, std::string& why) {
  image = PeImage();
  image.bytes = std::move(bytes);
  const ByteView view(image.bytes);
  std::uint32_t signature = 0;
  if (!view.StartsWith(0, kDosMagic) || !view.U32(kSignatureOffsetField, signature) ||
      !view.StartsWith(signature, kPeSignatureBytes)) {
    why = "it is not a PE image (no \"MZ\" or no PE signature)";
    return false;
  }
  const std::uint64_t fileHeader = std::uint64_t{signature} + kPeSignatureSize;
  const std::uint64_t optional = fileHeader + kFileHeaderSize;
  std::uint16_t sectionCount = 0;
  std::uint16_t optionalSize = 0;
  std::uint16_t magic = 0;
  if (!view.U16(fileHeader + kSectionCountField, sectionCount) ||
      !view.U16(fileHeader + kOptionalHeaderSizeField, optionalSize) || !view.U16(optional + kMagicField, magic) ||
      !view.Holds(optional, optionalSize)) {
    why = "its headers are cut";
    return false;
  }
  if (magic != kMagicPe32 && magic != kMagicPe32Plus) {
    why = "its optional header has the unknown magic " + Hex(magic);
    return false;
  }
  image.pe32Plus = magic == kMagicPe32Plus;
  const std::uint64_t countField =
      optional + (image.pe32Plus ? kDirectoryCountFieldPe32Plus : kDirectoryCountFieldPe32);
  std::uint32_t directoryCount = 0;
  std::uint32_t baseLow = 0;
  std::uint32_t baseHigh = 0;
  const std::uint64_t baseField = optional + (image.pe32Plus ? kImageBaseFieldPe32Plus : kImageBaseFieldPe32);
  const bool fieldsRead = view.U32(optional + kEntryPointField, image.entryPoint) && view.U32(baseField, baseLow) &&
                          (!image.pe32Plus || view.U32(baseField + sizeof baseLow, baseHigh)) &&
                          view.U32(optional + kSectionAlignmentField, image.sectionAlignment) &&
                          view.U32(optional + kFileAlignmentField, image.fileAlignment) &&
                          view.U32(optional + kSizeOfImageField, image.sizeOfImage) &&
                          view.U32(optional + kSizeOfHeadersField, image.sizeOfHeaders) &&
                          view.U32(optional + kChecksumField, image.checksum) && view.U32(countField, directoryCount);
  if (!fieldsRead || countField >= optional + optionalSize) {
    why = "its optional header is too short";
    return false;
  }
  image.imageBase = (std::uint64_t{baseHigh} << (sizeof baseLow * ByteView::kBitsPerByte)) | baseLow;
  image.checksumField = optional + kChecksumField;
  const std::uint64_t optionalEnd = optional + optionalSize;
  for (std::uint32_t i = 0; i < directoryCount && i < kMostDirectories; ++i) {
    const std::uint64_t entry = countField + sizeof directoryCount + i * kDirectoryEntrySize;
    if (entry + kDirectoryEntrySize > optionalEnd) break;
    PeDirectory directory;
    view.U32(entry, directory.virtualAddress);
    view.U32(entry + sizeof directory.virtualAddress, directory.size);
    image.directories.push_back(directory);
  }
  for (std::uint64_t i = 0; i < sectionCount; ++i) {
    const std::uint64_t row = optionalEnd + i * kSectionRowSize;
    PeSection section;
    std::string name;
    if (!view.Bytes(row, kSectionNameSize, name) || !view.U32(row + kVirtualSizeField, section.virtualSize) ||
        !view.U32(row + kVirtualAddressField, section.virtualAddress) ||
        !view.U32(row + kRawSizeField, section.rawSize) || !view.U32(row + kRawOffsetField, section.rawOffset) ||
        !view.U32(row + kSectionCharacteristicsField, section.characteristics)) {
      why = "its section table is cut";
      return false;
    }
    section.name = name.substr(0, name.find('\0'));
    image.sections.push_back(section);
  }
  return true;
}

bool ReadPeImage(const std::string& path, PeImage& image, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "it cannot be read";
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) {
    why = "it cannot be read";
    return false;
  }
  return ParsePeImage(std::move(bytes), image, why);
}

std::uint32_t PeChecksum(const std::string& bytes, std::uint64_t checksumField) {
  std::uint64_t sum = 0;
  const std::uint64_t size = bytes.size();
  for (std::uint64_t at = 0; at < size; at += 2) {
    if (at >= checksumField && at < checksumField + kChecksumFieldSize) continue;
    std::uint64_t word = static_cast<unsigned char>(bytes[at]);
    if (at + 1 < size) word |= std::uint64_t{static_cast<unsigned char>(bytes[at + 1])} << ByteView::kBitsPerByte;
    sum += word;
    sum = (sum & kWordMask) + (sum >> kWordBits);
  }
  sum = (sum & kWordMask) + (sum >> kWordBits);
  return static_cast<std::uint32_t>(sum + size);
}

std::vector<PeLayoutProblem> PeLayoutProblems(const PeImage& image) {
  std::vector<PeLayoutProblem> problems;
  SectionTableProblems(image, problems);

  std::uint64_t end = AlignUp(image.sizeOfHeaders, image.sectionAlignment);
  for (const PeSection& section : image.sections) end = std::max(end, section.VirtualEnd());
  const std::uint64_t expected = AlignUp(end, image.sectionAlignment);
  if (image.sizeOfImage != expected) {
    problems.push_back({PeLayoutPart::kImageSize, "the image size is " + Hex(image.sizeOfImage) +
                                                      ", but the last section ends at " + Hex(expected)});
  }

  const PeDirectory resources = image.Directory(kResourceDirectoryIndex);
  if (resources.size != 0 && image.SectionHolding(resources.virtualAddress, resources.size) == nullptr) {
    problems.push_back({PeLayoutPart::kResourceDirectory, "the resource directory (" + Hex(resources.size) +
                                                              " bytes at " + Hex(resources.virtualAddress) +
                                                              ") lies in no one section"});
  }

  const std::uint32_t checksum = PeChecksum(image.bytes, image.checksumField);
  if (image.checksum != checksum) {
    problems.push_back(
        {PeLayoutPart::kChecksum, "the header's checksum is " + Hex(image.checksum) + ", the file's " + Hex(checksum)});
  }
  return problems;
}

}  // namespace kit::branding
