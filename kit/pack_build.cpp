#include "kit/pack_build.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "kit/branding/brand_program.h"
#include "kit/name_problems.h"
#include "kit/path_within.h"
#include "kit/signing/sign_programs.h"
#include "kit/templates.h"
#include "kit/whole_file.h"
#include "package/descriptor.h"
#include "package/licence_texts.h"

namespace kit {

namespace {

namespace fs = std::filesystem;

// The descriptor is a Windows text file.
constexpr const char kLineEnd[] = "\r\n";
// The program reads "FILESIZE:" as a signed 32-bit number.
constexpr std::uint64_t kLargestSizeKB = INT32_MAX;

// Copies `source` to `target` whole, unless they are the same file.
bool CopyFile(const fs::path& source, const fs::path& target, std::string& error) {
  std::error_code code;
  if (fs::exists(target, code) && fs::equivalent(source, target, code)) return true;
  return CopyWholeFile(source, target, error);
}

struct PackageFile {
  const std::string& given;  // the file to copy, or empty
  std::string targetName;
  const char* templateText;  // written when nothing is given or kept; null: left missing
};

bool PlaceFile(const PackageFile& file, const fs::path& outDir, BuildResult& result) {
  const fs::path target = outDir / file.targetName;
  std::error_code ignored;
  if (!file.given.empty()) {
    if (!CopyFile(file.given, target, result.error)) return false;
    result.notes.push_back("copied " + file.given + " to " + target.string());
  } else if (fs::is_regular_file(target, ignored)) {
    result.notes.push_back("kept " + target.string());
  } else if (file.templateText != nullptr) {
    if (!WriteWholeFile(target, file.templateText, result.error)) return false;
    result.notes.push_back("wrote the template " + target.string() + ": replace its placeholder texts");
  } else {
    result.notes.push_back("no " + file.targetName + " given: the package lacks it");
  }
  return true;
}

// Signs NAME.exe and unzip.exe when a key is given.
bool SigningStage(const BuildOptions& options, const fs::path& outDir, BuildResult& result) {
  if (!options.signing.Requested()) return true;
  return SignPackagePrograms(outDir, options.name, options.signing, result.notes, result.error);
}

BuildResult Refuse(BuildStatus status, std::string error) {
  BuildResult result;
  result.status = status;
  result.error = std::move(error);
  return result;
}

}  // namespace

bool ListDataFolder(const std::string& dataDir, std::vector<ArchiveInput>& entries, std::uint64_t& clusterBytes,
                    std::string& error) {
  std::error_code code;
  std::vector<std::string> nameProblems;
  fs::recursive_directory_iterator it(dataDir, code);
  for (; !code && it != fs::recursive_directory_iterator(); it.increment(code)) {
    const fs::directory_entry& entry = *it;
    const fs::path relative = entry.path().lexically_relative(dataDir);
    std::string name = relative.generic_string();
    std::error_code ignored;
    const std::string entryName = entry.is_directory(ignored) ? name + "/" : name;
    if (const std::optional<Problem> problem =
            PathNameProblem(entryName, FirstPathFault(entryName), NameHolder::kDataFolder)) {
      nameProblems.push_back(ProblemLine(*problem));
      // Its folder's content is judged by the folder's name already.
      if (entry.is_directory(ignored)) it.disable_recursion_pending();
      continue;
    }
    if (entry.is_directory(ignored)) {
      if (entry.is_symlink(ignored)) {
        error = "the data's " + name + " is a link to a folder: put the folder itself in its place";
        return false;
      }
      entries.push_back({name + "/", std::string()});
    } else if (entry.is_regular_file(ignored)) {
      clusterBytes += ClusterRoundedBytes(entry.file_size(ignored));
      entries.push_back({name, entry.path().string()});
    } else {
      error = "the data's " + name + " is neither a file nor a folder";
      return false;
    }
  }
  if (code) {
    error = "cannot read the data folder " + dataDir + ": " + code.message();
    return false;
  }
  std::sort(entries.begin(), entries.end(),
            [](const ArchiveInput& a, const ArchiveInput& b) { return a.name < b.name; });
  std::vector<std::string> names;
  for (const ArchiveInput& entry : entries) names.push_back(entry.name);
  for (const CaseCollision& collision : CaseCollisions(names)) {
    nameProblems.push_back(ProblemLine(CaseCollisionProblem(collision, NameHolder::kDataFolder)));
  }
  if (!nameProblems.empty()) {
    error = "the data folder holds names that Windows does not create as they are written:";
    for (const std::string& line : nameProblems) error += "\n" + line;
    return false;
  }
  return true;
}

BuildResult BuildPackage(const BuildOptions& options) {
  std::error_code ignored;
  if (!fs::is_directory(options.dataDir, ignored)) {
    return Refuse(BuildStatus::kBadArgument, "the data folder " + options.dataDir + " is not a folder");
  }
  const std::string nameProblem = PackageNameProblem(options.name);
  if (!nameProblem.empty()) {
    return Refuse(BuildStatus::kBadArgument,
                  "the package name \"" + options.name + "\" cannot be used: " + nameProblem);
  }
  for (const std::string* file :
       {&options.welcomeFile, &options.licenceFile, &options.programFile, &options.unzipFile}) {
    if (!file->empty() && !fs::is_regular_file(*file, ignored)) {
      return Refuse(BuildStatus::kBadArgument, "the file " + *file + " is not there");
    }
  }
  const std::string brandProblem = branding::BrandOptionsProblem(options.brand);
  if (!brandProblem.empty()) return Refuse(BuildStatus::kBadArgument, brandProblem);
  const fs::path programPath = fs::path(options.outDir) / (options.name + kProgramExtension);
  if (options.brand.Any() && options.programFile.empty() && !fs::is_regular_file(programPath, ignored)) {
    return Refuse(BuildStatus::kBadArgument, "branding needs the program: give --program EXE");
  }
  if (IsSameOrInside(options.outDir, options.dataDir)) {
    return Refuse(BuildStatus::kBadArgument, "the package folder " + options.outDir + " lies in the data folder " +
                                                 options.dataDir + ", whose whole content is packed");
  }
  const std::string signingProblem = SigningArgumentProblem(options.signing, options.dataDir, options.outDir);
  if (!signingProblem.empty()) return Refuse(BuildStatus::kBadArgument, signingProblem);

  std::vector<ArchiveInput> entries;
  std::uint64_t clusterBytes = 0;
  std::string error;
  if (!ListDataFolder(options.dataDir, entries, clusterBytes, error)) return Refuse(BuildStatus::kFailed, error);
  if (entries.empty()) return Refuse(BuildStatus::kFailed, "the data folder " + options.dataDir + " is empty");
  const std::string packedSecret = PackedSecretProblem(options.signing, entries);
  if (!packedSecret.empty()) return Refuse(BuildStatus::kBadArgument, packedSecret);
  BuildResult result;
  result.sizeKB = KilobytesRoundedUp(clusterBytes);
  if (result.sizeKB > kLargestSizeKB) {
    return Refuse(BuildStatus::kFailed, "the data need " + std::to_string(result.sizeKB) +
                                            " KB, more than the program's size figure can hold (" +
                                            std::to_string(kLargestSizeKB) +
                                            " KB, about 2 TB): split the data into smaller packages");
  }

  const fs::path outDir = options.outDir;
  fs::create_directories(outDir, ignored);
  if (!fs::is_directory(outDir, ignored)) return Refuse(BuildStatus::kFailed, "cannot create " + options.outDir);
  for (const std::string& partial : RemovePartialFiles(outDir)) {
    result.notes.push_back("removed " + (outDir / partial).string() + ", left by a build that did not end");
  }

  const std::string archiveName = options.name + kArchiveExtension;
  const fs::path archivePath = outDir / archiveName;
  const auto writeArchive = [&entries](const fs::path& partial, std::string& writeError) {
    return WriteArchive(partial.string(), entries, writeError);
  };
  if (!WriteWhole(archivePath, writeArchive, error)) return Refuse(BuildStatus::kFailed, error);
  result.notes.push_back("wrote " + archivePath.string() + " (" + std::to_string(entries.size()) + " entries)");

  const std::string sizeLine = kSizeKey + std::to_string(result.sizeKB);
  const std::string descriptor = kArchiveKey + archiveName + kLineEnd + sizeLine + kLineEnd;
  const fs::path descriptorPath = outDir / (options.name + kDescriptorExtension);
  if (!WriteWholeFile(descriptorPath, descriptor, error)) return Refuse(BuildStatus::kFailed, error);
  result.notes.push_back("wrote " + descriptorPath.string() + " (" + sizeLine + ")");

  const PackageFile files[] = {
      {options.programFile, options.name + kProgramExtension, nullptr},
      {options.unzipFile, kUnpackerFileName, nullptr},
      {options.welcomeFile, kWelcomeFileName, kWelcomeTemplate},
      {options.licenceFile, kLicenceFileName, kLicenceTemplate},
  };
  for (const PackageFile& file : files) {
    if (!PlaceFile(file, outDir, result)) return Refuse(BuildStatus::kFailed, result.error);
  }

  // The stages that change the placed programs in place, in this order.
  // Branding writes the publisher's face into NAME.exe, the package's copy
  // of the program; signing comes last, so that the signatures cover the
  // programs as they ship.
  if (options.brand.Any() && !branding::BrandProgram(programPath, options.brand, result.notes, result.error)) {
    return Refuse(BuildStatus::kFailed, result.error);
  }
  if (!SigningStage(options, outDir, result)) return Refuse(BuildStatus::kFailed, result.error);
  result.status = BuildStatus::kBuilt;
  return result;
}

}  // namespace kit
