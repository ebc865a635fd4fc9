// The resources of a program file: the tree of its resource directory
// (type, then name, then language) flattened into one list, each resource
// with its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/branding/pe_image.h"

namespace kit::branding {

// Resource types the kit looks at.
constexpr std::uint32_t kTypeIcon = 3;
constexpr std::uint32_t kTypeBitmap = 2;
constexpr std::uint32_t kTypeDialog = 5;
constexpr std::uint32_t kTypeStringTable = 6;
constexpr std::uint32_t kTypeIconGroup = 14;
constexpr std::uint32_t kTypeVersion = 16;
constexpr std::uint32_t kTypeManifest = 24;
// A program's version block is resource 1 of its type.
constexpr std::uint32_t kVersionBlockId = 1;

// A type or name: a number, or a text where `name` is not empty.
struct ResourceKey {
  std::uint32_t id = 0;
  std::string name;  // UTF-8
  bool operator==(const ResourceKey& other) const { return id == other.id && name == other.name; }
  bool operator!=(const ResourceKey& other) const { return !(*this == other); }
};

struct Resource {
  ResourceKey type;
  ResourceKey name;
  std::uint32_t language = 0;
  std::uint32_t codePage = 0;
  std::string data;

  // "bitmap 129 (language 1033)", for messages.
  std::string Describe() const;
};

enum class ResourceReadStatus {
  kRead,
  kNone,     // the program has no resource directory
  kDamaged,  // a directory, an entry or a resource's data lies outside the image, or the tree is malformed
};

struct ResourceReadResult {
  ResourceReadStatus status = ResourceReadStatus::kDamaged;
  std::string why;  // when damaged
  std::vector<Resource> resources;
};

ResourceReadResult ReadResources(const PeImage& image);

// The first resource of numbered type and name, whatever its language; null
// when there is none.
const Resource* FindResource(const std::vector<Resource>& resources, std::uint32_t type, std::uint32_t id);

}  // namespace kit::branding
