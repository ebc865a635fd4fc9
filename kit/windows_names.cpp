#include "kit/windows_names.h"

#include <locale.h>
#include <wctype.h>

#include <climits>
#include <cstring>
#include <cwchar>
#include <map>
#include <set>
#include <utility>

#include "kit/utf8_text.h"

namespace kit {

namespace {

constexpr char kSeparator = '/';
constexpr char kDot = '.';
constexpr char kBlank = ' ';
constexpr char kVersionMark = ';';
constexpr const char kForbiddenCharacters[] = "\\/:*?\"<>|";
constexpr unsigned char kFirstPrintable = 0x20;

// The devices Windows opens in place of a file of the name.
const char* const kDeviceNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
// COM and LPT with a digit, or with a superscript 1, 2 or 3 (UTF-8).
const char* const kNumberedDevices[] = {"COM", "LPT"};
const char* const kSuperscriptDigits[] = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};

constexpr wchar_t kLargestSingleUnit = 0xFFFF;

// glibc's built-in C.UTF-8 locale (always there since glibc 2.35): its
// decoder takes only UTF-8 (no overlong forms, no surrogates), and its case
// mapping is Unicode's simple one, as Windows compares names.
locale_t Utf8Locale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

// Decodes and encodes in C.UTF-8 while it lives.
class InUtf8 {
 public:
  InUtf8() : m_before(uselocale(Utf8Locale())) {}
  ~InUtf8() { uselocale(m_before); }
  InUtf8(const InUtf8&) = delete;
  InUtf8& operator=(const InUtf8&) = delete;

 private:
  locale_t m_before;
};

// The characters of `text`; false at the first byte that is not UTF-8.
bool Decode(const std::string& text, std::wstring& characters) {
  characters.clear();
  const InUtf8 utf8;
  std::mbstate_t state{};
  for (size_t at = 0; at < text.size();) {
    wchar_t character = 0;
    const size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
    if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2)) return false;
    characters += character;
    at += length == 0 ? 1 : length;  // 0: a NUL byte
  }
  return true;
}

std::string Encode(const std::wstring& characters) {
  const InUtf8 utf8;
  std::string text;
  std::mbstate_t state{};
  char bytes[MB_LEN_MAX];
  for (const wchar_t character : characters) {
    const size_t length = std::wcrtomb(bytes, character, &state);
    if (length != static_cast<size_t>(-1)) text.append(bytes, length);
  }
  return text;
}

char AsciiUpper(char ch) { return ch >= 'a' && ch <= 'z' ? static_cast<char>(ch - 'a' + 'A') : ch; }

bool EqualsIgnoringAsciiCase(const std::string& text, const char* word) {
  if (text.size() != std::strlen(word)) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (AsciiUpper(text[i]) != word[i]) return false;
  }
  return true;
}

bool IsReservedDevice(const std::string& part) {
  std::string base = part.substr(0, part.find(kDot));
  while (!base.empty() && base.back() == kBlank) base.pop_back();
  for (const char* device : kDeviceNames) {
    if (EqualsIgnoringAsciiCase(base, device)) return true;
  }
  for (const char* device : kNumberedDevices) {
    const size_t stem = std::strlen(device);
    if (base.size() <= stem || !EqualsIgnoringAsciiCase(base.substr(0, stem), device)) continue;
    const std::string number = base.substr(stem);
    if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') return true;
    for (const char* superscript : kSuperscriptDigits) {
      if (number == superscript) return true;
    }
  }
  return false;
}

bool HasForbiddenCharacter(const std::string& part) {
  for (const char ch : part) {
    if (static_cast<unsigned char>(ch) < kFirstPrintable || std::strchr(kForbiddenCharacters, ch) != nullptr) {
      return true;
    }
  }
  return false;
}

// The unpacker drops ';' and the digits after it at the end of a file name.
bool HasVersionSuffix(const std::string& part) {
  const size_t mark = part.rfind(kVersionMark);
  if (mark == std::string::npos) return false;
  for (size_t i = mark + 1; i < part.size(); ++i) {
    if (part[i] < '0' || part[i] > '9') return false;
  }
  return true;
}

// "." and ".." name no file: they move within the path.
bool IsNavigation(const std::string& part) { return part == "." || part == ".."; }

// The parts of a '/'-separated path; a folder's trailing '/' ends the last.
std::vector<std::string> PartsOf(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(kSeparator, start);
    if (end == std::string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string ParentOf(const std::string& path) {
  const size_t last = path.rfind(kSeparator);
  return last == std::string::npos ? std::string() : path.substr(0, last);
}

}  // namespace

std::size_t Utf16Length(const std::string& utf8) {
  std::wstring characters;
  if (!Decode(utf8, characters)) return utf8.size();
  std::size_t units = 0;
  for (const wchar_t character : characters) units += character > kLargestSingleUnit ? 2 : 1;
  return units;
}

std::string CaseFolded(const std::string& utf8) {
  std::wstring characters;
  if (!Decode(utf8, characters)) {
    // Not UTF-8: at least the ASCII letters.
    std::string folded = utf8;
    for (char& ch : folded) ch = AsciiUpper(ch);
    return folded;
  }
  for (wchar_t& character : characters) character = static_cast<wchar_t>(towupper_l(character, Utf8Locale()));
  return Encode(characters);
}

NameFault PartFault(const std::string& part, bool isFileName) {
  // The ASCII characters are the same in every code page: judged first.
  if (HasForbiddenCharacter(part)) return NameFault::kForbiddenCharacter;
  if (IsReservedDevice(part)) return NameFault::kReservedDevice;
  if (!part.empty() && (part.back() == kDot || part.back() == kBlank)) return NameFault::kTrailingDotOrBlank;
  if (isFileName && HasVersionSuffix(part)) return NameFault::kVersionSuffix;
  if (!IsUtf8(part)) return NameFault::kNotUtf8;
  return NameFault::kNone;
}

std::string WithoutVersionSuffix(const std::string& part) { return part.substr(0, part.rfind(kVersionMark)); }

PathFault FirstPathFault(const std::string& path) {
  const bool isFolder = !path.empty() && path.back() == kSeparator;
  const std::vector<std::string> parts = PartsOf(path);
  std::string prefix;
  for (size_t i = 0; i < parts.size(); ++i) {
    prefix += (i == 0 ? "" : "/") + parts[i];
    if (parts[i].empty() || IsNavigation(parts[i])) continue;
    const NameFault fault = PartFault(parts[i], !isFolder && i + 1 == parts.size());
    if (fault != NameFault::kNone) return {fault, parts[i], prefix};
  }
  return {};
}

std::vector<CaseCollision> CaseCollisions(const std::vector<std::string>& paths) {
  // Each folder or file by its name as Windows compares it, with the first
  // spelling met.
  std::map<std::string, std::string> spellings;
  std::set<std::pair<std::string, std::string>> reported;
  std::vector<CaseCollision> collisions;
  for (const std::string& path : paths) {
    std::string spelling;
    for (const std::string& part : PartsOf(path)) {
      spelling += (spelling.empty() ? "" : "/") + part;
      const auto [known, added] = spellings.emplace(CaseFolded(spelling), spelling);
      if (added || known->second == spelling) continue;
      // Met where the parents are spelt alike; deeper pairs follow from it.
      if (ParentOf(known->second) != ParentOf(spelling)) continue;
      if (reported.emplace(known->second, spelling).second) collisions.push_back({known->second, spelling});
    }
  }
  return collisions;
}

}  // namespace kit
