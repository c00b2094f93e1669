// The main window's two tool bars: every caption fits its button, in the font the bar draws with,
// so that none is cut short ("Down..." for "Download").
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "CommandHarness.h"
#include "Main.h"

namespace {

int CaptionWidth(HWND bar, const std::string& caption) {
    HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, reinterpret_cast<HGDIOBJ>(SendMessageA(bar, WM_GETFONT, 0, 0)));
    SIZE s{};
    GetTextExtentPoint32A(screen, caption.c_str(), static_cast<int>(caption.size()), &s);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return s.cx;
}

class ToolBarCaptionsTest : public command_harness::CommandHarness {};

TEST_F(ToolBarCaptionsTest, EveryCaptionFitsItsButton) {
    Make();
    struct Bar {
        ui::TToolBar* bar;
        int streamedWidth;
    } bars[] = {{form->ToolBar1, 55}, {form->ToolBar2, 38}};
    for (const Bar& b : bars) {
        HWND bar = b.bar->Handle();
        ASSERT_NE(bar, nullptr);
        const int padding = LOWORD(SendMessageA(bar, TB_GETPADDING, 0, 0));
        int buttons = 0;
        for (int i = 0; i < b.bar->ButtonCount(); ++i) {
            const ui::TToolButton* button = b.bar->Button(i);
            if (button->Style != ui::TToolButtonStyle::Button) continue;
            ++buttons;
            const ui::TRect r = b.bar->ButtonRect(i);
            EXPECT_GE(r.Width(), b.streamedWidth) << button->Caption();
            // What the control itself lays out around a caption: its padding, and in a bar with the
            // text beside the image, the button's edges as well.
            const int edges = b.bar->List ? 2 * GetSystemMetrics(SM_CXEDGE) : 0;
            EXPECT_GE(r.Width(), CaptionWidth(bar, button->Caption()) + padding + edges) << button->Caption();
        }
        EXPECT_GT(buttons, 0);
    }
    // The bar that shows the main menu holds its "Download".
    bool download = false;
    for (int i = 0; i < form->ToolBar1->ButtonCount(); ++i) download |= form->ToolBar1->Button(i)->Caption() == "Download";
    EXPECT_TRUE(download);
}

}  // namespace
