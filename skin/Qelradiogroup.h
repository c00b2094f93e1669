// Groups of skinned item buttons made from a list of strings and laid out in columns (the first
// column filled top to bottom before the next): independent check boxes, or radio buttons of
// which one at most is checked. Both are drawn by the flat group box and take their colours and
// the buttons' pictures from the style.
#pragma once
#include <string>
#include <vector>

#include "Qelbutton.h"
#include "Qelgroupbox.h"

namespace skin {

class TqelCheckGroup : public TqelCustomGroupBox {
public:
    explicit TqelCheckGroup(ui::TComponent* owner);

    // Every change of the strings makes or frees buttons at the end of the list, rewrites all
    // captions and lays the buttons out again; buttons that stay keep their check state.
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& text);
    void DeleteItem(int index);
    void ClearItems();

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TqelCheckBox* Button(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    int Columns() const { return columns_; }
    void SetColumns(int columns);  // below 1: ignored
    int TopMargin() const { return topMargin_; }
    void SetTopMargin(int margin);  // negative: ignored
    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Custom keeps the colours of the group and of its buttons as they are.
    void SetUIStyle(TqelUIStyle style);
    // false for an index outside the buttons.
    bool GetChecked(int index) const;
    // An index outside the buttons throws.
    void SetChecked(int index, bool checked);

    // The group's own click: whatever was clicked (the group or one of its buttons), the group
    // is the sender.
    ui::TNotifyEvent OnClick;

    void SetTransparent(bool value) override;
    void UpdateUIStyle(TqelUIStyle style) override;
    void FollowContainerStyle(TqelUIStyle style) override { SetUIStyle(style); }
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void ArrangeButtons();

protected:
    virtual TqelCheckBox* CreateAButton();
    void BoundsChanged() override;
    void DoClick();

private:
    void ItemChanged();
    bool UpdateButtons();

    std::vector<std::string> items_;
    std::vector<TqelCheckBox*> buttons_;  // owned as components by the group
    int columns_ = 1;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    int topMargin_ = 8;
};

class TqelRadioGroup : public TqelCheckGroup {
public:
    explicit TqelRadioGroup(ui::TComponent* owner);
    // The first checked button; -1 when none is.
    int ItemIndex() const;
    // -1 clears every button; an index past the last string or below -1 is ignored.
    void SetItemIndex(int index);
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    TqelCheckBox* CreateAButton() override;
};

}  // namespace skin
