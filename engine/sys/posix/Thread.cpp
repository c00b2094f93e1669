#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include "../Thread.h"

namespace sys {

void LowerThreadPriority() {
    // On Linux a thread's nice value is its own; one step down is "below normal".
    const pid_t tid = static_cast<pid_t>(syscall(SYS_gettid));
    errno = 0;
    const int now = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    if (errno == 0) setpriority(PRIO_PROCESS, static_cast<id_t>(tid), now + 1);
}

bool StartDetachedThread(std::function<void()> work) {
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace sys
