#include "kit/check/entry_name_checks.h"

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kit/check/package_paths.h"
#include "kit/check/wording.h"
#include "kit/name_problems.h"
#include "kit/windows_names.h"

namespace kit::check {

namespace {

constexpr char kArchiveSeparator = '/';
// Windows takes a path of fewer than MAX_PATH (260) UTF-16 units, and
// creates a folder of fewer than MAX_PATH - 12 (room for an 8.3 name in it),
// for a program not marked aware of long paths, as the unpacker is not.
constexpr std::size_t kLongestFilePath = 259;
constexpr std::size_t kLongestFolderPath = 247;

std::string WindowsPath(const std::string& installFolder, std::string entryName) {
  if (!entryName.empty() && entryName.back() == kArchiveSeparator) entryName.pop_back();
  for (char& ch : entryName) {
    if (ch == kArchiveSeparator) ch = kWindowsSeparator;
  }
  return installFolder + kWindowsSeparator + entryName;
}

void AddNameProblem(Context& context, const Problem& problem) {
  context.Add(problem.kind, problem.what, problem.userSees, problem.fix);
}

// One problem for all names that are not marked: they share the cause.
void CheckEncoding(Context& context, const std::vector<const ArchiveEntry*>& entries) {
  EntryGroup unmarked;
  for (const ArchiveEntry* entry : entries) {
    if (!entry->nameMarkedUtf8) unmarked.Add(entry->name);
  }
  if (unmarked.count == 0) return;
  context.Add(ProblemKind::kNameNotUtf8,
              unmarked.Described("entry", "entries", "has", "have") +
                  " a name beyond ASCII that is not marked as UTF-8 (general purpose bit 11, or a Unicode path field)",
              "the unpacker reads such a name in the end user's code page: it comes out right only where that code "
              "page is the archiver's, garbled elsewhere",
              "build the archive with setup-pack build, which marks every name beyond ASCII as UTF-8");
}

// The first folder of `entryName` (the entry itself, if a folder) whose
// path is longer than Windows creates, or empty.
std::string TooLongFolder(const std::string& installFolder, const std::string& entryName) {
  for (size_t end = entryName.find(kArchiveSeparator); end != std::string::npos;
       end = entryName.find(kArchiveSeparator, end + 1)) {
    const std::string folder = entryName.substr(0, end + 1);
    if (Utf16Length(WindowsPath(installFolder, folder)) > kLongestFolderPath) return folder;
  }
  return std::string();
}

void AddTooLong(Context& context, const std::string& entryName, const std::string& path, std::size_t longest) {
  const char* const kind = longest == kLongestFolderPath ? "folder" : "file";
  context.Add(ProblemKind::kPathTooLong,
              std::string("the archive's ") + kind + " " + Quoted(entryName) + " is installed as " + path + ", " +
                  std::to_string(Utf16Length(path)) + " characters: Windows takes at most " + std::to_string(longest) +
                  " for a " + kind,
              UnpackingFailedMessage() + ": the unpacker cannot create it, and the files in it are missing",
              "shorten the names of the entry and its folders in the data folder (an installation folder the end "
              "user picks may be longer still) and build the package again");
}

void CheckPathLengths(Context& context, const std::vector<const ArchiveEntry*>& entries) {
  const std::string installFolder = TypicalInstallFolder(context.Name());
  std::set<std::string> reportedFolders;
  for (const ArchiveEntry* entry : entries) {
    const std::string folder = TooLongFolder(installFolder, entry->name);
    if (!folder.empty()) {
      if (reportedFolders.insert(folder).second) {
        AddTooLong(context, folder, WindowsPath(installFolder, folder), kLongestFolderPath);
      }
      continue;
    }
    const std::string path = WindowsPath(installFolder, entry->name);
    if (!entry->isFolder && Utf16Length(path) > kLongestFilePath) {
      AddTooLong(context, entry->name, path, kLongestFilePath);
    }
  }
}

}  // namespace

void CheckEntryNames(Context& context) {
  if (!context.Summary().archiveRead) return;
  // An entry outside the installation folder is reported as such already.
  std::vector<const ArchiveEntry*> inside;
  std::vector<std::string> names;
  for (const ArchiveEntry& entry : context.entries) {
    if (LandsOutsideFolder(entry.name)) continue;
    inside.push_back(&entry);
    names.push_back(entry.storedName);
  }
  // A folder at fault is reported once, not again for what is in it. Names
  // are judged by their bytes as stored: UTF-8 when marked; else bytes the
  // unpacker reads in a code page of the end user's, whose ASCII characters
  // are the same in all of them (libzip's reading as CP437 would turn a
  // control character into a symbol).
  std::set<std::string> faultyParts;
  for (const ArchiveEntry* entry : inside) {
    const std::string& judged = entry->storedName;
    const PathFault fault = FirstPathFault(judged);
    if (fault.fault == NameFault::kNone || (fault.fault == NameFault::kNotUtf8 && !entry->nameMarkedUtf8)) continue;
    if (faultyParts.insert(fault.prefix).second) {
      AddNameProblem(context, *PathNameProblem(judged, fault, NameHolder::kArchive));
    }
  }
  CheckEncoding(context, inside);
  for (const CaseCollision& collision : CaseCollisions(names)) {
    AddNameProblem(context, CaseCollisionProblem(collision, NameHolder::kArchive));
  }
  CheckPathLengths(context, inside);
}

}  // namespace kit::check
