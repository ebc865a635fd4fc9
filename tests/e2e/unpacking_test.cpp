// The unpacking run, operated from outside: the command line the program
// gives the unpacker, the progress bar while it runs, the messages of its
// end, and Cancel, Esc and the close box during a run and after it.
//
// The sample package installs with the genuine unzip.exe and is compared
// with its source byte for byte. The other cases run the fake unpacker,
// copied beside the program as unzip.exe and told by unzip.cfg how long to
// run, how to end or to hang; it logs each command line it is given to
// unzip.log beside itself. The driver finds the unpacker's process among the
// program's children, to read its exit code and to end it.
//
// The fixtures folder (--fixtures) holds the sample data, made by
// examples/sample-package/make-data, in sample\ and its archive, zipped on
// the Linux side with relative paths, as sample.zip.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "res/texts.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e {
namespace {

using unpacking::AnswerAndWait;
using unpacking::ControlVisible;
using unpacking::DescriptorName;
using unpacking::DescriptorText;
using unpacking::ExpectMessageBox;
using unpacking::ExpectNotice;
using unpacking::MessageBoxWithText;
using unpacking::OpenSetupScreen;
using unpacking::ProgressPosition;
using unpacking::RunningUnpackers;
using unpacking::RunWatch;
using unpacking::Unpacker;

// The exit code of the program's ordinary end.
constexpr DWORD kOrdinaryExitCode = 0;
// The exit code of a killed unpacker: -999 as an unsigned 32-bit value,
// 4294966297.
constexpr DWORD kKilledUnpackerExitCode = static_cast<DWORD>(EXIT_CODE_FORCED_END);
// The bar's full position, shown at a successful end.
constexpr int kBarFull = 100;
// The bar steps by 5 every 50 ms while the unpacker runs: watched this long,
// a moving bar shows many steps.
constexpr DWORD kBarWatchMs = 3000;
// Time in which a bar that still moved would have moved several steps, or a
// message that was still to come would have come.
constexpr DWORD kQuietMs = 600;

// A size that any disk holds.
constexpr long kPackageKB = 64;
constexpr char kArchive[] = "data.zip";
constexpr char kTargetName[] = "target";
// The unpacker as the package holds it, and as the command line names it.
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kUnpackerOnCommandLine[] = "unzip";
// The fake unpacker's files beside it.
constexpr char kFakeConfig[] = "unzip.cfg";
constexpr char kFakeLog[] = "unzip.log";
// The fake unpacker's orders for a run that lasts until it is ended; without
// unzip.cfg it ends at once with exit code 0.
constexpr char kHangs[] = "hang=1\r\n";
// The three paths of the command line hold at most this many characters.
constexpr size_t kPathsRoom = 242;
// The command line's own characters around the paths.
constexpr size_t kCommandLineFrame = 17;

// The fixtures of the genuine unpacker's cases.
constexpr char kFixtureArchive[] = "sample.zip";
constexpr char kFixtureData[] = "sample";

std::string FixturePath(const std::string& name) {
  std::string folder = Options().fixtures;
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + name;
}

// The failure message with the exit code as the case writes it.
std::string FailureMessage(const char* code) {
  char text[256];
  std::snprintf(text, sizeof text, TEXT_UNZIP_FAILED, code);
  return text;
}

// Waits until the bar shows another position than it does now; false at the
// bound.
bool BarMoves(HWND setup) {
  const int first = ProgressPosition(setup);
  return WaitUntil([&] { return ProgressPosition(setup) != first; }, kBarWatchMs);
}

// Whether the bar stays where it is for a while in which a moving bar would
// have moved several steps.
bool BarStaysStill(HWND setup) {
  const int first = ProgressPosition(setup);
  ::Sleep(kQuietMs);
  return ProgressPosition(setup) == first;
}

// A package folder for the case, the program started from the case's other
// folder, and the way to the setup screen and through a run.
class Unpacking : public testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(Options().fakeUnzip.empty()) << "the driver was given no --fake-unzip=PATH"; }

  // An unpacker that hangs outlives the program: end whatever the case left.
  void TearDown() override { EndUnpackers(); }
  void EndUnpackers() { unpacking::EndUnpackers(m_program.ProcessId()); }

  // Lays out the package: the program and its descriptor naming `archive`,
  // a placeholder archive, the unpacker at `unpacker` (a path; empty: none)
  // as unzip.exe, and `config` as unzip.cfg. The package is the case's folder
  // or, when `subfolder` is given, that folder in it.
  void LayOut(const std::string& unpacker, const std::optional<std::string>& config,
              const std::string& archive = kArchive, const std::string& subfolder = "") {
    if (!subfolder.empty()) {
      m_subfolder.emplace(m_case.Files().PathOf(subfolder));
      m_subfolder->CopyIn(Options().program, CasePackage::kProgramName);
    }
    m_archive = archive;
    Package().WriteFile(DescriptorName(), DescriptorText(archive, kPackageKB));
    Package().WriteFile(archive, "an archive that the fake unpacker does not read");
    if (!unpacker.empty()) Package().CopyIn(unpacker, kUnpackerFile);
    if (config) Configure(*config);
  }
  // The fake unpacker's orders for its next start.
  void Configure(const std::string& config) const { Package().WriteFile(kFakeConfig, config); }

  const Folder& Package() const { return m_subfolder ? *m_subfolder : m_case.Files(); }

  // Starts the program and goes on to the setup screen; nullptr (with a
  // failure) when it does not come.
  HWND Open() {
    if (!m_program.Start(Package().PathOf(CasePackage::kProgramName), m_case.Elsewhere().Path())) return nullptr;
    return OpenSetupScreen(m_program);
  }

  // Types `folder` into the installation folder field, presses "Install" and
  // confirms; false (with a failure) when the question does not come.
  bool Install(HWND setup, const std::string& folder) {
    m_run = RunWatch(m_program.ProcessId());
    return unpacking::RequestInstall(m_program, setup, folder);
  }
  // Waits until the last run is over, its monitor gone.
  bool WaitForRunEnd() const { return m_run.WaitForRunEnd(); }

  // An installation folder in the case's folder, which exists.
  std::string Target(const std::string& name = kTargetName) const { return m_case.Files().PathOf(name); }

  // The command line the program gives the unpacker for an installation
  // into `folder`.
  std::string CommandLineFor(const std::string& folder) const {
    return "\"" + Package().PathOf(kUnpackerOnCommandLine) + "\" -o -q \"" + Package().PathOf(m_archive) + "\" -d \"" +
           folder + "\"";
  }

  // The command lines the fake unpacker has been given, one for each start.
  std::vector<std::string> LoggedCommandLines() const {
    std::vector<std::string> lines;
    std::istringstream log(ReadBytes(Package().PathOf(kFakeLog)));
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }
  // Waits until the fake unpacker has logged `count` starts.
  bool WaitForLoggedStarts(size_t count) const {
    if (WaitUntil([&] { return LoggedCommandLines().size() >= count; }, kWindowWaitMs)) return true;
    ADD_FAILURE() << "the unpacker logged " << LoggedCommandLines().size() << " starts, not " << count;
    return false;
  }

  // `act` (Cancel, Esc or the close box) once the run is over: the setup
  // screen closes at once, without a question, and the program ends as usual.
  void ExpectClosedBy(void (*act)(HWND), HWND setup) {
    ASSERT_TRUE(WaitForRunEnd());
    act(setup);
    EXPECT_TRUE(WaitForWindowGone(setup, "the setup screen"));
    EXPECT_EQ(m_program.WaitForExit(), std::optional<DWORD>(kOrdinaryExitCode));
  }

  // Kills the running unpacker through `act` and "Kill the on-going
  // process?" answered Yes; true when "Process killed successfully!" came
  // and has been answered.
  bool KillTheRun(void (*act)(HWND), HWND setup) {
    act(setup);
    const std::optional<MessageBoxOnScreen> question = ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
    return question && AnswerAndWait(*question, IDYES) && ExpectNotice(m_program, TEXT_KILLED);
  }

  // A run of the fake unpacker that hangs, into the folder `target`, with
  // the bar moving: the setup screen, or nullptr (with a failure).
  HWND StartHangingRun(Unpacker& unpacker, const std::string& target) {
    LayOut(Options().fakeUnzip, std::string(kHangs));
    const HWND setup = Open();
    if (setup == nullptr || !Install(setup, target) || !unpacker.Find(m_program)) return nullptr;
    if (!BarMoves(setup)) {
      ADD_FAILURE() << "the bar stands at " << ProgressPosition(setup) << " while the unpacker runs";
      return nullptr;
    }
    return setup;
  }

  CasePackage m_case;
  std::optional<Folder> m_subfolder;
  std::string m_archive = kArchive;
  ProgramUnderTest m_program;
  RunWatch m_run;
};

void PressCancel(HWND setup) { PostClick(setup, IDCANCEL); }

// ---- the genuine unpacker ------------------------------------------------------

// Where the package's files lie: the package's folder, the archive's name
// and the installation folder; blanks in some of them.
struct Layout {
  const char* name;
  const char* subfolder;  // the package's folder in the case's folder; "": the case's folder
  const char* archive;
  const char* target;
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }
std::string LayoutName(const testing::TestParamInfo<Layout>& info) { return info.param.name; }

class Sample : public Unpacking, public testing::WithParamInterface<Layout> {
 protected:
  void SetUp() override {
    Unpacking::SetUp();
    ASSERT_FALSE(Options().unzip.empty()) << "the driver was given no --unzip=PATH";
    ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
  }
};

// The sample package (nested folders, blanks in names, binary files) is
// installed into a fresh folder, every file equal to its source; the end is
// reported with the bar full, then the button reads "Close" and ends the
// program.
TEST_P(Sample, InstallsByteForByte) {
  const Layout& c = GetParam();
  LayOut(Options().unzip, std::nullopt, c.archive, c.subfolder);
  ASSERT_TRUE(Package().CopyIn(FixturePath(kFixtureArchive), c.archive));
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  const std::string target = Target(c.target);
  ASSERT_TRUE(Install(setup, target));

  const std::optional<MessageBoxOnScreen> done = ExpectMessageBox(m_program, TEXT_INSTALLED, {IDOK});
  ASSERT_TRUE(done.has_value());
  EXPECT_EQ(ProgressPosition(setup), kBarFull);
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS_LABEL));
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS));
  // Relabelled only once the message has been dismissed.
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ASSERT_TRUE(AnswerAndWait(*done, IDOK));
  EXPECT_TRUE(WaitUntil([&] { return ControlText(setup, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs))
      << "the button reads \"" << ControlText(setup, IDCANCEL) << "\"";

  const std::string source = FixturePath(kFixtureData);
  ASSERT_GT(TreeOf(source).size(), 100u) << "the sample data at " << source << " is missing";
  EXPECT_EQ(TreeDifferences(source, target), std::vector<std::string>{});

  ExpectClosedBy(&PressCancel, setup);
}

INSTANTIATE_TEST_SUITE_P(Unpacking, Sample,
                         testing::Values(Layout{"Plain", "", kFixtureArchive, kTargetName},
                                         Layout{"Blanks", "my data", "map data.zip", "installed data"}),
                         LayoutName);

// A package exactly as the publisher's kit builds it from the sample data
// (its descriptor, archive, unpacker and texts) installs through the screens,
// every file equal to the data it was made from.
class KitPackage : public Unpacking {
 protected:
  void SetUp() override {
    Unpacking::SetUp();
    ASSERT_FALSE(Options().fixtures.empty()) << "the driver was given no --fixtures=FOLDER";
  }

  // Copies the kit-built package of the fixtures' `folder` into the case's
  // package folder, its program too when `withProgram`, and installs it.
  void InstallsByteForByte(const std::string& folder, bool withProgram) {
    const std::string kit = FixturePath(folder);
    for (const char* name : {"Install.ini", "Install.zip", "unzip.exe", "display.txt", "shrinkli.txt", "Install.exe"}) {
      if (std::string(name) == CasePackage::kProgramName && !withProgram) continue;
      ASSERT_TRUE(Package().CopyIn(kit + "\\" + name, name)) << "the kit-built package lacks " << name;
    }
    const HWND setup = Open();
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(ControlText(setup, IDC_SOURCE_PATH), Package().PathOf("Install.zip"));
    const std::string target = Target();
    ASSERT_TRUE(Install(setup, target));
    const std::optional<MessageBoxOnScreen> done = ExpectMessageBox(m_program, TEXT_INSTALLED, {IDOK});
    ASSERT_TRUE(done.has_value());
    ASSERT_TRUE(AnswerAndWait(*done, IDOK));
    EXPECT_EQ(TreeDifferences(FixturePath(kFixtureData), target), std::vector<std::string>{});
    ExpectClosedBy(&PressCancel, setup);
  }
};

// Whether the program file at `path` carries a signature: its optional
// header's certificate table entry (the fifth data directory) is not empty.
bool HasCertificateTable(const std::string& path) {
  constexpr size_t kWord = 2;
  constexpr size_t kDword = 4;
  constexpr int kBitsPerByte = 8;
  constexpr size_t kPeOffsetField = 0x3C;
  constexpr size_t kOptionalHeaderAfterSignature = 24;
  constexpr size_t kCertificateSizeFieldPe32 = 132;
  constexpr size_t kCertificateSizeFieldPe32Plus = 148;
  constexpr unsigned long kMagicPe32Plus = 0x20B;
  const std::string bytes = ReadBytes(path);
  const auto little = [&bytes](size_t at, size_t size) {
    unsigned long value = 0;
    for (size_t i = size; i-- > 0;) {
      const unsigned char byte = at + i < bytes.size() ? static_cast<unsigned char>(bytes[at + i]) : 0;
      value = (value << kBitsPerByte) | byte;
    }
    return value;
  };
  const size_t optional = little(kPeOffsetField, kDword) + kOptionalHeaderAfterSignature;
  const bool plus = little(optional, kWord) == kMagicPe32Plus;
  return little(optional + (plus ? kCertificateSizeFieldPe32Plus : kCertificateSizeFieldPe32), kDword) != 0;
}

TEST_F(KitPackage, InstallsByteForByte) { InstallsByteForByte("kit", false); }

// The same package signed by the kit (with a throw-away certificate, see
// tests/e2e/CMakeLists.txt): the signed program and the signed unpacker start
// and install exactly as the unsigned ones.
TEST_F(KitPackage, SignedInstallsAsTheUnsigned) {
  for (const char* name : {"Install.exe", "unzip.exe"}) {
    ASSERT_TRUE(HasCertificateTable(FixturePath("kit-signed\\") + name)) << name << " of kit-signed is not signed";
  }
  InstallsByteForByte("kit-signed", true);
}

// The same package with the publisher's face written into its program
// (fixtures' kit-branded, see tests/e2e/CMakeLists.txt) runs and installs
// exactly as the unbranded one.
TEST_F(KitPackage, BrandedInstallsByteForByte) { InstallsByteForByte("kit-branded", true); }

// ---- the command line ------------------------------------------------------------

class CommandLine : public Unpacking, public testing::WithParamInterface<Layout> {};

// Each path is quoted as it is, blanks and all; an unpacker that ends with 0
// is a successful installation.
TEST_P(CommandLine, QuotesEachPath) {
  const Layout& c = GetParam();
  LayOut(Options().fakeUnzip, std::nullopt, c.archive, c.subfolder);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target(c.target)));
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_INSTALLED));
  EXPECT_EQ(LoggedCommandLines(), std::vector<std::string>{CommandLineFor(Target(c.target))});
  EXPECT_TRUE(WaitUntil([&] { return ControlText(setup, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs));
}

INSTANTIATE_TEST_SUITE_P(Unpacking, CommandLine,
                         testing::Values(Layout{"Plain", "", kArchive, kTargetName},
                                         Layout{"BlankInFolder", "my data", kArchive, kTargetName},
                                         Layout{"BlankInArchive", "", "map data.zip", kTargetName},
                                         Layout{"BlankInTarget", "", kArchive, "installed data"}),
                         LayoutName);

class UnpackingPathLength : public Unpacking {
 protected:
  // The installation folder that makes the three paths `total` characters.
  std::string TargetForPaths(size_t total) const {
    const size_t taken =
        Package().PathOf(kUnpackerOnCommandLine).size() + Package().PathOf(m_archive).size() + Target("").size();
    return Target(std::string(total - taken, 'l'));
  }
};

// Three paths of exactly the room there is fill the line to its last
// character, and the unpacker runs.
TEST_F(UnpackingPathLength, PathsThatFillTheRoomStartTheUnpacker) {
  LayOut(Options().fakeUnzip, std::nullopt);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  const std::string target = TargetForPaths(kPathsRoom);
  ASSERT_TRUE(Install(setup, target));
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_INSTALLED));
  const std::vector<std::string> logged = LoggedCommandLines();
  ASSERT_EQ(logged.size(), 1u);
  EXPECT_EQ(logged[0], CommandLineFor(target));
  EXPECT_EQ(logged[0].size(), kPathsRoom + kCommandLineFrame);
}

// One character more is refused before anything starts, and the screen stays
// as it was: no run, so Cancel closes it at once.
TEST_F(UnpackingPathLength, PathsOneCharacterTooLongAreRefused) {
  LayOut(Options().fakeUnzip, std::nullopt);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, TargetForPaths(kPathsRoom + 1)));
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_PATHS_TOO_LONG));
  EXPECT_EQ(RunningUnpackers(m_program.ProcessId()), std::vector<DWORD>{});
  EXPECT_EQ(LoggedCommandLines(), std::vector<std::string>{});
  EXPECT_FALSE(ControlVisible(setup, IDC_PROGRESS_LABEL));
  EXPECT_FALSE(ControlVisible(setup, IDC_PROGRESS));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectClosedBy(&PressCancel, setup);
}

// ---- how a run ends by itself --------------------------------------------------

// No unpacker beside the program: the label and bar show, the error is
// reported, and Cancel then closes the screen.
TEST_F(Unpacking, MissingUnpackerIsReported) {
  LayOut("", std::nullopt);
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target()));
  const std::optional<MessageBoxOnScreen> error = ExpectMessageBox(m_program, TEXT_UNZIP_ERROR, {IDOK});
  ASSERT_TRUE(error.has_value());
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS_LABEL));
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS));
  ASSERT_TRUE(AnswerAndWait(*error, IDOK));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectClosedBy(&PressCancel, setup);
}

struct FailedUnpackerCase {
  unsigned long code;
  const char* shown;  // the code as the message writes it
};

class FailedUnpacker : public Unpacking, public testing::WithParamInterface<FailedUnpackerCase> {};

// An unpacker that ends with another code than 0 is a failed installation:
// the code is reported, the bar stays where it stood, the button keeps
// "Cancel", and the run is over, so Cancel closes the screen.
TEST_P(FailedUnpacker, CodeIsReported) {
  const unsigned long code = GetParam().code;
  // Running a while, so that the bar has left 0.
  LayOut(Options().fakeUnzip, "sleep_ms=400\r\nexit_code=" + std::to_string(code) + "\r\n");
  const HWND setup = Open();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(Install(setup, Target()));
  const std::optional<MessageBoxOnScreen> failure =
      ExpectMessageBox(m_program, FailureMessage(GetParam().shown), {IDOK});
  ASSERT_TRUE(failure.has_value());
  const int stood = ProgressPosition(setup);
  EXPECT_NE(stood, kBarFull);
  ASSERT_TRUE(AnswerAndWait(*failure, IDOK));
  EXPECT_EQ(ProgressPosition(setup), stood);
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectClosedBy(&PressCancel, setup);
}

// 3: an unpacker's own error; 3221225477: the code of a crashed process.
INSTANTIATE_TEST_SUITE_P(Unpacking, FailedUnpacker,
                         testing::Values(FailedUnpackerCase{3, "3"}, FailedUnpackerCase{3221225477ul, "0xC0000005"}));

// ---- cancel, kill and install during a run ----------------------------------

struct Press {
  const char* name;
  void (*act)(HWND setup);
};

void PrintTo(const Press& press, std::ostream* out) { *out << press.name; }

class Kill : public Unpacking, public testing::WithParamInterface<Press> {};

// Cancel, Esc and the close box during a run ask whether to kill; Yes ends
// the unpacker with -999, and the screen stays open as the kill left it: the
// label and bar visible, the bar still, no message of the run's own end. The
// next press closes it.
TEST_P(Kill, YesLeavesTheScreenOpen) {
  Unpacker unpacker;
  const HWND setup = StartHangingRun(unpacker, Target());
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(KillTheRun(GetParam().act, setup));
  EXPECT_EQ(unpacker.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));

  EXPECT_TRUE(BarStaysStill(setup)) << "the bar still moves after the kill";
  EXPECT_FALSE(MessageBoxShown(m_program.ProcessId()).has_value()) << DescribeWindows(m_program.ProcessId());
  EXPECT_TRUE(::IsWindowVisible(setup));
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS_LABEL));
  EXPECT_TRUE(ControlVisible(setup, IDC_PROGRESS));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  ExpectClosedBy(GetParam().act, setup);
}

INSTANTIATE_TEST_SUITE_P(Unpacking, Kill,
                         testing::Values(Press{"Cancel", &PressCancel}, Press{"Escape", &PressEscape},
                                         Press{"CloseBox", &PressCloseBox}),
                         [](const testing::TestParamInfo<Press>& info) { return std::string(info.param.name); });

// No to the question changes nothing: the unpacker runs on, the bar moves,
// and its end is reported as usual.
TEST_F(Unpacking, NoToTheKillQuestionLetsTheRunGoOn) {
  Unpacker unpacker;
  const HWND setup = StartHangingRun(unpacker, Target());
  ASSERT_NE(setup, nullptr);
  PressCancel(setup);
  const std::optional<MessageBoxOnScreen> question = ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question.has_value());
  ASSERT_TRUE(AnswerAndWait(*question, IDNO));

  EXPECT_TRUE(BarMoves(setup)) << "the bar stands at " << ProgressPosition(setup);
  EXPECT_TRUE(unpacker.IsRunning());
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CANCEL);
  unpacker.End(0);
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_INSTALLED));
  EXPECT_TRUE(WaitUntil([&] { return ControlText(setup, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs));
}

// The unpacker ends by itself while the question is open: "Installed
// successfully" comes over the question (owned by it, so above it) and holds
// the screen; answered, it leaves the question open, and Yes then kills
// nothing and reports no kill; the run's own end stands.
TEST_F(Unpacking, YesAfterANaturalEndReportsNoKill) {
  Unpacker unpacker;
  const HWND setup = StartHangingRun(unpacker, Target());
  ASSERT_NE(setup, nullptr);
  PressCancel(setup);
  const std::optional<MessageBoxOnScreen> question = ExpectMessageBox(m_program, TEXT_KILL_QUESTION, {IDYES, IDNO});
  ASSERT_TRUE(question.has_value());

  unpacker.End(0);
  std::optional<MessageBoxOnScreen> done;
  ASSERT_TRUE(WaitUntil([&] { return (done = MessageBoxWithText(m_program.ProcessId(), TEXT_INSTALLED)).has_value(); },
                        kWindowWaitMs))
      << "no \"" << TEXT_INSTALLED << "\" over the question; the program shows "
      << DescribeWindows(m_program.ProcessId());
  EXPECT_EQ(::GetWindow(done->window, GW_OWNER), question->window) << "the message is not above the question";
  EXPECT_FALSE(::IsWindowEnabled(setup)) << "the setup screen takes input under the boxes";
  ASSERT_TRUE(AnswerAndWait(*done, IDOK));
  ASSERT_TRUE(::IsWindow(question->window)) << "the question was swallowed";
  EXPECT_FALSE(::IsWindowEnabled(setup)) << "the setup screen takes input under the question";
  ASSERT_TRUE(AnswerAndWait(*question, IDYES));
  ::Sleep(kQuietMs);
  EXPECT_FALSE(MessageBoxWithText(m_program.ProcessId(), TEXT_KILLED).has_value());

  EXPECT_TRUE(WaitUntil([&] { return ControlText(setup, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs));
  EXPECT_EQ(unpacker.ExitCode(), std::optional<DWORD>(0));
  ExpectClosedBy(&PressCancel, setup);
}

// One run at a time: Install during a run says so and starts no second
// unpacker; the run goes on.
TEST_F(Unpacking, InstallDuringARunStartsNoSecondUnpacker) {
  Unpacker unpacker;
  const HWND setup = StartHangingRun(unpacker, Target());
  ASSERT_NE(setup, nullptr);
  PostClick(setup, IDOK);
  ASSERT_TRUE(ExpectNotice(m_program, TEXT_ALREADY_RUNNING));
  EXPECT_EQ(RunningUnpackers(m_program.ProcessId()), std::vector<DWORD>{unpacker.Id()});
  EXPECT_EQ(LoggedCommandLines().size(), 1u);
  EXPECT_TRUE(BarMoves(setup));
}

// After a kill, Install starts a fresh run, and Cancel offers the kill again.
TEST_F(Unpacking, InstallAfterAKillStartsAFreshRun) {
  Unpacker first;
  const HWND setup = StartHangingRun(first, Target());
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(KillTheRun(&PressCancel, setup));
  EXPECT_EQ(first.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));

  const std::string again = Target("again");
  ASSERT_TRUE(Install(setup, again));
  Unpacker second;
  ASSERT_TRUE(second.Find(m_program, first.Id()));
  ASSERT_TRUE(WaitForLoggedStarts(2));
  EXPECT_EQ(LoggedCommandLines(), (std::vector<std::string>{CommandLineFor(Target()), CommandLineFor(again)}));
  EXPECT_TRUE(BarMoves(setup));
  ASSERT_TRUE(KillTheRun(&PressCancel, setup));
  EXPECT_EQ(second.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));
  ExpectClosedBy(&PressCancel, setup);
}

// ---- a second run after a successful one -------------------------------------

class UnpackingSecondRun : public Unpacking {
 protected:
  // A successful first run, with the fake unpacker ending at once with 0:
  // the setup screen with the button reading "Close", or nullptr (with a
  // failure).
  HWND SucceedOnce() {
    LayOut(Options().fakeUnzip, std::nullopt);
    const HWND setup = Open();
    if (setup == nullptr || !Install(setup, Target()) || !ExpectNotice(m_program, TEXT_INSTALLED) ||
        !WaitUntil([&] { return ControlText(setup, IDCANCEL) == TEXT_CLOSE; }, kWindowWaitMs) || !WaitForRunEnd()) {
      ADD_FAILURE() << "the first run did not end with \"" << TEXT_CLOSE << "\"";
      return nullptr;
    }
    return setup;
  }
};

// The second run is a run like the first: its unpacker is watched and its
// action is still the kill offer, while the button keeps reading "Close".
TEST_F(UnpackingSecondRun, KeepsCloseAndCanBeKilled) {
  const HWND setup = SucceedOnce();
  ASSERT_NE(setup, nullptr);
  Configure(kHangs);
  const std::string second = Target("second");
  ASSERT_TRUE(Install(setup, second));
  Unpacker unpacker;
  ASSERT_TRUE(unpacker.Find(m_program));
  ASSERT_TRUE(WaitForLoggedStarts(2));
  EXPECT_EQ(LoggedCommandLines().back(), CommandLineFor(second));
  EXPECT_TRUE(BarMoves(setup));
  const int position = ProgressPosition(setup);
  EXPECT_TRUE(position % 5 == 0 && position < kBarFull) << "the bar at " << position << " while it cycles";
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CLOSE);

  ASSERT_TRUE(KillTheRun(&PressCancel, setup));
  EXPECT_EQ(unpacker.ExitCode(), std::optional<DWORD>(kKilledUnpackerExitCode));
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CLOSE);
  ExpectClosedBy(&PressCancel, setup);
}

// The launch leaves the bar where the last run left it, full, until the
// monitor's first step: an unpacker that cannot start gives no step, and its
// error shows over a full bar and the button reading "Close".
TEST_F(UnpackingSecondRun, StartsFromTheFullBarOfTheFirst) {
  const HWND setup = SucceedOnce();
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(::DeleteFileA(Package().PathOf(kUnpackerFile).c_str()));
  ASSERT_TRUE(Install(setup, Target("second")));
  const std::optional<MessageBoxOnScreen> error = ExpectMessageBox(m_program, TEXT_UNZIP_ERROR, {IDOK});
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(ProgressPosition(setup), kBarFull);
  EXPECT_EQ(ControlText(setup, IDCANCEL), TEXT_CLOSE);
  ASSERT_TRUE(AnswerAndWait(*error, IDOK));
  ExpectClosedBy(&PressCancel, setup);
}

}  // namespace
}  // namespace e2e
