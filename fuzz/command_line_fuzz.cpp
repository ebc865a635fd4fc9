// The unpacker's command line from three arbitrary paths: it is either whole
// and within its buffer, or refused.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "run/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kRoomForPaths = 242;
  FuzzedDataProvider input(data, size);
  const std::string unzip = input.ConsumeRandomLengthString(400);
  const std::string archive = input.ConsumeRandomLengthString(400);
  const std::string folder = input.ConsumeRemainingBytesAsString();
  // Paths are C strings: they end at their first NUL.
  const CString a = unzip.c_str();
  const CString b = archive.c_str();
  const CString c = folder.c_str();

  char line[kCommandLineSize];
  const bool composed = ComposeUnpackerCommand(a, b, c, line);
  const std::size_t paths = static_cast<std::size_t>(a.GetLength() + b.GetLength() + c.GetLength());
  if (composed != (paths <= kRoomForPaths)) std::abort();
  if (composed && std::string(line) != "\"" + a.str() + "\" -o -q \"" + b.str() + "\" -d \"" + c.str() + "\"") {
    std::abort();
  }
  if (!composed && line[0] != '\0') std::abort();
  return 0;
}
