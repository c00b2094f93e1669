#include "EngineLock.h"

std::recursive_mutex& EngineLock() {
    static std::recursive_mutex lock;
    return lock;
}
