// The program's message boxes, shown for real: the title bar shows the whole caption even when the
// text is short, the buttons stay centred and the text stays inside the box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>

#include "Forms.h"

namespace {

struct Seen {
    bool found = false;
    int captionRoom = 0, captionWidth = 0;
    int buttonsLeft = INT_MAX, buttonsRight = INT_MIN, clientWidth = 0, textRight = 0;
};
Seen seen;

int CaptionTextWidth(const char* caption) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font);
    SIZE s{};
    GetTextExtentPoint32A(screen, caption, lstrlenA(caption), &s);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return s.cx;
}

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(found) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the box's own modal loop: measures the box, then closes it.
void CALLBACK MeasureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box) return;  // not up yet
    KillTimer(nullptr, id);
    seen.found = true;
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    seen.captionWidth = CaptionTextWidth(caption);
    RECT window, client;
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    // The title bar less the frame and the close box.
    seen.captionRoom = (window.right - window.left) - 2 * GetSystemMetrics(SM_CXFIXEDFRAME) - metrics.iCaptionWidth;
    seen.clientWidth = client.right;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!IsWindowVisible(c)) continue;
        char cls[16] = {}, text[128] = {};
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
        if (lstrcmpiA(cls, "Button") == 0) {
            seen.buttonsLeft = std::min(seen.buttonsLeft, static_cast<int>(r.left));
            seen.buttonsRight = std::max(seen.buttonsRight, static_cast<int>(r.right));
        } else if (lstrcmpiA(cls, "Static") == 0 && text[0]) {
            seen.textRight = std::max(seen.textRight, static_cast<int>(r.right));
        }
    }
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(MessageBoxTest, TheTitleBarShowsTheWholeCaption) {
    struct Case {
        const char* text;
        const char* caption;
        UINT flags;
    } cases[] = {
        {"Invalid input!", "Tarvexa Ripplecast", MB_OK},
        {"The directory is not exist,create it?", "Warning", MB_ICONWARNING | MB_OKCANCEL},
        {"x", "A caption far longer than the one letter of its text", MB_OK},
    };
    for (const auto& c : cases) {
        seen = Seen{};
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, &MeasureAndClose);
        const int answer = ui::ShowMessageBox(nullptr, c.text, c.caption, c.flags);
        KillTimer(nullptr, timer);
        ASSERT_TRUE(seen.found) << c.caption;
        EXPECT_EQ(answer, IDOK) << c.caption;
        EXPECT_GE(seen.captionRoom, seen.captionWidth) << c.caption;
        const int middle = (seen.buttonsLeft + seen.buttonsRight) / 2;
        EXPECT_LE(std::abs(middle - seen.clientWidth / 2), 2) << c.caption << ": buttons off centre";
        EXPECT_LE(seen.textRight, seen.clientWidth) << c.caption;
    }
}

TEST(MessageBoxTest, ShowMessageIsCaptionedWithTheApplicationTitle) {
    const std::string title = ui::Application->Title();
    ui::Application->SetTitle("Tarvexa Ripplecast");
    seen = Seen{};
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &MeasureAndClose);
    ui::ShowMessage("Invalid input!");
    KillTimer(nullptr, timer);
    ui::Application->SetTitle(title);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.captionWidth, CaptionTextWidth("Tarvexa Ripplecast"));
    EXPECT_GE(seen.captionRoom, seen.captionWidth);
}

}  // namespace
