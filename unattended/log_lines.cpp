#include "unattended/log_lines.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "res/texts.h"
#include "run/command_line.h"
#include "unattended/exit_codes.h"

CString Formatted(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length < 0) {
    va_end(again);
    return CString();
  }
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, again);
  va_end(again);
  return CString(buffer.data(), length);
}

CString LogStarted(const CString& programPath, const CString& argumentsText) {
  return Formatted(TEXT_LOG_STARTED, programPath.c_str(),
                   argumentsText.IsEmpty() ? TEXT_LOG_NO_ARGUMENTS : argumentsText.c_str());
}

CString LogDescriptorRead(const CString& descriptorPath, const PackageDescriptor& descriptor) {
  if (!descriptor.hasSize)
    return Formatted(TEXT_LOG_DESCRIPTOR_NO_SIZE, descriptorPath.c_str(), descriptor.zipPath.c_str());
  return Formatted(TEXT_LOG_DESCRIPTOR_READ, descriptorPath.c_str(), descriptor.zipPath.c_str(), descriptor.requiredKB);
}

CString LogDescriptorMissing(const CString& descriptorPath) {
  return Formatted(TEXT_LOG_DESCRIPTOR_MISSING, descriptorPath.c_str());
}

CString LogFreeSpace(const CString& driveRoot, SpaceVerdict verdict, std::uint64_t freeKB, long requiredKB) {
  const unsigned long long free = freeKB;
  switch (verdict) {
    case SpaceVerdict::kEnough:
      return Formatted(TEXT_LOG_SPACE_ENOUGH, driveRoot.c_str(), free, requiredKB);
    case SpaceVerdict::kNotEnough:
      return Formatted(TEXT_LOG_SPACE_NOT_ENOUGH, driveRoot.c_str(), free, requiredKB);
    case SpaceVerdict::kUnknown:
      break;
  }
  return Formatted(TEXT_LOG_SPACE_UNKNOWN, driveRoot.c_str(), requiredKB);
}

CString LogFolder(const CString& folder, FolderVerdict verdict) {
  switch (verdict) {
    case FolderVerdict::kAccepted:
      return Formatted(TEXT_LOG_FOLDER_ACCEPTED, folder.c_str());
    case FolderVerdict::kInvalid:
      return Formatted(TEXT_LOG_FOLDER_INVALID, folder.c_str());
    case FolderVerdict::kParentMissing:
      break;
  }
  return Formatted(TEXT_LOG_FOLDER_PARENT_MISSING, folder.c_str());
}

CString LogCommandLine(const char* commandLine) { return Formatted(TEXT_LOG_COMMAND_LINE, commandLine); }

CString LogCommandLineTooLong(int pathsLength) {
  return Formatted(TEXT_LOG_COMMAND_TOO_LONG, pathsLength, RoomForPaths());
}

CString LogUnpackerStarted() { return TEXT_LOG_UNPACKER_STARTED; }

CString LogUnpackerNotStarted(unsigned long systemError) {
  return Formatted(TEXT_LOG_UNPACKER_NOT_STARTED, systemError);
}

CString LogUnpackerEnded(unsigned long exitCode) { return Formatted(TEXT_LOG_UNPACKER_ENDED, exitCode); }

CString LogUnpackerNotWatched(unsigned long systemError) {
  return Formatted(TEXT_LOG_UNPACKER_NOT_WATCHED, systemError);
}

CString LogResult(int exitCode) { return Formatted(TEXT_LOG_RESULT, exitCode, ExitCodeMeaning(exitCode)); }
