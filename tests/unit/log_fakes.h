// A log file in memory and a clock that stands still, for the tests of the
// run's log, the silent run and the start-up.
#pragma once

#include <string>
#include <vector>

#include "run/run_log.h"

class MemoryLogFile : public LogFile {
 public:
  bool opens = true;
  int failFrom = -1;  // the first write that fails (0 for the first); -1: none
  std::vector<std::string> opened;
  std::vector<std::string> writes;
  int attempts = 0;

  bool Open(const char* path) override {
    opened.emplace_back(path);
    return opens;
  }
  bool Append(const CString& bytes) override {
    const int attempt = attempts++;
    if (failFrom >= 0 && attempt >= failFrom) return false;
    writes.push_back(bytes.str());
    return true;
  }

  // The lines' texts, without the date, time and line end.
  std::vector<std::string> Texts() const {
    constexpr size_t kStampLength = 20;  // "YYYY-MM-DD HH:MM:SS "
    std::vector<std::string> texts;
    for (const std::string& line : writes) texts.push_back(line.substr(kStampLength, line.size() - kStampLength - 2));
    return texts;
  }
};

class FixedClock : public Clock {
 public:
  LocalTime time{2024, 5, 17, 8, 30, 0};
  LocalTime Now() override { return time; }
};
