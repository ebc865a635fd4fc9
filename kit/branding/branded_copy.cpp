#include "kit/branding/branded_copy.h"

#include "kit/branding/pe_resources.h"
#include "kit/branding/program_face.h"
#include "res/resource.h"

namespace kit::branding {

namespace {


bool IsFaceResource(const Resource& resource, const BrandedFace& face,
                    const std::vector<std::uint16_t>& replacedIcons) {
  if (!resource.type.name.empty() || !resource.name.name.empty()) return false;
  const std::uint32_t type = resource.type.id;
  const std::uint32_t id = resource.name.id;
  if (face.logoDib && type == kTypeBitmap && id == IDB_LOGO) return true;
  if (face.icons && type == kTypeIconGroup && id == IDR_MAINFRAME) return true;
  if (face.icons && type == kTypeIcon) {
    for (const std::uint16_t icon : replacedIcons) {
      if (icon == id) return true;
    }
  }
  return face.VersionChanged() && type == kTypeVersion;
}

// The section's raw data, or nothing when it does not lie in the file.
std::optional<std::string> RawData(const PeImage& image, const PeSection& section) {
  if (std::uint64_t{section.rawOffset} + section.rawSize > image.bytes.size()) return std::nullopt;
  return image.bytes.substr(section.rawOffset, section.rawSize);
}

const Resource* Same(const std::vector<Resource>& resources, const Resource& wanted) {
  for (const Resource& resource : resources) {
    if (resource.type == wanted.type && resource.name == wanted.name && resource.language == wanted.language) {
      return &resource;
    }
  }
  return nullptr;
}

void SectionProblems(const PeImage& before, const PeImage& after, std::vector<std::string>& problems) {
  if (after.sections.size() != before.sections.size()) {
    problems.push_back("it has " + std::to_string(after.sections.size()) + " sections, not " +
                       std::to_string(before.sections.size()));
    return;
  }
  const std::uint32_t resources = before.Directory(kResourceDirectoryIndex).virtualAddress;
  const std::uint32_t relocations = before.Directory(kRelocationDirectoryIndex).virtualAddress;
  for (size_t i = 0; i < before.sections.size(); ++i) {
    const PeSection& was = before.sections[i];
    const PeSection& is = after.sections[i];
    const std::string name = "section " + was.name;
    if (is.name != was.name) problems.push_back(name + " is now named " + is.name);
    if (was.virtualAddress == resources && resources != 0) continue;
    const bool isRelocations = was.virtualAddress == relocations && relocations != 0;
    if (!isRelocations && is.virtualAddress != was.virtualAddress) {
      problems.push_back(name + " moved in memory: the program's code and data would be found in the wrong place");
    }
    const std::optional<std::string> data = RawData(after, is);
    const bool dataSame = is.virtualSize == was.virtualSize && data && data == RawData(before, was);
    if (!dataSame) problems.push_back(name + " changed its content");
  }
}

void DirectoryProblems(const PeImage& before, const PeImage& after, std::vector<std::string>& problems) {
  if (after.directories.size() != before.directories.size()) {
    problems.push_back("its count of data directories changed");
    return;
  }
  const std::uint32_t relocations = before.Directory(kRelocationDirectoryIndex).virtualAddress;
  for (std::uint32_t i = 0; i < before.directories.size(); ++i) {
    if (i == kResourceDirectoryIndex || i == kCertificateDirectoryIndex) continue;
    const PeDirectory& was = before.directories[i];
    const PeDirectory& is = after.directories[i];
    if (i == kRelocationDirectoryIndex && relocations != 0) {
      const PeSection* section = after.SectionHolding(is.virtualAddress, is.size);
      if (is.size != was.size || section == nullptr || section->virtualAddress != is.virtualAddress) {
        problems.push_back("the relocations' directory does not point at their section");
      }
      continue;
    }
    if (is.virtualAddress != was.virtualAddress || is.size != was.size) {
      problems.push_back("data directory " + std::to_string(i) + " changed");
    }
  }
}

void FaceProblems(const std::vector<Resource>& resources, const BrandedFace& face, std::vector<std::string>& problems) {
  if (face.logoDib && LogoData(resources) != *face.logoDib) {
    problems.push_back("its logo is not the bitmap made from the publisher's picture");
  }
  if (face.icons) {
    std::vector<IconImage> images;
    bool same = IconGroupImages(resources, images) && images.size() == face.icons->size();
    for (size_t i = 0; same && i < images.size(); ++i) {
      same = images[i].data == (*face.icons)[i].data && images[i].width == (*face.icons)[i].width &&
             images[i].height == (*face.icons)[i].height;
    }
    if (!same) problems.push_back("its icon group does not hold the publisher's icon images");
  }
  if (!face.VersionChanged()) return;
  const Resource* resource = FindResource(resources, kTypeVersion, kVersionBlockId);
  VersionBlock block;
  std::string why;
  if (resource == nullptr || !ParseVersionBlock(resource->data, block, why)) {
    problems.push_back("its version block cannot be read: " + (resource == nullptr ? "there is none" : why));
    return;
  }
  if (face.version) {
    const std::string text = VersionText(*face.version);
    if (block.fileVersion != *face.version || block.productVersion != *face.version) {
      problems.push_back("its fixed versions are not " + text);
    }
    for (const char* name : {"FileVersion", "ProductVersion"}) {
      const std::string* value = block.String(name);
      if (value == nullptr || *value != text) problems.push_back(std::string("its ") + name + " is not " + text);
    }
  }
  for (const auto& string : face.strings) {
    const std::string* value = block.String(string.first);
    if (value == nullptr || *value != string.second) {
      problems.push_back("its " + string.first + " is not \"" + string.second + "\"");
    }
  }
}

}  // namespace

std::vector<std::string> BrandedCopyProblems(const PeImage& before, const PeImage& after, const BrandedFace& face) {
  std::vector<std::string> problems;
  for (const PeLayoutProblem& problem : PeLayoutProblems(after)) problems.push_back(problem.what);
  if (after.entryPoint != before.entryPoint || after.imageBase != before.imageBase ||
      after.pe32Plus != before.pe32Plus || after.sectionAlignment != before.sectionAlignment ||
      after.fileAlignment != before.fileAlignment) {
    problems.push_back("its headers changed where branding has no business");
  }
  SectionProblems(before, after, problems);
  DirectoryProblems(before, after, problems);

  const ResourceReadResult was = ReadResources(before);
  const ResourceReadResult is = ReadResources(after);
  if (is.status != ResourceReadStatus::kRead) {
    problems.push_back("its resources cannot be read: " + is.why);
    return problems;
  }
  std::vector<IconImage> oldIcons;
  IconGroupImages(was.resources, oldIcons);
  std::vector<std::uint16_t> replacedIcons;
  for (const IconImage& image : oldIcons) replacedIcons.push_back(image.resourceId);
  std::vector<IconImage> newIcons;
  if (face.icons) IconGroupImages(is.resources, newIcons);
  for (const IconImage& image : newIcons) replacedIcons.push_back(image.resourceId);

  for (const Resource& resource : was.resources) {
    if (IsFaceResource(resource, face, replacedIcons)) continue;
    const Resource* kept = Same(is.resources, resource);
    if (kept == nullptr) {
      problems.push_back("it lost its " + resource.Describe());
    } else if (kept->data != resource.data) {
      problems.push_back("its " + resource.Describe() + " changed");
    }
  }
  for (const Resource& resource : is.resources) {
    if (!IsFaceResource(resource, face, replacedIcons) && Same(was.resources, resource) == nullptr) {
      problems.push_back("it gained a " + resource.Describe());
    }
  }
  FaceProblems(is.resources, face, problems);
  return problems;
}

}  // namespace kit::branding
