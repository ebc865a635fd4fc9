#include "kit/branding/brand_options.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "kit/branding/picture_formats.h"
#include "kit/branding/version_block.h"
#include "kit/utf8_text.h"

namespace kit::branding {

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

std::string PictureProblem(const std::string& option, const std::string& file, bool takesIco) {
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(file, ignored)) return "the file " + file + " of --" + option + " is not there";
  std::ifstream in(file, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const PictureFile picture = IdentifyPicture(bytes);
  const bool usable = picture.kind == PictureKind::kPng ||
                      (takesIco ? picture.kind == PictureKind::kIco : picture.kind == PictureKind::kBmp);
  if (!usable) return file + " of --" + option + " is not " + (takesIco ? "an ICO or PNG file" : "a BMP or PNG file");
  return std::string();
}

std::string TextProblem(const std::string& option, const std::string& text) {
  if (!IsUtf8(text)) return "the text of --" + option + " is not UTF-8";
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte < kFirstPrintable || byte == kDelete) return "the text of --" + option + " holds a control character";
  }
  if (text.size() > kLongestVersionText) {
    return "the text of --" + option + " is longer than " + std::to_string(kLongestVersionText) + " bytes";
  }
  return std::string();
}

}  // namespace

bool BrandOptions::Any() const {
  return !logoFile.empty() || !iconFile.empty() || !company.empty() || !product.empty() || !description.empty() ||
         !version.empty() || !copyright.empty();
}

const std::vector<VersionStringOption>& VersionStringOptions() {
  static const std::vector<VersionStringOption> kOptions = {
      {"company", "CompanyName", &BrandOptions::company},
      {"product", "ProductName", &BrandOptions::product},
      {"description", "FileDescription", &BrandOptions::description},
      {"copyright", "LegalCopyright", &BrandOptions::copyright},
  };
  return kOptions;
}

std::string BrandOptionsProblem(const BrandOptions& options) {
  if (!options.logoFile.empty()) {
    const std::string problem = PictureProblem("logo", options.logoFile, false);
    if (!problem.empty()) return problem;
  }
  if (!options.iconFile.empty()) {
    const std::string problem = PictureProblem("icon", options.iconFile, true);
    if (!problem.empty()) return problem;
  }
  VersionNumber ignored;
  if (!options.version.empty() && !ParseVersionNumber(options.version, ignored)) {
    return "--version " + options.version + " is not four numbers A.B.C.D, each from 0 to 65535";
  }
  for (const VersionStringOption& string : VersionStringOptions()) {
    const std::string problem = TextProblem(string.option, options.*string.text);
    if (!problem.empty()) return problem;
  }
  return std::string();
}

}  // namespace kit::branding
