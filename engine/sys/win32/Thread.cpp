#include <windows.h>
#include <process.h>

#include <memory>

#include "../Thread.h"

namespace sys {

void LowerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

namespace {

unsigned __stdcall RunWork(void* argument) {
    const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(argument));
    (*work)();
    return 0;
}

}  // namespace

bool StartDetachedThread(std::function<void()> work) {
    auto owned = std::make_unique<std::function<void()>>(std::move(work));
    const uintptr_t handle = _beginthreadex(nullptr, 0, &RunWork, owned.get(), 0, nullptr);
    if (handle == 0) return false;
    owned.release();
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    return true;
}

}  // namespace sys
