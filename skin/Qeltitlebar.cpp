#include "Qeltitlebar.h"

#include <algorithm>

#include "Qelform.h"
#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

namespace {

void Copy(const ui::TBitmap& from, ui::TBitmap& to) {
    if (from.Empty()) {
        to.SetSize(0, 0);
    } else {
        to.Assign(from);
    }
}

// The picture's top-left block of the given size, unstretched.
void CopyBlock(ui::TCanvas& canvas, const ui::TBitmap& picture, int x, int width, int height) {
    if (picture.Empty()) return;
    BitBlt(canvas.Handle(), x, 0, std::min(width, picture.Width()), std::min(height, picture.Height()),
           picture.CanvasHandle(), 0, 0, SRCCOPY);
}

void Stretch(ui::TCanvas& canvas, ui::TBitmap& picture, const ui::TRect& r) {
    if (picture.Empty() || r.Width() <= 0 || r.Height() <= 0) return;
    canvas.StretchDraw(r, picture);
}

void DrawPicture(ui::TCanvas& canvas, ui::TBitmap& picture, int x, int y, bool transparent) {
    if (picture.Empty()) return;
    picture.Transparent = transparent;
    if (transparent) picture.TransparentMode = ui::TBitmap::TTransparentMode::Auto;
    canvas.Draw(x, y, picture);
}

}  // namespace

std::function<void(const std::string&)> TqelTitleBar::ErrorDialog = [](const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR);
};

bool FormMaximised(const ui::TCustomForm& form) { return form.WindowState == ui::TWindowState::Maximized; }

// ---- sections ----

void TqelTitleBarSection::SetWidth(int width) {
    width_ = width;
    bar_->Changed();
}

void TqelTitleBarSection::SetAlign(TqelTitleBarAlign align) {
    if (align == TqelTitleBarAlign::qelClient) {
        for (int i = 0; i < bar_->SectionCount(); ++i) {
            if (bar_->Section(i).Align() == TqelTitleBarAlign::qelClient) {
                TqelTitleBar::ErrorDialog("Sorry, only one section's Align property can be \"qelClient\"");
                return;
            }
        }
        stretch_ = true;
    }
    align_ = align;
    bar_->Changed();
}

void TqelTitleBarSection::SetPicture(const ui::TBitmap* picture) {
    if (picture) {
        Copy(*picture, picture_);
        if (autoSize_) width_ = picture_.Width();
    } else {
        picture_.SetSize(0, 0);
    }
    bar_->Changed();
}

void TqelTitleBarSection::SetStretch(bool stretch) {
    stretch_ = stretch || align_ == TqelTitleBarAlign::qelClient;
    bar_->Changed();
}

void TqelTitleBarSection::SetAutoSize(bool value) {
    autoSize_ = value;
    if (!picture_.Empty()) width_ = picture_.Width();
    bar_->Changed();
}

// ---- buttons ----

TqelTitleBarButton::TqelTitleBarButton(TqelTitleBar* bar) : bar_(bar) { SetUIStyle(TqelUIStyle::DeepBlue); }

void TqelTitleBarButton::SetButtonType(TqelTitleBarBtnType type) {
    if (type == TqelTitleBarBtnType::qelControlBox) {
        for (int i = 0; i < bar_->ButtonCount(); ++i) {
            if (bar_->Button(i).ButtonType() == TqelTitleBarBtnType::qelControlBox) {
                TqelTitleBar::ErrorDialog("Sorry, only one button's ButtonType property can be \"qelControlBox\"");
                return;
            }
        }
    }
    type_ = type;
    UpdateUIStyle();
    bar_->Changed();
}

void TqelTitleBarButton::SetTransparent(bool value) {
    transparent_ = value;
    bar_->Changed();
}

void TqelTitleBarButton::SetTop(int top) {
    top_ = top;
    bar_->Changed();
}

void TqelTitleBarButton::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    UpdateUIStyle();
}

bool TqelTitleBarButton::AcceptsPictures() const {
    if (type_ == TqelTitleBarBtnType::qelCustom || type_ == TqelTitleBarBtnType::qelControlBox) return true;
    TqelTitleBar::ErrorDialog(
        "Sorry, this button is not a \"qelCustom\" or \"qelControlBox\"(ButtonType property) button!");
    return false;
}

void TqelTitleBarButton::SetPicNormal(const ui::TBitmap& picture) {
    if (!AcceptsPictures()) return;
    Copy(picture, picNormal_);
    bar_->Changed();
}

void TqelTitleBarButton::SetPicMouseOn(const ui::TBitmap& picture) {
    if (!AcceptsPictures()) return;
    Copy(picture, picMouseOn_);
    bar_->Changed();
}

void TqelTitleBarButton::SetPicMouseDown(const ui::TBitmap& picture) {
    if (!AcceptsPictures()) return;
    Copy(picture, picMouseDown_);
    bar_->Changed();
}

void TqelTitleBarButton::LoadPictures(int first) {
    LoadSkinBitmap(picNormal_, GetThemeString(uiStyle_, first));
    LoadSkinBitmap(picMouseOn_, GetThemeString(uiStyle_, first + 1));
    LoadSkinBitmap(picMouseDown_, GetThemeString(uiStyle_, first + 2));
}

void TqelTitleBarButton::UpdateUIStyle() {
    if (uiStyle_ == TqelUIStyle::Custom) return;
    transparent_ = GetThemeBool(uiStyle_, theme::kTitleBtnTransparent);
    switch (type_) {
    case TqelTitleBarBtnType::qelMax: LoadPictures(theme::kTitleBtnMax); break;
    case TqelTitleBarBtnType::qelMin: LoadPictures(theme::kTitleBtnMin); break;
    case TqelTitleBarBtnType::qelClose: LoadPictures(theme::kTitleBtnClose); break;
    case TqelTitleBarBtnType::qelHelp: LoadPictures(theme::kTitleBtnHelp); break;
    case TqelTitleBarBtnType::qelControlBox: LoadPictures(theme::kTitleBtnControlBox); break;
    case TqelTitleBarBtnType::qelCustom: return;
    }
    top_ = GetThemeInt(uiStyle_, theme::kTitleBtnTop);
    if (type_ == TqelTitleBarBtnType::qelMax) ProcessMaxBtn();
}

void TqelTitleBarButton::ProcessMaxBtn() {
    if (type_ != TqelTitleBarBtnType::qelMax) return;
    const ui::TCustomForm* form = bar_->ParentForm();
    LoadPictures(form && FormMaximised(*form) ? theme::kTitleBtnRestore : theme::kTitleBtnMax);
}

void TqelTitleBarButton::DoClick() {
    ui::TCustomForm* form = bar_->ParentForm();
    if (!form) return;
    // Maximised, the form fills the work area, not the screen under the task bar.
    const ui::TRect work = GetWorkAreaRect();
    form->Constraints.MaxHeight = work.Height();
    form->Constraints.MaxWidth = work.Width();
    switch (type_) {
    case TqelTitleBarBtnType::qelMax: {
        const bool maximise = !FormMaximised(*form);
        form->WindowState = maximise ? ui::TWindowState::Maximized : ui::TWindowState::Normal;
        if (maximise && bar_->InForm()) form->SetBounds(work.Left, work.Top, form->Width(), form->Height());
        if (form->HandleAllocated() && IsWindowVisible(form->Handle()))
            ShowWindow(form->Handle(), maximise ? SW_MAXIMIZE : SW_RESTORE);
        if (uiStyle_ == TqelUIStyle::WinXP) ProcessMaxBtn();
        bar_->OnFormReSize();
        break;
    }
    case TqelTitleBarBtnType::qelMin:
        if (ui::Application && ui::Application->MainForm() == form) {
            SendMessageA(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        } else {
            ShowWindow(form->Handle(), SW_SHOWMINIMIZED);
        }
        break;
    case TqelTitleBarBtnType::qelClose:
        form->Close();
        break;
    case TqelTitleBarBtnType::qelControlBox:
        if (ControlBoxMenu) {
            POINT p{0, bar_->Height()};
            ClientToScreen(bar_->Handle(), &p);
            ControlBoxMenu->Popup(p.x, p.y);
        }
        break;
    case TqelTitleBarBtnType::qelHelp:
    case TqelTitleBarBtnType::qelCustom:
        break;
    }
    bar_->Changed();
}

// ---- the bar ----

TqelTitleBar::TqelTitleBar(ui::TComponent* owner) : ui::TCustomPanel(owner), cursorPos_(SystemCursorPos) {
    BevelOuter = ui::TBevelCut::None;
    for (TqelTitleBarBtnType type : {TqelTitleBarBtnType::qelControlBox, TqelTitleBarBtnType::qelClose,
                                     TqelTitleBarBtnType::qelMax, TqelTitleBarBtnType::qelMin})
        AddButton().SetButtonType(type);
    font_.Color = ui::clWhite;
    SetAlign(ui::TAlign::Top);
    SetUIStyle(GetQELFormStyle(owner));
}

TqelTitleBarSection& TqelTitleBar::AddSection() {
    sections_.push_back(std::make_unique<TqelTitleBarSection>(this));
    Changed();
    return *sections_.back();
}

void TqelTitleBar::ClearSections() {
    sections_.clear();
    Changed();
}

TqelTitleBarButton& TqelTitleBar::AddButton() {
    buttons_.push_back(std::make_unique<TqelTitleBarButton>(this));
    Changed();
    return *buttons_.back();
}

void TqelTitleBar::ClearButtons() {
    buttons_.clear();
    Changed();
}

ui::TCustomForm* TqelTitleBar::ParentForm() const {
    for (ui::TWinControl* p = parent_; p; p = p->Parent())
        if (auto* form = dynamic_cast<ui::TCustomForm*>(p)) return form;
    return nullptr;
}

bool TqelTitleBar::InForm() const { return dynamic_cast<TqelForm*>(parent_) != nullptr; }

void TqelTitleBar::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    sections_.clear();
    if (style == TqelUIStyle::Custom) {
        Changed();
        return;
    }
    ui::TBitmap picture;
    LoadSkinBitmap(picture, GetThemeString(style, theme::kTitleLeft));
    TqelTitleBarSection& left = AddSection();
    left.SetPicture(&picture);
    left.SetAutoSize(true);
    LoadSkinBitmap(picture, GetThemeString(style, theme::kTitleRight));
    TqelTitleBarSection& right = AddSection();
    right.SetPicture(&picture);
    right.SetAutoSize(true);
    right.SetAlign(TqelTitleBarAlign::qelRight);
    LoadSkinBitmap(picture, GetThemeString(style, theme::kTitleClient));
    TqelTitleBarSection& client = AddSection();
    client.SetPicture(&picture);
    client.SetAlign(TqelTitleBarAlign::qelClient);
    leftOffset_ = GetThemeInt(style, theme::kTitleLeftBtnX);
    rightOffset_ = GetThemeInt(style, theme::kTitleRightBtnX);
    if (ui::TCustomForm* form = ParentForm()) form->Constraints.MinWidth = GetThemeInt(style, theme::kFormMinWidth);
    cornerRadius_ = GetThemeInt(style, theme::kFormCornerRadius);
    if (InForm()) SetFormRoundCorner(cornerRadius_);
    for (auto& button : buttons_) button->SetUIStyle(style);
    SetAutoSize(true);
    Changed();
}

void TqelTitleBar::SetAutoSize(bool value) {
    autoSize_ = value && !sections_.empty();
    if (autoSize_) SetHeight(sections_.front()->Picture().Height());
    Changed();
}

void TqelTitleBar::SetButtonInterval(int value) {
    buttonInterval_ = value;
    Changed();
}
void TqelTitleBar::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}
void TqelTitleBar::SetFormActive(bool value) {
    formActive_ = value;
    Changed();
}
void TqelTitleBar::SetLeftBtnXOffset(int value) {
    leftOffset_ = value;
    Changed();
}
void TqelTitleBar::SetRightBtnXOffset(int value) {
    rightOffset_ = value;
    Changed();
}
void TqelTitleBar::SetDrawAppIcon(bool value) {
    drawAppIcon_ = value;
    Changed();
}

void TqelTitleBar::OnFormReSize() {
    if (InForm()) SetFormRoundCorner(cornerRadius_);
}

void TqelTitleBar::SetFormRoundCorner(int radius) {
    ui::TCustomForm* form = ParentForm();
    if (!form || !form->HandleAllocated()) return;
    RECT c;
    GetClientRect(form->Handle(), &c);
    ui::GdiHandle<HRGN> region(CreateRoundRectRgn(c.left, c.top, c.right + 1, c.bottom + 1, radius, radius));
    ui::GdiHandle<HRGN> left(CreateRectRgn(c.left, c.bottom - 2 * radius, c.left + 2 * radius, c.bottom));
    ui::GdiHandle<HRGN> right(CreateRectRgn(c.right - 2 * radius, c.bottom - 2 * radius, c.right, c.bottom));
    CombineRgn(region.Get(), region.Get(), left.Get(), RGN_OR);
    CombineRgn(region.Get(), region.Get(), right.Get(), RGN_OR);
    // The window owns the region from here on.
    SetWindowRgn(form->Handle(), region.Release(), TRUE);
}

void TqelTitleBar::Paint(ui::TCanvas& canvas) {
    ui::TBitmap bitmap;
    bitmap.SetSize(std::max(1, Width()), std::max(1, Height()));
    bitmap.Canvas().Brush.Style = ui::TBrushStyle::Clear;
    bitmap.Canvas().Font.Assign(font_);
    DrawSectionsTo(bitmap);
    DrawButtons(bitmap);
    BitBlt(canvas.Handle(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.CanvasHandle(), 0, 0, SRCCOPY);
}

void TqelTitleBar::DrawSectionsTo(ui::TBitmap& bitmap) {
    ui::TCanvas& canvas = bitmap.Canvas();
    const int b = bitmap.Width(), h = bitmap.Height();
    int l = -1, r = b + 1;
    TqelTitleBarSection* client = nullptr;
    for (auto& s : sections_) {
        switch (s->Align()) {
        case TqelTitleBarAlign::qelLeft:
            if (s->Stretch()) {
                Stretch(canvas, s->Picture(), {l + 1, 0, l + 1 + s->Width(), h});
            } else {
                CopyBlock(canvas, s->Picture(), l + 1, s->Width(), h);
            }
            l += s->Width();
            break;
        case TqelTitleBarAlign::qelRight:
            if (b - l < s->Width()) break;  // does not fit: skipped
            if (s->Stretch()) {
                Stretch(canvas, s->Picture(), {r - 1 - s->Width(), 0, r - 1, h});
            } else {
                CopyBlock(canvas, s->Picture(), r - s->Width() - 1, s->Width(), h);
            }
            r -= s->Width();
            break;
        case TqelTitleBarAlign::qelClient:
            client = s.get();
            break;
        }
    }
    if (client) Stretch(canvas, client->Picture(), {l + 1, 0, r - 1, h});
}

POINT TqelTitleBar::CursorInBar() {
    if (!HandleAllocated()) return POINT{-100000, -100000};
    POINT p = cursorPos_();
    ScreenToClient(handle_, &p);
    return p;
}

void TqelTitleBar::DrawButtons(ui::TBitmap& bitmap) {
    ui::TCanvas& canvas = bitmap.Canvas();
    int x = bitmap.Width() + rightOffset_ + 1;
    const POINT p = CursorInBar();
    hovered_ = -1;
    const auto pictureFor = [this](TqelTitleBarButton& button, bool hit) -> ui::TBitmap& {
        if (!hit) return button.PicNormal();
        return mouseDown_ ? button.PicMouseDown() : button.PicMouseOn();
    };
    int controlBox = -1;
    for (int i = 0; i < ButtonCount(); ++i) {
        TqelTitleBarButton& button = Button(i);
        if (button.ButtonType() == TqelTitleBarBtnType::qelControlBox) {
            controlBox = i;
            continue;
        }
        const int w = button.PicNormal().Width(), h = button.PicNormal().Height();
        x -= w + buttonInterval_ + 1;
        const bool hit = InRect(p, {x, button.Top(), x + w, button.Top() + h});
        if (hit) hovered_ = i;
        DrawPicture(canvas, pictureFor(button, hit), x, button.Top(), button.Transparent());
    }
    int lx = leftOffset_;
    if (controlBox >= 0) {
        TqelTitleBarButton& button = Button(controlBox);
        const int w = button.PicNormal().Width(), h = button.PicNormal().Height();
        const bool hit = InRect(p, {lx, button.Top(), lx + w, button.Top() + h});
        if (hit) hovered_ = controlBox;
        if (drawAppIcon_) {
            if (HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 16, 16, 0))) {
                DrawIconEx(canvas.Handle(), lx + 3, button.Top(), icon, 16, 16, 0, nullptr, DI_NORMAL);
                DestroyIcon(icon);
            }
            lx += 21;
        } else {
            DrawPicture(canvas, pictureFor(button, hit), lx, button.Top(), button.Transparent());
            lx += w + 5;
        }
    }
    if (lx == 0) lx = 6;
    if (!formActive_) {
        canvas.Font.Color = ui::SystemColor(COLOR_INACTIVECAPTION);
    } else if (uiStyle_ == TqelUIStyle::MacOS) {
        canvas.Font.Color = ui::clBlack;
    }
    const std::string text = canvas.TextWidth(caption_) > x - lx ? caption_.substr(0, 2) + "..." : caption_;
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    const int y = uiStyle_ == TqelUIStyle::DeepBlue ? 4 : (bitmap.Height() - canvas.TextHeight(text)) / 2;
    canvas.TextOut(lx, y, text);
}

void TqelTitleBar::MouseDown(ui::TMouseButton button, int, int) {
    if (button != ui::TMouseButton::Left) return;
    mouseDown_ = true;
    Repaint();
    ui::TCustomForm* form = ParentForm();
    if (hovered_ >= 0 || !form || FormMaximised(*form)) return;
    ReleaseCapture();
    // The window manager drags the form as by its own caption.
    SendMessageA(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
    mouseDown_ = false;
}

void TqelTitleBar::MouseUp(ui::TMouseButton button, int, int) {
    if (button != ui::TMouseButton::Left) return;
    if (hovered_ >= 0) {
        const int index = hovered_;
        TqelTitleBarButton& pressed = Button(index);
        pressed.DoClick();
        if (OnCustomBtnsClick && pressed.ButtonType() == TqelTitleBarBtnType::qelCustom) {
            OnCustomBtnsClick(this, index);
        } else if (OnHelpBtnClick && pressed.ButtonType() == TqelTitleBarBtnType::qelHelp) {
            OnHelpBtnClick(this, index);
        }
    }
    mouseDown_ = false;
    Changed();
}

void TqelTitleBar::DblClick() {
    if (OnDblClick) OnDblClick(this);
    if (hovered_ >= 0) return;
    for (auto& button : buttons_) {
        if (button->ButtonType() == TqelTitleBarBtnType::qelMax) {
            button->DoClick();
            return;
        }
    }
}

LRESULT TqelTitleBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&track);
        Repaint();
        return 0;
    }
    case WM_MOUSELEAVE:
        Repaint();
        return 0;
    case WM_LBUTTONDOWN:
        MouseDown(ui::TMouseButton::Left, x, y);
        return 0;
    case WM_LBUTTONUP:
        MouseUp(ui::TMouseButton::Left, x, y);
        return 0;
    case WM_LBUTTONDBLCLK:
        DblClick();
        return 0;
    default:
        break;
    }
    return ui::TCustomPanel::WndProc(message, wParam, lParam);
}

namespace {

TqelTitleBarAlign ParseAlign(const std::string& name) {
    if (ui::EqualsIdent(name, "qelRight")) return TqelTitleBarAlign::qelRight;
    if (ui::EqualsIdent(name, "qelClient")) return TqelTitleBarAlign::qelClient;
    if (ui::EqualsIdent(name, "qelLeft")) return TqelTitleBarAlign::qelLeft;
    throw ui::Exception("Unknown title bar alignment " + name);
}

TqelTitleBarBtnType ParseButtonType(const std::string& name) {
    static const struct {
        const char* name;
        TqelTitleBarBtnType type;
    } types[] = {{"qelMax", TqelTitleBarBtnType::qelMax},         {"qelMin", TqelTitleBarBtnType::qelMin},
                 {"qelClose", TqelTitleBarBtnType::qelClose},     {"qelHelp", TqelTitleBarBtnType::qelHelp},
                 {"qelControlBox", TqelTitleBarBtnType::qelControlBox}, {"qelCustom", TqelTitleBarBtnType::qelCustom}};
    for (const auto& t : types) {
        if (ui::EqualsIdent(name, t.name)) return t.type;
    }
    throw ui::Exception("Unknown title bar button type " + name);
}

}  // namespace

void TqelTitleBar::ReadSections(const ui::Value& items) {
    if (items.kind != ui::Value::Items) throw ui::Exception("Collection expected");
    ClearSections();
    for (const ui::PropertyList& properties : items.items) {
        TqelTitleBarSection& section = AddSection();
        for (const auto& [name, v] : properties) {
            if (name == "AutoSize") {
                section.SetAutoSize(v.AsBool());
            } else if (name == "Width") {
                section.SetWidth(v.AsInt());
            } else if (name == "Align") {
                section.SetAlign(ParseAlign(v.AsIdent()));
            } else if (name == "Stretch") {
                section.SetStretch(v.AsBool());
            } else if (name == "Picture") {
                ui::TBitmap picture;
                LoadSkinBitmap(picture, v.AsText());
                section.SetPicture(&picture);
            } else {
                throw ui::Exception("Title bar section has no property " + name);
            }
        }
    }
}

void TqelTitleBar::ReadButtons(const ui::Value& items, ui::Reader& reader) {
    if (items.kind != ui::Value::Items) throw ui::Exception("Collection expected");
    ClearButtons();
    for (const ui::PropertyList& properties : items.items) {
        TqelTitleBarButton& button = AddButton();
        for (const auto& [name, v] : properties) {
            if (name == "ButtonType") {
                button.SetButtonType(ParseButtonType(v.AsIdent()));
            } else if (name == "Transparent") {
                button.SetTransparent(v.AsBool());
            } else if (name == "Top") {
                button.SetTop(v.AsInt());
            } else if (name == "UIStyle") {
                button.SetUIStyle(ParseUIStyle(v.AsIdent()));
            } else if (name == "ControlBoxMenu") {
                reader.Reference(v, [&button](ui::TComponent* c) {
                    button.ControlBoxMenu = dynamic_cast<ui::TPopupMenu*>(c);
                });
            } else if (name == "PicNormal" || name == "PicMouseOn" || name == "PicMouseDown") {
                ui::TBitmap picture;
                LoadSkinBitmap(picture, v.AsText());
                if (name == "PicNormal") button.SetPicNormal(picture);
                else if (name == "PicMouseOn") button.SetPicMouseOn(picture);
                else button.SetPicMouseDown(picture);
            } else {
                throw ui::Exception("Title bar button has no property " + name);
            }
        }
    }
}

bool TqelTitleBar::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "AutoSize") {
        SetAutoSize(v.AsBool());
    } else if (name == "ButtonInterval") {
        SetButtonInterval(v.AsInt());
    } else if (name == "Caption") {
        SetCaption(v.AsText());
    } else if (name == "FormActive") {
        SetFormActive(v.AsBool());
    } else if (name == "LeftBtnXOffset") {
        SetLeftBtnXOffset(v.AsInt());
    } else if (name == "RightBtnXOffset") {
        SetRightBtnXOffset(v.AsInt());
    } else if (name == "DrawAppIcon") {
        SetDrawAppIcon(v.AsBool());
    } else if (name == "Sections") {
        ReadSections(v);
    } else if (name == "Buttons") {
        ReadButtons(v, reader);
    } else if (name == "OnCustomBtnsClick") {
        OnCustomBtnsClick = reader.Method<void(ui::TComponent*, int)>(v);
    } else if (name == "OnHelpBtnClick") {
        OnHelpBtnClick = reader.Method<void(ui::TComponent*, int)>(v);
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
