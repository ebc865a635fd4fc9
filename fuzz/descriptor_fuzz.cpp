// The package descriptor reader on arbitrary files, and the size number rule
// on arbitrary text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_file.h"
#include "package/descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = WriteFuzzInput("descriptor-fuzz\\Install.ini", data, size);
  PackageDescriptor descriptor;
  if (!ReadPackageDescriptor(path.c_str(), descriptor)) std::abort();
  if (descriptor.unzipPath.IsEmpty()) std::abort();
  if (!descriptor.hasSize && descriptor.requiredKB != 0) std::abort();

  const std::string text(reinterpret_cast<const char*>(data), size);
  const long number = ParseSizeNumber(text.c_str());
  if (number > INT32_MAX || number < INT32_MIN) std::abort();
  return 0;
}
