// Resource and control ids of the program. Included by the resource script
// and by C++ code alike, so it holds #define'd numbers only.
#pragma once

// Pictures, templates and strings
#define IDR_MAINFRAME 128
#define IDB_LOGO 129
#define IDD_SETUP_DIALOG 102
#define IDD_LICENSE_DIALOG 131
#define IDS_WELCOME_1 1
#define IDS_WELCOME_2 2
#define IDS_WELCOME_3 3

// Setup screen controls
#define IDC_CURRENT_PATH 1000
#define IDC_DIR_LIST 1003
#define IDC_DRIVE_COMBO 1005
#define IDC_SOURCE_LABEL 1008
#define IDC_SOURCE_PATH 1009
#define IDC_TARGET_LABEL 1010
#define IDC_TARGET_DIR 1011
#define IDC_BROWSE_LABEL 1012
#define IDC_PROGRESS 1016
#define IDC_PROGRESS_LABEL 1017
#define IDC_SETUP_LOGO 1023

// Licence screen controls
#define IDC_LICENSE_LOGO 1006
#define IDC_HEADLINE 1007
#define IDC_SECONDLINE 1013
#define IDC_THIRDLINE 1014
#define IDC_LICENSE_TITLE 1018
#define IDC_LICENSE_TEXT 1022

// Exit code of the program's own end when the package descriptor is missing,
// and of the unpacker when a run is killed.
#define EXIT_CODE_FORCED_END (-999)
