// A test form with the XP-look component active. After a few seconds on screen it drops its File
// menu down and, with the menu down, takes a picture of the screen through GDI into a BMP file,
// then waits to be ended. Under Wine each of that picture and the display's misses windows that
// the other shows; screenshot.sh merges them.
//   XPMenuShowcase <out.bmp>
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "XPTestForm.h"

namespace {

HWND shown = nullptr;
std::string outPath;

bool SaveScreen(const std::string& path, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as BMP files keep their rows
    info.biPlanes = 1;
    info.biBitCount = 32;
    info.biCompression = BI_RGB;
    std::vector<char> bits(static_cast<size_t>(width) * height * 4);
    GetDIBits(memory, bitmap, 0, height, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + bits.size());
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 && std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                    std::fwrite(bits.data(), bits.size(), 1, out) == 1;
    return std::fclose(out) == 0 && ok;
}

void CALLBACK TakePicture(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (!SaveScreen(outPath, 480, 400)) ExitProcess(1);
}

// Drops the File menu down below its bar item, highlighted as when a user opens it; the menu
// loop runs inside this call until the picture is taken.
void CALLBACK DropMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    // Every child painted now: the menu loop below paints nothing but its menus.
    RedrawWindow(shown, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    HMENU bar = GetMenu(shown);
    RECT item{};
    GetMenuItemRect(shown, bar, 0, &item);
    HiliteMenuItem(shown, bar, 0, MF_BYPOSITION | MF_HILITE);
    SetTimer(nullptr, 0, 1500, TakePicture);
    TrackPopupMenu(GetSubMenu(bar, 0), TPM_LEFTALIGN | TPM_TOPALIGN, item.left, item.bottom, 0, shown, nullptr);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { ExitProcess(2); }



}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    outPath = argv[1];
    ui::TApplication application;
    ui::InitCommonControls();
    XPTestForm form(nullptr);
    form.Find<ui::TComboBox>("Combo1")->AddItem("second");
    form.xp->SetActive(true);
    form.SetBounds(20, 20, 440, 340);
    form.Show();
    form.Find<ui::TEdit>("Edit1")->SetFocus();
    shown = form.Handle();
    SetTimer(nullptr, 0, 30000, GiveUp);
    SetTimer(nullptr, 0, 4000, DropMenu);
    application.Run();
    return 0;
}
