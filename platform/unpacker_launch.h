// Starting the unpacker and waiting for its end, for a silent installation.
#pragma once

class UnpackerLaunch {
 public:
  virtual ~UnpackerLaunch() = default;
  // Starts the command line as the setup screen starts it: hidden, in a new
  // console. False, with the system's error code, when it does not start.
  virtual bool Start(char* commandLine, unsigned long& systemError) = 0;
  // Waits for the started unpacker's end and reads its exit code. False,
  // with the system's error code, when it cannot be waited for or read.
  virtual bool WaitForEnd(unsigned long& exitCode, unsigned long& systemError) = 0;
};
