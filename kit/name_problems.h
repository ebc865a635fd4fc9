// The problems of names that Windows, or the unpacker on it, does not create
// as they are written, worded once for `setup-pack check`, which reports
// them in an archive's entries, and `setup-pack build`, which refuses them
// in a data folder.
#pragma once

#include <optional>
#include <string>

#include "kit/pack_check.h"
#include "kit/windows_names.h"

namespace kit {

// Whose names are judged: the words that open a problem.
enum class NameHolder {
  kArchive,     // the archive's entries
  kDataFolder,  // the data folder's files and folders
};

// The problem of `fault`, the first faulty part of `path` (FirstPathFault);
// none for NameFault::kNone.
std::optional<Problem> PathNameProblem(const std::string& path, const PathFault& fault, NameHolder holder);

// Two paths that Windows takes for one.
Problem CaseCollisionProblem(const CaseCollision& collision, NameHolder holder);

}  // namespace kit
