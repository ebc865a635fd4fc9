// `setup-pack build`: makes a package folder from a data folder: the
// archive, the descriptor, the program and the unpacker, and the two text
// files of the licence screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/branding/brand_options.h"
#include "kit/package_files.h"
#include "kit/signing/signing_options.h"
#include "kit/zip_archive.h"

namespace kit {

struct BuildOptions {
  std::string dataDir;
  std::string outDir;
  std::string name = kDefaultPackageName;
  // Files to copy into the package; empty when not given. A file not given
  // is kept when the package folder holds it already; otherwise the program
  // and the unpacker stay missing (the check reports them) and the text
  // files are written from the templates.
  std::string welcomeFile;
  std::string licenceFile;
  std::string programFile;
  std::string unzipFile;
  // Signs NAME.exe and unzip.exe as the build's last step, when a key is
  // given.
  SigningOptions signing;
  // The publisher's face, written into NAME.exe after it is placed; none
  // given: NAME.exe stays as built.
  branding::BrandOptions brand;
};

enum class BuildStatus {
  kBuilt,
  kBadArgument,  // a folder or file named in the arguments is unusable
  kFailed,       // the data cannot be packed, or a file cannot be written
};

struct BuildResult {
  BuildStatus status = BuildStatus::kFailed;
  std::string error;               // why, when not built
  std::vector<std::string> notes;  // one line per file written, copied or kept
  std::uint64_t sizeKB = 0;        // the "FILESIZE:" figure written
};

// The data folder's entries, sorted by name: its folders (names ending in
// '/') and files, named relative to it with '/' between the parts. Adds the
// files' cluster-rounded sizes to `clusterBytes`. False, with `error` set,
// for what the package cannot hold (names Windows does not create as they
// are written, each on a problem line with its code; a link to a folder, a
// special file) or a folder that cannot be read.
bool ListDataFolder(const std::string& dataDir, std::vector<ArchiveInput>& entries, std::uint64_t& clusterBytes,
                    std::string& error);

// Writes the archive and the descriptor, places the other files, then
// changes the programs in place in stages of their own: signing is the last
// of them, so that the signatures cover the programs as they ship.
BuildResult BuildPackage(const BuildOptions& options);

}  // namespace kit
