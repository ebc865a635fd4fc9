// Monitor cost: the setup program's share of a core while the fake unpacker
// runs 10 s, against a minimal program stepping a bar every 50 ms as the
// monitor does (bench/minimal_dialog.cpp); the idle setup screen, and the
// parts of the minimal monitor's cost, are told too. Goal: at most 1 % of a
// core.
#include <windows.h>
// after windows.h
#include <winternl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/minimal_dialog.h"
#include "bench/program_windows.h"
#include "res/resource.h"
#include "res/texts.h"

namespace bench {

namespace {

// The program's own run, as the benchmark asks of the fake unpacker.
constexpr DWORD kMonitorRunMs = 10000;

// Kernel plus user time of another process, in milliseconds, from the
// system's process list (NtQuerySystemInformation, SystemProcessInformation).
// Not GetProcessTimes: Wine answers it, for any process, with the caller's
// own times.
double CpuMs(DWORD processId) {
  using Query = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  static const Query query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (query == nullptr) throw BenchFailure("no NtQuerySystemInformation");
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    ULONG needed = 0;
    const NTSTATUS status = query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == 0) break;
    if (buffer.size() >= (64u << 20)) throw BenchFailure("cannot read the system's process list");
    buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 65536));
  }
  for (size_t offset = 0;;) {
    const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
    if (static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId)) == processId) {
      return static_cast<double>(entry->KernelTime.QuadPart + entry->UserTime.QuadPart) / 10000.0;
    }
    if (entry->NextEntryOffset == 0) break;
    offset += entry->NextEntryOffset;
  }
  throw BenchFailure("the process " + std::to_string(processId) + " is not in the system's process list");
}

struct CpuShare {
  double percent;
  double cpuMs;
  double wallMs;
};

CpuShare ShareOf(double cpu0, double wall0, double cpu1, double wall1) {
  return {100.0 * (cpu1 - cpu0) / (wall1 - wall0), cpu1 - cpu0, wall1 - wall0};
}

// The share of one core that `process` takes from now until `done` returns.
CpuShare MeasureShare(DWORD process, const std::function<void()>& done) {
  const double cpu0 = CpuMs(process), wall0 = NowMs();
  done();
  return ShareOf(cpu0, wall0, CpuMs(process), NowMs());
}

std::string Describe(const CpuShare& share) {
  return Format("%.0f ms CPU", share.cpuMs) + Format(" in %.0f ms", share.wallMs) + Format(" = %.3f %%", share.percent);
}

// The program's share during a run of the fake unpacker, from the progress
// bar's appearance (the unpacker started and watched) to the end's message;
// and, before, its share with the setup screen idle as long.
CpuShare ProductMonitorRound(const Folder& package, Samples& idleShares) {
  ProgramUnderTest program;
  const HWND setup = OpenSetupScreen(program, package.Path());
  const DWORD process = program.ProcessId();
  SetControlText(setup, IDC_TARGET_DIR, kTargetFolder);
  ::Sleep(500);  // the start-up's own work settles
  const CpuShare idle = MeasureShare(process, [] { ::Sleep(kMonitorRunMs); });
  Say("  idle      the setup screen, nothing running: " + Describe(idle));
  idleShares.Add(idle.percent);

  e2e::PostClick(setup, IDOK);
  const MessageBoxOnScreen confirm = WaitForBox(program, TEXT_CONFIRM_INSTALL, kSlowPollMs, {}, kScreenWaitMs);
  e2e::Answer(confirm, IDYES);
  const HWND bar = ::GetDlgItem(setup, IDC_PROGRESS);
  Require(e2e::WaitUntil([&] { return ::IsWindowVisible(bar) != FALSE; }, kScreenWaitMs),
          "the progress bar does not appear");
  MessageBoxOnScreen done;
  const CpuShare run =
      MeasureShare(process, [&] { done = WaitForBox(program, TEXT_INSTALLED, kSlowPollMs, {confirm.window}); });
  Say("  product   a run of the fake unpacker: " + Describe(run));
  e2e::Answer(done, IDOK);
  CloseAfterRun(program, setup);
  return run;
}

// The minimal monitor's share from its window's appearance to its "Done";
// `steps` chooses its steps' parts (see minimal_dialog.cpp).
CpuShare ReferenceMonitorRound(const Folder& package, const std::string& steps = "") {
  ProgramUnderTest program;
  Require(program.Start(package.PathOf("minimal_dialog.exe"), package.Path(), MINIMAL_MONITOR_ARGUMENT + steps),
          "cannot start the minimal monitor");
  WaitVisible(program, MINIMAL_MONITOR_CAPTION, kFastPollMs);
  MessageBoxOnScreen done;
  const CpuShare run =
      MeasureShare(program.ProcessId(), [&] { done = WaitForBox(program, MINIMAL_MONITOR_DONE, kSlowPollMs); });
  Say("  reference the minimal monitor" + steps + ": " + Describe(run));
  e2e::Answer(done, IDOK);
  Require(program.WaitForExit(kScreenWaitMs).has_value(), "the minimal monitor does not end");
  return run;
}

}  // namespace

void MonitorCost() {
  Folder package = MakePackage("monitor", "ZIPFILE:" + std::string(kArchiveName) + "\r\nFILESIZE:1\r\n");
  package.CopyIn(Options().fakeUnzip, kUnpackerName);
  package.WriteFile("unzip.cfg", "sleep_ms=" + std::to_string(kMonitorRunMs) + "\r\n");
  package.CopyIn(Options().minimal, "minimal_dialog.exe");
  CheckHarness("laying out the monitor package");

  Figure f("monitor", "%", "%.3f");
  Samples idle;
  const int rounds = Rounds(3);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      if ((turn == 0) == ProductFirst(round)) {
        f.product.Add(ProductMonitorRound(package, idle).percent);
      } else {
        f.reference.Add(ReferenceMonitorRound(package).percent);
      }
    }
  }
  // The parts of a step, once each: the 50 ms waits alone, and with the
  // sends to the screen's thread but no drawing of the bar.
  const CpuShare waits = ReferenceMonitorRound(package, "=wait");
  const CpuShare sends = ReferenceMonitorRound(package, "=send");
  Say(Format("  parts of the minimal monitor's cost: the waits alone %.3f %%, ", waits.percent) +
      Format("with the sends %.3f %%, ", sends.percent) +
      Format("with the bar drawn too (median) %.3f %%", f.reference.Median()));
  Say("  idle setup screen: min / median " + MinMedian(idle, "%.3f", "%"));
  Say(Format("  ratio of medians, product / minimal monitor: %.2f", f.product.Median() / f.reference.Median()));
  f.figureName = "product share, %";
  f.figure = f.product.Median();
  f.goalText = "<= 1 %";
  f.goal = 1.0;
  Report(f, "the setup program during a 10 s run, % of one core",
         "a minimal program stepping a bar every 50 ms for 10 s, % of one core");
}

}  // namespace bench
