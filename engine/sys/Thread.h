// The worker threads' side of the platform.
#pragma once
#include <functional>

namespace sys {

// Lowers the calling thread's priority one step below normal.
void LowerThreadPriority();

// A thread that runs on its own until its work returns; nobody waits for it. On Windows it is made
// with the platform's call: under Wine a std::thread (over the mingw thread library) detached at
// once now and then ended without ever running its work. False when no thread could be made (work
// is then not run).
bool StartDetachedThread(std::function<void()> work);

}  // namespace sys
