#include "ShellApi.h"

#include <shellapi.h>

namespace ui {

namespace {
ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}
}  // namespace

void SetShellOpenHook(ShellOpenHook hook) { Hook() = std::move(hook); }

INT_PTR ShellOpen(HWND owner, const std::string& target) {
    if (Hook()) return Hook()(owner, target);
    return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

}  // namespace ui
