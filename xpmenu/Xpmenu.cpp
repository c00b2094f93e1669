#include "Xpmenu.h"

#include <cxxabi.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <typeinfo>

#include "ComCtrls.h"
#include "ComboBox.h"
#include "ControlBar.h"
#include "ControlSubClass.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "RadioButton.h"
#include "Reader.h"
#include "StdCtrls.h"
#include "XPColors.h"
#include "XPHooks.h"

namespace xpmenu {

using namespace ui;

std::string ClassNameOf(const TComponent* component) {
    const char* mangled = typeid(*component).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> plain(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && plain ? plain.get() : mangled;
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

namespace {

template <class T>
bool Is(const TComponent* c) {
    return dynamic_cast<const T*>(c) != nullptr;
}

// Items and components inserted while AutoDetect is on are looked at once they are complete,
// from a zero-delay timer: at insertion they are still being constructed.
struct PendingCheck {
    TXPMenu* menu;
    TComponent* inserted;
};
std::map<UINT_PTR, PendingCheck>& PendingChecks() {
    static std::map<UINT_PTR, PendingCheck> pending;
    return pending;
}

void CALLBACK RunPendingCheck(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto it = PendingChecks().find(timer);
    if (it == PendingChecks().end()) return;
    const PendingCheck check = it->second;
    PendingChecks().erase(it);
    if (!check.inserted || !check.menu->Active()) return;
    if (Is<TMenuItem>(check.inserted) || Is<TToolButton>(check.inserted) || Is<TControlBar>(check.inserted)) {
        check.menu->ReapplyHooks();
    }
}

}  // namespace

bool GetSystemMenuFont(TFont& font) { return ui::LoadSystemMenuFont(font); }

TXPMenu::TXPMenu(TComponent* owner) : TComponent(owner) {
    if (owner && !Is<TWinControl>(owner)) throw Exception("Invalid class typecast");
    GetSystemMenuFont(font_);
    SelectFontColor = font_.Color;
    SetForm(dynamic_cast<TWinControl*>(owner));
    SetXPContainers(kAllContainers);
    SetXPControls(kAllControls);
}

TXPMenu::~TXPMenu() {
    for (auto it = PendingChecks().begin(); it != PendingChecks().end();) {
        if (it->second.menu == this) {
            KillTimer(nullptr, it->first);
            it = PendingChecks().erase(it);
        } else {
            ++it;
        }
    }
    try {
        if (form_) InitItems(form_, false, false);
    } catch (...) {
    }
    // The hooks are owned components: each puts its control back as it goes (TComponent's destructor).
}

void TXPMenu::SetFont(const TFont& font) {
    font_.Assign(font);
    RedrawMenuBar();
}

void TXPMenu::SetMenuBarColor(TColor color) {
    menuBarColor_ = color;
    RedrawMenuBar();
}

void TXPMenu::SetUseSystemColors(bool value) {
    useSystemColors_ = value;
    RedrawMenuBar();
}

void TXPMenu::SetOverrideOwnerDraw(bool value) {
    overrideOwnerDraw_ = value;
    if (active_) ReapplyHooks();
}

void TXPMenu::SetXPContainers(TXPContainers set) {
    if (set != containers_ && active_) {
        active_ = false;
        InitItems(form_, false, true);
        active_ = true;
        containers_ = set;
        InitItems(form_, true, true);
    }
    containers_ = set;
}

void TXPMenu::SetXPControls(TXPControls set) {
    if (set != controls_ && active_) {
        active_ = false;
        InitItems(form_, false, true);
        active_ = true;
        controls_ = set;
        InitItems(form_, true, true);
    }
    controls_ = set;
}

void TXPMenu::SetActive(bool value) {
    if (value == active_) return;
    if (Loading()) {
        activeWhenLoaded_ = value;
        return;
    }
    active_ = value;
    InitItems(form_, value, true);
    RedrawMenuBar();
}

void TXPMenu::SetForm(TWinControl* form) {
    if (form == form_) return;
    const bool wasActive = active_;
    if (wasActive) SetActive(false);
    if (form_ && form_ != Owner()) form_->RemoveFreeNotification(this);
    form_ = form;
    if (form_ && form_ != Owner()) form_->FreeNotification(this);
    if (wasActive) SetActive(true);
}

void TXPMenu::ReapplyHooks() {
    active_ = false;
    InitItems(form_, false, true);
    active_ = true;
    InitItems(form_, true, true);
}

void TXPMenu::RedrawMenuBar() {
    if (auto* form = dynamic_cast<TCustomForm*>(form_)) {
        form->MenuChanged();
    } else if (form_ && form_->HandleAllocated()) {
        DrawMenuBar(form_->HandleOrNull());
    }
}

void TXPMenu::Loaded() {
    TComponent::Loaded();
    if (activeWhenLoaded_) SetActive(true);
}

// ---- hooking

void TXPMenu::HookMenuItem(TMenuItem* item, bool enable) {
    if (enable) {
        if (item->Tag != kSkipTag) {
            if (!item->OnDrawItem || overrideOwnerDraw_) item->OnDrawItem = DrawHook{this};
            if (!item->OnMeasureItem || overrideOwnerDraw_) item->OnMeasureItem = MeasureHook{this};
        }
    } else {
        if (IsDrawHook(item->OnDrawItem, this)) item->OnDrawItem = nullptr;
        if (IsMeasureHook(item->OnMeasureItem, this)) item->OnMeasureItem = nullptr;
    }
    for (int i = 0; i < item->Count(); ++i) HookMenuItem(item->Item(i), enable);
}

void TXPMenu::HookMenu(TComponent* component, bool enable) {
    auto* menu = static_cast<TMenu*>(component);
    TMenuItem* items = menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        menu->OwnerDraw = enable;
        HookMenuItem(items->Item(i), enable);
    }
    menu->Changed();
}

void TXPMenu::ActivateMenuItem(TMenuItem* item) {
    bool changed = false;
    std::function<void(TMenuItem*)> activate = [&](TMenuItem* it) {
        if (it->Tag != kSkipTag && !IsDrawHook(it->OnDrawItem, this)) {
            if (!it->OnDrawItem || overrideOwnerDraw_) {
                it->OnDrawItem = DrawHook{this};
                changed = true;
            }
            if (!it->OnMeasureItem || overrideOwnerDraw_) {
                it->OnMeasureItem = MeasureHook{this};
                changed = true;
            }
        }
        for (int i = 0; i < it->Count(); ++i) activate(it->Item(i));
    };
    if (TMenuItem* parent = item->ParentItem()) {
        for (int i = 0; i < parent->Count(); ++i) activate(parent->Item(i));
    } else {
        activate(item);
    }
    // Rebuilt with owner drawing the next time the menu is shown.
    if (changed && item->Menu()) item->Menu()->Changed();
}

void TXPMenu::HookControl(TControl* control, bool enable, bool update) {
    auto has = [this](TXPControl k) { return (controls_ & Member(k)) != 0; };
    auto in = [this](TXPContainer k) { return (containers_ & Member(k)) != 0; };
    const std::string cls = ClassNameOf(control);
    const bool kind = (has(xcCombo) && Is<TComboBox>(control)) ||
                      (has(xcEdit) && (Is<TEdit>(control) || cls == "TLabeledEdit")) ||
                      (has(xcMaskEdit) && (cls == "TMaskEdit" || cls == "TDBEdit")) ||
                      (has(xcMemo) && Is<TMemo>(control)) || (has(xcRichEdit) && cls == "TRichEdit") ||
                      (has(xcCheckBox) && Is<TCheckBox>(control)) ||
                      (has(xcRadioButton) && Is<TRadioButton>(control)) || (has(xcBitBtn) && cls == "TBitBtn") ||
                      (has(xcButton) && (cls == "TButton" || cls == "TUpDown")) ||
                      (has(xcSpeedButton) && Is<TSpeedButton>(control)) ||
                      (has(xcPanel) && Is<TCustomPanel>(control)) || (has(xcGroupBox) && Is<TGroupBox>(control));
    if (!kind) return;
    TWinControl* parent = control->Parent();
    if (!parent) return;
    const std::string parentCls = ClassNameOf(parent);
    const bool parentKind = (in(xccToolbar) && Is<TToolBar>(parent)) || (in(xccCoolbar) && Is<TCoolBar>(parent)) ||
                            (in(xccPanel) && Is<TCustomPanel>(parent)) ||
                            (in(xccControlbar) && Is<TControlBar>(parent)) ||
                            (in(xccScrollBox) && parentCls == "TScrollBox") ||
                            (in(xccGroupBox) && Is<TGroupBox>(parent)) ||
                            (in(xccTabSheet) && (Is<TTabSheet>(parent) || parentCls == "TdxTabSheet")) ||
                            (in(xccPageScroller) && parentCls == "TPageScroller") ||
                            (in(xccFrame) && (parentCls == "TFrame" || parentCls == "TDBCtrlPanel")) ||
                            (in(xccForm) && Is<TCustomForm>(parent));
    if (!parentKind) return;
    if (enable && control->Tag != kSkipTag && parent->Tag != kSkipTag && !HookOf(control)) {
        auto* hook = new TControlSubClass(this);
        hook->Install(static_cast<TWinControl*>(control), this);
    }
    if (update) control->Invalidate();
}

TControlSubClass* TXPMenu::HookOf(const TControl* control) const {
    for (int i = 0; i < ComponentCount(); ++i) {
        auto* hook = dynamic_cast<TControlSubClass*>(Component(i));
        if (hook && hook->Control() == control) return hook;
    }
    return nullptr;
}

void TXPMenu::InitItems(TComponent* control, bool enable, bool update) {
    if (!control) return;
    for (int i = 0; i < control->ComponentCount(); ++i) {
        TComponent* c = control->Component(i);
        if (auto* menu = dynamic_cast<TMainMenu*>(c)) {
            if ((controls_ & Member(xcMainMenu)) && menu->Tag != kSkipTag) HookMenu(menu, enable);
        } else if (Is<TPopupMenu>(c)) {
            if (controls_ & Member(xcPopupMenu)) HookMenu(c, enable);
        } else if (auto* bar = dynamic_cast<TToolBar*>(c)) {
            if (!(controls_ & Member(xcToolbar))) continue;
            if (!bar->Flat) bar->SetFlat(true);
            if (enable) {
                if (bar->ButtonCount() > 0 && (!bar->OnCustomDrawButton || overrideOwnerDraw_)) {
                    bar->OnCustomDrawButton = ToolBarHook{this};
                }
            } else if (IsToolBarHook(bar->OnCustomDrawButton, this)) {
                bar->OnCustomDrawButton = nullptr;
            }
            if (update) bar->Invalidate();
        } else if (auto* cbar = dynamic_cast<TControlBar*>(c)) {
            if (!(controls_ & Member(xcControlbar))) continue;
            if (enable) {
                if (!cbar->OnBandPaint || overrideOwnerDraw_) cbar->OnBandPaint = BandPaintHook{this};
            } else if (IsBandPaintHook(cbar->OnBandPaint, this)) {
                cbar->OnBandPaint = nullptr;
            }
            if (update) cbar->Invalidate();
        } else if (auto* ctl = dynamic_cast<TControl*>(c)) {
            HookControl(ctl, enable, update);
        }
        if (((containers_ & Member(xccFrame)) && ClassNameOf(c) == "TFrame") || Is<TCustomForm>(c)) {
            InitItems(c, enable, update);
        }
    }
}

void TXPMenu::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove) {
        if (component == form_) form_ = nullptr;
        for (auto& [id, check] : PendingChecks()) {
            if (check.inserted == component) check.inserted = nullptr;
        }
    }
    if (operation == Operation::Insert && active_ && AutoDetect && component->Owner() != this) {
        const UINT_PTR id = SetTimer(nullptr, 0, 0, RunPendingCheck);
        if (id) PendingChecks()[id] = PendingCheck{this, component};
    }
}

bool TXPMenu::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    static const std::map<std::string, TColor TXPMenu::*> colours = {
        {"Color", &TXPMenu::Color},
        {"IconBackColor", &TXPMenu::IconBackColor},
        {"SelectColor", &TXPMenu::SelectColor},
        {"SelectBorderColor", &TXPMenu::SelectBorderColor},
        {"SelectFontColor", &TXPMenu::SelectFontColor},
        {"DisabledColor", &TXPMenu::DisabledColor},
        {"SeparatorColor", &TXPMenu::SeparatorColor},
        {"CheckedColor", &TXPMenu::CheckedColor}};
    static const std::map<std::string, bool TXPMenu::*> flags = {
        {"DrawSelect", &TXPMenu::DrawSelect}, {"Gradient", &TXPMenu::Gradient},
        {"FlatMenu", &TXPMenu::FlatMenu}, {"AutoDetect", &TXPMenu::AutoDetect}};
    if (auto c = colours.find(name); c != colours.end()) {
        this->*(c->second) = ParseColor(v);
    } else if (auto f = flags.find(name); f != flags.end()) {
        this->*(f->second) = v.AsBool();
    } else if (name == "DimLevel") {
        DimLevel = static_cast<uint8_t>(v.AsInt());
    } else if (name == "GrayLevel") {
        GrayLevel = static_cast<uint8_t>(v.AsInt());
    } else if (name == "IconWidth") {
        IconWidth = v.AsInt();
    } else if (name == "MenuBarColor") {
        SetMenuBarColor(ParseColor(v));
    } else if (name == "UseSystemColors") {
        SetUseSystemColors(v.AsBool());
    } else if (name == "OverrideOwnerDraw") {
        SetOverrideOwnerDraw(v.AsBool());
    } else if (name == "Active") {
        SetActive(v.AsBool());
    } else if (name.compare(0, 5, "Font.") == 0) {
        if (!font_.SetProperty(name.substr(5), v)) return false;
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

void RegisterXPMenu() { RegisterComponentClass<TXPMenu>("TXPMenu"); }

// Registered when the unit is linked, as a component palette would list it.
namespace {
const bool registered = (RegisterXPMenu(), true);
}

// ---- colours

void TXPMenu::SetGlobalColor(TCanvas& canvas) {
    HighColor = CanvasBitsPerPixel(canvas) >= 16;
    DrawColor = Color;
    DrawIconBackColor = IconBackColor;
    if (HighColor) {
        DrawSelectColor = NewColor(canvas, SelectColor, 68);
        CheckAreaColor = NewColor(canvas, SelectColor, 80);
        CheckAreaSelectColor = NewColor(canvas, SelectColor, 50);
        PopupBorderColor = GetShadeColor(canvas, clBtnFace, 90);
        PopupShadowColor = GetShadeColor(canvas, clBtnFace, 76);
    } else {
        DrawSelectColor = SelectColor;
        CheckAreaColor = clWhite;
        CheckAreaSelectColor = clSilver;
        PopupBorderColor = clBtnShadow;
        PopupShadowColor = clBtnShadow;
    }
    DrawSelectBorderColor = SelectBorderColor;
    DrawSelectFontColor = SelectFontColor;
    DrawMenuBarColor = menuBarColor_;
    DrawDisabledColor = DisabledColor;
    DrawCheckedColor = CheckedColor;
    DrawSeparatorColor = SeparatorColor;
    if (!useSystemColors_) return;
    GetSystemMenuFont(font_);
    DrawSelectFontColor = font_.Color;
    if (HighColor) {
        DrawColor = NewColor(canvas, clBtnFace, 86);
        DrawIconBackColor = NewColor(canvas, clBtnFace, 16);
        DrawSelectColor = NewColor(canvas, clHighlight, 68);
        DrawSelectBorderColor = clHighlight;
        DrawMenuBarColor = clBtnFace;
        DrawDisabledColor = NewColor(canvas, clBtnShadow, 10);
        DrawSeparatorColor = NewColor(canvas, clBtnShadow, 25);
        DrawCheckedColor = clHighlight;
        CheckAreaColor = NewColor(canvas, clHighlight, 80);
        CheckAreaSelectColor = NewColor(canvas, clHighlight, 50);
    } else {
        DrawColor = clWhite;
        DrawIconBackColor = clBtnFace;
        DrawSelectColor = clWhite;
        DrawSelectBorderColor = clHighlight;
        DrawMenuBarColor = clBtnFace;
        DrawDisabledColor = clBtnShadow;
        DrawCheckedColor = clHighlight;
        DrawSeparatorColor = clBtnShadow;
        CheckAreaColor = clWhite;
        CheckAreaSelectColor = clWhite;
    }
}

TColor TXPMenu::TopMenuFontColor(TCanvas& canvas, TColor c) {
    const COLORREF rgb = ColorToRGB(c);
    if ((GetRValue(rgb) + GetBValue(rgb)) / 2 > 150 || GetGValue(rgb) > 200) return font_.Color;
    return NewColor(canvas, c, 90);
}

// ---- events

void TXPMenu::DrawItem(TComponent* sender, TCanvas* canvas, TRect rect, bool selected) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (active_ && item && canvas) MenueDrawItem(item, *canvas, rect, selected);
}

void TXPMenu::MeasureItem(TComponent* sender, TCanvas* canvas, int& width, int& height) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (active_ && item && canvas) MeasureMenuItem(item, *canvas, width, height);
}

}  // namespace xpmenu
