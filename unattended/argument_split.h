// The program's own command line split into arguments by the rules the
// Windows C runtime applies to a program's command line:
//
// - The program's name comes first: it runs to the first blank or tab that
//   is outside double quotes; its quotes only group, backslashes are plain.
// - Arguments are separated by blanks and tabs outside double quotes.
// - Double quotes group blanks and may stand anywhere in an argument:
//   /DIR="c:\my data" and "/DIR=c:\my data" give the same argument.
// - Inside quotes, two double quotes in a row give one literal double quote
//   and the quotes go on.
// - Backslashes are literal unless a double quote follows them: then each
//   pair gives one backslash, and an odd one left over makes the quote a
//   literal one.
// - A quote left open runs to the end of the line.
//
// The search steps over double-byte characters, so a second byte equal to a
// backslash never escapes a quote.
#pragma once

#include <vector>

#include "framework/cstring.h"

struct SplitArguments {
  CString program;        // the program's name as the line gives it, quotes removed
  CString argumentsText;  // the line after the name and the blanks behind it, as given
  std::vector<CString> arguments;
};

SplitArguments SplitCommandLine(const char* commandLine);
