// The one lock that guards the item list and every item's fields against the GUI thread and the
// worker threads at once. Recursive, since an item's reports run the manager's scheduler, which
// starts other items.
#pragma once
#include <mutex>

std::recursive_mutex& EngineLock();

using EngineGuard = std::lock_guard<std::recursive_mutex>;
