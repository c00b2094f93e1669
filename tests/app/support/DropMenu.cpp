// Drops down the first menu of the running program's main window with a click on the first button
// of the tool bar that shows the menu (the topmost tool bar), waits for the list to open and saves
// a picture of the list, read from the list window's own context: a picture of the display shows
// the list black (Wine keeps popup menus on surfaces of their own).
// Only messages without pointers go to the program: they cross into its process as they are.
//   DropMenu.exe <list.bmp>   waits for the main window, drops the menu, saves the list, prints
//                             "window L T R B" and "list L T R B" (screen coordinates), exits 0;
//                             1: no main window (or it never painted), 2: the list did not open
//                             (or paint), 3: not saved
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "OpenMenuList.h"
#include "WaitPainted.h"
#include "WindowGrab.h"

namespace {

constexpr char kTitle[] = "Tarvexa Ripplecast";

struct Search {
    HWND main = nullptr;
    HWND bar = nullptr;
    LONG top = 0;
};

BOOL CALLBACK FindTopToolBar(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, TOOLBARCLASSNAMEA) != 0 || SendMessageA(window, TB_BUTTONCOUNT, 0, 0) == 0) return TRUE;
    RECT r{};
    GetWindowRect(window, &r);
    if (!search->bar || r.top < search->top) {
        search->bar = window;
        search->top = r.top;
    }
    return TRUE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || std::strcmp(title, kTitle) != 0) return TRUE;
    auto* search = reinterpret_cast<Search*>(param);
    EnumChildWindows(window, FindTopToolBar, param);
    if (search->bar) search->main = window;
    return search->bar == nullptr;
}

// Waits until the window, and its thread, are done painting; false when ms pass first.
bool WaitPainted(HWND window, DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20)) {
        if (wait_painted::PaintedAndIdle(window, ms)) return true;
    }
    return false;
}

// The list's pixels once they show its paint: its own surface reads black until the program's
// drawing reaches it, and the items come one by one, so two reads in a row must agree and show
// more than black. Empty when that does not happen within ms.
std::vector<DWORD> GrabDrawnList(HWND list, RECT& place, DWORD ms) {
    std::vector<DWORD> last;
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(100)) {
        if (!wait_painted::PaintedAndIdle(list, ms)) continue;
        std::vector<DWORD> now = window_grab::GrabWindow(list, place);
        const bool drawn = std::any_of(now.begin(), now.end(), [](DWORD p) { return (p & 0xFFFFFF) != 0; });
        if (drawn && now == last) return now;
        last = drawn ? std::move(now) : std::vector<DWORD>();
    }
    return {};
}

void PrintRect(const char* name, HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 3;
    Search search;
    // The program shows its splash first; the main window follows within seconds.
    for (DWORD waited = 0; !search.main && waited < 30000; waited += 100) {
        EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.main) Sleep(100);
    }
    if (!search.main || !WaitPainted(search.main, 30000)) return 1;
    // Posted: the menu's modal loop runs in the program, not here.
    const LPARAM at = MAKELPARAM(12, 8);
    PostMessageA(search.bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(search.bar, WM_LBUTTONUP, 0, at);
    HWND list = open_menu_list::WaitForOpenList(search.main, 10000);
    if (!list) return 2;
    RECT place{};
    const std::vector<DWORD> pixels = GrabDrawnList(list, place, 10000);
    if (pixels.empty()) return 2;
    if (!window_grab::SaveBmp(argv[1], pixels, place.right - place.left, place.bottom - place.top)) return 3;
    PrintRect("window", search.main);
    PrintRect("list", list);
    return 0;
}
