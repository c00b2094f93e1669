#include "Qelcombobox.h"

#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

namespace {

// A filled triangle in one colour, outline included.
void Triangle(ui::TCanvas& canvas, ui::TColor color, const POINT (&points)[3]) {
    ui::GdiHandle<HPEN> pen(CreatePen(PS_SOLID, 1, ui::ColorToRGB(color)));
    ui::GdiHandle<HBRUSH> brush(CreateSolidBrush(ui::ColorToRGB(color)));
    HDC dc = canvas.Handle();
    HGDIOBJ oldPen = SelectObject(dc, pen.Get());
    HGDIOBJ oldBrush = SelectObject(dc, brush.Get());
    Polygon(dc, points, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

}  // namespace

TqelComboBox::TqelComboBox(ui::TComponent* owner) : ui::TComboBox(owner) {
    SetUIStyle(GetQELFormStyle(owner));
}

void TqelComboBox::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    if (style != TqelUIStyle::Custom) {
        buttonColor_ = GetThemeColor(style, theme::kComboButtonColor);
        arrowColor_ = GetThemeColor(style, theme::kBorderColor);
        borderColor_ = GetThemeColor(style, theme::kBorderColor);
    }
    Redraw();
}

void TqelComboBox::SetBorderColor(ui::TColor color) {
    borderColor_ = color;
    Redraw();
}

void TqelComboBox::SetButtonColor(ui::TColor color) {
    buttonColor_ = color;
    Redraw();
}

void TqelComboBox::SetArrowColor(ui::TColor color) {
    arrowColor_ = color;
    Redraw();
}

void TqelComboBox::SetEnabled(bool enabled) {
    ui::TComboBox::SetEnabled(enabled);
    Redraw();
}

void TqelComboBox::Redraw() {
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TqelComboBox::DrawButton(ui::TCanvas& canvas) {
    const ui::TRect r{width_ - kButtonWidth, 0, width_, height_};
    if (uiStyle_ == TqelUIStyle::MacOS) {
        ui::TBitmap button;
        LoadSkinBitmap(button, "MACOS_COMBOBOX_BUTTON");
        canvas.Draw(r.Left, r.Top + 2, button);
    } else {
        canvas.Brush.Color = buttonColor_;
        canvas.FillRect(r);
    }
    DrawArrow(canvas, r.Left + r.Width() / 2 - 5, r.Height() / 2 - 1);
}

void TqelComboBox::DrawArrow(ui::TCanvas& canvas, int x, int y) {
    ui::TColor color = arrowColor_;
    if (!enabled_) {
        Triangle(canvas, ui::TColor(0xFFFFFF), {{x + 1, y + 1}, {x + 7, y + 1}, {x + 4, y + 4}});
        color = ui::TColor(0x808080);
    }
    Triangle(canvas, color, {{x, y}, {x + 6, y}, {x + 3, y + 3}});
}

LRESULT TqelComboBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT && message != WM_ERASEBKGND) return ui::TComboBox::WndProc(message, wParam, lParam);
    const LRESULT result = ui::TComboBox::WndProc(message, wParam, lParam);
    if (message == WM_PAINT) {
        HDC dc = GetDC(handle_);
        {
            ui::TCanvas canvas(dc);
            DrawButton(canvas);
        }
        ReleaseDC(handle_, dc);
    }
    DrawControlBorder(*this, borderColor_, color_);
    return result;
}

bool TqelComboBox::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "ButtonColor") {
        SetButtonColor(ui::ParseColor(v));
    } else if (name == "ArrowColor") {
        SetArrowColor(ui::ParseColor(v));
    } else {
        return ui::TComboBox::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
