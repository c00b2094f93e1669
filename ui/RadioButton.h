// A radio button over the system's button; buttons of one parent exclude each other.
#pragma once
#include "StdCtrls.h"

namespace ui {

class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner);
};

}  // namespace ui
