// The picture formats of branding, read as far as the kit needs them: the
// header of a bitmap (a BMP file, or the bitmap resource, which is the file
// without its 14-byte file header), a PNG file's size, an icon file (ICO)
// and the icon group resource that lists a program's icon images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit::branding {

// The size every BMP file starts with: "BM", the file's size, two reserved
// words, the offset of the pixels. A bitmap resource starts after it.
constexpr std::uint64_t kBitmapFileHeaderSize = 14;

struct BitmapInfo {
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: the rows from the bottom up
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t compression = 0;  // 0: plain pixels, no compression
  std::uint32_t headerSize = 0;
};

// The header of a bitmap resource (a device-independent bitmap); false when
// it is no bitmap header.
bool ReadBitmapInfo(const std::string& dib, BitmapInfo& info);

enum class PictureKind { kOther, kBmp, kPng, kIco };

struct PictureFile {
  PictureKind kind = PictureKind::kOther;
  std::uint32_t width = 0;  // BMP and PNG
  std::uint32_t height = 0;
};

// What the file's first bytes say it is, and its size.
PictureFile IdentifyPicture(const std::string& bytes);

// One image of an icon, as an icon file or an icon group lists it. A width
// or height of 256 is stored as 0; these hold the real size.
struct IconImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint16_t bitsPerPixel = 0;
  std::uint32_t colours = 0;  // colours of a palette image, 0 otherwise
  std::uint16_t planes = 0;
  std::uint32_t size = 0;
  std::uint16_t resourceId = 0;  // icon group: the icon resource with its bytes
  std::string data;              // icon file: the image's bytes
};

// An icon file's images with their bytes; false, with `why` set, when it is
// no icon file or an image lies outside it.
bool ReadIconFile(const std::string& bytes, std::vector<IconImage>& images, std::string& why);

// An icon group resource's list; false when it is malformed.
bool ReadIconGroup(const std::string& data, std::vector<IconImage>& images);

// "32 x 32, 4-bit".
std::string DescribeIconImage(const IconImage& image);

}  // namespace kit::branding
