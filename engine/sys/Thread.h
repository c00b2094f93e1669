// The worker threads' side of the platform.
#pragma once

namespace sys {

// Lowers the calling thread's priority one step below normal.
void LowerThreadPriority();

}  // namespace sys
