// The publisher's face that `setup-pack build` writes into the package's
// copy of the program: its logo, its icon and the version block's fields.
// Each is left as built when it is not given.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kit::branding {

// How long one run of convert or of the resource writer may take before it
// is killed and the build fails: far past what a picture or a program of any
// size needs, so that only a tool that hangs meets it.
constexpr std::chrono::seconds kBrandToolTimeout(300);

// Where the branding stage finds its tools; an empty field takes the
// default: `node` and `convert` from the PATH, the resource writer's
// script and its node_modules folder where this build put them.
struct BrandTools {
  std::string node;
  std::string script;
  std::string modules;
  std::string convert;
  std::chrono::seconds timeout = kBrandToolTimeout;
};

struct BrandOptions {
  std::string logoFile;  // BMP or PNG
  std::string iconFile;  // ICO, or PNG made into the usual sizes
  std::string company;   // the version block's strings; empty: as built
  std::string product;
  std::string description;
  std::string version;  // A.B.C.D: file and product version, fixed fields and strings
  std::string copyright;
  BrandTools tools;

  bool Any() const;
};

// A string of the version block that an option sets.
struct VersionStringOption {
  const char* option;  // the build's option, without "--"
  const char* name;    // the string's name in the version block
  std::string BrandOptions::*text;
};
const std::vector<VersionStringOption>& VersionStringOptions();

// The longest text a version string may be given: Explorer shows a line of
// it, and the whole block must stay within the 64 KiB its lengths can count.
constexpr size_t kLongestVersionText = 256;

// Empty when the options can be used; otherwise what is wrong with the
// first that cannot: a picture file that is not there or not of a kind the
// option takes, a version that is not A.B.C.D, a text that is not UTF-8,
// holds a control character or is too long.
std::string BrandOptionsProblem(const BrandOptions& options);

}  // namespace kit::branding
