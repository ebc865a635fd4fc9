// The program's command line from arbitrary bytes: split as the C runtime
// splits it, then read as switches. The split must agree with the C
// runtime's own quoting rules: each argument, quoted by those rules and put
// back on a command line, splits into itself again. The switches must name
// a fault exactly when one of the arguments is not a known switch.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "unattended/argument_split.h"
#include "unattended/switches.h"

namespace {

// Quotes an argument so that the C runtime gives it back unchanged: a
// backslash run is doubled before a quote and at the end, and a quote is
// escaped with a backslash.
std::string Quote(const std::string& argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char ch : argument) {
    if (ch == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(ch == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    quoted += ch;
    backslashes = 0;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::vector<std::string> ArgumentsOf(const char* line) {
  CommandLineArguments split(line);
  std::vector<std::string> arguments;
  for (CString argument; split.Next(argument);) arguments.push_back(argument.str());
  return arguments;
}

bool NamesAKnownSwitch(const std::string& argument) {
  if (argument.empty() || (argument[0] != '/' && argument[0] != '-')) return false;
  const size_t equals = argument.find('=');
  std::string name = argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1);
  for (char& ch : name) {
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return name == "S" || name == "?" || name == "HELP" || name == "DIR" || name == "LOG";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A command line is a C string: it ends at its first NUL.
  const std::string line(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> arguments = ArgumentsOf(line.c_str());

  std::string requoted = "Install.exe";
  for (const std::string& argument : arguments) requoted += " " + Quote(argument);
  if (ArgumentsOf(requoted.c_str()) != arguments) std::abort();

  CommandLineArguments again(line.c_str());
  const Switches switches = ParseSwitches(again);
  bool anyUnknown = false;
  for (const std::string& argument : arguments) anyUnknown = anyUnknown || !NamesAKnownSwitch(argument);
  if (anyUnknown && switches.error == SwitchError::kNone) std::abort();
  if ((switches.error == SwitchError::kNone) != DescribeSwitchError(switches).IsEmpty()) std::abort();
  if (switches.hasFolder && switches.folder.IsEmpty()) std::abort();
  if (switches.hasLog && switches.logPath.IsEmpty()) std::abort();
  UsageText("Install.exe", switches);
  return 0;
}
