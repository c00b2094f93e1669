// A test form with the XP-look component active. Once it has painted itself it takes a picture
// of itself (bars, flat edits and combo box), drops its File menu down and takes a second one,
// both through GDI into BMP files, then ends. (The display's own picture would not show the
// menu: Wine draws popup menus on surfaces of their own.)
//   XPMenuShowcase <bars.bmp> <menu.bmp>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "WaitPainted.h"
#include "WindowGrab.h"
#include "XPTestForm.h"

namespace {

HWND shown = nullptr;
std::string barsPath, menuPath;
std::vector<HWND> childWindows;

// 32-bit pixels of a window's (or, with null, the screen's) device context, top row first, with
// the fourth byte cleared so that a black pixel compares equal to 0.
std::vector<DWORD> Grab(HWND window, int x, int y, int width, int height) {
    std::vector<DWORD> pixels = window_grab::GrabPixels(window, x, y, width, height);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM) {
    childWindows.push_back(child);
    return TRUE;
}

// The screen as GDI composes it, with the form's child windows that it leaves black (Wine keeps
// some, the tool bar among them, on surfaces of their own) copied in from their own contexts,
// except where the dropped-down menu lies.
bool SaveScreen(const std::string& path, int width, int height) {
    std::vector<DWORD> screen = Grab(nullptr, 0, 0, width, height);
    if (screen.empty()) return false;
    RECT menu{};
    if (HWND popup = FindWindowA("#32768", nullptr)) GetWindowRect(popup, &menu);
    childWindows.clear();
    EnumChildWindows(shown, CollectChild, 0);
    for (HWND child : childWindows) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w <= 0 || h <= 0) continue;
        const std::vector<DWORD> own = Grab(child, 0, 0, w, h);
        if (own.empty()) continue;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int sx = r.left + x, sy = r.top + y;
                if (sx < 0 || sy < 0 || sx >= width || sy >= height) continue;
                const POINT p{sx, sy};
                if (PtInRect(&menu, p)) continue;
                DWORD& target = screen[static_cast<size_t>(sy) * width + sx];
                if (target == 0) target = own[static_cast<size_t>(y) * w + x];
            }
        }
    }
    return window_grab::SaveBmp(path, screen, width, height);
}

// Checked every 50 ms: the picture is taken once the dropped-down menu has painted itself.
void CALLBACK TakePicture(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = FindWindowA("#32768", nullptr);
    if (!popup || !wait_painted::Painted(popup)) return;
    KillTimer(nullptr, timer);
    ExitProcess(SaveScreen(menuPath, 480, 400) ? 0 : 1);
}

// Checked every 50 ms: once the form has painted itself, drops the File menu down below its bar
// item, highlighted as when a user opens it; the menu loop runs inside this call until the picture
// is taken.
void CALLBACK DropMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!wait_painted::Painted(shown)) return;
    KillTimer(nullptr, timer);
    // Under Wine the tool bar shows black once a menu is down: the bars are pictured first.
    if (!SaveScreen(barsPath, 480, 400)) ExitProcess(1);
    // Every child painted now: the menu loop below paints nothing but its menus.
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HMENU bar = GetMenu(shown);
    RECT item{};
    GetMenuItemRect(shown, bar, 0, &item);
    HiliteMenuItem(shown, bar, 0, MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, 50, TakePicture);
    TrackPopupMenu(GetSubMenu(bar, 0), TPM_LEFTALIGN | TPM_TOPALIGN, item.left, item.bottom, 0, shown, nullptr);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ExitProcess(2); }



}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    barsPath = argv[1];
    menuPath = argv[2];
    ui::TApplication application;
    ui::InitCommonControls();
    XPTestForm form(nullptr);
    form.Find<ui::TComboBox>("Combo1")->AddItem("second");
    form.xp->SetActive(true);
    form.SetBounds(20, 20, 440, 340);
    form.Show();
    form.Find<ui::TEdit>("Edit1")->SetFocus();
    shown = form.Handle();
    SetTimer(nullptr, 0, 30000, GiveUp);
    SetTimer(nullptr, 0, 50, DropMenu);
    application.Run();
    return 0;
}
