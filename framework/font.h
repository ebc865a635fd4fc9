// CFont: owns one GDI font; deletes it when the object goes.
#pragma once

#include <windows.h>

// A font description for CreatePointFontIndirect: the face, the height in
// tenths of a point, the weight and the character set; every other field 0.
LOGFONTA PointFontDescription(const char* face, LONG tenthsOfPoint, LONG weight = 0, BYTE charSet = 0);

class CFont {
 public:
  CFont() = default;
  ~CFont() { DeleteObject(); }
  CFont(const CFont&) = delete;
  CFont& operator=(const CFont&) = delete;

  // Creates the font from a description whose lfHeight is in tenths of a
  // point, converted for the screen (no device context is taken).
  BOOL CreatePointFontIndirect(const LOGFONTA* description);
  void DeleteObject();
  HFONT GetSafeHandle() const { return m_hFont; }
  operator HFONT() const { return m_hFont; }  // NOLINT: the framework's conversion

 private:
  HFONT m_hFont = nullptr;
};
