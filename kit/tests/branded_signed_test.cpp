// A package both branded and signed: branding rewrites NAME.exe before
// signing, so the signature covers the publisher's face, and the check
// finds both programs signed and unchanged since.
#include <gtest/gtest.h>

#include <string>

#include "branding_test_support.h"
#include "kit/pack_build.h"
#include "kit/pack_check.h"
#include "kit_test_support.h"
#include "signing_support.h"

namespace {

TEST(BrandedAndSigned, TheSignatureCoversTheBrandedProgram) {
  const kit_test::TestCertificates certificates;
  ASSERT_TRUE(certificates.Made());
  const kit_test::TempFolder temp;
  kit_test::BrandingBuild build(temp.Path());
  build.Brand().company = "North Coast Charts";
  build.Brand().version = "2.1.0.7";
  kit_test::WriteProgram(temp.Path() / "unzip.exe", kit_test::UnpackerShape());
  build.Options().unzipFile = (temp.Path() / "unzip.exe").string();
  build.Options().signing = certificates.Pkcs12();
  build.Built();

  const kit::CheckReport report = kit::CheckPackage((temp.Path() / "pkg").string(), "Install");
  ASSERT_TRUE(report.summary.faceRead);
  const std::string* company = report.summary.face.version.String("CompanyName");
  ASSERT_NE(company, nullptr);
  EXPECT_EQ(*company, "North Coast Charts");
  ASSERT_EQ(report.summary.signatures.size(), 2u);
  for (const kit::SignatureSummary& signature : report.summary.signatures) {
    EXPECT_EQ(signature.state, kit::SignatureState::kSigned) << signature.fileName << ": " << signature.why;
    EXPECT_TRUE(signature.matchesFile) << signature.fileName << " changed after it was signed";
  }
  for (const std::string& code : kit_test::AllCodesOf(report)) {
    EXPECT_EQ(code.find("SIGNATURE"), std::string::npos) << code;
    EXPECT_EQ(code.find("CERT"), std::string::npos) << code;
  }
}

}  // namespace
