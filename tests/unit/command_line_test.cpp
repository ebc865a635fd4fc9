#include "run/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The format's own characters: three pairs of quotes, the blanks and the
// options.
constexpr int kFixedCharacters = 17;
constexpr int kRoomForPaths = kCommandLineSize - 1 - kFixedCharacters;

}  // namespace

TEST(UnpackerCommand, EachPathStaysInItsOwnQuotesWithBlanks) {
  char line[kCommandLineSize];
  ASSERT_TRUE(ComposeUnpackerCommand("C:\\My Pkg\\unzip", "C:\\My Pkg\\data set.zip", "d:\\Map Data", line));
  EXPECT_STREQ(line, "\"C:\\My Pkg\\unzip\" -o -q \"C:\\My Pkg\\data set.zip\" -d \"d:\\Map Data\"");
}

TEST(UnpackerCommand, PathsOfExactlyTheRoomLeftFillTheBufferToItsLastByte) {
  EXPECT_EQ(kRoomForPaths, 242);
  const std::string unzip(100, 'u');
  const std::string archive(100, 'a');
  const std::string folder(kRoomForPaths - 200, 'f');
  char line[kCommandLineSize];
  ASSERT_TRUE(ComposeUnpackerCommand(unzip.c_str(), archive.c_str(), folder.c_str(), line));
  EXPECT_EQ(std::string(line).size(), static_cast<size_t>(kCommandLineSize - 1));
  EXPECT_EQ(std::string(line), "\"" + unzip + "\" -o -q \"" + archive + "\" -d \"" + folder + "\"");
}

TEST(UnpackerCommand, OneCharacterMoreIsRefusedAndNoCutLineIsLeft) {
  const std::string unzip(100, 'u');
  const std::string archive(100, 'a');
  const std::string folder(kRoomForPaths - 200 + 1, 'f');
  char line[kCommandLineSize];
  std::fill(std::begin(line), std::end(line), 'x');
  EXPECT_FALSE(ComposeUnpackerCommand(unzip.c_str(), archive.c_str(), folder.c_str(), line));
  EXPECT_STREQ(line, "");
}
