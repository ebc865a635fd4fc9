// `setup-pack check`: reads a package folder with the program's own readers
// and reports what the program will show and every problem of the package.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "kit/branding/program_face.h"
#include "package/licence_texts.h"

namespace kit {

enum class Severity {
  kError,    // the installation goes wrong or the screens show wrong text
  kWarning,  // cosmetic: the package still installs as meant
};

// Every problem the check knows. Each has a stable code, printed with it.
enum class ProblemKind {
  kProgramMissing,
  kProgramNotPe,
  kProgramTruncated,
  kProgram64Bit,
  kProgramNotX86,
  kProgramConsole,
  kDescriptorMissing,
  kArchiveKeyMissing,
  kArchiveKeyCase,
  kArchiveKeyCaseIgnored,
  kArchiveKeyOverridden,
  kArchiveKeyNotAtStart,
  kArchiveValueBlanks,
  kArchiveValueAbsolute,
  kArchiveNoFile,
  kSizeKeyMissing,
  kSizeKeyCase,
  kSizeKeyCaseIgnored,
  kSizeKeyOverridden,
  kSizeKeyNotAtStart,
  kSizeNotANumber,
  kSizeNegative,
  kSizeTooSmall,
  kUnpackerMissing,
  kUnpackerNotPe,
  kUnpackerTruncated,
  kUnpacker64Bit,
  kUnpackerNotX86,
  kUnpackerGui,
  kArchiveUnreadable,
  kArchiveUnsafeEntry,
  kNameCharacter,
  kNameReserved,
  kNameTrailing,
  kNameVersion,
  kNameNotUtf8,
  kNameCase,
  kPathTooLong,
  kArchiveMethod,
  kArchiveUnchecked,
  kArchiveLink,
  kArchiveAttributes,
  kCommandTooLong,
  kWelcomeMissing,
  kWelcomeNoKeys,
  kWelcomeLineEmpty,
  kWelcomePlaceholder,
  kLicenceMissing,
  kLicenceEmpty,
  kLicencePlaceholder,
  kProgramUnsigned,
  kProgramSignatureUnchecked,
  kProgramSignatureUnreadable,
  kProgramSignatureMismatch,
  kProgramCertificateExpired,
  kProgramCertificateNotYetValid,
  kUnpackerUnsigned,
  kUnpackerSignatureUnchecked,
  kUnpackerSignatureUnreadable,
  kUnpackerSignatureMismatch,
  kUnpackerCertificateExpired,
  kUnpackerCertificateNotYetValid,
  kProgramResources,
  kLogoBuiltIn,
  kLogoSize,
  kIconBuiltIn,
  kCompanyBuiltIn,
};

struct ProblemInfo {
  ProblemKind kind;
  const char* code;
  Severity severity;
};

// The fixed code and class of a kind.
const ProblemInfo& InfoOf(ProblemKind kind);

// Every kind, in the order of the enumeration (for the help text).
const std::vector<ProblemInfo>& AllProblems();

struct Problem {
  ProblemKind kind;
  std::string what;      // what is wrong, with the offending text
  std::string userSees;  // what the end user would see
  std::string fix;       // how to fix it
};

// The problem on one line, its code first: as the check's report prints it
// and as the build prints a refusal of the data folder's names.
std::string ProblemLine(const Problem& problem);

enum class SignatureState {
  kUnsigned,    // no certificate table
  kSigned,      // a signature osslsigncode read
  kUnreadable,  // a certificate table, but no signature osslsigncode can read
  kUnchecked,   // a certificate table, but osslsigncode did not run
};

// What the check read of the signature of NAME.exe or unzip.exe.
struct SignatureSummary {
  std::string fileName;
  SignatureState state = SignatureState::kUnsigned;
  std::string why;  // kUnreadable, kUnchecked: why
  // kSigned: the signer's certificate, as osslsigncode prints it; the dates
  // as "2026-12-11 14:12:31 UTC", empty when it printed none.
  std::string subject;
  std::string issuer;
  std::string validFrom;
  std::string validTo;
  std::string timestamp;  // empty: not timestamped
  std::string description;
  std::string url;
  bool matchesFile = true;     // false: the file was changed after it was signed
  bool chainVerified = false;  // to a root of this machine's certificate store
  std::string chainProblem;    // why not, in OpenSSL's words
};

// What the program will read and show from the package folder.
struct PackageSummary {
  std::string packageDir;
  std::string descriptorPath;
  bool descriptorRead = false;

  bool hasArchiveKey = false;
  std::string archiveValue;  // the "ZIPFILE:" value as the program takes it
  std::string archivePath;   // the file the program opens, as a path on this machine
  bool hasSize = false;
  long requiredKB = 0;
  long requiredMB = 0;

  bool archiveRead = false;
  std::uint64_t archiveFiles = 0;
  std::uint64_t unpackedKB = 0;  // the entries' sizes in whole clusters

  WelcomeLines welcome;             // as shown: leading white space trimmed
  bool welcomeFromProgram = false;  // display.txt missing: the program's own lines
  bool licenceRead = false;
  int licenceLength = 0;  // characters shown, line ends as CR CR LF

  // The unpacker's command line with the package at a typical place.
  std::string typicalProgramFolder;
  std::string typicalInstallFolder;
  int commandLength = 0;  // characters the line needs
  bool commandFits = false;
  // The command line that installs the package silently into the typical
  // installation folder.
  std::string silentCommand;

  // The programs' signatures, of those that are Windows programs.
  std::vector<SignatureSummary> signatures;

  // NAME.exe's logo, icon and version block, when it could be read.
  bool faceRead = false;
  branding::ProgramFace face;
};

struct CheckReport {
  PackageSummary summary;
  std::vector<Problem> problems;

  int ErrorCount() const;
  int WarningCount() const;
  // kExitInstallsAsMeant without errors, else kExitHasProblems.
  int ExitStatus() const;
};

// Checks the package in `packageDir` whose program is <name>.exe.
CheckReport CheckPackage(const std::string& packageDir, const std::string& name);

// Prints the summary, then one line per problem ("<code>: <what> | end
// user: <sees> | fix: <fix>"), then a line with the verdict.
void PrintReport(const CheckReport& report, std::ostream& out);

}  // namespace kit
