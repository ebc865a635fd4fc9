// An unpacker that is only pretended: it records the command lines it is
// given and starts, fails to start, or ends as told.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "unattended/silent_install.h"

class FakeUnpacker : public UnpackerLaunch {
 public:
  bool starts = true;
  bool canBeWatched = true;
  unsigned long exitCode = 0;
  unsigned long systemError = 2;  // ERROR_FILE_NOT_FOUND
  std::vector<std::string> started;
  // Called at each start and at each wait, to look at the world then.
  std::function<void()> onStart;
  std::function<void()> onWait;

  bool Start(char* commandLine, unsigned long& error) override {
    started.emplace_back(commandLine);
    if (onStart) onStart();
    if (!starts) error = systemError;
    return starts;
  }
  bool WaitForEnd(unsigned long& code, unsigned long& error) override {
    if (onWait) onWait();
    if (!canBeWatched) {
      error = systemError;
      return false;
    }
    code = exitCode;
    return true;
  }
};
