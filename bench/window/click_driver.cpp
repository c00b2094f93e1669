// The real program with a long download list, driven from outside with real input: the time from
// its start to the first painted downloading list, then Begin All through the main menu (a click on
// the "Download" button of the menu's tool bar, then on "Begin All" in its list), and from then on a click
// on one of the list's first two rows every 250 ms, each timed until the list shows that row
// selected, together with how long the window took to answer a plain sent message.
// Only messages without pointers cross into the program, except the one request for the rows'
// rectangles, which is placed in the program's memory.
//   click_driver <program folder> <items> <seconds after Begin All>
// Prints the start-up time, then the click and answer times (median, 90th percentile, maximum).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Clock.h"
#include "OpenMenuList.h"

namespace {

// The main menu's lists as the main window's form sets them.
constexpr int kEntryHeight = 21, kSeparatorHeight = 5;
constexpr int kMenuTop = 2;  // the list's margin above its first entry

struct Found {
    DWORD process = 0;
    HWND main = nullptr;
    std::vector<HWND> lists, bars;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, WC_LISTVIEWA) == 0) found->lists.push_back(window);
    if (std::strcmp(name, TOOLBARCLASSNAMEA) == 0 && SendMessageA(window, TB_BUTTONCOUNT, 0, 0) == 4)
        found->bars.push_back(window);
    return TRUE;
}

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (process != found->process || !IsWindowVisible(window) || std::strcmp(title, "Tarvexa Ripplecast") != 0)
        return TRUE;
    found->main = window;
    return FALSE;
}

// The visible list view of the main window (the downloading list, as the program starts).
HWND VisibleList(const Found& found) {
    for (HWND list : found.lists) {
        if (IsWindowVisible(list)) return list;
    }
    return nullptr;
}

bool Answers(HWND window, DWORD ms, LRESULT* result = nullptr) {
    DWORD_PTR answer = 0;
    const bool ok = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &answer) != 0;
    if (result) *result = static_cast<LRESULT>(answer);
    return ok;
}

LRESULT Ask(HWND window, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, message, w, l, SMTO_NORMAL, 60000, &answer)) return -2;
    return static_cast<LRESULT>(answer);
}

// A rectangle the window writes through a pointer, asked with the request placed in its memory.
RECT RemoteRect(HWND window, UINT message, WPARAM w, RECT request) {
    RECT rect{};
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return rect;
    void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote && WriteProcessMemory(process, remote, &request, sizeof request, nullptr) &&
        Ask(window, message, w, reinterpret_cast<LPARAM>(remote)) > 0)
        ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return rect;
}

void MouseAt(int x, int y, DWORD down, DWORD up) {
    const int w = GetSystemMetrics(SM_CXSCREEN) - 1, h = GetSystemMetrics(SM_CYSCREEN) - 1;
    INPUT in[3] = {};
    for (INPUT& i : in) {
        i.type = INPUT_MOUSE;
        i.mi.dx = x * 65535 / w;
        i.mi.dy = y * 65535 / h;
    }
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = down | MOUSEEVENTF_ABSOLUTE;
    in[2].mi.dwFlags = up | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, in, sizeof(INPUT));
}

void Summary(const char* what, std::vector<double> times, int lost) {
    if (times.empty()) {
        std::printf("%-30s none answered (%d lost)\n", what, lost);
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-30s median %8.1f ms  p90 %8.1f ms  max %8.1f ms  (%zu answered, %d lost)\n", what,
                times[times.size() / 2], times[times.size() * 9 / 10], times.back(), times.size(), lost);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: click_driver <program folder> <items> <seconds>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int items = std::atoi(argv[2]);
    const int seconds = std::atoi(argv[3]);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string command = "\"" + folder + "\\Ripplecast.exe\"";
    const double start = Now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) {
        std::printf("cannot start the program\n");
        return 1;
    }
    Found found;
    found.process = pi.dwProcessId;
    HWND list = nullptr;
    double painted = -1;
    while (Now() - start < 600000) {
        if (!found.main) EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
        if (found.main && found.lists.empty()) EnumChildWindows(found.main, CollectChild, reinterpret_cast<LPARAM>(&found));
        list = found.main ? VisibleList(found) : nullptr;
        if (list && Ask(list, LVM_GETITEMCOUNT, 0, 0) == items && IsWindowVisible(list) && !GetUpdateRect(list, nullptr, FALSE)) {
            painted = Now() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 10) == WAIT_OBJECT_0) break;
    }
    if (painted < 0) {
        std::printf("the list of %d rows was never painted\n", items);
        TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    std::printf("%d items: start-up to the first painted list %.0f ms\n", items, painted);
    std::fflush(stdout);
    if (seconds <= 0 || found.bars.empty()) {
        TerminateProcess(pi.hProcess, 0);
        return 0;
    }

    // Begin All: the third menu ("Download"), then its fifth entry past the separator.
    const RECT button = RemoteRect(found.bars[0], TB_GETITEMRECT, 2, RECT{});
    POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    ClientToScreen(found.bars[0], &at);
    SetForegroundWindow(found.main);
    MouseAt(at.x, at.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    HWND menu = open_menu_list::WaitForOpenList(found.main, 10000);
    if (!menu) {
        std::printf("the Download menu did not open\n");
        TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    // "Begin All" under Add, Delete, a separator, Begin and Stop: entries 21 high, the separator 5.
    RECT drop{};
    GetClientRect(menu, &drop);
    POINT entry{drop.left + 40, drop.top + kMenuTop + 4 * kEntryHeight + kSeparatorHeight + kEntryHeight / 2};
    ClientToScreen(menu, &entry);
    Sleep(200);
    MouseAt(entry.x, entry.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    const double begun = Now();
    std::printf("Begin All chosen\n");
    std::fflush(stdout);

    const RECT bounds{LVIR_BOUNDS, 0, 0, 0};
    RECT rows[2] = {RemoteRect(list, LVM_GETITEMRECT, 0, bounds), RemoteRect(list, LVM_GETITEMRECT, 1, bounds)};
    std::vector<double> clicks, answers;
    int lost = 0, answerLost = 0;
    for (int n = 0; Now() - begun < seconds * 1000.0; ++n) {
        const int row = n % 2;
        // Clicks are timed while the list has rows to select; the window's answers throughout.
        // The question itself waits while the window is busy: it is timed as an answer too.
        const double counted = Now();
        const LRESULT rowsLeft = Ask(list, LVM_GETITEMCOUNT, 0, 0);
        answers.push_back(Now() - counted);
        if (rowsLeft < 2) {
            Sleep(250);
            continue;
        }
        POINT p{(rows[row].left + rows[row].right) / 2, (rows[row].top + rows[row].bottom) / 2};
        ClientToScreen(list, &p);
        const double clicked = Now();
        MouseAt(p.x, p.y, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        bool seen = false;
        while (Now() - clicked < 5000) {
            const LRESULT selected = Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
            if (selected == row) {
                seen = true;
                break;
            }
            Sleep(2);
        }
        if (seen) clicks.push_back(Now() - clicked);
        else ++lost;
        const double asked = Now();
        if (Answers(found.main, 30000)) answers.push_back(Now() - asked);
        else ++answerLost;
        while (Now() - clicked < 250) Sleep(5);
    }
    const LRESULT left = Ask(list, LVM_GETITEMCOUNT, 0, 0);
    std::printf("after %d s: %ld rows left in the downloading list\n", seconds, static_cast<long>(left));
    Summary("click until its row selected", clicks, lost);
    Summary("sent message answered", answers, answerLost);
    std::fflush(stdout);
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    return 0;
}
