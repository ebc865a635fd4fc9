#include "tests/e2e/unattended_steps.h"

#include <cstdio>
#include <regex>
#include <sstream>

#include "tests/e2e/setup_screen_steps.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/unpacking_steps.h"

namespace e2e::unattended {

namespace {
constexpr char kFakeConfig[] = "unzip.cfg";
constexpr char kFakeLog[] = "unzip.log";
// The lines' stamp: "YYYY-MM-DD HH:MM:SS ".
constexpr size_t kStampLength = 20;
constexpr size_t kLineEndLength = 2;
}  // namespace

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string LocalStampNow() {
  SYSTEMTIME now;
  ::GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return stamp;
}

LogLines ReadLog(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  LogLines log;
  const std::regex stamp(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d $)");
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) {
      ADD_FAILURE() << "the log's last line does not end with CR LF: " << bytes.substr(at);
      break;
    }
    const std::string line = bytes.substr(at, end - at);
    at = end + kLineEndLength;
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF in the line: " << line;
    if (line.size() < kStampLength || !std::regex_match(line.substr(0, kStampLength), stamp)) {
      ADD_FAILURE() << "a line without its date and time: " << line;
      continue;
    }
    log.stamps.push_back(line.substr(0, kStampLength - 1));
    log.texts.push_back(line.substr(kStampLength));
  }
  return log;
}

testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
  size_t next = 0;
  for (const std::string& line : lines) {
    if (next < wanted.size() && line == wanted[next]) ++next;
  }
  if (next == wanted.size()) return testing::AssertionSuccess();
  std::ostringstream out;
  out << "the log lacks \"" << wanted[next] << "\" (in this order); it holds:";
  for (const std::string& line : lines) out << "\n  " << line;
  return testing::AssertionFailure() << out.str();
}

void Unattended::SetUp() { ASSERT_FALSE(Options().fakeUnzip.empty()) << "the driver was given no --fake-unzip=PATH"; }

// An unpacker that hangs outlives the program: end whatever the case left.
void Unattended::TearDown() { unpacking::EndUnpackers(m_program.ProcessId()); }

void Unattended::LayOut(const std::string& config, const std::string& sizeKB) {
  Files().WriteFile(DescriptorName(), DescriptorText(sizeKB, kArchive));
  Files().WriteFile(kArchive, "an archive that the fake unpacker does not read");
  Files().CopyIn(Options().fakeUnzip, kUnpackerFile);
  Configure(config);
}

void Unattended::Configure(const std::string& config) const { Files().WriteFile(kFakeConfig, config); }

std::string Unattended::CommandLineFor(const std::string& folder) const {
  return Quoted(Files().PathOf("unzip")) + " -o -q " + Quoted(Files().PathOf(kArchive)) + " -d " + Quoted(folder);
}

std::vector<std::string> Unattended::UnpackerStarts() const {
  std::vector<std::string> lines;
  std::istringstream log(ReadBytes(Files().PathOf(kFakeLog)));
  for (std::string line; std::getline(log, line);) lines.push_back(line);
  return lines;
}

bool Unattended::Start(const std::string& arguments) {
  return m_program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), arguments);
}

std::optional<DWORD> Unattended::RunSilently(const std::string& arguments, ProgramUnderTest& program) {
  if (!program.Start(m_case.ProgramPath(), m_case.Elsewhere().Path(), arguments)) return std::nullopt;
  std::string shown;
  WaitUntil(
      [&] {
        if (shown.empty() && !TopLevelWindows(program.ProcessId()).empty()) {
          shown = DescribeWindows(program.ProcessId());
        }
        return !program.IsRunning();
      },
      kExitWaitMs);
  EXPECT_EQ(shown, "") << "a window of the program became visible during " << arguments;
  return program.WaitForExit();
}

}  // namespace e2e::unattended
