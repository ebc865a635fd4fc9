#include "run/run_log.h"

#include "framework/format.h"
#include "run/yield.h"

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr int kStampSize = 32;

}  // namespace

CString FormatLogLine(const LocalTime& time, const CString& text) {
  char stamp[kStampSize];
  FormatText(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d ", time.year, time.month, time.day, time.hour,
             time.minute, time.second);
  CString line = stamp;
  for (int i = 0; i < text.GetLength(); ++i) {
    const char ch = text.GetAt(i);
    line += (ch == '\r' || ch == '\n') ? ' ' : ch;
  }
  return line + kLineEnd;
}

void RunLog::Line(const CString& text) {
  if (m_file == nullptr) return;
  const CString line = FormatLogLine(m_clock->Now(), text);
  while (m_writing.test_and_set(std::memory_order_acquire)) YieldToOtherThreads();
  if (!m_file->Append(line)) m_failed = true;
  m_writing.clear(std::memory_order_release);
}

bool RunLog::Failed() const { return m_failed; }
