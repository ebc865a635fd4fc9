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
