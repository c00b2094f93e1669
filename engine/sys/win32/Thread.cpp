#include <windows.h>

#include "../Thread.h"

namespace sys {

void LowerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace sys
