#include "ControlBar.h"

#include "Reader.h"

namespace ui {

TControlBar::TControlBar(TComponent* owner) : TWinControl(owner) {
    align_ = TAlign::Top;
    width_ = 150;
    height_ = 50;
}

TRect TControlBar::BandRect(const TControl* c) const {
    return {c->Left() - kGripWidth, c->Top() - 2, c->Left() + c->Width() + 2, c->Top() + c->Height() + 2};
}

void TControlBar::Paint(TCanvas& canvas) {
    canvas.Brush = TBrush{color_, TBrushStyle::Solid};
    canvas.FillRect(ClientRect());
    for (TControl* c : controls_) {
        if (!c->Visible()) continue;
        TRect band = BandRect(c);
        TBandPaintOptions options = bpoGrabber | bpoFrame;
        if (OnBandPaint) OnBandPaint(this, c, &canvas, band, options);
        if (options & bpoFrame) {
            RECT r = band.Win();
            DrawEdge(canvas.Handle(), &r, BDR_RAISEDINNER, BF_RECT);
        }
        if (options & bpoGrabber) {
            RECT grip{band.Left + 3, band.Top + 3, band.Left + 6, band.Bottom - 3};
            DrawEdge(canvas.Handle(), &grip, BDR_RAISEDINNER, BF_RECT);
        }
    }
    PaintGraphicChildren(canvas);
}

bool TControlBar::SetProperty(const std::string& name, const Value& v, Reader& reader) {
    if (name == "OnBandPaint") {
        OnBandPaint = reader.Method<void(TComponent*, TControl*, TCanvas*, TRect&, TBandPaintOptions&)>(v);
    } else if (name == "AutoSize" || name == "RowSize" || name == "RowSnap" || name == "DockSite") {
    } else {
        return TWinControl::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace ui
