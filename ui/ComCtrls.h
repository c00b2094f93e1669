// Wrappers of the common controls: list view (report view), tree view, tool bar, cool bar and
// page control.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Controls.h"
#include "ExtCtrls.h"

namespace ui {

class TImageList;
class TMainMenu;
class TListView;

// ---- list view

class TListItem {
public:
    TListView* Owner() const { return owner_; }
    int Index() const { return index_; }
    void* Data() const { return data_; }
    void SetData(void* data);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int SubItemCount() const { return static_cast<int>(subItems_.size()); }
    const std::string& SubItem(int index) const;
    void AddSubItem(const std::string& text);
    void SetSubItem(int index, const std::string& text);
    bool Selected() const;
    void SetSelected(bool selected);
    void Delete();

private:
    friend class TListView;
    TListItem(TListView* owner, int index) : owner_(owner), index_(index) {}
    TListView* owner_;
    int index_;  // its place in the owner's rows, kept by the owner
    void* data_ = nullptr;
    int imageIndex_ = -1;
    std::string caption_;
    std::vector<std::string> subItems_;
};

struct TListColumn {
    std::string Caption;
    int Width = 50;
    int ImageIndex = -1;
};

using TLVSelectItemEvent = std::function<void(TComponent*, TListItem*, bool)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    bool ReadOnly = false, RowSelect = false, GridLines = false, FlatScrollBars = false;
    bool HideSelection = true, ColumnClick = true, MultiSelect = false;

    const std::vector<TListColumn>& Columns() const { return columns_; }
    void AddColumn(const TListColumn& column);
    TImageList* SmallImages() const { return smallImages_; }
    void SetSmallImages(TImageList* images);

    int ItemCount() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const { return items_.at(index).get(); }
    TListItem* AddItem();  // at the end
    void DeleteItem(TListItem* item);
    // Deletes every row of `rows` (rows of this list) in one pass over the list; the rows that stay
    // keep their selection, and the list its scroll position.
    void DeleteItems(const std::vector<TListItem*>& rows);
    // Beyond this many rows, DeleteItems fills the control again with the rows that stay.
    static constexpr size_t kRowsDeletedOneByOne = 8;
    void Clear();
    // The first row whose Data is `data`, or null; found without a walk over the rows.
    TListItem* FindData(const void* data) const;
    // Between the two the control neither repaints nor recomputes its scroll bars, and it has room
    // for `rows` rows more; the rows added meanwhile are shown at EndUpdate.
    void BeginUpdate(int rows = 0);
    void EndUpdate();
    TListItem* Selected() const;
    void SetSelected(TListItem* item);  // null: no row selected
    void SelectAll();
    TListItem* ItemAt(int x, int y) const;
    void SetDoubleBuffered(bool value) override;

    TLVSelectItemEvent OnSelectItem;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void Notification(TComponent* component, Operation operation) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    friend class TListItem;
    void UpdateItem(const TListItem* item);  // the row's cells into the control
    void UpdateCell(const TListItem* item, int subItem);  // one cell; -1 the caption and picture
    void InsertRow(int index);
    void InsertRows();  // every row into a control that holds none
    void Renumber(size_t from);
    void IndexData(TListItem* row, void* data);
    void UnindexData(TListItem* row);
    void ApplyColumn(int index);
    void ApplyExtendedStyle();

    std::vector<TListColumn> columns_;
    std::vector<std::unique_ptr<TListItem>> items_;
    // Data -> the first row holding it, and how many rows hold it.
    struct DataRows {
        TListItem* first;
        int count;
    };
    std::unordered_map<const void*, DataRows> byData_;
    TImageList* smallImages_ = nullptr;
    bool changingSelection_ = false;
    int updating_ = 0;
};

// ---- tree view

class TTreeView;

class TTreeNode {
public:
    const std::string& Text() const { return text_; }
    int ImageIndex() const { return imageIndex_; }
    int SelectedIndex() const { return selectedIndex_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const { return children_.at(index).get(); }
    TTreeNode* Parent() const { return parent_; }
    int Index() const;  // among its siblings
    TTreeNode* AddChild(const std::string& text);
    HTREEITEM Handle() const { return handle_; }

private:
    friend class TTreeView;
    TTreeView* tree_ = nullptr;
    TTreeNode* parent_ = nullptr;
    std::string text_;
    int imageIndex_ = -1, selectedIndex_ = -1;
    std::vector<std::unique_ptr<TTreeNode>> children_;
    HTREEITEM handle_ = nullptr;
};

using TTVChangedEvent = std::function<void(TComponent*, TTreeNode*)>;

class TTreeView : public TWinControl {
public:
    explicit TTreeView(TComponent* owner);
    ~TTreeView() override;

    bool ReadOnly = false, RowSelect = false, HideSelection = true, ShowButtons = true;
    bool ShowLines = true, ShowRoot = true;
    int Indent = 19;

    int RootCount() const { return static_cast<int>(roots_.size()); }
    TTreeNode* Root(int index) const { return roots_.at(index).get(); }
    TTreeNode* AddRoot(const std::string& text);
    int NodeCount() const;
    TTreeNode* NodeAt(int absoluteIndex) const;  // depth first, as the nodes are shown
    TTreeNode* Selected() const { return selected_; }
    void SetSelected(TTreeNode* node);
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    void FullExpand();

    TTVChangedEvent OnChange;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void Notification(TComponent* component, Operation operation) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    friend class TTreeNode;
    void InsertNode(TTreeNode* node);
    void ReadNodes(TTreeNode* parent, const Value& items);
    TTreeNode* FromHandle(HTREEITEM item) const;

    std::vector<std::unique_ptr<TTreeNode>> roots_;
    TTreeNode* selected_ = nullptr;
    TImageList* images_ = nullptr;
};

// ---- tool bar

class TToolBar;
class TToolButton;
class TPopupMenu;
enum class TToolButtonStyle { Button, Separator, Check, DropDown, Divider };

// What a custom-drawn tool button is showing.
enum TCustomDrawStateFlag : unsigned {
    cdsSelected = 1, cdsGrayed = 2, cdsDisabled = 4, cdsChecked = 8, cdsFocused = 16, cdsDefault = 32,
    cdsHot = 64, cdsMarked = 128, cdsIndeterminate = 256
};
using TCustomDrawState = unsigned;
using TTBCustomDrawBtnEvent = std::function<void(TToolBar*, TToolButton*, TCustomDrawState, bool&)>;

class TToolButton : public TComponent {
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int ImageIndex() const { return imageIndex_; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TToolButtonStyle Style = TToolButtonStyle::Button;
    int Width = 0;  // separators
    bool Down = false;                     // a check button that is pressed in
    TPopupMenu* DropdownMenu = nullptr;    // what a drop-down button shows
    TNotifyEvent OnClick;
    TToolBar* ToolBar() const { return toolBar_; }
    class TMenuItem* MenuItem() const { return menuItem_; }
    int Index() const;  // among the bar's buttons; -1 off a bar
    TRect BoundsRect() const;
    int Command() const { return command_; }
    void Click();
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

private:
    friend class TToolBar;
    TToolBar* toolBar_ = nullptr;
    std::string caption_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    int command_ = 0;
    class TMenuItem* menuItem_ = nullptr;  // buttons that show a menu's top-level item
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    bool Flat = false, ShowCaptions = false, List = false, Transparent = false;
    int ButtonWidth = 23, ButtonHeight = 22;
    void SetFlat(bool flat);
    TImageList* Images() const { return images_; }
    TImageList* DisabledImages() const { return disabledImages_; }
    TImageList* HotImages() const { return hotImages_; }
    void SetImages(TImageList* images);
    void SetDisabledImages(TImageList* images);
    void SetHotImages(TImageList* images);
    // Set: each button is drawn by the handler, which clears defaultDraw to skip the bar's own look.
    TTBCustomDrawBtnEvent OnCustomDrawButton;
    // The canvas of the button being custom-drawn; null outside the handler.
    TCanvas* Canvas() const { return canvas_; }
    // Runs the custom-draw handler for one button on a canvas (what the bar does while painting).
    bool DrawButton(TToolButton* button, TCustomDrawState state, TCanvas& canvas);
    // Shows the top-level items of a menu as this bar's buttons; each drops its items down.
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Button(int index) const { return buttons_.at(index); }
    void AddButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void ButtonChanged(TToolButton* button);
    TRect ButtonRect(int index) const;

    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void ReadChild(TComponent* child) override;
    void Notification(TComponent* component, Operation operation) override;
    bool HandleCommand(WORD code, WORD id) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;
    void FontChanged() override;

private:
    friend class TToolButton;
    void Rebuild();
    int FittingButtonWidth();
    void ClearMenuButtons();
    std::vector<TToolButton*> buttons_;
    std::vector<std::unique_ptr<TToolButton>> menuButtons_;
    TImageList* images_ = nullptr;
    TImageList* disabledImages_ = nullptr;
    TImageList* hotImages_ = nullptr;
    TMainMenu* menu_ = nullptr;
    TCanvas* canvas_ = nullptr;
};

// ---- cool bar: each child control is a band, in child order, one band per row.

class TCoolBar : public TWinControl {
public:
    explicit TCoolBar(TComponent* owner);
    bool EdgeBorders = true;
    void Realign() override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void ChildrenCreated() override;
};

// ---- page control

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetParent(TWinControl* parent) override;
    void SetCaption(const std::string& caption) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Page(int index) const { return pages_.at(index); }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* page);
    void Realign() override;
    TNotifyEvent OnChange;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    bool HandleNotify(NMHDR* header, LRESULT& result) override;

protected:
    void FillParams(CreateParams& params) override;
    void ChildrenCreated() override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void UpdateTabs();
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

}  // namespace ui
