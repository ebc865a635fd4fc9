#include "kit/check/entry_content_checks.h"

#include <zip.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "kit/check/wording.h"

namespace kit::check {

namespace {

// The unpacker's exit code for a method it does not support.
constexpr unsigned long kUnsupportedMethodExit = 81;

struct Method {
  std::uint16_t id;
  const char* name;
  bool unpackerExtracts;
};

// The compression methods of the format. The recipe's unzip (tools/build-unzip)
// extracts those that `unzip -v` lists for its build: stored, shrunk
// (USE_UNSHRINK), imploded, deflated and Deflate64 (USE_DEFLATE64); not
// reduced (COPYRIGHT_CLEAN), and not bzip2, as it is built without USE_BZIP2.
const Method kMethods[] = {
    {0, "stored", true},
    {1, "shrunk", true},
    {2, "reduced (factor 1)", false},
    {3, "reduced (factor 2)", false},
    {4, "reduced (factor 3)", false},
    {5, "reduced (factor 4)", false},
    {6, "imploded", true},
    {7, "tokenized", false},
    {8, "deflated", true},
    {9, "Deflate64", true},
    {10, "PKWARE DCL imploded", false},
    {12, "bzip2", false},
    {14, "LZMA", false},
    {18, "IBM TERSE", false},
    {19, "IBM LZ77", false},
    {93, "Zstandard", false},
    {94, "MP3", false},
    {95, "xz", false},
    {96, "JPEG", false},
    {97, "WavPack", false},
    {98, "PPMd", false},
    {99, "AES encryption", false},
};

std::string MethodName(std::uint16_t id) {
  for (const Method& method : kMethods) {
    if (method.id == id) return std::string(method.name) + " (method " + std::to_string(id) + ")";
  }
  return "method " + std::to_string(id);
}

bool UnpackerExtracts(std::uint16_t id) {
  for (const Method& method : kMethods) {
    if (method.id == id) return method.unpackerExtracts;
  }
  return false;
}

void CheckMethods(Context& context) {
  // In the order the methods first appear.
  std::vector<std::uint16_t> order;
  std::map<std::uint16_t, EntryGroup> byMethod;
  for (const ArchiveEntry& entry : context.entries) {
    if (entry.isFolder) continue;
    if (byMethod.find(entry.method) == byMethod.end()) order.push_back(entry.method);
    byMethod[entry.method].Add(entry.name);
  }
  for (const std::uint16_t id : order) {
    const EntryGroup& group = byMethod[id];
    if (!UnpackerExtracts(id)) {
      context.Add(ProblemKind::kArchiveMethod,
                  group.Described("file", "files", "is", "are") + " compressed with " + MethodName(id) +
                      ", which the unpacker cannot extract",
                  UnpackingFailedMessage(kUnsupportedMethodExit) + ", and these files are not installed",
                  "build the archive with setup-pack build, which deflates every file");
      continue;
    }
    bool anyUnread = false;
    for (const ArchiveEntry& entry : context.entries) {
      anyUnread = anyUnread || (!entry.isFolder && entry.method == id && !entry.dataRead);
    }
    if (anyUnread) {
      context.Add(ProblemKind::kArchiveUnchecked,
                  group.Described("file", "files", "is", "are") + " compressed with " + MethodName(id) +
                      ", which the unpacker extracts but the check cannot read: the data are not checked",
                  "the files install as meant if their data are sound; a damaged one fails the installation",
                  "test the package by installing it, or build the archive with setup-pack build, which deflates "
                  "every file");
    }
  }
}

// Unix modes in the high half of the external attributes.
constexpr int kModeShift = 16;
constexpr std::uint32_t kFileTypeMask = 0170000;
constexpr std::uint32_t kSymbolicLink = 0120000;

bool IsSymbolicLink(const ArchiveEntry& entry) {
  const bool unixHost = entry.hostSystem == ZIP_OPSYS_UNIX || entry.hostSystem == ZIP_OPSYS_OS_X;
  return unixHost && ((entry.externalAttributes >> kModeShift) & kFileTypeMask) == kSymbolicLink;
}

void CheckLinks(Context& context) {
  for (const ArchiveEntry& entry : context.entries) {
    if (!IsSymbolicLink(entry)) continue;
    context.Add(ProblemKind::kArchiveLink, "the archive's entry " + Quoted(entry.name) + " is a symbolic link",
                "the unpacker installs a small file holding the link's target in its place",
                "put the file the link points to in its place (setup-pack build packs what a link to a file points "
                "to)");
  }
}

// The MS-DOS attributes in the low byte, which the unpacker gives the
// installed file or folder.
struct Attribute {
  std::uint32_t bit;
  const char* name;
  bool onFolders;  // read-only does not keep anyone from a folder's files
  const char* userSees;
};
const Attribute kAttributes[] = {
    {0x01, "read-only", false,
     "the files are installed read-only: the software that uses them, an update or an uninstaller cannot change or "
     "remove them"},
    {0x02, "hidden", true, "they are installed hidden: the end user does not see them in the file manager"},
    {0x04, "system", true, "they are installed as system files: hidden in the file manager and guarded"},
};

void CheckAttributes(Context& context) {
  for (const Attribute& attribute : kAttributes) {
    EntryGroup group;
    for (const ArchiveEntry& entry : context.entries) {
      if ((entry.externalAttributes & attribute.bit) == 0 || (entry.isFolder && !attribute.onFolders)) continue;
      group.Add(entry.name);
    }
    if (group.count == 0) continue;
    context.Add(ProblemKind::kArchiveAttributes,
                group.Described("entry", "entries", "carries", "carry") + " the Windows attribute " + attribute.name +
                    (attribute.bit == kAttributes[0].bit ? " (a file without write permission gets it)" : ""),
                attribute.userSees,
                "build the archive with setup-pack build, which gives every entry plain attributes");
  }
}

}  // namespace

void CheckEntryContents(Context& context) {
  if (!context.Summary().archiveRead) return;
  CheckMethods(context);
  CheckLinks(context);
  CheckAttributes(context);
}

}  // namespace kit::check
