#include "Qelmainmenu.h"

#include "Forms.h"
#include "Qelform.h"
#include "Qelmenu.h"
#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

TqelMainMenu::TqelMainMenu(ui::TComponent* owner) : ui::TMainMenu(owner) {
    checkImages_ = std::make_unique<ui::TImageList>(nullptr);
    checkImages_->SetSize(16, 16);
    {
        ui::TBitmap mark;
        LoadSkinBitmap(mark, GetThemeString(TqelUIStyle::DeepBlue, theme::kMenuCheckedPicture));
        mark.Transparent = true;
        mark.TransparentMode = ui::TBitmap::TTransparentMode::Auto;
        checkImages_->AddMasked(mark, ui::clWhite);
    }
    ui::TMainMenu::SetImages(checkImages_.get());
    ui::TMenu::OwnerDraw = true;
    SetUIStyle(GetQELFormStyle(owner));
    AfterConstruction();
}

TqelMainMenu::~TqelMainMenu() {
    ui::TMainMenu::SetImages(nullptr);
    checkImages_.reset();
}

void TqelMainMenu::AfterConstruction() {
    auto* form = dynamic_cast<ui::TCustomForm*>(Owner());
    if (!form) return;
    // The form shows no menu bar of the window's own: this menu is shown by a frame or a tool bar.
    form->SetMenu(nullptr);
    for (int i = 0; i < form->ControlCount(); ++i) {
        if (auto* frame = dynamic_cast<TqelForm*>(form->Control(i))) {
            frame->SetMenu(this);
            return;
        }
    }
}

ui::TImageList* TqelMainMenu::Images() const {
    ui::TImageList* current = ui::TMainMenu::Images();
    return current == checkImages_.get() ? nullptr : current;
}

void TqelMainMenu::SetImages(ui::TImageList* images) {
    ui::TMainMenu::SetImages(images ? images : checkImages_.get());
}

void TqelMainMenu::Notification(ui::TComponent* component, ui::Operation operation) {
    ui::TMainMenu::Notification(component, operation);
    // A user list that goes away leaves the menu's own list in place.
    if (operation == ui::Operation::Remove && !ui::TMainMenu::Images() && checkImages_) SetImages(nullptr);
}

void TqelMainMenu::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    if (style == TqelUIStyle::Custom) return;
    menuItemHeight_ = GetThemeInt(style, theme::kMenuItemHeight);
    separatorHeight_ = GetThemeInt(style, theme::kMenuSeparatorHeight);
    BarColor = GetThemeColor(style, theme::kMenuBarColor);
    BarWidth = GetThemeInt(style, theme::kMenuBarWidth);
    Color = GetThemeColor(style, theme::kMenuColor);
    SeparatorColor = GetThemeColor(style, theme::kMenuSeparatorColor);
    SelectedBorderColor = GetThemeColor(style, theme::kMenuSelectedBorderColor);
    SelectedColor = GetThemeColor(style, theme::kMenuSelectedColor);
    SelectedFontColor = GetThemeColor(style, theme::kMenuSelectedFontColor);
    FontColor = GetThemeColor(style, theme::kMenuFontColor);
    BorderColor = GetThemeColor(style, theme::kFormBorderColor);
}

void TqelMainMenu::SetMenuItemHeight(int height) {
    if (uiStyle_ != TqelUIStyle::MacOS) menuItemHeight_ = height;
}

void TqelMainMenu::SetSeparatorHeight(int height) {
    if (uiStyle_ != TqelUIStyle::MacOS) separatorHeight_ = height;
}

void TqelMainMenu::SetUseSystemFont(bool value) {
    useSystemFont_ = value;
    // The frame that shows this menu paints its bar with the menu's font.
    if (auto* form = dynamic_cast<ui::TWinControl*>(Owner())) {
        for (int i = 0; i < form->ControlCount(); ++i) {
            auto* frame = dynamic_cast<TqelForm*>(form->Control(i));
            if (frame && frame->Menu() == this) frame->RepaintMenuBar();
        }
    }
}

void TqelMainMenu::Loaded() {
    ui::TMainMenu::Loaded();
    auto draw = [this](ui::TComponent* s, ui::TCanvas* c, ui::TRect r, bool sel) { DrawItem(s, c, r, sel); };
    auto measure = [this](ui::TComponent* s, ui::TCanvas* c, int& w, int& h) { MeasureItem(s, c, w, h); };
    for (int i = 0; i < Items()->Count(); ++i) Menu_SetItemEvent(Items()->Item(i), draw, measure);
}

void TqelMainMenu::MeasureItem(ui::TComponent* sender, ui::TCanvas* canvas, int& width, int& height) {
    auto* item = dynamic_cast<ui::TMenuItem*>(sender);
    if (!item) return;
    height = item->Caption() == "-" ? separatorHeight_ : menuItemHeight_;
    width = canvas->TextWidth(item->Caption()) + canvas->TextWidth(ui::ShortCutToText(item->ShortCut())) + BarWidth + 40;
}

bool TqelMainMenu::HasImage(const ui::TMenuItem& item) const {
    const ui::TImageList* images = Images();
    return images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count();
}

void TqelMainMenu::DrawBackground(ui::TCanvas& canvas, const ui::TRect& r) const {
    if (BarWidth > 0) Menu_DrawBackGround(canvas, {r.Left, r.Top, r.Left + BarWidth, r.Bottom}, BarColor);
    Menu_DrawBackGround(canvas, {r.Left + BarWidth, r.Top, r.Right, r.Bottom}, Color);
}

void TqelMainMenu::DrawItem(ui::TComponent* sender, ui::TCanvas* canvasPtr, ui::TRect r, bool selected) {
    auto* item = dynamic_cast<ui::TMenuItem*>(sender);
    if (!item || !canvasPtr) return;
    ui::TCanvas& canvas = *canvasPtr;
    const bool macOS = uiStyle_ == TqelUIStyle::MacOS;

    if (FlatMenu) {
        if (HWND window = WindowFromDC(canvas.Handle()))
            Menu_DrawWindowBorder(window, BorderColor, GetThemeColor(uiStyle_, theme::kFormColor));
    }
    if (item->Caption() == "-") {
        if (macOS) {
            Menu_DrawMacOSLineItem(canvas, r);
        } else {
            DrawBackground(canvas, r);
            Menu_DrawLineItem(canvas, r, SeparatorColor, BarWidth);
        }
        return;
    }

    if (selected && item->Enabled()) {
        if (macOS) {
            Menu_DrawMacOSSelectedItem(canvas, r);
        } else {
            Menu_DrawBackGround(canvas, r, SelectedColor);
            Menu_DrawBorder(canvas, r, SelectedBorderColor);
        }
    } else if (macOS) {
        Menu_DrawMacOSNonSelectedItem(canvas, r);
    } else {
        DrawBackground(canvas, r);
    }

    if (useSystemFont_) {
        Menu_GetSystemFont(canvas.Font);
    } else {
        canvas.Font.Name = FontName;
        canvas.Font.Charset = FontCharset;
        canvas.Font.SetSize(FontSize);
    }
    canvas.Brush.Style = ui::TBrushStyle::Clear;
    canvas.Font.Color = !item->Enabled() ? 0x808080 : selected ? SelectedFontColor : FontColor;
    if (item->Default()) canvas.Font.Bold = true;
    canvas.Font.Changed();

    canvas.TextRect({r.Left + BarWidth + 4, r.Top + 4, r.Right, r.Bottom}, item->Caption(), DT_SINGLELINE);
    const std::string shortCut = ui::ShortCutToText(item->ShortCut());
    canvas.TextOut(r.Right - canvas.TextWidth(shortCut) - 16, r.Top + 4, shortCut);
    canvas.Brush.Style = ui::TBrushStyle::Solid;

    const bool image = HasImage(*item);
    if (item->Checked()) {
        if (image) {
            Menu_DrawBorder(canvas, {r.Left + 2, r.Top + 1, r.Left + 21, r.Top + 20}, ui::clBlack);
            Menu_DrawBackGround(canvas, {r.Left + 3, r.Top + 2, r.Left + 20, r.Top + 19}, SelectedColor);
        } else {
            checkImages_->Draw(canvas, r.Left + 4, r.Top + 3, 0, item->Enabled());
        }
    }
    if (image) Images()->Draw(canvas, r.Left + 4, r.Top + 3, item->ImageIndex(), item->Enabled());
}

bool TqelMainMenu::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Images") {
        reader.Reference(v, [this](ui::TComponent* c) { SetImages(dynamic_cast<ui::TImageList*>(c)); });
    } else if (name == "OwnerDraw") {
    } else if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "MenuItemHeight") {
        SetMenuItemHeight(v.AsInt());
    } else if (name == "SeparatorHeight") {
        SetSeparatorHeight(v.AsInt());
    } else if (name == "BarWidth") {
        BarWidth = v.AsInt();
    } else if (name == "BarColor") {
        BarColor = ui::ParseColor(v);
    } else if (name == "Color") {
        Color = ui::ParseColor(v);
    } else if (name == "SeparatorColor") {
        SeparatorColor = ui::ParseColor(v);
    } else if (name == "SelectedBorderColor") {
        SelectedBorderColor = ui::ParseColor(v);
    } else if (name == "SelectedColor") {
        SelectedColor = ui::ParseColor(v);
    } else if (name == "SelectedFontColor") {
        SelectedFontColor = ui::ParseColor(v);
    } else if (name == "FontColor") {
        FontColor = ui::ParseColor(v);
    } else if (name == "BorderColor") {
        BorderColor = ui::ParseColor(v);
    } else if (name == "FlatMenu") {
        FlatMenu = v.AsBool();
    } else if (name == "FontName") {
        FontName = v.AsText();
    } else if (name == "FontSize") {
        FontSize = v.AsInt();
    } else if (name == "FontCharset") {
        FontCharset = v.kind == ui::Value::Int ? v.AsInt() : DEFAULT_CHARSET;
    } else if (name == "UseSystemFont") {
        SetUseSystemFont(v.AsBool());
    } else {
        return ui::TMainMenu::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
