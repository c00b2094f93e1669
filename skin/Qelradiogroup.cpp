#include "Qelradiogroup.h"

#include "Reader.h"
#include "SysUtils.h"

namespace skin {

// ---- TqelCheckGroup

TqelCheckGroup::TqelCheckGroup(ui::TComponent* owner) : TqelCustomGroupBox(owner) {
    SetCaption("qelCheckGroup");
    SetUIStyle(GetQELFormStyle(owner));
    SetTransparent(false);
    ui::TControl::OnClick = [this](ui::TComponent*) { DoClick(); };
}

void TqelCheckGroup::SetItems(const std::vector<std::string>& items) {
    items_ = items;
    ItemChanged();
}

void TqelCheckGroup::AddItem(const std::string& text) {
    items_.push_back(text);
    ItemChanged();
}

void TqelCheckGroup::DeleteItem(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) ui::ThrowListIndexError(index);
    items_.erase(items_.begin() + index);
    ItemChanged();
}

void TqelCheckGroup::ClearItems() {
    items_.clear();
    ItemChanged();
}

void TqelCheckGroup::ItemChanged() {
    const bool created = UpdateButtons();
    ArrangeButtons();
    if (created) {
        // Through the setter both ways: the group and every button, the new ones too, apply it again.
        SetTransparent(!Transparent());
        SetTransparent(!Transparent());
    }
}

bool TqelCheckGroup::UpdateButtons() {
    bool created = false;
    while (buttons_.size() < items_.size()) {
        TqelCheckBox* button = CreateAButton();
        button->SetParent(this);
        button->ParentColorChanged();  // a button that follows its parent's colour takes the group's now
        button->FSetAutoSize(true);
        button->SetUIStyle(uiStyle_);
        button->SetTransparent(Transparent());
        button->OnClick = [this](ui::TComponent*) { DoClick(); };
        buttons_.push_back(button);
        created = true;
    }
    while (buttons_.size() > items_.size()) {
        delete buttons_.back();
        buttons_.pop_back();
    }
    for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->FSetCaption(items_[i]);
    return created;
}

void TqelCheckGroup::ArrangeButtons() {
    if (buttons_.empty()) return;
    const ui::TRect r = GetClient();
    const int top = r.Top + topMargin_;
    const int avail = r.Bottom - top;
    const int count = ButtonCount();
    const int rows = (count + columns_ - 1) / columns_;
    const int colWidth = (width_ - 10) / columns_;  // the whole width, not the client's
    const int rowHeight = avail / rows;
    const int firstTop = (avail % rows) / 2 + top;
    for (int i = 0; i < count; ++i) {
        TqelCheckBox* button = buttons_[static_cast<size_t>(i)];
        button->SetBounds((i / rows) * colWidth + 8, (i % rows) * rowHeight + firstTop, button->Width(), button->Height());
    }
}

void TqelCheckGroup::BoundsChanged() {
    TqelCustomGroupBox::BoundsChanged();
    ArrangeButtons();
}

void TqelCheckGroup::SetColumns(int columns) {
    if (columns < 1) return;
    columns_ = columns;
    ArrangeButtons();
}

void TqelCheckGroup::SetTopMargin(int margin) {
    if (margin < 0) return;
    topMargin_ = margin;
    ArrangeButtons();
}

bool TqelCheckGroup::GetChecked(int index) const {
    return index >= 0 && index < ButtonCount() && buttons_[static_cast<size_t>(index)]->Checked();
}

void TqelCheckGroup::SetChecked(int index, bool checked) {
    if (index < 0 || index >= ButtonCount()) ui::ThrowListIndexError(index);
    buttons_[static_cast<size_t>(index)]->SetChecked(checked);
}

void TqelCheckGroup::SetUIStyle(TqelUIStyle style) {
    uiStyle_ = style;
    UpdateUIStyle(style);
    for (TqelCheckBox* button : buttons_) {
        button->SetUIStyle(style);
        if (style != TqelUIStyle::Custom) button->SetColor(GetThemeColor(style, theme::kPanelColor));
    }
}

// The group's own colours only; the buttons follow through SetUIStyle.
void TqelCheckGroup::UpdateUIStyle(TqelUIStyle style) {
    if (style == TqelUIStyle::Custom) return;
    SetBorderColor(GetThemeColor(style, theme::kBorderColor));
    font_.Color = GetThemeColor(style, theme::kGroupFontColor);
    font_.Changed();
    SetColor(GetThemeColor(style, theme::kPanelColor));
}

void TqelCheckGroup::SetTransparent(bool value) {
    TqelCustomGroupBox::SetTransparent(value);
    for (TqelCheckBox* button : buttons_) button->SetTransparent(value);
}

void TqelCheckGroup::DoClick() {
    if (OnClick) OnClick(this);
}

TqelCheckBox* TqelCheckGroup::CreateAButton() { return new TqelCheckBox(this); }

bool TqelCheckGroup::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Items.Strings") {
        std::vector<std::string> items;
        for (const ui::Value& item : v.list) items.push_back(item.AsText());
        SetItems(items);
    } else if (name == "Columns") {
        SetColumns(v.AsInt());
    } else if (name == "TopMargin") {
        SetTopMargin(v.AsInt());
    } else if (name == "UIStyle") {
        SetUIStyle(ParseUIStyle(v.AsIdent()));
    } else if (name == "OnClick") {
        OnClick = reader.Method<void(ui::TComponent*)>(v);
    } else {
        return TqelCustomGroupBox::SetProperty(name, v, reader);
    }
    return true;
}

// ---- TqelRadioGroup

TqelRadioGroup::TqelRadioGroup(ui::TComponent* owner) : TqelCheckGroup(owner) { SetCaption("qelRadioGroup"); }

TqelCheckBox* TqelRadioGroup::CreateAButton() { return new TqelRadioButton(this); }

int TqelRadioGroup::ItemIndex() const {
    for (int i = 0; i < ButtonCount(); ++i) {
        if (Button(i)->Checked()) return i;
    }
    return -1;
}

void TqelRadioGroup::SetItemIndex(int index) {
    if (index > static_cast<int>(Items().size()) - 1 || index < -1) return;
    if (index == -1) {
        for (int i = 0; i < ButtonCount(); ++i) Button(i)->SetChecked(false);
        return;
    }
    // The radio button clears its siblings itself.
    Button(index)->SetChecked(true);
}

bool TqelRadioGroup::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "ItemIndex") {
        SetItemIndex(v.AsInt());
        return true;
    }
    return TqelCheckGroup::SetProperty(name, v, reader);
}

}  // namespace skin
