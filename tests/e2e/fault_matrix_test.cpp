// The program under faults and bad input, operated from outside: archives
// the genuine unzip.exe cannot unpack, an unpacker that crashes or hangs, a
// kill answered after the run has ended by itself, many runs in one screen,
// package text files of random bytes, of 10 MB and with 100,000-character
// lines, and paths at the edge of the unpacker's command line.
//
// The fake unpacker (--fake-unzip) is copied beside the program as unzip.exe
// and told by unzip.cfg how to run; it logs each command line to unzip.log
// beside itself. The genuine one (--unzip) unpacks archives made here.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "package/licence_texts.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/setup_screen_steps.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {
namespace {

// The program's ordinary end, however its screens were closed.
constexpr DWORD kOrdinaryExitCode = 0;
// The exit code of a killed unpacker: -999 as an unsigned 32-bit value.
constexpr DWORD kKilledUnpackerExitCode = static_cast<DWORD>(EXIT_CODE_FORCED_END);

constexpr long kPackageKB = 1;
constexpr char kArchive[] = "data.zip";
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kUnpackerOnCommandLine[] = "unzip";
constexpr char kFakeConfig[] = "unzip.cfg";
constexpr char kFakeLog[] = "unzip.log";
constexpr char kPlaceholderArchive[] = "an archive that the fake unpacker does not read";
// How long the monitor thread may take to appear after its unpacker, and
// how often the thread list is read meanwhile.
constexpr ULONGLONG kMonitorStartWaitMs = 5000;
constexpr DWORD kMonitorStartPollMs = 10;

// Long enough for the driver to press Cancel and see the question while
// the unpacker still runs.
constexpr char kEndsAfterAWhile[] = "sleep_ms=1500\r\n";
constexpr char kHangs[] = "hang=1\r\n";

// Time in which a message still to come would have come.
constexpr DWORD kQuietMs = 600;

// The failure message with the exit code as the case writes it.
std::string FailureMessage(const char* code) {
  char text[256];
  std::snprintf(text, sizeof text, TEXT_UNZIP_FAILED, code);
  return text;
}

bool FileExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- archives the genuine unpacker is given -----------------------------------

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char ch : bytes) {
    crc ^= static_cast<unsigned char>(ch);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::string Le16(std::uint32_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}
std::string Le32(std::uint32_t value) { return Le16(value & 0xFFFF) + Le16(value >> 16); }

constexpr char kMemberName[] = "readme.txt";
// Where the member's data starts: behind the 30-byte local header and its
// name.
constexpr size_t kMemberDataOffset = 30 + sizeof kMemberName - 1;

// A zip archive holding one stored (uncompressed) member, readme.txt.
std::string StoredArchive() {
  std::string data;
  while (data.size() < 2000) data += "The surveyed charts of the northern provinces.\r\n";
  const std::string name = kMemberName;
  const std::uint32_t crc = Crc32(data);
  const std::uint32_t size = static_cast<std::uint32_t>(data.size());
  // version needed 1.0, no flags, stored, 1980-01-01 00:00
  const std::string common = Le16(10) + Le16(0) + Le16(0) + Le16(0) + Le16(0x21) + Le32(crc) + Le32(size) + Le32(size) +
                             Le16(static_cast<std::uint32_t>(name.size())) + Le16(0);
  const std::string local = Le32(0x04034B50) + common + name + data;
  const std::string central =
      Le32(0x02014B50) + Le16(20) + common + Le16(0) + Le16(0) + Le16(0) + Le32(0) + Le32(0) + name;
  const std::string end = Le32(0x06054B50) + Le16(0) + Le16(0) + Le16(1) + Le16(1) +
                          Le32(static_cast<std::uint32_t>(central.size())) +
                          Le32(static_cast<std::uint32_t>(local.size())) + Le16(0);
  return local + central + end;
}

// The archive with one byte of its member's data overwritten: the member's
// checksum no longer holds.
std::string ArchiveWithDamagedData() {
  std::string archive = StoredArchive();
  archive[kMemberDataOffset + 100] = '#';
  return archive;
}

// The first half of the archive: no central directory.
std::string TruncatedArchive() {
  const std::string archive = StoredArchive();
  return archive.substr(0, archive.size() / 2);
}

std::string PlaceholderArchive() { return kPlaceholderArchive; }

// ---- the program's threads and handles ------------------------------------------

std::vector<DWORD> ThreadsOf(DWORD processId) {
  std::vector<DWORD> threads;
  const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) {
    ADD_FAILURE() << "cannot list the threads (error " << ::GetLastError() << ")";
    return threads;
  }
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) threads.push_back(entry.th32ThreadID);
  }
  ::CloseHandle(snapshot);
  return threads;
}

// One entry of the system's handle table (SystemHandleInformation).
struct SystemHandleEntry {
  ULONG ownerProcessId;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};

// The handles of `processId` in the system's handle table; nothing when the
// table cannot be read.
std::optional<size_t> HandlesInSystemTable(DWORD processId) {
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  constexpr ULONG kSystemHandleInformation = 16;
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  // Through void*: a FARPROC cast straight to another function type draws
  // a warning.
  const auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) return std::nullopt;
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  LONG status;
  while ((status = query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length)) ==
         kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status != 0) return std::nullopt;
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
  size_t owned = 0;
  for (ULONG i = 0; i < count; ++i) {
    if (entries[i].ownerProcessId == processId) ++owned;
  }
  return owned;
}

// The handle count of a running process: GetProcessHandleCount's, or, where
// that answers 0 (Wine's does for every process, and a running process
// always holds handles), the number of its entries in the system's handle
// table. Nothing, with a failure, when neither can be read.
std::optional<size_t> HandleCount(HANDLE process, DWORD processId) {
  DWORD count = 0;
  if (::GetProcessHandleCount(process, &count) && count > 0) return count;
  const std::optional<size_t> fromTable = HandlesInSystemTable(processId);
  if (!fromTable || *fromTable == 0) ADD_FAILURE() << "the handle count of process " << processId << " is unknown";
  return fromTable;
}

// ---- the fixture ----------------------------------------------------------------

class FaultMatrix : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Options().fakeUnzip.empty()) << "the driver was given no --fake-unzip=PATH"; }

  // An unpacker that hangs outlives the program: end the program, then
  // whatever unpacker it left.
  void TearDown() override {
    m_program.Kill();
    unpacking::EndUnpackers(m_program.ProcessId());
  }

  // The package: the program, its descriptor naming `archive`, the archive
  // as `archiveBytes`, `unpacker` as unzip.exe and `config` as unzip.cfg.
  void LayOut(const std::string& unpacker, const std::string& archiveBytes,
              const std::optional<std::string>& config = std::nullopt, const std::string& archive = kArchive) {
    m_archive = archive;
    Files().WriteFile(unpacking::DescriptorName(), unpacking::DescriptorText(archive, kPackageKB));
    Files().WriteFile(archive, archiveBytes);
    Files().CopyIn(unpacker, kUnpackerFile);
    if (config) Files().WriteFile(kFakeConfig, *config);
  }
  const Folder& Files() const { return m_package.Files(); }

  // Starts the program and goes on to the setup screen; nullptr (with a
  // failure) when it does not come.
  HWND Open() {
    if (!m_package.Start(m_program)) return nullptr;
    return unpacking::OpenSetupScreen(m_program);
  }

  // Types `folder` into the installation folder field, presses "Install" and
  // confirms.
  bool Install(HWND setup, const std::string& folder) {
    m_run = unpacking::RunWatch(m_program.ProcessId());
    return unpacking::RequestInstall(m_program, setup, folder);
  }
  bool WaitForRunEnd() const { return m_run.WaitForRunEnd(); }

  std::string Target(const std::string& name = "target") const { return Files().PathOf(name); }

  std::string CommandLineFor(const std::string& folder) const {
    return "\"" + Files().PathOf(kUnpackerOnCommandLine) + "\" -o -q \"" + Files().PathOf(m_archive) + "\" -d \"" +
           folder + "\"";
  }

  std::vector<std::string> LoggedCommandLines() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(Files().PathOf(kFakeLog)));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  // Waits for the program's message box with exactly `text` (another may
  // show beside it); nothing, with a failure, at the bound.
  std::optional<MessageBoxOnScreen> WaitForBoxWithText(const std::string& text) const {
    std::optional<MessageBoxOnScreen> box;
    if (WaitUntil([&] { return (box = unpacking::MessageBoxWithText(m_program.ProcessId(), text)).has_value(); },
                  kWindowWaitMs)) {
      return box;
    }
    ADD_FAILURE() << "no message \"" << text << "\"; the program shows " << DescribeWindows(m_program.ProcessId());
    return std::nullopt;
  }
  // Whether a box with `text` shows up within a while.
  bool BoxWithTextComes(const std::string& text) const {
    return WaitUntil([&] { return unpacking::MessageBoxWithText(m_program.ProcessId(), text).has_value(); }, kQuietMs);
  }

  // Cancel once no run is going on: the screen closes without a question and
  // the program ends as usual.
  void ExpectCancelEndsTheProgram(HWND setup) {
    PostClick(setup, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
    EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
  }

  CasePackage m_package;
  ProgramUnderTest m_program;
  unpacking::RunWatch m_run;
  std::string m_archive = kArchive;
};

// ---- runs that fail -------------------------------------------------------------

struct FailedRunCase {
  const char* name;
  bool genuineUnpacker;      // false: the fake
  std::string (*archive)();  // the archive's bytes
  const char* config;        // unzip.cfg of the fake
  const char* code;          // the unpacker's exit code as the message writes it
};

void PrintTo(const FailedRunCase& c, std::ostream* out) { *out << c.name; }

class FailedRun : public FaultMatrix, public testing::WithParamInterface<FailedRunCase> {
 protected:
  void SetUp() override {
    FaultMatrix::SetUp();
    if (GetParam().genuineUnpacker) {
      ASSERT_FALSE(Options().unzip.empty()) << "the driver was given no --unzip=PATH";
    }
  }
};

// The unpacker's own exit code is reported; "Installed successfully" never
// shows, the button keeps "Cancel", and the run is over: Cancel ends the
// program.
TEST_P(FailedRun, ReportsTheUnpackersCode) {
  const FailedRunCase& c = GetParam();
  LayOut(c.genuineUnpacker ? Options().unzip : Options().fakeUnzip, c.archive(),
         c.config != nullptr ? std::optional<std::string>(c.config) : std::nullopt);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target()));
  ASSERT_TRUE(unpacking::ExpectNotice(m_program, FailureMessage(c.code)));
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(ScreenStaysWithoutMessage(m_program, setup));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectCancelEndsTheProgram(setup);
}

INSTANTIATE_TEST_SUITE_P(
    FaultMatrix, FailedRun,
    testing::Values(
        // unzip: 2 for an error in the archive (here a member's checksum), 9
        // for an archive it cannot find as one (no central directory).
        FailedRunCase{"DamagedMember", true, &ArchiveWithDamagedData, nullptr, "2"},
        FailedRunCase{"TruncatedArchive", true, &TruncatedArchive, nullptr, "9"},
        // A crash's status code is written as Windows writes it.
        FailedRunCase{"CrashedUnpacker", false, &PlaceholderArchive, "exit_code=3221225477\r\n", "0xC0000005"}),
    [](const testing::TestParamInfo<FailedRunCase>& info) { return std::string(info.param.name); });

// ---- kills ------------------------------------------------------------------------

// A hanging unpacker is killed: Cancel, Yes, "Process killed successfully!";
// the screen stays with no message of the run's own end, and the next Cancel
// ends the program.
TEST_F(FaultMatrix, HangingUnpackerIsKilled) {
  LayOut(Options().fakeUnzip, kPlaceholderArchive, std::string(kHangs));
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target()));
  unpacking::Unpacker unpacker;
  ASSERT_TRUE(unpacker.Find(m_program));

  PostClick(setup, IDCANCEL);
  const std::optional<MessageBoxOnScreen> question =
      unpacking::ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(unpacking::AnswerAndWait(*question, IDYES));
  ASSERT_TRUE(unpacking::ExpectNotice(m_program, TEXT_KILLED));
  EXPECT_EQ(unpacker.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));

  EXPECT_TRUE(ScreenStaysWithoutMessage(m_program, setup));
  EXPECT_TRUE(::IsWindowVisible(setup));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectCancelEndsTheProgram(setup);
}

// Cancel while the unpacker runs; it ends by itself with 0 while "Kill the
// on-going process?" is open: "Installed successfully" comes over the
// question, and once it is answered the question, still open, is answered
// Yes: nothing is killed and no kill is reported; the run's own end stands,
// with the button reading "Close".
TEST_F(FaultMatrix, KillAnsweredAfterANaturalEndReportsNoKill) {
  LayOut(Options().fakeUnzip, kPlaceholderArchive, std::string(kEndsAfterAWhile));
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target()));
  unpacking::Unpacker unpacker;
  ASSERT_TRUE(unpacker.Find(m_program));
  ASSERT_TRUE(unpacker.IsRunning()) << "the unpacker ended before Cancel could be pressed";

  PostClick(setup, IDCANCEL);
  const std::optional<MessageBoxOnScreen> question = WaitForBoxWithText(TEXT_KILL_QUESTION);
  ASSERT_TRUE(question.has_value());
  ASSERT_EQ(unpacker.ExitCode(), std::optional<DWORD>(0));
  const std::optional<MessageBoxOnScreen> done = WaitForBoxWithText(TEXT_INSTALLED);
  ASSERT_TRUE(done.has_value()) << "the button reads \"" << ControlText(setup, IDCANCEL) << "\"";
  ASSERT_TRUE(unpacking::AnswerAndWait(*done, IDOK));
  ASSERT_TRUE(::IsWindow(question->window)) << "the question closed by itself";
  ASSERT_TRUE(unpacking::AnswerAndWait(*question, IDYES));

  EXPECT_FALSE(BoxWithTextComes(TEXT_KILLED)) << DescribeWindows(m_program.ProcessId());
  EXPECT_TRUE(WaitForControlText(setup, IDCANCEL, TEXT_CLOSE));
  ASSERT_TRUE(WaitForRunEnd());
  EXPECT_TRUE(ScreenStaysWithoutMessage(m_program, setup));
  ExpectCancelEndsTheProgram(setup);
}

// As above, with the monitor late: it is held (its thread suspended) while
// the unpacker ends with 0 and the question is answered Yes, as a busy
// machine may hold it. The kill must still find the run ended by itself:
// no kill reported; once the monitor goes on, the run's own end stands.
TEST_F(FaultMatrix, KillBeforeALateMonitorReportsNoKill) {
  LayOut(Options().fakeUnzip, kPlaceholderArchive, std::string(kHangs));
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  const std::vector<DWORD> before = ThreadsOf(m_program.ProcessId());
  ASSERT_TRUE(Install(setup, Target()));
  unpacking::Unpacker unpacker;
  ASSERT_TRUE(unpacker.Find(m_program));

  // The monitor is the one thread started with the run. The program creates
  // it just after the unpacker, so the unpacker may be found first: wait for
  // the thread to be there.
  std::vector<DWORD> started;
  const ULONGLONG giveUp = ::GetTickCount64() + kMonitorStartWaitMs;
  while (started.empty() && ::GetTickCount64() < giveUp) {
    for (const DWORD id : ThreadsOf(m_program.ProcessId())) {
      if (std::find(before.begin(), before.end(), id) == before.end()) started.push_back(id);
    }
    if (started.empty()) ::Sleep(kMonitorStartPollMs);
  }
  ASSERT_EQ(started.size(), 1u) << "threads started with the run";
  const HANDLE monitor = ::OpenThread(THREAD_SUSPEND_RESUME, FALSE, started[0]);
  ASSERT_NE(monitor, nullptr);
  ASSERT_NE(::SuspendThread(monitor), static_cast<DWORD>(-1));

  PostClick(setup, IDCANCEL);
  const std::optional<MessageBoxOnScreen> question = WaitForBoxWithText(TEXT_KILL_QUESTION);
  unpacker.End(0);
  const bool answered = question && unpacking::AnswerAndWait(*question, IDYES);
  const bool killReported = answered && BoxWithTextComes(TEXT_KILLED);
  ::ResumeThread(monitor);
  ::CloseHandle(monitor);
  ASSERT_TRUE(answered);
  EXPECT_FALSE(killReported) << "a run that ended by itself with 0 was reported killed";

  const std::optional<MessageBoxOnScreen> done = WaitForBoxWithText(TEXT_INSTALLED);
  ASSERT_TRUE(done.has_value());
  ASSERT_TRUE(unpacking::AnswerAndWait(*done, IDOK));
  EXPECT_TRUE(WaitForControlText(setup, IDCANCEL, TEXT_CLOSE));
  ASSERT_TRUE(WaitForRunEnd());
  ExpectCancelEndsTheProgram(setup);
}

// ---- many runs ----------------------------------------------------------------------

// Twenty installations in a row in one setup screen: after each "Installed
// successfully", once its monitor has gone, the program's handles and
// threads are counted; they stay flat. One handle or thread left behind by
// each run would add 18 between the second run and the twentieth; the
// tolerance of 3 leaves room only for what the system itself may open
// lazily inside the program now and then.
TEST_F(FaultMatrix, TwentyRunsInOneScreenLeakNothing) {
  constexpr int kRuns = 20;
  constexpr size_t kTolerance = 3;
  LayOut(Options().fakeUnzip, kPlaceholderArchive);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  const HANDLE process = ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, m_program.ProcessId());
  ASSERT_NE(process, nullptr) << "cannot open the program (error " << ::GetLastError() << ")";

  std::vector<size_t> handles;
  std::vector<size_t> threads;
  for (int run = 1; run <= kRuns && !HasFatalFailure(); ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    if (!Install(setup, Target()) || !unpacking::ExpectNotice(m_program, TEXT_INSTALLED) || !WaitForRunEnd()) break;
    const std::optional<size_t> handleCount = HandleCount(process, m_program.ProcessId());
    if (!handleCount) break;
    handles.push_back(*handleCount);
    threads.push_back(ThreadsOf(m_program.ProcessId()).size());
  }
  ::CloseHandle(process);
  ASSERT_EQ(handles.size(), static_cast<size_t>(kRuns));
  EXPECT_EQ(LoggedCommandLines().size(), static_cast<size_t>(kRuns));

  const auto series = [](const std::vector<size_t>& counts) {
    std::string text;
    for (const size_t count : counts) text += std::to_string(count) + " ";
    return text;
  };
  EXPECT_LE(handles.back(), handles[1] + kTolerance) << "handles after each run: " << series(handles);
  EXPECT_LE(threads.back(), threads[1] + kTolerance) << "threads after each run: " << series(threads);
  ExpectCancelEndsTheProgram(setup);
}

// ---- package text files of random bytes, of 10 MB, with long lines -------------

// Random bytes are laid out slowly by the licence screen's text box (about
// 18 s for 1 MB here, against 15 s for 10 MB of plain lines): 64 KB keep
// the case short and still hold every byte value many times.
constexpr size_t kRandomSize = 64 * 1024;
constexpr size_t kLargeSize = 10 * 1024 * 1024;
constexpr size_t kLongLine = 100000;
// The licence screen shows once its text box has laid out the whole text:
// about 15 s for 10 MB here, more on a busy machine.
constexpr DWORD kLargeTextWaitMs = 120000;

// What a package file holds and what the program must make of it by its
// rules (nothing: not checked).
struct OddFile {
  std::string bytes;
  // The licence screen's three lines.
  std::optional<std::string> headline;
  std::optional<std::string> secondLine;
  std::optional<std::string> thirdLine;
  // The length of the licence text on screen.
  std::optional<LRESULT> licenceLength;
  // A descriptor: the "ZIPFILE:" value as read, which the setup screen's
  // "Data Source" shows behind the program folder; nothing: no value, and
  // the field stays empty.
  std::optional<std::string> archiveValue;
};

// Seeded random bytes, except 0x1A, which would end the file within its
// first few hundred bytes and leave the rest unread.
std::string RandomBytes(size_t size, std::uint32_t seed) {
  std::mt19937 engine(seed);
  std::string bytes;
  bytes.reserve(size);
  while (bytes.size() < size) {
    const char byte = static_cast<char>(engine() >> 24);
    if (byte != 0x1A) bytes.push_back(byte);
  }
  return bytes;
}

// Random bytes hold none of the keys, so every line is empty.
OddFile RandomWelcome() { return {RandomBytes(kRandomSize, 1), "", "", "", std::nullopt, std::nullopt}; }

// 10 MB of the three keys over and over: the last of each wins.
OddFile LargeWelcome() {
  OddFile file;
  for (int i = 0; file.bytes.size() < kLargeSize; ++i) {
    const std::string n = std::to_string(i);
    file.bytes += "FIRSTLINE:first " + n + "\r\nSECONDLINE:second " + n + "\r\nTHIRDLINE:third " + n + "\r\n";
    file.headline = "first " + n;
    file.secondLine = "second " + n;
    file.thirdLine = "third " + n;
  }
  return file;
}

// A line of 100,000 characters: a read holds 519 of them, the key's 10 and
// 509 of its value; the rest of the line holds no key. The next line is read
// as a line of its own.
OddFile LongWelcome() {
  const std::string line = "FIRSTLINE:" + std::string(kLongLine - 10, 'x');
  return {line + "\nSECONDLINE:after the long line\n",
          std::string(509, 'x'),
          "after the long line",
          "",
          std::nullopt,
          std::nullopt};
}

OddFile RandomLicence() {
  return {RandomBytes(kRandomSize, 2), std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

// The text on screen has the file's characters with each LF as CR CR LF.
OddFile LicenceOfLines(std::string bytes) {
  OddFile file;
  size_t lineEnds = 0;
  for (const char ch : bytes) lineEnds += ch == '\n';
  file.licenceLength = static_cast<LRESULT>(bytes.size() + 2 * lineEnds);
  file.bytes = std::move(bytes);
  return file;
}

OddFile LargeLicence() {
  std::string bytes;
  for (int i = 0; bytes.size() < kLargeSize; ++i) {
    bytes += "Clause " + std::to_string(i) + ": the surveyed data may be used on one machine.\n";
  }
  return LicenceOfLines(std::move(bytes));
}

OddFile LongLicence() {
  std::string line;
  while (line.size() < kLongLine) line += "licensed data ";
  line.resize(kLongLine);
  return LicenceOfLines(line + "\n");
}

// Random bytes hold no "ZIPFILE:".
OddFile RandomDescriptor() {
  return {RandomBytes(kRandomSize, 3), std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

// 10 MB of archive lines: the last wins.
OddFile LargeDescriptor() {
  OddFile file;
  for (int i = 0; file.bytes.size() < kLargeSize; ++i) {
    const std::string archive = "archive " + std::to_string(i) + ".zip";
    file.bytes += "ZIPFILE:" + archive + "\r\nFILESIZE:1\r\n";
    file.archiveValue = archive;
  }
  return file;
}

// A line of 100,000 characters: a read holds 259 of them, the key's 8 and
// 251 of its value.
OddFile LongDescriptor() {
  OddFile file;
  file.bytes = "ZIPFILE:" + std::string(kLongLine - 8, 'a') + "\r\nFILESIZE:1\r\n";
  file.archiveValue = std::string(251, 'a');
  return file;
}

// An archive name of random printable characters, taken as it is.
OddFile GarbageArchiveName() {
  std::mt19937 engine(4);
  std::string value;
  while (value.size() < 200) value.push_back(static_cast<char>(0x20 + engine() % 0x5F));
  OddFile file;
  file.bytes = "ZIPFILE:" + value + "\r\nFILESIZE:1\r\n";
  file.archiveValue = value;
  return file;
}

struct OddFileCase {
  const char* name;
  const char* file;  // kWelcomeFileName, kLicenceFileName, or nullptr for the descriptor
  OddFile (*make)();
};

void PrintTo(const OddFileCase& c, std::ostream* out) { *out << c.name; }

class OddPackageFile : public FaultMatrix, public testing::WithParamInterface<OddFileCase> {};

// The program starts, its licence screen shows what the rules make of the
// file, and the program ends as usual: a text file from the licence
// screen's Cancel; a descriptor through "I Agree", the setup screen and its
// Cancel.
TEST_P(OddPackageFile, ProgramShowsWhatTheRulesSayAndEndsAsUsual) {
  const OddFileCase& c = GetParam();
  const OddFile file = c.make();
  const bool descriptor = c.file == nullptr;
  ASSERT_TRUE(Files().WriteFile(descriptor ? unpacking::DescriptorName() : c.file, file.bytes));
  ASSERT_TRUE(m_package.Start(m_program));
  const HWND licence = WaitForWindow(m_program, TEXT_LICENCE_CAPTION, kLargeTextWaitMs);
  ASSERT_NE(licence, nullptr);
  if (file.headline) {
    EXPECT_EQ(ControlText(licence, IDC_HEADLINE), *file.headline);
  }
  if (file.secondLine) {
    EXPECT_EQ(ControlText(licence, IDC_SECONDLINE), *file.secondLine);
  }
  if (file.thirdLine) {
    EXPECT_EQ(ControlText(licence, IDC_THIRDLINE), *file.thirdLine);
  }
  if (file.licenceLength) {
    EXPECT_EQ(SendQuery(::GetDlgItem(licence, IDC_LICENSE_TEXT), WM_GETTEXTLENGTH), *file.licenceLength);
  }

  if (!descriptor) {
    PostClick(licence, IDCANCEL);
    EXPECT_TRUE(WaitForWindowGone(licence, "the licence screen"));
    EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
    return;
  }
  const HWND setup = unpacking::AgreeToLicence(m_program, licence);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(ControlText(setup, IDC_SOURCE_PATH), file.archiveValue ? Files().Path() + *file.archiveValue : "");
  ExpectCancelEndsTheProgram(setup);
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, OddPackageFile,
                         testing::Values(OddFileCase{"WelcomeRandom", kWelcomeFileName, &RandomWelcome},
                                         OddFileCase{"Welcome10MB", kWelcomeFileName, &LargeWelcome},
                                         OddFileCase{"WelcomeLongLine", kWelcomeFileName, &LongWelcome},
                                         OddFileCase{"LicenceRandom", kLicenceFileName, &RandomLicence},
                                         OddFileCase{"Licence10MB", kLicenceFileName, &LargeLicence},
                                         OddFileCase{"LicenceLongLine", kLicenceFileName, &LongLicence},
                                         OddFileCase{"DescriptorRandom", nullptr, &RandomDescriptor},
                                         OddFileCase{"Descriptor10MB", nullptr, &LargeDescriptor},
                                         OddFileCase{"DescriptorLongLine", nullptr, &LongDescriptor},
                                         OddFileCase{"DescriptorGarbageArchive", nullptr, &GarbageArchiveName}),
                         [](const testing::TestParamInfo<OddFileCase>& info) { return std::string(info.param.name); });

// ---- paths at the edge of the command line --------------------------------------

// The three paths of the unpacker's command line hold at most this many
// characters; its own characters around them are 17 more.
constexpr size_t kPathsRoom = 242;
constexpr size_t kCommandLineFrame = 17;

enum class Grows { kFolder, kArchive };

struct PathRoomCase {
  const char* name;
  Grows grows;   // the path made as long as the total asks
  size_t total;  // the three paths' characters together
};

void PrintTo(const PathRoomCase& c, std::ostream* out) { *out << c.name; }

// The case's folder holds all three paths, and its name is the case's: the
// names here stay short to leave the room its rows need.
class PathRoom : public FaultMatrix, public testing::WithParamInterface<PathRoomCase> {};

// Paths that fill the room exactly start the unpacker with a line of 259
// characters; one character more is refused before anything starts. The
// installation folder is typed, its parent exists.
TEST_P(PathRoom, Install) {
  const PathRoomCase& c = GetParam();
  const size_t unpackerPath = Files().PathOf(kUnpackerOnCommandLine).size();
  std::string archive = kArchive;
  std::string target;
  if (c.grows == Grows::kFolder) {
    const Folder parent(Files().PathOf("parent folder"));
    const size_t taken = unpackerPath + Files().PathOf(archive).size() + parent.Path().size();
    ASSERT_LT(taken, c.total);
    target = parent.PathOf(std::string(c.total - taken, 'f'));
  } else {
    target = Target("t");
    const size_t taken = unpackerPath + Files().Path().size() + target.size() + 4;
    ASSERT_LT(taken, c.total);
    archive = std::string(c.total - taken, 'a') + ".zip";
  }
  LayOut(Options().fakeUnzip, kPlaceholderArchive, std::nullopt, archive);
  ASSERT_EQ(unpackerPath + Files().PathOf(archive).size() + target.size(), c.total);

  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, target));
  if (c.total <= kPathsRoom) {
    ASSERT_TRUE(unpacking::ExpectNotice(m_program, TEXT_INSTALLED));
    const std::vector<std::string> logged = LoggedCommandLines();
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], CommandLineFor(target));
    EXPECT_EQ(logged[0].size(), kPathsRoom + kCommandLineFrame);
    ASSERT_TRUE(WaitForRunEnd());
  } else {
    ASSERT_TRUE(unpacking::ExpectNotice(m_program, TEXT_PATHS_TOO_LONG));
    EXPECT_TRUE(ScreenStaysWithoutMessage(m_program, setup));
    EXPECT_EQ(unpacking::RunningUnpackers(m_program.ProcessId()), std::vector<DWORD>{});
    EXPECT_FALSE(FileExists(Files().PathOf(kFakeLog))) << "the unpacker was started";
  }
  ExpectCancelEndsTheProgram(setup);
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, PathRoom,
                         testing::Values(PathRoomCase{"LongestFolder", Grows::kFolder, kPathsRoom},
                                         PathRoomCase{"FolderOneTooLong", Grows::kFolder, kPathsRoom + 1},
                                         PathRoomCase{"LongestArchive", Grows::kArchive, kPathsRoom},
                                         PathRoomCase{"ArchiveOneTooLong", Grows::kArchive, kPathsRoom + 1}),
                         [](const testing::TestParamInfo<PathRoomCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
