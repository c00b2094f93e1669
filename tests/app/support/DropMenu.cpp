// Drops down the first menu of the running program's main window with a click on the first button
// of the tool bar that shows the menu (the topmost tool bar), so that a picture can be taken of it.
// Only messages without pointers are used: they cross into the program's process as they are.
//   DropMenu.exe        exits 0 once the click is posted, 1 when no such window is found
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

constexpr char kTitle[] = "Tarvexa Ripplecast";

struct Search {
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
    EnumChildWindows(window, FindTopToolBar, param);
    return reinterpret_cast<Search*>(param)->bar == nullptr;
}

}  // namespace

int main() {
    Search search;
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.bar) return 1;
    // Posted: the menu's modal loop runs in the program, not here.
    const LPARAM at = MAKELPARAM(12, 8);
    PostMessageA(search.bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(search.bar, WM_LBUTTONUP, 0, at);
    return 0;
}
