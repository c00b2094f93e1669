// A label whose caption gets an offset shadow: written again in a back colour at the origin and
// in a front colour two pixels right and down.
#pragma once
#include "StdCtrls.h"

class TMyLabel : public ui::TCustomLabel {
public:
    explicit TMyLabel(ui::TComponent* owner);

    ui::TColor PREColor() const { return preColor_; }
    ui::TColor BKColor() const { return bkColor_; }
    void SetPreColor(ui::TColor color);
    void SetBkColor(ui::TColor color);
    // Every assignment, also of the value it already has, widens the label by one pixel.
    void SetAutoSize(bool value) override;

    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void Paint() override;

private:
    ui::TColor preColor_ = 0;
    ui::TColor bkColor_ = 0;
};
