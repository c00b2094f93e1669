// A list box with the flat one-pixel frame of the bordered controls.
#pragma once
#include "ListBox.h"
#include "Qelbordered.h"

namespace skin {

class TqelListBox : public TqelBordered<ui::TListBox> {
public:
    explicit TqelListBox(ui::TComponent* owner) : TqelBordered<ui::TListBox>(owner) {}
};

}  // namespace skin
