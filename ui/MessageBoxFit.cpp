#include "MessageBoxFit.h"

#include <algorithm>
#include <climits>

#include "Graphics.h"

namespace ui {

namespace {

thread_local HHOOK boxHook = nullptr;

bool IsShownButton(HWND child) {
    char cls[16] = {};
    GetClassNameA(child, cls, sizeof cls);
    // The box is not on screen yet, so its children are asked for their own style only.
    return lstrcmpiA(cls, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE);
}

RECT ChildRect(HWND box, HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Widens the box to its caption, kept where its middle was, and puts the row of buttons in the
// middle of the client area (the system's own layout may leave it a few pixels aside).
void FitToCaption(HWND box) {
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    RECT window;
    GetWindowRect(box, &window);
    const int width = window.right - window.left;
    const int need = CaptionFitWidth(caption);
    if (width < need) {
        const int left = std::max(0, static_cast<int>(window.left) - (need - width) / 2);
        SetWindowPos(box, nullptr, left, window.top, need, window.bottom - window.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int rowLeft = INT_MAX, rowRight = INT_MIN;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsShownButton(child)) continue;
        const RECT r = ChildRect(box, child);
        rowLeft = std::min(rowLeft, static_cast<int>(r.left));
        rowRight = std::max(rowRight, static_cast<int>(r.right));
    }
    if (rowLeft > rowRight) return;
    RECT client;
    GetClientRect(box, &client);
    const int shift = (client.right - (rowRight - rowLeft)) / 2 - rowLeft;
    if (shift == 0) return;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsShownButton(child)) continue;
        const RECT r = ChildRect(box, child);
        SetWindowPos(child, nullptr, r.left + shift, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Runs after each message this thread's windows handled; the box has laid itself out once its
// WM_INITDIALOG is done (on activation its buttons may not be placed yet).
LRESULT CALLBACK AfterBoxMessage(int code, WPARAM wParam, LPARAM lParam) {
    const HHOOK self = boxHook;
    const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITDIALOG) {
        char cls[16] = {};
        GetClassNameA(message->hwnd, cls, sizeof cls);
        if (lstrcmpA(cls, "#32770") == 0) {
            // Once, for the box this call made; dialogs it might open later are not ours to size.
            UnhookWindowsHookEx(self);
            boxHook = nullptr;
            FitToCaption(message->hwnd);
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
    boxHook = SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterBoxMessage, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    if (boxHook) UnhookWindowsHookEx(boxHook);
    boxHook = nullptr;
    return answer;
}

}  // namespace ui
