#include "Menus.h"

#include <algorithm>
#include <map>

#include "Controls.h"
#include "ImgList.h"
#include "Reader.h"

namespace ui {

namespace {

std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

UINT NextCommand() {
    static UINT next = 0x1000;
    return next++;
}

constexpr int kImageColumn = 24;

}  // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), command_(NextCommand()) {
    Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
    Commands().erase(command_);
    for (TMenuItem* child : items_) child->parent_ = nullptr;
    if (parent_) parent_->Remove(this);
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
    auto it = Commands().find(command);
    return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromData(ULONG_PTR data) {
    for (const auto& [id, item] : Commands()) {
        if (reinterpret_cast<ULONG_PTR>(item) == data) return item;
    }
    return nullptr;
}

TMenu* TMenuItem::Menu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->menu_;
}

void TMenuItem::Changed() {
    if (TMenu* m = Menu()) m->Changed();
}

void TMenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed();
}
void TMenuItem::SetImageIndex(int index) {
    imageIndex_ = index;
    Changed();
}
void TMenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Changed();
}
void TMenuItem::SetVisible(bool visible) {
    visible_ = visible;
    Changed();
}
void TMenuItem::SetBreak(TMenuBreak value) {
    break_ = value;
    Changed();
}
void TMenuItem::SetChecked(bool checked) {
    checked_ = checked;
    Changed();
}
void TMenuItem::SetDefault(bool value) {
    default_ = value;
    Changed();
}
void TMenuItem::SetShortCut(int shortCut) {
    shortCut_ = shortCut;
    Changed();
}

namespace {

TMenuItem* FindShortCut(TMenuItem* parent, int shortCut) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Item(i);
        if (!item->Enabled() || !item->Visible()) continue;
        if (item->ShortCut() == shortCut) return item;
        if (TMenuItem* found = FindShortCut(item, shortCut)) return found;
    }
    return nullptr;
}

}  // namespace

bool TMenu::IsShortCut(WPARAM key) {
    int shortCut = static_cast<int>(key & 0xFF);
    if (GetKeyState(VK_SHIFT) < 0) shortCut |= scShift;
    if (GetKeyState(VK_CONTROL) < 0) shortCut |= scCtrl;
    if (GetKeyState(VK_MENU) < 0) shortCut |= scAlt;
    TMenuItem* item = FindShortCut(Items(), shortCut);
    if (!item) return false;
    item->Click();
    return true;
}

std::string ShortCutToText(int shortCut) {
    const int key = shortCut & 0xFF;
    if (key == 0) return "";
    std::string name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        name = std::string(1, static_cast<char>(key));
    } else if (key >= VK_F1 && key <= VK_F24) {
        name = "F" + std::to_string(key - VK_F1 + 1);
    } else {
        static const struct {
            int key;
            const char* name;
        } names[] = {{VK_BACK, "BkSp"}, {VK_TAB, "Tab"}, {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
                     {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},
                     {VK_HOME, "Home"}, {VK_LEFT, "Left"}, {VK_UP, "Up"}, {VK_RIGHT, "Right"},
                     {VK_DOWN, "Down"}, {VK_INSERT, "Ins"}, {VK_DELETE, "Del"}};
        for (const auto& n : names) {
            if (n.key == key) name = n.name;
        }
        if (name.empty()) return "";
    }
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + name;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
    Changed();
}

void TMenuItem::ReadChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) Add(item);
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

bool TMenuItem::IsOwnerDrawn() const {
    const TMenu* m = Menu();
    return (m && m->OwnerDraw) || OnDrawItem || OnMeasureItem;
}

void TMenuItem::Build(HMENU into) {
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        MENUITEMINFOA mi{};
        mi.cbSize = sizeof(mi);
        mi.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_DATA;
        mi.wID = item->command_;
        mi.dwItemData = reinterpret_cast<ULONG_PTR>(item);
        mi.fState = (item->enabled_ ? MFS_ENABLED : MFS_GRAYED) | (item->checked_ ? MFS_CHECKED : 0) |
                    (item->default_ ? MFS_DEFAULT : 0);
        if (item->break_ == TMenuBreak::Break) mi.fType |= MFT_MENUBREAK;
        if (item->break_ == TMenuBreak::BarBreak) mi.fType |= MFT_MENUBARBREAK;
        if (item->IsOwnerDrawn()) {
            mi.fType |= MFT_OWNERDRAW;
        } else if (item->IsLine()) {
            mi.fType |= MFT_SEPARATOR;
        } else {
            mi.fMask |= MIIM_STRING;
            mi.dwTypeData = const_cast<char*>(item->caption_.c_str());
        }
        if (!item->items_.empty()) {
            item->handle_ = CreatePopupMenu();
            item->Build(item->handle_);
            mi.fMask |= MIIM_SUBMENU;
            mi.hSubMenu = item->handle_;
        } else {
            item->handle_ = nullptr;
        }
        InsertMenuItemA(into, GetMenuItemCount(into), TRUE, &mi);
    }
}

void TMenuItem::DoMeasureItem(TCanvas& canvas, int& width, int& height) {
    TImageList* images = Menu() ? Menu()->Images() : nullptr;
    if (IsLine()) {
        width = 10;
        height = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
        const SIZE s = canvas.TextExtent(caption_);
        width = s.cx + kImageColumn + 24;
        height = std::max<int>(s.cy + 6, images ? images->Height() + 4 : 0);
        height = std::max(height, GetSystemMetrics(SM_CYMENU));
    }
    if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
}

void TMenuItem::DoDrawItem(TCanvas& canvas, const TRect& rect, bool selected) {
    if (OnDrawItem) {
        OnDrawItem(this, &canvas, rect, selected);
        return;
    }
    canvas.Brush.Color = selected && !IsLine() ? clHighlight : clMenu;
    canvas.FillRect(rect);
    if (IsLine()) {
        const int y = rect.Top + rect.Height() / 2;
        canvas.Pen.Color = clBtnShadow;
        canvas.MoveTo(rect.Left + 2, y);
        canvas.LineTo(rect.Right - 2, y);
        canvas.Pen.Color = clBtnHighlight;
        canvas.MoveTo(rect.Left + 2, y + 1);
        canvas.LineTo(rect.Right - 2, y + 1);
        return;
    }
    TImageList* images = Menu() ? Menu()->Images() : nullptr;
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
        images->Draw(canvas, rect.Left + (kImageColumn - images->Width()) / 2,
                     rect.Top + (rect.Height() - images->Height()) / 2, imageIndex_, enabled_);
    }
    canvas.Brush.Style = TBrushStyle::Clear;
    canvas.Font.Color = !enabled_ ? clGrayText : selected ? clHighlightText : clMenuText;
    TRect text = rect;
    text.Left += kImageColumn + 4;
    canvas.TextRect(text, caption_, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    canvas.Brush.Style = TBrushStyle::Solid;
}

bool TMenuItem::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Caption") {
        SetCaption(v.AsText());
    } else if (name == "ImageIndex") {
        SetImageIndex(v.AsInt());
    } else if (name == "Enabled") {
        SetEnabled(v.AsBool());
    } else if (name == "Visible") {
        SetVisible(v.AsBool());
    } else if (name == "Break") {
        const std::string& b = v.AsIdent();
        SetBreak(EqualsIdent(b, "mbBreak") ? TMenuBreak::Break
                 : EqualsIdent(b, "mbBarBreak") ? TMenuBreak::BarBreak : TMenuBreak::None);
    } else if (name == "OnClick") {
        OnClick = reader.Method<void(TComponent*)>(v);
    } else if (name == "OnDrawItem") {
        OnDrawItem = reader.Method<void(TComponent*, TCanvas*, TRect, bool)>(v);
    } else if (name == "OnMeasureItem") {
        OnMeasureItem = reader.Method<void(TComponent*, TCanvas*, int&, int&)>(v);
    } else if (name == "Checked") {
        SetChecked(v.AsBool());
    } else if (name == "RadioItem") {
        RadioItem = v.AsBool();
    } else if (name == "Default") {
        SetDefault(v.AsBool());
    } else if (name == "ShortCut") {
        SetShortCut(v.AsInt());
    } else if (name == "SubMenuImages") {
        reader.Reference(v, [this](TComponent* c) { SubMenuImages = dynamic_cast<TImageList*>(c); });
    } else if (name == "Hint" || name == "GroupIndex") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
    items_->menu_ = this;
}

TMenu::~TMenu() {
    if (handle_) DestroyMenu(handle_);
    // Items belong to the form; they only leave this menu.
    while (items_->Count() > 0) items_->Remove(items_->Item(items_->Count() - 1));
}

void TMenu::SetImages(TImageList* images) {
    images_ = images;
    if (images_) images_->FreeNotification(this);
    Changed();
}

void TMenu::Notification(TComponent* component, Operation operation) {
    TComponent::Notification(component, operation);
    if (operation == Operation::Remove && component == images_) {
        images_ = nullptr;
        Changed();
    }
}

HMENU TMenu::Handle() {
    if (dirty_ || !handle_) {
        if (handle_) DestroyMenu(handle_);
        handle_ = IsPopup() ? CreatePopupMenu() : CreateMenu();
        items_->Build(handle_);
        dirty_ = false;
    }
    return handle_;
}

void TMenu::ReadChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) items_->Add(item);
}

bool TMenu::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Images") {
        reader.Reference(v, [this](TComponent* c) { SetImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "OwnerDraw") {
        OwnerDraw = v.AsBool();
        Changed();
    } else if (name == "BiDiMode") {
        RightToLeft = EqualsIdent(v.AsIdent(), "bdRightToLeft");
    } else if (name == "AutoHotkeys" || name == "AutoPopup") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

static void Track(HMENU menu, int x, int y) {
    HWND owner = MenuOwnerWindow();
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                         x, y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    if (chosen) {
        if (TMenuItem* item = TMenuItem::FromCommand(chosen)) item->Click();
    }
}

void TPopupMenu::Popup(int x, int y) { Track(Handle(), x, y); }

void TPopupMenu::PopupItems(TMenuItem* item, int x, int y) {
    TMenu* menu = item->Menu();
    if (!menu) return;
    menu->Handle();
    if (item->SubMenu()) Track(item->SubMenu(), x, y);
    else item->Click();
}

bool DispatchMenuMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == 0) {
            if (TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam))) {
                item->Click();
                result = 0;
                return true;
            }
        }
        return false;
    case WM_MEASUREITEM: {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (m->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(m->itemData);
        if (!item) return false;
        HDC screen = GetDC(nullptr);
        {
            TCanvas canvas(screen);
            NONCLIENTMETRICSA ncm{};
            ncm.cbSize = sizeof(ncm);
            SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
            canvas.Font.Name = ncm.lfMenuFont.lfFaceName;
            canvas.Font.Height = ncm.lfMenuFont.lfHeight;
            canvas.Font.Changed();
            int w = 0, h = 0;
            item->DoMeasureItem(canvas, w, h);
            m->itemWidth = static_cast<UINT>(std::max(0, w));
            m->itemHeight = static_cast<UINT>(std::max(0, h));
        }
        ReleaseDC(nullptr, screen);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (d->CtlType != ODT_MENU) return false;
        TMenuItem* item = TMenuItem::FromData(d->itemData);
        if (!item) return false;
        const int saved = SaveDC(d->hDC);
        {
            TCanvas canvas(d->hDC);
            NONCLIENTMETRICSA ncm{};
            ncm.cbSize = sizeof(ncm);
            SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
            canvas.Font.Name = ncm.lfMenuFont.lfFaceName;
            canvas.Font.Height = ncm.lfMenuFont.lfHeight;
            canvas.Font.Color = clMenuText;
            canvas.Font.Changed();
            item->DoDrawItem(canvas, TRect::From(d->rcItem), (d->itemState & ODS_SELECTED) != 0);
        }
        RestoreDC(d->hDC, saved);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace ui
