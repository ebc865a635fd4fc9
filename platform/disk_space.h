// The disk and file queries the install request makes.
#pragma once

#include <cstdint>

class DiskQueries {
 public:
  virtual ~DiskQueries() = default;

  // Total free bytes of the drive with the given root; false when the
  // query does not answer.
  virtual bool TotalFreeBytes(const char* root, std::uint64_t& freeBytes) = 0;

  // The older query: sectors per cluster, bytes per sector, free clusters.
  virtual bool FreeClusters(const char* root, std::uint32_t& sectorsPerCluster, std::uint32_t& bytesPerSector,
                            std::uint32_t& freeClusters) = 0;

  // True when a file or folder of that name exists.
  virtual bool Exists(const char* path) = 0;
};
