// The texts of the licence screen, read from the two optional files in the
// program folder: display.txt (three welcome lines) and shrinkli.txt (the
// licence text). Nothing here is ever reported to the user.
#pragma once

#include "framework/cstring.h"

// Buffer sizes of one read, the terminating NUL included.
constexpr int kWelcomeReadSize = 520;
constexpr int kLicenceReadSize = 1040;

constexpr const char kWelcomeFileName[] = "display.txt";
constexpr const char kLicenceFileName[] = "shrinkli.txt";

struct WelcomeLines {
  CString first;
  CString second;
  CString third;
};

struct LicenceScreenTexts {
  WelcomeLines lines;  // leading white space trimmed
  CString headline;    // a copy of the first line
  CString licenceText;  // line ends rewritten as CR CR LF
};

// Reads the welcome lines of display.txt ("FIRSTLINE:", "SECONDLINE:",
// "THIRDLINE:"; the last occurrence of a key wins; a missing key leaves its
// line empty); values are stored into `lines`, which keeps what it held for
// keys the file lacks. False when the file cannot be opened.
bool ReadWelcomeLines(const char* path, WelcomeLines& lines);

// Appends the text of shrinkli.txt to `text`, every line end rewritten as
// CR CR LF. False when the file cannot be opened; nothing is appended then.
bool ReadLicenceText(const char* path, CString& text);

// Everything the licence screen shows from the program folder (with its
// trailing backslash, or empty for the current directory). `fallback` gives
// the three welcome lines used only when display.txt cannot be opened.
LicenceScreenTexts ReadLicenceScreenTexts(const CString& programFolder, const WelcomeLines& fallback);
