// Command lines and the arguments the Windows C runtime splits them into.
// The host tests hold the splitter to them; the Win32-side test holds the C
// runtime itself to them, so that the two cannot drift apart.
#pragma once

#include <string>
#include <vector>

struct ArgumentSplitCase {
  const char* what;
  const char* arguments;  // the command line after the program's name and a blank
  std::vector<std::string> expected;
};

inline const std::vector<ArgumentSplitCase>& ArgumentSplitCases() {
  static const std::vector<ArgumentSplitCase> cases = {
      {"quotes around the value", "/DIR=\"c:\\my data\"", {"/DIR=c:\\my data"}},
      {"quotes around the switch", "\"/DIR=c:\\my data\"", {"/DIR=c:\\my data"}},
      {"blanks and tabs separate", "/S \t /LOG=x\ty", {"/S", "/LOG=x", "y"}},
      {"quotes anywhere in an argument", "a\"b c\"d e", {"ab cd", "e"}},
      {"backslashes without a quote are plain", "a\\\\b c:\\data\\ /S", {"a\\\\b", "c:\\data\\", "/S"}},
      {"a backslash before a quote escapes it", "c\\\"d", {"c\"d"}},
      {"a closing quote after a backslash is escaped", "\"/DIR=c:\\data\\\" /S", {"/DIR=c:\\data\" /S"}},
      {"two backslashes before a closing quote give one", "\"/DIR=c:\\data\\\\\" /S", {"/DIR=c:\\data\\", "/S"}},
      {"three backslashes before a quote", "\"a\\\\\\\"\" b", {"a\\\"", "b"}},
      {"four backslashes before an opening quote", "\\\\\\\\\"a b\"", {"\\\\a b"}},
      {"two quotes inside quotes give one", "\"a\"\"b\" c", {"a\"b", "c"}},
      {"three quotes inside quotes", "\"a\"\"\"b c", {"a\"b", "c"}},
      {"an empty pair is an empty argument", "\"\" x", {"", "x"}},
      {"an open quote runs to the end", "\"unterminated arg", {"unterminated arg"}},
      {"blanks at the end give nothing", "/S   ", {"/S"}},
  };
  return cases;
}
