#include "unattended/run_log.h"

#include <cstdio>

namespace {
constexpr char kLineEnd[] = "\r\n";
constexpr int kStampSize = 32;
}  // namespace

std::string FormatLogLine(const LocalTime& time, const CString& text) {
  char stamp[kStampSize];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", time.year, time.month, time.day, time.hour,
                time.minute, time.second);
  std::string line = stamp;
  for (const char ch : text.str()) line += (ch == '\r' || ch == '\n') ? ' ' : ch;
  return line + kLineEnd;
}

void RunLog::Line(const CString& text) {
  if (m_file == nullptr) return;
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (!m_file->Append(FormatLogLine(m_clock->Now(), text))) m_failed = true;
}

bool RunLog::Failed() const {
  const std::lock_guard<std::mutex> lock(m_mutex);
  return m_failed;
}
