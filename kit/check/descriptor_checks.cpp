#include "kit/check/descriptor_checks.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>

#include "framework/cstring.h"
#include "kit/check/descriptor_lines.h"
#include "kit/check/package_paths.h"
#include "kit/check/wording.h"
#include "kit/package_files.h"
#include "package/descriptor.h"
#include "package/program_folder.h"
#include "res/texts.h"
#include "setup/install_request.h"

namespace kit::check {

namespace {

bool HasBlanksAround(const std::string& value) {
  return !value.empty() && (IsTrimSpace(value.front()) || IsTrimSpace(value.back()));
}

// The "FILESIZE:" value gives a number when digits follow the white space
// and the sign, as the number rule reads them.
bool StartsWithNumber(const std::string& value) {
  size_t at = 0;
  while (at < value.size() && IsTrimSpace(value[at])) ++at;
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) ++at;
  return at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])) != 0;
}

void CheckArchiveValue(Context& context) {
  const std::string& value = context.Summary().archiveValue;
  const std::string shown = "the program folder + " + Quoted(value);
  if (HasBlanksAround(value)) {
    context.Add(ProblemKind::kArchiveValueBlanks, "the ZIPFILE: value " + Quoted(value) + " has white space around it",
                "the blanks become part of the archive's path: Data Source is " + shown +
                    ", which names no archive, then " + UnpackingFailedMessage(),
                "remove the white space between ZIPFILE: and the name and after the name");
    return;
  }
  if (IsAbsolute(value)) {
    context.Add(ProblemKind::kArchiveValueAbsolute, "the ZIPFILE: value " + Quoted(value) + " is an absolute path",
                "the program puts it behind its own folder: Data Source is " + shown + ", which names no file, then " +
                    UnpackingFailedMessage(),
                "name the archive relative to the package folder, such as " + std::string(kArchiveKey) +
                    context.Name() + kArchiveExtension);
    return;
  }
  if (!IsFile(context.Summary().archivePath)) {
    context.Add(
        ProblemKind::kArchiveNoFile,
        "the ZIPFILE: value " + Quoted(value) + " names no file: " + context.Summary().archivePath + " is not there",
        "the unpacker finds no archive: " + UnpackingFailedMessage() + ", and nothing is installed",
        "put the archive there, or correct the ZIPFILE: value (names are matched in their letter case)");
    return;
  }
  context.archiveNamed = true;
}

// What differs between the problems of the two keys' lines.
struct KeyRole {
  const char* key;          // "ZIPFILE:"
  const char* noun;         // "the archive key"
  ProblemKind caseError;    // other letter case, and no line holds the key
  ProblemKind caseIgnored;  // other letter case beside a line that holds it
  ProblemKind missing;
  ProblemKind overridden;
  ProblemKind notAtStart;  // on the line the program uses
  std::string missingSees;
  std::string missingFix;
  std::string caseFix;
  std::string shiftedSees;  // what the program makes of the key after other text
  std::string notAtStartFix;
};

std::string ByteOrderMarkFix(const Context& context) {
  return "save " + context.Name() + kDescriptorExtension +
         " without a byte-order mark (as ANSI or ASCII text, not as UTF-8 with BOM)";
}

// The problems of the lines that hold a key; true when the line the program
// uses starts with the key, so that its value is to be judged.
bool CheckKeyLines(Context& context, const KeyLines& lines, const KeyRole& role) {
  const std::string key = role.key;
  for (const std::string& line : lines.otherCase) {
    if (lines.found) {
      context.Add(role.caseIgnored,
                  "the line " + QuotedLine(line) + " holds " + role.noun + " in other letter case, beside a line " +
                      "that holds " + key,
                  "nothing: the program ignores this line", "write the line without the key, or remove it");
    } else {
      context.Add(role.caseError,
                  "the line " + QuotedLine(line) + " holds " + role.noun + " in other letter case, and no line holds " +
                      key + " in capitals",
                  role.missingSees, role.caseFix);
    }
  }
  if (!lines.found) {
    if (lines.otherCase.empty()) context.Add(role.missing, "no line holds " + key, role.missingSees, role.missingFix);
    return false;
  }
  const KeyLine& used = lines.Used();
  // When the line used is at fault, that problem tells what to do.
  for (size_t i = 0; used.atStart && i + 1 < lines.lines.size(); ++i) {
    const KeyLine& line = lines.lines[i];
    context.Add(role.overridden,
                "the line " + QuotedLine(line.text) + " holds " + key + (line.atStart ? "" : " after other text") +
                    ", and a later line replaces its value",
                "nothing: the program takes the value of the last line that holds " + key + ", " + Quoted(lines.value),
                "remove the line, or the key from it (a note must not quote " + key + ")");
  }
  if (used.atStart) return true;
  if (used.afterByteOrderMark) {
    context.Add(role.notAtStart,
                context.Name() + kDescriptorExtension +
                    " starts with a UTF-8 byte-order mark (the bytes EF BB BF, which editors do not show) before " +
                    key,
                role.shiftedSees, ByteOrderMarkFix(context));
  } else {
    context.Add(role.notAtStart, key + " stands after other text in the line " + QuotedLine(used.text),
                role.shiftedSees, role.notAtStartFix);
  }
  return false;
}

void CheckArchiveKey(Context& context, const KeyLines& lines) {
  KeyRole role;
  role.key = kArchiveKey;
  role.noun = "the archive key";
  role.caseError = ProblemKind::kArchiveKeyCase;
  role.caseIgnored = ProblemKind::kArchiveKeyCaseIgnored;
  role.missing = ProblemKind::kArchiveKeyMissing;
  role.overridden = ProblemKind::kArchiveKeyOverridden;
  role.notAtStart = ProblemKind::kArchiveKeyNotAtStart;
  role.missingSees = "an empty Data Source, then " + UnpackingFailedMessage();
  role.missingFix =
      "add the line " + std::string(kArchiveKey) + context.Name() + kArchiveExtension + " naming the archive";
  role.caseFix = "write the key as ZIPFILE: in capitals, or remove the line";
  role.shiftedSees = "the value is taken from the line's 9th character on: Data Source ends in " +
                     Quoted(context.Summary().archiveValue) + ", which names no archive, then " +
                     UnpackingFailedMessage();
  role.notAtStartFix = "start the line with ZIPFILE:, or remove the key from the line (a note must not quote it)";
  if (CheckKeyLines(context, lines, role)) CheckArchiveValue(context);
}

}  // namespace

void CheckDescriptor(Context& context) {
  PackageSummary& summary = context.Summary();
  const std::string descriptorName = context.Name() + kDescriptorExtension;
  summary.descriptorPath = context.InFolder(descriptorName);
  PackageDescriptor descriptor;
  const CString path(summary.descriptorPath);
  // A folder of that name opens here but not on Windows.
  if (!IsFile(summary.descriptorPath) || !ReadPackageDescriptor(path, descriptor)) {
    context.Add(ProblemKind::kDescriptorMissing, descriptorName + " cannot be opened",
                std::string("after \"I Agree\": \"") + TEXT_CANNOT_INITIALIZE + "\", and the program ends",
                "write " + descriptorName + " with a ZIPFILE: and a FILESIZE: line (setup-pack build does)");
    return;
  }
  summary.descriptorRead = true;
  const DescriptorLines lines = ScanDescriptor(summary.descriptorPath);

  // The reader joins its folder (none, on this machine's paths, unless the
  // folder's path holds a backslash) and the value.
  const std::string readerFolder = ProgramFolder(path).str();
  summary.hasArchiveKey = lines.archive.found;
  summary.archiveValue =
      descriptor.zipPath.str().substr(std::min(readerFolder.size(), descriptor.zipPath.str().size()));
  if (lines.archive.found) summary.archivePath = HostPath(context.Dir(), summary.archiveValue);
  summary.hasSize = descriptor.hasSize;
  summary.requiredKB = descriptor.requiredKB;
  summary.requiredMB = SizeInMegabytes(descriptor.requiredKB);

  CheckArchiveKey(context, lines.archive);
}

void CheckDescriptorSize(Context& context) {
  const PackageSummary& summary = context.Summary();
  if (!summary.descriptorRead) return;
  const KeyLines lines = ScanDescriptor(summary.descriptorPath).size;
  const std::string figure =
      std::string(kSizeKey) + (summary.archiveRead ? std::to_string(summary.unpackedKB) : "<kilobytes>");
  KeyRole role;
  role.key = kSizeKey;
  role.noun = "the size key";
  role.caseError = ProblemKind::kSizeKeyCase;
  role.caseIgnored = ProblemKind::kSizeKeyCaseIgnored;
  role.missing = ProblemKind::kSizeKeyMissing;
  role.overridden = ProblemKind::kSizeKeyOverridden;
  role.notAtStart = ProblemKind::kSizeKeyNotAtStart;
  role.missingSees = "no size to check the free space against: the installation may run out of disk space";
  role.missingFix = "add the line " + figure;
  role.caseFix = "write the key as FILESIZE: in capitals (" + figure + "), or remove the line";
  role.shiftedSees = "the size is read from the line's 10th character on, as " + std::to_string(summary.requiredKB) +
                     " KB: the free-space check tests the wrong figure";
  role.notAtStartFix = "put FILESIZE: on a line of its own, at its start (" + figure + ")";
  if (!CheckKeyLines(context, lines, role)) return;
  if (!StartsWithNumber(lines.value)) {
    context.Add(ProblemKind::kSizeNotANumber, "the FILESIZE: value " + Quoted(lines.value) + " is not a number",
                "the size is read as 0 KB: the free-space check always passes, and the installation may run out of "
                "disk space",
                "write the size in kilobytes as digits (" + figure + ")");
  } else if (summary.requiredKB < 0) {
    context.Add(ProblemKind::kSizeNegative, "the FILESIZE: value " + Quoted(lines.value) + " is negative",
                "the size counts as 0 KB: the free-space check always passes, and the installation may run out of "
                "disk space",
                "write the unpacked size in kilobytes (" + figure + ")");
  } else if (summary.archiveRead && static_cast<std::uint64_t>(summary.requiredKB) < summary.unpackedKB) {
    context.Add(ProblemKind::kSizeTooSmall,
                "FILESIZE: gives " + std::to_string(summary.requiredKB) + " KB, the archive unpacks to " +
                    std::to_string(summary.unpackedKB) + " KB (in 4 KiB clusters)",
                "the free-space check passes on a drive too small for the package, and the installation runs out of "
                "disk space",
                "write " + figure);
  }
}

}  // namespace kit::check
