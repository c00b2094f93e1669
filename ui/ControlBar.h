// A bar that shows each child control as a band with a grip at its left.
#pragma once
#include "Controls.h"

namespace ui {

enum TBandPaintOption : unsigned { bpoGrabber = 1, bpoFrame = 2 };
using TBandPaintOptions = unsigned;
// (bar, band control, canvas, band rectangle, options the bar then draws itself)
using TBandPaintEvent = std::function<void(TComponent*, TControl*, TCanvas*, TRect&, TBandPaintOptions&)>;

class TControlBar : public TWinControl {
public:
    static constexpr int kGripWidth = 11;  // room left of each band's control
    explicit TControlBar(TComponent* owner);
    TBandPaintEvent OnBandPaint;
    // The band around a child control, in the bar's client coordinates.
    TRect BandRect(const TControl* control) const;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void Paint(TCanvas& canvas) override;
};

}  // namespace ui
