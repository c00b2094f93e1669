// An edit field with the flat one-pixel frame of the bordered controls.
#pragma once
#include "StdCtrls.h"
#include "Qelbordered.h"

namespace skin {

class TqelEdit : public TqelBordered<ui::TEdit> {
public:
    explicit TqelEdit(ui::TComponent* owner) : TqelBordered<ui::TEdit>(owner) {}
};

}  // namespace skin
