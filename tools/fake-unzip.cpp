// A stand-in for unzip.exe that the tests copy beside the program to show on
// demand what the real unpacker cannot: a slow run, a chosen exit code, a hang.
//
// It appends its whole command line, as one line ending in LF, to unzip.log in
// its own folder. Then it follows unzip.cfg in that folder, if there is one;
// each line is key=value:
//
//   sleep_ms=N     run N milliseconds before going on
//   extract=1      then create the folder named after -d (its last level only,
//                  as the real one does) and write installed.txt into it
//   hang=1         then never end
//   exit_code=N    otherwise end with N (decimal, up to 4294967295)
//
// Without unzip.cfg it ends at once with 0.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

struct Config {
  DWORD sleep_ms = 0;
  UINT exit_code = 0;
  bool hang = false;
  bool extract = false;
};

std::string own_folder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  const std::string::size_type slash = folder.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : folder.substr(0, slash);
}

void append_to_log(const std::string& folder, const char* command_line) {
  std::ofstream log(folder + "\\unzip.log", std::ios::binary | std::ios::app);
  log << command_line << '\n';
}

Config read_config(const std::string& folder) {
  Config config;
  std::ifstream file(folder + "\\unzip.cfg", std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string::size_type equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const unsigned long long value = std::strtoull(line.c_str() + equals + 1, nullptr, 10);
    if (key == "sleep_ms") config.sleep_ms = static_cast<DWORD>(value);
    else if (key == "exit_code") config.exit_code = static_cast<UINT>(value);
    else if (key == "hang") config.hang = value != 0;
    else if (key == "extract") config.extract = value != 0;
  }
  return config;
}

void extract_marker(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "-d") != 0) continue;
    const std::string folder = argv[i + 1];
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream marker(folder + "\\installed.txt", std::ios::binary);
    marker << "unpacked by the fake unzip\r\n";
    return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = own_folder();
  append_to_log(folder, GetCommandLineA());
  const Config config = read_config(folder);

  if (config.sleep_ms > 0) Sleep(config.sleep_ms);
  if (config.extract) extract_marker(argc, argv);
  while (config.hang) Sleep(INFINITE);
  ExitProcess(config.exit_code);
}
