// Main and popup menus with items that may be drawn by their owner.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Component.h"
#include "Graphics.h"

namespace ui {

class TMenu;
class TImageList;

using TMenuDrawItemEvent = std::function<void(TComponent*, TCanvas*, TRect, bool)>;
using TMenuMeasureItemEvent = std::function<void(TComponent*, TCanvas*, int&, int&)>;
enum class TMenuBreak { None, Break, BarBreak };

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak value);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Key code with the scShift, scCtrl and scAlt flags; 0 for none.
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int shortCut);
    bool IsLine() const { return caption_ == "-"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Item(int index) const { return items_.at(index); }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* ParentItem() const { return parent_; }
    TMenu* Menu() const;
    UINT Command() const { return command_; }
    HMENU SubMenu() const { return handle_; }  // valid once the menu is built

    void Click();
    // Owner drawing: the handlers when set, else the library's own look.
    void DoMeasureItem(TCanvas& canvas, int& width, int& height);
    void DoDrawItem(TCanvas& canvas, const TRect& rect, bool selected);
    bool IsOwnerDrawn() const;

    // Check marks, the default item and the shortcut shown beside the caption.
    bool RadioItem = false;
    TBitmap Bitmap;    // a picture of the item's own, used when no image list supplies one
    TImageList* SubMenuImages = nullptr;  // images of this item's sub-items

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void ReadChild(TComponent* child) override;

    static TMenuItem* FromCommand(UINT command);
    static TMenuItem* FromData(ULONG_PTR data);

private:
    friend class TMenu;
    void Changed();
    void Build(HMENU into);

    std::string caption_;
    int imageIndex_ = -1;
    bool enabled_ = true, visible_ = true, checked_ = false, default_ = false;
    int shortCut_ = 0;
    TMenuBreak break_ = TMenuBreak::None;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TMenu* menu_ = nullptr;  // set on the root item only
    UINT command_ = 0;
    HMENU handle_ = nullptr;
};

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_.get(); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    bool OwnerDraw = false;
    bool RightToLeft = false;  // items read and line up from the right

    HMENU Handle();  // built on demand, rebuilt after a change
    // A key pressed with the current Shift, Ctrl and Alt state: runs the enabled item whose
    // shortcut it is and answers true, else false.
    bool IsShortCut(WPARAM key);
    void Changed() { dirty_ = true; }

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void ReadChild(TComponent* child) override;
    void Notification(TComponent* component, Operation operation) override;

protected:
    virtual bool IsPopup() const = 0;

private:
    std::unique_ptr<TMenuItem> items_;
    TImageList* images_ = nullptr;
    HMENU handle_ = nullptr;
    bool dirty_ = true;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

protected:
    bool IsPopup() const override { return false; }
};

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}
    // Shows the menu at a screen position and runs the chosen item.
    void Popup(int x, int y);
    // Shows a drop-down of one item's sub-items (a menu shown through a tool bar).
    static void PopupItems(TMenuItem* item, int x, int y);

protected:
    bool IsPopup() const override { return true; }
};

constexpr int scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
// "Ctrl+Shift+F5", "Del", "A"; "" for 0.
std::string ShortCutToText(int shortCut);

// The window that owns popped-up menus (receives their drawing messages).
HWND MenuOwnerWindow();

}  // namespace ui
