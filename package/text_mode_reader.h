// Reads a text file in pieces, the way the C runtime's fgets reads a file
// opened in text mode on Windows, so that every build reads package files
// alike:
//  - CR LF is read as LF; a CR anywhere else is an ordinary character;
//  - the byte 0x1A ends the file;
//  - a piece ends after its LF or when it holds bufferSize - 1 characters;
//  - a NUL byte ends the text of its piece (the rest of that piece is lost).
#pragma once

#include <cstdio>

#include "framework/cstring.h"

class TextModeReader {
 public:
  // bufferSize counts the terminating NUL of the C runtime's buffer, as the
  // size passed to fgets does; a piece holds at most bufferSize - 1 characters.
  explicit TextModeReader(int bufferSize);
  ~TextModeReader();
  TextModeReader(const TextModeReader&) = delete;
  TextModeReader& operator=(const TextModeReader&) = delete;

  // Nonzero when the file could be opened for reading.
  bool Open(const char* path);
  bool IsOpen() const { return m_file != nullptr; }
  void Close();

  // Reads the next piece into `piece`; false at the end of the file, when
  // nothing more could be read.
  bool ReadPiece(CString& piece);

 private:
  // The next character of the translated stream, or -1 at its end.
  int NextChar();
  int NextByte();
  int PeekByte();

  int m_bufferSize;
  std::FILE* m_file = nullptr;
  bool m_ended = false;
  unsigned char m_block[65536];
  size_t m_blockLength = 0;
  size_t m_blockPos = 0;
};
