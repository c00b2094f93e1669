#include "RadioButton.h"

namespace ui {

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner, BS_AUTORADIOBUTTON) {
    width_ = 113;
    height_ = 17;
}

}  // namespace ui
