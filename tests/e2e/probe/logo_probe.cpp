// A probe loaded into the program under test by the end-to-end driver
// (tests/e2e/logo_probe_client.h): from inside the program's process it
// reads the bitmaps that the screens' logo controls show, which another
// process cannot (a bitmap handle means nothing across processes), and
// writes each as a 24-bit BMP file for the driver to compare. It only
// reads: it changes nothing of the program.
//
// Loaded, it starts one thread and returns; that thread looks at every
// window of the process, writes LOGO_PROBE_FOLDER\logo-<control id>.bmp
// for each logo control it finds, then probe.done, and unloads the probe,
// so that the next load reads the screens anew.
#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/e2e/probe/logo_probe_files.h"

namespace {

constexpr UINT kSendTimeoutMs = 5000;
constexpr WORD kBitsPerPixel = 24;
constexpr DWORD kBitmapFileMagic = 0x4D42;  // "BM"
constexpr LONG kRowAlignment = 4;

std::string Folder() {
  char folder[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableA(e2e::probe::kFolderVariable, folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return std::string();
  std::string path = folder;
  if (path.back() != '\\') path += '\\';
  return path;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string partial = path + ".partial";
  const HANDLE file = ::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == bytes.size() && ::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The bitmap as a 24-bit bottom-up BMP file, or nothing.
std::string BitmapFile(HBITMAP bitmap) {
  BITMAP info = {};
  if (::GetObjectA(bitmap, sizeof info, &info) == 0) return std::string();
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = kBitsPerPixel;
  header.biCompression = BI_RGB;
  const LONG stride = (info.bmWidth * (kBitsPerPixel / 8) + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
  std::string pixels(static_cast<size_t>(stride) * static_cast<size_t>(info.bmHeight), '\0');
  const HDC screen = ::GetDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), &pixels[0],
                               reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (rows != info.bmHeight) return std::string();
  BITMAPFILEHEADER file = {};
  file.bfType = kBitmapFileMagic;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
         std::string(reinterpret_cast<const char*>(&header), sizeof header) + pixels;
}

BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

DWORD WINAPI Probe(LPVOID module) {
  const std::string folder = Folder();
  std::vector<HWND> windows;
  ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&windows));
  std::string found;
  for (const HWND window : windows) {
    for (const int id : {IDC_LICENSE_LOGO, IDC_SETUP_LOGO}) {
      const HWND control = ::GetDlgItem(window, id);
      if (control == nullptr) continue;
      DWORD_PTR image = 0;
      if (!::SendMessageTimeoutA(control, STM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_BLOCK, kSendTimeoutMs, &image)) continue;
      const std::string bytes = image != 0 ? BitmapFile(reinterpret_cast<HBITMAP>(image)) : std::string();
      if (!bytes.empty() && WriteWhole(folder + e2e::probe::LogoFileName(id), bytes)) {
        found += std::to_string(id) + "\r\n";
      }
    }
  }
  WriteWhole(folder + e2e::probe::kDoneFile, found);
  ::FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ::DisableThreadLibraryCalls(module);
    const HANDLE thread = ::CreateThread(nullptr, 0, &Probe, module, 0, nullptr);
    if (thread == nullptr) return FALSE;
    ::CloseHandle(thread);
  }
  return TRUE;
}
