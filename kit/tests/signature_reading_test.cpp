// How the check reads osslsigncode's report of a signature, in the forms of
// both versions Debian has (the other tests run whichever is installed), and
// the rule of when a signature holds.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "kit/signing/signature_time.h"
#include "kit/signing/verify_output.h"

namespace {

// `osslsigncode verify -in Install.exe` of a program signed and timestamped
// with a test authority that this machine does not trust, as each version
// printed it (standard error first, as it reaches a pipe; the 2.9 listing of
// the chains shortened).
const char kVerified25[] = R"(Current PE checksum   : 0001479A
Calculated PE checksum: 0001479A

Signature Index: 0  (Primary Signature)
Message digest algorithm  : SHA256
Current message digest    : 3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27 
Calculated message digest : 3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27 

Signer's certificate:
	Signer #0:
		Subject: /C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd
		Issuer : /CN=Test CA
		Serial : 547686806F26E10C1A4454673BB0E29E49212B40
		Certificate expiration date:
			notBefore : Dec  1 14:12:31 2026 GMT
			notAfter : Dec 13 14:12:31 2026 GMT

Number of certificates: 2
	Signer #0:
		Subject: /CN=Test CA
		Issuer : /CN=Test CA
		Serial : 68D9BDA7505EDAD199C6567783AC93344CD5C3DA
		Certificate expiration date:
			notBefore : Dec 11 14:12:30 2026 GMT
			notAfter : Dec 14 14:12:30 2026 GMT

Authenticated attributes:
	Message digest algorithm: SHA256
	Message digest: 600343F97505C190DFD9502E185285CCDE08C5645C23D3D1A1751208A405BB87 
	Signing time: Dec 11 14:13:16 2026 GMT
	Microsoft Individual Code Signing purpose
	URL description: https://www.example.org
	Text description: North Coast Charts setup

The signature is timestamped: Dec 11 14:13:16 2026 GMT
Hash Algorithm: sha256
Timestamp Verified by:
		Issuer : /CN=Test CA
		Serial : 09

CAfile: /etc/ssl/certs/ca-certificates.crt
TSA's certificates file: /etc/ssl/certs/ca-certificates.crt

CMS_verify error
4089C4CFA57F0000:error:17000064:CMS routines:cms_signerinfo_verify_cert:certificate verify error:../crypto/cms/cms_smime.c:328:Verify error: unable to get local issuer certificate
Timestamp Server Signature verification: failed

PKCS7_verify error
4089C4CFA57F0000:error:10800075:PKCS7 routines:PKCS7_verify:certificate verify error:../crypto/pkcs7/pk7_smime.c:292:Verify error: self-signed certificate in certificate chain
Signature verification: failed

Number of verified signatures: 1
Failed
)";

const char kVerified29[] =
    R"(4020D0B2F87F0000:error:17000064:CMS routines:cms_signerinfo_verify_cert:certificate verify error:../crypto/cms/cms_smime.c:328:Verify error: unable to get local issuer certificate
4020D0B2F87F0000:error:10800075:PKCS7 routines:PKCS7_verify:certificate verify error:../crypto/pkcs7/pk7_smime.c:292:Verify error: self-signed certificate in certificate chain
PE checksum   : 0001479A

Signature Index: 0  (Primary Signature)

Message digest algorithm  : SHA256
Current message digest    : 3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27 
Calculated message digest : 3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27 

Signer's certificate:
	------------------
	Signer #0:
		Subject: /C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd
		Issuer : /CN=Test CA
		Serial : 547686806F26E10C1A4454673BB0E29E49212B40
		Certificate expiration date:
			notBefore : Dec  1 14:12:31 2026 GMT
			notAfter : Dec 13 14:12:31 2026 GMT

Message digest algorithm: SHA256

Authenticated attributes:
	Signing time: Dec 11 14:13:16 2026 GMT
	Microsoft Individual Code Signing purpose
	Message digest: 600343F97505C190DFD9502E185285CCDE08C5645C23D3D1A1751208A405BB87 
	URL description: https://www.example.org
	Text description: North Coast Charts setup

Countersignatures:
	Timestamp time: Dec 11 14:13:16 2026 GMT
	Signing time: Dec 11 14:13:16 2026 GMT
	Hash Algorithm: sha256
	Issuer: /CN=Test CA
	Serial: 09

CAfile: /etc/ssl/certs/ca-certificates.crt
TSA's certificates file: /etc/ssl/certs/ca-certificates.crt

Timestamp verified using:
	------------------
	Signer #1:
		Subject: /CN=Test CA
		Issuer : /CN=Test CA
		Serial : 68D9BDA7505EDAD199C6567783AC93344CD5C3DA
		Certificate expiration date:
			notBefore : Dec 11 14:12:30 2026 GMT
			notAfter : Dec 14 14:12:30 2026 GMT

	Error: Certificate not found in local repository: unable to get local issuer certificate
CMS_verify error

Timestamp Server Signature verification: failed
Signing certificate chain verified using:
	------------------
	Signer #1:
		Subject: /CN=Test CA
		Issuer : /CN=Test CA
		Serial : 68D9BDA7505EDAD199C6567783AC93344CD5C3DA
		Certificate expiration date:
			notBefore : Dec 11 14:12:30 2026 GMT
			notAfter : Dec 14 14:12:30 2026 GMT

	Error: Certificate not found in local repository: self-signed certificate in certificate chain
PKCS7_verify error
Signature verification: failed

Number of verified signatures: 1
Failed
)";

std::time_t At(const char* text) { return kit::ParseToolTime(text).value_or(0); }

TEST(SignatureReading, BothVersionsFormsGiveTheSameReading) {
  for (const char* output : {kVerified25, kVerified29}) {
    const kit::SignatureReading r = kit::ReadVerifyOutput(output);
    const std::string version = output == kVerified25 ? "2.5" : "2.9";
    EXPECT_TRUE(r.found) << version;
    EXPECT_TRUE(r.MatchesFile()) << version;
    EXPECT_EQ(r.digest, "3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27") << version;
    // The signer's own certificate, not the authority's listed after it.
    EXPECT_EQ(r.subject, "/C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd") << version;
    EXPECT_EQ(r.issuer, "/CN=Test CA") << version;
    EXPECT_EQ(r.notBefore, At("Dec  1 14:12:31 2026 GMT")) << version;
    EXPECT_EQ(r.notAfter, At("Dec 13 14:12:31 2026 GMT")) << version;
    EXPECT_EQ(r.timestamp, At("Dec 11 14:13:16 2026 GMT")) << version;
    EXPECT_EQ(r.description, "North Coast Charts setup") << version;
    EXPECT_EQ(r.url, "https://www.example.org") << version;
    EXPECT_FALSE(r.verified) << version;
    // The signing chain's reason, not the timestamp's.
    EXPECT_EQ(r.chainProblem, "self-signed certificate in certificate chain") << version;
  }
}

TEST(SignatureReading, AChangedFileAndAMissingSignatureAreTold) {
  // Both versions stop at the digest that does not match.
  const kit::SignatureReading changed = kit::ReadVerifyOutput(
      "Signature Index: 0  (Primary Signature)\n"
      "Message digest algorithm  : SHA256\n"
      "Current message digest    : 3F1564005BA1253F8520284A385FC0E90B13E61D83696921120509E04C2B3C27 \n"
      "Calculated message digest : FE3E72430C38C7A0E29B073BBD7637E34E4103FEBEDBD4AF60372D0A4151D472     MISMATCH!!!\n"
      "\n"
      "Number of verified signatures: 1\nFailed\n");
  EXPECT_TRUE(changed.found);
  EXPECT_FALSE(changed.MatchesFile());
  EXPECT_EQ(changed.fileDigest, "FE3E72430C38C7A0E29B073BBD7637E34E4103FEBEDBD4AF60372D0A4151D472");
  EXPECT_FALSE(changed.hasSigner);

  for (const char* output :
       {"PE checksum   : 0000FF7C\nFailed\nNo signature found\nUnable to extract existing signature\n",
        "Current PE checksum   : 0000FF7C\nCalculated PE checksum: 0000FF7C\n\nNo signature found\n\n"
        "Failed\n",
        ""}) {
    EXPECT_FALSE(kit::ReadVerifyOutput(output).found) << output;
  }
}

TEST(SignatureReading, AnotherSignatureAfterTheFirstIsNotRead) {
  const std::string first = kVerified29;
  const std::string nested =
      "Signature Index: 1\n"
      "Current message digest    : AA \nCalculated message digest : BB     MISMATCH!!!\n"
      "Signer's certificate:\n\t\tSubject: /CN=Someone Else\n\n"
      "Signature verification: ok\n";
  const kit::SignatureReading r = kit::ReadVerifyOutput(first + nested);
  EXPECT_TRUE(r.MatchesFile());
  EXPECT_EQ(r.subject, "/C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd");
  EXPECT_FALSE(r.verified);
}

TEST(SignatureTime, ToolDatesAreReadAndWrittenInUtc) {
  EXPECT_EQ(kit::UtcText(At("Dec  1 04:05:06 2026 GMT")), "2026-12-01 04:05:06 UTC");
  EXPECT_EQ(kit::UtcText(At("Feb 29 23:59:59 2028 GMT")), "2028-02-29 23:59:59 UTC");
  for (const char* notADate : {"", "Dec 11 14:12:31 2026", "Dec 11 14:12:31 2026 CET", "11.12.2026 14:12:31 GMT"}) {
    EXPECT_FALSE(kit::ParseToolTime(notADate).has_value()) << notADate;
  }
}

TEST(SignatureTime, TheTimestampCountsIfThereIsOneElseNow) {
  using kit::CertificateStanding;
  const std::time_t start = At("Dec  1 00:00:00 2026 GMT");
  const std::time_t end = At("Dec 31 00:00:00 2026 GMT");
  const std::time_t before = start - 1;
  const std::time_t inside = At("Dec 15 00:00:00 2026 GMT");
  const std::time_t after = end + 1;
  struct Case {
    const char* what;
    std::optional<std::time_t> timestamp;
    std::time_t now;
    CertificateStanding standing;
  };
  const Case cases[] = {
      {"valid now, no timestamp", std::nullopt, inside, CertificateStanding::kValid},
      {"on its first second", std::nullopt, start, CertificateStanding::kValid},
      {"on its last second", std::nullopt, end, CertificateStanding::kValid},
      {"expired, no timestamp", std::nullopt, after, CertificateStanding::kExpired},
      {"not yet valid, no timestamp", std::nullopt, before, CertificateStanding::kNotYetValid},
      {"expired, timestamped while valid", inside, after, CertificateStanding::kValid},
      {"expired, timestamped after it expired", after, after, CertificateStanding::kExpired},
      {"valid now, timestamped before it was valid", before, inside, CertificateStanding::kNotYetValid},
  };
  for (const Case& c : cases) {
    kit::SignatureTimes times;
    times.notBefore = start;
    times.notAfter = end;
    times.timestamp = c.timestamp;
    EXPECT_EQ(kit::StandingAt(times, c.now), c.standing) << c.what;
  }
}

}  // namespace
