#include "unattended/switches.h"

#include "res/texts.h"

namespace {

enum class SwitchName { kSilent, kFolder, kLog, kHelp, kUnknown };

char UpperAscii(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

// `given` equals `name` (upper case), ASCII letters compared in any case.
bool SameName(const CString& given, const char* name) {
  int i = 0;
  for (; i < given.GetLength() && name[i] != '\0'; ++i) {
    if (UpperAscii(given.GetAt(i)) != name[i]) return false;
  }
  return i == given.GetLength() && name[i] == '\0';
}

SwitchName NameOf(const CString& name) {
  if (SameName(name, SWITCH_SILENT)) return SwitchName::kSilent;
  if (SameName(name, SWITCH_FOLDER)) return SwitchName::kFolder;
  if (SameName(name, SWITCH_LOG)) return SwitchName::kLog;
  if (SameName(name, SWITCH_HELP) || SameName(name, SWITCH_HELP_WORD)) return SwitchName::kHelp;
  return SwitchName::kUnknown;
}

class Parser {
 public:
  explicit Parser(Switches& result) : m_result(result) {}

  void Take(const CString& argument) {
    if (argument.IsEmpty() || (argument.GetAt(0) != '/' && argument.GetAt(0) != '-')) {
      return Fault(SwitchError::kPlainWord, argument);
    }
    const int equals = argument.Find('=');
    const bool hasValue = equals >= 0;
    const CString name = hasValue ? argument.Mid(1, equals - 1) : argument.Mid(1);
    const CString value = hasValue ? argument.Mid(equals + 1) : CString();
    switch (NameOf(name)) {
      case SwitchName::kSilent:
        return Flag(m_result.silent, hasValue, argument);
      case SwitchName::kHelp:
        return Flag(m_result.help, hasValue, argument);
      case SwitchName::kFolder:
        return Value(m_result.hasFolder, m_result.folder, value, argument);
      case SwitchName::kLog:
        return Value(m_result.hasLog, m_result.logPath, value, argument);
      case SwitchName::kUnknown:
        return Fault(SwitchError::kUnknownSwitch, argument);
    }
  }

 private:
  void Flag(bool& flag, bool hasValue, const CString& argument) {
    const bool before = flag;
    flag = true;
    if (hasValue) return Fault(SwitchError::kUnexpectedValue, argument);
    if (before) Fault(SwitchError::kGivenTwice, argument);
  }

  void Value(bool& given, CString& target, const CString& value, const CString& argument) {
    if (value.IsEmpty()) return Fault(SwitchError::kMissingValue, argument);
    if (given) return Fault(SwitchError::kGivenTwice, argument);
    given = true;
    target = value;
  }

  void Fault(SwitchError error, const CString& argument) {
    if (m_result.error != SwitchError::kNone) return;
    m_result.error = error;
    m_result.faultyArgument = argument;
  }

  Switches& m_result;
};

const char* ErrorFormat(SwitchError error) {
  switch (error) {
    case SwitchError::kUnknownSwitch:
      return TEXT_SWITCH_UNKNOWN;
    case SwitchError::kPlainWord:
      return TEXT_SWITCH_PLAIN_WORD;
    case SwitchError::kMissingValue:
      return TEXT_SWITCH_MISSING_VALUE;
    case SwitchError::kUnexpectedValue:
      return TEXT_SWITCH_UNEXPECTED_VALUE;
    case SwitchError::kGivenTwice:
      return TEXT_SWITCH_GIVEN_TWICE;
    case SwitchError::kNone:
      break;
  }
  return nullptr;
}

}  // namespace

Switches ParseSwitches(CommandLineArguments& arguments) {
  Switches result;
  Parser parser(result);
  CString argument;
  while (arguments.Next(argument)) parser.Take(argument);
  return result;
}

CString DescribeSwitchError(const Switches& switches) {
  const char* format = ErrorFormat(switches.error);
  if (format == nullptr) return CString();
  // An empty argument is shown as the two quotes that gave it.
  const CString shown = switches.faultyArgument.IsEmpty() ? CString("\"\"") : switches.faultyArgument;
  return CString(format) + shown;
}

CString UsageText(const CString& programFileName, const Switches& switches) {
  CString text;
  if (switches.error != SwitchError::kNone) text = DescribeSwitchError(switches) + "\n\n";
  return text + TEXT_USAGE_PREFIX + programFileName + TEXT_USAGE_BODY;
}
