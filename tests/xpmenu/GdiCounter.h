// Counts the GDI objects and device contexts this program makes and frees, by putting counting
// functions in its import table (the library code is linked into the test program, so every call
// of its own goes through there). The system's GDI count is not available under Wine.
#pragma once
#include <windows.h>

#include <cstring>

namespace gdicount {

inline long objects = 0;  // pens, brushes, fonts, bitmaps and memory contexts alive
inline long contexts = 0;  // window contexts taken and not released

inline decltype(&CreatePen) realCreatePen;
inline decltype(&CreateSolidBrush) realCreateSolidBrush;
inline decltype(&CreateFontIndirectA) realCreateFontIndirectA;
inline decltype(&CreateDIBSection) realCreateDIBSection;
inline decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
inline decltype(&CreateCompatibleDC) realCreateCompatibleDC;
inline decltype(&DeleteObject) realDeleteObject;
inline decltype(&DeleteDC) realDeleteDC;
inline decltype(&GetDC) realGetDC;
inline decltype(&GetWindowDC) realGetWindowDC;
inline decltype(&ReleaseDC) realReleaseDC;

template <class H>
H Made(H h) {
    if (h) ++objects;
    return h;
}

inline HPEN WINAPI CountCreatePen(int s, int w, COLORREF c) { return Made(realCreatePen(s, w, c)); }
inline HBRUSH WINAPI CountCreateSolidBrush(COLORREF c) { return Made(realCreateSolidBrush(c)); }
inline HFONT WINAPI CountCreateFontIndirectA(const LOGFONTA* f) { return Made(realCreateFontIndirectA(f)); }
inline HBITMAP WINAPI CountCreateDIBSection(HDC dc, const BITMAPINFO* i, UINT u, void** b, HANDLE s, DWORD o) {
    return Made(realCreateDIBSection(dc, i, u, b, s, o));
}
inline HBITMAP WINAPI CountCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Made(realCreateCompatibleBitmap(dc, w, h));
}
inline HDC WINAPI CountCreateCompatibleDC(HDC dc) { return Made(realCreateCompatibleDC(dc)); }
inline BOOL WINAPI CountDeleteObject(HGDIOBJ h) {
    const BOOL ok = realDeleteObject(h);
    if (ok && h) --objects;
    return ok;
}
inline BOOL WINAPI CountDeleteDC(HDC dc) {
    const BOOL ok = realDeleteDC(dc);
    if (ok) --objects;
    return ok;
}
inline HDC WINAPI CountGetDC(HWND w) {
    HDC dc = realGetDC(w);
    if (dc) ++contexts;
    return dc;
}
inline HDC WINAPI CountGetWindowDC(HWND w) {
    HDC dc = realGetWindowDC(w);
    if (dc) ++contexts;
    return dc;
}
inline int WINAPI CountReleaseDC(HWND w, HDC dc) {
    const int released = realReleaseDC(w, dc);
    if (released) --contexts;
    return released;
}

template <class F>
bool Patch(const char* dll, const char* name, F replacement, F& original) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (_stricmp(reinterpret_cast<char*>(base + imp->Name), dll) != 0) continue;
        auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        for (; names->u1.AddressOfData; ++names, ++thunk) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
            DWORD old = 0;
            VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), PAGE_READWRITE, &old);
            original = reinterpret_cast<F>(thunk->u1.Function);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&thunk->u1.Function, sizeof(thunk->u1.Function), old, &old);
            return true;
        }
    }
    return false;
}

// True when every counted function was found in the import table.
inline bool Install() {
    static bool done = false, ok = false;
    if (done) return ok;
    done = true;
    ok = Patch("gdi32.dll", "CreatePen", &CountCreatePen, realCreatePen) &&
         Patch("gdi32.dll", "CreateSolidBrush", &CountCreateSolidBrush, realCreateSolidBrush) &&
         Patch("gdi32.dll", "CreateFontIndirectA", &CountCreateFontIndirectA, realCreateFontIndirectA) &&
         Patch("gdi32.dll", "CreateDIBSection", &CountCreateDIBSection, realCreateDIBSection) &&
         Patch("gdi32.dll", "CreateCompatibleBitmap", &CountCreateCompatibleBitmap, realCreateCompatibleBitmap) &&
         Patch("gdi32.dll", "CreateCompatibleDC", &CountCreateCompatibleDC, realCreateCompatibleDC) &&
         Patch("gdi32.dll", "DeleteObject", &CountDeleteObject, realDeleteObject) &&
         Patch("gdi32.dll", "DeleteDC", &CountDeleteDC, realDeleteDC) &&
         Patch("user32.dll", "GetDC", &CountGetDC, realGetDC) &&
         Patch("user32.dll", "GetWindowDC", &CountGetWindowDC, realGetWindowDC) &&
         Patch("user32.dll", "ReleaseDC", &CountReleaseDC, realReleaseDC);
    return ok;
}

}  // namespace gdicount
