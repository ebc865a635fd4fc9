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

void CheckArchiveKey(Context& context, const KeyLines& lines) {
  for (const std::string& line : lines.otherCase) {
    context.Add(ProblemKind::kArchiveKeyCase,
                "the line " + QuotedLine(line) + " holds the archive key in other letter case" +
                    (lines.found ? "" : ", and no line holds ZIPFILE: in capitals"),
                lines.found ? "nothing from this line: the program ignores it, so it names no archive"
                            : "an empty Data Source, then " + UnpackingFailedMessage(),
                "write the key as ZIPFILE: in capitals, or remove the line");
  }
  if (!lines.found) {
    if (lines.otherCase.empty()) {
      context.Add(
          ProblemKind::kArchiveKeyMissing,
          "no line holds ZIPFILE:", "an empty Data Source, then " + UnpackingFailedMessage(),
          "add the line " + std::string(kArchiveKey) + context.Name() + kArchiveExtension + " naming the archive");
    }
    return;
  }
  for (size_t i = 0; i < lines.notAtStart.size(); ++i) {
    const std::string& line = lines.notAtStart[i];
    const bool used = lines.lastNotAtStart && i + 1 == lines.notAtStart.size();
    context.Add(ProblemKind::kArchiveKeyNotAtStart, "ZIPFILE: stands after other text in the line " + QuotedLine(line),
                used ? "the value is taken from the line's 9th character on: Data Source ends in " +
                           Quoted(context.Summary().archiveValue) + ", which names no archive, then " +
                           UnpackingFailedMessage()
                     : "nothing yet, as a later line replaces this value; any edit that makes it the last breaks the "
                       "archive path",
                "start the line with ZIPFILE:, or remove the key from the line (a note must not quote it)");
  }
  if (lines.lastNotAtStart) return;
  CheckArchiveValue(context);
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
  for (const std::string& line : lines.otherCase) {
    context.Add(ProblemKind::kSizeKeyCase,
                "the line " + QuotedLine(line) + " holds the size key in other letter case" +
                    (lines.found ? "" : ", and no line holds FILESIZE: in capitals"),
                lines.found ? "nothing from this line: the program ignores it"
                            : "no size to check the free space against: the installation may run out of disk space",
                "write the key as FILESIZE: in capitals (" + figure + "), or remove the line");
  }
  if (!lines.found) {
    if (lines.otherCase.empty()) {
      context.Add(ProblemKind::kSizeKeyMissing, "no line holds FILESIZE:",
                  "no size to check the free space against: the installation may run out of disk space",
                  "add the line " + figure);
    }
    return;
  }
  for (size_t i = 0; i < lines.notAtStart.size(); ++i) {
    const std::string& line = lines.notAtStart[i];
    const bool used = lines.lastNotAtStart && i + 1 == lines.notAtStart.size();
    context.Add(ProblemKind::kSizeKeyNotAtStart, "FILESIZE: stands after other text in the line " + QuotedLine(line),
                used ? "the size is read from the line's 10th character on, as " + std::to_string(summary.requiredKB) +
                           " KB: the free-space check tests the wrong figure"
                     : "nothing yet, as a later line replaces this size; any edit that makes it the last breaks the "
                       "check",
                "put FILESIZE: on a line of its own, at its start (" + figure + ")");
  }
  if (lines.lastNotAtStart) return;
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
