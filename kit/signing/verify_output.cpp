#include "kit/signing/verify_output.h"

#include <sstream>

#include "kit/signing/signature_time.h"

namespace kit {

namespace {

constexpr const char kBlanks[] = " \t\r";
constexpr const char kNoSignature[] = "No signature found";
constexpr const char kSignatureIndex[] = "Signature Index";
constexpr const char kSignerBlock[] = "Signer's certificate:";
constexpr const char kCurrentDigest[] = "Current message digest";
constexpr const char kCalculatedDigest[] = "Calculated message digest";
constexpr const char kSubject[] = "Subject";
constexpr const char kIssuer[] = "Issuer";
constexpr const char kNotBefore[] = "notBefore";
constexpr const char kNotAfter[] = "notAfter";
constexpr const char kTimestamp29[] = "Timestamp time";
constexpr const char kTimestamp25[] = "The signature is timestamped";
constexpr const char kTextDescription[] = "Text description";
constexpr const char kUrlDescription[] = "URL description";
constexpr const char kVerification[] = "Signature verification";
constexpr const char kVerified[] = "ok";
// OpenSSL's error line when the signing certificate's chain did not verify
// (a timestamp's chain fails in CMS_verify instead).
constexpr const char kChainFailure[] = "PKCS7_verify:certificate verify error";
constexpr const char kChainReason[] = "Verify error: ";

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A line "label : value" split at its first colon, both parts trimmed.
struct Labelled {
  std::string label;
  std::string value;
};

Labelled Split(const std::string& line) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return {Trimmed(line), std::string()};
  return {Trimmed(line.substr(0, colon)), Trimmed(line.substr(colon + 1))};
}

std::string FirstWord(const std::string& text) { return text.substr(0, text.find_first_of(kBlanks)); }

// Sets `field` once: the first line of a label is the primary signature's.
void SetOnce(std::string& field, const std::string& value) {
  if (field.empty()) field = value;
}

void SetOnce(std::optional<std::time_t>& field, const std::string& value) {
  if (!field) field = ParseToolTime(value);
}

}  // namespace

SignatureReading ReadVerifyOutput(const std::string& output) {
  SignatureReading reading;
  std::istringstream lines(output);
  std::string line;
  bool inSignerBlock = false;
  bool signerRead = false;
  bool sawDigest = false;
  int signatures = 0;
  while (std::getline(lines, line)) {
    const size_t reason = line.find(kChainReason);
    if (reason != std::string::npos && line.find(kChainFailure) != std::string::npos) {
      SetOnce(reading.chainProblem, Trimmed(line.substr(reason + sizeof kChainReason - 1)));
    }
    const std::string text = Trimmed(line);
    if (text == kNoSignature) return SignatureReading();
    const Labelled field = Split(text);
    if (field.label == kSignatureIndex && ++signatures > 1) break;
    if (text == kSignerBlock) {
      inSignerBlock = !signerRead;
      continue;
    }
    if (inSignerBlock) {
      if (text.empty() && reading.hasSigner) {
        inSignerBlock = false;
        signerRead = true;
      } else if (field.label == kSubject) {
        reading.hasSigner = true;
        SetOnce(reading.subject, field.value);
      } else if (field.label == kIssuer) {
        SetOnce(reading.issuer, field.value);
      } else if (field.label == kNotBefore) {
        SetOnce(reading.notBefore, field.value);
      } else if (field.label == kNotAfter) {
        SetOnce(reading.notAfter, field.value);
      }
      continue;
    }
    if (field.label == kCurrentDigest) {
      sawDigest = true;
      SetOnce(reading.digest, FirstWord(field.value));
    } else if (field.label == kCalculatedDigest) {
      SetOnce(reading.fileDigest, FirstWord(field.value));
    } else if (field.label == kTimestamp29 || field.label == kTimestamp25) {
      SetOnce(reading.timestamp, field.value);
    } else if (field.label == kTextDescription) {
      SetOnce(reading.description, field.value);
    } else if (field.label == kUrlDescription) {
      SetOnce(reading.url, field.value);
    } else if (field.label == kVerification) {
      reading.verified = field.value == kVerified;
    }
  }
  reading.found = sawDigest;
  return reading;
}

}  // namespace kit
