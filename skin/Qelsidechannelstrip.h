// A flat strip of the side channel (its side bar, its caption strip): a plain colour, the caption
// aligned left, right or centred and centred upright; a panel, so a press and release of the left
// button over it clicks it.
#pragma once
#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace skin {

class TqelSideChannelStrip : public ui::TCustomPanel {
public:
    explicit TqelSideChannelStrip(ui::TComponent* owner);

    ui::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(ui::TAlignment alignment);
    // Its own font from then on, not its parent's.
    void SetFont(const ui::TFont& font);

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    ui::TAlignment alignment_ = ui::TAlignment::Center;
};

}  // namespace skin
