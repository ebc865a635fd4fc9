#include "kit/check/text_checks.h"

#include <iterator>
#include <string>

#include "framework/cstring.h"
#include "kit/check/package_paths.h"
#include "kit/templates.h"
#include "package/licence_texts.h"
#include "package/text_mode_reader.h"
#include "res/texts.h"

namespace kit::check {

namespace {

const char* const kWelcomeNames[] = {"first", "second", "third"};

bool OpensForReading(const std::string& path) {
  constexpr int kSmallestBuffer = 2;  // only opened, never read
  TextModeReader reader(kSmallestBuffer);
  return reader.Open(path.c_str());
}

void CheckWelcome(Context& context) {
  const PackageSummary& s = context.Summary();
  if (s.welcomeFromProgram) {
    context.Add(ProblemKind::kWelcomeMissing, std::string("the package folder holds no ") + kWelcomeFileName,
                std::string("the program's own welcome lines, headed \"") + TEXT_WELCOME_1 + "\"",
                std::string("write ") + kWelcomeFileName +
                    " with FIRSTLINE:, SECONDLINE: and THIRDLINE: lines, or keep " +
                    "these lines if they suit the package");
    return;
  }
  const CString* lines[] = {&s.welcome.first, &s.welcome.second, &s.welcome.third};
  std::string empty;
  int emptyCount = 0;
  bool placeholder = false;
  for (size_t i = 0; i < std::size(lines); ++i) {
    if (lines[i]->IsEmpty()) {
      empty += std::string(emptyCount++ == 0 ? "" : ", ") + kWelcomeNames[i];
    }
    if (lines[i]->Find(kPlaceholderMark) >= 0) placeholder = true;
  }
  const std::string keysFix =
      "start each line of the text with its key, in capitals: FIRSTLINE:, SECONDLINE:, "
      "THIRDLINE:";
  if (emptyCount == static_cast<int>(std::size(lines))) {
    context.Add(ProblemKind::kWelcomeNoKeys, std::string(kWelcomeFileName) + " gives three empty welcome lines",
                "a licence screen without heading and welcome lines", keysFix);
  } else if (emptyCount > 0) {
    context.Add(
        ProblemKind::kWelcomeLineEmpty,
        std::string(kWelcomeFileName) + " leaves the " + empty + " welcome line" + (emptyCount > 1 ? "s" : "") +
            " empty",
        emptyCount > 1 || s.welcome.first.IsEmpty() ? "gaps on the licence screen" : "a gap on the licence screen",
        keysFix + "; or leave the line out if the gap is meant");
  }
  if (placeholder) {
    context.Add(ProblemKind::kWelcomePlaceholder,
                std::string(kWelcomeFileName) + " still holds the template's " + kPlaceholderMark + " texts",
                "the template's placeholder texts on the licence screen",
                std::string("replace every text marked ") + kPlaceholderMark + " in " + kWelcomeFileName);
  }
}

void CheckLicence(Context& context, const CString& licenceText) {
  if (!context.Summary().licenceRead) {
    context.Add(ProblemKind::kLicenceMissing, std::string("the package folder holds no ") + kLicenceFileName,
                "an empty licence text above \"I Agree\"",
                std::string("write the licence into ") + kLicenceFileName + " (setup-pack build --licence FILE)");
  } else if (licenceText.IsEmpty()) {
    context.Add(ProblemKind::kLicenceEmpty, std::string(kLicenceFileName) + " gives an empty licence text",
                "an empty licence text above \"I Agree\"", std::string("write the licence into ") + kLicenceFileName);
  } else if (licenceText.Find(kPlaceholderMark) >= 0) {
    context.Add(ProblemKind::kLicencePlaceholder,
                std::string(kLicenceFileName) + " still holds the template's placeholder licence",
                "the template's placeholder text in place of the licence",
                std::string("replace the text of ") + kLicenceFileName + " with the package's licence");
  }
}

}  // namespace

void CheckScreenTexts(Context& context) {
  const WelcomeLines fallback = {TEXT_WELCOME_1, TEXT_WELCOME_2, TEXT_WELCOME_3};
  const LicenceScreenTexts texts = ReadLicenceScreenTexts(CString(context.Dir() + kHostSeparator), fallback);
  PackageSummary& s = context.Summary();
  s.welcome = texts.lines;
  s.welcomeFromProgram = !OpensForReading(context.InFolder(kWelcomeFileName));
  s.licenceRead = OpensForReading(context.InFolder(kLicenceFileName));
  s.licenceLength = texts.licenceText.GetLength();
  CheckWelcome(context);
  CheckLicence(context, texts.licenceText);
}

}  // namespace kit::check
