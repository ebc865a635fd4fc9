#include "package/key_line.h"

#include <cstring>

bool TakeKeyValue(CString& line, const char* key) {
  if (line.Find(key) < 0) return false;
  line = line.Mid(static_cast<int>(std::strlen(key)));
  return true;
}

bool StripLineEnd(CString& piece) {
  const int length = piece.GetLength();
  if (length == 0 || piece.GetAt(length - 1) != '\n') return false;
  piece = piece.Left(length - 1);
  return true;
}
