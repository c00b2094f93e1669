// TXPMenu: while active, draws the menus of its form flat with a coloured icon column, paints the
// form's tool bars and control bars, and hooks standard controls so they are repainted flat.
#pragma once
#include <cstdint>
#include <string>

#include "Component.h"
#include "Graphics.h"

namespace ui {
class TCanvas;
class TControl;
class TMenuItem;
class TToolBar;
class TToolButton;
class TWinControl;
}  // namespace ui

namespace xpmenu {

using ui::TColor;

enum TXPContainer {
    xccForm, xccFrame, xccToolbar, xccCoolbar, xccControlbar, xccPanel, xccScrollBox, xccGroupBox,
    xccTabSheet, xccPageScroller
};
enum TXPControl {
    xcMainMenu, xcPopupMenu, xcToolbar, xcControlbar, xcCombo, xcEdit, xcMaskEdit, xcMemo, xcRichEdit,
    xcCheckBox, xcRadioButton, xcButton, xcBitBtn, xcSpeedButton, xcPanel, xcGroupBox
};
// Sets of the two, one bit per member in declaration order.
using TXPContainers = uint16_t;
using TXPControls = uint16_t;
constexpr uint16_t Member(int member) { return static_cast<uint16_t>(1u << member); }
constexpr TXPContainers kAllContainers = 1023;
constexpr TXPControls kAllControls = 65535;

// A menu item, control or parent carrying this tag is left unhooked.
constexpr int kSkipTag = 999;

class TControlSubClass;

class TXPMenu : public ui::TComponent {
public:
    // The owner must be a windowed control (a form) or none.
    explicit TXPMenu(ui::TComponent* owner);
    ~TXPMenu() override;

    uint8_t DimLevel = 30;
    uint8_t GrayLevel = 10;
    ui::TFont& Font() { return font_; }
    void SetFont(const ui::TFont& font);
    TColor Color = ui::clBtnFace;
    TColor IconBackColor = ui::clBtnFace;
    TColor MenuBarColor() const { return menuBarColor_; }
    void SetMenuBarColor(TColor color);
    TColor SelectColor = ui::clHighlight;
    TColor SelectBorderColor = ui::clHighlight;
    TColor SelectFontColor;
    TColor DisabledColor = ui::SystemColor(COLOR_INACTIVECAPTION);
    TColor SeparatorColor = ui::clBtnFace;
    TColor CheckedColor = ui::clHighlight;
    int IconWidth = 24;
    bool DrawSelect = true;
    bool UseSystemColors() const { return useSystemColors_; }
    void SetUseSystemColors(bool value);
    bool OverrideOwnerDraw() const { return overrideOwnerDraw_; }
    void SetOverrideOwnerDraw(bool value);
    bool Gradient = false;
    bool FlatMenu = false;
    bool AutoDetect = false;
    TXPContainers XPContainers() const { return containers_; }
    void SetXPContainers(TXPContainers set);
    TXPControls XPControls() const { return controls_; }
    void SetXPControls(TXPControls set);
    bool Active() const { return active_; }
    void SetActive(bool value);

    ui::TWinControl* Form() const { return form_; }
    void SetForm(ui::TWinControl* form);

    // Drawing colours, recomputed by SetGlobalColor before every paint.
    TColor DrawColor = 0, DrawIconBackColor = 0, DrawSelectColor = 0, DrawSelectBorderColor = 0,
           DrawSelectFontColor = 0, DrawCheckedColor = 0, DrawMenuBarColor = 0, DrawDisabledColor = 0,
           DrawSeparatorColor = 0;
    TColor CheckAreaColor = 0, CheckAreaSelectColor = 0, PopupBorderColor = 0, PopupShadowColor = 0;
    bool HighColor = false;
    void SetGlobalColor(ui::TCanvas& canvas);

    // Hooks (enable) or unhooks what `control` owns; `update` repaints what changed.
    void InitItems(ui::TComponent* control, bool enable, bool update);
    // Hooks an item, its siblings and all their sub-items (items added while running).
    void ActivateMenuItem(ui::TMenuItem* item);

    // Menu item events put on hooked items.
    void DrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);
    void MeasureItem(ui::TComponent* sender, ui::TCanvas* canvas, int& width, int& height);
    // Tool bar and control bar events put on hooked bars.
    void ToolBarDrawButton(ui::TToolBar* bar, ui::TToolButton* button, unsigned state, bool& defaultDraw);
    void ControlBarPaint(ui::TComponent* sender, ui::TControl* control, ui::TCanvas* canvas, ui::TRect& rect,
                         unsigned& options);

    // The painters shared by menus, bars and hooked controls (XpmenuDraw.cpp).
    void MenueDrawItem(ui::TMenuItem* item, ui::TCanvas& canvas, ui::TRect rect, bool selected);
    void MeasureMenuItem(ui::TMenuItem* item, ui::TCanvas& canvas, int& width, int& height);
    SIZE GetImageExtent(ui::TMenuItem* item);
    void DrawCheckedItem(ui::TMenuItem* item, bool selected, ui::TRect r, ui::TCanvas& canvas, bool withGlyph,
                         bool enabled);
    void DrawIcon(ui::TComponent* sender, ui::TCanvas& canvas, ui::TBitmap* glyph, ui::TRect r, bool hot,
                  bool selected, bool enabled, bool checked, bool bar, bool rtl);
    void DrawTheText(ui::TComponent* sender, const std::string& text, const std::string& shortcut, UINT format,
                     ui::TFont& font, bool rtl, bool bar, bool isDefault, bool enabled, bool selected, ui::TRect r,
                     ui::TCanvas& canvas);
    void DrawTopMenuItem(ui::TComponent* sender, ui::TCanvas& canvas, bool rtl, TColor barColour, ui::TRect r);
    void DrawGradient(ui::TCanvas& canvas, ui::TRect r, bool rtl);
    void DrawWindowBorder(HWND window, bool rtl);
    TColor TopMenuFontColor(ui::TCanvas& canvas, TColor c);

    // Deactivates and activates again, so what was added since is hooked too.
    void ReapplyHooks();
    // The hook on a control, if this component has one there.
    TControlSubClass* HookOf(const ui::TControl* control) const;

    void Notification(ui::TComponent* component, ui::Operation operation) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void Loaded() override;

private:
    void RedrawMenuBar();
    void HookMenuItem(ui::TMenuItem* item, bool enable);
    void HookMenu(ui::TComponent* menu, bool enable);
    void HookControl(ui::TControl* control, bool enable, bool update);
    bool IsBarItemForMeasure(ui::TMenuItem* item) const;

    ui::TFont font_;
    TColor menuBarColor_ = ui::clBtnFace;
    bool useSystemColors_ = true;
    bool overrideOwnerDraw_ = false;
    TXPContainers containers_ = 0;
    TXPControls controls_ = 0;
    bool active_ = false;
    bool activeWhenLoaded_ = false;
    ui::TWinControl* form_ = nullptr;
};

// Reads the system's menu font and menu text colour into font (ui::LoadSystemMenuFont); false
// (font unchanged) on failure.
bool GetSystemMenuFont(ui::TFont& font);

// Makes TXPMenu known to form descriptions.
void RegisterXPMenu();

}  // namespace xpmenu
