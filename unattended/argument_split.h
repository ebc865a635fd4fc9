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

#include "framework/cstring.h"

class CommandLineArguments {
 public:
  // Reads the program's name; the arguments follow one by one.
  explicit CommandLineArguments(const char* commandLine);

  // The program's name as the line gives it, quotes removed.
  const CString& Program() const { return m_program; }
  // The line after the name and the blanks behind it, as given.
  const char* ArgumentsText() const { return m_line + m_argumentsStart; }
  // The next argument; false when there is none left.
  bool Next(CString& argument);

 private:
  char Peek(int ahead = 0) const { return m_index + ahead < m_length ? m_line[m_index + ahead] : '\0'; }
  bool AtEnd() const { return m_index >= m_length; }
  // Appends the character at the reading position, one or two bytes, and
  // steps over it.
  void TakeCharInto(CString& text);
  void SkipSeparators();

  const char* m_line;
  int m_length;
  int m_index = 0;
  int m_argumentsStart = 0;
  CString m_program;
};
