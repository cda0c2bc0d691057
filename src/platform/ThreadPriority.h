#pragma once

namespace velo {

// In a program with windows, the threads that compute in the background yield
// the processor to the thread that answers the user, so that drawing keeps
// its pace while they work; they still take every cycle it leaves. On the
// command line nothing waits on a window, and they keep the usual priority.
void setBackgroundThreadsYield(bool yield);

// Called by a background thread as it starts: lowers its own priority (on
// Linux, a nice value 10 above its process's, for this thread alone) when
// background threads yield. Does nothing where the system refuses.
void enterBackgroundPriority();

} // namespace velo
