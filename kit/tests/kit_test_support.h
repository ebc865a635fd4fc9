// Helpers of the kit's tests: a temporary folder per test, files written
// byte for byte, small program files, a package that installs as meant, and
// runs of the tool.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "kit/pack_check.h"
#include "kit/whole_file.h"
#include "kit/zip_archive.h"
#include "test_programs.h"

namespace kit_test {

namespace fs = std::filesystem;

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

// A program file of the given shape: by default a 32-bit windowed program,
// as NAME.exe must be; UnpackerShape() for unzip.exe.
inline void WriteProgram(const fs::path& path, const ProgramShape& shape = ProgramShape()) {
  WriteBytes(path, ProgramBytes(shape));
}

inline std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "kit_";
    if (test != nullptr) name += std::string(test->test_suite_name()) + "_" + test->name() + "_";
    for (char& ch : name) {
      if (ch == '/') ch = '_';
    }
    name += std::to_string(::getpid()) + "_" + std::to_string(counter++);
    m_path = fs::path(testing::TempDir()) / name;
    fs::remove_all(m_path);
    fs::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& Path() const { return m_path; }

 private:
  fs::path m_path;
};

// Entries of a test archive: a folder when the name ends with '/'.
using EntryBytes = std::vector<std::pair<std::string, std::string>>;

// Writes an archive holding `entries` with the kit's own writer.
inline void WriteTestArchive(const fs::path& archive, const EntryBytes& entries) {
  const fs::path sources = archive.parent_path() / (archive.filename().string() + ".sources");
  fs::create_directories(archive.parent_path());
  std::vector<kit::ArchiveInput> inputs;
  int count = 0;
  for (const auto& [name, bytes] : entries) {
    if (!name.empty() && name.back() == '/') {
      inputs.push_back({name, std::string()});
      continue;
    }
    const fs::path source = sources / std::to_string(count++);
    WriteBytes(source, bytes);
    inputs.push_back({name, source.string()});
  }
  std::string error;
  ASSERT_TRUE(kit::WriteArchive(archive.string(), inputs, error)) << error;
  fs::remove_all(sources);
}

// A package folder that installs as meant: its archive holds 12 KB in 4 KiB
// clusters (5000 bytes take two clusters, 10 bytes one, an empty file none).
class Package {
 public:
  static constexpr long kUnpackedKB = 12;

  explicit Package(const fs::path& parent, const std::string& folderName = "pkg") : m_dir(parent / folderName) {
    fs::create_directories(m_dir);
    Archive(
        {{"maps/", ""}, {"maps/north.dat", std::string(5000, 'n')}, {"readme.txt", "ten bytes!"}, {"empty.txt", ""}});
    Write("Install.ini", "ZIPFILE:Install.zip\r\nFILESIZE:12\r\n");
    WriteProgram(PathOf("Install.exe"));
    WriteProgram(PathOf("unzip.exe"), UnpackerShape());
    Write("display.txt", "FIRSTLINE:Welcome\r\nSECONDLINE:  North coast charts\r\nTHIRDLINE:Support: example.org\r\n");
    Write("shrinkli.txt", "Line one\r\nLine two");
  }

  const fs::path& Dir() const { return m_dir; }
  fs::path PathOf(const std::string& name) const { return m_dir / name; }
  void Write(const std::string& name, const std::string& bytes) const { WriteBytes(PathOf(name), bytes); }
  void Remove(const std::string& name) const { fs::remove(PathOf(name)); }
  void Archive(const EntryBytes& entries, const std::string& name = "Install.zip") const {
    WriteTestArchive(PathOf(name), entries);
  }
  // Renames the package folder.
  void Rename(const std::string& folderName) {
    const fs::path moved = m_dir.parent_path() / folderName;
    fs::rename(m_dir, moved);
    m_dir = moved;
  }

  kit::CheckReport Check() const { return kit::CheckPackage(m_dir.string(), "Install"); }

 private:
  fs::path m_dir;
};

// The codes of every problem, in the order reported.
inline std::vector<std::string> AllCodesOf(const kit::CheckReport& report) {
  std::vector<std::string> codes;
  for (const kit::Problem& problem : report.problems) codes.push_back(kit::InfoOf(problem.kind).code);
  return codes;
}

inline bool IsSignatureProblem(kit::ProblemKind kind) {
  using kit::ProblemKind;
  const ProblemKind signatureKinds[] = {
      ProblemKind::kProgramUnsigned,
      ProblemKind::kProgramSignatureUnchecked,
      ProblemKind::kProgramSignatureUnreadable,
      ProblemKind::kProgramSignatureMismatch,
      ProblemKind::kProgramCertificateExpired,
      ProblemKind::kProgramCertificateNotYetValid,
      ProblemKind::kUnpackerUnsigned,
      ProblemKind::kUnpackerSignatureUnchecked,
      ProblemKind::kUnpackerSignatureUnreadable,
      ProblemKind::kUnpackerSignatureMismatch,
      ProblemKind::kUnpackerCertificateExpired,
      ProblemKind::kUnpackerCertificateNotYetValid,
  };
  for (const ProblemKind signatureKind : signatureKinds) {
    if (kind == signatureKind) return true;
  }
  return false;
}

// The codes of the problems, less those of the programs' signatures: the
// tests' own program files are unsigned, or carry a made-up certificate
// table, so each of their packages has those. The signature tests look at
// them with AllCodesOf.
inline std::vector<std::string> CodesOf(const kit::CheckReport& report) {
  std::vector<std::string> codes;
  for (const kit::Problem& problem : report.problems) {
    if (!IsSignatureProblem(problem.kind)) codes.push_back(kit::InfoOf(problem.kind).code);
  }
  return codes;
}

struct ToolRun {
  int status = -1;
  std::string output;  // standard output and standard error
};

inline std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char ch : text) quoted += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return quoted + "'";
}

// Runs the built tool with `args` and waits for it; `prefix` goes before the
// tool in the shell's command line.
inline ToolRun RunTool(const std::vector<std::string>& args, const std::string& prefix = "") {
  std::string command = prefix + ShellQuoted(SETUP_PACK_PATH);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " 2>&1";
  ToolRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char chunk[4096];
  size_t read = 0;
  while ((read = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) run.output.append(chunk, read);
  const int wait = ::pclose(pipe);
  run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  return run;
}

// How a run whose files may grow only to a limit ends at it: as on a full
// disk, each write past the limit fails; or killed there, as a build killed
// half-way.
enum class AtFileSizeLimit { kWriteFails, kKilled };

// Runs the built tool with its files limited to `limitBytes` each
// (util-linux's prlimit sets the limit; the system sends the signal that
// kills a process writing past it, unless the process ignores it).
inline ToolRun RunToolWithFileSizeLimit(const std::vector<std::string>& args, std::uint64_t limitBytes,
                                        AtFileSizeLimit atLimit) {
  const std::string ignoreSignal = atLimit == AtFileSizeLimit::kWriteFails ? "trap '' XFSZ; " : "";
  return RunTool(args, ignoreSignal + "exec prlimit --fsize=" + std::to_string(limitBytes) + " -- ");
}

// The names in `folder` that builds write while a file is not complete.
inline std::vector<std::string> PartialFilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.find(kit::kPartialFileMark) != std::string::npos) names.push_back(name);
  }
  return names;
}

// The problem lines of the tool's output: those that start with a code.
inline std::vector<std::string> ProblemLines(const std::string& output) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string::npos) end = output.size();
    const std::string line = output.substr(start, end - start);
    if (line.rfind("E-", 0) == 0 || line.rfind("W-", 0) == 0) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kit_test
