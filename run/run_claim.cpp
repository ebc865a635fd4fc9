#include "run/run_claim.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

namespace {
// Lets the other thread run; the Windows call keeps the program free of the
// C++ runtime's thread support.
void YieldToOtherThreads() {
#ifdef _WIN32
  ::SwitchToThread();
#else
  std::this_thread::yield();
#endif
}
}  // namespace

bool RunClaim::ClaimEnd() {
  for (;;) {
    int expected = kRunning;
    if (m_state.compare_exchange_strong(expected, kEnding)) return true;
    if (expected != kKilling) return false;
    // A kill is between its decision and its outcome, a matter of one call.
    YieldToOtherThreads();
  }
}

bool RunClaim::BeginKill() {
  int expected = kRunning;
  return m_state.compare_exchange_strong(expected, kKilling);
}
