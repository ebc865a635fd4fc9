// CString: the framework's string of 8-bit characters in the ANSI code page.
//
// Every text, path and file name of the program is one. Searches for a
// character or a substring go character by character and step over
// double-byte characters (see dbcs.h); comparisons are exact.
#pragma once

#include <string>

#ifdef _WIN32
// windows.h names LoadString as a macro; take it in first and drop the macro
// so that CString::LoadString keeps its name in every file.
#include <windows.h>
#undef LoadString
#endif

class CString {
 public:
  CString() = default;
  CString(const char* text) : m_text(text != nullptr ? text : "") {}  // NOLINT: implicit like the framework's
  CString(const char* text, int length) : m_text(text, static_cast<size_t>(length < 0 ? 0 : length)) {}
  CString(const std::string& text) : m_text(text) {}  // NOLINT

  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  void Empty() { m_text.clear(); }
  char GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }

  operator const char*() const { return m_text.c_str(); }  // NOLINT: the framework's LPCTSTR conversion
  const char* c_str() const { return m_text.c_str(); }
  const std::string& str() const { return m_text; }

  // Index of the first occurrence at or after `start`, or -1.
  int Find(const char* sub, int start = 0) const;
  int Find(char ch, int start = 0) const;
  // Index of the last occurrence of `ch`, or -1.
  int ReverseFind(char ch) const;

  // Text from `first` to the end / of at most `count` characters; out-of-range
  // arguments are clamped as the framework does.
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  // Remove leading / trailing white space (blank, tab, LF, VT, FF, CR).
  void TrimLeft();
  void TrimRight();

  // Loads a string resource of the program; false when it has none.
  bool LoadString(unsigned int id);

  CString& operator=(const char* text) {
    m_text = text != nullptr ? text : "";
    return *this;
  }
  CString& operator+=(const CString& other) {
    m_text += other.m_text;
    return *this;
  }
  CString& operator+=(const char* text) {
    if (text != nullptr) m_text += text;
    return *this;
  }
  CString& operator+=(char ch) {
    m_text += ch;
    return *this;
  }

  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_text + b.m_text); }
  friend CString operator+(const CString& a, const char* b) { return CString(a.m_text + (b != nullptr ? b : "")); }
  friend CString operator+(const char* a, const CString& b) { return CString((a != nullptr ? a : "") + b.m_text); }
  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) { return a.m_text == (b != nullptr ? b : ""); }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

 private:
  std::string m_text;
};

// True for the white-space characters the framework's trimming removes.
bool IsTrimSpace(char ch);
