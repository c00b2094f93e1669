#include "Qelmenubar.h"

#include <commctrl.h>

namespace skin {

void TqelMenuBar::ShowMenu(ui::TMainMenu* menu) {
    SetMenu(menu);
    FitButtonHeight();
}

void TqelMenuBar::InitWnd() {
    ui::TToolBar::InitWnd();
    FitButtonHeight();
}

void TqelMenuBar::FitButtonHeight() {
    if (!HandleAllocated()) return;
    // The control sizes the buttons to their text when it lays them out; the height is set last.
    const LRESULT size = SendMessageA(Handle(), TB_GETBUTTONSIZE, 0, 0);
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), ButtonHeight));
    InvalidateRect(Handle(), nullptr, TRUE);
}

bool TqelMenuBar::DrawBar(ui::TCanvas& canvas, const ui::TRect& rect) {
    bool defaultDraw = true;
    // The bar's own colour first: the control leaves its background to the parent.
    canvas.Brush.Color = color_;
    canvas.Brush.Style = ui::TBrushStyle::Solid;
    canvas.FillRect(rect);
    if (OnCustomDraw) OnCustomDraw(this, canvas, rect, defaultDraw);
    return defaultDraw;
}

bool TqelMenuBar::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code == NM_CUSTOMDRAW && OnCustomDraw) {
        auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
        if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
            const int saved = SaveDC(cd->nmcd.hdc);
            {
                ui::TCanvas canvas(cd->nmcd.hdc);
                DrawBar(canvas, ui::TRect::From(cd->nmcd.rc));
            }
            RestoreDC(cd->nmcd.hdc, saved);
            // The buttons are still asked for one by one.
            result = OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return true;
        }
    }
    return ui::TToolBar::HandleNotify(header, result);
}

}  // namespace skin
