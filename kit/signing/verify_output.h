// What `osslsigncode verify` prints of a program's signature, read from its
// output. Its output is text for people, so the reader takes only lines it
// knows, by their labels, in the forms of osslsigncode 2.5 (Debian 12) and
// 2.9 (Debian 12 backports):
//
//   Current message digest    : 3F15...27
//   Calculated message digest : FE3E...72     MISMATCH!!!
//   Signer's certificate:                     (then, up to a blank line:)
//           Subject: /C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd
//           Issuer : /CN=Test CA
//                   notBefore : Dec 11 14:12:31 2026 GMT
//                   notAfter : Dec 13 14:12:31 2026 GMT
//           URL description: https://www.example.org
//           Text description: North Coast Charts setup
//           Timestamp time: Dec 11 14:13:16 2026 GMT          (2.9)
//   The signature is timestamped: Dec 11 14:13:16 2026 GMT    (2.5)
//   Signature verification: ok | failed
//   ...:PKCS7_verify:certificate verify error:...:Verify error: self-signed certificate in certificate chain
//                                          (OpenSSL's error line, on standard error)
//   No signature found
//
// Only the first signature is read (a file may hold nested ones after
// "Signature Index: 1"): it is the one Windows shows.
#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace kit {

struct SignatureReading {
  bool found = false;      // false: "No signature found", or no digest printed
  std::string digest;      // the program's digest as the signature holds it
  std::string fileDigest;  // the digest osslsigncode calculated from the file
  bool hasSigner = false;  // the signer's certificate was printed
  std::string subject;
  std::string issuer;
  std::optional<std::time_t> notBefore;
  std::optional<std::time_t> notAfter;
  std::optional<std::time_t> timestamp;
  std::string description;
  std::string url;
  bool verified = false;     // "Signature verification: ok"
  std::string chainProblem;  // OpenSSL's reason when the chain did not verify

  bool MatchesFile() const { return digest == fileDigest; }
};

SignatureReading ReadVerifyOutput(const std::string& output);

}  // namespace kit
