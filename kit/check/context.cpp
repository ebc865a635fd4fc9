#include "kit/check/context.h"

#include <utility>

#include "kit/check/package_paths.h"

namespace kit::check {

Context::Context(const std::string& packageDir, const std::string& name) : m_dir(packageDir), m_name(name) {
  while (m_dir.size() > 1 && m_dir.back() == kHostSeparator) m_dir.pop_back();
  m_report.summary.packageDir = m_dir;
}

std::string Context::InFolder(const std::string& fileName) const { return m_dir + kHostSeparator + fileName; }

void Context::Add(ProblemKind kind, std::string what, std::string userSees, std::string fix) {
  m_report.problems.push_back({kind, std::move(what), std::move(userSees), std::move(fix)});
}

}  // namespace kit::check
