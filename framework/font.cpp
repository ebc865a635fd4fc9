#include "framework/font.h"

#include <cstring>

#include "framework/ui_rules.h"

LOGFONTA PointFontDescription(const char* face, LONG tenthsOfPoint, LONG weight, BYTE charSet) {
  LOGFONTA description = {};
  description.lfHeight = tenthsOfPoint;
  description.lfWeight = weight;
  description.lfCharSet = charSet;
  std::strncpy(description.lfFaceName, face, LF_FACESIZE - 1);
  return description;
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* description) {
  LOGFONTA font = *description;
  const HDC screen = ::GetDC(nullptr);
  const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  font.lfHeight = PointFontHeight(font.lfHeight, dpiY);
  DeleteObject();
  m_hFont = ::CreateFontIndirectA(&font);
  return m_hFont != nullptr;
}

void CFont::DeleteObject() {
  if (m_hFont != nullptr) ::DeleteObject(m_hFont);
  m_hFont = nullptr;
}
