// The services the run's log is written with: a file to append lines to, and
// the local clock that stamps them.
#pragma once

#include "framework/cstring.h"

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Where the lines go.
class LogFile {
 public:
  virtual ~LogFile() = default;
  // Opens `path` for appending, creating the file when it is missing; false
  // when it cannot be opened.
  virtual bool Open(const char* path) = 0;
  // Writes the bytes through at once; false when they are not all written.
  virtual bool Append(const CString& bytes) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};
