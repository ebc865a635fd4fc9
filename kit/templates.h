// The texts `setup-pack build` writes when no display.txt or shrinkli.txt
// is given: placeholders that `setup-pack check` reports until they are
// replaced.
#pragma once

namespace kit {

// Marks every placeholder text; a welcome line or licence that still holds
// it has not been written yet.
extern const char kPlaceholderMark[];

// A display.txt with the three keys, each with a placeholder text, and
// notes on lines that hold no key (the program ignores such lines).
extern const char kWelcomeTemplate[];

// A shrinkli.txt holding a placeholder licence.
extern const char kLicenceTemplate[];

}  // namespace kit
