#include "run/monitor_wait.h"

bool WaitForMonitorEnd(MonitorWaitPort& port) {
  for (;;) {
    switch (port.Wait()) {
      case MonitorWaitStep::kMonitorEnded:
        return true;
      case MonitorWaitStep::kMessagesSent:
        port.HandleSentMessages();
        break;
      case MonitorWaitStep::kFailed:
        return false;
    }
  }
}
