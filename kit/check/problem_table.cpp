// The code and class of every problem the check knows.
#include "kit/pack_check.h"

namespace kit {

namespace {

const std::vector<ProblemInfo> kProblems = {
    {ProblemKind::kProgramMissing, "E-PROGRAM-MISSING", Severity::kError},
    {ProblemKind::kProgramNotPe, "E-PROGRAM-NOT-PE", Severity::kError},
    {ProblemKind::kProgramTruncated, "E-PROGRAM-TRUNCATED", Severity::kError},
    {ProblemKind::kProgram64Bit, "E-PROGRAM-64BIT", Severity::kError},
    {ProblemKind::kProgramNotX86, "E-PROGRAM-NOT-X86", Severity::kError},
    {ProblemKind::kProgramConsole, "W-PROGRAM-CONSOLE", Severity::kWarning},
    {ProblemKind::kDescriptorMissing, "E-DESCRIPTOR-MISSING", Severity::kError},
    {ProblemKind::kArchiveKeyMissing, "E-ZIPFILE-MISSING", Severity::kError},
    {ProblemKind::kArchiveKeyCase, "E-ZIPFILE-CASE", Severity::kError},
    {ProblemKind::kArchiveKeyCaseIgnored, "W-ZIPFILE-CASE-IGNORED", Severity::kWarning},
    {ProblemKind::kArchiveKeyOverridden, "W-ZIPFILE-OVERRIDDEN", Severity::kWarning},
    {ProblemKind::kArchiveKeyNotAtStart, "E-ZIPFILE-NOT-AT-START", Severity::kError},
    {ProblemKind::kArchiveValueBlanks, "E-ZIPFILE-BLANKS", Severity::kError},
    {ProblemKind::kArchiveValueAbsolute, "E-ZIPFILE-ABSOLUTE", Severity::kError},
    {ProblemKind::kArchiveNoFile, "E-ZIPFILE-NO-FILE", Severity::kError},
    {ProblemKind::kSizeKeyMissing, "E-FILESIZE-MISSING", Severity::kError},
    {ProblemKind::kSizeKeyCase, "E-FILESIZE-CASE", Severity::kError},
    {ProblemKind::kSizeKeyCaseIgnored, "W-FILESIZE-CASE-IGNORED", Severity::kWarning},
    {ProblemKind::kSizeKeyOverridden, "W-FILESIZE-OVERRIDDEN", Severity::kWarning},
    {ProblemKind::kSizeKeyNotAtStart, "E-FILESIZE-NOT-AT-START", Severity::kError},
    {ProblemKind::kSizeNotANumber, "E-FILESIZE-NOT-A-NUMBER", Severity::kError},
    {ProblemKind::kSizeNegative, "E-FILESIZE-NEGATIVE", Severity::kError},
    {ProblemKind::kSizeTooSmall, "E-FILESIZE-TOO-SMALL", Severity::kError},
    {ProblemKind::kUnpackerMissing, "E-UNZIP-MISSING", Severity::kError},
    {ProblemKind::kUnpackerNotPe, "E-UNZIP-NOT-PE", Severity::kError},
    {ProblemKind::kUnpackerTruncated, "E-UNZIP-TRUNCATED", Severity::kError},
    {ProblemKind::kUnpacker64Bit, "E-UNZIP-64BIT", Severity::kError},
    {ProblemKind::kUnpackerNotX86, "E-UNZIP-NOT-X86", Severity::kError},
    {ProblemKind::kUnpackerGui, "E-UNZIP-GUI", Severity::kError},
    {ProblemKind::kArchiveUnreadable, "E-ARCHIVE-UNREADABLE", Severity::kError},
    {ProblemKind::kArchiveUnsafeEntry, "E-ARCHIVE-UNSAFE-ENTRY", Severity::kError},
    {ProblemKind::kNameCharacter, "E-NAME-CHARACTER", Severity::kError},
    {ProblemKind::kNameReserved, "E-NAME-RESERVED", Severity::kError},
    {ProblemKind::kNameTrailing, "E-NAME-TRAILING", Severity::kError},
    {ProblemKind::kNameVersion, "E-NAME-VERSION", Severity::kError},
    {ProblemKind::kNameNotUtf8, "E-NAME-NOT-UTF8", Severity::kError},
    {ProblemKind::kNameCase, "E-NAME-CASE", Severity::kError},
    {ProblemKind::kPathTooLong, "E-PATH-TOO-LONG", Severity::kError},
    {ProblemKind::kArchiveMethod, "E-ARCHIVE-METHOD", Severity::kError},
    {ProblemKind::kArchiveUnchecked, "W-ARCHIVE-UNCHECKED", Severity::kWarning},
    {ProblemKind::kArchiveLink, "E-ARCHIVE-LINK", Severity::kError},
    {ProblemKind::kArchiveAttributes, "E-ARCHIVE-ATTRIBUTES", Severity::kError},
    {ProblemKind::kCommandTooLong, "E-COMMAND-TOO-LONG", Severity::kError},
    {ProblemKind::kWelcomeMissing, "W-WELCOME-MISSING", Severity::kWarning},
    {ProblemKind::kWelcomeNoKeys, "E-WELCOME-NO-KEYS", Severity::kError},
    {ProblemKind::kWelcomeLineEmpty, "W-WELCOME-LINE-EMPTY", Severity::kWarning},
    {ProblemKind::kWelcomePlaceholder, "E-WELCOME-PLACEHOLDER", Severity::kError},
    {ProblemKind::kLicenceMissing, "E-LICENCE-MISSING", Severity::kError},
    {ProblemKind::kLicenceEmpty, "E-LICENCE-EMPTY", Severity::kError},
    {ProblemKind::kLicencePlaceholder, "E-LICENCE-PLACEHOLDER", Severity::kError},
    {ProblemKind::kProgramUnsigned, "W-PROGRAM-UNSIGNED", Severity::kWarning},
    {ProblemKind::kProgramSignatureUnchecked, "W-PROGRAM-SIGNATURE-UNCHECKED", Severity::kWarning},
    {ProblemKind::kProgramSignatureUnreadable, "E-PROGRAM-SIGNATURE-UNREADABLE", Severity::kError},
    {ProblemKind::kProgramSignatureMismatch, "E-PROGRAM-SIGNATURE-MISMATCH", Severity::kError},
    {ProblemKind::kProgramCertificateExpired, "E-PROGRAM-CERT-EXPIRED", Severity::kError},
    {ProblemKind::kProgramCertificateNotYetValid, "E-PROGRAM-CERT-NOT-YET-VALID", Severity::kError},
    {ProblemKind::kUnpackerUnsigned, "W-UNZIP-UNSIGNED", Severity::kWarning},
    {ProblemKind::kUnpackerSignatureUnchecked, "W-UNZIP-SIGNATURE-UNCHECKED", Severity::kWarning},
    {ProblemKind::kUnpackerSignatureUnreadable, "E-UNZIP-SIGNATURE-UNREADABLE", Severity::kError},
    {ProblemKind::kUnpackerSignatureMismatch, "E-UNZIP-SIGNATURE-MISMATCH", Severity::kError},
    {ProblemKind::kUnpackerCertificateExpired, "E-UNZIP-CERT-EXPIRED", Severity::kError},
    {ProblemKind::kUnpackerCertificateNotYetValid, "E-UNZIP-CERT-NOT-YET-VALID", Severity::kError},
    {ProblemKind::kProgramResources, "E-PROGRAM-RESOURCES", Severity::kError},
    {ProblemKind::kLogoBuiltIn, "W-LOGO-BUILT-IN", Severity::kWarning},
    {ProblemKind::kLogoSize, "W-LOGO-SIZE", Severity::kWarning},
    {ProblemKind::kIconBuiltIn, "W-ICON-BUILT-IN", Severity::kWarning},
    {ProblemKind::kCompanyBuiltIn, "W-COMPANY-BUILT-IN", Severity::kWarning},
};

}  // namespace

const ProblemInfo& InfoOf(ProblemKind kind) {
  for (const ProblemInfo& info : kProblems) {
    if (info.kind == kind) return info;
  }
  return kProblems.front();  // every kind is in the table
}

const std::vector<ProblemInfo>& AllProblems() { return kProblems; }

}  // namespace kit
