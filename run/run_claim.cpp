#include "run/run_claim.h"

#include "run/yield.h"

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
