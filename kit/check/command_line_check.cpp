#include "kit/check/command_line_check.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/cstring.h"
#include "kit/check/package_paths.h"
#include "kit/check/silent_command.h"
#include "kit/package_files.h"
#include "package/descriptor.h"
#include "res/texts.h"
#include "run/command_line.h"

namespace kit::check {

namespace {

// Where the check assumes the package to be on the end user's machine, for
// the length of the unpacker's command line: unpacked into the downloads of a
// user with a long name; the installation folder is TypicalInstallFolder.
constexpr const char kTypicalUserName[] = "Firstname.Lastname20";
constexpr size_t kTypicalUserNameLength = 20;
static_assert(sizeof kTypicalUserName - 1 == kTypicalUserNameLength, "a user name of typical greatest length");
const std::string kTypicalDownloads = std::string("C:\\Users\\") + kTypicalUserName + "\\Downloads\\";

}  // namespace

void CheckCommandLine(Context& context) {
  PackageSummary& s = context.Summary();
  s.typicalProgramFolder = kTypicalDownloads + PackageFolderName(context.Dir()) + kWindowsSeparator;
  s.typicalInstallFolder = TypicalInstallFolder(context.Name());
  s.silentCommand = SilentCommandLine(context.Name() + kProgramExtension, s.typicalInstallFolder);
  const CString unzipPath(s.typicalProgramFolder + kUnpackerName);
  const CString archivePath(s.typicalProgramFolder + s.archiveValue);
  const CString installFolder(s.typicalInstallFolder);
  char line[kCommandLineSize];
  s.commandFits = ComposeUnpackerCommand(unzipPath, archivePath, installFolder, line);
  s.commandLength = s.commandFits ? static_cast<int>(std::strlen(line))
                                  : std::snprintf(nullptr, 0, TEXT_UNPACKER_COMMAND_FORMAT, unzipPath.c_str(),
                                                  archivePath.c_str(), installFolder.c_str());
  if (s.commandFits) return;
  context.Add(ProblemKind::kCommandTooLong,
              "the unpacker's command line needs " + std::to_string(s.commandLength) + " of " +
                  std::to_string(kCommandLineSize - 1) + " characters with the package in " + s.typicalProgramFolder +
                  " and the folder " + s.typicalInstallFolder,
              std::string("after Install: \"") + TEXT_PATHS_TOO_LONG + "\"",
              "shorten the package folder's name, the archive's name or the package name");
}

}  // namespace kit::check
