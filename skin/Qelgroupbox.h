// The flat group box: a picture panel with a one-pixel frame line in the border colour, broken at
// the top left for its caption.
#pragma once
#include "Qelimagepanel.h"

namespace skin {

class TqelCustomGroupBox : public TqelCustomPanel, public IqelStyleFollower {
public:
    explicit TqelCustomGroupBox(ui::TComponent* owner);

    ui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(ui::TColor color);
    // The group box's own caption; the panel's text stays one blank.
    const std::string& Caption() const { return groupCaption_; }
    void SetCaption(const std::string& caption) override;
    // Disables or enables every child control with the box.
    void SetEnabled(bool enabled) override;
    // The part of the client area that the items inside may use.
    ui::TRect GetClient() const;

    // Border colour, font colour and face colour of the style.
    void FollowContainerStyle(TqelUIStyle style) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    ui::TColor borderColor_ = 0;
    std::string groupCaption_ = "qelGroupBox";
};

class TqelGroupBox : public TqelCustomGroupBox {
public:
    explicit TqelGroupBox(ui::TComponent* owner) : TqelCustomGroupBox(owner) {}
};

}  // namespace skin
