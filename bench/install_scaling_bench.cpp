// How install time grows with the package: the kit-built packages of each
// size (--sizes, 1, 2 and 4 GiB by default; scripts/bench makes them from
// bench/make-large-inputs.py's data with setup-pack build), installed through
// the screens and by unzip.exe alone with the program's command line, side by
// side. In each round every size is installed both ways, the sizes rising in
// one round and falling in the next, product and reference alternating; each
// run is checked to unpack every file, whole.
//
// Figures: for each doubling of the size, the ratio of the product's medians
// (goal: at most 2.1, linear); at each size, the program's share over the bare
// unpacker, (product median / reference median - 1) in % (goal: at most 2 %).
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "bench/unpacker_runs.h"

namespace bench {

namespace {

constexpr double kDoublingGoal = 2.1;
constexpr double kShareGoalPercent = 2.0;

struct SizedPackage {
  int megabytes = 0;
  PackagePlace place;
  Samples product;
  Samples reference;
  TreeCount expected;
};

std::string SizeName(int megabytes) { return std::to_string(megabytes) + " MB"; }

// One run, checked: every file of the package unpacked, as many bytes as the
// first run unpacked.
double CheckedRun(SizedPackage& size, bool product) {
  Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");
  RunParts parts;
  const double elapsed = product ? InstallThroughScreens(size.place, kTargetFolder, parts)
                                 : UnzipDirectly(size.place, kTargetFolder, parts);
  TreeCount count;
  CountTree(kTargetFolder, count);
  if (size.expected.files == 0) {
    size.expected = count;
    Say("  " + SizeName(size.megabytes) + " unpacked: " + std::to_string(count.files) + " files in " +
        std::to_string(count.folders) + " folders, " + Format("%.1f MB", static_cast<double>(count.bytes) / 1048576.0));
  }
  Require(count.files > 0 && count.files == size.expected.files && count.bytes == size.expected.bytes,
          SizeName(size.megabytes) + ": " + std::to_string(count.files) + " files, " + std::to_string(count.bytes) +
              " bytes unpacked, not " + std::to_string(size.expected.files) + " and " +
              std::to_string(size.expected.bytes));
  Say("  " + SizeName(size.megabytes) + (product ? " product   " : " reference ") + Format("%.0f ms: ", elapsed) +
      Describe(parts));
  return elapsed;
}

}  // namespace

void InstallScaling() {
  MakeWorkRoot();
  std::vector<SizedPackage> sizes;
  for (const int megabytes : Options().sizesMB) {
    SizedPackage size;
    size.megabytes = megabytes;
    size.place = {Options().large + "pkg-" + std::to_string(megabytes) + "m\\", "Install.zip"};
    Require(::GetFileAttributesA((size.place.folder + kProgramName).c_str()) != INVALID_FILE_ATTRIBUTES,
            "no package " + size.place.folder + " (scripts/bench makes it)");
    sizes.push_back(size);
  }
  Require(sizes.size() >= 2, "the scaling benchmark needs two sizes or more (--sizes=MB,MB,...)");

  const int rounds = Rounds(5);
  for (int round = 0; round < rounds; ++round) {
    for (size_t step = 0; step < sizes.size(); ++step) {
      SizedPackage& size = sizes[ProductFirst(round) ? step : sizes.size() - 1 - step];
      for (int turn = 0; turn < 2; ++turn) {
        const bool product = (turn == 0) == ProductFirst(round + static_cast<int>(step));
        (product ? size.product : size.reference).Add(CheckedRun(size, product));
      }
    }
  }
  Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");

  for (size_t i = 0; i + 1 < sizes.size(); ++i) {
    const SizedPackage& small = sizes[i];
    const SizedPackage& large = sizes[i + 1];
    Say("  " + SizeName(small.megabytes) + " to " + SizeName(large.megabytes) + ": unzip.exe alone " +
        Format("%.3f times", large.reference.Median() / small.reference.Median()));
    Figure f("x" + Format("%.0f", static_cast<double>(large.megabytes) / small.megabytes) + " " +
                 std::to_string(large.megabytes) + "M",
             "ms", "%.0f");
    f.product = large.product;
    f.reference = small.product;
    f.figureName = "ratio of medians";
    f.figure = large.product.Median() / small.product.Median();
    f.goalText = "<= " + Format("%.1f", kDoublingGoal);
    f.goal = kDoublingGoal;
    Report(f, SizeName(large.megabytes) + " through the screens", SizeName(small.megabytes) + " through the screens");
  }
  for (const SizedPackage& size : sizes) {
    Figure f("share " + std::to_string(size.megabytes) + "M", "ms", "%.0f");
    f.product = size.product;
    f.reference = size.reference;
    f.figureName = "program's share, %";
    f.figure = (size.product.Median() / size.reference.Median() - 1.0) * 100.0;
    f.goalText = "<= " + Format("%.0f", kShareGoalPercent) + " %";
    f.goal = kShareGoalPercent;
    Report(f, SizeName(size.megabytes) + ": Yes to \"Installed successfully\"",
           SizeName(size.megabytes) + ": unzip.exe -o -q started directly, to its end");
  }
}

}  // namespace bench
