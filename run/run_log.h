// The log of a run (/LOG=): plain text in the ANSI code page, one line a
// step, each starting with the local date and time and ending in CR LF.
// Each line goes to the file when its step happens, so a run that dies
// leaves what happened before.
#pragma once

#include <atomic>

#include "framework/cstring.h"
#include "platform/log_file.h"

// "YYYY-MM-DD HH:MM:SS text" and CR LF. A line break inside `text` becomes a
// blank, so that each step stays on one line.
CString FormatLogLine(const LocalTime& time, const CString& text);

// The run's log. Without a file it writes nothing; lines may come from the
// screen's thread and the run's monitor at once.
class RunLog {
 public:
  RunLog() = default;
  RunLog(LogFile& file, Clock& clock) : m_file(&file), m_clock(&clock) {}
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  void Line(const CString& text);
  // Whether a line could not be written (every later line is still tried).
  bool Failed() const;

 private:
  LogFile* m_file = nullptr;
  Clock* m_clock = nullptr;
  // Held while a line is written: the lines of two threads never mix. A
  // line takes one write, so the wait is short.
  std::atomic_flag m_writing = ATOMIC_FLAG_INIT;
  std::atomic<bool> m_failed{false};
};
