#include "run/run_log_lines.h"

#include "framework/format.h"
#include "res/texts.h"
#include "run/exit_code_text.h"

CString LogUnpackerEnded(unsigned long exitCode) {
  char code[kExitCodeTextSize];
  ExitCodeText(exitCode, code);
  return FormatString(TEXT_LOG_UNPACKER_ENDED, code);
}
