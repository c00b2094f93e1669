// Reading a shown window back: one pixel of its whole rectangle (frame included), and a redraw of
// it and every child, frames and backgrounds too, done before the call returns.
#pragma once
#include <windows.h>

inline COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

inline void RedrawAll(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
