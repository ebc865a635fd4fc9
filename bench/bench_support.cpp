#include "bench/bench_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace bench {

BenchOptions& Options() {
  static BenchOptions options;
  return options;
}

int Rounds(int own) { return Options().rounds > 0 ? Options().rounds : own; }

void MakeWorkRoot() {
  Require(::CreateDirectoryA(kWorkRoot, nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS,
          std::string("cannot make ") + kWorkRoot);
}

// ---- failures ----------------------------------------------------------------

std::string NewHarnessFailures() {
  static int seen = 0;
  const testing::TestResult& result = testing::UnitTest::GetInstance()->ad_hoc_test_result();
  std::string text;
  for (; seen < result.total_part_count(); ++seen) {
    const testing::TestPartResult& part = result.GetTestPartResult(seen);
    if (part.failed()) text += std::string(text.empty() ? "" : "; ") + part.message();
  }
  return text;
}

void CheckHarness(const std::string& during) {
  const std::string failures = NewHarnessFailures();
  if (!failures.empty()) throw BenchFailure(during + ": " + failures);
}

void Require(bool condition, const std::string& what) {
  CheckHarness(what);
  if (!condition) throw BenchFailure(what);
}

// ---- time --------------------------------------------------------------------

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER counter;
  ::QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / perMs;
}

double SystemNowMs() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<double>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000.0;
}

double Samples::Min() const { return *std::min_element(values.begin(), values.end()); }

double Samples::Median() const {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const size_t n = sorted.size();
  return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
}

double Samples::Percentile(double fraction) const {
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  const size_t rank = static_cast<size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
  return sorted[rank == 0 ? 0 : std::min(rank, sorted.size()) - 1];
}

std::string Samples::List(const char* format) const {
  std::string text;
  for (const double value : values) {
    char one[64];
    std::snprintf(one, sizeof one, format, value);
    text += (text.empty() ? "" : " ") + std::string(one);
  }
  return text;
}

// ---- output ------------------------------------------------------------------

void Say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, double value) {
  char text[256];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

namespace {

std::vector<Figure>& Figures() {
  static std::vector<Figure> figures;
  return figures;
}

std::string Verdict(const Figure& f) {
  if (f.goal <= 0) return "INFO";
  return f.figure <= f.goal ? "PASS" : "OVER";
}

}  // namespace

std::string MinMedian(const Samples& samples, const char* format, const std::string& unit) {
  return Format(format, samples.Min()) + " / " + Format(format, samples.Median()) + " " + unit;
}

void Report(const Figure& f, const std::string& productWhat, const std::string& referenceWhat) {
  Say("  product   " + productWhat + ": min / median " + MinMedian(f.product, f.valueFormat, f.unit) + "  [" +
      f.product.List(f.valueFormat) + "]");
  Say("  reference " + referenceWhat + ": min / median " + MinMedian(f.reference, f.valueFormat, f.unit) + "  [" +
      f.reference.List(f.valueFormat) + "]");
  Say("  " + f.figureName + " " + Format("%.3f", f.figure) + "; goal " + f.goalText + "; " + Verdict(f));
  Figures().push_back(f);
}

void PrintTable() {
  if (Figures().empty()) return;
  Say("");
  Say("== summary (product and reference: min / median)");
  for (const Figure& f : Figures()) {
    char line[512];
    std::snprintf(line, sizeof line, "%-12s product %-26s reference %-26s %s %.3f  goal %-16s %s", f.name.c_str(),
                  MinMedian(f.product, f.valueFormat, f.unit).c_str(),
                  MinMedian(f.reference, f.valueFormat, f.unit).c_str(), f.figureName.c_str(), f.figure,
                  f.goalText.c_str(), Verdict(f).c_str());
    Say(line);
  }
}

bool ProductFirst(int round) { return round % 2 == 0; }

std::string ReadInput(const std::string& name) {
  std::ifstream file(Options().inputs + name, std::ios::binary);
  if (!file) throw BenchFailure("no input " + Options().inputs + name + " (scripts/bench makes it)");
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void CountTree(const std::string& folder, TreeCount& count) {
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ++count.folders;
      CountTree(folder + "\\" + name, count);
    } else {
      ++count.files;
      count.bytes += (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
}

}  // namespace bench
