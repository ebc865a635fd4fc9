// Runs the groups of checks in the order their problems are printed. Each
// group looks at one part of the package and lives in kit/check/; a check
// joins its group's file, a new group joins the list below.
#include "kit/pack_check.h"

#include "kit/check/archive_checks.h"
#include "kit/check/branding_checks.h"
#include "kit/check/command_line_check.h"
#include "kit/check/context.h"
#include "kit/check/descriptor_checks.h"
#include "kit/check/entry_content_checks.h"
#include "kit/check/entry_name_checks.h"
#include "kit/check/program_checks.h"
#include "kit/check/signature_checks.h"
#include "kit/check/text_checks.h"

namespace kit {

CheckReport CheckPackage(const std::string& packageDir, const std::string& name) {
  using Step = void (*)(check::Context&);
  // The archive is read after the descriptor has named it, and before the
  // size figure is weighed against it.
  const Step steps[] = {
      check::CheckProgram,         // NAME.exe
      check::CheckProgramFace,     // NAME.exe's logo, icon and version block
      check::CheckDescriptor,      // NAME.ini: ZIPFILE:
      check::CheckArchive,         // the archive it names
      check::CheckEntryNames,      // its entries' names and paths
      check::CheckEntryContents,   // how the unpacker writes each entry
      check::CheckDescriptorSize,  // NAME.ini: FILESIZE:
      check::CheckUnpacker,        // unzip.exe
      check::CheckCommandLine,     // the unpacker's command line
      check::CheckScreenTexts,     // display.txt, shrinkli.txt
      check::CheckSignatures,      // the signatures of NAME.exe and unzip.exe
  };
  check::Context context(packageDir, name);
  for (const Step step : steps) step(context);
  return context.TakeReport();
}

}  // namespace kit
