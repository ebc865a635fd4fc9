// The build's signing stage: signs the package's NAME.exe and unzip.exe in
// place with osslsigncode, each written whole.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "kit/signing/signing_options.h"
#include "kit/zip_archive.h"

namespace kit {

// Empty when `options` can sign a package built from `dataDir` into
// `outDir`; otherwise why not (a wrong usage): an option that needs a key
// without one, a key given both ways or half, a timestamp address that is no
// web address, a file that is not there, or a secret file (the key, the
// password) in the data folder, where it would be packed into the archive
// for every end user, or in the package folder, where it would ship.
std::string SigningArgumentProblem(const SigningOptions& options, const std::filesystem::path& dataDir,
                                   const std::filesystem::path& outDir);

// Empty unless one of the data folder's files to be packed is a secret file
// of `options` by another path (a link to it): then why it cannot be.
std::string PackedSecretProblem(const SigningOptions& options, const std::vector<ArchiveInput>& entries);

// Signs <outDir>/<name>.exe and then <outDir>/unzip.exe, those of them that
// are there. Each is signed into a temporary file that replaces it only once
// signed: a signing that fails leaves the program as it was. Adds a note per
// program to `notes`; false, with `error` set, at the first program that
// cannot be signed. Neither the password nor anything else of the key
// appears on a command line or in `error`.
bool SignPackagePrograms(const std::filesystem::path& outDir, const std::string& name, const SigningOptions& options,
                         std::vector<std::string>& notes, std::string& error);

}  // namespace kit
