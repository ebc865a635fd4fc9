#include "run/run_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "tests/unit/log_fakes.h"
#include "unattended/log_lines.h"

namespace {

TEST(RunLog, LineHasTheLocalDateAndTimeAndEndsInCrLf) {
  struct Case {
    LocalTime time;
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {{2024, 3, 7, 9, 5, 2}, "unpacker started", "2024-03-07 09:05:02 unpacker started\r\n"},
      {{1999, 12, 31, 23, 59, 59}, "", "1999-12-31 23:59:59 \r\n"},
      // A line break inside a text would start a line of its own.
      {{2024, 1, 1, 0, 0, 0}, "a\r\nb\nc\rd", "2024-01-01 00:00:00 a  b c d\r\n"},
      // ANSI text is written byte for byte.
      {{2024, 1, 1, 0, 0, 0}, "c:\\\x95\x5C\xE9", "2024-01-01 00:00:00 c:\\\x95\x5C\xE9\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatLogLine(c.time, c.text).str(), c.line) << c.text;
}

TEST(RunLog, SizesBeyond32BitsAreWrittenWhole) {
  EXPECT_EQ(DecimalText(0).str(), "0");
  EXPECT_EQ(DecimalText(4294967296ull).str(), "4294967296");
  EXPECT_EQ(DecimalText(UINT64_MAX).str(), "18446744073709551615");
  EXPECT_EQ(LogFreeSpace("c:\\", SpaceVerdict::kEnough, 1ull << 42, 64).str(),
            "free space of c:\\: 4398046511104 KB, the package needs 64 KB: enough");
}

TEST(RunLog, WithoutAFileNothingIsWrittenAndNothingFails) {
  RunLog log;
  log.Line("anything");
  EXPECT_FALSE(log.Failed());
}

TEST(RunLog, EachLineIsWrittenAtOnceAndAFailureIsKept) {
  MemoryLogFile file;
  FixedClock clock;
  RunLog log(file, clock);
  log.Line("first");
  ASSERT_EQ(file.writes.size(), 1u);
  EXPECT_EQ(file.writes[0], FormatLogLine(clock.time, "first").str());
  file.failFrom = 1;
  log.Line("lost");
  log.Line("tried");
  EXPECT_TRUE(log.Failed());
  EXPECT_EQ(file.attempts, 3);
}

TEST(RunLog, LinesFromTwoThreadsStayWhole) {
  MemoryLogFile file;
  FixedClock clock;
  RunLog log(file, clock);
  constexpr int kLines = 200;
  const auto write = [&](const char* text) {
    for (int i = 0; i < kLines; ++i) log.Line(text);
  };
  std::thread screen(write, "from the screen");
  std::thread monitor(write, "from the monitor");
  screen.join();
  monitor.join();
  ASSERT_EQ(file.writes.size(), 2u * kLines);
  for (const std::string& line : file.writes) {
    EXPECT_TRUE(line == FormatLogLine(clock.time, "from the screen").str() ||
                line == FormatLogLine(clock.time, "from the monitor").str())
        << line;
  }
}

}  // namespace
