#include "sys/MessageBox.h"

#include <windows.h>

#include <atomic>

namespace sys {

namespace {
std::atomic<YesNoHook> g_hook{nullptr};
}

void SetYesNoHook(YesNoHook hook) { g_hook.store(hook); }

bool AskYesNo(const char* text, const char* caption) {
    if (YesNoHook hook = g_hook.load()) return hook(text ? text : "", caption ? caption : "");
    return MessageBoxA(nullptr, text ? text : "", caption ? caption : "", MB_YESNO) == IDYES;
}

}  // namespace sys
