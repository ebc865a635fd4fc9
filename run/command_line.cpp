#include "run/command_line.h"

#include "framework/format.h"
#include "res/texts.h"

namespace {
// Each path stands in the format as "%s".
constexpr int kPathPlaceholders = 3;
constexpr int kPlaceholderLength = 2;
}  // namespace

int RoomForPaths() {
  constexpr int formatLength = static_cast<int>(sizeof TEXT_UNPACKER_COMMAND_FORMAT) - 1;
  return kCommandLineSize - 1 - (formatLength - kPathPlaceholders * kPlaceholderLength);
}

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
