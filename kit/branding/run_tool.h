// Runs one of the tools branding uses (ImageMagick's convert, node with the
// resource writer) with its arguments as given, no shell between, and
// collects what it prints.
#pragma once

#include <string>
#include <vector>

namespace kit::branding {

struct ToolRun {
  bool started = false;  // false: the program could not be started (not installed)
  int exitStatus = -1;   // its exit status; 128 + the signal when a signal ended it
  std::string output;    // standard output and standard error together

  bool Succeeded() const { return started && exitStatus == 0; }
};

// argv[0] is looked up in the PATH when it holds no '/'.
ToolRun RunTool(const std::vector<std::string>& argv);

}  // namespace kit::branding
