// A thin flat progress bar: the filled part is a style picture (or the user's) stretched over the
// share of Position between Min and Max, the rest a plain colour, a one-pixel frame and, lying
// flat, the percentage in the middle. Painted through an off-screen bitmap.
#pragma once
#include <cstdint>

#include "ExtCtrls.h"
#include "Qelthemes.h"

namespace skin {

enum class TqelProgressBarOrientation : uint8_t { Horizontal = 0, Vertical = 1 };

class TqelProgressBar : public ui::TCustomPanel, public IqelStyleFollower {
public:
    static constexpr int kThickness = 12;

    explicit TqelProgressBar(ui::TComponent* owner);

    int Max() const { return max_; }
    int Min() const { return min_; }
    int Position() const { return position_; }
    void SetMax(int value);
    void SetMin(int value);
    void SetPosition(int value);
    TqelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TqelUIStyle style);
    TqelProgressBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TqelProgressBarOrientation orientation);
    ui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(ui::TColor color);
    // The colour of the unfilled part.
    void SetColor(ui::TColor color) override;
    ui::TPicture Picture;
    void SetPicture(const ui::TBitmap& bitmap);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    ui::TColor CaptionColor() const { return captionColor_; }
    void SetCaptionColor(ui::TColor color);

    // (Position - Min) * 100 / (Max - Min), not clamped; 0 for an empty range (Max <= Min). In 64
    // bits: the difference of two ints, times 100, does not fit in 32.
    int64_t GetPercentFromPosition() const;
    // The filled share of `extent` pixels: 0 up to Min or for an empty range, all past Max.
    int GetWidthFromPosition(int extent) const;

    void SetBounds(int left, int top, int width, int height) override;
    void FollowContainerStyle(TqelUIStyle style) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    void UpdateBar(int length);
    void UpdatePicture();
    void UpdateProgress();
    void PaintHorizontal(ui::TBitmap& bar);
    void PaintVertical(ui::TBitmap& bar);

    int max_ = 100, min_ = 0, position_ = 50;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    TqelProgressBarOrientation orientation_ = TqelProgressBarOrientation::Horizontal;
    ui::TColor borderColor_ = 0;
    bool showCaption_ = true;
    ui::TColor captionColor_ = 0;
};

}  // namespace skin
