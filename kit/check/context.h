// What every group of checks shares: the package folder and name, and the
// report the groups fill, a summary of what the program will show and one
// problem after the other in the order they are added.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "kit/pack_check.h"
#include "kit/zip_archive.h"

namespace kit::check {

class Context {
 public:
  Context(const std::string& packageDir, const std::string& name);

  // The package folder, without a trailing separator.
  const std::string& Dir() const { return m_dir; }
  // The package's name: the program is <name>.exe.
  const std::string& Name() const { return m_name; }
  // A file of the package folder, as a path on this machine.
  std::string InFolder(const std::string& fileName) const;

  PackageSummary& Summary() { return m_report.summary; }
  void Add(ProblemKind kind, std::string what, std::string userSees, std::string fix);

  // Set by the descriptor's checks when the "ZIPFILE:" value is sound and
  // names a file of the package: the archive's checks read that file.
  bool archiveNamed = false;
  // The archive's entries, once it has been read (summary.archiveRead).
  std::vector<ArchiveEntry> entries;

  CheckReport TakeReport() { return std::move(m_report); }

 private:
  std::string m_dir;
  std::string m_name;
  CheckReport m_report;
};

}  // namespace kit::check
