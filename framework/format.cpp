#include "framework/format.h"

#include <cstdio>

int FormatTextList(char* buffer, std::size_t size, const char* format, std::va_list args) {
#ifdef _WIN32
  // The system's C runtime cuts without terminating, and returns -1 when the
  // text is cut: measure first, then write at most size - 1 characters.
  std::va_list measure;
  va_copy(measure, args);
  const int needed = ::_vscprintf(format, measure);
  va_end(measure);
  if (size > 0) {
    ::_vsnprintf(buffer, size - 1, format, args);
    buffer[size - 1] = '\0';
    if (needed >= 0 && static_cast<std::size_t>(needed) < size) buffer[needed] = '\0';
  }
  return needed;
#else
  return std::vsnprintf(buffer, size, format, args);
#endif
}

int FormatText(char* buffer, std::size_t size, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int needed = FormatTextList(buffer, size, format, args);
  va_end(args);
  return needed;
}

CString FormatString(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = FormatTextList(nullptr, 0, format, measure);
  va_end(measure);
  CString text;
  if (length > 0) {
    FormatTextList(text.GetBufferSetLength(length), static_cast<std::size_t>(length) + 1, format, args);
    text.ReleaseBuffer(length);
  }
  va_end(args);
  return text;
}
