// Where a PE file keeps the fields the kit reads: offsets within the DOS
// header, the file header, the optional header and a row of the section
// table. Shared by the check's header reader (pe_headers.cpp) and
// branding's image reader (branding/pe_image.cpp).
#pragma once

#include <cstdint>

namespace kit::pe_layout {

// The DOS header: "MZ" at its start, the PE signature's offset at 0x3C.
constexpr std::uint64_t kDosHeaderSize = 64;
constexpr std::uint64_t kSignatureOffsetField = 0x3C;
constexpr char kDosMagic[] = "MZ";
constexpr char kPeSignature[] = "PE\0";  // with the terminator: four bytes
constexpr std::uint64_t kPeSignatureSize = 4;

// The file header, after the signature.
constexpr std::uint64_t kFileHeaderSize = 20;
constexpr std::uint64_t kMachineField = 0;
constexpr std::uint64_t kSectionCountField = 2;
constexpr std::uint64_t kOptionalHeaderSizeField = 16;
constexpr std::uint64_t kFileCharacteristicsField = 18;

// The optional header, after the file header. The fields before the image
// base, and the subsystem, stand at the same place in both forms; the data
// directories follow the fields whose size differs.
constexpr std::uint64_t kMagicField = 0;
constexpr std::uint64_t kEntryPointField = 16;
constexpr std::uint64_t kImageBaseFieldPe32 = 28;
constexpr std::uint64_t kImageBaseFieldPe32Plus = 24;
constexpr std::uint64_t kSectionAlignmentField = 32;
constexpr std::uint64_t kFileAlignmentField = 36;
constexpr std::uint64_t kSizeOfImageField = 56;
constexpr std::uint64_t kSizeOfHeadersField = 60;
constexpr std::uint64_t kChecksumField = 64;
constexpr std::uint64_t kSubsystemField = 68;
constexpr std::uint64_t kDirectoryCountFieldPe32 = 92;
constexpr std::uint64_t kDirectoryCountFieldPe32Plus = 108;
constexpr std::uint64_t kDirectoryEntrySize = 8;

// A row of the section table.
constexpr std::uint64_t kSectionRowSize = 40;
constexpr std::uint64_t kSectionNameSize = 8;
constexpr std::uint64_t kVirtualSizeField = 8;
constexpr std::uint64_t kVirtualAddressField = 12;
constexpr std::uint64_t kRawSizeField = 16;
constexpr std::uint64_t kRawOffsetField = 20;
constexpr std::uint64_t kSectionCharacteristicsField = 36;

}  // namespace kit::pe_layout
