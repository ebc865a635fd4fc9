// Disk and file queries of Windows and its C runtime.
#pragma once

#include "platform/disk_space.h"

class Win32DiskQueries : public DiskQueries {
 public:
  bool TotalFreeBytes(const char* root, std::uint64_t& freeBytes) override;
  bool FreeClusters(const char* root, std::uint32_t& sectorsPerCluster, std::uint32_t& bytesPerSector,
                    std::uint32_t& freeClusters) override;
  bool Exists(const char* path) override;
};
