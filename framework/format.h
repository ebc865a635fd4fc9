// Formatting a text into a fixed buffer, with the C99 rules on every build:
// the result is always NUL-terminated (cut to the buffer when too long), and
// the return value is the length the whole text needs, or -1 for a format
// that cannot be applied. So `FormatText(...) >= size` tells that the text
// was cut.
//
// The Win32 build formats with the C runtime that Windows ships, whose
// printf family the program's formats (%s, %ld, %lu, %lX) need no more of,
// rather than carrying a printf of its own.
#pragma once

#include <cstdarg>
#include <cstddef>

#include "framework/cstring.h"

int FormatText(char* buffer, std::size_t size, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

// The same with the arguments taken as a va_list.
int FormatTextList(char* buffer, std::size_t size, const char* format, std::va_list args);

// The whole text, however long, as a CString (empty for a format that cannot
// be applied).
CString FormatString(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
