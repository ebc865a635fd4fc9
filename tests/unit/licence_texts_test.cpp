#include "package/licence_texts.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "temp_folder.h"

namespace {

const WelcomeLines kFallback = {"  Thank you for choosing us", "\tSecond fallback line", "Third fallback line "};

struct Lines {
  std::string first;
  std::string second;
  std::string third;
};

bool operator==(const Lines& a, const Lines& b) {
  return a.first == b.first && a.second == b.second && a.third == b.third;
}

void PrintTo(const Lines& lines, std::ostream* out) {
  *out << "{" << testing::PrintToString(lines.first) << ", " << testing::PrintToString(lines.second) << ", "
       << testing::PrintToString(lines.third) << "}";
}

Lines ToLines(const WelcomeLines& lines) { return {lines.first.str(), lines.second.str(), lines.third.str()}; }

// The welcome lines as the reader leaves them, before any trimming.
Lines ReadWelcome(const std::string& bytes) {
  TempFolder folder;
  const std::string path = folder.Write(kWelcomeFileName, bytes);
  WelcomeLines lines;
  EXPECT_TRUE(ReadWelcomeLines(path.c_str(), lines));
  return ToLines(lines);
}

TEST(WelcomeLines, KeysAnywhereInALineWithTheValueCountedFromTheLineStart) {
  const std::string a509(509, 'a');
  const std::string b508(508, 'b');
  struct Case {
    const char* what;
    std::string bytes;
    Lines expected;
  };
  const Case cases[] = {
      {"three keys", "FIRSTLINE:Welcome\nSECONDLINE:Read the terms\nTHIRDLINE:Thanks\n",
       {"Welcome", "Read the terms", "Thanks"}},
      {"CR LF line ends", "FIRSTLINE:Welcome\r\nSECONDLINE:Read\r\nTHIRDLINE:Thanks", {"Welcome", "Read", "Thanks"}},
      {"blanks kept by the reader", "FIRSTLINE:   Welcome  \n", {"   Welcome  ", "", ""}},
      {"CR of CR CR LF stays in the value", "THIRDLINE:Thanks\r\r\n", {"", "", "Thanks\r"}},
      {"key after one blank gives a shifted value", " FIRSTLINE:Hi\n", {":Hi", "", ""}},
      {"key later in the line", "xxSECONDLINE:Read\n", {"", "E:Read", ""}},
      {"lower-case key ignored", "firstline:Welcome\n", {"", "", ""}},
      {"lines without keys ignored", "Welcome\n\nFIRSTLINE\n", {"", "", ""}},
      {"only the second line", "SECONDLINE:Only this\n", {"", "Only this", ""}},
      {"last occurrence wins", "FIRSTLINE:One\nFIRSTLINE:Two\nTHIRDLINE:x\nTHIRDLINE:\n", {"Two", "", ""}},
      // Each key is looked for in what the search before it left.
      {"second key inside the first value", "FIRSTLINE:SECONDLINE:x\n", {"SECONDLINE:x", "x", ""}},
      {"first key inside the second cuts it away", "SECONDLINE:FIRSTLINE:x\n", {":FIRSTLINE:x", "", ""}},
      {"first key inside the third cuts it away", "THIRDLINE:FIRSTLINE:ab\n", {"FIRSTLINE:ab", "", ""}},
      {"longest whole values", "FIRSTLINE:" + a509 + "\nSECONDLINE:" + b508 + "\nTHIRDLINE:" + a509 + "\n",
       {a509, b508, a509}},
      {"longer value cut, its rest read as a further piece", "FIRSTLINE:" + a509 + "THIRDLINE:rest\n",
       {a509, "", "rest"}},
      {"longer second value cut", "SECONDLINE:" + b508 + "cut\n", {"", b508, ""}},
      {"NUL ends the line's text", std::string("FIRSTLINE:ab\0cd\nTHIRDLINE:z\n", 28), {"ab", "", "z"}},
      {"0x1A ends the file", "FIRSTLINE:a\n\x1A" "SECONDLINE:b\n", {"a", "", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadWelcome(c.bytes), c.expected) << c.what;
}

TEST(WelcomeLines, MissingFileIsReportedAndLeavesTheLines) {
  TempFolder folder;
  WelcomeLines lines;
  EXPECT_FALSE(ReadWelcomeLines(folder.PathOf(kWelcomeFileName).c_str(), lines));
  EXPECT_EQ(ToLines(lines), (Lines{"", "", ""}));
}

// The licence text as read from a file holding `bytes`.
std::string ReadLicence(const std::string& bytes) {
  TempFolder folder;
  const std::string path = folder.Write(kLicenceFileName, bytes);
  CString text;
  EXPECT_TRUE(ReadLicenceText(path.c_str(), text));
  return text.str();
}

TEST(LicenceText, EveryLineEndBecomesCarriageReturnCarriageReturnLineFeed) {
  const std::string longLine(2500, 'L');
  struct Case {
    const char* what;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"two lines", "A\nB\n", "A\r\r\nB\r\r\n"},
      {"no final line end", "A\nB", "A\r\r\nB"},
      {"empty line between", "A\n\nB\n", "A\r\r\n\r\r\nB\r\r\n"},
      {"CR LF lines", "A\r\nB\r\n", "A\r\r\nB\r\r\n"},
      {"CR LF, no final line end", "A\r\nB", "A\r\r\nB"},
      {"CR LF, empty line between", "A\r\n\r\nB\r\n", "A\r\r\n\r\r\nB\r\r\n"},
      {"lone CR kept", "A\rB\n", "A\rB\r\r\n"},
      {"line longer than one read", longLine + "\n", longLine + "\r\r\n"},
      {"line of exactly one read", std::string(1039, 'M') + "\nN\n", std::string(1039, 'M') + "\r\r\nN\r\r\n"},
      {"0x1A ends the text", "A\nB\x1A" "C\nD\n", "A\r\r\nB"},
      {"NUL cuts its piece, which gets no line end", std::string("AB\0CD\nEF\n", 9), "ABEF\r\r\n"},
      {"empty file", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLicence(c.bytes), c.expected) << c.what;
}

TEST(LicenceText, MissingFileGivesNoText) {
  TempFolder folder;
  CString text;
  EXPECT_FALSE(ReadLicenceText(folder.PathOf(kLicenceFileName).c_str(), text));
  EXPECT_TRUE(text.IsEmpty());
}

TEST(LicenceScreenTexts, ReadsBothFilesFromTheProgramFolderAndTrimsTheLines) {
  TempFolder folder;
  folder.Write(kWelcomeFileName, "FIRSTLINE:   Welcome  \nSECONDLINE:\t\v\f\rRead the terms\nTHIRDLINE: Thanks \n");
  folder.Write(kLicenceFileName, "Terms\n");
  const LicenceScreenTexts texts = ReadLicenceScreenTexts(folder.Folder().c_str(), kFallback);
  EXPECT_EQ(ToLines(texts.lines), (Lines{"Welcome  ", "Read the terms", "Thanks "}));
  EXPECT_EQ(texts.headline.str(), "Welcome  ");
  EXPECT_EQ(texts.licenceText.str(), "Terms\r\r\n");
}

TEST(LicenceScreenTexts, FallbackLinesOnlyWhenTheWelcomeFileIsMissing) {
  struct Case {
    const char* what;
    bool writeFile;
    std::string bytes;
    Lines expected;
  };
  const Case cases[] = {
      {"missing", false, "", {"Thank you for choosing us", "Second fallback line", "Third fallback line "}},
      {"empty", true, "", {"", "", ""}},
      {"without keys", true, "Welcome\nfirstline:Hi\n", {"", "", ""}},
      {"only the second line", true, "SECONDLINE:  Only this\n", {"", "Only this", ""}},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    if (c.writeFile) folder.Write(kWelcomeFileName, c.bytes);
    const LicenceScreenTexts texts = ReadLicenceScreenTexts(folder.Folder().c_str(), kFallback);
    EXPECT_EQ(ToLines(texts.lines), c.expected) << c.what;
    EXPECT_EQ(texts.headline.str(), c.expected.first) << c.what;
    EXPECT_TRUE(texts.licenceText.IsEmpty()) << c.what;  // no licence file written
  }
}

TEST(LicenceScreenTexts, EmptyLicenceFileGivesNoText) {
  TempFolder folder;
  folder.Write(kLicenceFileName, "");
  EXPECT_TRUE(ReadLicenceScreenTexts(folder.Folder().c_str(), kFallback).licenceText.IsEmpty());
}

}  // namespace
