// Waits for a window to have painted itself, in place of a guessed time: a window is painted once
// it and every visible window inside it have no update region left. The system keeps the update
// regions, so this reads another process's windows as well as this thread's own.
#pragma once
#include <windows.h>

namespace wait_painted {

inline BOOL CALLBACK FindUnpainted(HWND child, LPARAM found) {
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// Shown, and neither it nor a visible window inside it waits to be painted.
inline bool Painted(HWND window) {
    if (!IsWindowVisible(window) || GetUpdateRect(window, nullptr, FALSE)) return false;
    bool unpainted = false;
    EnumChildWindows(window, FindUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

// Another thread's window, painted and with its thread past the paint: the update region is
// empty from the start of a paint on, and a sent message is taken only between messages.
inline bool PaintedAndIdle(HWND window, DWORD ms) {
    DWORD_PTR answer = 0;
    return Painted(window) && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &answer) != 0 &&
           Painted(window);
}

// Runs `pump` (this thread's messages) until the window is painted and no message waits, or ms
// pass; false then.
template <class Pump>
bool PumpUntilPainted(HWND window, Pump pump, DWORD ms = 20000) {
    const DWORD start = GetTickCount();
    for (;;) {
        pump();
        if (Painted(window) && !HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE | QS_PAINT)))
            return true;
        if (GetTickCount() - start >= ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace wait_painted
