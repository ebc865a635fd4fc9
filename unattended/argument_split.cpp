#include "unattended/argument_split.h"

#include <cstring>

#include "framework/dbcs.h"

namespace {
bool IsSeparator(char ch) { return ch == ' ' || ch == '\t'; }
}  // namespace

CommandLineArguments::CommandLineArguments(const char* commandLine)
    : m_line(commandLine != nullptr ? commandLine : ""), m_length(static_cast<int>(std::strlen(m_line))) {
  bool inQuotes = false;
  while (!AtEnd() && (inQuotes || !IsSeparator(Peek()))) {
    if (Peek() == '"') {
      inQuotes = !inQuotes;
      ++m_index;
    } else {
      TakeCharInto(m_program);
    }
  }
  SkipSeparators();
  m_argumentsStart = m_index;
}

bool CommandLineArguments::Next(CString& argument) {
  if (AtEnd()) return false;
  argument.Empty();
  bool inQuotes = false;
  while (!AtEnd() && (inQuotes || !IsSeparator(Peek()))) {
    int backslashes = 0;
    while (Peek(backslashes) == '\\') ++backslashes;
    if (backslashes > 0) {
      m_index += backslashes;
      const bool beforeQuote = Peek() == '"';
      // Before a quote, each pair gives one backslash; elsewhere each is one.
      for (int i = 0; i < (beforeQuote ? backslashes / 2 : backslashes); ++i) argument += '\\';
      if (!beforeQuote) continue;
      if (backslashes % 2 == 1) {
        argument += '"';
        ++m_index;
        continue;
      }
    }
    if (Peek() == '"') {
      if (inQuotes && Peek(1) == '"') {
        argument += '"';
        m_index += 2;
      } else {
        inQuotes = !inQuotes;
        ++m_index;
      }
      continue;
    }
    TakeCharInto(argument);
  }
  SkipSeparators();
  return true;
}

void CommandLineArguments::TakeCharInto(CString& text) {
  const int length = dbcs::CharLength(m_line, m_length, m_index);
  for (int i = 0; i < length; ++i) text += m_line[m_index + i];
  m_index += length;
}

void CommandLineArguments::SkipSeparators() {
  while (!AtEnd() && IsSeparator(Peek())) ++m_index;
}
