// Ids and texts of the minimal dialog program (bench/minimal_dialog.cpp),
// shared by its resource script and the benchmark driver.
#pragma once

#define IDD_MINIMAL_DIALOG 100
#define IDD_MINIMAL_MONITOR 101
#define IDC_MINIMAL_PROGRESS 1000
#define MINIMAL_DIALOG_CAPTION "Minimal dialog"
#define MINIMAL_MONITOR_CAPTION "Minimal monitor"
#define MINIMAL_MONITOR_DONE "Done"
#define MINIMAL_MONITOR_ARGUMENT "--monitor"
