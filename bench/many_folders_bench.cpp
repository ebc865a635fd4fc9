// A folder with 5,000 subfolders against one with 50 (C:\bench5000\ and
// C:\bench50\, which scripts/bench makes), listed after a double-click in the
// setup screen's folder list. Informational: the cost of one more entry.
#include <string>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "res/resource.h"

namespace bench {

namespace {

constexpr char kManyFoldersName[] = "bench5000";
constexpr char kFewFoldersName[] = "bench50";
constexpr int kManyFolders = 5000;
constexpr int kFewFolders = 50;

// One entry of a list of the program, read with the wide messages (see
// harness.h).
std::string EntryAt(HWND list, int index) {
  const LRESULT length = SendLong(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, true);
  if (length < 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendLong(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]), true);
  wide.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
  return std::string(wide.begin(), wide.end());  // the entries asked for are ASCII
}

// Index of `entry` in the list, or -1: the list's own search, checked, and
// else a walk through the entries.
int FindEntry(HWND list, const std::string& entry) {
  const std::wstring wide(entry.begin(), entry.end());
  const int found = static_cast<int>(
      SendLong(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()), true));
  if (found >= 0 && EntryAt(list, found) == entry) return found;
  const int count = static_cast<int>(SendLong(list, LB_GETCOUNT, 0, 0, true));
  for (int index = 0; index < count; ++index) {
    if (EntryAt(list, index) == entry) return index;
  }
  return -1;
}

// Double-clicks `entry` of the folder list and waits until the list holds
// `count` entries and the path field has changed: the time that takes.
double DoubleClickAndList(HWND setup, const std::string& entry, int count) {
  const HWND list = ::GetDlgItem(setup, IDC_DIR_LIST);
  const int index = FindEntry(list, entry);
  Require(index >= 0, "the folder list has no entry " + entry);
  SendLong(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  const std::string pathBefore = TextLong(::GetDlgItem(setup, IDC_CURRENT_PATH));
  const double start = NowMs();
  ::PostMessageA(setup, WM_COMMAND, MAKEWPARAM(IDC_DIR_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  const double end = start + kScreenWaitMs;
  for (;;) {
    // Answered once the program is back in its message loop.
    if (SendLong(list, LB_GETCOUNT, 0, 0, true) == count &&
        TextLong(::GetDlgItem(setup, IDC_CURRENT_PATH)) != pathBefore) {
      return NowMs() - start;
    }
    if (NowMs() > end) {
      throw BenchFailure("timed out waiting for the listing after a double-click on " + entry + "; the list holds " +
                         std::to_string(SendLong(list, LB_GETCOUNT, 0, 0, true)) + " entries");
    }
    ::Sleep(kFastPollMs);
  }
}

}  // namespace

void ManyFolders() {
  Folder package = MakePackage("folders", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:1\r\n");
  const auto entryOf = [](const char* name) { return "[" + std::string(name) + "]"; };
  Figure f("folders", "ms", "%.0f");
  const int rounds = Rounds(5);
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package.Path());
  const HWND list = ::GetDlgItem(setup, IDC_DIR_LIST);
  const int rootCount = static_cast<int>(SendLong(list, LB_GETCOUNT, 0, 0, true));
  // Each listing has the parent entry above the subfolders.
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool many = (turn == 0) == ProductFirst(round);
      const char* name = many ? kManyFoldersName : kFewFoldersName;
      const double elapsed = DoubleClickAndList(setup, entryOf(name), (many ? kManyFolders : kFewFolders) + 1);
      Say(std::string("  ") + name + Format(" listed in %.0f ms", elapsed));
      (many ? f.product : f.reference).Add(elapsed);
      DoubleClickAndList(setup, "[..]", rootCount);
    }
  }
  EndWithEscape(program, setup);
  const double perEntry = (f.product.Median() - f.reference.Median()) / (kManyFolders - kFewFolders);
  Say(Format("  cost of one more entry: %.3f ms", perEntry));
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "informational";
  f.goal = 0;
  Report(f, "double-click to a list of 5,000 subfolders", "double-click to a list of 50 subfolders");
}

}  // namespace bench
