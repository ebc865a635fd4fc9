#include "kit/branding/picture_preparation.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "kit/branding/program_face.h"
#include "kit/run_program.h"

namespace kit::branding {

namespace {

namespace fs = std::filesystem;

constexpr char kDefaultConvert[] = "convert";
constexpr char kBackground[] = "white";
constexpr std::uint32_t kPlainPixels = 0;
// Rows of a bitmap are padded to whole 32-bit words.
constexpr std::uint64_t kRowAlignment = 4;
constexpr std::uint64_t kBitsPerByte = 8;
constexpr unsigned kLargestIconSide = 256;
constexpr std::uint16_t kIconBitsPerPixel = 32;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Size(std::uint32_t width, std::uint32_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

bool RunConvert(const BrandTools& tools, std::vector<std::string> args, const std::string& what, std::string& error) {
  args.insert(args.begin(), tools.convert.empty() ? kDefaultConvert : tools.convert);
  const ProgramRun run = RunProgram(args, tools.timeout);
  if (run.Succeeded()) return true;
  if (!run.Started()) {
    error = "cannot run ImageMagick's convert to " + what + " (" + run.why + "): install it with scripts/setup-deps";
  } else if (run.outcome == ProgramOutcome::kTimedOut) {
    error = "ImageMagick's convert could not " + what + ": " + run.why;
  } else {
    error = "ImageMagick's convert could not " + what + " (exit status " + std::to_string(run.ShellStatus()) +
            "): " + run.output;
  }
  while (!error.empty() && error.back() == '\n') error.pop_back();
  return false;
}

// The size that fits `width` x `height` into the logo's size, proportions
// kept, each side at least one pixel.
std::pair<std::uint32_t, std::uint32_t> FittedSize(std::uint32_t width, std::uint32_t height) {
  const double scale = std::min(static_cast<double>(kLogoWidth) / width, static_cast<double>(kLogoHeight) / height);
  const auto side = [scale](std::uint32_t length, std::uint32_t most) {
    return std::clamp(static_cast<std::uint32_t>(std::lround(length * scale)), std::uint32_t{1}, most);
  };
  return {side(width, kLogoWidth), side(height, kLogoHeight)};
}

}  // namespace

const std::vector<unsigned>& IconSizesFromPng() {
  static const std::vector<unsigned> kSizes = {256, 48, 32, 16};
  return kSizes;
}

bool PrepareLogo(const std::string& file, const BrandTools& tools, const fs::path& workDir, PreparedLogo& logo,
                 std::string& error) {
  const PictureFile picture = IdentifyPicture(ReadFile(file));
  if (picture.kind != PictureKind::kBmp && picture.kind != PictureKind::kPng) {
    error = file + " is not a BMP or PNG file";
    return false;
  }
  const std::string logoSize = Size(kLogoWidth, kLogoHeight);
  const fs::path made = workDir / "logo.bmp";
  // The first picture of the file, on white, as 24-bit pixels in a BMP with
  // the plain header.
  std::vector<std::string> args = {file + "[0]", "-background", kBackground, "-alpha", "remove", "-alpha", "off"};
  const bool exact = picture.width == kLogoWidth && picture.height == kLogoHeight;
  if (exact) {
    logo.note = "logo: " + file + " (" + logoSize + ") written as a 24-bit bitmap of " + logoSize +
                " pixels; transparent parts, if any, on white";
  } else {
    const auto fitted = FittedSize(picture.width, picture.height);
    const std::string geometry = std::to_string(fitted.first) + "x" + std::to_string(fitted.second) + "!";
    args.insert(args.end(), {"-resize", geometry, "-gravity", "center", "-extent",
                             std::to_string(kLogoWidth) + "x" + std::to_string(kLogoHeight)});
    logo.note = "logo: " + file + " is " + Size(picture.width, picture.height) + " pixels, not " + logoSize +
                ": scaled to " + Size(fitted.first, fitted.second) + " and centred on white, written as a 24-bit " +
                "bitmap of " + logoSize + " pixels; give a picture of " + logoSize + " to have it pixel for pixel";
  }
  args.insert(args.end(), {"-type", "TrueColor", "-depth", "8", "BMP3:" + made.string()});
  if (!RunConvert(tools, args, "make the logo from " + file, error)) return false;

  const std::string bmp = ReadFile(made);
  BitmapInfo info;
  logo.dib = bmp.size() > kBitmapFileHeaderSize ? bmp.substr(kBitmapFileHeaderSize) : std::string();
  const std::uint64_t rowBytes = (std::uint64_t{kLogoWidth} * kLogoBitsPerPixel / kBitsPerByte + kRowAlignment - 1) /
                                 kRowAlignment * kRowAlignment;
  if (!ReadBitmapInfo(logo.dib, info) || info.width != static_cast<std::int32_t>(kLogoWidth) ||
      info.height != static_cast<std::int32_t>(kLogoHeight) || info.bitsPerPixel != kLogoBitsPerPixel ||
      info.compression != kPlainPixels || logo.dib.size() < info.headerSize + rowBytes * kLogoHeight) {
    error = "ImageMagick's convert did not make a 24-bit bitmap of " + logoSize + " pixels from " + file;
    return false;
  }
  return true;
}

bool PrepareIcon(const std::string& file, const BrandTools& tools, const fs::path& workDir, PreparedIcon& icon,
                 std::string& error) {
  const std::string bytes = ReadFile(file);
  const PictureFile picture = IdentifyPicture(bytes);
  std::string why;
  if (picture.kind == PictureKind::kIco) {
    if (!ReadIconFile(bytes, icon.images, why)) {
      error = file + " cannot be used as the icon: " + why;
      return false;
    }
    icon.icoFile = file;
    icon.note = "icon: " + file + " as given:";
    for (const IconImage& image : icon.images) icon.note += " " + DescribeIconImage(image) + ";";
    icon.note.pop_back();
    return true;
  }
  if (picture.kind != PictureKind::kPng) {
    error = file + " is not an ICO or PNG file";
    return false;
  }
  const fs::path made = workDir / "icon.ico";
  std::string sizes;   // for convert: "256,48,32,16"
  std::string listed;  // for the note: "256, 48, 32 and 16"
  const std::vector<unsigned>& wanted = IconSizesFromPng();
  for (size_t i = 0; i < wanted.size(); ++i) {
    sizes += (i == 0 ? "" : ",") + std::to_string(wanted[i]);
    listed += (i == 0 ? "" : i + 1 == wanted.size() ? " and " : ", ") + std::to_string(wanted[i]);
  }
  const std::string square = std::to_string(kLargestIconSide) + "x" + std::to_string(kLargestIconSide);
  if (!RunConvert(tools,
                  {file + "[0]", "-background", "none", "-gravity", "center", "-resize", square, "-extent", square,
                   "-depth", "8", "-define", "icon:auto-resize=" + sizes, "ICO:" + made.string()},
                  "make the icon from " + file, error)) {
    return false;
  }
  bool sound = ReadIconFile(ReadFile(made), icon.images, why) && icon.images.size() == IconSizesFromPng().size();
  for (size_t i = 0; sound && i < icon.images.size(); ++i) {
    sound = icon.images[i].width == IconSizesFromPng()[i] && icon.images[i].height == IconSizesFromPng()[i];
  }
  if (!sound) {
    error = "ImageMagick's convert did not make icon images of " + listed + " pixels from " + file;
    return false;
  }
  icon.icoFile = made.string();
  icon.note = "icon: " + file + " (PNG, " + Size(picture.width, picture.height) + ") made into images of " + listed +
              " pixels, " + std::to_string(kIconBitsPerPixel) + "-bit" +
              (picture.width != picture.height ? ", centred on a transparent square" : "");
  return true;
}

}  // namespace kit::branding
