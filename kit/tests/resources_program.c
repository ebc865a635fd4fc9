/* The kit's branding tests' program: it does nothing, and carries the real
   program's resources, linked as the real program is (kit/CMakeLists.txt). */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  (void)instance;
  (void)previous;
  (void)commandLine;
  (void)show;
  return 0;
}
