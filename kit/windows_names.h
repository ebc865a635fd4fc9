// The names Windows, and the unpacker on it, create as they are written: the
// rules shared by `setup-pack build`, which refuses a data folder that
// breaks them, and `setup-pack check`, which reports an archive that does.
// Names are UTF-8, with '/' between the parts of a path.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kit {

// What keeps one part of a path (the name of a folder or a file) from being
// created as it is written.
enum class NameFault {
  kNone,
  // \ / : * ? " < > | or a control character: Windows holds none of them;
  // the unpacker writes '_' in place of the first ones and drops the others.
  kForbiddenCharacter,
  // CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9 (also with a superscript digit
  // 1-3), CONIN$ or CONOUT$, in any case, alone or before a dot (aux.txt,
  // nul.tar.gz), blanks before the dot included: a device, not a file; the
  // unpacker's file vanishes into it.
  kReservedDevice,
  // A dot or blank at the end: Windows drops it, so "a." becomes "a".
  kTrailingDotOrBlank,
  // A file name ending in ';' and digits only ("notes;2"): the unpacker
  // takes it for a version number and drops it.
  kVersionSuffix,
  // Bytes that are no UTF-8 text: no name on Windows matches them.
  kNotUtf8,
};

// The fault of `part`; `isFileName` for the last part of a file's path
// (only there the unpacker drops a ";digits" end).
NameFault PartFault(const std::string& part, bool isFileName);

// A file name with a version suffix as the unpacker installs it: "notes;2"
// as "notes".
std::string WithoutVersionSuffix(const std::string& part);

struct PathFault {
  NameFault fault = NameFault::kNone;
  std::string part;    // the part at fault
  std::string prefix;  // the path up to that part, the part included
};

// The first fault of a path's parts; a path ending in '/' is a folder's.
PathFault FirstPathFault(const std::string& path);

// Two paths that Windows holds for one, as their letters differ only in
// case: the second is installed into, or over, the first.
struct CaseCollision {
  std::string first;   // as the archive or the data folder spells it first
  std::string second;  // the other spelling
};

// Every pair of `paths` (a folder's ending in '/'; the folders a file's path
// runs through count as well) whose names Windows takes for one, each pair
// once, at the shallowest part where they meet: "A/x" beside "a/y" is one
// pair, "A" and "a".
std::vector<CaseCollision> CaseCollisions(const std::vector<std::string>& paths);

// A name as Windows compares names: every letter in upper case.
std::string CaseFolded(const std::string& utf8);

// The UTF-16 units Windows counts for `utf8`: a character beyond U+FFFF
// takes two.
std::size_t Utf16Length(const std::string& utf8);

}  // namespace kit
