// A thread that runs on its own until its work returns; nobody waits for it. On Windows it is made
// with the platform's call: a std::thread detached at once (over the mingw thread library) now and
// then ended before running its work, when it was made just as an earlier such thread ended.
#pragma once
#include <functional>

namespace sys {

// False when no thread could be made (work is then not run).
bool StartDetachedThread(std::function<void()> work);

}  // namespace sys
