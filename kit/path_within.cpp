#include "kit/path_within.h"

#include <algorithm>
#include <system_error>

namespace kit {

namespace {

namespace fs = std::filesystem;

fs::path Canonical(const fs::path& path) {
  std::error_code ignored;
  fs::path canonical = fs::weakly_canonical(path, ignored);
  if (!canonical.has_filename()) canonical = canonical.parent_path();
  return canonical;
}

}  // namespace

bool IsSameOrInside(const fs::path& inner, const fs::path& outer) {
  const fs::path in = Canonical(inner);
  const fs::path out = Canonical(outer);
  return std::mismatch(out.begin(), out.end(), in.begin(), in.end()).first == out.end();
}

}  // namespace kit
