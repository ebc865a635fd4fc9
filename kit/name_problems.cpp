#include "kit/name_problems.h"

#include "kit/check/wording.h"

namespace kit {

namespace {

std::string Holder(NameHolder holder) {
  return holder == NameHolder::kArchive ? "the archive's entry " : "the data folder's ";
}

std::string Fix(NameHolder holder, const std::string& how) {
  return holder == NameHolder::kArchive ? how + " in the data folder and build the package again (setup-pack build)"
                                        : how + " and build again";
}

}  // namespace

std::optional<Problem> PathNameProblem(const std::string& path, const PathFault& fault, NameHolder holder) {
  std::string whole = path;
  if (!whole.empty() && whole.back() == '/') whole.pop_back();
  // The path, and the part at fault when it is not the whole of it.
  const std::string subject =
      Holder(holder) + check::Quoted(path) + (fault.prefix == whole ? "" : ": " + check::Quoted(fault.part));
  switch (fault.fault) {
    case NameFault::kNone:
      return std::nullopt;
    case NameFault::kForbiddenCharacter:
      return Problem{
          ProblemKind::kNameCharacter,
          subject + " holds a character no Windows file name holds (\\ : * ? \" < > | or a control character)",
          "the unpacker writes _ in place of the character, or leaves a control character out: the file is installed "
          "under another name, where the software that uses it does not find it",
          Fix(holder, "rename it without these characters")};
    case NameFault::kReservedDevice:
      return Problem{ProblemKind::kNameReserved,
                     subject +
                         " is the name of a Windows device (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, CONIN$, "
                         "CONOUT$), with any extension",
                     "no such file is installed: Windows opens the device in its place, or the unpacker puts _ "
                     "before the name",
                     Fix(holder, "rename it")};
    case NameFault::kTrailingDotOrBlank:
      return Problem{ProblemKind::kNameTrailing, subject + " ends with a dot or a blank",
                     "Windows drops the dot or blank: the file is installed under the shorter name, over any file "
                     "of that name",
                     Fix(holder, "rename it without the dot or blank at the end")};
    case NameFault::kVersionSuffix:
      return Problem{ProblemKind::kNameVersion, subject + " ends with ; and digits only",
                     "the unpacker takes the end for a version number and drops it: the file is installed as " +
                         check::Quoted(WithoutVersionSuffix(fault.part)),
                     Fix(holder, "rename it without the ; at the end")};
    case NameFault::kNotUtf8:
      return Problem{ProblemKind::kNameNotUtf8, subject + " is not UTF-8 text",
                     "the archive can only store its bytes unmarked, and the unpacker reads them in the end "
                     "user's code page: the name comes out differently from one system to another",
                     Fix(holder, "rename it in UTF-8")};
  }
  return std::nullopt;
}

Problem CaseCollisionProblem(const CaseCollision& collision, NameHolder holder) {
  const std::string whose = holder == NameHolder::kArchive ? "the archive's entries " : "the data folder's ";
  return Problem{ProblemKind::kNameCase,
                 whose + check::Quoted(collision.first) + " and " + check::Quoted(collision.second) +
                     " differ only in letter case",
                 "Windows takes them for one name: the unpacker puts the second into the first, or over it, and "
                 "one file's content is lost, or it cannot create the second and ends with exit code 50",
                 Fix(holder, "rename one of them")};
}

}  // namespace kit
