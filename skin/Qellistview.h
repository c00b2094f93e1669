// A list view with the flat one-pixel frame of the bordered controls.
#pragma once
#include "ComCtrls.h"
#include "Qelbordered.h"

namespace skin {

class TqelListView : public TqelBordered<ui::TListView> {
public:
    explicit TqelListView(ui::TComponent* owner) : TqelBordered<ui::TListView>(owner) {}
};

}  // namespace skin
