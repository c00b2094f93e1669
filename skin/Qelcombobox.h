// The combo box with a flat look: after the system has painted it, a flat coloured drop-down button
// (a picture in MacOS) with a small triangle is painted over the system's, and a one-pixel frame
// around the whole window, in the colours of the style.
#pragma once
#include "ComboBox.h"
#include "Qelthemes.h"

namespace skin {

class TqelComboBox : public ui::TComboBox, public IqelStyleFollower {
public:
    static constexpr int kButtonWidth = 18;

    explicit TqelComboBox(ui::TComponent* owner);

    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Takes the style's button, arrow and border colours; Custom keeps the present ones.
    void SetUIStyle(TqelUIStyle style);
    ui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(ui::TColor color);
    ui::TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(ui::TColor color);
    ui::TColor ArrowColor() const { return arrowColor_; }
    void SetArrowColor(ui::TColor color);
    void SetEnabled(bool enabled) override;

    // The drop-down button over the right 18 pixels of a canvas as big as the control.
    void DrawButton(ui::TCanvas& canvas);

    void FollowContainerStyle(TqelUIStyle style) override { SetUIStyle(style); }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

private:
    void DrawArrow(ui::TCanvas& canvas, int x, int y);
    void Redraw();

    ui::TColor borderColor_ = 0, buttonColor_ = 0, arrowColor_ = 0;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
};

}  // namespace skin
