#include "ListBox.h"

#include <algorithm>

#include "Reader.h"
#include "SysUtils.h"

namespace ui {

// ---- TListBox

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 97;
    color_ = clWindow;
}

void TListBox::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "LISTBOX";
    p.style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (borderStyle_ != 0) p.exStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::InitWnd() {
    for (const std::string& item : items_) SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TListBox::AddItem(const std::string& text) {
    items_.push_back(text);
    if (handle_) SendMessageA(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBox::DeleteItem(int index) {
    if (index < 0 || index >= Count()) ThrowListIndexError(index);
    items_.erase(items_.begin() + index);
    if (itemIndex_ >= Count()) itemIndex_ = -1;
    if (handle_) SendMessageA(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TListBox::Clear() {
    items_.clear();
    itemIndex_ = -1;
    if (handle_) SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
}

int TListBox::ItemIndex() const {
    if (!handle_) return itemIndex_;
    const LRESULT selected = SendMessageA(handle_, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

void TListBox::SetItemIndex(int index) {
    itemIndex_ = index >= 0 && index < Count() ? index : -1;
    if (handle_) SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
}

void TListBox::SetBorderStyle(int value) {
    borderStyle_ = value;
    if (!handle_) return;
    LONG_PTR exStyle = GetWindowLongPtrA(handle_, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    if (value != 0) exStyle |= WS_EX_CLIENTEDGE;
    SetWindowLongPtrA(handle_, GWL_EXSTYLE, exStyle);
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool TListBox::HandleCommand(WORD code, WORD) {
    if (code == LBN_SELCHANGE) {
        if (OnClick) OnClick(this);
        return true;
    }
    if (code == LBN_DBLCLK) {
        if (OnDblClick) OnDblClick(this);
        return true;
    }
    return false;
}

bool TListBox::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Items.Strings") {
        for (const Value& item : v.list) AddItem(item.AsText());
    } else if (name == "ItemIndex") {
        SetItemIndex(v.AsInt());
    } else if (name == "BorderStyle") {
        SetBorderStyle(EqualsIdent(v.AsIdent(), "bsNone") ? 0 : 1);
    } else if (name == "ItemHeight" || name == "IntegralHeight") {
        // The list fits its rows to its font.
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TCheckListBox

TCheckListBox::TCheckListBox(TComponent* owner) : TListBox(owner) {}

void TCheckListBox::FillParams(CreateParams& p) {
    TListBox::FillParams(p);
    p.style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

void TCheckListBox::InitWnd() {
    TListBox::InitWnd();
    FitItemHeight();
}

void TCheckListBox::FontChanged() {
    TListBox::FontChanged();
    if (handle_) {
        FitItemHeight();
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

// One row holds the box with a pixel above and below it, or a line of the font.
void TCheckListBox::FitItemHeight() {
    HDC dc = GetDC(handle_);
    HGDIOBJ old = SelectObject(dc, font_.Handle());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(handle_, dc);
    const int height = std::max<int>(kCheckWidth + 2, tm.tmHeight + 1);
    SendMessageA(handle_, LB_SETITEMHEIGHT, 0, height);
}

bool TCheckListBox::Checked(int index) const {
    return index >= 0 && index < static_cast<int>(checked_.size()) && checked_[static_cast<size_t>(index)] != 0;
}

void TCheckListBox::SetChecked(int index, bool checked) {
    if (index < 0 || index >= Count()) ThrowListIndexError(index);
    if (Checked(index) == checked) return;
    checked_[static_cast<size_t>(index)] = checked;
    InvalidateItem(index);
}

void TCheckListBox::SetFlat(bool value) {
    flat_ = value;
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TCheckListBox::AddItem(const std::string& text) {
    checked_.push_back(0);
    TListBox::AddItem(text);
}

void TCheckListBox::DeleteItem(int index) {
    TListBox::DeleteItem(index);
    checked_.erase(checked_.begin() + index);
}

void TCheckListBox::Clear() {
    checked_.clear();
    TListBox::Clear();
}

void TCheckListBox::InvalidateItem(int index) {
    if (!handle_) return;
    RECT r{};
    if (SendMessageA(handle_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle_, &r, TRUE);
}

void TCheckListBox::ToggleByUser(int index) {
    if (index < 0 || index >= Count() || !enabled_) return;
    SetChecked(index, !Checked(index));
    if (OnClickCheck) OnClickCheck(this);
}

LRESULT TCheckListBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = TListBox::WndProc(message, wParam, lParam);
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        const LRESULT hit = SendMessageA(handle_, LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
        // The high word is set when the point lies below the last string.
        if (HIWORD(hit) == 0 && x < kCheckWidth + 2 * kCheckMargin) ToggleByUser(LOWORD(hit));
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            ToggleByUser(ItemIndex());
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == ' ') return 0;  // already toggled; the list would look for a string starting with it
        break;
    default:
        break;
    }
    return TListBox::WndProc(message, wParam, lParam);
}

bool TCheckListBox::HandleDrawItem(DRAWITEMSTRUCT* d) {
    if (d->itemID == static_cast<UINT>(-1) || static_cast<int>(d->itemID) >= Count()) {
        if (d->itemState & ODS_FOCUS) DrawFocusRect(d->hDC, &d->rcItem);
        return true;
    }
    const int index = static_cast<int>(d->itemID);
    HDC dc = d->hDC;
    const int saved = SaveDC(dc);
    const bool selected = (d->itemState & ODS_SELECTED) != 0;
    RECT box = d->rcItem;
    box.right = box.left + kCheckWidth + 2 * kCheckMargin;
    RECT text = d->rcItem;
    text.left = box.right;
    // The stock brush of the context takes any colour: nothing to make or free per item.
    SelectObject(dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc, ColorToRGB(color_));
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(color_));
    FillRect(dc, &text, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    RECT check{box.left + kCheckMargin, 0, box.left + kCheckMargin + kCheckWidth, 0};
    check.top = box.top + (box.bottom - box.top - kCheckWidth) / 2;
    check.bottom = check.top + kCheckWidth;
    UINT state = DFCS_BUTTONCHECK;
    if (Checked(index)) state |= DFCS_CHECKED;
    if (flat_) state |= DFCS_FLAT;
    if (!enabled_) state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &check, DFC_BUTTON, state);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !enabled_ ? GetSysColor(COLOR_GRAYTEXT)
                     : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                : ColorToRGB(font_.Color));
    RECT label = text;
    label.left += 2;
    const std::string& caption = items_[static_cast<size_t>(index)];
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    RestoreDC(dc, saved);
    if (d->itemState & ODS_FOCUS) DrawFocusRect(dc, &text);
    return true;
}

bool TCheckListBox::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Flat") {
        SetFlat(v.AsBool());
    } else if (name == "OnClickCheck") {
        OnClickCheck = reader.Method<void(TComponent*)>(v);
    } else {
        return TListBox::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
