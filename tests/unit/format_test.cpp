#include "framework/format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatString, TakesTheWholeTextHoweverLong) {
  const std::string path(5000, 'p');
  EXPECT_EQ(FormatString("folder %s: %ld KB", path.c_str(), 20480L).str(), "folder " + path + ": 20480 KB");
  EXPECT_EQ(FormatString("%s", "").str(), "");
  EXPECT_EQ(FormatString("exit code %lu", 4294966297UL).str(), "exit code 4294966297");
}

}  // namespace
