#include "run/monitor_wait.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ScriptedWait : public MonitorWaitPort {
 public:
  explicit ScriptedWait(std::vector<MonitorWaitStep> steps) : m_steps(steps) {}
  MonitorWaitStep Wait() override {
    // Past its script the wait keeps failing, as a bad handle does.
    return m_next < m_steps.size() ? m_steps[m_next++] : MonitorWaitStep::kFailed;
  }
  void HandleSentMessages() override { ++handled; }
  int handled = 0;

 private:
  std::vector<MonitorWaitStep> m_steps;
  size_t m_next = 0;
};

TEST(MonitorWait, HandlesSentMessagesUntilTheMonitorEnds) {
  ScriptedWait wait({MonitorWaitStep::kMessagesSent, MonitorWaitStep::kMessagesSent, MonitorWaitStep::kMonitorEnded});
  EXPECT_TRUE(WaitForMonitorEnd(wait));
  EXPECT_EQ(wait.handled, 2);
}

// A wait that fails ends the waiting at once: it would fail again each time.
TEST(MonitorWait, AFailedWaitEndsTheWaiting) {
  ScriptedWait wait({MonitorWaitStep::kMessagesSent, MonitorWaitStep::kFailed});
  EXPECT_FALSE(WaitForMonitorEnd(wait));
  EXPECT_EQ(wait.handled, 1);
}

}  // namespace
