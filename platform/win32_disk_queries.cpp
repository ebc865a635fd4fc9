#include "platform/win32_disk_queries.h"

#include <io.h>
#include <windows.h>

bool Win32DiskQueries::TotalFreeBytes(const char* root, std::uint64_t& freeBytes) {
  ULARGE_INTEGER availableToCaller;
  ULARGE_INTEGER total;
  ULARGE_INTEGER totalFree;
  if (!::GetDiskFreeSpaceExA(root, &availableToCaller, &total, &totalFree)) return false;
  freeBytes = totalFree.QuadPart;
  return true;
}

bool Win32DiskQueries::FreeClusters(const char* root, std::uint32_t& sectorsPerCluster,
                                    std::uint32_t& bytesPerSector, std::uint32_t& freeClusters) {
  DWORD sectors = 0;
  DWORD bytes = 0;
  DWORD free = 0;
  DWORD total = 0;
  if (!::GetDiskFreeSpaceA(root, &sectors, &bytes, &free, &total)) return false;
  sectorsPerCluster = sectors;
  bytesPerSector = bytes;
  freeClusters = free;
  return true;
}

bool Win32DiskQueries::Exists(const char* path) { return ::_access(path, 0) == 0; }
