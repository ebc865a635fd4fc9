// One installation timed in the ways the benchmarks hold side by side:
// through the program's screens, from the confirmation's Yes to "Installed
// successfully"; silently (Install.exe /S), from its process start to its
// end; and the unpacker started directly with the command line the program
// gives it. Where each run's time went is read from the system's record of
// the unpacker's process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace bench {

// A package folder that holds Install.exe, its descriptor, unzip.exe and the
// archive the descriptor names.
struct PackagePlace {
  std::string folder;   // with trailing backslash
  std::string archive;  // the archive's file name
};

// Where a run's time went: the unpacker's own life.
struct RunParts {
  double launchMs = -1;  // Yes (or CreateProcess) to the unpacker's creation
  double runMs = -1;     // the unpacker's creation to its end
  double reportMs = -1;  // its end to the message (through the screens only)
};
std::string Describe(const RunParts& parts);

// The running child process `name` of the process `parentId`, opened for
// waiting; it is looked for every `pollMs` until it shows, `over` holds (the
// run has ended before it was seen: nullptr then) or `timeoutMs` has passed.
HANDLE FindChild(DWORD parentId, const char* name, const std::function<bool()>& over, DWORD pollMs,
                 DWORD timeoutMs);

// Called while the program's unpacker runs, in place of the driver's plain
// wait for its end; it returns once `unpacker` has ended.
using WhileUnpacking = std::function<void(HWND setup, HANDLE unpacker)>;

// Installs the package into `target` through the screens, as a person would:
// the time from the confirmation's Yes to "Installed successfully". The
// program is closed again afterwards.
double InstallThroughScreens(const PackagePlace& package, const std::string& target, RunParts& parts,
                             const WhileUnpacking& whileUnpacking = {});

// Installs the package into `target` with Install.exe /S /DIR=`target`,
// started in the package folder: the time from its process start to its end,
// after its exit code 0 is checked. `parts.reportMs` stays unset.
double InstallSilently(const PackagePlace& package, const std::string& target, RunParts& parts);

// The same command line as the program's, started as the program starts it
// (hidden, a console of its own, high priority, handles inherited): the time
// to its process end, after its exit code 0 is checked.
double UnzipDirectly(const PackagePlace& package, const std::string& target, RunParts& parts);

}  // namespace bench
