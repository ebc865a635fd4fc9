// Lets the other thread of a run go on, for the short waits of the run's
// hand-shakes (a kill deciding, a log line being written).
#pragma once

void YieldToOtherThreads();
