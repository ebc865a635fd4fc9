#include "kit/check/archive_checks.h"

#include <cstdint>
#include <string>
#include <vector>

#include "kit/check/package_paths.h"
#include "kit/check/wording.h"
#include "kit/package_files.h"
#include "kit/zip_archive.h"

namespace kit::check {

void CheckArchive(Context& context) {
  if (!context.archiveNamed) return;
  PackageSummary& summary = context.Summary();
  std::vector<ArchiveEntry>& entries = context.entries;
  std::string error;
  if (!ReadArchive(summary.archivePath, entries, error)) {
    context.Add(ProblemKind::kArchiveUnreadable, summary.archivePath + " cannot be read as an archive: " + error,
                UnpackingFailedMessage() + ", and nothing (or only a part) is installed",
                "build the archive again (setup-pack build)");
    return;
  }
  summary.archiveRead = true;
  std::uint64_t bytes = 0;
  for (const ArchiveEntry& entry : entries) {
    if (!entry.isFolder) ++summary.archiveFiles;
    bytes += ClusterRoundedBytes(entry.size);
    if (LandsOutsideFolder(entry.name)) {
      context.Add(ProblemKind::kArchiveUnsafeEntry,
                  "the archive's entry " + Quoted(entry.name) + " names a place outside the installation folder",
                  "the file is not installed where the package means it to be: the unpacker writes it outside the "
                  "folder, or strips its path",
                  "name every entry relative to the data folder, without \"..\", a leading slash or a drive letter "
                  "(setup-pack build does)");
    }
  }
  summary.unpackedKB = KilobytesRoundedUp(bytes);
}

}  // namespace kit::check
