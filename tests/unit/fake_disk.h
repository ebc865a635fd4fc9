// Disk queries answered from fixed values, for the tests of the install
// request and of the silent run; a query without a value does not answer.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/disk_space.h"

struct Clusters {
  std::uint32_t sectorsPerCluster;
  std::uint32_t bytesPerSector;
  std::uint32_t freeClusters;
};

class FakeDisk : public DiskQueries {
 public:
  std::optional<std::uint64_t> totalFreeBytes;
  std::optional<Clusters> clusters;
  std::set<std::string> existing;
  std::vector<std::string> rootsAsked;

  bool TotalFreeBytes(const char* root, std::uint64_t& freeBytes) override {
    rootsAsked.emplace_back(root);
    if (!totalFreeBytes) return false;
    freeBytes = *totalFreeBytes;
    return true;
  }

  bool FreeClusters(const char* root, std::uint32_t& sectorsPerCluster, std::uint32_t& bytesPerSector,
                    std::uint32_t& freeClusters) override {
    rootsAsked.emplace_back(root);
    if (!clusters) return false;
    sectorsPerCluster = clusters->sectorsPerCluster;
    bytesPerSector = clusters->bytesPerSector;
    freeClusters = clusters->freeClusters;
    return true;
  }

  bool Exists(const char* path) override { return existing.count(path) != 0; }
};
