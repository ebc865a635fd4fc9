// Texts of the program's resources, shared by the resource script and the
// tests that read the screens back.
#pragma once

// clang-format off

#define TEXT_LICENCE_CAPTION "Verandel License Agreement"
#define TEXT_AGREE "I Agree"
#define TEXT_CANCEL "Cancel"
#define TEXT_STATIC_PLACEHOLDER "Static"
#define TEXT_HEADLINE_PLACEHOLDER "Welcome"
#define TEXT_TEMPLATE_FONT "MS Sans Serif"

#define TEXT_WELCOME_1 "Thank you for choosing Verandel"
#define TEXT_WELCOME_2 "Verandel has been mapping the coasts, rivers and hill paths of the northern provinces since 1987, and this package brings you its surveyed charts, place names and elevation data, checked by our own field teams and ready to use at once."
#define TEXT_WELCOME_3 "For our other map packages, free updates and technical support, visit www.verandel.example or call +44 20 7946 0321."
#define TEXT_VERSION_COMPANY "Verandel"
#define TEXT_VERSION_DESCRIPTION "Data package setup"
#define TEXT_VERSION_PRODUCT "Verandel data package setup"
#define TEXT_VERSION_STRING "1.0.0.1"
// clang-format on

// clang-format off
// Texts the program itself shows
#define TEXT_LICENSE_TITLE "LICENSE AGREEMENT"
#define TEXT_SCREEN_FACE "Trebuchet MS"
// clang-format on

// clang-format off
// Setup screen
#define TEXT_SETUP_CAPTION "Quorvex"
#define TEXT_INSTALL "Install"
#define TEXT_SOURCE_LABEL "Data Source:"
#define TEXT_TARGET_LABEL "Installation Directory:"
#define TEXT_BROWSE_LABEL "Please select a directory:"
#define TEXT_PROGRESS_LABEL "In Progress:"
#define TEXT_CLOSE "Close"

// Starting point of browsing: drive c: and the proposed installation folder
#define TEXT_START_DRIVE_LETTER "c"
#define TEXT_PROPOSED_FOLDER_NAME "data"
#define TEXT_PARENT_ENTRY ".."

// Messages
#define TEXT_CANNOT_INITIALIZE "Cannot initialize the application"
#define TEXT_DIRECTORY_PREFIX "Directory: "
#define TEXT_CANNOT_BE_READ " Cannot be read"
#define TEXT_NOT_ENOUGH_SPACE "No enough space on hard drive for %ld MB, Quit the process?"
#define TEXT_FREE_SPACE_UNKNOWN "Unable to retrieve free space size, please make sure there are greater than %ld MB free space on the drive"
#define TEXT_CONFIRM_INSTALL "Start Installation on the selected directory?"
#define TEXT_INVALID_FOLDER "Need to select a valid installation directory"
#define TEXT_PARENT_MISSING "Specified top level directory does not exists"
// clang-format on

// clang-format off
// The unpacking run
#define TEXT_UNPACKER_COMMAND_FORMAT "\"%s\" -o -q \"%s\" -d \"%s\""
#define TEXT_INSTALLED "Installed successfully"
#define TEXT_UNZIP_ERROR "Error in executing unzip command"
#define TEXT_UNZIP_FAILED "Installation failed: unzip ended with exit code %s"
// An exit code as the messages write it: small codes in decimal, status codes
// (0x80000000 and above: a crash, a kill) in hexadecimal as Windows writes them
#define TEXT_EXIT_CODE_DECIMAL "%lu"
#define TEXT_EXIT_CODE_STATUS "0x%08lX"
#define TEXT_THREAD_FAILED "Failed to create thread"
#define TEXT_KILL_QUESTION "Kill the on-going process?"
#define TEXT_KILLED "Process killed successfully!"
#define TEXT_CANNOT_TERMINATE "Unable to terminate the process"
#define TEXT_ALREADY_RUNNING "An installation is already running. Wait until it ends, or press Cancel to stop it."
#define TEXT_PATHS_TOO_LONG "The installation folder's path is too long for this package: choose a folder with a shorter path."
// clang-format on

// clang-format off
// The command line: NAME.exe [/S] [/DIR=folder] [/LOG=file] [/?]
#define SWITCH_SILENT "S"
#define SWITCH_FOLDER "DIR"
#define SWITCH_LOG "LOG"
#define SWITCH_HELP "?"
#define SWITCH_HELP_WORD "HELP"
#define TEXT_SWITCH_UNKNOWN "Unknown switch: "
#define TEXT_SWITCH_PLAIN_WORD "Not a switch: "
#define TEXT_SWITCH_MISSING_VALUE "This switch needs a value after its '=': "
#define TEXT_SWITCH_UNEXPECTED_VALUE "This switch takes no value: "
#define TEXT_SWITCH_GIVEN_TWICE "This switch is given twice: "
#define TEXT_USAGE_PREFIX "Usage: "
#define TEXT_USAGE_BODY " [/S] [/DIR=folder] [/LOG=file] [/?]\n\n" \
  "/S: install without any screen or message box; the licence counts as accepted.\n" \
  "/DIR=folder: the installation folder (without it: " TEXT_START_DRIVE_LETTER ":\\" TEXT_PROPOSED_FOLDER_NAME \
  "); with the screens, the folder they propose.\n" \
  "/LOG=file: append a log of the run to the file.\n" \
  "/? or /HELP: show this text.\n" \
  "Switches may start with / or - and be written in any letter case.\n\n" \
  "Exit codes of a silent installation: 0 installed; 1 command line not understood or log not writable; " \
  "2 descriptor missing; 3 installation folder refused; 4 paths too long; 5 not enough free space; " \
  "6 unpacker not started; 7 unpacker failed."
#define TEXT_LOG_CANNOT_BE_WRITTEN "The log file cannot be written: %s"

// What each exit code means, as the log's last line says it
#define TEXT_EXIT_INSTALLED "installed"
#define TEXT_EXIT_COMMAND_LINE "the command line was not understood, or the log cannot be written"
#define TEXT_EXIT_DESCRIPTOR "the descriptor is missing or cannot be read"
#define TEXT_EXIT_FOLDER_REFUSED "the installation folder is refused"
#define TEXT_EXIT_PATHS_TOO_LONG "the paths are too long for the unpacker's command line"
#define TEXT_EXIT_NOT_ENOUGH_SPACE "not enough free space on the target drive"
#define TEXT_EXIT_UNPACKER_NOT_STARTED "the unpacker could not be started"
#define TEXT_EXIT_UNPACKER_FAILED "the unpacker ended with a nonzero exit code"
#define TEXT_EXIT_OTHER "the program's end"

// The run's log: one line a step
#define TEXT_LOG_STARTED "program %s started, arguments: %s"
#define TEXT_LOG_NO_ARGUMENTS "(none)"
#define TEXT_LOG_COMMAND_LINE_REFUSED "command line not understood: %s"
#define TEXT_LOG_LICENCE_TAKEN "silent installation: the licence counts as accepted by whoever deploys the package"
#define TEXT_LOG_DESCRIPTOR_READ "descriptor %s read: archive %s, size %ld KB"
#define TEXT_LOG_DESCRIPTOR_NO_SIZE "descriptor %s read: archive %s, no size given (0 KB)"
#define TEXT_LOG_DESCRIPTOR_MISSING "descriptor %s cannot be read"
#define TEXT_LOG_SPACE_ENOUGH "free space of %s: %s KB, the package needs %ld KB: enough"
#define TEXT_LOG_SPACE_NOT_ENOUGH "free space of %s: %s KB, the package needs %ld KB: not enough"
#define TEXT_LOG_SPACE_UNKNOWN "free space of %s cannot be read: going on (the package needs %ld KB)"
#define TEXT_LOG_FOLDER_ACCEPTED "installation folder %s: accepted"
#define TEXT_LOG_FOLDER_INVALID "installation folder \"%s\": refused, not a valid folder"
#define TEXT_LOG_FOLDER_PARENT_MISSING "installation folder %s: refused, its parent does not exist"
#define TEXT_LOG_COMMAND_LINE "unpacker command line: %s"
#define TEXT_LOG_COMMAND_TOO_LONG "unpacker command line too long: the three paths take %d characters, at most %d fit"
#define TEXT_LOG_UNPACKER_STARTED "unpacker started, waiting for its end"
#define TEXT_LOG_UNPACKER_NOT_STARTED "unpacker could not be started (system error %lu)"
#define TEXT_LOG_UNPACKER_ENDED "unpacker ended with exit code %s"
#define TEXT_LOG_UNPACKER_NOT_WATCHED "unpacker cannot be watched (system error %lu)"
#define TEXT_LOG_MONITOR_NOT_WATCHED "unpacker cannot be watched: it did not start, or its end cannot be read"
#define TEXT_LOG_RESULT "result: exit code %d, %s"
#define TEXT_LOG_PROGRAM_ENDS "program ends, exit code %d"

// The person's answers on the screens
#define TEXT_LOG_LICENCE_AGREED "licence screen: I Agree"
#define TEXT_LOG_LICENCE_DECLINED "licence screen: Cancel"
#define TEXT_LOG_DESCRIPTOR_MISSING_ENDS "the program ends with exit code %d after \"" TEXT_CANNOT_INITIALIZE "\""
#define TEXT_LOG_SETUP_PROPOSES "setup screen opened, proposing %s"
#define TEXT_LOG_SPACE_QUIT_YES "asked \"No enough space ... Quit the process?\": Yes, the request ends"
#define TEXT_LOG_SPACE_QUIT_NO "asked \"No enough space ... Quit the process?\": No, the request goes on"
#define TEXT_LOG_SPACE_NOTICE "told \"Unable to retrieve free space size ...\": the request goes on"
#define TEXT_LOG_CONFIRMED "asked \"" TEXT_CONFIRM_INSTALL "\": Yes"
#define TEXT_LOG_NOT_CONFIRMED "asked \"" TEXT_CONFIRM_INSTALL "\": No, the request ends"
#define TEXT_LOG_KILL_YES "asked \"" TEXT_KILL_QUESTION "\": Yes"
#define TEXT_LOG_KILL_NO "asked \"" TEXT_KILL_QUESTION "\": No, the run goes on"
#define TEXT_LOG_KILLED "kill: the unpacker was stopped"
#define TEXT_LOG_KILL_FAILED "kill: the unpacker could not be stopped, the run goes on"
#define TEXT_LOG_KILL_TOO_LATE "kill: the unpacker had already ended by itself"
// clang-format on
