// Helpers of the branding tests: the program that carries the real
// program's resources, pictures made with ImageMagick, a package built with
// the publisher's face, and the pixels of a bitmap resource.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/branding/pe_image.h"
#include "kit/branding/pe_resources.h"
#include "kit/branding/picture_formats.h"
#include "kit/pack_build.h"
#include "kit/run_program.h"
#include "kit_test_support.h"

namespace kit_test {

// The program of the branding tests: built from res/setup.rc, with the
// manifest, both screens' templates, the logo, the icon, the strings and
// the version block of the real program.
inline fs::path ResourcesProgram() { return RESOURCES_PROGRAM_PATH; }

inline kit::branding::PeImage ReadImage(const fs::path& path) {
  kit::branding::PeImage image;
  std::string why;
  EXPECT_TRUE(kit::branding::ReadPeImage(path.string(), image, why)) << path << ": " << why;
  return image;
}

inline std::vector<kit::branding::Resource> ResourcesOf(const fs::path& path) {
  const kit::branding::ResourceReadResult read = kit::branding::ReadResources(ReadImage(path));
  EXPECT_EQ(read.status, kit::branding::ResourceReadStatus::kRead) << path << ": " << read.why;
  return read.resources;
}

// Makes `target` with ImageMagick's convert from `args`: the picture's
// description, and last the output's format ("PNG32:"), which goes before
// the target's name.
inline void MakePicture(const fs::path& target, const std::vector<std::string>& args) {
  std::vector<std::string> command = {"convert"};
  command.insert(command.end(), args.begin(), args.end() - 1);
  command.push_back(args.back() + target.string());
  fs::create_directories(target.parent_path());
  const kit::ProgramRun run = kit::RunProgram(command, kit::branding::kBrandToolTimeout);
  ASSERT_TRUE(run.Succeeded()) << "convert could not make " << target << ": " << run.output;
}

// A colour as a bitmap stores it, and as ImageMagick names it.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb& other) const { return red == other.red && green == other.green && blue == other.blue; }
};
inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "rgb(" << int{c.red} << "," << int{c.green} << "," << int{c.blue} << ")";
}

// The pixel at column x, row y (from the top) of a 24-bit bitmap resource.
inline Rgb PixelOf(const std::string& dib, int x, int y) {
  kit::branding::BitmapInfo info;
  if (!kit::branding::ReadBitmapInfo(dib, info) || info.bitsPerPixel != 24 || x >= info.width ||
      y >= std::abs(info.height)) {
    ADD_FAILURE() << "no pixel " << x << "," << y << " in a 24-bit bitmap";
    return Rgb();
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(info.width) * 3 + 3) / 4 * 4;
  const std::uint64_t row = info.height > 0 ? static_cast<std::uint64_t>(info.height - 1 - y) : y;
  const std::uint64_t at = info.headerSize + row * stride + static_cast<std::uint64_t>(x) * 3;
  if (at + 3 > dib.size()) {
    ADD_FAILURE() << "the bitmap is cut before pixel " << x << "," << y;
    return Rgb();
  }
  return {static_cast<std::uint8_t>(dib[at + 2]), static_cast<std::uint8_t>(dib[at + 1]),
          static_cast<std::uint8_t>(dib[at])};
}

// A package folder made by the build from a small data folder, with the
// resources program as --program.
class BrandingBuild {
 public:
  explicit BrandingBuild(const fs::path& root) : m_root(root) {
    WriteBytes(root / "data" / "readme.txt", "the data");
    m_options.dataDir = (root / "data").string();
    m_options.outDir = (root / "pkg").string();
    m_options.programFile = ResourcesProgram().string();
  }

  kit::BuildOptions& Options() { return m_options; }
  kit::branding::BrandOptions& Brand() { return m_options.brand; }
  fs::path Program() const { return m_root / "pkg" / "Install.exe"; }
  fs::path Picture(const std::string& name) const { return m_root / "pictures" / name; }

  kit::BuildResult Run() const { return kit::BuildPackage(m_options); }
  // Runs the build and expects it to succeed.
  kit::BuildResult Built() const {
    const kit::BuildResult result = Run();
    EXPECT_EQ(result.status, kit::BuildStatus::kBuilt) << result.error;
    return result;
  }

 private:
  fs::path m_root;
  kit::BuildOptions m_options;
};

// The notes of a build that name branding, one string.
inline std::string BrandingNotes(const kit::BuildResult& result) {
  std::string notes;
  for (const std::string& note : result.notes) {
    if (note.find("branded") != std::string::npos) notes += note + "\n";
  }
  return notes;
}

}  // namespace kit_test
