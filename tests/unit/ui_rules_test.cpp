#include "framework/ui_rules.h"

#include <gtest/gtest.h>

TEST(PointFontHeight, TwelvePointsAtCommonScreenResolutions) {
  EXPECT_EQ(PointFontHeight(120, 96), -16);
  EXPECT_EQ(PointFontHeight(120, 120), -20);
  EXPECT_EQ(PointFontHeight(80, 96), -10);  // 10.66 pixels: integer division
}

TEST(MessageBoxStyle, ExclamationAddedToEveryButtonSetTheProgramUses) {
  struct Case {
    unsigned int style;
    unsigned int expected;
  };
  const Case cases[] = {
      {0x0, 0x30},    // MB_OK
      {0x1, 0x31},    // MB_OKCANCEL
      {0x3, 0x33},    // MB_YESNOCANCEL
      {0x4, 0x34},    // MB_YESNO
      {0x2, 0x2},     // MB_ABORTRETRYIGNORE keeps no icon
      {0x5, 0x5},     // MB_RETRYCANCEL
      {0x14, 0x14},   // an icon already chosen stays
      {0x40, 0x40},   // MB_ICONINFORMATION with OK
  };
  for (const Case& c : cases) EXPECT_EQ(MessageBoxStyleWithIcon(c.style), c.expected) << c.style;
}
