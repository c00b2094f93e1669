// Pictures of what a user sees, kept in the build's artifacts for a person to look at: the main
// window maximized with its title bar, and the add, options and about dialogs, each opened by its
// command over it. Saved as bitmaps here; pictures-png.sh turns them into PNG.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "CommandHarness.h"
#include "Plus.h"
#include "ProgramRun.h"
#include "WaitPainted.h"

namespace {

using command_harness::CommandHarness;

std::string PicturesDirectory() {
    char value[MAX_PATH] = {};
    if (GetEnvironmentVariableA("RIPPLECAST_ARTIFACTS", value, MAX_PATH)) return value;
    return program_run::ExeDirectory() + "\\..\\artifacts";
}

// The screen inside `area`, as a 24-bit bitmap file.
bool SavePicture(RECT area, const std::string& path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int row = (w * 3 + 3) & ~3;
    std::vector<char> bits(static_cast<size_t>(row) * h);
    const int rows = GetDIBits(memory, bitmap, 0, h, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != h) return false;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(bits.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(bits.data(), static_cast<std::streamsize>(bits.size()));
    return static_cast<bool>(out);
}

// Runs the messages that are waiting.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class WindowPicturesTest : public CommandHarness {
protected:
    void TearDown() override {
        delete AboutBox;
        AboutBox = nullptr;
        CommandHarness::TearDown();
    }
};

TEST_F(WindowPicturesTest, MainWindowAndDialogsAsAUserSeesThem) {
    const std::string pictures = PicturesDirectory();
    CreateDirectoryA(pictures.c_str(), nullptr);
    Make();
    AboutBox = new TAboutBox(ui::Application);
    form->Show();
    HWND main = form->Handle();
    EXPECT_TRUE(wait_painted::PumpUntilPainted(main, Pump)) << "the main window did not paint";
    EXPECT_TRUE(IsZoomed(main));
    EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_TRUE(SavePicture(screen, pictures + "\\ripplecast-window-main.bmp"));

    struct Dialog {
        const char* name;
        ui::TCustomForm* dialog;
        std::function<void()> open;
    } dialogs[] = {
        {"add", frmInfo, [this] { form->btnAddClick(form->btnAdd); }},
        {"options", ToolsDlg, [this] { form->Tools1Click(nullptr); }},
        {"about", AboutBox, [this] { form->About1Click(nullptr); }},
    };
    for (const Dialog& d : dialogs) {
        bool saved = false;
        std::vector<std::function<void()>> steps{
            command_harness::ModalSteps::WaitFor([&] { return wait_painted::Painted(d.dialog->Handle()); })};
        steps.push_back([&] {
            EXPECT_TRUE(wait_painted::Painted(d.dialog->Handle())) << d.name << " did not paint";
            RECT r;
            GetWindowRect(d.dialog->Handle(), &r);
            InflateRect(&r, 8, 8);
            saved = SavePicture(r, pictures + "\\ripplecast-window-" + d.name + ".bmp");
        });
        steps.push_back([&] { d.dialog->SetModalResult(ui::mrCancel); });
        WithDialog(steps, d.open);
        EXPECT_TRUE(saved) << d.name;
    }
}

}  // namespace
