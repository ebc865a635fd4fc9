#include "framework/heap.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

void EndForLackOfMemory() {
#ifdef _WIN32
  ::ExitProcess(kOutOfMemoryExitCode);
#else
  std::abort();
#endif
}

void* HeapResize(void* block, std::size_t bytes) {
  void* resized = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (resized == nullptr) EndForLackOfMemory();
  return resized;
}

void HeapRelease(void* block) { std::free(block); }
