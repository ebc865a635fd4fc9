#include "tests/e2e/logo_probe_client.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>

#include "tests/e2e/harness.h"
#include "tests/e2e/install_tree.h"
#include "tests/e2e/probe/logo_probe_files.h"

namespace e2e::probe {

namespace {

constexpr DWORD kLoadWaitMs = 20000;
constexpr DWORD kProbeWaitMs = 20000;
constexpr WORD kBitsPerPixel = 24;
constexpr int kBytesPerPixel = 3;
constexpr int kRowAlignment = 4;
constexpr size_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);
constexpr int kRedShift = 16;
constexpr int kGreenShift = 8;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Starts LoadLibraryA(probeDll) in the process; true once it has returned
// a module.
bool LoadInto(DWORD processId, const std::string& probeDll) {
  const HANDLE process = ::OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                           PROCESS_VM_WRITE | PROCESS_VM_READ | SYNCHRONIZE,
                                       FALSE, processId);
  if (process == nullptr) {
    ADD_FAILURE() << "cannot open the program's process (error " << ::GetLastError() << ")";
    return false;
  }
  const size_t size = probeDll.size() + 1;
  void* remote = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool loaded = false;
  if (remote != nullptr && ::WriteProcessMemory(process, remote, probeDll.c_str(), size, nullptr)) {
    // kernel32 lies at the same address in every process of the session.
    const auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    const HANDLE thread = ::CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr);
    if (thread != nullptr) {
      DWORD module = 0;
      loaded = ::WaitForSingleObject(thread, kLoadWaitMs) == WAIT_OBJECT_0 && ::GetExitCodeThread(thread, &module) &&
               module != 0;
      ::CloseHandle(thread);
    }
  }
  if (!loaded) ADD_FAILURE() << "the probe " << probeDll << " could not be loaded into the program";
  if (remote != nullptr) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
  return loaded;
}

}  // namespace

std::optional<Picture> PictureOfBitmap(const std::string& dib) {
  if (dib.size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER header;
  std::memcpy(&header, dib.data(), sizeof header);
  if (header.biSize < sizeof header || header.biBitCount != kBitsPerPixel || header.biCompression != BI_RGB ||
      header.biWidth <= 0 || header.biHeight == 0) {
    return std::nullopt;
  }
  Picture picture;
  picture.width = header.biWidth;
  picture.height = header.biHeight > 0 ? header.biHeight : -header.biHeight;
  const size_t stride =
      (static_cast<size_t>(picture.width) * kBytesPerPixel + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  if (dib.size() < header.biSize + stride * static_cast<size_t>(picture.height)) return std::nullopt;
  for (int y = 0; y < picture.height; ++y) {
    const int row = header.biHeight > 0 ? picture.height - 1 - y : y;
    const size_t start = header.biSize + stride * static_cast<size_t>(row);
    for (int x = 0; x < picture.width; ++x) {
      const auto* p =
          reinterpret_cast<const unsigned char*>(dib.data() + start + static_cast<size_t>(x) * kBytesPerPixel);
      picture.pixels.push_back((std::uint32_t{p[2]} << kRedShift) | (std::uint32_t{p[1]} << kGreenShift) | p[0]);
    }
  }
  return picture;
}

std::string BitmapResource(const std::string& path, int id) {
  const HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return std::string();
  std::string bytes;
  const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));  // RT_BITMAP
  const HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data != nullptr) bytes.assign(static_cast<const char*>(data), ::SizeofResource(module, found));
  ::FreeLibrary(module);
  return bytes;
}

ProbeFolder::ProbeFolder(const std::string& folder) : m_folder(folder) {
  if (m_folder.back() != '\\') m_folder += '\\';
  DeleteTree(m_folder);
  ::CreateDirectoryA(m_folder.c_str(), nullptr);
  ::SetEnvironmentVariableA(kFolderVariable, m_folder.c_str());
}

ProbeFolder::~ProbeFolder() { ::SetEnvironmentVariableA(kFolderVariable, nullptr); }

std::vector<std::pair<int, Picture>> ProbeFolder::ReadLogos(DWORD processId, const std::string& probeDll) const {
  std::vector<std::pair<int, Picture>> logos;
  const std::string done = m_folder + kDoneFile;
  ::DeleteFileA(done.c_str());
  if (!LoadInto(processId, probeDll)) return logos;
  if (!WaitUntil([&] { return Exists(done); }, kProbeWaitMs)) {
    ADD_FAILURE() << "the probe did not finish: no " << done;
    return logos;
  }
  std::istringstream ids(ReadBytes(done));
  for (int id = 0; ids >> id;) {
    const std::string file = ReadBytes(m_folder + LogoFileName(id));
    const std::optional<Picture> picture =
        file.size() > kFileHeaderSize ? PictureOfBitmap(file.substr(kFileHeaderSize)) : std::nullopt;
    if (!picture) {
      ADD_FAILURE() << "the probe's " << LogoFileName(id) << " is no 24-bit bitmap";
      continue;
    }
    logos.emplace_back(id, *picture);
    ::DeleteFileA((m_folder + LogoFileName(id)).c_str());
  }
  return logos;
}

std::string PictureDifference(const Picture& expected, const Picture& shown) {
  if (expected.width != shown.width || expected.height != shown.height) {
    return "the size is " + std::to_string(shown.width) + " x " + std::to_string(shown.height) + ", not " +
           std::to_string(expected.width) + " x " + std::to_string(expected.height);
  }
  size_t differing = 0;
  size_t first = 0;
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    if (expected.pixels[i] != shown.pixels[i] && differing++ == 0) first = i;
  }
  if (differing == 0) return std::string();
  char colours[64];
  std::snprintf(colours, sizeof colours, "#%06X, not #%06X", static_cast<unsigned>(shown.pixels[first]),
                static_cast<unsigned>(expected.pixels[first]));
  return std::to_string(differing) + " pixels differ, the first at " + std::to_string(first % expected.width) + "," +
         std::to_string(first / expected.width) + ": " + colours;
}

}  // namespace e2e::probe
