#include "framework/ui_rules.h"

namespace {
// Windows' message-box style bits, spelled here so that the rule builds on
// the host too.
constexpr unsigned int kTypeMask = 0x0000000FU;
constexpr unsigned int kIconMask = 0x000000F0U;
constexpr unsigned int kOk = 0x0U;
constexpr unsigned int kOkCancel = 0x1U;
constexpr unsigned int kYesNoCancel = 0x3U;
constexpr unsigned int kYesNo = 0x4U;
constexpr unsigned int kIconExclamation = 0x30U;
constexpr long kTenthsPerInch = 720;
}  // namespace

long PointFontHeight(long tenthsOfPoint, int dpiY) {
  const long pixels = tenthsOfPoint * dpiY / kTenthsPerInch;
  return pixels < 0 ? pixels : -pixels;
}

unsigned int MessageBoxStyleWithIcon(unsigned int style) {
  if ((style & kIconMask) != 0) return style;
  const unsigned int buttons = style & kTypeMask;
  if (buttons == kOk || buttons == kOkCancel || buttons == kYesNo || buttons == kYesNoCancel) {
    return style | kIconExclamation;
  }
  return style;
}
