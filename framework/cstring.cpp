#include "framework/cstring.h"

#include <cstring>

#include "framework/dbcs.h"

#ifdef _WIN32
#include <windows.h>
#endif

bool IsTrimSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

int CString::Find(const char* sub, int start) const {
  const int length = GetLength();
  if (sub == nullptr || start < 0 || start > length) return -1;
  const size_t subLength = std::strlen(sub);
  const char* text = m_text.c_str();
  for (int i = 0; i < length;) {
    if (i >= start && static_cast<size_t>(length - i) >= subLength && std::memcmp(text + i, sub, subLength) == 0) {
      return i;
    }
    i += dbcs::CharLength(text, length, i);
  }
  return subLength == 0 && start == length ? length : -1;
}

int CString::Find(char ch, int start) const {
  const char sub[2] = {ch, '\0'};
  return Find(sub, start);
}

int CString::ReverseFind(char ch) const {
  const int length = GetLength();
  const char* text = m_text.c_str();
  int found = -1;
  for (int i = 0; i < length;) {
    const int step = dbcs::CharLength(text, length, i);
    if (step == 1 && text[i] == ch) found = i;
    i += step;
  }
  return found;
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  const int length = GetLength();
  if (first < 0) first = 0;
  if (count < 0) count = 0;
  if (first >= length) return CString();
  if (count > length - first) count = length - first;
  return CString(m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  const int length = GetLength();
  if (count < 0) count = 0;
  if (count > length) count = length;
  return Mid(length - count, count);
}

void CString::TrimLeft() {
  size_t first = 0;
  while (first < m_text.size() && IsTrimSpace(m_text[first])) ++first;
  m_text.erase(0, first);
}

void CString::TrimRight() {
  // Walk forward by characters so that a trail byte is never taken for white
  // space; remember where the trailing run of white space starts.
  const int length = GetLength();
  const char* text = m_text.c_str();
  int runStart = -1;
  for (int i = 0; i < length;) {
    const int step = dbcs::CharLength(text, length, i);
    if (step == 1 && IsTrimSpace(text[i])) {
      if (runStart < 0) runStart = i;
    } else {
      runStart = -1;
    }
    i += step;
  }
  if (runStart >= 0) m_text.erase(static_cast<size_t>(runStart));
}

bool CString::LoadString(unsigned int id) {
#ifdef _WIN32
  // A string resource holds at most 4097 characters; load it whole.
  char buffer[4098];
  const int length = ::LoadStringA(GetModuleHandleA(nullptr), id, buffer, static_cast<int>(sizeof buffer));
  if (length <= 0) return false;
  m_text.assign(buffer, static_cast<size_t>(length));
  return true;
#else
  (void)id;
  return false;
#endif
}
