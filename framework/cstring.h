// CString: the framework's string of 8-bit characters in the ANSI code page.
//
// Every text, path and file name of the program is one. Searches for a
// character or a substring go character by character and step over
// double-byte characters (see dbcs.h); comparisons are exact.
//
// The text lives in a heap buffer of its own (value semantics: a copy is a
// copy), so that the program needs none of the C++ runtime's strings and
// exceptions. A buffer that cannot be allocated ends the process (see
// heap.h): no text operation fails.
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
  CString(const char* text);  // NOLINT: implicit like the framework's
  CString(const char* text, int length);
  CString(const std::string& text) : CString(text.data(), static_cast<int>(text.size())) {}  // NOLINT
  CString(const CString& other) : CString(other.c_str(), other.m_length) {}
  CString(CString&& other) noexcept;
  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  ~CString();

  int GetLength() const { return m_length; }
  bool IsEmpty() const { return m_length == 0; }
  void Empty();
  char GetAt(int index) const { return m_data[index]; }

  operator const char*() const { return c_str(); }  // NOLINT: the framework's LPCTSTR conversion
  const char* c_str() const { return m_data != nullptr ? m_data : ""; }
  // A copy as a standard string, for the tools and tests built around it.
  std::string str() const { return std::string(c_str(), static_cast<size_t>(m_length)); }

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

  // A buffer for `length` characters and a NUL, for a system call to write
  // into; the old text stays at its front, cut to `length`, and NULs fill the
  // rest. ReleaseBuffer then takes the text up to `length` characters, or up
  // to its first NUL when `length` is -1.
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int length = -1);

  // Loads a string resource of the program; false when it has none.
  bool LoadString(unsigned int id);

  CString& operator=(const char* text);
  CString& operator+=(const CString& other) { return Append(other.c_str(), other.m_length); }
  CString& operator+=(const char* text);
  CString& operator+=(char ch) { return Append(&ch, 1); }

  friend CString operator+(const CString& a, const CString& b) { return Joined(a.c_str(), a.m_length, b.c_str(), b.m_length); }
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend bool operator==(const CString& a, const CString& b) { return a.Equals(b.c_str(), b.m_length); }
  friend bool operator==(const CString& a, const char* b);
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }

 private:
  CString& Append(const char* text, int length);
  // Room for `capacity` characters; `inside`, when it points into the old
  // buffer, is moved to the same place in the new one.
  void Reserve(int capacity, const char*& inside);
  // Keeps the first `length` characters (length <= GetLength()).
  void Truncate(int length);
  bool Equals(const char* text, int length) const;
  static CString Joined(const char* a, int aLength, const char* b, int bLength);

  char* m_data = nullptr;  // NUL-terminated; null while never written
  int m_length = 0;
  int m_capacity = 0;  // characters the buffer holds, its NUL not counted
};

// True for the white-space characters the framework's trimming removes.
bool IsTrimSpace(char ch);
