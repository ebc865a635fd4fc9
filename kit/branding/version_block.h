// The program's version block (resource type 16): the fixed file and
// product versions and the strings Windows shows in the file's properties.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kit::branding {

// Four parts A.B.C.D, each 0 to 65535.
using VersionNumber = std::array<std::uint16_t, 4>;

std::string VersionText(const VersionNumber& version);
// Parses "A.B.C.D", each part decimal digits up to 65535; false otherwise.
bool ParseVersionNumber(const std::string& text, VersionNumber& version);

struct VersionStringTable {
  std::string key;                                           // language and code page in hexadecimal, "040904b0"
  std::vector<std::pair<std::string, std::string>> strings;  // name, value; UTF-8
};

struct VersionBlock {
  VersionNumber fileVersion{};
  VersionNumber productVersion{};
  std::vector<VersionStringTable> tables;

  // The value of `name` in the first table that has it, or null.
  const std::string* String(const std::string& name) const;
};

// Reads a version block; false, with `why` set, when it is malformed.
bool ParseVersionBlock(const std::string& data, VersionBlock& block, std::string& why);

}  // namespace kit::branding
