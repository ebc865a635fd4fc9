#include "kit/signing/signature_time.h"

#include <cstring>

namespace kit {

namespace {

constexpr const char kToolTimeFormat[] = "%b %d %H:%M:%S %Y";
constexpr const char kToolTimeZone[] = " GMT";
constexpr const char kUtcFormat[] = "%Y-%m-%d %H:%M:%S UTC";
constexpr size_t kUtcTextSize = sizeof "2026-12-11 14:12:31 UTC";

}  // namespace

std::optional<std::time_t> ParseToolTime(const std::string& text) {
  std::tm parts = {};
  const char* rest = ::strptime(text.c_str(), kToolTimeFormat, &parts);
  if (rest == nullptr || std::strcmp(rest, kToolTimeZone) != 0) return std::nullopt;
  return ::timegm(&parts);
}

std::string UtcText(std::time_t time) {
  std::tm parts = {};
  ::gmtime_r(&time, &parts);
  char text[kUtcTextSize] = {};
  std::strftime(text, sizeof text, kUtcFormat, &parts);
  return text;
}

CertificateStanding StandingAt(const SignatureTimes& times, std::time_t now) {
  const std::time_t counted = times.timestamp.value_or(now);
  if (counted < times.notBefore) return CertificateStanding::kNotYetValid;
  if (counted > times.notAfter) return CertificateStanding::kExpired;
  return CertificateStanding::kValid;
}

}  // namespace kit
