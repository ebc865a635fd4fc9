#include "unattended/start_up.h"

#include "framework/format.h"
#include "res/texts.h"
#include "setup/browsing.h"
#include "unattended/argument_split.h"
#include "unattended/exit_codes.h"
#include "unattended/log_lines.h"
#include "unattended/switches.h"

namespace {

// The usage asked for with /? is shown, and the program ends as a run that
// did what it was asked.
constexpr int kExitAfterUsage = 0;

// The file name of the program's path: what the usage shows it as.
CString FileNameOf(const CString& path) { return path.Mid(path.ReverseFind('\\') + 1); }

}  // namespace

int StartUp(const char* commandLine, const ProgramPlace& place, const StartUpPorts& ports) {
  CommandLineArguments arguments(commandLine);
  const CString argumentsText = arguments.ArgumentsText();
  const Switches switches = ParseSwitches(arguments);
  const bool understood = switches.error == SwitchError::kNone;
  const auto show = [&](const CString& text) {
    if (!switches.silent) ports.screens.ShowMessage(text);
  };

  if (understood && switches.help) {
    show(UsageText(FileNameOf(place.programPath), switches));
    return kExitAfterUsage;
  }

  RunLog noLog;
  RunLog fileLog(ports.logFile, ports.clock);
  RunLog* log = &noLog;
  if (switches.hasLog) {
    const bool opened = ports.logFile.Open(switches.logPath);
    if (opened) log = &fileLog;
    log->Line(LogStarted(place.programPath, argumentsText));
    // A command line fault is told before a log fault: it is the one to mend
    // first.
    if (understood && (!opened || log->Failed())) {
      show(FormatString(TEXT_LOG_CANNOT_BE_WRITTEN, switches.logPath.c_str()));
      return kExitCommandLine;
    }
  }

  if (!understood) {
    log->Line(FormatString(TEXT_LOG_COMMAND_LINE_REFUSED, DescribeSwitchError(switches).c_str()));
    show(UsageText(FileNameOf(place.programPath), switches));
    log->Line(LogResult(kExitCommandLine));
    return kExitCommandLine;
  }

  const CString folder = switches.hasFolder ? switches.folder : ProposedFolder();
  if (switches.silent) {
    const int exitCode = RunSilentInstall({place.descriptorPath, folder}, ports.disk, ports.unpacker, *log);
    // Lines lost on the way: the run is reported as not done, so that the
    // deployment runs it again (a second run overwrites what the first
    // installed).
    return exitCode == kExitInstalled && log->Failed() ? kExitCommandLine : exitCode;
  }
  const int exitCode = ports.screens.RunScreens(folder, *log);
  log->Line(FormatString(TEXT_LOG_PROGRAM_ENDS, exitCode));
  return exitCode;
}
