#include "kit/check/program_checks.h"

#include <string>

#include "kit/check/package_paths.h"
#include "kit/package_files.h"
#include "res/texts.h"

namespace kit::check {

void CheckProgram(Context& context) {
  const std::string program = context.Name() + kProgramExtension;
  if (IsFile(context.InFolder(program))) return;
  context.Add(
      ProblemKind::kProgramMissing, "the package folder holds no " + program,
      "nothing to start: the descriptor is found by the program's own name, " + context.Name() + kDescriptorExtension,
      "copy the program into the folder as " + program + " (setup-pack build --program EXE)");
}

void CheckUnpacker(Context& context) {
  if (IsFile(context.InFolder(kUnpackerFileName))) return;
  context.Add(ProblemKind::kUnpackerMissing, "the package folder holds no " + kUnpackerFileName,
              std::string("after Install: \"") + TEXT_UNZIP_ERROR + "\", and nothing is installed",
              "copy the unpacker into the folder as " + kUnpackerFileName + " (setup-pack build --unzip EXE)");
}

}  // namespace kit::check
