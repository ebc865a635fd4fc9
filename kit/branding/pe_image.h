// A whole Windows program file in memory, with what rewriting its
// resources touches: the section table (each section's place in memory and
// in the file), the data directories, the image size and the checksum.
// Read from the documented PE layout; the check's own header reader
// (kit/pe_headers.h) reads only the headers' stretch of a file, this one
// keeps the whole file, as branding rewrites it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit::branding {

struct PeSection {
  std::string name;
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawOffset = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t characteristics = 0;
  // Where the section ends in memory: its virtual size, or its raw size
  // where the virtual size is 0, as the loader takes it.
  std::uint64_t VirtualEnd() const {
    return std::uint64_t{virtualAddress} + (virtualSize != 0 ? virtualSize : rawSize);
  }
};

struct PeDirectory {
  std::uint32_t virtualAddress = 0;
  std::uint32_t size = 0;
};

// Data directory entries branding looks at.
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::uint32_t kCertificateDirectoryIndex = 4;  // a file offset, not an address
constexpr std::uint32_t kRelocationDirectoryIndex = 5;

struct PeImage {
  std::string bytes;  // the whole file
  bool pe32Plus = false;
  std::uint64_t checksumField = 0;  // file offset of the checksum
  std::uint32_t checksum = 0;
  std::uint32_t fileAlignment = 0;
  std::uint32_t sectionAlignment = 0;
  std::uint32_t sizeOfImage = 0;
  std::uint32_t sizeOfHeaders = 0;
  std::uint32_t entryPoint = 0;
  std::uint64_t imageBase = 0;
  std::vector<PeDirectory> directories;
  std::vector<PeSection> sections;

  // The directory `index`, or an empty one when the image has fewer.
  PeDirectory Directory(std::uint32_t index) const;
  // The section that holds `size` bytes from `rva` in memory, or null.
  const PeSection* SectionHolding(std::uint64_t rva, std::uint64_t size) const;
  // The file offset of `size` bytes from `rva`; false when they are not
  // wholly within one section's raw data.
  bool FileOffsetOf(std::uint64_t rva, std::uint64_t size, std::uint64_t& offset) const;
};

// Reads a program file's bytes; false, with `why` set, when they are no PE
// image or its headers or section table are cut.
bool ParsePeImage(std::string bytes, PeImage& image, std::string& why);
bool ReadPeImage(const std::string& path, PeImage& image, std::string& why);

// The checksum the image's header should hold: the documented sum of the
// file's 16-bit words, the checksum field itself left out, plus the length.
std::uint32_t PeChecksum(const std::string& bytes, std::uint64_t checksumField);

// The parts of an image that must agree with each other; each is checked
// on its own.
enum class PeLayoutPart {
  kSectionTable,       // sections aligned, in order, not overlapping, within the file
  kImageSize,          // the image size is where the last section ends, aligned
  kResourceDirectory,  // the resource directory lies within one section
  kChecksum,           // the header's checksum is the file's
};

struct PeLayoutProblem {
  PeLayoutPart part;
  std::string what;
};

// Every disagreement of the image's layout; empty for a sound image.
std::vector<PeLayoutProblem> PeLayoutProblems(const PeImage& image);

}  // namespace kit::branding
