// Pictures taken for a person to look at: a window's pixels read from its own device context (Wine
// keeps popup menus and some child windows on surfaces of their own, which a picture of the screen
// shows black), and saved as a top-down 32-bit bitmap file.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace window_grab {

// The pixels of `window`'s context (the screen's with null) from (x, y), top row first, as the
// copy gives them. Empty when the copy fails.
inline std::vector<DWORD> GrabPixels(HWND window, int x, int y, int width, int height) {
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) return pixels;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC source = window ? GetWindowDC(window) : GetDC(nullptr);
    HDC memory = CreateCompatibleDC(source);
    void* bits = nullptr;
    if (HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
            GdiFlush();
            const auto* first = static_cast<const DWORD*>(bits);
            pixels.assign(first, first + static_cast<size_t>(width) * height);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return pixels;
}

// The whole of `window`, frame included.
inline std::vector<DWORD> GrabWindow(HWND window, RECT& place) {
    GetWindowRect(window, &place);
    return GrabPixels(window, 0, 0, place.right - place.left, place.bottom - place.top);
}

inline bool SaveBmp(const std::string& path, const std::vector<DWORD>& pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) return false;
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;  // top row first
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size() * 4);
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1 &&
                         std::fwrite(pixels.data(), pixels.size() * 4, 1, out) == 1;
    return std::fclose(out) == 0 && written;
}

}  // namespace window_grab
