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

struct NameProblem {
  ProblemKind kind;
  std::string what;
  std::string userSees;
  std::string fix;
};

// Whose names are judged: the words that open a problem.
enum class NameHolder {
  kArchive,     // the archive's entries
  kDataFolder,  // the data folder's files and folders
};

// The problem of the first faulty part of `path`, if it has one.
std::optional<NameProblem> PathNameProblem(const std::string& path, NameHolder holder);

// Two paths that Windows takes for one.
NameProblem CaseCollisionProblem(const CaseCollision& collision, NameHolder holder);

// One line of the problem, as `setup-pack build` prints a refusal.
std::string ProblemLine(const NameProblem& problem);

}  // namespace kit
