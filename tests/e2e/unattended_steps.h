// Steps of the unattended installation's end-to-end cases: a package with the
// fake unpacker, the program started with switches and watched to its end
// (no window of it may become visible during a silent run), and the run's
// log read back line by line.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace e2e::unattended {

constexpr char kArchive[] = "data.zip";
constexpr char kUnpackerFile[] = "unzip.exe";
constexpr char kPackageKB[] = "64";
// The fake unpacker's orders: make the folder after -d, then end with 0.
constexpr char kExtracts[] = "extract=1\r\n";
// A run that lasts, so that a window would have time to show.
constexpr char kExtractsSlowly[] = "sleep_ms=3000\r\nextract=1\r\n";
constexpr char kFails[] = "exit_code=3\r\n";
constexpr char kHangs[] = "hang=1\r\n";

std::string Quoted(const std::string& text);
// The local date and time now, as the log's lines are stamped.
std::string LocalStampNow();

// The log's lines, each checked for its stamp and its CR LF end.
struct LogLines {
  std::vector<std::string> stamps;  // "YYYY-MM-DD HH:MM:SS"
  std::vector<std::string> texts;   // what follows the stamp
};
LogLines ReadLog(const std::string& path);

// Whether `wanted` stands in `lines` in this order, other lines between.
testing::AssertionResult InOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted);

class Unattended : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The package: the program, its descriptor with the size `sizeKB`, a
  // placeholder archive, and the fake unpacker with `config` as unzip.cfg.
  void LayOut(const std::string& config = kExtracts, const std::string& sizeKB = kPackageKB);
  void Configure(const std::string& config) const;

  const Folder& Files() const { return m_case.Files(); }
  // An installation folder in the case's folder (whose parent exists).
  std::string Target(const std::string& name = "installed data") const { return Files().PathOf(name); }
  std::string LogPath() const { return Files().PathOf("setup log.txt"); }
  // The command line the program gives the unpacker for `folder`.
  std::string CommandLineFor(const std::string& folder) const;
  // The command lines the fake unpacker was given, one for each start.
  std::vector<std::string> UnpackerStarts() const;

  // Starts the program with `arguments` from another folder.
  bool Start(const std::string& arguments);
  // Starts the program with `arguments` and watches it to its end: the exit
  // code, or nothing (with a failure) when it does not end. Every window of
  // the program that becomes visible meanwhile is a failure.
  std::optional<DWORD> RunSilently(const std::string& arguments) { return RunSilently(arguments, m_program); }
  std::optional<DWORD> RunSilently(const std::string& arguments, ProgramUnderTest& program);

  CasePackage m_case;
  ProgramUnderTest m_program;
};

}  // namespace e2e::unattended
