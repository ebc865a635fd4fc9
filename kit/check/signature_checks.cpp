#include "kit/check/signature_checks.h"

#include <ctime>
#include <optional>
#include <string>

#include "kit/check/package_paths.h"
#include "kit/package_files.h"
#include "kit/pe_headers.h"
#include "kit/signing/osslsigncode.h"
#include "kit/signing/signature_time.h"
#include "kit/signing/verify_output.h"
#include "res/texts.h"

namespace kit::check {

namespace {

constexpr const char kSignFix[] =
    "sign it: setup-pack build ... --sign-pkcs12 FILE, or --sign-cert FILE --sign-key FILE (see the publisher's "
    "guide)";
constexpr const char kInvalidSees[] =
    "Windows takes the signature for invalid: \"Unknown publisher\" and the warning \"Windows protected your PC\", as "
    "for an unsigned program, or a block by antivirus programs";
constexpr const char kSignAgainFix[] =
    "sign the program again after its last change: setup-pack build ... --sign-pkcs12 FILE signs the package's "
    "programs as its last step";
constexpr const char kTimestampFix[] =
    "sign it again with a valid certificate, and with --timestamp URL, so that the signature outlasts the certificate";

// What differs between the two programs.
struct SignedRole {
  std::string fileName;
  ProblemKind isUnsigned;
  ProblemKind unchecked;
  ProblemKind unreadable;
  ProblemKind mismatch;
  ProblemKind expired;
  ProblemKind notYetValid;
  std::string unsignedSees;
};

SignedRole ProgramOf(const Context& context) {
  return {
      context.Name() + kProgramExtension,
      ProblemKind::kProgramUnsigned,
      ProblemKind::kProgramSignatureUnchecked,
      ProblemKind::kProgramSignatureUnreadable,
      ProblemKind::kProgramSignatureMismatch,
      ProblemKind::kProgramCertificateExpired,
      ProblemKind::kProgramCertificateNotYetValid,
      "when it comes from the web, Windows shows \"Windows protected your PC\" with \"Unknown publisher\" before it "
      "runs, and many end users stop there; antivirus programs treat unsigned installers with suspicion"};
}

SignedRole UnpackerOf() {
  return {kUnpackerFileName,
          ProblemKind::kUnpackerUnsigned,
          ProblemKind::kUnpackerSignatureUnchecked,
          ProblemKind::kUnpackerSignatureUnreadable,
          ProblemKind::kUnpackerSignatureMismatch,
          ProblemKind::kUnpackerCertificateExpired,
          ProblemKind::kUnpackerCertificateNotYetValid,
          std::string("antivirus programs and the rules of managed PCs may block an unsigned program; then after "
                      "Install: \"") +
              TEXT_UNZIP_ERROR + "\""};
}

// Runs osslsigncode at most once per check to learn its options, and only
// when a program is signed.
class Verifier {
 public:
  ProgramRun Verify(const std::string& path) {
    if (!m_knowsOptions) {
      m_skipDistributionPoints = VerifyKnowsSkipDistributionPoints();
      m_knowsOptions = true;
    }
    return RunProgram(VerifyCommand(path, m_skipDistributionPoints), kVerifyTimeout);
  }

 private:
  bool m_knowsOptions = false;
  bool m_skipDistributionPoints = false;
};

bool HasCertificateTable(const PeHeaders& headers) {
  for (const PeFilePart& part : headers.parts) {
    if (!part.isSection && part.size > 0) return true;
  }
  return false;
}

std::string TimeOrUnknown(const std::optional<std::time_t>& time) { return time ? UtcText(*time) : std::string(); }

// Weighs the certificate's validity against the timestamp, or else the
// time of the check.
void CheckValidity(Context& context, const SignedRole& role, const SignatureReading& reading) {
  if (!reading.notBefore || !reading.notAfter) return;
  SignatureTimes times;
  times.notBefore = *reading.notBefore;
  times.notAfter = *reading.notAfter;
  times.timestamp = reading.timestamp;
  const CertificateStanding standing = StandingAt(times, std::time(nullptr));
  if (standing == CertificateStanding::kValid) return;
  const std::string certificate = "the certificate that signed " + role.fileName;
  const std::string period = "valid from " + UtcText(times.notBefore) + " to " + UtcText(times.notAfter);
  if (standing == CertificateStanding::kExpired) {
    const std::string after = reading.timestamp ? ", before the signature's timestamp " + UtcText(*reading.timestamp)
                                                : std::string(", and the signature has no timestamp");
    context.Add(role.expired, certificate + " expired on " + UtcText(times.notAfter) + after + " (" + period + ")",
                kInvalidSees, kTimestampFix);
  } else {
    const std::string before = reading.timestamp ? ", after the signature's timestamp " + UtcText(*reading.timestamp)
                                                 : std::string(", and the signature has no timestamp");
    context.Add(role.notYetValid,
                certificate + " is valid only from " + UtcText(times.notBefore) + before + " (" + period +
                    "): the clock of the machine that signed it may be wrong",
                kInvalidSees, kTimestampFix);
  }
}

void CheckSignature(Context& context, Verifier& verifier, const SignedRole& role) {
  const std::string path = context.InFolder(role.fileName);
  if (!IsFile(path)) return;
  const PeReadResult read = ReadPeHeaders(path);
  if (read.status != PeReadStatus::kRead || FurthestPartPastEnd(read.headers) != nullptr) return;

  SignatureSummary summary;
  summary.fileName = role.fileName;
  if (!HasCertificateTable(read.headers)) {
    summary.state = SignatureState::kUnsigned;
    context.Summary().signatures.push_back(summary);
    context.Add(role.isUnsigned, role.fileName + " is not signed", role.unsignedSees, kSignFix);
    return;
  }
  const ProgramRun run = verifier.Verify(path);
  if (run.outcome != ProgramOutcome::kExited) {
    summary.state = SignatureState::kUnchecked;
    summary.why = NotRunText(run);
    context.Summary().signatures.push_back(summary);
    context.Add(role.unchecked, role.fileName + " is signed, but its signature was not checked: " + summary.why,
                "not known here: whether Windows takes the signature for valid",
                std::string("install ") + kSigningToolPackage + " (Debian: apt-get install " + kSigningToolPackage +
                    ") and check again");
    return;
  }
  const SignatureReading reading = ReadVerifyOutput(run.output);
  if (!reading.found) {
    summary.state = SignatureState::kUnreadable;
    summary.why = ToolMessage(run.output);
    context.Summary().signatures.push_back(summary);
    context.Add(role.unreadable,
                role.fileName + " has a certificate table, but no signature " + kSigningTool + " can read (" +
                    summary.why + ")",
                kInvalidSees, kSignAgainFix);
    return;
  }
  summary.state = SignatureState::kSigned;
  summary.subject = reading.subject;
  summary.issuer = reading.issuer;
  summary.validFrom = TimeOrUnknown(reading.notBefore);
  summary.validTo = TimeOrUnknown(reading.notAfter);
  summary.timestamp = TimeOrUnknown(reading.timestamp);
  summary.description = reading.description;
  summary.url = reading.url;
  summary.matchesFile = reading.MatchesFile();
  summary.chainVerified = reading.verified;
  summary.chainProblem = reading.chainProblem;
  context.Summary().signatures.push_back(summary);
  if (!reading.MatchesFile()) {
    context.Add(role.mismatch,
                role.fileName + " was changed after it was signed: its signature holds the digest " + reading.digest +
                    ", the file's is " + reading.fileDigest,
                kInvalidSees, kSignAgainFix);
    return;
  }
  CheckValidity(context, role, reading);
}

}  // namespace

void CheckSignatures(Context& context) {
  Verifier verifier;
  CheckSignature(context, verifier, ProgramOf(context));
  CheckSignature(context, verifier, UnpackerOf());
}

}  // namespace kit::check
