#include "unattended/argument_split.h"

#include <cstring>

#include "framework/dbcs.h"

namespace {

bool IsSeparator(char ch) { return ch == ' ' || ch == '\t'; }

class LineReader {
 public:
  explicit LineReader(const char* line) : m_line(line), m_length(static_cast<int>(std::strlen(line))) {}

  bool AtEnd() const { return m_index >= m_length; }
  char Peek(int ahead = 0) const { return m_index + ahead < m_length ? m_line[m_index + ahead] : '\0'; }
  int Index() const { return m_index; }
  void Skip(int count = 1) { m_index += count; }
  // Appends the character at the reading position, one or two bytes, and
  // steps over it.
  void TakeCharInto(std::string& out) {
    const int length = dbcs::CharLength(m_line, m_length, m_index);
    out.append(m_line + m_index, static_cast<size_t>(length));
    m_index += length;
  }
  void SkipSeparators() {
    while (!AtEnd() && IsSeparator(Peek())) Skip();
  }

 private:
  const char* m_line;
  int m_length;
  int m_index = 0;
};

std::string ReadProgramName(LineReader& reader) {
  std::string name;
  bool inQuotes = false;
  while (!reader.AtEnd() && (inQuotes || !IsSeparator(reader.Peek()))) {
    if (reader.Peek() == '"') {
      inQuotes = !inQuotes;
      reader.Skip();
    } else {
      reader.TakeCharInto(name);
    }
  }
  return name;
}

std::string ReadArgument(LineReader& reader) {
  std::string argument;
  bool inQuotes = false;
  while (!reader.AtEnd() && (inQuotes || !IsSeparator(reader.Peek()))) {
    int backslashes = 0;
    while (reader.Peek(backslashes) == '\\') ++backslashes;
    if (backslashes > 0 && reader.Peek(backslashes) != '"') {
      argument.append(static_cast<size_t>(backslashes), '\\');
      reader.Skip(backslashes);
      continue;
    }
    if (backslashes > 0) {
      argument.append(static_cast<size_t>(backslashes / 2), '\\');
      reader.Skip(backslashes);
      if (backslashes % 2 == 1) {
        argument += '"';
        reader.Skip();
        continue;
      }
    }
    if (reader.Peek() == '"') {
      if (inQuotes && reader.Peek(1) == '"') {
        argument += '"';
        reader.Skip(2);
      } else {
        inQuotes = !inQuotes;
        reader.Skip();
      }
      continue;
    }
    reader.TakeCharInto(argument);
  }
  return argument;
}

}  // namespace

SplitArguments SplitCommandLine(const char* commandLine) {
  SplitArguments split;
  if (commandLine == nullptr) return split;
  LineReader reader(commandLine);
  split.program = ReadProgramName(reader);
  reader.SkipSeparators();
  split.argumentsText = commandLine + reader.Index();
  while (!reader.AtEnd()) {
    split.arguments.emplace_back(ReadArgument(reader));
    reader.SkipSeparators();
  }
  return split;
}
