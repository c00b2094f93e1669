// The list window of a menu that a program has dropped down, found from outside the program.
#pragma once
#include <windows.h>

#include <cstring>

namespace open_menu_list {

struct ListSearch {
    DWORD process = 0;
    HWND list = nullptr;
};

inline BOOL CALLBACK FindOpenList(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ListSearch*>(param);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::strcmp(className, "#32768") != 0 || process != search->process || !IsWindowVisible(window)) return TRUE;
    search->list = window;
    return FALSE;
}

// Waits up to `ms` for a visible menu list of the process that owns `main`.
inline HWND WaitForOpenList(HWND main, DWORD ms) {
    ListSearch search;
    GetWindowThreadProcessId(main, &search.process);
    for (DWORD waited = 0; waited < ms; waited += 20) {
        EnumWindows(FindOpenList, reinterpret_cast<LPARAM>(&search));
        if (search.list) return search.list;
        Sleep(20);
    }
    return nullptr;
}

}  // namespace open_menu_list
