// Packages signed by the build with a throw-away authority's certificates,
// and what the check reads of their signatures. osslsigncode signs and
// verifies for real; openssl made the certificates at the start of the test.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/pack_build.h"
#include "kit/pack_check.h"
#include "kit/signing/signature_time.h"
#include "kit_test_support.h"
#include "signing_support.h"

namespace {

namespace fs = std::filesystem;
using kit_test::ReadBytes;
using kit_test::TestCertificates;
using kit_test::WriteBytes;

const std::vector<std::string> kNoCodes;

// A package built from a small data folder with the tests' program files,
// signed with `signing` when it names a key.
class SignedPackage {
 public:
  explicit SignedPackage(const kit::SigningOptions& signing = kit::SigningOptions()) : m_out(m_temp.Path() / "out") {
    const fs::path data = m_temp.Path() / "data";
    WriteBytes(data / "maps" / "north.dat", "north");
    kit_test::WriteProgram(m_temp.Path() / "setup.exe");
    kit_test::WriteProgram(m_temp.Path() / "unzip.exe", kit_test::UnpackerShape());
    WriteBytes(m_temp.Path() / "welcome.txt", "FIRSTLINE:Hi\r\nSECONDLINE:Maps\r\nTHIRDLINE:Bye\r\n");
    WriteBytes(m_temp.Path() / "licence.txt", "Licence\r\n");
    m_options.dataDir = data.string();
    m_options.outDir = m_out.string();
    m_options.programFile = (m_temp.Path() / "setup.exe").string();
    m_options.unzipFile = (m_temp.Path() / "unzip.exe").string();
    m_options.welcomeFile = (m_temp.Path() / "welcome.txt").string();
    m_options.licenceFile = (m_temp.Path() / "licence.txt").string();
    m_options.signing = signing;
  }

  kit::BuildResult Build() const { return kit::BuildPackage(m_options); }
  kit::BuildResult BuildWith(const kit::SigningOptions& signing) {
    m_options.signing = signing;
    return Build();
  }
  kit::CheckReport Check() const { return kit::CheckPackage(m_out.string(), "Install"); }
  fs::path PathOf(const std::string& name) const { return m_out / name; }
  const fs::path& Dir() const { return m_out; }
  const fs::path& Temp() const { return m_temp.Path(); }
  const kit::BuildOptions& Options() const { return m_options; }

 private:
  kit_test::TempFolder m_temp;
  fs::path m_out;
  kit::BuildOptions m_options;
};

// Changes one byte of the program's code, as a patch after signing would.
void AlterCode(const fs::path& program) {
  std::string bytes = ReadBytes(program);
  bytes[kit_test::ProgramShape::kFirstSectionOffset + 1] ^= 1;
  WriteBytes(program, bytes);
}

TEST(Signature, TheCheckReadsWhetherEachProgramIsSignedAndStillMatchesItsSignature) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  kit::SigningOptions openPkcs12;
  openPkcs12.pkcs12File = certificates.Path("signer-open.p12");
  kit::SigningOptions lockedPem = certificates.Pem("signer.crt", "signer-locked.key");
  lockedPem.passwordFile = certificates.Path("password.txt");
  const auto none = [](const SignedPackage&) {};
  struct Row {
    const char* what;
    kit::SigningOptions signing;
    std::function<void(const SignedPackage&)> after;  // a change after the build
    std::vector<std::string> codes;
    int status;
  };
  const Row rows[] = {
      {"PKCS#12 file with its password", certificates.Pkcs12(), none, kNoCodes, kit::kExitInstallsAsMeant},
      {"PKCS#12 file with an empty password, none given", openPkcs12, none, kNoCodes, kit::kExitInstallsAsMeant},
      {"PEM certificate and key", certificates.Pem(), none, kNoCodes, kit::kExitInstallsAsMeant},
      {"PEM key under a password", lockedPem, none, kNoCodes, kit::kExitInstallsAsMeant},
      {"program changed after signing",
       certificates.Pkcs12(),
       [](const SignedPackage& p) { AlterCode(p.PathOf("Install.exe")); },
       {"E-PROGRAM-SIGNATURE-MISMATCH"},
       kit::kExitHasProblems},
      {"unpacker changed after signing",
       certificates.Pkcs12(),
       [](const SignedPackage& p) { AlterCode(p.PathOf("unzip.exe")); },
       {"E-UNZIP-SIGNATURE-MISMATCH"},
       kit::kExitHasProblems},
      {"certificate expired, no timestamp",
       certificates.Pem("expired.crt"),
       none,
       {"E-PROGRAM-CERT-EXPIRED", "E-UNZIP-CERT-EXPIRED"},
       kit::kExitHasProblems},
      {"not signed",
       kit::SigningOptions(),
       none,
       {"W-PROGRAM-UNSIGNED", "W-UNZIP-UNSIGNED"},
       kit::kExitInstallsAsMeant},
      {"a certificate table that holds no signature",
       kit::SigningOptions(),
       [](const SignedPackage& p) {
         kit_test::ProgramShape shape;
         shape.certificateOffset = kit_test::ProgramShape::kFirstSectionOffset + kit_test::ProgramShape::kSectionSize;
         shape.certificateSize = 0x100;
         kit_test::WriteProgram(p.PathOf("Install.exe"), shape);
       },
       {"E-PROGRAM-SIGNATURE-UNREADABLE", "W-UNZIP-UNSIGNED"},
       kit::kExitHasProblems},
  };
  for (const Row& row : rows) {
    const SignedPackage package(row.signing);
    const kit::BuildResult built = package.Build();
    ASSERT_EQ(built.status, kit::BuildStatus::kBuilt) << row.what << ": " << built.error;
    row.after(package);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::AllCodesOf(report), row.codes) << row.what;
    EXPECT_EQ(report.ExitStatus(), row.status) << row.what;
    for (const kit::Problem& problem : report.problems) {
      EXPECT_FALSE(problem.what.empty() || problem.userSees.empty() || problem.fix.empty()) << row.what;
    }
  }
}

// The certificate's dates as openssl reads them from the certificate file.
std::string OpensslDate(const std::string& certificate, const std::string& which) {
  const kit::ProgramRun run =
      kit::RunProgram({"openssl", "x509", "-in", certificate, "-noout", "-" + which}, std::chrono::seconds(10));
  const std::string prefix = (which == "startdate" ? "notBefore=" : "notAfter=");
  const std::optional<std::time_t> time =
      kit::ParseToolTime(run.output.substr(prefix.size(), run.output.find('\n') - prefix.size()));
  return time ? kit::UtcText(*time) : "(" + run.output + ")";
}

TEST(Signature, TheSummaryNamesTheSignerTheCertificatesValidityAndTheSignedDescription) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  kit::SigningOptions signing = certificates.Pkcs12();
  signing.description = "North Coast Charts setup";
  signing.url = "https://www.example.org/charts";
  const SignedPackage package(signing);
  const kit::BuildResult built = package.Build();
  ASSERT_EQ(built.status, kit::BuildStatus::kBuilt) << built.error;

  const kit::CheckReport report = package.Check();
  ASSERT_EQ(report.summary.signatures.size(), 2u);
  for (const kit::SignatureSummary& s : report.summary.signatures) {
    EXPECT_EQ(s.state, kit::SignatureState::kSigned) << s.fileName;
    EXPECT_EQ(s.subject, "/C=GB/O=North Coast Charts Ltd/CN=North Coast Charts Ltd");
    EXPECT_EQ(s.issuer, "/CN=Setup Kit Test CA");
    EXPECT_EQ(s.validFrom, OpensslDate(certificates.Path("signer.crt"), "startdate"));
    EXPECT_EQ(s.validTo, OpensslDate(certificates.Path("signer.crt"), "enddate"));
    EXPECT_EQ(s.timestamp, "");
    EXPECT_EQ(s.description, "North Coast Charts setup");
    EXPECT_EQ(s.url, "https://www.example.org/charts");
    EXPECT_TRUE(s.matchesFile);
    // Nothing on this machine trusts the test authority.
    EXPECT_FALSE(s.chainVerified);
    EXPECT_NE(s.chainProblem, "");
  }
  EXPECT_EQ(report.summary.signatures[0].fileName, "Install.exe");
  EXPECT_EQ(report.summary.signatures[1].fileName, "unzip.exe");

  std::ostringstream printed;
  kit::PrintReport(report, printed);
  EXPECT_NE(
      printed.str().find("Signature:        Install.exe signed by /C=GB/O=North Coast Charts Ltd/CN=North Coast "
                         "Charts Ltd\n                    certificate issued by /CN=Setup Kit Test CA, valid from " +
                         report.summary.signatures[0].validFrom + " to "),
      std::string::npos)
      << printed.str();
}

TEST(Signature, ATimestampFromTheTimeStampingAuthorityIsSignedInAndRead) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  const kit_test::LocalTimeStampAuthority authority(certificates);
  kit::SigningOptions signing = certificates.Pkcs12();
  signing.timestampUrl = authority.Url();
  const SignedPackage package(signing);
  const std::time_t before = std::time(nullptr);
  const kit::BuildResult built = package.Build();
  const std::time_t after = std::time(nullptr);
  ASSERT_EQ(built.status, kit::BuildStatus::kBuilt) << built.error;
  EXPECT_EQ(authority.Answered(), 2);

  const kit::CheckReport report = package.Check();
  EXPECT_EQ(kit_test::AllCodesOf(report), kNoCodes);
  ASSERT_EQ(report.summary.signatures.size(), 2u);
  for (const kit::SignatureSummary& s : report.summary.signatures) {
    EXPECT_GE(s.timestamp, kit::UtcText(before)) << s.fileName;
    EXPECT_LE(s.timestamp, kit::UtcText(after)) << s.fileName;
  }
}

TEST(Signature, AnAuthorityThatGivesNoTimestampFailsTheBuildClearly) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  SignedPackage package;
  ASSERT_EQ(package.Build().status, kit::BuildStatus::kBuilt);
  const std::string unsignedProgram = ReadBytes(package.PathOf("Install.exe"));
  kit::SigningOptions signing = certificates.Pkcs12();
  signing.timestampUrl = "http://127.0.0.1:" + std::to_string(kit_test::ClosedPort()) + "/";
  const kit::BuildResult built = package.BuildWith(signing);
  EXPECT_EQ(built.status, kit::BuildStatus::kFailed);
  EXPECT_NE(built.error.find("cannot sign Install.exe: no timestamp came from the time-stamping authority " +
                             signing.timestampUrl),
            std::string::npos)
      << built.error;
  EXPECT_EQ(ReadBytes(package.PathOf("Install.exe")), unsignedProgram);
  EXPECT_EQ(kit_test::PartialFilesIn(package.Dir()), std::vector<std::string>());
}

TEST(Signature, AKeyThatCannotBeUsedFailsTheBuildAndLeavesTheProgramsWhole) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  const kit_test::TempFolder temp;
  const std::string wrongPassword = (temp.Path() / "wrong-password.txt").string();
  WriteBytes(wrongPassword, "not the pass phrase\n");
  struct Case {
    const char* what;
    kit::SigningOptions signing;
    std::string error;  // a part of the build's error
  };
  kit::SigningOptions wrongPkcs12 = certificates.Pkcs12();
  wrongPkcs12.passwordFile = wrongPassword;
  kit::SigningOptions wrongPem = certificates.Pem("signer.crt", "signer-locked.key");
  wrongPem.passwordFile = wrongPassword;
  kit::SigningOptions noPassword = certificates.Pkcs12();
  noPassword.passwordFile.clear();
  kit::SigningOptions notAKey;
  notAKey.pkcs12File = certificates.Path("signer.crt");
  const Case cases[] = {
      {"wrong password for the PKCS#12 file", wrongPkcs12,
       "cannot sign Install.exe: the password in " + wrongPassword + " does not open " + wrongPkcs12.pkcs12File},
      {"wrong password for the PEM key", wrongPem,
       "cannot sign Install.exe: the password in " + wrongPassword + " does not open " + wrongPem.keyFile},
      {"no password for a locked key", noPassword,
       "cannot sign Install.exe: " + noPassword.pkcs12File +
           " is locked by a password: give it with --sign-password-file FILE"},
      {"a certificate given as the PKCS#12 file", notAKey, "cannot sign Install.exe: osslsigncode could not sign it"},
  };
  for (const Case& c : cases) {
    SignedPackage package;
    ASSERT_EQ(package.Build().status, kit::BuildStatus::kBuilt) << c.what;
    const std::string program = ReadBytes(package.PathOf("Install.exe"));
    const std::string unpacker = ReadBytes(package.PathOf("unzip.exe"));

    const kit::BuildResult built = package.BuildWith(c.signing);
    EXPECT_EQ(built.status, kit::BuildStatus::kFailed) << c.what;
    EXPECT_NE(built.error.find(c.error), std::string::npos) << c.what << ": " << built.error;
    EXPECT_EQ(built.error.find(certificates.Password()), std::string::npos) << c.what;
    EXPECT_EQ(ReadBytes(package.PathOf("Install.exe")), program) << c.what;
    EXPECT_EQ(ReadBytes(package.PathOf("unzip.exe")), unpacker) << c.what;
    EXPECT_EQ(kit_test::PartialFilesIn(package.Dir()), std::vector<std::string>()) << c.what;
  }
}

TEST(Signature, SigningOptionsThatCannotWorkAreRefusedBeforeAnythingIsWritten) {
  const TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  struct Case {
    const char* what;
    std::function<kit::SigningOptions(const SignedPackage&)> signing;
    std::string error;  // a part of the refusal
  };
  const auto copied = [](const std::string& from, const fs::path& to) {
    WriteBytes(to, ReadBytes(from));
    return to.string();
  };
  const Case cases[] = {
      {"a password without a key",
       [&](const SignedPackage&) {
         kit::SigningOptions signing;
         signing.passwordFile = certificates.Path("password.txt");
         return signing;
       },
       "--sign-password-file needs a key to sign with"},
      {"a timestamp without a key",
       [&](const SignedPackage&) {
         kit::SigningOptions signing;
         signing.timestampUrl = "http://timestamp.example.org/";
         return signing;
       },
       "--timestamp needs a key to sign with"},
      {"both kinds of key",
       [&](const SignedPackage&) {
         kit::SigningOptions signing = certificates.Pkcs12();
         signing.certificateFile = certificates.Path("signer.crt");
         return signing;
       },
       "not both"},
      {"a certificate without its key",
       [&](const SignedPackage&) {
         kit::SigningOptions signing = certificates.Pem();
         signing.keyFile.clear();
         return signing;
       },
       "--sign-cert and --sign-key go together"},
      {"a key that is not there",
       [&](const SignedPackage& p) {
         kit::SigningOptions signing;
         signing.pkcs12File = (p.Temp() / "no-such.p12").string();
         return signing;
       },
       "no-such.p12 is not there"},
      {"a timestamp address that is no web address",
       [&](const SignedPackage&) {
         kit::SigningOptions signing = certificates.Pkcs12();
         signing.timestampUrl = "timestamp.example.org";
         return signing;
       },
       "is no http:// or https:// address"},
      {"the key in the data folder",
       [&](const SignedPackage& p) {
         kit::SigningOptions signing;
         signing.pkcs12File = copied(certificates.Path("signer.p12"), fs::path(p.Options().dataDir) / "signer.p12");
         return signing;
       },
       "lies in the data folder"},
      {"the key linked into the data folder",
       [&](const SignedPackage& p) {
         fs::create_symlink(certificates.Path("signer.p12"), fs::path(p.Options().dataDir) / "maps" / "key.p12");
         return certificates.Pkcs12();
       },
       "is in the data folder as maps/key.p12: it would be packed into the archive"},
      {"the password file in the package folder",
       [&](const SignedPackage& p) {
         kit::SigningOptions signing = certificates.Pkcs12();
         signing.passwordFile = copied(certificates.Path("password.txt"), p.Dir() / "keys" / "password.txt");
         return signing;
       },
       "lies in the package folder"},
  };
  for (const Case& c : cases) {
    SignedPackage package;
    const kit::BuildResult built = package.BuildWith(c.signing(package));
    EXPECT_EQ(built.status, kit::BuildStatus::kBadArgument) << c.what;
    EXPECT_NE(built.error.find(c.error), std::string::npos) << c.what << ": " << built.error;
    EXPECT_FALSE(fs::exists(package.PathOf("Install.zip"))) << c.what;
  }
}

}  // namespace
