// Painting tool bar buttons and control bar bands in the flat look.
#include <cmath>

#include "ComCtrls.h"
#include "ControlBar.h"
#include "ImgList.h"
#include "Menus.h"
#include "XPColors.h"
#include "Xpmenu.h"

namespace xpmenu {

using namespace ui;

namespace {

void Fill(TCanvas& canvas, const TRect& r, TColor colour) {
    canvas.Brush = TBrush{colour, TBrushStyle::Solid};
    canvas.FillRect(r);
}

void Outline(TCanvas& canvas, int l, int t, int r, int b) {
    const POINT points[] = {{l, t}, {r, t}, {r, b}, {l, b}, {l, t}};
    canvas.Polyline(points, 5);
}

}  // namespace

void TXPMenu::ToolBarDrawButton(TToolBar* bar, TToolButton* button, unsigned state, bool& defaultDraw) {
    defaultDraw = false;
    if (!bar || !button || !bar->Canvas()) return;
    TCanvas& canvas = *bar->Canvas();
    const TRect bounds = button->BoundsRect();
    const int index = button->ImageIndex();
    const auto usable = [index](TImageList* list) { return list && index != -1 && index < list->Count(); };

    SetGlobalColor(canvas);
    const TColor select = HighColor && !useSystemColors_ ? NewColor(canvas, SelectColor, 68) : DrawSelectColor;
    const TColor barColour = HighColor ? NewColor(canvas, bar->Color(), 16) : bar->Color();
    if (!bar->Transparent) Fill(canvas, bounds, barColour);

    const bool hot = state & cdsHot, checked = state & cdsChecked, selected = state & cdsSelected;
    const bool disabled = (state & cdsDisabled) || !button->Enabled();
    const bool dropDown = button->Style == TToolButtonStyle::DropDown;
    bool fill = false, frame = false;
    TColor fillColour = 0;
    if (hot) {
        fillColour = checked || button->Down || selected ? CheckAreaSelectColor : select;
        fill = frame = true;
    } else if (checked) {
        fillColour = CheckAreaColor;
        fill = frame = true;
    } else if (state & cdsIndeterminate) {
        fillColour = select;
        fill = true;
    } else if (button->MenuItem() && state == 0 && !bar->Transparent) {
        fillColour = bar->Color();
        fill = true;
    }
    TRect r = bounds;
    r.Top += 1;
    if (fill) Fill(canvas, r, fillColour);
    if (frame) {
        const int L = bounds.Left, T = bounds.Top, R = bounds.Right, B = bounds.Bottom;
        canvas.Pen = TPen{DrawSelectBorderColor, TPenStyle::Solid, 1};
        if (dropDown) {
            Outline(canvas, L, T + 1, R - 14, B - 1);
            Outline(canvas, R - 14, T + 1, R - 1, B - 1);
        } else {
            Outline(canvas, L, T + 1, R - 1, B - 1);
        }
    }
    if ((button->DropdownMenu || button->MenuItem()) && selected) {
        DrawTopMenuItem(button, canvas, false, bar->Color(), r);
    }

    r = bounds;
    if (dropDown) {
        canvas.Pen = TPen{clBlack, TPenStyle::Solid, 1};
        DrawArrow(canvas, r.Right - 10, r.Top + (r.Bottom - r.Top - 3) / 2 + 1);
    }

    TImageList* list = hot && usable(bar->HotImages())             ? bar->HotImages()
                       : disabled && usable(bar->DisabledImages()) ? bar->DisabledImages()
                       : usable(bar->Images())                     ? bar->Images()
                                                                   : nullptr;
    int w = 0;
    if (list) {
        TBitmap glyph;
        glyph.SetSize(list->Width(), list->Height());
        Fill(glyph.Canvas(), TRect{0, 0, list->Width(), list->Height()}, canvas.Brush.Color);
        list->Draw(glyph.Canvas(), 0, 0, index, true);
        w = glyph.Width();
        if (dropDown) r.Right -= 12;
        if (!bar->List) {
            r.Left = static_cast<int>(std::nearbyint((r.Right - r.Left - w) / 2.0 + r.Left));
        } else {
            const int left = r.Left;
            r.Left += 3;
            r.Right = left + w + 3;
        }
        r.Top += 2;
        r.Bottom = r.Top + glyph.Height() + 6;
        DrawIcon(button, canvas, &glyph, r, hot, selected, !disabled, checked, false, false);
    }

    if (bar->ShowCaptions) {
        r = bounds;
        if (dropDown) r.Right -= 12;
        UINT format = DT_SINGLELINE;
        if (bar->List) {
            format |= DT_VCENTER;
            if (w > 0) r.Left += w;
        } else {
            format |= DT_CENTER;
            r.Top = r.Bottom - canvas.TextHeight(button->Caption()) - 6;
        }
        if (button->MenuItem()) format |= DT_CENTER;
        DrawTheText(button, button->Caption(), "", format, font_, false, button->MenuItem() != nullptr, false,
                    !disabled, selected, r, canvas);
    }

    // Separators get no drawing call of their own; the button after one paints it.
    const int position = button->Index();
    if (position > 0) {
        TToolButton* previous = bar->Button(position - 1);
        if (previous->Style == TToolButtonStyle::Separator || previous->Style == TToolButtonStyle::Divider) {
            const TRect pr = previous->BoundsRect();
            if (!bar->Transparent) Fill(canvas, pr, barColour);
            if (previous->Tag > 0) {
                canvas.Pen = TPen{GetShadeColor(canvas, bar->Color(), 30), TPenStyle::Solid, 1};
                const int x = pr.Left + pr.Width() / 2;
                canvas.MoveTo(x, pr.Top + 2);
                canvas.LineTo(x, pr.Bottom - 1);
            }
        }
    }

    if (button->MenuItem() && (controls_ & Member(xcMainMenu))) ActivateMenuItem(button->MenuItem());
}

void TXPMenu::ControlBarPaint(TComponent* sender, TControl*, TCanvas* canvas, TRect& rect, unsigned& options) {
    options = 0;
    if (!canvas) return;
    SetGlobalColor(*canvas);
    auto* bar = dynamic_cast<TControl*>(sender);
    const TColor colour = bar ? bar->Color() : clBtnFace;
    Fill(*canvas, rect, HighColor ? NewColor(*canvas, colour, 6) : colour);
    if (rect.Bottom - 5 < rect.Top + 5) return;
    int shade = 30;
    for (int y = rect.Top + 5; y <= rect.Bottom - 5; ++y) {
        if (y % 2 != 0) continue;
        canvas->Pen = TPen{GetShadeColor(*canvas, colour, shade), TPenStyle::Solid, 1};
        canvas->MoveTo(rect.Left + 3, y);
        canvas->LineTo(rect.Left + 6, y);
        shade += 7;
    }
}

}  // namespace xpmenu
