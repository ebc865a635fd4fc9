// The silent installation against the bare unpacker, side by side in one
// run, several rounds interleaved (the order alternates from round to
// round):
//
//   product    Install.exe /S /DIR=<folder>, from its process start to its
//              end, exit code 0;
//   reference  unzip.exe with the very command line the program gives it,
//              started as the program starts it (hidden, a console of its
//              own, high priority), from its process start to its end.
//
// Each round installs the generated package (bench/make-inputs.py) into a
// fresh folder and checks that every file arrived. The figure is the ratio
// of the medians; the goal, at most 1.01: a silent installation costs no
// more than the unpacking it asks for. Where the difference lies is told
// too, from the system's record of the unpacker's process: the time to its
// start, its run, and its end to the end of the process timed.
#include <functional>
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "bench/unpacker_runs.h"

namespace bench {

namespace {

constexpr char kSilentTarget[] = "C:\\bench\\silent-target";

}  // namespace

void SilentInstall() {
  const std::string kilobytes = ReadInput("package.kb");
  Folder package = MakePackage("silent", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:" +
                                             kilobytes.substr(0, kilobytes.find_first_of("\r\n")) + "\r\n");
  package.CopyIn(Options().unzip, kUnpackerName);
  package.CopyIn(Options().inputs + kArchiveName, kArchiveName);
  CheckHarness("laying out the silent package");
  const PackagePlace place{package.Path(), kArchiveName};

  Figure f("silent", "ms", "%.0f");
  TreeCount expected;
  Samples launch[2], unpacking[2], afterward[2];  // [0] product, [1] reference
  const auto checkedRound = [&](int side, const char* who, const std::function<double(RunParts&)>& run) {
    Require(e2e::DeleteTree(kSilentTarget), "cannot delete the target folder");
    RunParts parts;
    const double elapsed = run(parts);
    // The unpacker's end to the end of the process timed.
    const double after = elapsed - parts.launchMs - parts.runMs;
    if (parts.runMs >= 0) {
      launch[side].Add(parts.launchMs);
      unpacking[side].Add(parts.runMs);
      afterward[side].Add(after);
    }
    TreeCount count;
    CountTree(kSilentTarget, count);
    if (expected.files == 0) expected = count;
    Require(count.files == expected.files && count.bytes == expected.bytes && count.files > 0,
            std::string(who) + " unpacked " + std::to_string(count.files) + " files, not " +
                std::to_string(expected.files));
    Say(std::string("  ") + who + Format(" %.0f ms: ", elapsed) +
        Format("the unpacker created after %.0f ms, ", parts.launchMs) + Format("ran %.0f ms, ", parts.runMs) +
        Format("then %.0f ms to the end", parts.runMs >= 0 ? after : -1));
    return elapsed;
  };
  const int rounds = Rounds(5);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(checkedRound(0, "product  ", [&](RunParts& parts) {
          return InstallSilently(place, kSilentTarget, parts);
        }));
      } else {
        f.reference.Add(checkedRound(1, "reference", [&](RunParts& parts) {
          return UnzipDirectly(place, kSilentTarget, parts);
        }));
      }
    }
  }
  Require(e2e::DeleteTree(kSilentTarget), "cannot delete the target folder");
  Say("  unpacked: " + std::to_string(expected.files) + " files");
  if (!launch[0].values.empty() && !launch[1].values.empty()) {
    Say(Format("  medians: to the unpacker's creation %.0f ms", launch[0].Median()) +
        Format(" (directly %.0f ms); ", launch[1].Median()) + Format("its run %.0f ms", unpacking[0].Median()) +
        Format(" (directly %.0f ms); ", unpacking[1].Median()) +
        Format("its end to the end %.0f ms", afterward[0].Median()) +
        Format(" (directly %.0f ms)", afterward[1].Median()));
  }
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "<= 1.01";
  f.goal = 1.01;
  Report(f, "Install.exe /S, process start to end", "unzip.exe -o -q, the same command line, start to end");
}

}  // namespace bench
