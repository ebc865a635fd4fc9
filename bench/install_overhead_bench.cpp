// Install overhead: the generated package (bench/make-inputs.py) installed
// through the screens, from the confirmation's Yes to "Installed
// successfully", against unzip.exe started directly with the program's
// command line. Each round checks that every file arrived. Goal: ratio of
// medians at most 1.05.
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "bench/unpacker_runs.h"

namespace bench {

void InstallOverhead() {
  const std::string kilobytes = ReadInput("package.kb");
  Folder package = MakePackage("install", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:" +
                                              kilobytes.substr(0, kilobytes.find_first_of("\r\n")) + "\r\n");
  package.CopyIn(Options().unzip, kUnpackerName);
  package.CopyIn(Options().inputs + kArchiveName, kArchiveName);
  package.WriteFile("shrinkli.txt", ReadInput("licence-1k.txt"));
  CheckHarness("laying out the install package");

  Figure f("install", "ms", "%.0f");
  TreeCount expected;
  Samples launch[2], unpacking[2], report;  // [0] product, [1] reference
  const auto checkedRound = [&](const char* who, const std::function<double(RunParts&)>& run) {
    e2e::DeleteTree(kTargetFolder);
    RunParts parts;
    const double elapsed = run(parts);
    const int side = parts.reportMs >= 0 ? 0 : 1;
    if (parts.runMs >= 0) {
      launch[side].Add(parts.launchMs);
      unpacking[side].Add(parts.runMs);
    }
    if (parts.reportMs >= 0) report.Add(parts.reportMs);
    TreeCount count;
    CountTree(kTargetFolder, count);
    if (expected.files == 0) {
      expected = count;
      Say("  unpacked: " + std::to_string(count.files) + " files in " + std::to_string(count.folders) + " folders, " +
          Format("%.1f", static_cast<double>(count.bytes) / 1048576.0) + " MB");
    }
    Require(count.files == expected.files && count.bytes == expected.bytes && count.files > 0,
            std::string(who) + " unpacked " + std::to_string(count.files) + " files, not " +
                std::to_string(expected.files));
    Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");
    Say(std::string("  ") + who + Format(" %.0f ms: ", elapsed) + Describe(parts));
    return elapsed;
  };
  const int rounds = Rounds(3);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(checkedRound("product", [&](RunParts& parts) {
          return InstallThroughScreens({package.Path(), kArchiveName}, kTargetFolder, parts);
        }));
      } else {
        f.reference.Add(checkedRound("reference", [&](RunParts& parts) {
          return UnzipDirectly({package.Path(), kArchiveName}, kTargetFolder, parts);
        }));
      }
    }
  }
  // Where the difference lies: before the unpacker starts, in its run, and
  // after its end.
  if (!launch[0].values.empty() && !launch[1].values.empty() && !report.values.empty()) {
    Say(Format("  medians: to the unpacker's start %.0f ms", launch[0].Median()) +
        Format(" (directly %.0f ms); ", launch[1].Median()) + Format("its run %.0f ms", unpacking[0].Median()) +
        Format(" (directly %.0f ms); ", unpacking[1].Median()) +
        Format("its end to the message %.0f ms", report.Median()));
  }
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "<= 1.05";
  f.goal = 1.05;
  Report(f, "Yes to \"Installed successfully\"", "unzip.exe -o -q started directly, to its end");
}

}  // namespace bench
