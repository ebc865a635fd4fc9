// Browsing driven by random sequences of double-clicks, drive changes and
// typing, over a listing whose answers are random too.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/dbcs.h"
#include "setup/browsing.h"

namespace {

class RandomListing : public DirectoryListing {
 public:
  explicit RandomListing(FuzzedDataProvider& input) : m_input(input) {}
  void Bind(Browsing* browsing) { m_browsing = browsing; }

  int ListDrives(char* /*path*/) override { return 1; }
  int ListFolders(char* path) override {
    if (std::strlen(path) >= kListPathSize) std::abort();
    if (!m_input.ConsumeBool()) return 0;
    m_browsing->OnPathChange();
    return 1;
  }
  void SelectedFolder(char* buffer, int size) override { Fill(buffer, size, m_input.ConsumeRandomLengthString(300)); }
  void SelectedDrive(char* buffer, int size) override {
    const char letter = static_cast<char>('a' + m_input.ConsumeIntegralInRange(0, 25));
    Fill(buffer, size, std::string(1, letter) + ":");
  }

 private:
  static void Fill(char* buffer, int size, const std::string& text) {
    std::strncpy(buffer, text.c_str(), static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
  }
  FuzzedDataProvider& m_input;
  Browsing* m_browsing = nullptr;
};

class QuietScreen : public BrowsingScreen {
 public:
  void Refresh() override {}
  void ShowMessage(const char* /*text*/) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  dbcs::SetLeadByteRule(input.ConsumeBool() ? &dbcs::IsCodePage932LeadByte : nullptr);
  char listPath[kListPathSize] = "c:\\";
  CString currentDir = ProposedFolder();
  int leftDefaultDir = 0;
  CString targetDir;
  RandomListing listing(input);
  QuietScreen screen;
  Browsing browsing(listPath, currentDir, leftDefaultDir, targetDir, listing, screen);
  listing.Bind(&browsing);

  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
      case 0:
        browsing.OnFolderDoubleClick();
        break;
      case 1:
        browsing.OnDriveChange();
        break;
      default:
        browsing.OnPathChange();
        break;
    }
    if (std::memchr(listPath, '\0', kListPathSize) == nullptr) std::abort();
    if (leftDefaultDir != 0 && leftDefaultDir != 1) std::abort();
  }
  dbcs::SetLeadByteRule(nullptr);
  return 0;
}
