// The end-to-end driver:
//
//   e2e_driver --program=PATH [gtest flags]   runs the cases against PATH
//   e2e_driver --program=PATH --demo=FOLDER   walks the sample package at PATH
//                                             for scripts/demo (see demo.h)
//   ... --demo=FOLDER --demo-licence-shot=NAME  only the licence screen's
//                                             screenshot, for scripts/demo --branded
//
// PATH is the program in Windows form; each case copies it into a package
// folder of its own. The unpacking cases also need
//   --fake-unzip=PATH   the fake unpacker of the tests
//   --unzip=PATH        the genuine unzip.exe
//   --fixtures=FOLDER   the sample data and its archive (see unpacking_test.cpp)
// and the branding cases
//   --probe=PATH        the logo probe DLL (see logo_probe_client.h)
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

#include "tests/e2e/demo.h"
#include "tests/e2e/harness.h"
#include "tests/e2e/helper_windows.h"

namespace {

constexpr char kProgramArgument[] = "--program=";
constexpr char kDemoArgument[] = "--demo=";
constexpr char kFakeUnzipArgument[] = "--fake-unzip=";
constexpr char kUnzipArgument[] = "--unzip=";
constexpr char kFixturesArgument[] = "--fixtures=";
constexpr char kProbeArgument[] = "--probe=";
constexpr char kDemoShotArgument[] = "--demo-licence-shot=";

// "i386" or "x86-64" from the program's PE header, so that the output names
// which build it tested.
std::string MachineOf(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "unreadable";
  IMAGE_DOS_HEADER dos = {};
  IMAGE_FILE_HEADER header = {};
  DWORD signature = 0;
  DWORD read = 0;
  bool ok = ::ReadFile(file, &dos, sizeof dos, &read, nullptr) && read == sizeof dos &&
            ::SetFilePointer(file, dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
            ::ReadFile(file, &signature, sizeof signature, &read, nullptr) && signature == IMAGE_NT_SIGNATURE &&
            ::ReadFile(file, &header, sizeof header, &read, nullptr) && read == sizeof header;
  ::CloseHandle(file);
  if (!ok) return "not a PE image";
  switch (header.Machine) {
    case IMAGE_FILE_MACHINE_I386:
      return "i386";
    case IMAGE_FILE_MACHINE_AMD64:
      return "x86-64";
    default:
      return "another machine";
  }
}

bool TakeValue(const char* argument, const char* name, std::string& value) {
  const size_t length = std::strlen(name);
  if (std::strncmp(argument, name, length) != 0) return false;
  value = argument + length;
  return true;
}

int Usage(const char* why) {
  std::cerr << "e2e_driver: " << why
            << "\nusage: e2e_driver --program=PATH [--demo=FOLDER] [--fake-unzip=PATH] [--unzip=PATH]"
               " [--fixtures=FOLDER] [--probe=PATH] [--demo-licence-shot=NAME] [gtest flags]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> code = e2e::helper::RunIfAsked(argc, argv)) return *code;

  testing::InitGoogleTest(&argc, argv);
  e2e::DriverOptions& options = e2e::Options();
  for (int i = 1; i < argc; ++i) {
    if (!TakeValue(argv[i], kProgramArgument, options.program) && !TakeValue(argv[i], kDemoArgument, options.demo) &&
        !TakeValue(argv[i], kFakeUnzipArgument, options.fakeUnzip) &&
        !TakeValue(argv[i], kUnzipArgument, options.unzip) &&
        !TakeValue(argv[i], kFixturesArgument, options.fixtures) &&
        !TakeValue(argv[i], kProbeArgument, options.probe) &&
        !TakeValue(argv[i], kDemoShotArgument, options.demoShot)) {
      return Usage((std::string("unknown argument ") + argv[i]).c_str());
    }
  }
  if (options.program.empty()) return Usage("no program given");
  if (::GetFileAttributesA(options.program.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return Usage(("no program at " + options.program).c_str());
  }
  std::cout << "e2e_driver: the program under test is " << options.program << " (" << MachineOf(options.program) << ")";
  if (!options.unzip.empty())
    std::cout << ", the genuine unpacker " << options.unzip << " (" << MachineOf(options.unzip) << ")";
  std::cout << std::endl;
  if (!options.demo.empty() && !options.demoShot.empty()) return e2e::RunLicenceShot(options.demoShot);
  if (!options.demo.empty()) return e2e::RunDemo();
  return RUN_ALL_TESTS();
}
