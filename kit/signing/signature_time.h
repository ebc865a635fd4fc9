// The times of a signature: the dates osslsigncode prints, read and written
// out, and the rule by which Windows holds a signature valid at a time.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace kit {

// A date as osslsigncode prints it ("Dec 11 14:12:31 2026 GMT", the day
// padded with a blank), or nothing when it is not one.
std::optional<std::time_t> ParseToolTime(const std::string& text);

// "2026-12-11 14:12:31 UTC".
std::string UtcText(std::time_t time);

enum class CertificateStanding {
  kValid,        // the time counted lies within the certificate's validity
  kExpired,      // it lies after the certificate's end
  kNotYetValid,  // it lies before the certificate's start
};

struct SignatureTimes {
  std::time_t notBefore = 0;
  std::time_t notAfter = 0;
  std::optional<std::time_t> timestamp;  // when a time-stamping authority vouched for the signature
};

// A signature with a timestamp holds when it was made while the certificate
// was valid, for good; without one, only while the certificate is valid.
// So the time counted is the timestamp's if there is one, else `now`.
CertificateStanding StandingAt(const SignatureTimes& times, std::time_t now);

}  // namespace kit
