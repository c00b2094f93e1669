#include "MessageBoxFit.h"

#include <algorithm>

#include "Graphics.h"

namespace ui {

namespace {

thread_local HHOOK boxHook = nullptr;

void WidenToCaption(HWND box) {
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    RECT window;
    GetWindowRect(box, &window);
    const int width = window.right - window.left;
    const int need = CaptionFitWidth(caption);
    if (width >= need) return;
    const int grow = need - width;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") != 0) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + grow / 2, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int left = std::max(0, static_cast<int>(window.left) - grow / 2);
    SetWindowPos(box, nullptr, left, window.top, need, window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK OnBoxActivation(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK self = boxHook;
    if (code == HCBT_ACTIVATE) {
        const HWND box = reinterpret_cast<HWND>(wParam);
        char cls[16] = {};
        GetClassNameA(box, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) {
            // Once, for the box this call made; dialogs it might open later are not ours to size.
            UnhookWindowsHookEx(self);
            boxHook = nullptr;
            WidenToCaption(box);
        }
    }
    return CallNextHookEx(self, code, wParam, lParam);
}

}  // namespace

int CaptionFitWidth(const std::string& caption) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    GdiHandle<HFONT> font(CreateFontIndirectA(&metrics.lfCaptionFont));
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font.Get());
    SIZE text{};
    GetTextExtentPoint32A(screen, caption.c_str(), static_cast<int>(caption.size()), &text);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    // Frame on both sides, the close box, and as much again before the text and after it.
    return text.cx + 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + 2 * metrics.iCaptionWidth + 8;
}

int MessageBoxFittingCaption(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (boxHook) UnhookWindowsHookEx(boxHook);
    boxHook = SetWindowsHookExA(WH_CBT, &OnBoxActivation, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    if (boxHook) UnhookWindowsHookEx(boxHook);
    boxHook = nullptr;
    return answer;
}

}  // namespace ui
