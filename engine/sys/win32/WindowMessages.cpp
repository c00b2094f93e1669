#include <windows.h>

#include "../WindowMessages.h"

namespace sys {

void DispatchPaintMessages() {
    // Peeking also answers messages sent from other threads, so the window never counts as hung.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace sys
