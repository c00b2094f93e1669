// A panel that paints a picture (as it is, stretched or tiled) or a plain colour, optionally over a
// copy of its parent's background, and a caption either aligned or at a given point. All painting
// goes through an off-screen bitmap; the panel never erases its background.
#pragma once
#include <cstdint>

#include "ExtCtrls.h"
#include "Qelthemes.h"

namespace skin {

enum class TqelDrawStyle : uint8_t { Normal = 0, Stretch = 1, Tile = 2 };
enum class TAlignment : uint8_t { LeftJustify, RightJustify, Center };

class TqelCustomPanel : public ui::TCustomPanel, public IqelStyleContainer {
public:
    explicit TqelCustomPanel(ui::TComponent* owner);

    ui::TPicture Picture;
    void SetPicture(const ui::TBitmap& bitmap);
    bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TqelDrawStyle DrawStyle() const { return drawStyle_; }
    void SetDrawStyle(TqelDrawStyle style);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    // -1 keeps the caption aligned.
    int CaptionPosX() const { return captionX_; }
    int CaptionPosY() const { return captionY_; }
    void SetCaptionPosX(int value);
    void SetCaptionPosY(int value);
    // Where the caption was last painted.
    ui::TRect TextRect() const { return textRect_; }

    void SetCaption(const std::string& caption) override;
    void UpdateUIStyle(TqelUIStyle style) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    // Fills the client area of the window with the colour at once.
    virtual void ClearPanel();
    // Hook for descendants that repaint only the caption.
    virtual void RepaintText(const ui::TRect& rect) { (void)rect; }
    virtual void PictureChanged();
    void Paint(ui::TCanvas& canvas) override;
    void BoundsChanged() override;

private:
    void ApplyAutoSize();
    void ApplyTransparent();

    bool transparent_ = false, autoSize_ = false;
    int captionX_ = -1, captionY_ = -1;
    TqelDrawStyle drawStyle_ = TqelDrawStyle::Normal;
    TAlignment alignment_ = TAlignment::Center;
    ui::TRect textRect_{};
};

class TqelImagePanel : public TqelCustomPanel {
public:
    explicit TqelImagePanel(ui::TComponent* owner) : TqelCustomPanel(owner) {}
};

}  // namespace skin
