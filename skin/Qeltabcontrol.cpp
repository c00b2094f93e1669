#include "Qeltabcontrol.h"

#include <windowsx.h>

#include <algorithm>

#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

// ---- the row of tabs

TqelTabControlTopPanel::TqelTabControlTopPanel(ui::TComponent* owner, TqelTabControl* tabControl)
    : ui::TCustomPanel(owner), tabControl_(tabControl) {
    BevelOuter = ui::TBevelCut::None;
    BorderWidth = 0;
    caption_ = " ";
    SetAlign(ui::TAlign::Top);
}

void TqelTabControlTopPanel::SetTabs(const std::vector<std::string>& tabs) {
    tabs_ = tabs;
    Invalidate();
}

void TqelTabControlTopPanel::SetLeftMargin(int value) {
    leftMargin_ = value;
    Invalidate();
}

void TqelTabControlTopPanel::SetTabIndex(int value) {
    if (tabs_.empty()) {
        tabIndex_ = -1;
        Invalidate();
        return;
    }
    Invalidate();
    if (value < -1 || value >= static_cast<int>(tabs_.size())) return;
    tabIndex_ = value;
    if (OnTabActive) OnTabActive(tabControl_, tabIndex_);
}

void TqelTabControlTopPanel::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    if (style != TqelUIStyle::Custom) {
        activeName_ = GetThemeString(style, theme::kTabActive);
        inactiveName_ = GetThemeString(style, theme::kTabInactive);
        lineName_ = GetThemeString(style, theme::kTabLine);
        SetHeight(GetThemeInt(style, theme::kTabHeight));
    }
    Invalidate();
}

LRESULT TqelTabControlTopPanel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Every press hits a tab, the second one of a double click too.
    if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN && message != WM_MBUTTONDOWN &&
        message != WM_LBUTTONDBLCLK)
        return ui::TCustomPanel::WndProc(message, wParam, lParam);
    Invalidate();
    const LRESULT result = ui::TCustomPanel::WndProc(message, wParam, lParam);
    HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return result;
}

void TqelTabControlTopPanel::HitTest(int x, int y) {
    int left = leftMargin_;
    for (int i = 0; tabWidths_[i] != 0; ++i) {
        const int right = left + tabWidths_[i];
        if (left < x && x < right && 0 < y && y < stripHeight_) {
            SetTabIndex(i);
            return;
        }
        left = right;
    }
}

void TqelTabControlTopPanel::Paint(ui::TCanvas& canvas) {
    ui::TBitmap buffer;
    buffer.SetSize(std::max(1, width_), std::max(1, height_));
    ui::TCanvas& c = buffer.Canvas();
    DoTrans(c, *tabControl_);
    ui::TBitmap active, inactive, line;
    LoadSkinBitmap(active, activeName_);
    LoadSkinBitmap(inactive, inactiveName_);
    LoadSkinBitmap(line, lineName_);
    for (ui::TBitmap* picture : {&active, &inactive}) {
        picture->Transparent = true;
        picture->TransparentColor = ui::TColor(0xFF00FF);
    }
    stripHeight_ = active.Height();
    const int ih = inactive.Height();
    c.StretchDraw({1, ih, width_ - 1, ih + line.Height()}, line);
    c.Pen.Color = tabControl_->BorderColor();
    c.MoveTo(0, ih);
    c.LineTo(0, ih + line.Height());
    c.MoveTo(width_ - 1, ih);
    c.LineTo(width_ - 1, ih + line.Height());

    c.Font.Assign(tabControl_->Font());
    int x = leftMargin_;
    for (int i = 0; i < static_cast<int>(tabs_.size()); ++i) {
        const std::string& text = tabs_[i];
        const int w = std::max(15, text.empty() ? 80 : c.TextWidth(text) + 20);
        if (i < kKeptWidths) tabWidths_[i] = w;
        ui::TRect tab;
        if (i == tabIndex_) {
            tab = {x, 1, x + w, ih + 1};
            SpitDrawHorizontal(active, c, tab, true);
        } else {
            tab = {x, 0, x + w, ih};
            SpitDrawHorizontal(inactive, c, tab, true);
        }
        x += w;
        c.Brush.Style = ui::TBrushStyle::Clear;
        c.TextRect(tab, text, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        c.Brush.Style = ui::TBrushStyle::Solid;
    }
    BitBlt(canvas.Handle(), 0, 0, buffer.Width(), buffer.Height(), c.Handle(), 0, 0, SRCCOPY);
}

// ---- the tab control

TqelTabControl::TqelTabControl(ui::TComponent* owner) : ui::TCustomPanel(owner) {
    topPanel_ = new TqelTabControlTopPanel(this, this);
    topPanel_->SetParent(this);
    caption_ = " ";
    BevelOuter = ui::TBevelCut::None;
    BorderWidth = 0;
    height_ = 80;
    SetUIStyle(GetQELFormStyle(owner));
}

void TqelTabControl::SetUIStyle(TqelUIStyle style) {
    if (style == TqelUIStyle::Custom) return;
    uiStyle_ = style;
    topPanel_->SetColor(GetThemeColor(style, theme::kPanelColor));
    borderColor_ = GetThemeColor(style, theme::kBorderColor);
    topPanel_->SetUIStyle(style);
    SetColor(style == TqelUIStyle::WinXP ? ui::TColor(0xFFFFFF) : GetThemeColor(style, theme::kPanelColor));
    Invalidate();
}

void TqelTabControl::SetBorderColor(ui::TColor color) {
    borderColor_ = color;
    Invalidate();
    topPanel_->Invalidate();
}

void TqelTabControl::SetFont(const ui::TFont& font) {
    font_.Assign(font);
    topPanel_->Invalidate();
}

void TqelTabControl::FontChanged() {
    ui::TCustomPanel::FontChanged();
    topPanel_->Invalidate();
}

void TqelTabControl::Paint(ui::TCanvas& canvas) {
    const int top = topPanel_->Height();
    const ui::TRect client = ClientRect();
    canvas.Brush.Color = color_;
    canvas.FillRect({client.Left, top, client.Right, client.Bottom});
    canvas.Pen.Color = borderColor_;
    const POINT frame[] = {{0, top}, {0, height_ - 1}, {width_ - 1, height_ - 1}, {width_ - 1, top - 1}};
    canvas.Polyline(frame, 4);
    PaintGraphicChildren(canvas);
}

bool TqelTabControl::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "BorderColor") {
        SetBorderColor(ui::ParseColor(v));
    } else if (name == "Tabs.Strings") {
        std::vector<std::string> tabs;
        for (const ui::Value& item : v.list) tabs.push_back(item.AsText());
        SetTabs(tabs);
    } else if (name == "TabIndex") {
        SetTabIndex(v.AsInt());
    } else if (name == "LeftMargin") {
        SetLeftMargin(v.AsInt());
    } else if (name == "OnTabActive") {
        SetOnTabActive(reader.Method<void(ui::TComponent*, int)>(v));
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
