#include "kit/branding/pe_resources.h"

#include "kit/byte_view.h"
#include "kit/branding/utf16_text.h"

namespace kit::branding {

namespace {

// A directory of the tree: a 16-byte header whose last two words count its
// named and its numbered entries, then 8 bytes per entry.
constexpr std::uint64_t kDirectoryHeaderSize = 16;
constexpr std::uint64_t kNamedCountField = 12;
constexpr std::uint64_t kIdCountField = 14;
constexpr std::uint64_t kEntrySize = 8;
// An entry's first word is a number, or (high bit set) the offset of a name;
// its second the offset of a data entry, or (high bit set) of a directory.
constexpr std::uint32_t kHighBit = 0x80000000U;
// A data entry: the data's address in memory, its size, its code page.
constexpr std::uint64_t kDataEntrySize = 16;
constexpr std::uint64_t kDataSizeField = 4;
constexpr std::uint64_t kCodePageField = 8;
// The tree's levels: type, name, language.
constexpr int kLevels = 3;
// More entries than any program's tree holds: a tree whose directories
// name the same directories over and over would otherwise take for ever.
constexpr size_t kMostEntries = 1 << 20;

const char* TypeName(std::uint32_t type) {
  switch (type) {
    case kTypeIcon:
      return "icon";
    case kTypeBitmap:
      return "bitmap";
    case kTypeDialog:
      return "dialog template";
    case kTypeStringTable:
      return "string table";
    case kTypeIconGroup:
      return "icon group";
    case kTypeVersion:
      return "version block";
    case kTypeManifest:
      return "manifest";
    default:
      return nullptr;
  }
}

std::string KeyText(const ResourceKey& key) {
  return key.name.empty() ? std::to_string(key.id) : "\"" + key.name + "\"";
}

class TreeReader {
 public:
  TreeReader(const PeImage& image, std::uint64_t treeAt, std::uint64_t treeSize)
      : m_image(image), m_view(image.bytes.data() + treeAt, treeSize) {}

  bool Walk(std::uint64_t directory, int level, Resource& path, std::vector<Resource>& out) {
    std::uint16_t named = 0;
    std::uint16_t numbered = 0;
    if (!m_view.U16(directory + kNamedCountField, named) || !m_view.U16(directory + kIdCountField, numbered)) {
      return Fail("a directory of the tree lies outside the resource directory");
    }
    const std::uint64_t count = std::uint64_t{named} + numbered;
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint64_t entry = directory + kDirectoryHeaderSize + i * kEntrySize;
      if (++m_entriesVisited > kMostEntries) return Fail("the tree names more entries than a program holds");
      std::uint32_t nameField = 0;
      std::uint32_t target = 0;
      if (!m_view.U32(entry, nameField) || !m_view.U32(entry + sizeof nameField, target)) {
        return Fail("an entry of the tree lies outside the resource directory");
      }
      ResourceKey key;
      if ((nameField & kHighBit) != 0) {
        if (!ReadName(nameField & ~kHighBit, key.name)) return false;
      } else {
        key.id = nameField;
      }
      const bool isDirectory = (target & kHighBit) != 0;
      const std::uint64_t offset = target & ~kHighBit;
      if (level == 0) path.type = key;
      if (level == 1) path.name = key;
      if (level == kLevels - 1) {
        if (isDirectory) return Fail("the tree is deeper than type, name and language");
        path.language = key.id;
        if (!ReadData(offset, path)) return false;
        out.push_back(path);
      } else {
        if (!isDirectory) return Fail("the tree ends before a resource's language");
        if (offset <= directory) return Fail("the tree points back at itself");
        if (!Walk(offset, level + 1, path, out)) return false;
      }
    }
    return true;
  }

  const std::string& Why() const { return m_why; }

 private:
  bool Fail(std::string why) {
    m_why = std::move(why);
    return false;
  }

  bool ReadName(std::uint64_t at, std::string& name) {
    std::uint16_t units = 0;
    if (!m_view.U16(at, units) || !m_view.Holds(at + sizeof units, std::uint64_t{units} * 2)) {
      return Fail("a resource's name lies outside the resource directory");
    }
    std::string bytes;
    m_view.Bytes(at + sizeof units, std::uint64_t{units} * 2, bytes);
    name = Utf8FromUtf16(bytes, 0, units);
    if (name.empty()) return Fail("a resource has an empty name");
    return true;
  }

  bool ReadData(std::uint64_t at, Resource& resource) {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
    if (!m_view.Holds(at, kDataEntrySize) || !m_view.U32(at, rva) || !m_view.U32(at + kDataSizeField, size) ||
        !m_view.U32(at + kCodePageField, resource.codePage)) {
      return Fail("a data entry lies outside the resource directory");
    }
    std::uint64_t offset = 0;
    if (!m_image.FileOffsetOf(rva, size, offset)) {
      return Fail("the data of " + resource.Describe() + " lies outside the file's sections");
    }
    resource.data.assign(m_image.bytes, offset, size);
    return true;
  }

  const PeImage& m_image;
  ByteView m_view;
  std::string m_why;
  size_t m_entriesVisited = 0;
};

}  // namespace

std::string Resource::Describe() const {
  const char* typeName = name.name.empty() && type.name.empty() ? TypeName(type.id) : nullptr;
  const std::string what = typeName != nullptr ? typeName : "resource of type " + KeyText(type);
  return what + " " + KeyText(name) + " (language " + std::to_string(language) + ")";
}

ResourceReadResult ReadResources(const PeImage& image) {
  ResourceReadResult result;
  const PeDirectory directory = image.Directory(kResourceDirectoryIndex);
  if (directory.size == 0 && directory.virtualAddress == 0) {
    result.status = ResourceReadStatus::kNone;
    return result;
  }
  std::uint64_t treeAt = 0;
  if (directory.size < kDirectoryHeaderSize || !image.FileOffsetOf(directory.virtualAddress, directory.size, treeAt)) {
    result.why = "the resource directory lies outside the file's sections";
    return result;
  }
  TreeReader reader(image, treeAt, directory.size);
  Resource path;
  if (!reader.Walk(0, 0, path, result.resources)) {
    result.resources.clear();
    result.why = reader.Why();
    return result;
  }
  result.status = ResourceReadStatus::kRead;
  return result;
}

const Resource* FindResource(const std::vector<Resource>& resources, std::uint32_t type, std::uint32_t id) {
  for (const Resource& resource : resources) {
    if (resource.type.name.empty() && resource.type.id == type && resource.name.name.empty() &&
        resource.name.id == id) {
      return &resource;
    }
  }
  return nullptr;
}

}  // namespace kit::branding
