#include "kit/check/signature_summary.h"

#include <ostream>
#include <string>

namespace kit::check {

namespace {

constexpr const char kLabel[] = "Signature:        ";
constexpr const char kMore[] = "                    ";

void PrintSigned(const SignatureSummary& s, std::ostream& out) {
  if (!s.matchesFile) {
    // osslsigncode reads no further than the digest that does not match.
    out << kLabel << s.fileName << " signed, but changed since: the signature does not match the file\n";
    return;
  }
  out << kLabel << s.fileName << " signed by " << (s.subject.empty() ? "(no signer printed)" : s.subject) << "\n";
  if (!s.issuer.empty() || !s.validFrom.empty()) {
    out << kMore << "certificate issued by " << s.issuer << ", valid from " << s.validFrom << " to " << s.validTo
        << "\n";
  }
  if (s.timestamp.empty()) {
    out << kMore << "no timestamp: the signature is valid only as long as the certificate\n";
  } else {
    out << kMore << "timestamped " << s.timestamp << "\n";
  }
  if (!s.description.empty() || !s.url.empty()) {
    out << kMore << "description \"" << s.description << "\"" << (s.url.empty() ? "" : ", " + s.url) << "\n";
  }
  if (s.chainVerified) {
    out << kMore << "certificate chain verified up to a root of this machine's certificate store\n";
  } else {
    out << kMore << "certificate chain not verified on this machine"
        << (s.chainProblem.empty() ? "" : ": " + s.chainProblem) << "\n";
  }
}

}  // namespace

void PrintSignatures(const std::vector<SignatureSummary>& signatures, std::ostream& out) {
  for (const SignatureSummary& s : signatures) {
    switch (s.state) {
      case SignatureState::kUnsigned:
        out << kLabel << s.fileName << " not signed\n";
        break;
      case SignatureState::kUnchecked:
        out << kLabel << s.fileName << " signed, not checked: " << s.why << "\n";
        break;
      case SignatureState::kUnreadable:
        out << kLabel << s.fileName << " has a signature that cannot be read\n";
        break;
      case SignatureState::kSigned:
        PrintSigned(s, out);
        break;
    }
  }
}

}  // namespace kit::check
