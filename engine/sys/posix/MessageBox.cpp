#include "sys/MessageBox.h"

#include <atomic>

namespace sys {

namespace {
std::atomic<YesNoHook> g_hook{nullptr};
}

void SetYesNoHook(YesNoHook hook) { g_hook.store(hook); }

// No window system here: the question can only be answered by the hook, and without one the
// request that raised it is honoured.
bool AskYesNo(const char* text, const char* caption) {
    if (YesNoHook hook = g_hook.load()) return hook(text ? text : "", caption ? caption : "");
    return true;
}

}  // namespace sys
