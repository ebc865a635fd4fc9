#include "package/text_mode_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

using Pieces = std::vector<std::string>;

// Every piece the reader gives for a file holding `bytes`.
Pieces ReadAll(const TempFolder& folder, const std::string& bytes, int bufferSize) {
  const std::string path = folder.Write("text.txt", bytes);
  TextModeReader reader(bufferSize);
  EXPECT_TRUE(reader.Open(path.c_str()));
  Pieces pieces;
  CString piece;
  while (reader.ReadPiece(piece)) pieces.push_back(piece.str());
  return pieces;
}

std::string Bytes(const char* text, size_t length) { return std::string(text, length); }

TEST(TextModeReader, TranslatesLineEndsCutsPiecesAndStopsAtEndOfFileByte) {
  struct Case {
    const char* what;
    std::string bytes;
    int bufferSize;
    Pieces expected;
  };
  const Case cases[] = {
      {"LF lines", "a\nb\n", 100, {"a\n", "b\n"}},
      {"CR LF read as LF", "a\r\nb\r\n", 100, {"a\n", "b\n"}},
      {"lone CR kept", "a\rb\n", 100, {"a\rb\n"}},
      {"CR CR LF gives CR LF", "a\r\r\nb", 100, {"a\r\n", "b"}},
      {"CR at the end of the file kept", "a\r", 100, {"a\r"}},
      {"empty lines", "\n\r\n\n", 100, {"\n", "\n", "\n"}},
      {"no final line end", "abc", 100, {"abc"}},
      {"0x1A ends the file", "ab\x1A" "cd\nef\n", 100, {"ab"}},
      {"0x1A after a line end", "ab\n\x1A" "cd\n", 100, {"ab\n"}},
      {"0x1A first", "\x1A" "abc\n", 100, {}},
      {"CR before 0x1A kept", "ab\r\x1A\n", 100, {"ab\r"}},
      {"pieces of bufferSize - 1", "abcdefg\n", 4, {"abc", "def", "g\n"}},
      {"line end alone in the next piece", "abc\nd", 4, {"abc", "\n", "d"}},
      {"CR LF counts as one character", "ab\r\ncd", 4, {"ab\n", "cd"}},
      {"smallest buffer", "ab\n", 2, {"a", "b", "\n"}},
      {"NUL ends the text of its piece", Bytes("ab\0cd\nef\n", 9), 100, {"ab", "ef\n"}},
      {"NUL first gives an empty piece", Bytes("\0x\ny\n", 5), 100, {"", "y\n"}},
      {"next piece starts after the cut piece's bytes", Bytes("a\0bcde\n", 7), 4, {"a", "cde", "\n"}},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    EXPECT_EQ(ReadAll(folder, c.bytes, c.bufferSize), c.expected) << c.what;
  }
}

TEST(TextModeReader, CarriageReturnAtTheEndOfAnInternalBlock) {
  // The reader fetches the file in blocks of 64 KiB; the CR is the block's
  // last byte and what follows it is the next block's first.
  const size_t block = 65536;
  const std::string head(block - 1, 'x');
  struct Case {
    std::string tail;
    std::string expectedTail;
  };
  const Case cases[] = {
      {"\r\ny\n", "\ny\n"},   // CR LF across the boundary is still one LF
      {"\rz\n", "\rz\n"},     // a lone CR stays
      {"\r\x1Az\n", "\r"},    // 0x1A in the next block still ends the file
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const Pieces pieces = ReadAll(folder, head + c.tail, 1000);
    std::string text;
    for (const std::string& piece : pieces) {
      EXPECT_LE(piece.size(), 999u);
      text += piece;
    }
    EXPECT_EQ(text.size(), head.size() + c.expectedTail.size());
    EXPECT_EQ(text.substr(0, head.size()), head);
    EXPECT_EQ(text.substr(head.size()), c.expectedTail);
  }
}

TEST(TextModeReader, LongFileReadWholeAcrossSeveralBlocks) {
  std::string bytes;
  std::string expected;
  for (int i = 0; bytes.size() < 3 * 65536; ++i) {
    const std::string line = "line " + std::to_string(i);
    bytes += line + "\r\n";
    expected += line + "\n";
  }
  TempFolder folder;
  std::string text;
  for (const std::string& piece : ReadAll(folder, bytes, 520)) text += piece;
  EXPECT_EQ(text, expected);
}

// A folder of the name does not open either, as on Windows (the host's C
// library opens one for reading).
TEST(TextModeReader, MissingFileOrAFolderDoesNotOpen) {
  TempFolder folder;
  std::filesystem::create_directory(folder.PathOf("folder.txt"));
  for (const char* name : {"missing.txt", "folder.txt"}) {
    TextModeReader reader(520);
    EXPECT_FALSE(reader.Open(folder.PathOf(name).c_str())) << name;
    EXPECT_FALSE(reader.IsOpen()) << name;
    CString piece("unchanged");
    EXPECT_FALSE(reader.ReadPiece(piece)) << name;
  }
}

TEST(TextModeReader, EmptyFileOpensAndGivesNoPiece) {
  TempFolder folder;
  const std::string path = folder.Write("empty.txt", "");
  TextModeReader reader(520);
  ASSERT_TRUE(reader.Open(path.c_str()));
  EXPECT_TRUE(reader.IsOpen());
  CString piece;
  EXPECT_FALSE(reader.ReadPiece(piece));
  EXPECT_FALSE(reader.ReadPiece(piece));
}

TEST(TextModeReader, NothingIsReadOnceTheEndOfFileByteIsReached) {
  TempFolder folder;
  const std::string path = folder.Write("text.txt", "a\n\x1A" "b\n");
  TextModeReader reader(520);
  ASSERT_TRUE(reader.Open(path.c_str()));
  CString piece;
  ASSERT_TRUE(reader.ReadPiece(piece));
  EXPECT_EQ(piece.str(), "a\n");
  EXPECT_FALSE(reader.ReadPiece(piece));
  EXPECT_FALSE(reader.ReadPiece(piece));
}

}  // namespace
