#include "kit/branding/picture_formats.h"

#include "kit/byte_view.h"

namespace kit::branding {

namespace {

// The bitmap header: its own size (12 for the oldest form, at least 40 for
// the others), then width and height, planes and bits per pixel; the
// compression follows in the larger forms.
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint64_t kCoreWidthField = 4;
constexpr std::uint64_t kCoreHeightField = 6;
constexpr std::uint64_t kCoreBitsField = 10;
constexpr std::uint64_t kWidthField = 4;
constexpr std::uint64_t kHeightField = 8;
constexpr std::uint64_t kBitsField = 14;
constexpr std::uint64_t kCompressionField = 16;

constexpr char kBmpMagic[] = "BM";
const std::string kPngMagic("\x89PNG\r\n\x1a\n", 8);
// The first chunk of a PNG file, IHDR, gives width and height.
constexpr std::uint64_t kPngWidthField = 16;
constexpr std::uint64_t kPngHeightField = 20;

// Icon files and icon groups: a reserved word 0, the type 1, the count;
// then one row per image: width, height, colours, a reserved byte, planes,
// bits per pixel, the image's size, and then its offset in the file (4
// bytes, rows of 16) or its resource number (2 bytes, rows of 14).
constexpr std::uint64_t kIconDirectorySize = 6;
constexpr std::uint64_t kIconTypeField = 2;
constexpr std::uint64_t kIconCountField = 4;
constexpr std::uint16_t kIconType = 1;
constexpr std::uint64_t kIconFileRowSize = 16;
constexpr std::uint64_t kIconGroupRowSize = 14;
constexpr std::uint64_t kRowHeightField = 1;
constexpr std::uint64_t kRowColoursField = 2;
constexpr std::uint64_t kRowPlanesField = 4;
constexpr std::uint64_t kRowBitsField = 6;
constexpr std::uint64_t kRowSizeField = 8;
constexpr std::uint64_t kRowLocationField = 12;
// A size byte of 0 stands for 256.
constexpr std::uint32_t kLargestIconSide = 256;

std::uint32_t Side(std::uint8_t stored) { return stored == 0 ? kLargestIconSide : stored; }

// The rows common to both lists; `location` reads what differs.
bool ReadIconRow(const ByteView& view, std::uint64_t row, IconImage& image) {
  std::uint8_t width = 0;
  std::uint8_t height = 0;
  std::uint8_t colours = 0;
  if (!view.U8(row, width) || !view.U8(row + kRowHeightField, height) || !view.U8(row + kRowColoursField, colours) ||
      !view.U16(row + kRowPlanesField, image.planes) || !view.U16(row + kRowBitsField, image.bitsPerPixel) ||
      !view.U32(row + kRowSizeField, image.size)) {
    return false;
  }
  image.width = Side(width);
  image.height = Side(height);
  image.colours = colours;
  return true;
}

bool ReadIconDirectory(const ByteView& view, std::uint16_t& count) {
  std::uint16_t reserved = 1;
  std::uint16_t type = 0;
  return view.U16(0, reserved) && view.U16(kIconTypeField, type) && view.U16(kIconCountField, count) && reserved == 0 &&
         type == kIconType;
}

}  // namespace

bool ReadBitmapInfo(const std::string& dib, BitmapInfo& info) {
  const ByteView view(dib);
  info = BitmapInfo();
  if (!view.U32(0, info.headerSize)) return false;
  if (info.headerSize == kCoreHeaderSize) {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    if (!view.U16(kCoreWidthField, width) || !view.U16(kCoreHeightField, height) ||
        !view.U16(kCoreBitsField, info.bitsPerPixel)) {
      return false;
    }
    info.width = width;
    info.height = height;
    return true;
  }
  return info.headerSize >= kInfoHeaderSize && view.Holds(0, info.headerSize) && view.I32(kWidthField, info.width) &&
         view.I32(kHeightField, info.height) && view.U16(kBitsField, info.bitsPerPixel) &&
         view.U32(kCompressionField, info.compression);
}

PictureFile IdentifyPicture(const std::string& bytes) {
  const ByteView view(bytes);
  PictureFile picture;
  std::uint16_t count = 0;
  if (view.StartsWith(0, kPngMagic)) {
    if (view.U32BigEndian(kPngWidthField, picture.width) && view.U32BigEndian(kPngHeightField, picture.height)) {
      picture.kind = PictureKind::kPng;
    }
  } else if (view.StartsWith(0, kBmpMagic) && bytes.size() > kBitmapFileHeaderSize) {
    BitmapInfo info;
    if (ReadBitmapInfo(bytes.substr(kBitmapFileHeaderSize), info) && info.width > 0 && info.height != 0) {
      picture.kind = PictureKind::kBmp;
      picture.width = static_cast<std::uint32_t>(info.width);
      picture.height = info.height > 0 ? static_cast<std::uint32_t>(info.height)
                                       : static_cast<std::uint32_t>(-static_cast<std::int64_t>(info.height));
    }
  } else if (ReadIconDirectory(view, count) && count > 0) {
    picture.kind = PictureKind::kIco;
  }
  return picture;
}

bool ReadIconFile(const std::string& bytes, std::vector<IconImage>& images, std::string& why) {
  const ByteView view(bytes);
  images.clear();
  std::uint16_t count = 0;
  if (!ReadIconDirectory(view, count)) {
    why = "it is not an icon file";
    return false;
  }
  if (count == 0) {
    why = "it holds no image";
    return false;
  }
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t row = kIconDirectorySize + i * kIconFileRowSize;
    IconImage image;
    std::uint32_t offset = 0;
    if (!ReadIconRow(view, row, image) || !view.U32(row + kRowLocationField, offset)) {
      why = "its list of images is cut";
      return false;
    }
    if (image.size == 0 || !view.Bytes(offset, image.size, image.data)) {
      why = "image " + std::to_string(i + 1) + " lies outside the file";
      return false;
    }
    images.push_back(std::move(image));
  }
  return true;
}

bool ReadIconGroup(const std::string& data, std::vector<IconImage>& images) {
  const ByteView view(data);
  images.clear();
  std::uint16_t count = 0;
  if (!ReadIconDirectory(view, count)) return false;
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint64_t row = kIconDirectorySize + i * kIconGroupRowSize;
    IconImage image;
    if (!ReadIconRow(view, row, image) || !view.U16(row + kRowLocationField, image.resourceId)) return false;
    images.push_back(std::move(image));
  }
  return true;
}

std::string DescribeIconImage(const IconImage& image) {
  return std::to_string(image.width) + " x " + std::to_string(image.height) + ", " +
         std::to_string(image.bitsPerPixel) + "-bit";
}

}  // namespace kit::branding
