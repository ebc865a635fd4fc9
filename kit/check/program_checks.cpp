#include "kit/check/program_checks.h"

#include <cstdint>
#include <string>

#include "kit/check/package_paths.h"
#include "kit/package_files.h"
#include "kit/pe_headers.h"
#include "res/texts.h"

namespace kit::check {

namespace {

constexpr const char kSignatureCutSees[] =
    "its signature is cut: Windows and antivirus programs take it for damaged or tampered with, warn before it runs "
    "or block it";

// What differs between the two programs: their problems, the subsystem each
// must have, and what the end user meets when one is wrong.
struct ProgramRole {
  std::string fileName;
  std::string noun;    // "the program", "the unpacker"
  std::string option;  // the build's option that copies it
  ProblemKind missing;
  ProblemKind notPe;
  ProblemKind truncated;
  ProblemKind is64Bit;
  ProblemKind notX86;
  std::string missingSees;  // when it is not there
  std::string refusedSees;  // when Windows refuses to start it
  std::string rightBuild;   // the build to put in its place
  std::uint16_t subsystem;  // the one it must have
  ProblemKind wrongSubsystem;
  std::string wrongSubsystemWhat;
  std::string wrongSubsystemSees;
  std::string subsystemBuild;  // the build with the right subsystem

  std::string Fix(const std::string& build) const {
    return "copy " + build + " into the folder as " + fileName + " (setup-pack build " + option + ")";
  }
};

ProgramRole ProgramOf(const Context& context) {
  ProgramRole role;
  role.fileName = context.Name() + kProgramExtension;
  role.noun = "the program";
  role.option = "--program EXE";
  role.missing = ProblemKind::kProgramMissing;
  role.notPe = ProblemKind::kProgramNotPe;
  role.truncated = ProblemKind::kProgramTruncated;
  role.is64Bit = ProblemKind::kProgram64Bit;
  role.notX86 = ProblemKind::kProgramNotX86;
  role.missingSees =
      "nothing to start: the descriptor is found by the program's own name, " + context.Name() + kDescriptorExtension;
  role.refusedSees = "Windows does not start it (\"This app can't run on your PC\", or \"" + role.fileName +
                     " is not a valid Win32 application\"), and nothing is installed";
  role.rightBuild = role.noun + "'s 32-bit build";
  role.subsystem = kSubsystemWindowsGui;
  role.wrongSubsystem = ProblemKind::kProgramConsole;
  role.wrongSubsystemWhat = role.fileName + " is a console program, not a windowed one";
  role.wrongSubsystemSees =
      "a console window opens behind the licence screen and stays open while the program runs; closing it ends the "
      "program";
  role.subsystemBuild = role.noun + "'s windowed build";
  return role;
}

ProgramRole UnpackerOf() {
  ProgramRole role;
  role.fileName = kUnpackerFileName;
  role.noun = "the unpacker";
  role.option = "--unzip EXE";
  role.missing = ProblemKind::kUnpackerMissing;
  role.notPe = ProblemKind::kUnpackerNotPe;
  role.truncated = ProblemKind::kUnpackerTruncated;
  role.is64Bit = ProblemKind::kUnpacker64Bit;
  role.notX86 = ProblemKind::kUnpackerNotX86;
  role.missingSees = std::string("after Install: \"") + TEXT_UNZIP_ERROR + "\", and nothing is installed";
  role.refusedSees = role.missingSees;
  role.rightBuild = "a 32-bit console build of the unpacker";
  role.subsystem = kSubsystemWindowsConsole;
  role.wrongSubsystem = ProblemKind::kUnpackerGui;
  role.wrongSubsystemWhat = role.fileName + " is a windowed program, not a console one";
  role.wrongSubsystemSees =
      "after Install the program starts it hidden and waits for it to end: any window it opens stays out of sight, "
      "so an unpacker that asks or reports anything waits for an answer nobody can give, and the progress bar runs "
      "on until Cancel kills it";
  role.subsystemBuild = role.rightBuild;
  return role;
}

// Why Windows would not take the image for a program it starts, or empty.
std::string NotAProgram(const PeHeaders& headers) {
  if ((headers.characteristics & kCharacteristicDll) != 0) return "it is a DLL, not a program";
  if ((headers.characteristics & kCharacteristicExecutable) == 0) {
    return "its file header does not mark it as an executable image";
  }
  if (headers.subsystem != kSubsystemWindowsGui && headers.subsystem != kSubsystemWindowsConsole) {
    return "its subsystem " + std::to_string(headers.subsystem) + " is neither windowed (" +
           std::to_string(kSubsystemWindowsGui) + ") nor console (" + std::to_string(kSubsystemWindowsConsole) + ")";
  }
  return std::string();
}

std::string TruncatedFix(const ProgramRole& role) {
  return role.Fix("a complete build of " + role.noun) +
         ": a build or copy that runs out of disk space leaves a file cut short";
}

void CheckHeaders(Context& context, const ProgramRole& role) {
  const PeReadResult read = ReadPeHeaders(context.InFolder(role.fileName));
  if (read.status == PeReadStatus::kHeadersCut) {
    context.Add(role.truncated, role.fileName + " is cut short: " + read.why, role.refusedSees, TruncatedFix(role));
    return;
  }
  if (read.status != PeReadStatus::kRead) {
    context.Add(role.notPe, role.fileName + " is not a Windows program: " + read.why, role.refusedSees,
                role.Fix(role.rightBuild));
    return;
  }
  const PeHeaders& headers = read.headers;
  const std::string notAProgram = NotAProgram(headers);
  if (!notAProgram.empty()) {
    context.Add(role.notPe, role.fileName + " is not a Windows program: " + notAProgram, role.refusedSees,
                role.Fix(role.rightBuild));
    return;
  }
  if (const PeFilePart* part = FurthestPartPastEnd(headers)) {
    context.Add(role.truncated,
                role.fileName + " is cut short: its " + part->what + " runs to byte " + std::to_string(part->End()) +
                    ", but the file ends after " + std::to_string(headers.fileSize) + " bytes",
                AnySectionPastEnd(headers) ? role.refusedSees : kSignatureCutSees, TruncatedFix(role));
  }
  const std::string machine = "machine " + MachineName(headers.machine) +
                              (headers.magic == kMagicPe32Plus ? ", PE32+ header" : ", PE32 header");
  if (Is64Bit(headers)) {
    context.Add(role.is64Bit, role.fileName + " is a 64-bit program (" + machine + ")",
                "on 32-bit Windows: " + role.refusedSees, role.Fix(role.rightBuild));
  } else if (headers.machine != kMachineI386) {
    context.Add(role.notX86, role.fileName + " is built for a processor other than x86 (" + machine + ")",
                "on x86 Windows: " + role.refusedSees, role.Fix(role.rightBuild));
  }
  if (headers.subsystem != role.subsystem) {
    context.Add(role.wrongSubsystem, role.wrongSubsystemWhat + " (subsystem " + std::to_string(headers.subsystem) + ")",
                role.wrongSubsystemSees, role.Fix(role.subsystemBuild));
  }
}

// The checks of one program: there, then its headers.
void CheckProgramFile(Context& context, const ProgramRole& role) {
  if (!IsFile(context.InFolder(role.fileName))) {
    context.Add(role.missing, "the package folder holds no " + role.fileName, role.missingSees, role.Fix(role.noun));
    return;
  }
  CheckHeaders(context, role);
}

}  // namespace

void CheckProgram(Context& context) { CheckProgramFile(context, ProgramOf(context)); }

void CheckUnpacker(Context& context) { CheckProgramFile(context, UnpackerOf()); }

}  // namespace kit::check
