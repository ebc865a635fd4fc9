// The check's verdict and its printout.
#include <ostream>
#include <string>

#include "kit/check/signature_summary.h"
#include "kit/check/branding_checks.h"
#include "kit/exit_status.h"
#include "kit/pack_check.h"
#include "run/command_line.h"

namespace kit {

namespace {

const char* VerdictText(const CheckReport& report) {
  return report.ErrorCount() == 0 ? "the package will install as meant" : "fix the errors before the package ships";
}

std::string Counted(int count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

std::string ProblemLine(const Problem& problem) {
  return std::string(InfoOf(problem.kind).code) + ": " + problem.what + " | end user: " + problem.userSees +
         " | fix: " + problem.fix;
}

int CheckReport::ErrorCount() const {
  int count = 0;
  for (const Problem& problem : problems) count += InfoOf(problem.kind).severity == Severity::kError ? 1 : 0;
  return count;
}

int CheckReport::WarningCount() const { return static_cast<int>(problems.size()) - ErrorCount(); }

int CheckReport::ExitStatus() const { return ErrorCount() == 0 ? kExitInstallsAsMeant : kExitHasProblems; }

void PrintReport(const CheckReport& report, std::ostream& out) {
  const PackageSummary& s = report.summary;
  out << "Package folder:   " << s.packageDir << "\n";
  out << "Descriptor:       " << s.descriptorPath << (s.descriptorRead ? "" : " (cannot be opened)") << "\n";
  if (s.descriptorRead) {
    out << "Data Source:      " << (s.hasArchiveKey ? s.archivePath : "(empty: no ZIPFILE: line)") << "\n";
    out << "Required space:   ";
    if (s.hasSize) {
      out << s.requiredKB << " KB (" << s.requiredMB << " MB)\n";
    } else {
      out << "(no FILESIZE: line)\n";
    }
  }
  out << "Archive:          ";
  if (s.archiveRead) {
    out << Counted(static_cast<int>(s.archiveFiles), "file") << ", " << s.unpackedKB
        << " KB unpacked in 4 KiB clusters\n";
  } else {
    out << "(not read)\n";
  }
  if (s.welcomeFromProgram) out << "Welcome lines:    the program's own (no display.txt)\n";
  out << "Welcome line 1:   " << s.welcome.first.str() << "   (also the heading)\n";
  out << "Welcome line 2:   " << s.welcome.second.str() << "\n";
  out << "Welcome line 3:   " << s.welcome.third.str() << "\n";
  out << "Licence text:     " << s.licenceLength << " characters, line ends as CR CR LF"
      << (s.licenceRead ? "" : " (no shrinkli.txt)") << "\n";
  out << "Unpacker command: " << s.commandLength << " of " << kCommandLineSize - 1 << " characters with the package in "
      << s.typicalProgramFolder << " and the folder " << s.typicalInstallFolder << "\n";
  out << "Silent install:   " << s.silentCommand << "   (exit code 0: installed)\n";
  check::PrintSignatures(s.signatures, out);
  check::PrintProgramFace(s, out);
  out << "\n";
  for (const Problem& problem : report.problems) {
    out << ProblemLine(problem) << "\n";
  }
  out << Counted(report.ErrorCount(), "error") << ", " << Counted(report.WarningCount(), "warning") << ": "
      << VerdictText(report) << "\n";
}

}  // namespace kit
