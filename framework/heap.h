// The framework's heap: blocks for texts, taken from the C runtime. A block
// that cannot be had ends the process at once with kOutOfMemoryExitCode
// (Windows' own status for a process out of memory), so callers never see a
// failed allocation: a setup program has nothing sensible to do without a few
// bytes of memory, and it must not go on with a text cut short.
#pragma once

#include <cstddef>

constexpr unsigned int kOutOfMemoryExitCode = 0xC0000017u;

// A block resized to `bytes`, its contents kept; never null.
void* HeapResize(void* block, std::size_t bytes);
void HeapRelease(void* block);
// Ends the process as an allocation that cannot be had does.
[[noreturn]] void EndForLackOfMemory();
