#include "kit/pack_check.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <ostream>
#include <system_error>

#include "kit/exit_status.h"
#include "kit/package_files.h"
#include "kit/templates.h"
#include "kit/zip_archive.h"
#include "package/descriptor.h"
#include "package/key_line.h"
#include "package/program_folder.h"
#include "package/text_mode_reader.h"
#include "res/texts.h"
#include "run/command_line.h"
#include "setup/install_request.h"

namespace kit {

namespace {

namespace fs = std::filesystem;

const std::vector<ProblemInfo> kProblems = {
    {ProblemKind::kProgramMissing, "E-PROGRAM-MISSING", Severity::kError},
    {ProblemKind::kDescriptorMissing, "E-DESCRIPTOR-MISSING", Severity::kError},
    {ProblemKind::kArchiveKeyMissing, "E-ZIPFILE-MISSING", Severity::kError},
    {ProblemKind::kArchiveKeyCase, "E-ZIPFILE-CASE", Severity::kError},
    {ProblemKind::kArchiveKeyNotAtStart, "E-ZIPFILE-NOT-AT-START", Severity::kError},
    {ProblemKind::kArchiveValueBlanks, "E-ZIPFILE-BLANKS", Severity::kError},
    {ProblemKind::kArchiveValueAbsolute, "E-ZIPFILE-ABSOLUTE", Severity::kError},
    {ProblemKind::kArchiveNoFile, "E-ZIPFILE-NO-FILE", Severity::kError},
    {ProblemKind::kSizeKeyMissing, "E-FILESIZE-MISSING", Severity::kError},
    {ProblemKind::kSizeKeyCase, "E-FILESIZE-CASE", Severity::kError},
    {ProblemKind::kSizeKeyNotAtStart, "E-FILESIZE-NOT-AT-START", Severity::kError},
    {ProblemKind::kSizeNotANumber, "E-FILESIZE-NOT-A-NUMBER", Severity::kError},
    {ProblemKind::kSizeNegative, "E-FILESIZE-NEGATIVE", Severity::kError},
    {ProblemKind::kSizeTooSmall, "E-FILESIZE-TOO-SMALL", Severity::kError},
    {ProblemKind::kUnpackerMissing, "E-UNZIP-MISSING", Severity::kError},
    {ProblemKind::kArchiveUnreadable, "E-ARCHIVE-UNREADABLE", Severity::kError},
    {ProblemKind::kArchiveUnsafeEntry, "E-ARCHIVE-UNSAFE-ENTRY", Severity::kError},
    {ProblemKind::kCommandTooLong, "E-COMMAND-TOO-LONG", Severity::kError},
    {ProblemKind::kWelcomeMissing, "W-WELCOME-MISSING", Severity::kWarning},
    {ProblemKind::kWelcomeNoKeys, "E-WELCOME-NO-KEYS", Severity::kError},
    {ProblemKind::kWelcomeLineEmpty, "W-WELCOME-LINE-EMPTY", Severity::kWarning},
    {ProblemKind::kWelcomePlaceholder, "E-WELCOME-PLACEHOLDER", Severity::kError},
    {ProblemKind::kLicenceMissing, "E-LICENCE-MISSING", Severity::kError},
    {ProblemKind::kLicenceEmpty, "E-LICENCE-EMPTY", Severity::kError},
    {ProblemKind::kLicencePlaceholder, "E-LICENCE-PLACEHOLDER", Severity::kError},
};

// Where the check assumes the package and the installation folder to be on
// the end user's machine, for the length of the unpacker's command line: a
// package unpacked into the downloads of a user with a long name, and an
// installation folder under the programs' folder, named after the package.
constexpr const char kTypicalUserName[] = "Firstname.Lastname20";
constexpr size_t kTypicalUserNameLength = 20;
static_assert(sizeof kTypicalUserName - 1 == kTypicalUserNameLength, "a user name of typical greatest length");
const std::string kTypicalDownloads = std::string("C:\\Users\\") + kTypicalUserName + "\\Downloads\\";
constexpr const char kTypicalInstallParent[] = "C:\\Program Files\\";
constexpr const char kTypicalInstallSuffix[] = " Data";

constexpr char kWindowsSeparator = '\\';
constexpr char kHostSeparator = '/';
constexpr const char kParentSegment[] = "..";
const char* const kWelcomeNames[] = {"first", "second", "third"};
// The text of a line quoted in a problem is cut after this many characters.
constexpr size_t kQuotedLineLength = 60;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

// A text as printed in a problem: in double quotes, control characters
// written out, long lines cut.
std::string Quoted(const std::string& text, size_t limit = std::string::npos) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == limit) {
      out += "...";
      break;
    }
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch == '\r') {
      out += "\\r";
    } else if (ch == '\t') {
      out += "\\t";
    } else if (ch < kFirstPrintable || ch == kDelete) {
      char escaped[sizeof "\\x00"];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", ch);
      out += escaped;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + "\"";
}

std::string QuotedLine(const std::string& line) { return Quoted(line, kQuotedLineLength); }

// The program's message for a failed unpacking, its exit code left open.
std::string UnpackingFailedMessage() {
  constexpr const char kCodeField[] = "%lu";
  std::string text = TEXT_UNZIP_FAILED;
  const size_t field = text.find(kCodeField);
  if (field != std::string::npos) text.replace(field, std::strlen(kCodeField), "<code>");
  return "after Install: \"" + text + "\"";
}

std::string Lower(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

// True when `line` holds `key` with at least one letter in another case.
bool HoldsKeyInOtherCase(const std::string& line, const std::string& key) {
  const std::string lowerLine = Lower(line);
  const std::string lowerKey = Lower(key);
  for (size_t at = lowerLine.find(lowerKey); at != std::string::npos; at = lowerLine.find(lowerKey, at + 1)) {
    if (line.compare(at, key.size(), key) != 0) return true;
  }
  return false;
}

// The lines of the descriptor that hold one key, read as the program reads
// them.
struct KeyLines {
  bool found = false;  // a line holds the key exactly
  std::string value;   // the value of the last such line: the one the program uses
  bool lastNotAtStart = false;
  std::vector<std::string> notAtStart;  // lines where the key stands after other text
  std::vector<std::string> otherCase;   // lines holding the key in other letter case
};

struct DescriptorLines {
  KeyLines archive;
  KeyLines size;
};

// One step of the program's reading of a line: when `line` holds `key`, it
// is replaced by the key's value. `raw` is the whole line, for quoting.
void TakeKey(CString& line, const char* key, const std::string& raw, KeyLines& lines) {
  const int at = line.Find(key);
  if (!TakeKeyValue(line, key)) return;
  lines.found = true;
  lines.value = line.str();
  lines.lastNotAtStart = at > 0;
  if (at > 0) lines.notAtStart.push_back(raw);
}

// Goes through the descriptor's lines with the program's reader, in the
// program's order (the size key is looked for in what the archive key left
// of the line), noting where each key stands.
DescriptorLines ScanDescriptor(const std::string& path) {
  DescriptorLines lines;
  TextModeReader reader(kDescriptorReadSize);
  if (!reader.Open(path.c_str())) return lines;
  CString piece;
  while (reader.ReadPiece(piece)) {
    StripLineEnd(piece);
    const std::string raw = piece.str();
    if (HoldsKeyInOtherCase(raw, kArchiveKey)) lines.archive.otherCase.push_back(raw);
    if (HoldsKeyInOtherCase(raw, kSizeKey)) lines.size.otherCase.push_back(raw);
    CString line = piece;
    TakeKey(line, kArchiveKey, raw, lines.archive);
    TakeKey(line, kSizeKey, raw, lines.size);
  }
  return lines;
}

bool OpensForReading(const std::string& path) {
  constexpr int kSmallestBuffer = 2;  // only opened, never read
  TextModeReader reader(kSmallestBuffer);
  return reader.Open(path.c_str());
}

bool IsFile(const std::string& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// The program joins its folder and the "ZIPFILE:" value; on this machine the
// value's backslashes are folder separators.
std::string HostPath(const std::string& packageDir, const std::string& value) {
  std::string path = packageDir + kHostSeparator + value;
  for (char& ch : path) {
    if (ch == kWindowsSeparator) ch = kHostSeparator;
  }
  return path;
}

bool IsSeparator(char ch) { return ch == kWindowsSeparator || ch == kHostSeparator; }

bool StartsWithDriveLetter(const std::string& text) {
  return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) != 0 && text[1] == ':';
}

bool IsAbsolute(const std::string& value) {
  return StartsWithDriveLetter(value) || (!value.empty() && IsSeparator(value[0]));
}

bool HasBlanksAround(const std::string& value) {
  return !value.empty() && (IsTrimSpace(value.front()) || IsTrimSpace(value.back()));
}

// An entry the unpacker would write outside the installation folder: a
// ".." segment, a path from the root, or a drive letter.
bool LandsOutsideFolder(const std::string& name) {
  if (IsAbsolute(name)) return true;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (name.compare(start, end - start, kParentSegment) == 0) return true;
    start = end + 1;
  }
  return false;
}

// The "FILESIZE:" value gives a number when digits follow the white space
// and the sign, as the number rule reads them.
bool StartsWithNumber(const std::string& value) {
  size_t at = 0;
  while (at < value.size() && IsTrimSpace(value[at])) ++at;
  if (at < value.size() && (value[at] == '+' || value[at] == '-')) ++at;
  return at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])) != 0;
}

std::string PackageFolderName(const std::string& packageDir) {
  std::error_code ignored;
  fs::path path = fs::absolute(packageDir, ignored).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  return path.filename().string();
}

class Checker {
 public:
  Checker(const std::string& packageDir, const std::string& name) : m_dir(packageDir), m_name(name) {
    while (m_dir.size() > 1 && m_dir.back() == kHostSeparator) m_dir.pop_back();
    m_report.summary.packageDir = m_dir;
  }

  CheckReport Run() {
    CheckProgram();
    CheckDescriptor();
    CheckUnpacker();
    CheckCommandLine();
    CheckScreenTexts();
    return m_report;
  }

 private:
  PackageSummary& Summary() { return m_report.summary; }

  void Add(ProblemKind kind, std::string what, std::string userSees, std::string fix) {
    m_report.problems.push_back({kind, std::move(what), std::move(userSees), std::move(fix)});
  }

  std::string InFolder(const std::string& fileName) const { return m_dir + kHostSeparator + fileName; }

  void CheckProgram() {
    const std::string program = m_name + kProgramExtension;
    if (IsFile(InFolder(program))) return;
    Add(ProblemKind::kProgramMissing, "the package folder holds no " + program,
        "nothing to start: the descriptor is found by the program's own name, " + m_name + kDescriptorExtension,
        "copy the program into the folder as " + program + " (setup-pack build --program EXE)");
  }

  void CheckDescriptor() {
    const std::string descriptorName = m_name + kDescriptorExtension;
    Summary().descriptorPath = InFolder(descriptorName);
    PackageDescriptor descriptor;
    const CString path(Summary().descriptorPath);
    // A folder of that name opens here but not on Windows.
    if (!IsFile(Summary().descriptorPath) || !ReadPackageDescriptor(path, descriptor)) {
      Add(ProblemKind::kDescriptorMissing, descriptorName + " cannot be opened",
          std::string("after \"I Agree\": \"") + TEXT_CANNOT_INITIALIZE + "\", and the program ends",
          "write " + descriptorName + " with a ZIPFILE: and a FILESIZE: line (setup-pack build does)");
      return;
    }
    Summary().descriptorRead = true;
    const DescriptorLines lines = ScanDescriptor(Summary().descriptorPath);

    // The reader joins its folder (none, on this machine's paths, unless the
    // folder's path holds a backslash) and the value.
    const std::string readerFolder = ProgramFolder(path).str();
    Summary().hasArchiveKey = lines.archive.found;
    Summary().archiveValue =
        descriptor.zipPath.str().substr(std::min(readerFolder.size(), descriptor.zipPath.str().size()));
    if (lines.archive.found) Summary().archivePath = HostPath(m_dir, Summary().archiveValue);
    Summary().hasSize = descriptor.hasSize;
    Summary().requiredKB = descriptor.requiredKB;
    Summary().requiredMB = SizeInMegabytes(descriptor.requiredKB);

    CheckArchiveKey(lines.archive);
    CheckSizeKey(lines.size);
  }

  void CheckArchiveKey(const KeyLines& lines) {
    for (const std::string& line : lines.otherCase) {
      Add(ProblemKind::kArchiveKeyCase,
          "the line " + QuotedLine(line) + " holds the archive key in other letter case" +
              (lines.found ? "" : ", and no line holds ZIPFILE: in capitals"),
          lines.found ? "nothing from this line: the program ignores it, so it names no archive"
                      : "an empty Data Source, then " + UnpackingFailedMessage(),
          "write the key as ZIPFILE: in capitals, or remove the line");
    }
    if (!lines.found) {
      if (lines.otherCase.empty()) {
        Add(ProblemKind::kArchiveKeyMissing,
            "no line holds ZIPFILE:", "an empty Data Source, then " + UnpackingFailedMessage(),
            "add the line " + std::string(kArchiveKey) + m_name + kArchiveExtension + " naming the archive");
      }
      return;
    }
    for (size_t i = 0; i < lines.notAtStart.size(); ++i) {
      const std::string& line = lines.notAtStart[i];
      const bool used = lines.lastNotAtStart && i + 1 == lines.notAtStart.size();
      Add(ProblemKind::kArchiveKeyNotAtStart, "ZIPFILE: stands after other text in the line " + QuotedLine(line),
          used ? "the value is taken from the line's 9th character on: Data Source ends in " +
                     Quoted(Summary().archiveValue) + ", which names no archive, then " + UnpackingFailedMessage()
               : "nothing yet, as a later line replaces this value; any edit that makes it the last breaks the archive "
                 "path",
          "start the line with ZIPFILE:, or remove the key from the line (a note must not quote it)");
    }
    if (lines.lastNotAtStart) return;
    CheckArchiveValue();
  }

  void CheckArchiveValue() {
    const std::string& value = Summary().archiveValue;
    const std::string shown = "the program folder + " + Quoted(value);
    if (HasBlanksAround(value)) {
      Add(ProblemKind::kArchiveValueBlanks, "the ZIPFILE: value " + Quoted(value) + " has white space around it",
          "the blanks become part of the archive's path: Data Source is " + shown + ", which names no archive, then " +
              UnpackingFailedMessage(),
          "remove the white space between ZIPFILE: and the name and after the name");
      return;
    }
    if (IsAbsolute(value)) {
      Add(ProblemKind::kArchiveValueAbsolute, "the ZIPFILE: value " + Quoted(value) + " is an absolute path",
          "the program puts it behind its own folder: Data Source is " + shown + ", which names no file, then " +
              UnpackingFailedMessage(),
          "name the archive relative to the package folder, such as " + std::string(kArchiveKey) + m_name +
              kArchiveExtension);
      return;
    }
    if (!IsFile(Summary().archivePath)) {
      Add(ProblemKind::kArchiveNoFile,
          "the ZIPFILE: value " + Quoted(value) + " names no file: " + Summary().archivePath + " is not there",
          "the unpacker finds no archive: " + UnpackingFailedMessage() + ", and nothing is installed",
          "put the archive there, or correct the ZIPFILE: value (names are matched in their letter case)");
      return;
    }
    CheckArchiveContents();
  }

  void CheckArchiveContents() {
    std::vector<ArchiveEntry> entries;
    std::string error;
    if (!ReadArchive(Summary().archivePath, entries, error)) {
      Add(ProblemKind::kArchiveUnreadable, Summary().archivePath + " cannot be read as an archive: " + error,
          UnpackingFailedMessage() + ", and nothing (or only a part) is installed",
          "build the archive again (setup-pack build)");
      return;
    }
    Summary().archiveRead = true;
    std::uint64_t bytes = 0;
    for (const ArchiveEntry& entry : entries) {
      if (!entry.isFolder) ++Summary().archiveFiles;
      bytes += ClusterRoundedBytes(entry.size);
      if (LandsOutsideFolder(entry.name)) {
        Add(ProblemKind::kArchiveUnsafeEntry,
            "the archive's entry " + Quoted(entry.name) + " names a place outside the installation folder",
            "the file is not installed where the package means it to be: the unpacker writes it outside the "
            "folder, or strips its path",
            "name every entry relative to the data folder, without \"..\", a leading slash or a drive letter "
            "(setup-pack build does)");
      }
    }
    Summary().unpackedKB = KilobytesRoundedUp(bytes);
  }

  void CheckSizeKey(const KeyLines& lines) {
    const std::string figure =
        std::string(kSizeKey) + (Summary().archiveRead ? std::to_string(Summary().unpackedKB) : "<kilobytes>");
    for (const std::string& line : lines.otherCase) {
      Add(ProblemKind::kSizeKeyCase,
          "the line " + QuotedLine(line) + " holds the size key in other letter case" +
              (lines.found ? "" : ", and no line holds FILESIZE: in capitals"),
          lines.found ? "nothing from this line: the program ignores it"
                      : "no size to check the free space against: the installation may run out of disk space",
          "write the key as FILESIZE: in capitals (" + figure + "), or remove the line");
    }
    if (!lines.found) {
      if (lines.otherCase.empty()) {
        Add(ProblemKind::kSizeKeyMissing, "no line holds FILESIZE:",
            "no size to check the free space against: the installation may run out of disk space",
            "add the line " + figure);
      }
      return;
    }
    for (size_t i = 0; i < lines.notAtStart.size(); ++i) {
      const std::string& line = lines.notAtStart[i];
      const bool used = lines.lastNotAtStart && i + 1 == lines.notAtStart.size();
      Add(ProblemKind::kSizeKeyNotAtStart, "FILESIZE: stands after other text in the line " + QuotedLine(line),
          used ? "the size is read from the line's 10th character on, as " + std::to_string(Summary().requiredKB) +
                     " KB: the free-space check tests the wrong figure"
               : "nothing yet, as a later line replaces this size; any edit that makes it the last breaks the check",
          "put FILESIZE: on a line of its own, at its start (" + figure + ")");
    }
    if (lines.lastNotAtStart) return;
    if (!StartsWithNumber(lines.value)) {
      Add(ProblemKind::kSizeNotANumber, "the FILESIZE: value " + Quoted(lines.value) + " is not a number",
          "the size is read as 0 KB: the free-space check always passes, and the installation may run out of "
          "disk space",
          "write the size in kilobytes as digits (" + figure + ")");
    } else if (Summary().requiredKB < 0) {
      Add(ProblemKind::kSizeNegative, "the FILESIZE: value " + Quoted(lines.value) + " is negative",
          "the size counts as 0 KB: the free-space check always passes, and the installation may run out of "
          "disk space",
          "write the unpacked size in kilobytes (" + figure + ")");
    } else if (Summary().archiveRead && static_cast<std::uint64_t>(Summary().requiredKB) < Summary().unpackedKB) {
      Add(ProblemKind::kSizeTooSmall,
          "FILESIZE: gives " + std::to_string(Summary().requiredKB) + " KB, the archive unpacks to " +
              std::to_string(Summary().unpackedKB) + " KB (in 4 KiB clusters)",
          "the free-space check passes on a drive too small for the package, and the installation runs out of "
          "disk space",
          "write " + figure);
    }
  }

  void CheckUnpacker() {
    if (IsFile(InFolder(kUnpackerFileName))) return;
    Add(ProblemKind::kUnpackerMissing, "the package folder holds no " + kUnpackerFileName,
        std::string("after Install: \"") + TEXT_UNZIP_ERROR + "\", and nothing is installed",
        "copy the unpacker into the folder as " + kUnpackerFileName + " (setup-pack build --unzip EXE)");
  }

  void CheckCommandLine() {
    PackageSummary& s = Summary();
    s.typicalProgramFolder = kTypicalDownloads + PackageFolderName(m_dir) + kWindowsSeparator;
    s.typicalInstallFolder = kTypicalInstallParent + m_name + kTypicalInstallSuffix;
    const CString unzipPath(s.typicalProgramFolder + kUnpackerName);
    const CString archivePath(s.typicalProgramFolder + s.archiveValue);
    const CString installFolder(s.typicalInstallFolder);
    char line[kCommandLineSize];
    s.commandFits = ComposeUnpackerCommand(unzipPath, archivePath, installFolder, line);
    s.commandLength = s.commandFits ? static_cast<int>(std::strlen(line))
                                    : std::snprintf(nullptr, 0, TEXT_UNPACKER_COMMAND_FORMAT, unzipPath.c_str(),
                                                    archivePath.c_str(), installFolder.c_str());
    if (s.commandFits) return;
    Add(ProblemKind::kCommandTooLong,
        "the unpacker's command line needs " + std::to_string(s.commandLength) + " of " +
            std::to_string(kCommandLineSize - 1) + " characters with the package in " + s.typicalProgramFolder +
            " and the folder " + s.typicalInstallFolder,
        std::string("after Install: \"") + TEXT_PATHS_TOO_LONG + "\"",
        "shorten the package folder's name, the archive's name or the package name");
  }

  void CheckScreenTexts() {
    const WelcomeLines fallback = {TEXT_WELCOME_1, TEXT_WELCOME_2, TEXT_WELCOME_3};
    const LicenceScreenTexts texts = ReadLicenceScreenTexts(CString(m_dir + kHostSeparator), fallback);
    PackageSummary& s = Summary();
    s.welcome = texts.lines;
    s.welcomeFromProgram = !OpensForReading(InFolder(kWelcomeFileName));
    s.licenceRead = OpensForReading(InFolder(kLicenceFileName));
    s.licenceLength = texts.licenceText.GetLength();
    CheckWelcome();
    CheckLicence(texts.licenceText);
  }

  void CheckWelcome() {
    const PackageSummary& s = Summary();
    if (s.welcomeFromProgram) {
      Add(ProblemKind::kWelcomeMissing, std::string("the package folder holds no ") + kWelcomeFileName,
          std::string("the program's own welcome lines, headed \"") + TEXT_WELCOME_1 + "\"",
          std::string("write ") + kWelcomeFileName + " with FIRSTLINE:, SECONDLINE: and THIRDLINE: lines, or keep " +
              "these lines if they suit the package");
      return;
    }
    const CString* lines[] = {&s.welcome.first, &s.welcome.second, &s.welcome.third};
    std::string empty;
    int emptyCount = 0;
    bool placeholder = false;
    for (size_t i = 0; i < std::size(lines); ++i) {
      if (lines[i]->IsEmpty()) {
        empty += std::string(emptyCount++ == 0 ? "" : ", ") + kWelcomeNames[i];
      }
      if (lines[i]->Find(kPlaceholderMark) >= 0) placeholder = true;
    }
    const std::string keysFix =
        "start each line of the text with its key, in capitals: FIRSTLINE:, SECONDLINE:, "
        "THIRDLINE:";
    if (emptyCount == static_cast<int>(std::size(lines))) {
      Add(ProblemKind::kWelcomeNoKeys, std::string(kWelcomeFileName) + " gives three empty welcome lines",
          "a licence screen without heading and welcome lines", keysFix);
    } else if (emptyCount > 0) {
      Add(ProblemKind::kWelcomeLineEmpty,
          std::string(kWelcomeFileName) + " leaves the " + empty + " welcome line" + (emptyCount > 1 ? "s" : "") +
              " empty",
          emptyCount > 1 || s.welcome.first.IsEmpty() ? "gaps on the licence screen" : "a gap on the licence screen",
          keysFix + "; or leave the line out if the gap is meant");
    }
    if (placeholder) {
      Add(ProblemKind::kWelcomePlaceholder,
          std::string(kWelcomeFileName) + " still holds the template's " + kPlaceholderMark + " texts",
          "the template's placeholder texts on the licence screen",
          std::string("replace every text marked ") + kPlaceholderMark + " in " + kWelcomeFileName);
    }
  }

  void CheckLicence(const CString& licenceText) {
    if (!Summary().licenceRead) {
      Add(ProblemKind::kLicenceMissing, std::string("the package folder holds no ") + kLicenceFileName,
          "an empty licence text above \"I Agree\"",
          std::string("write the licence into ") + kLicenceFileName + " (setup-pack build --licence FILE)");
    } else if (licenceText.IsEmpty()) {
      Add(ProblemKind::kLicenceEmpty, std::string(kLicenceFileName) + " gives an empty licence text",
          "an empty licence text above \"I Agree\"", std::string("write the licence into ") + kLicenceFileName);
    } else if (licenceText.Find(kPlaceholderMark) >= 0) {
      Add(ProblemKind::kLicencePlaceholder,
          std::string(kLicenceFileName) + " still holds the template's placeholder licence",
          "the template's placeholder text in place of the licence",
          std::string("replace the text of ") + kLicenceFileName + " with the package's licence");
    }
  }

  std::string m_dir;
  std::string m_name;
  CheckReport m_report;
};

const char* VerdictText(const CheckReport& report) {
  return report.ErrorCount() == 0 ? "the package will install as meant" : "fix the errors before the package ships";
}

std::string Counted(int count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

const ProblemInfo& InfoOf(ProblemKind kind) {
  for (const ProblemInfo& info : kProblems) {
    if (info.kind == kind) return info;
  }
  return kProblems.front();  // every kind is in the table
}

const std::vector<ProblemInfo>& AllProblems() { return kProblems; }

int CheckReport::ErrorCount() const {
  int count = 0;
  for (const Problem& problem : problems) count += InfoOf(problem.kind).severity == Severity::kError ? 1 : 0;
  return count;
}

int CheckReport::WarningCount() const { return static_cast<int>(problems.size()) - ErrorCount(); }

int CheckReport::ExitStatus() const { return ErrorCount() == 0 ? kExitInstallsAsMeant : kExitHasProblems; }

CheckReport CheckPackage(const std::string& packageDir, const std::string& name) {
  return Checker(packageDir, name).Run();
}

void PrintReport(const CheckReport& report, std::ostream& out) {
  const PackageSummary& s = report.summary;
  out << "Package folder:   " << s.packageDir << "\n";
  out << "Descriptor:       " << s.descriptorPath << (s.descriptorRead ? "" : " (cannot be opened)") << "\n";
  if (s.descriptorRead) {
    out << "Data Source:      " << (s.hasArchiveKey ? s.archivePath : "(empty: no ZIPFILE: line)") << "\n";
    out << "Required space:   ";
    if (s.hasSize) {
      out << s.requiredKB << " KB (" << s.requiredMB << " MB)\n";
    } else {
      out << "(no FILESIZE: line)\n";
    }
  }
  out << "Archive:          ";
  if (s.archiveRead) {
    out << Counted(static_cast<int>(s.archiveFiles), "file") << ", " << s.unpackedKB
        << " KB unpacked in 4 KiB clusters\n";
  } else {
    out << "(not read)\n";
  }
  if (s.welcomeFromProgram) out << "Welcome lines:    the program's own (no display.txt)\n";
  out << "Welcome line 1:   " << s.welcome.first.str() << "   (also the heading)\n";
  out << "Welcome line 2:   " << s.welcome.second.str() << "\n";
  out << "Welcome line 3:   " << s.welcome.third.str() << "\n";
  out << "Licence text:     " << s.licenceLength << " characters, line ends as CR CR LF"
      << (s.licenceRead ? "" : " (no shrinkli.txt)") << "\n";
  out << "Unpacker command: " << s.commandLength << " of " << kCommandLineSize - 1 << " characters with the package in "
      << s.typicalProgramFolder << " and the folder " << s.typicalInstallFolder << "\n";
  out << "\n";
  for (const Problem& problem : report.problems) {
    out << InfoOf(problem.kind).code << ": " << problem.what << " | end user: " << problem.userSees
        << " | fix: " << problem.fix << "\n";
  }
  out << Counted(report.ErrorCount(), "error") << ", " << Counted(report.WarningCount(), "warning") << ": "
      << VerdictText(report) << "\n";
}

}  // namespace kit
