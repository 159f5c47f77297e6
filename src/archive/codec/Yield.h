// Gives up the rest of the time slice so a UI thread's queued work can run.
#pragma once

namespace kelp {
void YieldTimeSlice();
}
