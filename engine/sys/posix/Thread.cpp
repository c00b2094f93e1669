#include <system_error>
#include <thread>

#include "../Thread.h"

namespace sys {

bool StartDetachedThread(std::function<void()> work) {
    try {
        std::thread(std::move(work)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace sys
