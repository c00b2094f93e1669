// A tree view with the flat one-pixel frame of the bordered controls.
#pragma once
#include "ComCtrls.h"
#include "Qelbordered.h"

namespace skin {

class TqelTreeView : public TqelBordered<ui::TTreeView> {
public:
    explicit TqelTreeView(ui::TComponent* owner) : TqelBordered<ui::TTreeView>(owner) {}
};

}  // namespace skin
