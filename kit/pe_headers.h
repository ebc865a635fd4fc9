// The headers of a Windows program file (a PE image): what decides whether
// Windows starts it, on which processor, with a window or a console, and
// whether the file holds every part its headers promise.
//
// Read from the documented fixed layout: a DOS header whose "MZ" starts the
// file and whose last field gives the offset of the "PE\0\0" signature; the
// file header after it (machine, number of sections, size of the optional
// header, characteristics); the optional header (magic, subsystem, data
// directories); then the section table, whose rows give each section's raw
// data as an offset and a size in the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;
constexpr std::uint16_t kMachineArm64 = 0xAA64;
constexpr std::uint16_t kMachineIa64 = 0x0200;

constexpr std::uint16_t kMagicPe32 = 0x010B;
constexpr std::uint16_t kMagicPe32Plus = 0x020B;

constexpr std::uint16_t kSubsystemWindowsGui = 2;
constexpr std::uint16_t kSubsystemWindowsConsole = 3;

// File header characteristics.
constexpr std::uint16_t kCharacteristicExecutable = 0x0002;
constexpr std::uint16_t kCharacteristicDll = 0x2000;

// A stretch of the file the headers point at: a section's raw data, or the
// signature's certificate table.
struct PeFilePart {
  std::string what;  // "section 4 (".rsrc")", or "certificate table"
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
  bool isSection = true;  // loaded by Windows to start the program; else the signature
  std::uint64_t End() const { return offset + size; }
};

struct PeHeaders {
  std::uint64_t fileSize = 0;
  std::uint16_t machine = 0;
  std::uint16_t characteristics = 0;
  std::uint16_t magic = 0;
  std::uint16_t subsystem = 0;
  std::vector<PeFilePart> parts;  // the sections with raw data, then the certificate table if any
};

enum class PeReadStatus {
  kRead,
  kNotPe,       // not a PE image: no "MZ", no PE signature, an unknown optional header
  kHeadersCut,  // a PE signature, but the file ends inside the headers or the section table
  kCannotRead,  // the file cannot be opened or read
};

struct PeReadResult {
  PeReadStatus status = PeReadStatus::kCannotRead;
  std::string why;  // what was found, when not read
  PeHeaders headers;
};

PeReadResult ReadPeHeaders(const std::string& path);

// Machine AMD64, ARM64 or IA-64, or a PE32+ optional header.
bool Is64Bit(const PeHeaders& headers);

// The machine's name as the documentation gives it ("x86", "x64", ...), or
// its number in hexadecimal.
std::string MachineName(std::uint16_t machine);

// The part reaching furthest past the end of the file, or null when every
// part lies within it.
const PeFilePart* FurthestPartPastEnd(const PeHeaders& headers);

// True when the raw data of a section runs past the end of the file: Windows
// cannot load the image.
bool AnySectionPastEnd(const PeHeaders& headers);

}  // namespace kit
