// A package past 4 GiB with one member past 4 GiB, as the kit builds it
// (scripts/bench: bench/make-large-inputs.py big, then setup-pack build into
// pkg-big\ beside the data in data-big\). Printed: what the archive's records
// say (the Zip64 end records, the member's 64-bit sizes, the entries that lie
// past 4 GiB) and the descriptor's FILESIZE against the data's size; then the
// package installed through the screens with the genuine unzip.exe and every
// file compared with the data byte for byte; and, as the time's reference,
// unzip.exe alone on the same archive, checked to unpack as many bytes.
// Informational: the ratio of the two times.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/benchmarks.h"
#include "bench/program_windows.h"
#include "bench/unpacker_runs.h"
#include "bench/zip64_records.h"
#include "tests/e2e/install_tree.h"

namespace bench {

namespace {

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;
constexpr std::uint64_t kClusterBytes = 4096;
constexpr std::uint64_t kKilobyte = 1024;

std::string Bytes(std::uint64_t bytes) {
  char text[64];
  std::snprintf(text, sizeof text, "%llu bytes (%.2f GiB)", static_cast<unsigned long long>(bytes),
                static_cast<double>(bytes) / static_cast<double>(k4GiB / 4));
  return text;
}

// The data's own FILESIZE figure: each file in whole 4 KiB clusters, in KB.
std::uint64_t ClusterKilobytes(const std::string& folder) {
  std::uint64_t bytes = 0;
  WIN32_FIND_DATAA found;
  const HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      bytes += ClusterKilobytes(folder + "\\" + name) * kKilobyte;
    } else {
      const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      bytes += (size + kClusterBytes - 1) / kClusterBytes * kClusterBytes;
    }
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return bytes / kKilobyte;
}

void TellArchive(const PackagePlace& package, const std::string& data) {
  ArchiveRecords records;
  std::string error;
  Require(ReadArchiveRecords(package.folder + package.archive, records, error), error);
  Say("  archive: " + package.archive + ", " + Bytes(records.archiveBytes) +
      (records.zip64End ? ", ends with the Zip64 end record and locator" : ", no Zip64 end records") + "; " +
      std::to_string(records.entryCount) + " entries, central directory at byte " +
      std::to_string(records.directoryOffset));
  const ArchiveRecordEntry* largest = nullptr;
  int pastLimit = 0;
  for (const ArchiveRecordEntry& entry : records.entries) {
    if (largest == nullptr || entry.size > largest->size) largest = &entry;
    pastLimit += entry.offset >= k4GiB ? 1 : 0;
  }
  Require(largest != nullptr, "the archive lists no entry");
  Say("  largest member: " + largest->name + ", " + Bytes(largest->size) + " unpacked, " +
      std::to_string(largest->packedSize) + " bytes stored" +
      (largest->zip64Extra ? ", sizes in its Zip64 extra field" : ", no Zip64 extra field"));
  Say("  entries whose local header lies past 4 GiB: " + std::to_string(pastLimit) + " (the last, " +
      records.entries.back().name + ", at byte " + std::to_string(records.entries.back().offset) + ")");

  std::ifstream descriptor(package.folder + kDescriptorName, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(descriptor)), std::istreambuf_iterator<char>());
  const size_t key = text.find("FILESIZE:");
  Require(key != std::string::npos, "the descriptor holds no FILESIZE:");
  const std::string figure = text.substr(key, text.find_first_of("\r\n", key) - key);
  const std::uint64_t expected = ClusterKilobytes(data);
  Say("  descriptor: " + figure + "; the data in 4 KiB clusters: " + std::to_string(expected) + " KB, " +
      (figure == "FILESIZE:" + std::to_string(expected) ? "the same" : "NOT the same"));
}

}  // namespace

void BigPackage() {
  MakeWorkRoot();
  const PackagePlace package{Options().large + "pkg-big\\", "Install.zip"};
  const std::string data = Options().large + "data-big";
  Require(::GetFileAttributesA((package.folder + kProgramName).c_str()) != INVALID_FILE_ATTRIBUTES,
          "no package " + package.folder + " (scripts/bench makes it)");
  TellArchive(package, data);

  Figure f("big", "ms", "%.0f");
  TreeCount expected;
  CountTree(data, expected);
  const int rounds = Rounds(1);
  for (int round = 0; round < rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool product = (turn == 0) == ProductFirst(round);
      Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");
      RunParts parts;
      const double elapsed =
          product ? InstallThroughScreens(package, kTargetFolder, parts) : UnzipDirectly(package, kTargetFolder, parts);
      (product ? f.product : f.reference).Add(elapsed);
      Say(std::string(product ? "  product   " : "  reference ") + Format("%.0f ms: ", elapsed) + Describe(parts));
      if (product) {
        const double start = NowMs();
        const std::vector<std::string> differences = e2e::TreeDifferences(data, kTargetFolder);
        Say("  byte for byte against the data: " +
            (differences.empty()
                 ? "the same, " + std::to_string(expected.files) + " files in " + std::to_string(expected.folders) +
                       " folders, " + Bytes(expected.bytes)
                 : std::to_string(differences.size()) + " differences, the first " + differences.front()) +
            Format(" (compared in %.0f ms)", NowMs() - start));
        Require(differences.empty(), "the installed files differ from the data");
      } else {
        TreeCount count;
        CountTree(kTargetFolder, count);
        Require(count.files == expected.files && count.bytes == expected.bytes,
                "unzip.exe alone unpacked " + std::to_string(count.files) + " files, " + std::to_string(count.bytes) +
                    " bytes");
      }
    }
  }
  Require(e2e::DeleteTree(kTargetFolder), "cannot delete the target folder");
  f.figureName = "ratio of medians";
  f.figure = f.product.Median() / f.reference.Median();
  f.goalText = "informational";
  Report(f, "Yes to \"Installed successfully\"", "unzip.exe -o -q started directly, to its end");
}

}  // namespace bench
