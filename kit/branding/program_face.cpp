#include "kit/branding/program_face.h"

#include "kit/branding/built_in_pictures.h"
#include "res/resource.h"
#include "res/texts.h"

namespace kit::branding {

namespace {

constexpr char kCompanyName[] = "CompanyName";

// The icon resource `id`, in the group's language where there are several.
const Resource* IconResource(const std::vector<Resource>& resources, std::uint16_t id, std::uint32_t language) {
  const Resource* any = nullptr;
  for (const Resource& resource : resources) {
    if (resource.type.name.empty() && resource.type.id == kTypeIcon && resource.name.name.empty() &&
        resource.name.id == id) {
      if (resource.language == language) return &resource;
      if (any == nullptr) any = &resource;
    }
  }
  return any;
}

bool SameImages(const std::vector<IconImage>& a, const std::vector<IconImage>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].data != b[i].data) return false;
  }
  return true;
}

}  // namespace

std::string LogoData(const std::vector<Resource>& resources) {
  const Resource* logo = FindResource(resources, kTypeBitmap, IDB_LOGO);
  return logo != nullptr ? logo->data : std::string();
}

bool IconGroupImages(const std::vector<Resource>& resources, std::vector<IconImage>& images) {
  const Resource* group = FindResource(resources, kTypeIconGroup, IDR_MAINFRAME);
  if (group == nullptr || !ReadIconGroup(group->data, images)) return false;
  for (IconImage& image : images) {
    const Resource* icon = IconResource(resources, image.resourceId, group->language);
    if (icon == nullptr) return false;
    image.data = icon->data;
  }
  return true;
}

ProgramFace ReadProgramFace(const PeImage& image) {
  ProgramFace face;
  const ResourceReadResult read = ReadResources(image);
  face.resources = read.status;
  if (read.status == ResourceReadStatus::kDamaged) {
    face.damage = read.why;
    return face;
  }
  if (read.status == ResourceReadStatus::kNone) return face;
  const std::vector<Resource>& resources = read.resources;
  for (const int templateId : {IDD_LICENSE_DIALOG, IDD_SETUP_DIALOG}) {
    if (FindResource(resources, kTypeDialog, static_cast<std::uint32_t>(templateId)) == nullptr) {
      face.damage = "it lacks the dialog template " + std::to_string(templateId) + " of a screen";
      return face;
    }
  }

  const std::string logo = LogoData(resources);
  face.hasLogo = !logo.empty() && ReadBitmapInfo(logo, face.logo);
  face.logoBuiltIn = face.hasLogo && logo == BuiltInLogoFile().substr(kBitmapFileHeaderSize);

  face.hasIcon = IconGroupImages(resources, face.icons) && !face.icons.empty();
  std::vector<IconImage> builtInIcons;
  std::string ignored;
  face.iconBuiltIn =
      face.hasIcon && ReadIconFile(BuiltInIconFile(), builtInIcons, ignored) && SameImages(face.icons, builtInIcons);

  const Resource* version = FindResource(resources, kTypeVersion, kVersionBlockId);
  face.hasVersion = version != nullptr && ParseVersionBlock(version->data, face.version, ignored);
  const std::string* company = face.hasVersion ? face.version.String(kCompanyName) : nullptr;
  face.companyBuiltIn = company != nullptr && *company == TEXT_VERSION_COMPANY;
  return face;
}

}  // namespace kit::branding
