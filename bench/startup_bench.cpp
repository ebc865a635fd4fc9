// Start-up: from the process start to the licence screen visible, against a
// minimal dialog program of a template (bench/minimal_dialog.cpp). Goal:
// ratio of medians at most 1.3.
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/minimal_dialog.h"
#include "bench/program_windows.h"
#include "res/texts.h"

namespace bench {

void StartUp() {
  Folder package = MakePackage("startup", "");
  package.WriteFile("display.txt", "FIRSTLINE:Welcome\r\nSECONDLINE:Read the terms below.\r\nTHIRDLINE:Thank you.\r\n");
  package.WriteFile("shrinkli.txt", ReadInput("licence-1k.txt"));
  package.CopyIn(Options().minimal, "minimal_dialog.exe");
  CheckHarness("laying out the start-up package");

  Figure f("startup", "ms", "%.0f");
  const int rounds = Rounds(7);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(TimeToScreen(package.PathOf(kProgramName), package.Path(), TEXT_LICENCE_CAPTION));
      } else {
        f.reference.Add(TimeToScreen(package.PathOf("minimal_dialog.exe"), package.Path(), MINIMAL_DIALOG_CAPTION));
      }
      ::Sleep(200);
    }
  }
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "<= 1.3";
  f.goal = 1.3;
  Report(f, "process start to the licence screen visible", "process start to the minimal dialog visible");
}

}  // namespace bench
