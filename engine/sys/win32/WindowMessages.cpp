#include <windows.h>

#include "../WindowMessages.h"

namespace sys {

void DispatchPaintMessages() {
    // Peeking also answers messages sent from other threads, so the window never counts as hung.
    // A window that does not validate what it painted is asked again and again: a bounded number
    // per call keeps the caller's wait going.
    MSG msg;
    for (int i = 0; i < 64 && PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
        DispatchMessageA(&msg);
    }
}

}  // namespace sys
