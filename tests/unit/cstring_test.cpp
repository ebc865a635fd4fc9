#include "framework/cstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "framework/dbcs.h"

namespace {

TEST(CStringFind, SubstringCharAndStartIndex) {
  struct Case {
    const char* text;
    const char* sub;
    int start;
    int expected;
  };
  const Case cases[] = {
      {"FIRSTLINE:Hi", "LINE:", 0, 5},
      {"abcabc", "bc", 0, 1},
      {"abcabc", "bc", 1, 1},   // a match at the start index counts
      {"abcabc", "bc", 2, 4},
      {"abcabc", "bc", 5, -1},
      {"abcabc", "abcabcd", 0, -1},  // longer than the text
      {"abc", "c", 3, -1},      // start at the end
      {"abc", "a", 4, -1},      // start beyond the end
      {"abc", "a", -1, -1},     // negative start
      {"abc", "", 0, 0},
      {"abc", "", 3, 3},
      {"", "a", 0, -1},
      {"firstline:", "FIRSTLINE:", 0, -1},  // exact case
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CString(c.text).Find(c.sub, c.start), c.expected) << '"' << c.text << "\" / \"" << c.sub << "\" from " << c.start;
  }
  EXPECT_EQ(CString("a.b.c").Find('.'), 1);
  EXPECT_EQ(CString("a.b.c").Find('.', 2), 3);
  EXPECT_EQ(CString("abc").Find('x'), -1);
  EXPECT_EQ(CString("abc").Find(static_cast<const char*>(nullptr)), -1);
}

TEST(CStringReverseFind, LastOccurrenceOrMinusOne) {
  EXPECT_EQ(CString("C:\\Pkg\\Install.HLP").ReverseFind('\\'), 6);
  EXPECT_EQ(CString("C:\\Rel.2\\Install.HLP").ReverseFind('.'), 16);
  EXPECT_EQ(CString("\\abc").ReverseFind('\\'), 0);
  EXPECT_EQ(CString("abc").ReverseFind('\\'), -1);
  EXPECT_EQ(CString("").ReverseFind('\\'), -1);
}

TEST(CStringSubstrings, OutOfRangeArgumentsAreClamped) {
  const CString text("abcde");
  struct Case {
    CString actual;
    const char* expected;
  };
  const Case cases[] = {
      {text.Mid(0), "abcde"},
      {text.Mid(2), "cde"},
      {text.Mid(-3), "abcde"},
      {text.Mid(5), ""},
      {text.Mid(9), ""},
      {text.Mid(1, 2), "bc"},
      {text.Mid(1, 0), ""},
      {text.Mid(1, -2), ""},
      {text.Mid(3, 100), "de"},
      {text.Mid(3, INT_MAX), "de"},
      {text.Mid(-2, 3), "abc"},
      {text.Left(2), "ab"},
      {text.Left(0), ""},
      {text.Left(-1), ""},
      {text.Left(99), "abcde"},
      {text.Right(2), "de"},
      {text.Right(0), ""},
      {text.Right(-1), ""},
      {text.Right(99), "abcde"},
      {CString().Mid(0, 3), ""},
      {CString().Right(3), ""},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    EXPECT_EQ(cases[i].actual.str(), cases[i].expected) << "case " << i;
  }
}

// The text lives in a buffer of the string's own: copies are independent,
// a text taken from the string itself survives the buffer's growth, and a
// buffer handed to a system call comes back as the text written into it.
TEST(CStringBuffer, CopiesMovesAndTextsFromItself) {
  CString a("path");
  CString b = a;
  b += "\\more";
  EXPECT_EQ(a.str(), "path");
  EXPECT_EQ(b.str(), "path\\more");

  CString moved = static_cast<CString&&>(b);
  EXPECT_EQ(moved.str(), "path\\more");
  EXPECT_TRUE(b.IsEmpty());
  EXPECT_STREQ(b.c_str(), "");

  CString self("abc");
  for (int i = 0; i < 12; ++i) self += self;  // grows from its own text, many times over
  EXPECT_EQ(self.GetLength(), 3 << 12);
  EXPECT_EQ(self.Mid(3 * 4095).str(), "abc");
  CString tail("0123456789");
  tail = tail.c_str() + 4;  // assigned from a pointer into its own buffer
  EXPECT_EQ(tail.str(), "456789");
  CString grown("0123456789");
  grown += grown.c_str() + 1;  // appended from a pointer into its own buffer, which must grow
  EXPECT_EQ(grown.str(), "0123456789123456789");

  CString piece;
  for (int i = 0; i < 5000; ++i) piece += static_cast<char>('a' + i % 26);
  EXPECT_EQ(piece.GetLength(), 5000);
  EXPECT_EQ(piece.Right(3).str(), "fgh");
}

TEST(CStringBuffer, SystemCallWritesIntoTheBuffer) {
  CString text("old text");
  char* buffer = text.GetBufferSetLength(20);
  std::memcpy(buffer, "written", 7);
  buffer[7] = '\0';
  text.ReleaseBuffer();  // up to the first NUL
  EXPECT_EQ(text.str(), "written");

  CString counted;
  std::memcpy(counted.GetBufferSetLength(5), "12345", 5);
  counted.ReleaseBuffer(3);  // only what the call says it wrote
  EXPECT_EQ(counted.str(), "123");

  CString empty;
  EXPECT_STREQ(empty.GetBufferSetLength(0), "");
  empty.ReleaseBuffer(0);
  EXPECT_TRUE(empty.IsEmpty());
}

TEST(CStringTrim, RemovesEverySpaceCharacterAtOneEndOnly) {
  const std::string spaces = " \t\n\v\f\r";
  CString left(spaces + "a b" + spaces);
  left.TrimLeft();
  EXPECT_EQ(left.str(), "a b" + spaces);

  CString right(spaces + "a b" + spaces);
  right.TrimRight();
  EXPECT_EQ(right.str(), spaces + "a b");

  CString allSpace(spaces);
  allSpace.TrimLeft();
  EXPECT_TRUE(allSpace.IsEmpty());
  allSpace = spaces.c_str();
  allSpace.TrimRight();
  EXPECT_TRUE(allSpace.IsEmpty());

  // Other control characters are not white space.
  CString other("\x01x\x1A");
  other.TrimLeft();
  other.TrimRight();
  EXPECT_EQ(other.str(), "\x01x\x1A");
}

// Searches under code page 932, where 0x95 0x5C is one double-byte character
// whose second byte equals '\\'.
class CStringDoubleByte : public testing::Test {
 protected:
  void SetUp() override { dbcs::SetLeadByteRule(&dbcs::IsCodePage932LeadByte); }
  void TearDown() override { dbcs::SetLeadByteRule(nullptr); }
};

TEST_F(CStringDoubleByte, TrailByteIsNeverFoundAsASingleCharacter) {
  const CString name("\x95\x5C");
  EXPECT_EQ(name.ReverseFind('\\'), -1);
  EXPECT_EQ(name.Find("\\"), -1);
  EXPECT_EQ(name.Find('\\'), -1);
  EXPECT_EQ(name.Find("\\", 1), -1);  // a start inside the character finds no part of it
  EXPECT_EQ(name.Find("\x95\x5C"), 0);

  // The real backslashes around the character are still found.
  const CString path("C:\\\x95\x5C\\x\x95\x5C");
  EXPECT_EQ(path.ReverseFind('\\'), 5);
  EXPECT_EQ(path.Find("\\"), 2);
  EXPECT_EQ(path.Find("\\", 3), 5);
  EXPECT_EQ(path.Find("\\x"), 5);

  // A byte after a lead byte is its trail even when it looks like 'A'.
  const CString pair("\x81" "A" "A");
  EXPECT_EQ(pair.Find("A"), 2);
  EXPECT_EQ(pair.ReverseFind('A'), 2);
}

TEST_F(CStringDoubleByte, LeadByteAtTheEndCountsAsOneCharacter) {
  const CString text("a\\\x95");
  EXPECT_EQ(text.Find("\x95"), 2);
  EXPECT_EQ(text.ReverseFind('\x95'), 2);
  EXPECT_EQ(text.ReverseFind('\\'), 1);
}

TEST_F(CStringDoubleByte, TrimRightKeepsTheByteAfterALeadByte) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"\x95\x5C  \t", "\x95\x5C"},  // white space after a double-byte character goes
      {"a\x81 ", "a\x81 "},           // the blank is the trail of 0x81 here
      {"a\x81  ", "a\x81 "},          // ... and only the blank after it is white space
      {"a \x81", "a \x81"},           // a lone lead byte at the end ends no white-space run
  };
  for (const Case& c : cases) {
    CString text(c.text);
    text.TrimRight();
    EXPECT_EQ(text.str(), c.expected);
  }
}

TEST_F(CStringDoubleByte, RestoringTheDefaultRuleTreatsEveryByteAlone) {
  dbcs::SetLeadByteRule(nullptr);
  EXPECT_EQ(CString("\x95\x5C").ReverseFind('\\'), 1);
}

}  // namespace
