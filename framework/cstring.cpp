#include "framework/cstring.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "framework/dbcs.h"
#include "framework/heap.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
#ifdef _WIN32
// A string resource holds at most 4097 characters; it is loaded whole.
constexpr int kStringResourceBuffer = 4098;
#endif
// Texts stay below this length, so that lengths and capacities never
// overflow.
constexpr int kLongestText = INT_MAX / 2;

int LengthOf(const char* text) { return text != nullptr ? static_cast<int>(std::strlen(text)) : 0; }
}  // namespace

bool IsTrimSpace(char ch) {
  return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\v' || ch == '\f' || ch == '\r';
}

CString::CString(const char* text) : CString(text, LengthOf(text)) {}

CString::CString(const char* text, int length) {
  if (text != nullptr && length > 0) Append(text, length);
}

CString::CString(CString&& other) noexcept
    : m_data(other.m_data), m_length(other.m_length), m_capacity(other.m_capacity) {
  other.m_data = nullptr;
  other.m_length = 0;
  other.m_capacity = 0;
}

CString& CString::operator=(const CString& other) {
  if (this == &other) return *this;
  Truncate(0);
  return Append(other.c_str(), other.m_length);
}

CString& CString::operator=(CString&& other) noexcept {
  if (this == &other) return *this;
  HeapRelease(m_data);
  m_data = other.m_data;
  m_length = other.m_length;
  m_capacity = other.m_capacity;
  other.m_data = nullptr;
  other.m_length = 0;
  other.m_capacity = 0;
  return *this;
}

CString::~CString() { HeapRelease(m_data); }

void CString::Empty() { Truncate(0); }

CString& CString::operator=(const char* text) {
  // The text may lie inside this string's own buffer: copy it first.
  CString copy(text);
  return *this = static_cast<CString&&>(copy);
}

// A text inside this string's own buffer is safe: Append's Reserve moves the
// pointer with the buffer.
CString& CString::operator+=(const char* text) { return Append(text, LengthOf(text)); }

CString operator+(const CString& a, const char* b) {
  return CString::Joined(a.c_str(), a.GetLength(), b != nullptr ? b : "", LengthOf(b));
}

CString operator+(const char* a, const CString& b) {
  return CString::Joined(a != nullptr ? a : "", LengthOf(a), b.c_str(), b.GetLength());
}

bool operator==(const CString& a, const char* b) { return a.Equals(b != nullptr ? b : "", LengthOf(b)); }

CString& CString::Append(const char* text, int length) {
  if (length <= 0) return *this;
  if (length > kLongestText - m_length) EndForLackOfMemory();  // no text of the program comes near
  Reserve(m_length + length, text);
  std::memmove(m_data + m_length, text, static_cast<size_t>(length));
  m_length += length;
  m_data[m_length] = '\0';
  return *this;
}

void CString::Reserve(int capacity, const char*& inside) {
  if (capacity <= m_capacity) return;
  if (capacity > kLongestText) EndForLackOfMemory();
  // A text that lies in this string's own buffer moves with it, wherever in
  // the buffer it starts.
  const bool moves = m_data != nullptr && inside >= m_data && inside <= m_data + m_capacity;
  const std::ptrdiff_t offset = moves ? inside - m_data : 0;
  // Grow by half again, so that appending piece by piece stays linear.
  int grown = m_capacity + m_capacity / 2;
  if (grown < capacity) grown = capacity;
  m_data = static_cast<char*>(HeapResize(m_data, static_cast<size_t>(grown) + 1));
  m_capacity = grown;
  if (moves) inside = m_data + offset;
}

char* CString::GetBufferSetLength(int length) {
  if (length < 0) length = 0;
  const char* none = nullptr;
  Reserve(length, none);
  if (m_data == nullptr) {
    Reserve(1, none);
  }
  if (m_capacity > m_length) std::memset(m_data + m_length, 0, static_cast<size_t>(m_capacity - m_length));
  m_length = length;
  m_data[m_length] = '\0';
  return m_data;
}

void CString::ReleaseBuffer(int length) {
  if (m_data == nullptr) return;
  if (length < 0) length = static_cast<int>(std::strlen(m_data));
  if (length > m_length) length = m_length;
  Truncate(length);
}

void CString::Truncate(int length) {
  if (m_data == nullptr || length >= m_length) return;
  m_length = length < 0 ? 0 : length;
  m_data[m_length] = '\0';
}

bool CString::Equals(const char* text, int length) const {
  return m_length == length && std::memcmp(c_str(), text, static_cast<size_t>(length)) == 0;
}

CString CString::Joined(const char* a, int aLength, const char* b, int bLength) {
  CString joined;
  joined.Append(a, aLength);
  joined.Append(b, bLength);
  return joined;
}

int CString::Find(const char* sub, int start) const {
  const int length = GetLength();
  if (sub == nullptr || start < 0 || start > length) return -1;
  const size_t subLength = std::strlen(sub);
  const char* text = c_str();
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
  const char* text = c_str();
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
  return CString(c_str() + first, count);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  const int length = GetLength();
  if (count < 0) count = 0;
  if (count > length) count = length;
  return Mid(length - count, count);
}

void CString::TrimLeft() {
  int first = 0;
  while (first < m_length && IsTrimSpace(m_data[first])) ++first;
  if (first == 0) return;
  std::memmove(m_data, m_data + first, static_cast<size_t>(m_length - first));
  Truncate(m_length - first);
}

void CString::TrimRight() {
  // Walk forward by characters so that a trail byte is never taken for white
  // space; remember where the trailing run of white space starts.
  const int length = GetLength();
  const char* text = c_str();
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
  if (runStart >= 0) Truncate(runStart);
}

bool CString::LoadString(unsigned int id) {
#ifdef _WIN32
  char buffer[kStringResourceBuffer];
  const int length = ::LoadStringA(GetModuleHandleA(nullptr), id, buffer, static_cast<int>(sizeof buffer));
  if (length <= 0) return false;
  *this = CString(buffer, length);
  return true;
#else
  (void)id;
  return false;
#endif
}
