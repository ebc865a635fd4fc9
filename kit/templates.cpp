#include "kit/templates.h"

namespace kit {

#define KIT_PLACEHOLDER_MARK "[REPLACE]"

const char kPlaceholderMark[] = KIT_PLACEHOLDER_MARK;

// The notes must never quote a key: the program takes a key anywhere in a
// line, so a note that quoted one would replace that welcome line.
const char kWelcomeTemplate[] =
    "# display.txt: the three welcome lines of the licence screen.\r\n"
    "# The program ignores every line that holds no key, such as these notes.\r\n"
    "# Keep each key below at the very start of its line, in capitals, with\r\n"
    "# its text right after the colon on the same line. The first line is\r\n"
    "# also the heading of the screen.\r\n"
    "# Replace every text marked " KIT_PLACEHOLDER_MARK
    " before the package ships;\r\n"
    "# setup-pack check reports the ones that are left.\r\n"
    "FIRSTLINE:" KIT_PLACEHOLDER_MARK
    " Welcome to your data package\r\n"
    "SECONDLINE:" KIT_PLACEHOLDER_MARK
    " One or two sentences that present the package and its maker.\r\n"
    "THIRDLINE:" KIT_PLACEHOLDER_MARK " Where to find updates and support.\r\n";

const char kLicenceTemplate[] = KIT_PLACEHOLDER_MARK
    " This is a placeholder for the licence agreement of your package.\r\n"
    "\r\n"
    "Every line of this file is shown on the licence screen, as written, above\r\n"
    "the \"I Agree\" button. Replace the whole text with your licence before the\r\n"
    "package ships; setup-pack check reports this text until then.\r\n";

#undef KIT_PLACEHOLDER_MARK

}  // namespace kit
