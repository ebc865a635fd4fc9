#include "unattended/exit_codes.h"

#include "res/texts.h"

const char* ExitCodeMeaning(int exitCode) {
  switch (exitCode) {
    case kExitInstalled:
      return TEXT_EXIT_INSTALLED;
    case kExitCommandLine:
      return TEXT_EXIT_COMMAND_LINE;
    case kExitDescriptor:
      return TEXT_EXIT_DESCRIPTOR;
    case kExitFolderRefused:
      return TEXT_EXIT_FOLDER_REFUSED;
    case kExitPathsTooLong:
      return TEXT_EXIT_PATHS_TOO_LONG;
    case kExitNotEnoughSpace:
      return TEXT_EXIT_NOT_ENOUGH_SPACE;
    case kExitUnpackerNotStarted:
      return TEXT_EXIT_UNPACKER_NOT_STARTED;
    case kExitUnpackerFailed:
      return TEXT_EXIT_UNPACKER_FAILED;
    default:
      return TEXT_EXIT_OTHER;
  }
}
