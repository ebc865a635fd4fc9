// Paths the program derives from its own help-file path.
#pragma once

#include "framework/cstring.h"

// The path up to and including its last backslash, when that backslash
// stands at an index greater than 0; otherwise the empty text, which makes
// file names bare (looked for in the current directory).
CString ProgramFolder(const CString& path);

// The help-file path without the text from its last '.' on (cut only when
// that '.' stands at an index greater than 0), followed by ".ini".
CString DescriptorPath(const CString& helpFilePath);
