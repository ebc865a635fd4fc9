#include "run/yield.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

// The Windows call keeps the program free of the C++ runtime's thread
// support.
void YieldToOtherThreads() {
#ifdef _WIN32
  ::SwitchToThread();
#else
  std::this_thread::yield();
#endif
}
