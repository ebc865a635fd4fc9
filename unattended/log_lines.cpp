#include "unattended/log_lines.h"

#include "framework/format.h"
#include "res/texts.h"
#include "run/command_line.h"
#include "unattended/exit_codes.h"

CString DecimalText(std::uint64_t value) {
  constexpr int kDigitsOfTheLargest = 20;
  constexpr unsigned kBase = 10;
  char digits[kDigitsOfTheLargest + 1];
  int first = kDigitsOfTheLargest;
  digits[first] = '\0';
  do {
    digits[--first] = static_cast<char>('0' + value % kBase);
    value /= kBase;
  } while (value != 0);
  return CString(digits + first);
}

CString LogStarted(const CString& programPath, const CString& argumentsText) {
  return FormatString(TEXT_LOG_STARTED, programPath.c_str(),
                      argumentsText.IsEmpty() ? TEXT_LOG_NO_ARGUMENTS : argumentsText.c_str());
}

CString LogDescriptorRead(const CString& descriptorPath, const PackageDescriptor& descriptor) {
  if (!descriptor.hasSize)
    return FormatString(TEXT_LOG_DESCRIPTOR_NO_SIZE, descriptorPath.c_str(), descriptor.zipPath.c_str());
  return FormatString(TEXT_LOG_DESCRIPTOR_READ, descriptorPath.c_str(), descriptor.zipPath.c_str(),
                      descriptor.requiredKB);
}

CString LogDescriptorMissing(const CString& descriptorPath) {
  return FormatString(TEXT_LOG_DESCRIPTOR_MISSING, descriptorPath.c_str());
}

CString LogFreeSpace(const CString& driveRoot, SpaceVerdict verdict, std::uint64_t freeKB, long requiredKB) {
  const CString free = DecimalText(freeKB);
  switch (verdict) {
    case SpaceVerdict::kEnough:
      return FormatString(TEXT_LOG_SPACE_ENOUGH, driveRoot.c_str(), free.c_str(), requiredKB);
    case SpaceVerdict::kNotEnough:
      return FormatString(TEXT_LOG_SPACE_NOT_ENOUGH, driveRoot.c_str(), free.c_str(), requiredKB);
    case SpaceVerdict::kUnknown:
      break;
  }
  return FormatString(TEXT_LOG_SPACE_UNKNOWN, driveRoot.c_str(), requiredKB);
}

CString LogFolder(const CString& folder, FolderVerdict verdict) {
  switch (verdict) {
    case FolderVerdict::kAccepted:
      return FormatString(TEXT_LOG_FOLDER_ACCEPTED, folder.c_str());
    case FolderVerdict::kInvalid:
      return FormatString(TEXT_LOG_FOLDER_INVALID, folder.c_str());
    case FolderVerdict::kParentMissing:
      break;
  }
  return FormatString(TEXT_LOG_FOLDER_PARENT_MISSING, folder.c_str());
}

CString LogCommandLine(const char* commandLine) { return FormatString(TEXT_LOG_COMMAND_LINE, commandLine); }

CString LogCommandLineTooLong(const CString& unzipPath, const CString& zipPath, const CString& folder) {
  const int pathsLength = unzipPath.GetLength() + zipPath.GetLength() + folder.GetLength();
  return FormatString(TEXT_LOG_COMMAND_TOO_LONG, pathsLength, RoomForPaths());
}

CString LogUnpackerStarted() { return TEXT_LOG_UNPACKER_STARTED; }

CString LogUnpackerNotStarted(unsigned long systemError) {
  return FormatString(TEXT_LOG_UNPACKER_NOT_STARTED, systemError);
}

CString LogUnpackerNotWatched(unsigned long systemError) {
  return FormatString(TEXT_LOG_UNPACKER_NOT_WATCHED, systemError);
}

CString LogResult(int exitCode) { return FormatString(TEXT_LOG_RESULT, exitCode, ExitCodeMeaning(exitCode)); }
