// The benchmark driver: runs the benchmarks of the table below under Wine,
// each in a file of its own, and prints, last, the table of every figure
// against its goal. Each benchmark measures the program against a reference
// of its own, the two side by side in one run, several rounds interleaved;
// absolute times alone prove nothing on a shared machine, the ratios do.
//
//   bench_driver --program=SETUP --unzip=UNZIP --fake-unzip=FAKE
//                --minimal=MINIMAL --inputs=FOLDER [--large=FOLDER]
//                [--sizes=MB,...] [--only=NAME,...] [--rounds=N]
//
// Paths are in Windows form. The inputs FOLDER holds what bench/make-inputs.py
// makes (package.zip, package.kb, licence-1k.txt, licence-1m.txt,
// licence-4m.txt); the folder benchmark expects C:\bench5000\ (5,000
// subfolders) and C:\bench50\ (50), which scripts/bench makes. The large
// FOLDER holds the kit-built packages of the large benchmarks, which
// scripts/bench makes: pkg-<MB>m\ for each of --sizes, and pkg-big\ with the
// data it was made from in data-big\. --rounds overrides every benchmark's
// number of rounds.
//
// Without --only, every benchmark but the large ones runs; those (scaling,
// answer, big) unpack several GiB each round and run only when named.
//
// The exit status is 0 when every benchmark chosen could be measured (a
// figure over its goal is a finding, not a failure), 1 otherwise.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "tests/e2e/harness.h"

namespace {

using bench::Options;

struct Benchmark {
  const char* name;
  const char* title;
  void (*run)();
  bool large;  // runs only when named
};

const Benchmark kBenchmarks[] = {
    {"install", "install overhead: through the screens against unzip.exe alone", &bench::InstallOverhead, false},
    {"monitor", "monitor cost: the setup program's CPU during a 10 s run", &bench::MonitorCost, false},
    {"startup", "start-up: to the licence screen against a minimal dialog program", &bench::StartUp, false},
    {"licence", "large licence: 4 MB (and 1 MB) against 1 KB, to the licence screen", &bench::LargeLicence, false},
    {"folders", "a folder with 5,000 subfolders against one with 50, listed after a double-click", &bench::ManyFolders,
     false},
    {"silent", "silent installation: Install.exe /S against unzip.exe alone", &bench::SilentInstall, false},
    {"scaling", "install time at each size: through the screens against unzip.exe alone", &bench::InstallScaling, true},
    {"answer", "the setup screen's answer to WM_NULL while the largest package installs", &bench::AnswerTime, true},
    {"big", "a package past 4 GiB with a member past 4 GiB, installed byte for byte", &bench::BigPackage, true},
};

bool TakeValue(const char* argument, const char* name, std::string& value) {
  const size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0) return false;
  value = argument + length;
  return true;
}

std::string WithBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

int Usage(const std::string& why) {
  std::fprintf(stderr,
               "bench_driver: %s\nusage: bench_driver --program=SETUP --unzip=UNZIP --fake-unzip=FAKE "
               "--minimal=MINIMAL --inputs=FOLDER [--large=FOLDER] [--sizes=MB,...] [--only=NAME,...] "
               "[--rounds=N]\n",
               why.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bench::BenchOptions& options = Options();
  for (int i = 1; i < argc; ++i) {
    std::string only, rounds, sizes;
    if (std::strcmp(argv[i], "--help") == 0) {
      Usage("runs the benchmarks");
      return 0;
    }
    if (TakeValue(argv[i], "--program=", options.program) || TakeValue(argv[i], "--unzip=", options.unzip) ||
        TakeValue(argv[i], "--fake-unzip=", options.fakeUnzip) || TakeValue(argv[i], "--minimal=", options.minimal) ||
        TakeValue(argv[i], "--inputs=", options.inputs) || TakeValue(argv[i], "--large=", options.large)) {
      continue;
    }
    if (TakeValue(argv[i], "--only=", only)) {
      std::stringstream names(only);
      for (std::string name; std::getline(names, name, ',');) options.only.insert(name);
    } else if (TakeValue(argv[i], "--sizes=", sizes)) {
      std::stringstream list(sizes);
      for (std::string size; std::getline(list, size, ',');) options.sizesMB.push_back(std::atoi(size.c_str()));
    } else if (TakeValue(argv[i], "--rounds=", rounds)) {
      options.rounds = std::atoi(rounds.c_str());
    } else {
      return Usage(std::string("unknown argument ") + argv[i]);
    }
  }
  if (options.program.empty() || options.unzip.empty() || options.fakeUnzip.empty() || options.minimal.empty() ||
      options.inputs.empty()) {
    return Usage("a path is missing");
  }
  options.inputs = WithBackslash(options.inputs);
  options.large = WithBackslash(options.large);
  e2e::Options().program = options.program;

  for (const std::string& name : options.only) {
    if (std::none_of(std::begin(kBenchmarks), std::end(kBenchmarks),
                     [&](const Benchmark& b) { return name == b.name; })) {
      return Usage("no benchmark " + name);
    }
  }
  int failed = 0;
  for (const Benchmark& benchmark : kBenchmarks) {
    const bool chosen = options.only.empty() ? !benchmark.large : options.only.count(benchmark.name) != 0;
    if (!chosen) continue;
    bench::Say("");
    bench::Say(std::string("== ") + benchmark.name + ": " + benchmark.title);
    try {
      benchmark.run();
    } catch (const std::exception& error) {
      bench::Say(std::string("  FAILED: ") + error.what());
      bench::NewHarnessFailures();
      ++failed;
    }
  }
  bench::PrintTable();
  e2e::DeleteTree(bench::kWorkRoot);
  return failed == 0 ? 0 : 1;
}
