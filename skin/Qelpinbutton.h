// The side channel's pin: a flat speed button alone in its group that may be all up, so a click
// turns it down and the next one up again. Its frame shows only while it is down or pressed.
#pragma once
#include "StdCtrls.h"

namespace skin {

class TqelPinButton : public ui::TSpeedButton {
public:
    explicit TqelPinButton(ui::TComponent* owner);

    bool Down() const { return down_; }
    void SetDown(bool down);

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    bool down_ = false, pressed_ = false;
};

}  // namespace skin
