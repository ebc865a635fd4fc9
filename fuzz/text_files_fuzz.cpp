// The welcome-line and licence readers on arbitrary files.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_file.h"
#include "package/licence_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteFuzzInput("text-files-fuzz", data, size);

  WelcomeLines lines;
  if (!ReadWelcomeLines(path.c_str(), lines)) std::abort();
  // No value can be longer than a piece of the file.
  for (const CString* line : {&lines.first, &lines.second, &lines.third}) {
    if (line->GetLength() >= kWelcomeReadSize) std::abort();
  }

  CString licence;
  if (!ReadLicenceText(path.c_str(), licence)) std::abort();
  // Every line end of the licence is CR CR LF.
  const std::string& text = licence.str();
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    if (at < 2 || text[at - 1] != '\r' || text[at - 2] != '\r') std::abort();
  }
  if (text.size() > 3 * size) std::abort();
  return 0;
}
