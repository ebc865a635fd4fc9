#include "setup/install_request.h"

#include "setup/browsing.h"

namespace {
constexpr int kDriveRootLength = 3;
constexpr int kKilobyteShift = 10;
constexpr long kKilobytesPerMegabyte = 1024;
}  // namespace

CString DriveRoot(const CString& targetDir) { return targetDir.Left(kDriveRootLength); }

bool FreeKilobytes(DiskQueries& disk, const char* root, std::uint64_t& freeKB) {
  std::uint64_t freeBytes = 0;
  if (disk.TotalFreeBytes(root, freeBytes)) {
    freeKB = freeBytes >> kKilobyteShift;
    return true;
  }
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  if (disk.FreeClusters(root, sectorsPerCluster, bytesPerSector, freeClusters)) {
    freeKB = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector * freeClusters >> kKilobyteShift;
    return true;
  }
  return false;
}

SpaceVerdict DecideSpace(DiskQueries& disk, const char* root, long requiredKB, std::uint64_t* freeKB) {
  std::uint64_t free = 0;
  if (!FreeKilobytes(disk, root, free)) return SpaceVerdict::kUnknown;
  if (freeKB != nullptr) *freeKB = free;
  const std::uint64_t required = requiredKB > 0 ? static_cast<std::uint64_t>(requiredKB) : 0;
  return free >= required ? SpaceVerdict::kEnough : SpaceVerdict::kNotEnough;
}

long SizeInMegabytes(long requiredKB) { return (requiredKB > 0 ? requiredKB : 0) / kKilobytesPerMegabyte; }

CString NormaliseInstallFolder(const CString& typed) {
  CString folder = typed;
  folder.TrimLeft();
  folder.TrimRight();
  while (EndsWithBackslash(folder)) folder = folder.Left(folder.GetLength() - 1);
  return folder;
}

FolderVerdict CheckInstallFolder(const CString& folder, DiskQueries& disk) {
  if (folder.IsEmpty() || folder.Find('"') >= 0) return FolderVerdict::kInvalid;
  const int lastBackslash = folder.ReverseFind('\\');
  const CString parent = lastBackslash >= 0 ? folder.Left(lastBackslash) : CString();
  if (parent.IsEmpty() || !disk.Exists(parent)) return FolderVerdict::kParentMissing;
  return FolderVerdict::kAccepted;
}
