// The boxes a run brings up, and a run whose monitor cannot start, operated
// from outside.
//
// Every box of a run — its own end or its failure — comes over the setup
// screen: owned by it, so it stays above it, and the screen takes no input
// until the box has gone (a box that comes over the kill question: see
// Unpacking.YesAfterANaturalEndReportsNoKill). A run whose monitor thread cannot be created ("Failed to create
// thread") leaves its unpacker running unwatched: no second unpacker starts
// over it, and Cancel can still kill it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {
namespace {

using unpacking::AnswerAndWait;
using unpacking::ExpectNotice;

constexpr DWORD kOrdinaryExitCode = 0;
constexpr DWORD kKilledUnpackerExitCode = static_cast<DWORD>(EXIT_CODE_FORCED_END);
constexpr long kPackageKB = 1;
constexpr char kArchive[] = "data.zip";
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kFakeConfig[] = "unzip.cfg";
constexpr char kPlaceholderArchive[] = "an archive that the fake unpacker does not read";
constexpr char kHangs[] = "hang=1\r\n";

// The window that owns `window`, if any.
HWND OwnerOf(HWND window) { return ::GetWindow(window, GW_OWNER); }

class RunBoxes : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Options().fakeUnzip.empty()) << "the driver was given no --fake-unzip=PATH"; }
  void TearDown() override {
    m_program.Kill();
    unpacking::EndUnpackers(m_program.ProcessId());
  }

  // The package: the program, its descriptor, a placeholder archive and
  // the fake unpacker told `config` (none: no unpacker at all).
  void LayOut(const std::optional<std::string>& config) {
    Files().WriteFile(unpacking::DescriptorName(), unpacking::DescriptorText(kArchive, kPackageKB));
    Files().WriteFile(kArchive, kPlaceholderArchive);
    if (!config) return;
    Files().CopyIn(Options().fakeUnzip, kUnpackerFile);
    Files().WriteFile(kFakeConfig, *config);
  }
  const Folder& Files() const { return m_package.Files(); }

  HWND Open() {
    if (!m_package.Start(m_program)) return nullptr;
    return unpacking::OpenSetupScreen(m_program);
  }
  bool Install(HWND setup) {
    m_run = unpacking::RunWatch(m_program.ProcessId());
    return unpacking::RequestInstall(m_program, setup, Files().PathOf("target"));
  }

  // While `box` is up, the screen takes no input and the box is owned by
  // `owner`, so that it stays above it; once answered with `answer`, the
  // screen takes input again.
  void ExpectBoxHoldsTheScreen(HWND setup, const MessageBoxOnScreen& box, HWND owner, int answer) {
    EXPECT_EQ(OwnerOf(box.window), owner) << "the box \"" << box.text << "\" is not owned by the window it comes over";
    EXPECT_FALSE(::IsWindowEnabled(setup)) << "the setup screen takes input under \"" << box.text << "\"";
    ASSERT_TRUE(AnswerAndWait(box, answer));
  }

  void ExpectCancelEndsTheProgram(HWND setup) {
    PostClick(setup, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
    EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
  }

  CasePackage m_package;
  ProgramUnderTest m_program;
  unpacking::RunWatch m_run;
};

std::string FailureMessage(const char* code) {
  char text[256];
  std::snprintf(text, sizeof text, TEXT_UNZIP_FAILED, code);
  return text;
}

struct EndCase {
  const char* name;
  const char* config;  // the fake unpacker's orders; null: no unpacker
  std::string message;
};

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class RunEnd : public RunBoxes, public testing::WithParamInterface<EndCase> {};

// The run's closing message, whichever it is, holds the screen until it is
// answered; then the screen takes input again.
TEST_P(RunEnd, BoxHoldsTheScreenUntilAnswered) {
  const EndCase& c = GetParam();
  LayOut(c.config != nullptr ? std::optional<std::string>(c.config) : std::nullopt);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup));
  const std::optional<MessageBoxOnScreen> box = unpacking::ExpectMessageBox(m_program, c.message, {IDOK});
  ASSERT_TRUE(box.has_value());
  ExpectBoxHoldsTheScreen(setup, *box, setup, IDOK);
  ASSERT_TRUE(m_run.WaitForRunEnd());
  EXPECT_TRUE(::IsWindowEnabled(setup)) << "the setup screen stays without input after the box";
  ExpectCancelEndsTheProgram(setup);
}

INSTANTIATE_TEST_SUITE_P(
    RunBoxes, RunEnd,
    testing::Values(EndCase{"Installed", "sleep_ms=300\r\n", TEXT_INSTALLED},
                    EndCase{"Failed", "sleep_ms=300\r\nexit_code=9\r\n", FailureMessage("9")},
                    EndCase{"NoUnpacker", nullptr, TEXT_UNZIP_ERROR}),
    [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

// ---- a run whose monitor cannot start ------------------------------------------

// The stack each new thread of the program reserves, set in its PE header:
// so large that the program's own thread gets it, while a second one cannot
// find that much address space in a 32-bit process. Thread creation then
// fails for real.
constexpr DWORD kOversizedStackReserve = 0x38000000;
// Where SizeOfStackReserve lies: behind the PE signature (4 bytes), the file
// header (20) and 72 bytes of the optional header.
constexpr LONG kStackReserveOffset = 4 + 20 + 72;

bool IsI386Program(const std::string& path) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  IMAGE_DOS_HEADER dos = {};
  IMAGE_NT_HEADERS32 headers = {};
  DWORD read = 0;
  const bool ok = ::ReadFile(file, &dos, sizeof dos, &read, nullptr) &&
                  ::SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                  ::ReadFile(file, &headers, sizeof headers, &read, nullptr) && read == sizeof headers;
  ::CloseHandle(file);
  return ok && headers.FileHeader.Machine == IMAGE_FILE_MACHINE_I386;
}

bool SetStackReserve(const std::string& path, DWORD bytes) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  IMAGE_DOS_HEADER dos = {};
  DWORD done = 0;
  const bool ok = ::ReadFile(file, &dos, sizeof dos, &done, nullptr) &&
                  ::SetFilePointer(file, dos.e_lfanew + kStackReserveOffset, nullptr, FILE_BEGIN) !=
                      INVALID_SET_FILE_POINTER &&
                  ::WriteFile(file, &bytes, sizeof bytes, &done, nullptr) && done == sizeof bytes;
  ::CloseHandle(file);
  return ok;
}

class UnwatchedRun : public RunBoxes {
 protected:
  void SetUp() override {
    RunBoxes::SetUp();
    const std::string program = m_package.ProgramPath();
    if (!IsI386Program(program)) GTEST_SKIP() << "a 64-bit program finds room for any stack";
    ASSERT_TRUE(SetStackReserve(program, kOversizedStackReserve));
  }

  // The run started, its monitor refused: the setup screen, or nullptr.
  HWND StartUnwatched(unpacking::Unpacker& unpacker) {
    LayOut(std::string(kHangs));
    const HWND setup = Open();
    if (setup == nullptr || !Install(setup) || !ExpectNotice(m_program, TEXT_THREAD_FAILED) ||
        !unpacker.Find(m_program)) {
      return nullptr;
    }
    return setup;
  }
};

// Install again starts no second unpacker over the unwatched one; Cancel
// offers to kill it, and the kill ends it.
TEST_F(UnwatchedRun, StaysTheRunInProgressAndCanBeKilled) {
  unpacking::Unpacker unpacker;
  const HWND setup = StartUnwatched(unpacker);
  ASSERT_NE(setup, nullptr);

  PostClick(setup, IDOK);
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_ALREADY_RUNNING));
  EXPECT_EQ(unpacking::RunningUnpackers(m_program.ProcessId()).size(), 1u) << "a second unpacker was started";
  EXPECT_TRUE(unpacker.IsRunning());

  PostClick(setup, IDCANCEL);
  const std::optional<MessageBoxOnScreen> question = unpacking::ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(AnswerAndWait(*question, IDYES));
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_KILLED));
  EXPECT_EQ(unpacker.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));
  ExpectCancelEndsTheProgram(setup);
}

// Once the unwatched unpacker has ended by itself, nothing runs: Cancel
// closes the screen without a question.
TEST_F(UnwatchedRun, IsOverOnceItsUnpackerHasEnded) {
  unpacking::Unpacker unpacker;
  const HWND setup = StartUnwatched(unpacker);
  ASSERT_NE(setup, nullptr);
  unpacker.End(0);
  ASSERT_EQ(unpacker.ExitCode(), std::optional<DWORD>(0));
  ExpectCancelEndsTheProgram(setup);
}

}  // namespace
}  // namespace e2e
