#include "kit/check/branding_checks.h"

#include <cstdlib>
#include <ostream>
#include <string>

#include "kit/branding/pe_image.h"
#include "kit/check/package_paths.h"
#include "kit/check/wording.h"
#include "kit/package_files.h"
#include "res/texts.h"

namespace kit::check {

namespace {

using branding::kLogoHeight;
using branding::kLogoWidth;
using branding::ProgramFace;

constexpr char kCompanyName[] = "CompanyName";
// The summary's labels are padded to this width.
constexpr size_t kLabelWidth = 18;

std::string Size(std::int64_t width, std::int64_t height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::string Fix(const std::string& option) {
  return "setup-pack build ... --program EXE " + option + " writes the publisher's own into the package's copy";
}

void Line(std::ostream& out, const std::string& label, const std::string& value) {
  std::string padded = label + ": ";
  if (padded.size() < kLabelWidth) padded.resize(kLabelWidth, ' ');
  out << padded << value << "\n";
}

void CheckFace(Context& context, const ProgramFace& face) {
  const std::string program = context.Name() + kProgramExtension;
  if (face.logoBuiltIn) {
    context.Add(ProblemKind::kLogoBuiltIn, program + " still shows the built-in logo, the box on the hills",
                "both screens show the kit's own picture, not the publisher's",
                Fix("--logo FILE (a BMP or PNG; one of " + Size(kLogoWidth, kLogoHeight) +
                    " pixels is taken pixel for pixel)"));
  } else if (face.hasLogo && (face.logo.width != static_cast<std::int32_t>(kLogoWidth) ||
                              std::abs(face.logo.height) != static_cast<std::int32_t>(kLogoHeight))) {
    context.Add(ProblemKind::kLogoSize,
                program + "'s logo is " + Size(face.logo.width, std::abs(face.logo.height)) + " pixels, not " +
                    Size(kLogoWidth, kLogoHeight),
                "both screens show it at its own size from the top left corner of the logo's place: a larger one "
                "reaches into the welcome lines, a smaller one leaves an empty margin",
                Fix("--logo FILE, which scales it to " + Size(kLogoWidth, kLogoHeight) + ","));
  }
  if (face.iconBuiltIn) {
    context.Add(ProblemKind::kIconBuiltIn, program + " still has the built-in icon",
                "Explorer, the taskbar and the setup screen show the kit's own icon",
                Fix("--icon FILE (an ICO, or a PNG)"));
  }
  if (face.companyBuiltIn) {
    context.Add(ProblemKind::kCompanyBuiltIn,
                program + "'s version block still names the built-in company " + Quoted(TEXT_VERSION_COMPANY),
                "the file's properties in Explorer name " + Quoted(TEXT_VERSION_COMPANY) + " as its company",
                Fix("--company TEXT (and --product, --description, --version, --copyright)"));
  }
}

}  // namespace

void CheckProgramFace(Context& context) {
  const std::string program = context.Name() + kProgramExtension;
  const std::string path = context.InFolder(program);
  if (!IsFile(path)) return;
  branding::PeImage image;
  std::string why;
  if (!branding::ReadPeImage(path, image, why)) return;
  PackageSummary& summary = context.Summary();
  summary.faceRead = true;
  summary.face = branding::ReadProgramFace(image);
  const ProgramFace& face = summary.face;
  if (!face.damage.empty()) {
    context.Add(
        ProblemKind::kProgramResources, program + "'s resources cannot be used: " + face.damage,
        "the program ends at once, without a screen: its screens are made from these resources",
        "copy a complete build of the program into the folder as " + program + " (setup-pack build --program EXE)");
    return;
  }
  CheckFace(context, face);
}

void PrintProgramFace(const PackageSummary& summary, std::ostream& out) {
  if (!summary.faceRead) {
    Line(out, "Program's face", "(not read: no program to read)");
    return;
  }
  const ProgramFace& face = summary.face;
  if (face.resources == branding::ResourceReadStatus::kNone) {
    Line(out, "Program's face", "(the program holds no resources)");
    return;
  }
  if (!face.damage.empty()) {
    Line(out, "Program's face", "(its resources cannot be used)");
    return;
  }
  const std::string builtIn = " (the built-in one)";
  Line(out, "Logo",
       face.hasLogo ? Size(face.logo.width, std::abs(face.logo.height)) + " pixels, " +
                          std::to_string(face.logo.bitsPerPixel) + "-bit" + (face.logoBuiltIn ? builtIn : "")
                    : "(none)");
  std::string icons;
  for (const branding::IconImage& image : face.icons) icons += (icons.empty() ? "" : "; ") + DescribeIconImage(image);
  Line(out, "Icon", face.hasIcon ? icons + (face.iconBuiltIn ? builtIn : "") : "(none)");
  if (!face.hasVersion) {
    Line(out, "Version", "(no version block)");
    return;
  }
  Line(out, "Version",
       "file " + branding::VersionText(face.version.fileVersion) + ", product " +
           branding::VersionText(face.version.productVersion));
  if (face.version.tables.empty()) return;
  for (const auto& string : face.version.tables.front().strings) {
    Line(out, "  " + string.first,
         string.second + (string.first == kCompanyName && face.companyBuiltIn ? builtIn : ""));
  }
}

}  // namespace kit::check
