// The installation folder's normalisation and checks on arbitrary typed text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/dbcs.h"
#include "setup/browsing.h"
#include "setup/install_request.h"

namespace {

class RandomDisk : public DiskQueries {
 public:
  explicit RandomDisk(bool exists) : m_exists(exists) {}
  bool TotalFreeBytes(const char* /*root*/, std::uint64_t& /*freeBytes*/) override { return false; }
  bool FreeClusters(const char*, std::uint32_t&, std::uint32_t&, std::uint32_t&) override { return false; }
  bool Exists(const char* /*path*/) override { return m_exists; }

 private:
  bool m_exists;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  dbcs::SetLeadByteRule(input.ConsumeBool() ? &dbcs::IsCodePage932LeadByte : nullptr);
  RandomDisk disk(input.ConsumeBool());
  const std::string typed = input.ConsumeRemainingBytesAsString();

  const CString folder = NormaliseInstallFolder(typed.c_str());
  if (!folder.IsEmpty() && (IsTrimSpace(folder.GetAt(0)) || EndsWithBackslash(folder))) std::abort();
  if (CheckInstallFolder(folder, disk) == FolderVerdict::kAccepted) {
    if (folder.Find('"') >= 0 || folder.ReverseFind('\\') <= 0) std::abort();
  }
  dbcs::SetLeadByteRule(nullptr);
  return 0;
}
