// Large licence: the 4 MB licence (and the 1 MB one) against 1 KB, from the
// process start to the licence screen visible, each checked to show the
// whole text. Goal: the 4 MB licence's extra time about 4 times the 1 MB
// one's (linear; OVER above 5).
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "res/resource.h"
#include "res/texts.h"

namespace bench {

namespace {

// The file's text as the licence screen shows it: every LF as CR CR LF.
std::string AsShown(const std::string& file) {
  std::string shown;
  shown.reserve(file.size() * 3);
  for (const char ch : file) {
    if (ch == '\n') {
      shown += "\r\r\n";
    } else {
      shown += ch;
    }
  }
  return shown;
}

}  // namespace

void LargeLicence() {
  struct Variant {
    Variant(const char* input_, const char* folder_) : input(input_), folder(folder_) {}
    const char* input;
    const char* folder;
    Samples times;
    std::string expected;
    bool checked = false;
    std::unique_ptr<Folder> package;
  };
  Variant variants[] = {
      {"licence-1k.txt", "licence-1k"}, {"licence-1m.txt", "licence-1m"}, {"licence-4m.txt", "licence-4m"}};
  for (Variant& v : variants) {
    const std::string text = ReadInput(v.input);
    v.package = std::make_unique<Folder>(kWorkRoot + std::string(v.folder));
    v.package->CopyIn(Options().program, kProgramName);
    v.package->WriteFile("shrinkli.txt", text);
    v.expected = AsShown(text);
    CheckHarness(std::string("laying out the package ") + v.folder);
  }
  const int rounds = Rounds(5);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 3; ++turn) {
      // 1 KB, 1 MB, 4 MB in one round, 4 MB, 1 MB, 1 KB in the next.
      Variant& v = variants[ProductFirst(round) ? 2 - turn : turn];
      const auto check = [&](HWND screen) {
        if (v.checked) return;
        const HWND edit = ::GetDlgItem(screen, IDC_LICENSE_TEXT);
        const LRESULT length = SendLong(edit, WM_GETTEXTLENGTH, 0, 0);
        std::string shown(static_cast<size_t>(length) + 1, '\0');
        const LRESULT copied = SendLong(edit, WM_GETTEXT, shown.size(), reinterpret_cast<LPARAM>(&shown[0]));
        shown.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
        Require(static_cast<size_t>(length) == v.expected.size(),
                std::string(v.input) + ": the licence text is " + std::to_string(length) + " characters long, not " +
                    std::to_string(v.expected.size()));
        Require(shown == v.expected, std::string(v.input) + ": the licence text differs from the file's");
        Say(std::string("  ") + v.input + ": the licence screen shows the whole text (" + std::to_string(length) +
            " characters, line ends CR CR LF)");
        v.checked = true;
      };
      const double elapsed =
          TimeToScreen(v.package->PathOf(kProgramName), v.package->Path(), TEXT_LICENCE_CAPTION, nullptr, check);
      v.times.Add(elapsed);
      Say(std::string("  ") + v.input + Format(" %.0f ms", elapsed));
      ::Sleep(200);
    }
  }
  Figure f("licence", "ms", "%.0f");
  f.product = variants[2].times;
  f.reference = variants[0].times;
  const double extra1 = variants[1].times.Median() - variants[0].times.Median();
  const double extra4 = variants[2].times.Median() - variants[0].times.Median();
  Say("  1 MB licence: min / median " + MinMedian(variants[1].times, "%.0f", "ms"));
  Say(Format("  extra time over 1 KB: 1 MB %.0f ms, ", extra1) + Format("4 MB %.0f ms; ", extra4) +
      Format("4 MB / 1 MB extra %.2f (linear: 4)", extra4 / extra1));
  Say(Format("  ratio of medians 4 MB / 1 KB: %.2f", f.product.Median() / f.reference.Median()));
  f.figureName = "4MB/1MB extra";
  f.figure = extra4 / extra1;
  f.goalText = "~4 (<= 5)";
  f.goal = 5.0;
  Report(f, "4 MB licence, start to screen visible", "1 KB licence, start to screen visible");
}

}  // namespace bench
