// Drops down the first menu of the running program's main window, as a click on the first button
// of the tool bar that shows the menu would, so that a picture can be taken of it.
//   DropMenu.exe        exits 0 once the click is posted, 1 when no such window is found
#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

constexpr char kTitle[] = "Tarvexa Ripplecast";

BOOL CALLBACK FindMenuBar(HWND window, LPARAM found) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, TOOLBARCLASSNAMEA) != 0) return TRUE;
    TBBUTTON button{};
    if (!SendMessageA(window, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button))) return TRUE;
    char text[64] = {};
    SendMessageA(window, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
    if (std::strcmp(text, "File") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (!IsWindowVisible(window) || std::strcmp(title, kTitle) != 0) return TRUE;
    EnumChildWindows(window, FindMenuBar, found);
    return *reinterpret_cast<HWND*>(found) == nullptr;
}

}  // namespace

int main() {
    HWND bar = nullptr;
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&bar));
    if (!bar) return 1;
    TBBUTTON button{};
    SendMessageA(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button));
    // Posted: the menu's modal loop runs in the program, not here.
    PostMessageA(GetParent(bar), WM_COMMAND, MAKEWPARAM(button.idCommand, BN_CLICKED), reinterpret_cast<LPARAM>(bar));
    return 0;
}
