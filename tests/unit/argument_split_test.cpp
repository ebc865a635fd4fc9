#include "unattended/argument_split.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dbcs.h"
#include "tests/unit/argument_split_cases.h"

namespace {

std::vector<std::string> ArgumentsOf(const std::string& line) {
  CommandLineArguments arguments(line.c_str());
  std::vector<std::string> texts;
  for (CString argument; arguments.Next(argument);) texts.push_back(argument.str());
  return texts;
}

TEST(ArgumentSplit, ArgumentsAsTheCRuntimeSplitsThem) {
  for (const ArgumentSplitCase& c : ArgumentSplitCases()) {
    EXPECT_EQ(ArgumentsOf("Install.exe " + std::string(c.arguments)), c.expected) << c.what << ": " << c.arguments;
  }
}

TEST(ArgumentSplit, ProgramNameTakesNoEscapesAndTheRestIsKeptAsGiven) {
  struct Case {
    const char* line;
    const char* program;
    const char* argumentsText;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {"\"C:\\My Pkg\\Install.exe\" /S", "C:\\My Pkg\\Install.exe", "/S", {"/S"}},
      {"C:\\Pkg\\Install.exe", "C:\\Pkg\\Install.exe", "", {}},
      {"Install.exe  /DIR=\"c:\\x y\"  ", "Install.exe", "/DIR=\"c:\\x y\"  ", {"/DIR=c:\\x y"}},
      // The name's backslash before a quote is a plain one, and its quotes
      // only group.
      {"\"C:\\Pkg\\\"Install.exe /S", "C:\\Pkg\\Install.exe", "/S", {"/S"}},
      {"\"C:\\My Pkg\\Install.exe", "C:\\My Pkg\\Install.exe", "", {}},
      {"", "", "", {}},
  };
  for (const Case& c : cases) {
    const CommandLineArguments split(c.line);
    EXPECT_EQ(split.Program().str(), c.program) << c.line;
    EXPECT_STREQ(split.ArgumentsText(), c.argumentsText) << c.line;
    EXPECT_EQ(ArgumentsOf(c.line), c.arguments) << c.line;
  }
  CommandLineArguments none(nullptr);
  CString argument;
  EXPECT_FALSE(none.Next(argument));
}

// Code page 932: 0x95 0x5C is one character whose second byte equals '\\'.
class ArgumentSplitDoubleByte : public testing::Test {
 protected:
  void SetUp() override { dbcs::SetLeadByteRule(&dbcs::IsCodePage932LeadByte); }
  void TearDown() override { dbcs::SetLeadByteRule(nullptr); }
};

TEST_F(ArgumentSplitDoubleByte, SecondByteLikeABackslashEscapesNoQuote) {
  EXPECT_EQ(ArgumentsOf("Install.exe \"/DIR=c:\\\x95\x5C\" /S"), (std::vector<std::string>{"/DIR=c:\\\x95\x5C", "/S"}));
  // Byte by byte, the same line would escape the quote.
  dbcs::SetLeadByteRule(nullptr);
  EXPECT_EQ(ArgumentsOf("Install.exe \"/DIR=c:\\\x95\x5C\" /S"), (std::vector<std::string>{"/DIR=c:\\\x95\" /S"}));
}

}  // namespace
