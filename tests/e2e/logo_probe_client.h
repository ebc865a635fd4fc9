// The driver's side of the logo probe (probe/logo_probe.cpp): loads the
// probe into the program under test, which reads the bitmaps its logo
// controls show from inside, and reads back what it wrote. Also the bitmap
// a program file carries, and pictures compared pixel for pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e::probe {

// A picture as rows of pixels from the top, each pixel 0xRRGGBB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// The pixels of a bitmap resource (a BMP file without its file header),
// of 24 bits per pixel; nothing for another form.
std::optional<Picture> PictureOfBitmap(const std::string& dib);

// The bitmap resource `id` of the program file at `path`, as its bytes.
std::string BitmapResource(const std::string& path, int id);

// Where the probe writes: `folder` is made fresh and handed down to the
// programs the driver starts from now on, until the object goes.
class ProbeFolder {
 public:
  explicit ProbeFolder(const std::string& folder);
  ~ProbeFolder();
  ProbeFolder(const ProbeFolder&) = delete;
  ProbeFolder& operator=(const ProbeFolder&) = delete;

  // Loads the probe at `probeDll` into the process `processId` and waits
  // for it to have read the screens: the pictures of the logo controls
  // shown now, by control id. A failure is added when the probe cannot be
  // loaded or does not finish.
  std::vector<std::pair<int, Picture>> ReadLogos(DWORD processId, const std::string& probeDll) const;

 private:
  std::string m_folder;
};

// "" when both pictures are equal, else where they first differ.
std::string PictureDifference(const Picture& expected, const Picture& shown);

}  // namespace e2e::probe
