#include "Clipbrd.h"

#include <windows.h>

#include <cstring>

#include "Forms.h"

namespace ui {

namespace {
// Open for the span of one operation, by a window of ours: emptying the clipboard makes the opener
// its owner, and with no owner window SetClipboardData fails.
HWND ClipboardOwner() {
    if (Application && Application->Handle()) return Application->Handle();
    return GetActiveWindow();
}

// The clipboard is shared by every program: while another one has it open, try again briefly.
bool OpenShared() {
    for (int attempt = 0; attempt < 25; ++attempt) {
        if (OpenClipboard(ClipboardOwner())) return true;
        Sleep(20);
    }
    return false;
}

struct OpenClipboardScope {
    bool open = OpenShared();
    ~OpenClipboardScope() {
        if (open) CloseClipboard();
    }
};
}  // namespace

std::string ClipboardText() {
    OpenClipboardScope scope;
    if (!scope.open) return std::string();
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (!text) return std::string();
    std::string copy(text, strnlen(text, GlobalSize(data)));
    GlobalUnlock(data);
    return copy;
}

bool SetClipboardText(const std::string& text) {
    OpenClipboardScope scope;
    if (!scope.open) return false;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!block) return false;
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_TEXT, block)) {
        GlobalFree(block);
        return false;
    }
    return true;
}

}  // namespace ui
