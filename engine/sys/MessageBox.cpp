#include "sys/MessageBox.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <atomic>

namespace sys {

namespace {

std::atomic<YesNoHook> g_hook{nullptr};

// The question put to the user when no hook answers it. Without a window system (the native
// build) nobody can be asked, and the request that raised it is honoured.
bool AskTheUser(const char* text, const char* caption) {
#if defined(_WIN32)
    return MessageBoxA(nullptr, text, caption, MB_YESNO) == IDYES;
#else
    (void)text;
    (void)caption;
    return true;
#endif
}

}  // namespace

void SetYesNoHook(YesNoHook hook) { g_hook.store(hook); }

bool AskYesNo(const char* text, const char* caption) {
    text = text ? text : "";
    caption = caption ? caption : "";
    if (YesNoHook hook = g_hook.load()) return hook(text, caption);
    return AskTheUser(text, caption);
}

}  // namespace sys
