// The check of NAME.exe and unzip.exe by their PE headers, on small program
// files written by the tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "kit/exit_status.h"
#include "kit/pack_check.h"
#include "kit_test_support.h"

namespace {

using kit_test::Package;
using kit_test::ProgramBytes;
using kit_test::ProgramShape;
using kit_test::TestSection;

constexpr std::uint16_t kNative = 1;
constexpr std::uint16_t kEfiApplication = 10;
constexpr std::uint16_t kRomMagic = 0x0107;

ProgramShape With(void (*change)(ProgramShape&), ProgramShape shape = ProgramShape()) {
  change(shape);
  return shape;
}

// The data directory names the certificate table by its offset in the file:
// a signed program is the image, then the table.
ProgramShape Signed(ProgramShape shape, std::uint32_t tableSize, std::uint64_t fileSize = 0) {
  const TestSection& last = shape.sections.back();
  shape.certificateOffset = last.rawOffset + last.rawSize;
  shape.certificateSize = tableSize;
  shape.fileSize = fileSize;
  return shape;
}

// A build that ran out of disk space: the headers promise 885,610 bytes of
// sections, the file ends after 57,344.
ProgramShape CutByAFullDisk(ProgramShape shape) {
  constexpr std::uint32_t kTextSize = 0x80000;
  constexpr std::uint32_t kResourcesAt = ProgramShape::kFirstSectionOffset + kTextSize;
  constexpr std::uint32_t kImageEnd = 885610;
  constexpr std::uint64_t kCutAt = 57344;
  shape.sections = {{".text", ProgramShape::kFirstSectionOffset, kTextSize},
                    {".bss", 0, 0},
                    {".rsrc", kResourcesAt, kImageEnd - kResourcesAt}};
  shape.fileSize = kCutAt;
  return shape;
}

struct Row {
  const char* what;
  std::string program;   // bytes of Install.exe
  std::string unpacker;  // bytes of unzip.exe
  std::vector<std::string> codes;
  int status;
};

TEST(ProgramCheck, EachProgramIsCheckedForWhatWindowsNeedsToStartIt) {
  const int kError = kit::kExitHasProblems;
  const int kClean = kit::kExitInstallsAsMeant;
  const std::string program = ProgramBytes(ProgramShape());
  const std::string unpacker = ProgramBytes(kit_test::UnpackerShape());
  const std::string headersOnly = program.substr(0, ProgramShape::kFirstSectionOffset);
  // The test programs' section table spans bytes 0x178 to 0x1A0.
  constexpr size_t kInsideTheSectionTable = 0x180;
  const std::string linuxProgram = "\x7F" + std::string("ELF") + std::string(100, '\x01');
  const Row rows[] = {
      {"as built", program, unpacker, {}, kClean},
      {"a section without data in the file",
       ProgramBytes(With([](ProgramShape& s) {
         s.sections.push_back({".bss", 0xFFFFFF00, 0});
       })),
       unpacker,
       {},
       kClean},
      // A made-up certificate table: the headers are sound, and the signature
      // checks find no signature in it (E-PROGRAM-SIGNATURE-UNREADABLE).
      {"signed",
       ProgramBytes(Signed(ProgramShape(), 0x100)),
       ProgramBytes(Signed(kit_test::UnpackerShape(), 0x80)),
       {},
       kError},
      {"a text file", "MZ program", unpacker, {"E-PROGRAM-NOT-PE"}, kError},
      {"an empty file", "", unpacker, {"E-PROGRAM-NOT-PE"}, kError},
      {"a Linux program", linuxProgram, unpacker, {"E-PROGRAM-NOT-PE"}, kError},
      {"a DOS program: the PE offset points past the end",
       "MZ" + std::string(200, '\x7F'),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"a 16-bit program: NE, not PE",
       [&] {
         std::string bytes = program;
         bytes.replace(bytes.find(std::string("PE\0\0", 4)), 2, "NE");
         return bytes;
       }(),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"a DLL",
       ProgramBytes(With([](ProgramShape& s) { s.characteristics |= ProgramShape::kDll; })),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"not marked executable",
       ProgramBytes(With([](ProgramShape& s) { s.characteristics = ProgramShape::k32BitMachine; })),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"a driver",
       ProgramBytes(With([](ProgramShape& s) { s.subsystem = kNative; })),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"an EFI application",
       ProgramBytes(With([](ProgramShape& s) { s.subsystem = kEfiApplication; })),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"an unknown optional header",
       ProgramBytes(With([](ProgramShape& s) { s.magic = kRomMagic; })),
       unpacker,
       {"E-PROGRAM-NOT-PE"},
       kError},
      {"cut by a full disk", ProgramBytes(CutByAFullDisk(ProgramShape())), unpacker, {"E-PROGRAM-TRUNCATED"}, kError},
      {"cut one byte short", program.substr(0, program.size() - 1), unpacker, {"E-PROGRAM-TRUNCATED"}, kError},
      {"cut after the headers", headersOnly, unpacker, {"E-PROGRAM-TRUNCATED"}, kError},
      {"cut inside the section table",
       program.substr(0, kInsideTheSectionTable),
       unpacker,
       {"E-PROGRAM-TRUNCATED"},
       kError},
      {"signature cut", ProgramBytes(Signed(ProgramShape(), 0x100, 0x680)), unpacker, {"E-PROGRAM-TRUNCATED"}, kError},
      {"64-bit signature cut",
       ProgramBytes(Signed(ProgramShape().X64(), 0x100, 0x680)),
       unpacker,
       {"E-PROGRAM-TRUNCATED", "E-PROGRAM-64BIT"},
       kError},
      {"x64", ProgramBytes(ProgramShape().X64()), unpacker, {"E-PROGRAM-64BIT"}, kError},
      {"ARM64",
       ProgramBytes(With([](ProgramShape& s) { s.machine = ProgramShape::kArm64; }, ProgramShape().X64())),
       unpacker,
       {"E-PROGRAM-64BIT"},
       kError},
      {"x86 machine with PE32+ headers",
       ProgramBytes(With([](ProgramShape& s) { s.magic = ProgramShape::kPe32Plus; })),
       unpacker,
       {"E-PROGRAM-64BIT"},
       kError},
      {"32-bit ARM",
       ProgramBytes(With([](ProgramShape& s) { s.machine = ProgramShape::kArmThumb2; })),
       unpacker,
       {"E-PROGRAM-NOT-X86"},
       kError},
      {"console program", ProgramBytes(ProgramShape().Console()), unpacker, {"W-PROGRAM-CONSOLE"}, kClean},
      {"x64 console program",
       ProgramBytes(ProgramShape().X64().Console()),
       unpacker,
       {"E-PROGRAM-64BIT", "W-PROGRAM-CONSOLE"},
       kError},
      {"unpacker a text file", program, "MZ unpacker", {"E-UNZIP-NOT-PE"}, kError},
      {"unpacker a DLL",
       program,
       ProgramBytes(With([](ProgramShape& s) { s.characteristics |= ProgramShape::kDll; }, kit_test::UnpackerShape())),
       {"E-UNZIP-NOT-PE"},
       kError},
      {"unpacker cut", program, ProgramBytes(CutByAFullDisk(kit_test::UnpackerShape())), {"E-UNZIP-TRUNCATED"}, kError},
      {"unpacker x64", program, ProgramBytes(kit_test::UnpackerShape().X64()), {"E-UNZIP-64BIT"}, kError},
      {"unpacker for 32-bit ARM",
       program,
       ProgramBytes(With([](ProgramShape& s) { s.machine = ProgramShape::kArmThumb2; }, kit_test::UnpackerShape())),
       {"E-UNZIP-NOT-X86"},
       kError},
      {"unpacker windowed", program, ProgramBytes(ProgramShape()), {"E-UNZIP-GUI"}, kError},
      {"both programs swapped", unpacker, program, {"W-PROGRAM-CONSOLE", "E-UNZIP-GUI"}, kError},
  };
  for (const Row& row : rows) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    package.Write("Install.exe", row.program);
    package.Write("unzip.exe", row.unpacker);
    const kit::CheckReport report = package.Check();
    EXPECT_EQ(kit_test::CodesOf(report), row.codes) << row.what;
    EXPECT_EQ(report.ExitStatus(), row.status) << row.what;
  }
}

TEST(ProgramCheck, ACutProgramIsNamedWithTheSizeItNeedsAndWhatItBreaks) {
  struct Cut {
    ProgramShape shape;
    std::string what;
    std::string seen;  // a part of what the end user sees
  };
  const Cut cuts[] = {
      {CutByAFullDisk(ProgramShape()),
       "Install.exe is cut short: its section 3 (\".rsrc\") runs to byte 885610, but the file ends after 57344 bytes",
       "Windows does not start it"},
      {Signed(ProgramShape(), 0x100, 0x680),
       "Install.exe is cut short: its certificate table runs to byte 1792, but the file ends after 1664 bytes",
       "its signature is cut"},
  };
  for (const Cut& cut : cuts) {
    kit_test::TempFolder temp;
    Package package(temp.Path());
    package.Write("Install.exe", ProgramBytes(cut.shape));
    std::vector<kit::Problem> problems;
    for (const kit::Problem& problem : package.Check().problems) {
      if (!kit_test::IsSignatureProblem(problem.kind)) problems.push_back(problem);
    }
    ASSERT_EQ(problems.size(), 1u) << cut.what;
    EXPECT_EQ(problems[0].what, cut.what);
    EXPECT_NE(problems[0].userSees.find(cut.seen), std::string::npos) << problems[0].userSees;
  }
}

}  // namespace
