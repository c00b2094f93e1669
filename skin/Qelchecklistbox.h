// A check list box with the flat frame of the bordered controls in a one-pixel band, flat check
// boxes, and a border that cannot be changed: whatever style or width is asked for, it keeps no
// system border and the one-pixel band, and reports a single border one pixel wide.
#pragma once
#include "ListBox.h"
#include "Qelbordered.h"

namespace skin {

class TqelCheckListBox : public TqelBordered<ui::TCheckListBox> {
public:
    explicit TqelCheckListBox(ui::TComponent* owner) : TqelBordered<ui::TCheckListBox>(owner) {
        SetFlat(true);
        SetBorderStyle(1);
        SetBorderWidth(1);
    }

    int BorderStyle() const override { return 1; }
    void SetBorderStyle(int) override { ForceBorder(); }
    int BorderWidth() const { return 1; }
    void SetBorderWidth(int) { ForceBorder(); }

    bool SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) override {
        if (name != "BorderWidth") return TqelBordered<ui::TCheckListBox>::SetProperty(name, v, reader);
        SetBorderWidth(v.AsInt());
        return true;
    }

private:
    void ForceBorder() {
        ui::TCheckListBox::SetBorderStyle(0);
        SetBandWidth(1);
    }
};

}  // namespace skin
