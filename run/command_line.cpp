#include "run/command_line.h"

#include "framework/format.h"
#include "res/texts.h"

bool ComposeUnpackerCommand(const CString& unzipPath, const CString& archivePath, const CString& folder,
                            char (&buffer)[kCommandLineSize]) {
  const int written = FormatText(buffer, sizeof buffer, TEXT_UNPACKER_COMMAND_FORMAT, unzipPath.c_str(),
                                    archivePath.c_str(), folder.c_str());
  if (written < 0 || written >= kCommandLineSize) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}
