// What `setup-pack build` signs the package's programs with: a code-signing
// certificate and its private key, in one PKCS#12 file or in two PEM files,
// the key's password, and what goes into the signature beside them.
#pragma once

#include <string>

namespace kit {

struct SigningOptions {
  std::string pkcs12File;       // --sign-pkcs12: certificate, chain and key in one file (.pfx, .p12)
  std::string certificateFile;  // --sign-cert: PEM, the signer's certificate first, then its chain
  std::string keyFile;          // --sign-key: PEM private key
  std::string passwordFile;     // --sign-password-file: holds the key's password; none: an empty password
  std::string timestampUrl;     // --timestamp: an RFC 3161 time-stamping authority
  std::string description;      // --sign-description: the signed description (Windows shows it as the program's name)
  std::string url;              // --sign-url: the publisher's web address, signed with it

  bool Requested() const { return !pkcs12File.empty() || !certificateFile.empty() || !keyFile.empty(); }
};

}  // namespace kit
