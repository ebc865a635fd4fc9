#include "package/text_mode_reader.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

namespace {
constexpr int kEndOfFileByte = 0x1A;
}

TextModeReader::TextModeReader(int bufferSize) : m_bufferSize(bufferSize < 2 ? 2 : bufferSize) {}

TextModeReader::~TextModeReader() { Close(); }

bool TextModeReader::Open(const char* path) {
  Close();
  m_file = std::fopen(path, "rb");
#ifndef _WIN32
  // Windows opens no folder as a file; the host's C library does, for
  // reading: the host build refuses it alike.
  struct stat status;
  if (m_file != nullptr && fstat(fileno(m_file), &status) == 0 && S_ISDIR(status.st_mode)) Close();
#endif
  m_ended = false;
  m_blockLength = 0;
  m_blockPos = 0;
  return m_file != nullptr;
}

void TextModeReader::Close() {
  if (m_file != nullptr) std::fclose(m_file);
  m_file = nullptr;
}

int TextModeReader::PeekByte() {
  if (m_blockPos == m_blockLength) {
    if (m_file == nullptr) return -1;
    m_blockLength = std::fread(m_block, 1, sizeof m_block, m_file);
    m_blockPos = 0;
    if (m_blockLength == 0) return -1;
  }
  return m_block[m_blockPos];
}

int TextModeReader::NextByte() {
  const int byte = PeekByte();
  if (byte >= 0) ++m_blockPos;
  return byte;
}

int TextModeReader::NextChar() {
  if (m_ended) return -1;
  int byte = NextByte();
  if (byte < 0 || byte == kEndOfFileByte) {
    m_ended = true;
    return -1;
  }
  if (byte == '\r' && PeekByte() == '\n') byte = NextByte();
  return byte;
}

bool TextModeReader::ReadPiece(CString& piece) {
  CString raw;
  const int limit = m_bufferSize - 1;
  while (raw.GetLength() < limit) {
    const int ch = NextChar();
    if (ch < 0) break;
    raw += static_cast<char>(ch);
    if (ch == '\n') break;
  }
  if (raw.IsEmpty()) return false;
  piece = raw.c_str();  // the text ends at the first NUL, as in a C buffer
  return true;
}
