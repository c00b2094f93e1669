#include "ComCtrls.h"

#include <algorithm>

#include "ImgList.h"
#include "Menus.h"
#include "Reader.h"

namespace ui {

// ---- TListItem

void TListItem::SetData(void* data) {
    if (data == data_) return;
    owner_->UnindexData(this);
    data_ = data;
    owner_->IndexData(this, data);
}

void TListItem::SetImageIndex(int index) {
    imageIndex_ = index;
    owner_->UpdateCell(this, -1);
}

void TListItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    owner_->UpdateCell(this, -1);
}

const std::string& TListItem::SubItem(int index) const {
    static const std::string empty;
    return index >= 0 && index < SubItemCount() ? subItems_[static_cast<size_t>(index)] : empty;
}

void TListItem::AddSubItem(const std::string& text) {
    subItems_.push_back(text);
    owner_->UpdateCell(this, SubItemCount() - 1);
}

void TListItem::SetSubItem(int index, const std::string& text) {
    if (index < 0) return;
    if (index >= SubItemCount()) {
        subItems_.resize(static_cast<size_t>(index) + 1);
        subItems_[static_cast<size_t>(index)] = text;
        owner_->UpdateItem(this);
        return;
    }
    subItems_[static_cast<size_t>(index)] = text;
    owner_->UpdateCell(this, index);
}

bool TListItem::Selected() const { return owner_->Selected() == this; }

void TListItem::SetSelected(bool selected) {
    if (selected) owner_->SetSelected(this);
    else if (Selected()) owner_->SetSelected(nullptr);
}

void TListItem::Delete() { owner_->DeleteItem(this); }

// ---- TListView

TListView::TListView(TComponent* owner) : TWinControl(owner) {
    width_ = 250;
    height_ = 150;
    color_ = clWindow;
}

TListView::~TListView() {
    // Rows go without selection events.
    OnSelectItem = nullptr;
    DestroyHandle();
}

void TListView::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = WC_LISTVIEWA;
    p.style |= WS_TABSTOP | LVS_REPORT | LVS_SHAREIMAGELISTS;
    if (!ReadOnly) p.style |= LVS_EDITLABELS;
    if (!HideSelection) p.style |= LVS_SHOWSELALWAYS;
    if (!ColumnClick) p.style |= LVS_NOSORTHEADER;
    if (!MultiSelect) p.style |= LVS_SINGLESEL;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListView::ApplyExtendedStyle() {
    if (!handle_) return;
    DWORD ex = 0;
    if (RowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (GridLines) ex |= LVS_EX_GRIDLINES;
    if (FlatScrollBars) ex |= LVS_EX_FLATSB;
    if (DoubleBuffered) ex |= LVS_EX_DOUBLEBUFFER;
    SendMessageA(handle_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, ex);
}

void TListView::SetDoubleBuffered(bool value) {
    DoubleBuffered = value;
    ApplyExtendedStyle();
}

void TListView::InitWnd() {
    ApplyExtendedStyle();
    if (smallImages_) ListView_SetImageList(handle_, smallImages_->Handle(), LVSIL_SMALL);
    for (size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNA c{};
        c.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        c.pszText = const_cast<char*>("");
        SendMessageA(handle_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
        ApplyColumn(static_cast<int>(i));
    }
    InsertRows();
}

void TListView::InsertRows() {
    if (items_.empty()) return;
    // The control repaints and recomputes its scroll bars after each row otherwise.
    SendMessageA(handle_, LVM_SETITEMCOUNT, items_.size(), LVSICF_NOINVALIDATEALL);
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < items_.size(); ++i) InsertRow(static_cast<int>(i));
    if (updating_ == 0) {
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void TListView::ApplyColumn(int index) {
    if (!handle_) return;
    const TListColumn& col = columns_[static_cast<size_t>(index)];
    LVCOLUMNA c{};
    c.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_FMT;
    c.cx = col.Width;
    c.pszText = const_cast<char*>(col.Caption.c_str());
    c.fmt = LVCFMT_LEFT;
    if (col.ImageIndex >= 0) {
        c.mask |= LVCF_IMAGE;
        c.fmt |= LVCFMT_IMAGE;
        c.iImage = col.ImageIndex;
    }
    SendMessageA(handle_, LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&c));
    // The header shows column images from the list's small images.
    if (col.ImageIndex >= 0 && smallImages_) {
        HWND header = reinterpret_cast<HWND>(SendMessageA(handle_, LVM_GETHEADER, 0, 0));
        if (header) {
            SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(smallImages_->Handle()));
            HDITEMA h{};
            h.mask = HDI_FORMAT | HDI_IMAGE;
            h.fmt = HDF_LEFT | HDF_IMAGE | (col.Caption.empty() ? 0 : HDF_STRING);
            h.iImage = col.ImageIndex;
            SendMessageA(header, HDM_SETITEMA, index, reinterpret_cast<LPARAM>(&h));
        }
    }
}

void TListView::AddColumn(const TListColumn& column) {
    columns_.push_back(column);
    if (handle_) {
        LVCOLUMNA c{};
        c.mask = LVCF_WIDTH | LVCF_TEXT;
        c.pszText = const_cast<char*>("");
        SendMessageA(handle_, LVM_INSERTCOLUMNA, columns_.size() - 1, reinterpret_cast<LPARAM>(&c));
        ApplyColumn(static_cast<int>(columns_.size() - 1));
    }
}

void TListView::SetSmallImages(TImageList* images) {
    smallImages_ = images;
    if (images) images->FreeNotification(this);
    if (handle_) ListView_SetImageList(handle_, images ? images->Handle() : nullptr, LVSIL_SMALL);
}

void TListView::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation == Operation::Remove && component == smallImages_) {
        smallImages_ = nullptr;
        if (handle_) ListView_SetImageList(handle_, nullptr, LVSIL_SMALL);
    }
}

void TListView::InsertRow(int index) {
    if (!handle_) return;
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = index;
    it.pszText = const_cast<char*>("");
    it.iImage = -1;
    SendMessageA(handle_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    UpdateItem(items_[static_cast<size_t>(index)].get());
}

void TListView::UpdateCell(const TListItem* item, int subItem) {
    if (!handle_) return;
    LVITEMA it{};
    it.mask = LVIF_TEXT;
    it.iItem = item->index_;
    if (subItem < 0) {
        it.mask |= LVIF_IMAGE;
        it.pszText = const_cast<char*>(item->caption_.c_str());
        it.iImage = item->imageIndex_;
    } else {
        it.iSubItem = subItem + 1;
        it.pszText = const_cast<char*>(item->subItems_[static_cast<size_t>(subItem)].c_str());
    }
    SendMessageA(handle_, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

void TListView::UpdateItem(const TListItem* item) {
    UpdateCell(item, -1);
    for (int s = 0; s < item->SubItemCount(); ++s) UpdateCell(item, s);
}

void TListView::Renumber(size_t from) {
    for (size_t i = from; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}

void TListView::IndexData(TListItem* row, void* data) {
    auto [it, added] = byData_.try_emplace(data, DataRows{row, 0});
    ++it->second.count;
    if (!added && row->index_ < it->second.first->index_) it->second.first = row;
}

void TListView::UnindexData(TListItem* row) {
    auto it = byData_.find(row->data_);
    if (it == byData_.end()) return;
    if (--it->second.count == 0) {
        byData_.erase(it);
        return;
    }
    if (it->second.first != row) return;
    // Another row holds the same data: the first of them after this one (rare, so a walk).
    for (const auto& other : items_) {
        if (other.get() != row && other->data_ == row->data_) {
            it->second.first = other.get();
            return;
        }
    }
}

TListItem* TListView::FindData(const void* data) const {
    auto it = byData_.find(data);
    return it == byData_.end() ? nullptr : it->second.first;
}

TListItem* TListView::AddItem() {
    items_.push_back(std::unique_ptr<TListItem>(new TListItem(this, static_cast<int>(items_.size()))));
    IndexData(items_.back().get(), nullptr);
    InsertRow(static_cast<int>(items_.size()) - 1);
    return items_.back().get();
}

void TListView::DeleteItem(TListItem* item) {
    if (!item || item->owner_ != this) return;
    const int index = item->index_;
    UnindexData(item);
    if (handle_) SendMessageA(handle_, LVM_DELETEITEM, index, 0);
    items_.erase(items_.begin() + index);
    Renumber(static_cast<size_t>(index));
}

void TListView::DeleteItems(const std::vector<TListItem*>& rows) {
    std::vector<char> doomed(items_.size(), 0);
    size_t count = 0;
    for (TListItem* row : rows) {
        if (row && row->owner_ == this && !doomed[static_cast<size_t>(row->index_)]) {
            doomed[static_cast<size_t>(row->index_)] = 1;
            ++count;
        }
    }
    if (count == 0) return;
    // The control moves every row below a deleted one, and repaints them, at each deletion: past a
    // few deletions it is cheaper to fill it again with the rows that stay.
    const bool refill = handle_ && count > kRowsDeletedOneByOne;
    TListItem* selected = refill ? Selected() : nullptr;
    int top = 0;
    if (refill) {
        const int oldTop = static_cast<int>(SendMessageA(handle_, LVM_GETTOPINDEX, 0, 0));
        for (int i = 0; i < oldTop && i < static_cast<int>(doomed.size()); ++i) top += doomed[static_cast<size_t>(i)] ? 0 : 1;
    }
    BeginUpdate();
    for (size_t i = items_.size(); i-- > 0;) {
        if (!doomed[i]) continue;
        if (items_[i].get() == selected) selected = nullptr;
        UnindexData(items_[i].get());
        // From the last row up: the control moves no row that is deleted after it.
        if (handle_ && !refill) SendMessageA(handle_, LVM_DELETEITEM, i, 0);
    }
    size_t kept = 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        if (!doomed[i]) items_[kept++] = std::move(items_[i]);
    }
    items_.resize(kept);
    Renumber(0);
    if (refill) {
        // The rows that stay keep their selection and the list its place, without notifications:
        // no row's state changes.
        TLVSelectItemEvent onSelect = std::move(OnSelectItem);
        OnSelectItem = nullptr;
        SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
        InsertRows();
        if (selected) SetSelected(selected);
        RECT first{LVIR_BOUNDS, 0, 0, 0};
        if (top > 0 && SendMessageA(handle_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first)))
            SendMessageA(handle_, LVM_SCROLL, 0, top * (first.bottom - first.top));
        OnSelectItem = std::move(onSelect);
    }
    EndUpdate();
}

void TListView::BeginUpdate(int rows) {
    if (handle_ && rows > 0) {
        SendMessageA(handle_, LVM_SETITEMCOUNT, items_.size() + static_cast<size_t>(rows), LVSICF_NOINVALIDATEALL);
    }
    if (updating_++ == 0 && handle_) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TListView::EndUpdate() {
    if (updating_ == 0 || --updating_ > 0 || !handle_) return;
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TListView::Clear() {
    if (handle_) SendMessageA(handle_, LVM_DELETEALLITEMS, 0, 0);
    items_.clear();
    byData_.clear();
}

TListItem* TListView::Selected() const {
    if (!handle_) return nullptr;
    const int index = static_cast<int>(SendMessageA(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < ItemCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

void TListView::SetSelected(TListItem* item) {
    if (!handle_) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (!item) {
        state.state = 0;
        if (MultiSelect) {
            SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
            return;
        }
        // Only the selected and the focused row: a change of every row's state costs the control
        // a notification per row.
        for (UINT which : {LVNI_SELECTED, LVNI_FOCUSED}) {
            const LRESULT row = SendMessageA(handle_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), which);
            if (row >= 0) SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
        }
        return;
    }
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(handle_, LVM_SETITEMSTATE, item->Index(), reinterpret_cast<LPARAM>(&state));
}

void TListView::SelectAll() {
    if (!handle_ || !MultiSelect) return;
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(handle_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

TListItem* TListView::ItemAt(int x, int y) const {
    if (!handle_) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    const int index = static_cast<int>(SendMessageA(handle_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (index < 0 || !(hit.flags & LVHT_ONITEM)) return nullptr;
    return index < ItemCount() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

bool TListView::HandleNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case LVN_ITEMCHANGED: {
        auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
        if ((nm->uChanged & LVIF_STATE) && ((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && nm->iItem >= 0 &&
            nm->iItem < ItemCount() && OnSelectItem) {
            OnSelectItem(this, items_[static_cast<size_t>(nm->iItem)].get(), (nm->uNewState & LVIS_SELECTED) != 0);
        }
        result = 0;
        return true;
    }
    case NM_CLICK:
        if (OnClick) OnClick(this);
        result = 0;
        return true;
    case LVN_KEYDOWN:
        // The key already reached OnKeyDown as the control's own WM_KEYDOWN; once is enough.
        result = 0;
        return true;
    default:
        return false;
    }
}

bool TListView::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Columns") {
        for (const PropertyList& item : v.items) {
            TListColumn col;
            for (const auto& [key, value] : item) {
                if (key == "Caption") col.Caption = value.AsText();
                else if (key == "Width") col.Width = value.AsInt();
                else if (key == "ImageIndex") col.ImageIndex = value.AsInt();
                else throw Exception("A list column has no property " + key);
            }
            AddColumn(col);
        }
    } else if (name == "ViewStyle") {
        if (!EqualsIdent(v.AsIdent(), "vsReport")) throw Exception("Only the report view is provided");
    } else if (name == "ReadOnly") {
        ReadOnly = v.AsBool();
    } else if (name == "RowSelect") {
        RowSelect = v.AsBool();
        ApplyExtendedStyle();
    } else if (name == "GridLines") {
        GridLines = v.AsBool();
        ApplyExtendedStyle();
    } else if (name == "FlatScrollBars") {
        FlatScrollBars = v.AsBool();
        ApplyExtendedStyle();
    } else if (name == "HideSelection") {
        HideSelection = v.AsBool();
    } else if (name == "ColumnClick") {
        ColumnClick = v.AsBool();
    } else if (name == "MultiSelect") {
        MultiSelect = v.AsBool();
    } else if (name == "SmallImages") {
        reader.Reference(v, [this](TComponent* c) { SetSmallImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "OnSelectItem") {
        OnSelectItem = reader.Method<void(TComponent*, TListItem*, bool)>(v);
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TTreeNode / TTreeView

int TTreeNode::Index() const {
    const auto& siblings = parent_ ? parent_->children_ : tree_->roots_;
    for (size_t i = 0; i < siblings.size(); ++i) {
        if (siblings[i].get() == this) return static_cast<int>(i);
    }
    return -1;
}

TTreeNode* TTreeNode::AddChild(const std::string& text) {
    auto node = std::make_unique<TTreeNode>();
    node->tree_ = tree_;
    node->parent_ = this;
    node->text_ = text;
    children_.push_back(std::move(node));
    tree_->InsertNode(children_.back().get());
    return children_.back().get();
}

TTreeView::TTreeView(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 97;
    color_ = clWindow;
}

TTreeView::~TTreeView() {
    OnChange = nullptr;
    DestroyHandle();
}

void TTreeView::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = WC_TREEVIEWA;
    p.style |= WS_TABSTOP;
    if (!ReadOnly) p.style |= TVS_EDITLABELS;
    if (RowSelect) p.style |= TVS_FULLROWSELECT;
    if (!HideSelection) p.style |= TVS_SHOWSELALWAYS;
    if (ShowButtons) p.style |= TVS_HASBUTTONS;
    if (ShowLines) p.style |= TVS_HASLINES;
    if (ShowRoot && ShowLines) p.style |= TVS_LINESATROOT;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

TTreeNode* TTreeView::AddRoot(const std::string& text) {
    auto node = std::make_unique<TTreeNode>();
    node->tree_ = this;
    node->text_ = text;
    roots_.push_back(std::move(node));
    InsertNode(roots_.back().get());
    return roots_.back().get();
}

void TTreeView::InsertNode(TTreeNode* node) {
    if (!handle_) return;
    TVINSERTSTRUCTA ins{};
    ins.hParent = node->parent_ ? node->parent_->handle_ : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(node->text_.c_str());
    ins.item.lParam = reinterpret_cast<LPARAM>(node);
    ins.item.iImage = node->imageIndex_;
    ins.item.iSelectedImage = node->selectedIndex_;
    node->handle_ = reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
    for (auto& child : node->children_) InsertNode(child.get());
}

void TTreeView::InitWnd() {
    SendMessageA(handle_, TVM_SETINDENT, static_cast<WPARAM>(Indent), 0);
    if (images_) TreeView_SetImageList(handle_, images_->Handle(), TVSIL_NORMAL);
    for (auto& root : roots_) InsertNode(root.get());
    FullExpand();
    if (selected_) SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->handle_));
}

void TTreeView::FullExpand() {
    if (!handle_) return;
    for (int i = 0, n = NodeCount(); i < n; ++i) {
        TTreeNode* node = NodeAt(i);
        if (node->Count() > 0) SendMessageA(handle_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->handle_));
    }
}

int TTreeView::NodeCount() const {
    int n = 0;
    std::function<void(const TTreeNode*)> count = [&](const TTreeNode* node) {
        ++n;
        for (const auto& c : node->children_) count(c.get());
    };
    for (const auto& r : roots_) count(r.get());
    return n;
}

TTreeNode* TTreeView::NodeAt(int absoluteIndex) const {
    int at = 0;
    TTreeNode* found = nullptr;
    std::function<void(TTreeNode*)> walk = [&](TTreeNode* node) {
        if (found) return;
        if (at++ == absoluteIndex) {
            found = node;
            return;
        }
        for (const auto& c : node->children_) walk(c.get());
    };
    for (const auto& r : roots_) walk(r.get());
    return found;
}

TTreeNode* TTreeView::FromHandle(HTREEITEM item) const {
    for (int i = 0, n = NodeCount(); i < n; ++i) {
        if (NodeAt(i)->handle_ == item) return NodeAt(i);
    }
    return nullptr;
}

void TTreeView::SetSelected(TTreeNode* node) {
    if (handle_) {
        if (node == selected_) return;
        SendMessageA(handle_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->handle_ : nullptr));
        return;
    }
    selected_ = node;
    if (OnChange && !Loading()) OnChange(this, node);
}

void TTreeView::SetImages(TImageList* images) {
    images_ = images;
    if (images) images->FreeNotification(this);
    if (handle_) TreeView_SetImageList(handle_, images ? images->Handle() : nullptr, TVSIL_NORMAL);
}

void TTreeView::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation == Operation::Remove && component == images_) {
        images_ = nullptr;
        if (handle_) TreeView_SetImageList(handle_, nullptr, TVSIL_NORMAL);
    }
}

bool TTreeView::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) {
        // Both forms carry the new item's handle at the same place.
        auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
        selected_ = FromHandle(nm->itemNew.hItem);
        if (OnChange) OnChange(this, selected_);
        result = 0;
        return true;
    }
    return false;
}

void TTreeView::ReadNodes(TTreeNode* parent, const Value& items) {
    if (items.kind != Value::Items) throw Exception("Tree nodes are a collection");
    for (const PropertyList& props : items.items) {
        TTreeNode* node = parent ? parent->AddChild("") : AddRoot("");
        const Value* children = nullptr;
        for (const auto& [key, value] : props) {
            if (key == "Text") node->text_ = value.AsText();
            else if (key == "ImageIndex") node->imageIndex_ = value.AsInt();
            else if (key == "SelectedIndex") node->selectedIndex_ = value.AsInt();
            else if (key == "Items") children = &value;
            else throw Exception("A tree node has no property " + key);
        }
        if (children) ReadNodes(node, *children);
    }
}

bool TTreeView::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Items") {
        ReadNodes(nullptr, v);
    } else if (name == "ReadOnly") {
        ReadOnly = v.AsBool();
    } else if (name == "RowSelect") {
        RowSelect = v.AsBool();
    } else if (name == "HideSelection") {
        HideSelection = v.AsBool();
    } else if (name == "ShowButtons") {
        ShowButtons = v.AsBool();
    } else if (name == "ShowLines") {
        ShowLines = v.AsBool();
    } else if (name == "ShowRoot") {
        ShowRoot = v.AsBool();
    } else if (name == "Indent") {
        Indent = v.AsInt();
    } else if (name == "Images") {
        reader.Reference(v, [this](TComponent* c) { SetImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "OnChange") {
        OnChange = reader.Method<void(TComponent*, TTreeNode*)>(v);
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TToolButton

TToolButton::TToolButton(TComponent* owner) : TComponent(owner) {}

TToolButton::~TToolButton() {
    if (toolBar_) toolBar_->RemoveButton(this);
}

void TToolButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (toolBar_) toolBar_->ButtonChanged(this);
}

void TToolButton::Click() {
    if (!enabled_) return;
    if (menuItem_ && toolBar_) {
        const int index = static_cast<int>(std::find(toolBar_->buttons_.begin(), toolBar_->buttons_.end(), this) -
                                           toolBar_->buttons_.begin());
        const TRect r = toolBar_->ButtonRect(index);
        POINT p{r.Left, r.Bottom};
        if (toolBar_->HandleAllocated()) ClientToScreen(toolBar_->HandleOrNull(), &p);
        TPopupMenu::PopupItems(menuItem_, p.x, p.y);
        return;
    }
    if (OnClick) OnClick(this);
}

bool TToolButton::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Caption") {
        SetCaption(v.AsText());
    } else if (name == "ImageIndex") {
        imageIndex_ = v.AsInt();
        if (toolBar_) toolBar_->ButtonChanged(this);
    } else if (name == "Enabled") {
        SetEnabled(v.AsBool());
    } else if (name == "Style") {
        const std::string& style = v.AsIdent();
        Style = EqualsIdent(style, "tbsSeparator") ? TToolButtonStyle::Separator
                : EqualsIdent(style, "tbsCheck")   ? TToolButtonStyle::Check
                : EqualsIdent(style, "tbsDropDown") ? TToolButtonStyle::DropDown
                : EqualsIdent(style, "tbsDivider")  ? TToolButtonStyle::Divider
                                                    : TToolButtonStyle::Button;
    } else if (name == "Down") {
        Down = v.AsBool();
    } else if (name == "DropdownMenu") {
        reader.Reference(v, [this](TComponent* c) { DropdownMenu = dynamic_cast<TPopupMenu*>(c); });
    } else if (name == "Width") {
        Width = v.AsInt();
    } else if (name == "OnClick") {
        OnClick = reader.Method<void(TComponent*)>(v);
    } else if (name == "Left" || name == "Top" || name == "Hint" || name == "AutoSize") {
    } else {
        return TComponent::SetProperty(name, v, reader);
    }
    return true;
}

int TToolButton::Index() const {
    if (!toolBar_) return -1;
    const auto& all = toolBar_->buttons_;
    const auto it = std::find(all.begin(), all.end(), this);
    return it == all.end() ? -1 : static_cast<int>(it - all.begin());
}

TRect TToolButton::BoundsRect() const { return toolBar_ ? toolBar_->ButtonRect(Index()) : TRect{}; }

// ---- TToolBar

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    align_ = TAlign::Top;
    width_ = 150;
    height_ = 29;
}

TToolBar::~TToolBar() {
    ClearMenuButtons();
    for (TToolButton* b : buttons_) b->toolBar_ = nullptr;
    buttons_.clear();
}

void TToolBar::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = TOOLBARCLASSNAMEA;
    p.style |= CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    p.style &= ~WS_CLIPCHILDREN;
    if (Flat) p.style |= TBSTYLE_FLAT;
    if (List) p.style |= TBSTYLE_LIST;
    if (Transparent) p.style |= TBSTYLE_TRANSPARENT;
}

void TToolBar::SetFlat(bool flat) {
    Flat = flat;
    if (!handle_) return;
    LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
    style = flat ? (style | TBSTYLE_FLAT) : (style & ~static_cast<LONG_PTR>(TBSTYLE_FLAT));
    SetWindowLongPtrA(handle_, GWL_STYLE, style);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TToolBar::SetHotImages(TImageList* images) {
    hotImages_ = images;
    if (images) images->FreeNotification(this);
    Rebuild();
}

bool TToolBar::DrawButton(TToolButton* button, TCustomDrawState state, TCanvas& canvas) {
    bool defaultDraw = true;
    if (!OnCustomDrawButton) return defaultDraw;
    canvas.Font.Assign(font_);
    canvas.Brush = TBrush{color_, TBrushStyle::Solid};
    canvas_ = &canvas;
    try {
        OnCustomDrawButton(this, button, state, defaultDraw);
    } catch (...) {
        canvas_ = nullptr;
        throw;
    }
    canvas_ = nullptr;
    return defaultDraw;
}

void TToolBar::InitWnd() {
    SendMessageA(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    Rebuild();
}

void TToolBar::FontChanged() {
    TWinControl::FontChanged();
    Rebuild();  // the buttons' width follows the captions' width
}

void TToolBar::Rebuild() {
    if (!handle_) return;
    while (SendMessageA(handle_, TB_BUTTONCOUNT, 0, 0) > 0) SendMessageA(handle_, TB_DELETEBUTTON, 0, 0);
    // No upper limit while the buttons are added, so that the control measures what they need.
    SendMessageA(handle_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(0, 0x7FFF));
    if (images_) {
        SendMessageA(handle_, TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->Width(), images_->Height()));
        SendMessageA(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_->Handle()));
    } else {
        SendMessageA(handle_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
        SendMessageA(handle_, TB_SETIMAGELIST, 0, 0);
    }
    if (hotImages_) SendMessageA(handle_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_->Handle()));
    if (disabledImages_) {
        SendMessageA(handle_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages_->Handle()));
    }
    std::vector<TBBUTTON> all;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        TToolButton* b = buttons_[i];
        b->command_ = static_cast<int>(i) + 100;
        TBBUTTON tb{};
        tb.idCommand = b->command_;
        if (b->Style == TToolButtonStyle::Separator || b->Style == TToolButtonStyle::Divider) {
            tb.fsStyle = BTNS_SEP;
            tb.iBitmap = b->Width > 0 ? b->Width : 8;
        } else {
            tb.fsStyle = b->Style == TToolButtonStyle::Check      ? BTNS_CHECK
                         : b->Style == TToolButtonStyle::DropDown ? BTNS_DROPDOWN
                                                                  : BTNS_BUTTON;
            tb.iBitmap = images_ && b->imageIndex_ >= 0 ? b->imageIndex_ : I_IMAGENONE;
            tb.fsState = b->enabled_ ? TBSTATE_ENABLED : 0;
            if (b->Down) tb.fsState |= TBSTATE_CHECKED;
            if (ShowCaptions) tb.iString = reinterpret_cast<INT_PTR>(b->caption_.c_str());
        }
        all.push_back(tb);
    }
    SendMessageA(handle_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    if (!all.empty()) SendMessageA(handle_, TB_ADDBUTTONSA, all.size(), reinterpret_cast<LPARAM>(all.data()));
    const int width = FittingButtonWidth();
    SendMessageA(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(width, ButtonHeight));
    SendMessageA(handle_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(width, width));
    InvalidateRect(handle_, nullptr, TRUE);
}

int TToolBar::FittingButtonWidth() {
    // ButtonWidth is the least width: a caption wider than it widens every button, as a bar that
    // shows captions must, or the control cuts the caption with an ellipsis. The control's own
    // measure counts too (it leaves room for an image beside the text even where there is none).
    if (!ShowCaptions) return ButtonWidth;
    const int measured = LOWORD(SendMessageA(handle_, TB_GETBUTTONSIZE, 0, 0));
    int widest = 0;
    HDC screen = GetDC(nullptr);
    {
        TCanvas canvas(screen);
        canvas.Font.Assign(font_);
        for (const TToolButton* b : buttons_) {
            if (b->Style == TToolButtonStyle::Button) widest = std::max(widest, canvas.TextWidth(b->caption_));
        }
    }
    ReleaseDC(nullptr, screen);
    const int padding = LOWORD(SendMessageA(handle_, TB_GETPADDING, 0, 0));
    const int image = List && images_ ? images_->Width() : 0;
    return std::max({ButtonWidth, measured, widest + image + padding});
}

void TToolBar::AddButton(TToolButton* button) {
    button->toolBar_ = this;
    buttons_.push_back(button);
    Rebuild();
}

void TToolBar::RemoveButton(TToolButton* button) {
    buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
    button->toolBar_ = nullptr;
    Rebuild();
}

void TToolBar::ButtonChanged(TToolButton* button) {
    if (!handle_) return;
    if (button->Style == TToolButtonStyle::Button) {
        SendMessageA(handle_, TB_ENABLEBUTTON, button->command_, MAKELPARAM(button->enabled_ ? TRUE : FALSE, 0));
    }
    TBBUTTONINFOA info{};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_TEXT | TBIF_IMAGE;
    info.pszText = const_cast<char*>(button->caption_.c_str());
    info.iImage = images_ && button->imageIndex_ >= 0 ? button->imageIndex_ : I_IMAGENONE;
    if (button->Style == TToolButtonStyle::Button) {
        SendMessageA(handle_, TB_SETBUTTONINFOA, button->command_, reinterpret_cast<LPARAM>(&info));
    }
}

TRect TToolBar::ButtonRect(int index) const {
    RECT r{};
    if (handle_) SendMessageA(handle_, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return TRect::From(r);
}

void TToolBar::SetImages(TImageList* images) {
    images_ = images;
    if (images) images->FreeNotification(this);
    Rebuild();
}

void TToolBar::SetDisabledImages(TImageList* images) {
    disabledImages_ = images;
    if (images) images->FreeNotification(this);
    Rebuild();
}

void TToolBar::ClearMenuButtons() {
    for (auto& b : menuButtons_) {
        buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), b.get()), buttons_.end());
        b->toolBar_ = nullptr;
    }
    menuButtons_.clear();
}

void TToolBar::SetMenu(TMainMenu* menu) {
    ClearMenuButtons();
    menu_ = menu;
    if (menu_) {
        menu_->FreeNotification(this);
        TMenuItem* items = menu_->Items();
        for (int i = 0; i < items->Count(); ++i) {
            auto button = std::make_unique<TToolButton>(nullptr);
            button->caption_ = items->Item(i)->Caption();
            button->menuItem_ = items->Item(i);
            button->toolBar_ = this;
            buttons_.push_back(button.get());
            menuButtons_.push_back(std::move(button));
        }
    }
    Rebuild();
}

void TToolBar::Notification(TComponent* component, Operation operation) {
    TWinControl::Notification(component, operation);
    if (operation != Operation::Remove) return;
    if (component == images_) SetImages(nullptr);
    if (component == disabledImages_) SetDisabledImages(nullptr);
    if (component == hotImages_) SetHotImages(nullptr);
    if (component == menu_) {
        menu_ = nullptr;
        ClearMenuButtons();
        Rebuild();
    }
}

bool TToolBar::HandleCommand(WORD, WORD id) {
    for (TToolButton* b : std::vector<TToolButton*>(buttons_)) {
        if (b->command_ == id) {
            b->Click();
            return true;
        }
    }
    return false;
}

bool TToolBar::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code != NM_CUSTOMDRAW || !OnCustomDrawButton) return false;
    auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(header);
    if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
        result = CDRF_NOTIFYITEMDRAW;
        return true;
    }
    if (cd->nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return false;
    TToolButton* button = nullptr;
    for (TToolButton* b : buttons_) {
        if (b->command_ == static_cast<int>(cd->nmcd.dwItemSpec)) button = b;
    }
    if (!button) return false;
    static const struct {
        UINT item;
        TCustomDrawStateFlag state;
    } states[] = {{CDIS_SELECTED, cdsSelected}, {CDIS_GRAYED, cdsGrayed}, {CDIS_DISABLED, cdsDisabled},
                  {CDIS_CHECKED, cdsChecked}, {CDIS_FOCUS, cdsFocused}, {CDIS_DEFAULT, cdsDefault},
                  {CDIS_HOT, cdsHot}, {CDIS_MARKED, cdsMarked}, {CDIS_INDETERMINATE, cdsIndeterminate}};
    TCustomDrawState state = 0;
    for (const auto& s : states) {
        if (cd->nmcd.uItemState & s.item) state |= s.state;
    }
    const int saved = SaveDC(cd->nmcd.hdc);
    bool defaultDraw;
    {
        TCanvas canvas(cd->nmcd.hdc);
        defaultDraw = DrawButton(button, state, canvas);
    }
    RestoreDC(cd->nmcd.hdc, saved);
    result = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    return true;
}

void TToolBar::ReadChild(TComponent* child) {
    if (auto* button = dynamic_cast<TToolButton*>(child)) AddButton(button);
    else TWinControl::ReadChild(child);
}

bool TToolBar::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Flat") {
        Flat = v.AsBool();
    } else if (name == "ShowCaptions") {
        ShowCaptions = v.AsBool();
    } else if (name == "List") {
        List = v.AsBool();
    } else if (name == "ButtonWidth") {
        ButtonWidth = v.AsInt();
    } else if (name == "ButtonHeight") {
        ButtonHeight = v.AsInt();
    } else if (name == "Images") {
        reader.Reference(v, [this](TComponent* c) { SetImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "HotImages") {
        reader.Reference(v, [this](TComponent* c) { SetHotImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "Transparent") {
        Transparent = v.AsBool();
    } else if (name == "DisabledImages") {
        reader.Reference(v, [this](TComponent* c) { SetDisabledImages(dynamic_cast<TImageList*>(c)); });
    } else if (name == "Menu") {
        reader.Reference(v, [this](TComponent* c) { SetMenu(dynamic_cast<TMainMenu*>(c)); });
    } else if (name == "EdgeBorders" || name == "AutoSize" || name == "Wrapable") {
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TCoolBar

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner) {
    align_ = TAlign::Top;
    width_ = 150;
    height_ = 75;
}

void TCoolBar::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = REBARCLASSNAMEA;
    p.style |= RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (EdgeBorders) p.exStyle |= WS_EX_STATICEDGE;
}

void TCoolBar::ChildrenCreated() {
    bool first = true;
    for (TControl* c : controls_) {
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w) continue;
        REBARBANDINFOA band{};
#ifdef REBARBANDINFOA_V6_SIZE
        band.cbSize = REBARBANDINFOA_V6_SIZE;
#else
        band.cbSize = sizeof(band);
#endif
        band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
        band.fStyle = RBBS_CHILDEDGE | (first ? 0 : RBBS_BREAK);
        band.hwndChild = w->Handle();
        band.cxMinChild = 0;
        band.cyMinChild = static_cast<UINT>(w->Height());
        band.cx = static_cast<UINT>(std::max(w->Width(), width_));
        SendMessageA(handle_, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
        first = false;
    }
}

void TCoolBar::Realign() {
    // The rebar places its bands itself.
}

bool TCoolBar::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "EdgeBorders") {
        EdgeBorders = !v.members.empty();
        return true;
    }
    if (name == "Bands" || name == "AutoSize" || name == "EdgeInner" || name == "EdgeOuter") return true;
    return TWinControl::SetProperty(name, v, reader);
}

// ---- TTabSheet / TPageControl

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    if (pageControl_) pageControl_->RemovePage(this);
    TWinControl::SetParent(parent);
    if (auto* pc = dynamic_cast<TPageControl*>(parent)) pc->AddPage(this);
}

void TTabSheet::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (pageControl_) pageControl_->UpdateTabs();
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    width_ = 289;
    height_ = 193;
}

void TPageControl::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = WC_TABCONTROLA;
    p.style |= WS_TABSTOP;
}

void TPageControl::AddPage(TTabSheet* page) {
    page->pageControl_ = this;
    pages_.push_back(page);
    if (!active_) active_ = page;
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
    pages_.erase(std::remove(pages_.begin(), pages_.end(), page), pages_.end());
    page->pageControl_ = nullptr;
    if (active_ == page) active_ = pages_.empty() ? nullptr : pages_.front();
    UpdateTabs();
}

void TPageControl::UpdateTabs() {
    if (!handle_) return;
    SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < pages_.size(); ++i) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(pages_[i]->Caption().c_str());
        SendMessageA(handle_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
    }
    const auto at = std::find(pages_.begin(), pages_.end(), active_);
    if (at != pages_.end()) SendMessageA(handle_, TCM_SETCURSEL, at - pages_.begin(), 0);
    Realign();
}

void TPageControl::ChildrenCreated() { UpdateTabs(); }

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    active_ = page;
    UpdateTabs();
    if (OnChange && !Loading()) OnChange(this);
}

void TPageControl::Realign() {
    RECT r{0, 0, ClientWidth(), ClientHeight()};
    if (handle_) SendMessageA(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    for (TTabSheet* page : pages_) {
        page->SetBounds(r.left, r.top, std::max<int>(0, r.right - r.left), std::max<int>(0, r.bottom - r.top));
        if (page->HandleAllocated()) ShowWindow(page->HandleOrNull(), page == active_ ? SW_SHOWNA : SW_HIDE);
    }
}

bool TPageControl::HandleNotify(NMHDR* header, LRESULT& result) {
    if (header->code != TCN_SELCHANGE) return false;
    const int index = static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
    if (index >= 0 && index < PageCount()) SetActivePage(pages_[static_cast<size_t>(index)]);
    result = 0;
    return true;
}

bool TPageControl::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "ActivePage") {
        reader.Reference(v, [this](TComponent* c) {
            if (auto* page = dynamic_cast<TTabSheet*>(c)) SetActivePage(page);
        });
        return true;
    }
    if (name == "OnChange") {
        OnChange = reader.Method<void(TComponent*)>(v);
        return true;
    }
    if (name == "TabIndex" || name == "MultiLine") return true;
    return TWinControl::SetProperty(name, v, reader);
}

}  // namespace ui
