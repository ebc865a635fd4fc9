#include "run/exit_code_text.h"

#include "framework/format.h"
#include "res/texts.h"

namespace {
constexpr unsigned long kFirstStatusCode = 0x80000000UL;
}

void ExitCodeText(unsigned long code, char (&text)[kExitCodeTextSize]) {
  FormatText(text, sizeof text, code >= kFirstStatusCode ? TEXT_EXIT_CODE_STATUS : TEXT_EXIT_CODE_DECIMAL, code);
}
