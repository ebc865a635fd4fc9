// The key rule shared by the package's text files: a key counts anywhere in
// a line, as an exact, case-sensitive substring, and its value is the line's
// text from the key's length on, counted from the line's first character
// wherever the key stood. Values are not trimmed.
#pragma once

#include "framework/cstring.h"

// When `line` contains `key`, replaces `line` by its text from the key's
// length on and returns true; otherwise leaves it and returns false.
bool TakeKeyValue(CString& line, const char* key);

// Removes one LF at the end of a piece read from a text file; true when
// there was one.
bool StripLineEnd(CString& piece);
