#include "run/monitor.h"

#include "framework/format.h"
#include "res/texts.h"
#include "run/exit_code_text.h"
#include "run/run_log_lines.h"

namespace {
constexpr int kMessageSize = 200;
}

int RunMonitor(MonitorPort& port, RunClaim& claim, std::atomic<int>& running) {
  int position = 0;
  WaitOutcome outcome;
  while ((outcome = port.WaitForUnpacker(kMonitorStepMs)) == WaitOutcome::kTimedOut) {
    if (claim.IsKilled()) return kMonitorKilledExitCode;
    position = (position + kMonitorStepSize) % kProgressFull;
    port.SetProgress(position);
  }
  if (!claim.ClaimEnd()) return kMonitorKilledExitCode;

  unsigned long exitCode = 0;
  const bool ended = outcome == WaitOutcome::kEnded && port.UnpackerExitCode(exitCode);
  char message[kMessageSize];
  char code[kExitCodeTextSize];
  ExitCodeText(exitCode, code);
  if (ended) {
    port.Record(LogUnpackerEnded(exitCode).c_str());
  } else {
    port.Record(TEXT_LOG_MONITOR_NOT_WATCHED);
  }
  if (ended && exitCode == 0) {
    port.SetProgress(kProgressFull);
    port.ShowMessage(TEXT_INSTALLED);
    port.SetCancelCaption(TEXT_CLOSE);
  } else if (ended) {
    FormatText(message, sizeof message, TEXT_UNZIP_FAILED, code);
    port.ShowMessage(message);
  } else {
    port.ShowMessage(TEXT_UNZIP_ERROR);
  }
  running.store(0);
  return 0;
}
