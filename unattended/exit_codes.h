// Exit codes of a silent installation (/S). They are part of the program's
// interface: deployment tools read them, and the publisher's guide lists
// them. Never renumber one.
#pragma once

enum SilentExitCode : int {
  kExitInstalled = 0,           // the unpacker ended with 0
  kExitCommandLine = 1,         // the command line was not understood, or the log cannot be written
  kExitDescriptor = 2,          // the descriptor is missing or cannot be read
  kExitFolderRefused = 3,       // the installation folder is not valid, or its parent does not exist
  kExitPathsTooLong = 4,        // the paths do not fit the unpacker's command line
  kExitNotEnoughSpace = 5,      // the target drive has less free space than the package needs
  kExitUnpackerNotStarted = 6,  // the unpacker could not be started (or watched)
  kExitUnpackerFailed = 7,      // the unpacker ended with a nonzero exit code
};

// What an exit code means, as the log's last line says it.
const char* ExitCodeMeaning(int exitCode);
