#include "unattended/silent_install.h"

#include <cstdint>

#include "package/descriptor.h"
#include "res/texts.h"
#include "run/command_line.h"
#include "run/run_log_lines.h"
#include "setup/install_request.h"
#include "unattended/exit_codes.h"
#include "unattended/log_lines.h"

namespace {

int Finish(RunLog& log, int exitCode) {
  log.Line(LogResult(exitCode));
  return exitCode;
}

// Once the installation folder is decided, the unpacker's run.
int Unpack(const PackageDescriptor& package, const CString& folder, UnpackerLaunch& unpacker, RunLog& log) {
  char commandLine[kCommandLineSize];
  if (!ComposeUnpackerCommand(package.unzipPath, package.zipPath, folder, commandLine)) {
    log.Line(LogCommandLineTooLong(package.unzipPath, package.zipPath, folder));
    return Finish(log, kExitPathsTooLong);
  }
  log.Line(LogCommandLine(commandLine));
  unsigned long systemError = 0;
  if (!unpacker.Start(commandLine, systemError)) {
    log.Line(LogUnpackerNotStarted(systemError));
    return Finish(log, kExitUnpackerNotStarted);
  }
  log.Line(LogUnpackerStarted());
  unsigned long exitCode = 0;
  if (!unpacker.WaitForEnd(exitCode, systemError)) {
    log.Line(LogUnpackerNotWatched(systemError));
    return Finish(log, kExitUnpackerNotStarted);
  }
  log.Line(LogUnpackerEnded(exitCode));
  return Finish(log, exitCode == 0 ? kExitInstalled : kExitUnpackerFailed);
}

}  // namespace

int RunSilentInstall(const SilentRequest& request, DiskQueries& disk, UnpackerLaunch& unpacker, RunLog& log) {
  log.Line(TEXT_LOG_LICENCE_TAKEN);
  PackageDescriptor package;
  if (!ReadPackageDescriptor(request.descriptorPath, package)) {
    log.Line(LogDescriptorMissing(request.descriptorPath));
    return Finish(log, kExitDescriptor);
  }
  log.Line(LogDescriptorRead(request.descriptorPath, package));

  // As on the screen: the drive of the folder as given, before it is
  // normalised.
  const CString root = DriveRoot(request.folder);
  std::uint64_t freeKB = 0;
  const SpaceVerdict space = DecideSpace(disk, root, package.requiredKB, &freeKB);
  log.Line(LogFreeSpace(root, space, freeKB, package.requiredKB));
  if (space == SpaceVerdict::kNotEnough) return Finish(log, kExitNotEnoughSpace);

  const CString folder = NormaliseInstallFolder(request.folder);
  const FolderVerdict verdict = CheckInstallFolder(folder, disk);
  log.Line(LogFolder(folder, verdict));
  if (verdict != FolderVerdict::kAccepted) return Finish(log, kExitFolderRefused);

  return Unpack(package, folder, unpacker, log);
}
