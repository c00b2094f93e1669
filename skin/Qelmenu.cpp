#include "Qelmenu.h"

#include "Qelpublic.h"

namespace skin {

void Menu_SetItemEvent(ui::TMenuItem* item, const ui::TMenuDrawItemEvent& draw,
                       const ui::TMenuMeasureItemEvent& measure) {
    item->OnDrawItem = draw;
    item->OnMeasureItem = measure;
    for (int i = 0; i < item->Count(); ++i) Menu_SetItemEvent(item->Item(i), draw, measure);
}

void Menu_DrawBorder(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color) {
    canvas.Brush.Color = color;
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    canvas.FrameRect(rect);
}

void Menu_DrawBackGround(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color) {
    canvas.Brush.Color = color;
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    canvas.FillRect(rect);
}

void Menu_DrawLineItem(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color, int barWidth) {
    canvas.Pen.Color = color;
    canvas.Pen.Style = ui::TPenStyle::Solid;
    canvas.MoveTo(rect.Left + barWidth + 4, rect.Top + 2);
    canvas.LineTo(rect.Right - 2, rect.Top + 2);
}

namespace {

void StretchTopRows(ui::TCanvas& canvas, const ui::TRect& rect, const char* name, int rows) {
    ui::TBitmap picture;
    LoadSkinBitmap(picture, name);
    if (picture.Empty()) return;
    picture.Resize(picture.Width(), rows);
    canvas.StretchDraw(rect, picture);
}

}  // namespace

void Menu_DrawMacOSLineItem(ui::TCanvas& canvas, const ui::TRect& rect) {
    StretchTopRows(canvas, rect, "MACOS_MENU_BAR", 12);
}

void Menu_DrawMacOSSelectedItem(ui::TCanvas& canvas, const ui::TRect& rect) {
    StretchTopRows(canvas, rect, "MACOS_MENU_SELECT", 20);
}

void Menu_DrawMacOSNonSelectedItem(ui::TCanvas& canvas, const ui::TRect& rect) {
    StretchTopRows(canvas, rect, "MACOS_MENU_BAR", 20);
}

void Menu_DrawWindowBorder(HWND window, ui::TColor borderColor, ui::TColor edgeColor) {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    {
        ui::TCanvas canvas(dc);
        RECT r{};
        GetWindowRect(window, &r);
        const int L = r.left, T = r.top, R = r.right, B = r.bottom;
        canvas.Brush.Color = borderColor;
        canvas.FrameRect({L, T + 1, R - 1, B - 1});
        canvas.Brush.Color = ui::clWhite;
        canvas.FrameRect({L + 1, T + 2, R - 2, B - 2});
        canvas.Pen.Color = edgeColor;
        canvas.MoveTo(L, B - 1);
        canvas.LineTo(R - 1, B - 1);
        canvas.LineTo(R - 1, T);
        canvas.LineTo(R, T);
        canvas.LineTo(L, T);
    }
    ReleaseDC(desktop, dc);
}

void Menu_GetSystemFont(ui::TFont& font) { ui::LoadSystemMenuFont(font); }

}  // namespace skin
