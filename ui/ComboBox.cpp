#include "ComboBox.h"

#include "Reader.h"

namespace ui {

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    width_ = 145;
    height_ = 21;
    color_ = clWindow;
}

void TComboBox::FillParams(CreateParams& p) {
    TWinControl::FillParams(p);
    p.className = "COMBOBOX";
    p.style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
}

void TComboBox::InitWnd() {
    for (const std::string& item : items_) SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    SetWindowTextA(handle_, text_.c_str());
}

void TComboBox::AddItem(const std::string& text) {
    items_.push_back(text);
    if (handle_) SendMessageA(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TComboBox::Text() const {
    if (!handle_) return text_;
    std::string text(static_cast<size_t>(GetWindowTextLengthA(handle_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void TComboBox::SetText(const std::string& text) {
    text_ = text;
    if (handle_) SetWindowTextA(handle_, text.c_str());
}

bool TComboBox::DroppedDown() const {
    return handle_ && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

bool TComboBox::HandleCommand(WORD code, WORD) {
    if (code != CBN_EDITCHANGE && code != CBN_SELCHANGE) return false;
    if (OnChange) OnChange(this);
    return true;
}

bool TComboBox::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "Items.Strings") {
        for (const Value& item : v.list) AddItem(item.AsText());
    } else if (name == "ItemHeight" || name == "Style" || name == "ItemIndex") {
    } else if (name == "OnChange") {
        OnChange = reader.Method<void(TComponent*)>(v);
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
