// A memo with the flat one-pixel frame of the bordered controls.
#pragma once
#include "StdCtrls.h"
#include "Qelbordered.h"

namespace skin {

class TqelMemo : public TqelBordered<ui::TMemo> {
public:
    explicit TqelMemo(ui::TComponent* owner) : TqelBordered<ui::TMemo>(owner) {}
};

}  // namespace skin
