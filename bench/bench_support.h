// What the benchmarks of the driver share: its options, the failures that
// end a benchmark, time, samples, and the figures held against their goals
// with their printout. Every benchmark measures the program and a reference
// of its own side by side in one run, several rounds interleaved (the order
// alternates from round to round), and prints the minimum and median of both
// and, last, the figure against its goal.
#pragma once

#include <windows.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// What the driver's command line gave (bench_driver.cpp); paths in Windows
// form.
struct BenchOptions {
  std::string program;
  std::string unzip;
  std::string fakeUnzip;
  std::string minimal;
  std::string inputs;        // bench/make-inputs.py's outputs, with trailing backslash
  std::string large;         // the large packages (scripts/bench), with trailing backslash
  std::vector<int> sizesMB;  // the sizes of the scaling packages
  std::set<std::string> only;
  int rounds = 0;  // 0: each benchmark's own
};
BenchOptions& Options();
// `own` rounds, unless --rounds gave every benchmark's.
int Rounds(int own);

// Where the benchmarks work, and the names of a package's files there.
constexpr char kWorkRoot[] = "C:\\bench\\";
constexpr char kProgramName[] = "Install.exe";
constexpr char kDescriptorName[] = "Install.ini";
constexpr char kArchiveName[] = "package.zip";
constexpr char kUnpackerName[] = "unzip.exe";
constexpr char kTargetFolder[] = "C:\\bench\\target";

// Makes C:\bench\, where the benchmarks' package and target folders lie: the
// program refuses a target folder whose parent is missing.
void MakeWorkRoot();

// Bounds of the waits: generous, as a loaded machine under Wine is slow.
constexpr DWORD kScreenWaitMs = 120000;
constexpr DWORD kRunWaitMs = 1800000;  // an installation of several GiB
constexpr DWORD kQueryWaitMs = 120000;
// Polling while a time runs: short, and only with calls that send the
// program no message (the window list, visibility, captions from the
// server's copy).
constexpr DWORD kFastPollMs = 1;
constexpr DWORD kSlowPollMs = 50;

// What ends one benchmark (the others still run).
struct BenchFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Failures the harness has added since the last look, as one text.
std::string NewHarnessFailures();
// Throws a BenchFailure naming `during` when the harness has failed.
void CheckHarness(const std::string& during);
void Require(bool condition, const std::string& what);

// The performance counter, in milliseconds.
double NowMs();
// The system's clock, in milliseconds, as process times are given.
double SystemNowMs();

struct Samples {
  std::vector<double> values;
  void Add(double value) { values.push_back(value); }
  double Min() const;
  double Median() const;
  // The value that `fraction` of the samples do not exceed (0.99: the 99th
  // percentile), by the nearest rank.
  double Percentile(double fraction) const;
  std::string List(const char* format) const;
};

void Say(const std::string& line);
std::string Format(const char* format, double value);

// One benchmark's result line of the closing table.
struct Figure {
  Figure(std::string name_, std::string unit_, const char* valueFormat_)
      : name(std::move(name_)), unit(std::move(unit_)), valueFormat(valueFormat_) {}

  std::string name;
  std::string unit;         // "ms" or "%"
  const char* valueFormat;  // of product and reference values
  Samples product;
  Samples reference;
  std::string figureName;  // what is held against the goal
  double figure = 0;
  std::string goalText;  // "<= 1.05", "informational"
  double goal = 0;       // 0: informational
};

std::string MinMedian(const Samples& samples, const char* format, const std::string& unit);
// Prints the figure's samples and its verdict, and keeps it for the table.
void Report(const Figure& f, const std::string& productWhat, const std::string& referenceWhat);
// The table of every figure reported.
void PrintTable();

// Whether round `round` runs the product first: the order alternates.
bool ProductFirst(int round);

// A file of the inputs folder, whole.
std::string ReadInput(const std::string& name);

struct TreeCount {
  long files = 0;
  long folders = 0;
  unsigned long long bytes = 0;
};
void CountTree(const std::string& folder, TreeCount& count);

}  // namespace bench
