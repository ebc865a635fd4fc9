#include "unattended/switches.h"

#include <gtest/gtest.h>

#include <string>

#include "unattended/argument_split.h"

namespace {

Switches Parse(const std::string& arguments) {
  const std::string line = "Install.exe " + arguments;
  CommandLineArguments split(line.c_str());
  return ParseSwitches(split);
}

TEST(Switches, UnderstoodCommandLines) {
  struct Case {
    const char* arguments;
    bool silent;
    bool help;
    const char* folder;  // nullptr: not given
    const char* log;
  };
  const Case cases[] = {
      {"", false, false, nullptr, nullptr},
      {"/S", true, false, nullptr, nullptr},
      {"-s", true, false, nullptr, nullptr},
      {"/S /DIR=d:\\maps /LOG=c:\\setup.log", true, false, "d:\\maps", "c:\\setup.log"},
      {"-dir=\"c:\\my data\" -Log=\"c:\\my logs\\a.log\"", false, false, "c:\\my data", "c:\\my logs\\a.log"},
      {"\"/DIR=c:\\my data\"", false, false, "c:\\my data", nullptr},
      {"/dIr=x=y", false, false, "x=y", nullptr},  // the value runs from the first '='
      {"\"/DIR= \"", false, false, " ", nullptr},  // a blank is a value; the folder check refuses it later
      {"/?", false, true, nullptr, nullptr},
      {"-HELP", false, true, nullptr, nullptr},
      {"/help /s", true, true, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    const Switches s = Parse(c.arguments);
    EXPECT_EQ(s.error, SwitchError::kNone) << c.arguments << ": " << DescribeSwitchError(s).str();
    EXPECT_EQ(s.silent, c.silent) << c.arguments;
    EXPECT_EQ(s.help, c.help) << c.arguments;
    EXPECT_EQ(s.hasFolder, c.folder != nullptr) << c.arguments;
    EXPECT_EQ(s.folder.str(), c.folder != nullptr ? c.folder : "") << c.arguments;
    EXPECT_EQ(s.hasLog, c.log != nullptr) << c.arguments;
    EXPECT_EQ(s.logPath.str(), c.log != nullptr ? c.log : "") << c.arguments;
  }
}

TEST(Switches, EveryFaultIsNamedWithTheArgumentAsGiven) {
  struct Case {
    const char* arguments;
    SwitchError error;
    const char* described;
    bool silent;  // a faulty command line that names /S still shows no box
  };
  const Case cases[] = {
      {"/X", SwitchError::kUnknownSwitch, "Unknown switch: /X", false},
      {"/SILENT", SwitchError::kUnknownSwitch, "Unknown switch: /SILENT", false},
      {"//S", SwitchError::kUnknownSwitch, "Unknown switch: //S", false},
      {"/", SwitchError::kUnknownSwitch, "Unknown switch: /", false},
      {"/S data", SwitchError::kPlainWord, "Not a switch: data", true},
      {"\"\"", SwitchError::kPlainWord, "Not a switch: \"\"", false},
      {"\\S", SwitchError::kPlainWord, "Not a switch: \\S", false},
      {"/DIR", SwitchError::kMissingValue, "This switch needs a value after its '=': /DIR", false},
      {"/S -log=", SwitchError::kMissingValue, "This switch needs a value after its '=': -log=", true},
      {"/DIR \"c:\\data\"", SwitchError::kMissingValue, "This switch needs a value after its '=': /DIR", false},
      {"/S=1", SwitchError::kUnexpectedValue, "This switch takes no value: /S=1", true},
      {"/?=yes", SwitchError::kUnexpectedValue, "This switch takes no value: /?=yes", false},
      {"/S -s", SwitchError::kGivenTwice, "This switch is given twice: -s", true},
      {"/DIR=a /dir=b", SwitchError::kGivenTwice, "This switch is given twice: /dir=b", false},
      {"/LOG=a /LOG=a", SwitchError::kGivenTwice, "This switch is given twice: /LOG=a", false},
      {"/? /HELP", SwitchError::kGivenTwice, "This switch is given twice: /HELP", false},
      // The first fault is the one named; a later /S still silences.
      {"/X data /S", SwitchError::kUnknownSwitch, "Unknown switch: /X", true},
  };
  for (const Case& c : cases) {
    const Switches s = Parse(c.arguments);
    EXPECT_EQ(s.error, c.error) << c.arguments;
    EXPECT_EQ(DescribeSwitchError(s).str(), c.described) << c.arguments;
    EXPECT_EQ(s.silent, c.silent) << c.arguments;
  }
}

TEST(Switches, UsageNamesTheProgramAndStartsWithTheFault) {
  const std::string plain = UsageText("Data.exe", Parse("/?")).str();
  EXPECT_EQ(plain.rfind("Usage: Data.exe [/S] [/DIR=folder] [/LOG=file] [/?]\n", 0), 0u) << plain;
  EXPECT_NE(plain.find("c:\\data"), std::string::npos) << plain;
  const std::string faulty = UsageText("Data.exe", Parse("/Q")).str();
  EXPECT_EQ(faulty, "Unknown switch: /Q\n\n" + plain);
}

}  // namespace
