// Push buttons, check boxes and radio buttons drawn wholly from pictures: one picture per state
// (normal, mouse over, pressed, disabled), named by the style or given by the user, with the
// caption drawn over it. Every paint goes through an off-screen bitmap copied in one step.
#pragma once
#include <string>

#include "Controls.h"
#include "Graphics.h"
#include "Qelthemes.h"

namespace skin {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TqelCustomButton : public ui::TWinControl, public IqelStyleFollower {
public:
    explicit TqelCustomButton(ui::TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void FSetCaption(const std::string& caption);
    void SetCaption(const std::string& caption) override { FSetCaption(caption); }
    bool AutoSize() const { return autoSize_; }
    void FSetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    void SetEnabled(bool enabled) override;
    TqelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TqelUIStyle style);
    int ModalResult = 0;
    bool PicTransparent() const { return picTransparent_; }
    // 0 stands for the program's own module.
    HMODULE GetResHandle() const;
    virtual void SetResHandle(HMODULE module);

    virtual std::string GetPicNormal() const { return picNormal_; }
    virtual std::string GetPicMouseOn() const { return picMouseOn_; }
    virtual std::string GetPicMouseDown() const { return picMouseDown_; }
    virtual void SetPicNormal(const std::string& name);
    virtual void SetPicMouseOn(const std::string& name);
    virtual void SetPicMouseDown(const std::string& name);

    bool Hover() const { return hover_; }
    bool Pressed() const { return pressed_; }
    bool Focused() const;

    // The input the window procedure turns messages into.
    virtual void MouseDown(ui::TMouseButton button, int x, int y);
    virtual void MouseUp(ui::TMouseButton button, int x, int y);
    void MouseMove(int x, int y);
    void MouseEnter();
    void MouseLeave();
    void KeyDown(WORD key);
    virtual void KeyUp(WORD key);
    // The accelerator character of the dialog; true when it was this control's.
    bool DialogChar(char c) override;
    // Acts only while the control itself delivers the click.
    virtual void Click();

    ui::TNotifyEvent OnMouseEnter, OnMouseExit;

    void FollowContainerStyle(TqelUIStyle style) override;
    void PaintTo(ui::TCanvas& canvas) override { Paint(canvas); }
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void AutoSizeChanged();
    virtual void CaptionChanged() {}
    virtual void FontChangedHook() {}
    virtual void TransparentChanged() { picTransparent_ = transparent_; }
    virtual void EnableChanged() {}
    virtual void UIStyleChanged();
    virtual void PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture);
    virtual void PaintText(ui::TCanvas& canvas, const std::string& caption);
    virtual void PaintFocus(ui::TCanvas& canvas);
    virtual void PaintButtonNormal(ui::TBitmap& picture);
    virtual void PaintButtonMouseOn(ui::TBitmap& picture);
    virtual void PaintButtonMouseDown(ui::TBitmap& picture);
    virtual void PaintButtonDisabled(ui::TBitmap& picture);
    virtual void SetButtonPic(TqelUIStyle style) = 0;
    void Paint(ui::TCanvas& canvas) override;
    void FontChanged() override;
    void FillParams(ui::CreateParams& params) override;
    void DeliverClick();
    void Changed() { Invalidate(); }
    // The picture-named buttons read their action from a description.
    void ReadAction(const ui::Value& value, ui::Reader& reader);
    // Outside for the pointer: a point on the right or bottom edge itself counts as inside.
    bool Outside(int x, int y) const;

    std::string picNormal_, picMouseDown_, picMouseOn_;
    bool autoSize_ = false;
    std::string caption_;
    bool tabStop_ = false;
    bool transparent_ = false;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    bool picTransparent_ = false;
    bool hover_ = false, pressed_ = false, clickGuard_ = false;
    HMODULE resHandle_ = nullptr;

private:
    void ReleaseOwnCapture();
    bool releasingCapture_ = false;
};

class TqelButton : public TqelCustomButton {
public:
    explicit TqelButton(ui::TComponent* owner);

    ui::TBitmap& Glyph() { return glyph_; }
    void SetGlyph(const ui::TBitmap& glyph);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    POINT TextOrigin() const { return textOrigin_; }

    // Style-driven names read empty; naming a picture switches the button to Custom.
    std::string GetPicNormal() const override;
    std::string GetPicMouseOn() const override;
    std::string GetPicMouseDown() const override;
    void SetPicNormal(const std::string& name) override;
    void SetPicMouseOn(const std::string& name) override;
    void SetPicMouseDown(const std::string& name) override;

    void SetBounds(int left, int top, int width, int height) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void UIStyleChanged() override;
    void PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) override;
    void PaintText(ui::TCanvas& canvas, const std::string& caption) override;
    void PaintFocus(ui::TCanvas& canvas) override;
    void SetButtonPic(TqelUIStyle style) override;

private:
    void PaintGlyph(ui::TCanvas& canvas);

    ui::TBitmap glyph_;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    POINT textOrigin_{0, 0};
    int spacing_ = 4;
};

class TqelImageButton : public TqelCustomButton {
public:
    explicit TqelImageButton(ui::TComponent* owner);
    ui::TPicture PicNormal, PicMouseOn, PicMouseDown, PicDisabled;
    void SetPicNormalF(const ui::TBitmap& bitmap);
    void SetPicMouseOnF(const ui::TBitmap& bitmap);
    void SetPicMouseDownF(const ui::TBitmap& bitmap);
    void SetPicDisabledF(const ui::TBitmap& bitmap);
    // In a form description each picture names a bitmap resource.
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    // A container's style is no business of a button drawn from its own pictures.
    void FollowContainerStyle(TqelUIStyle) override {}

protected:
    void AutoSizeChanged() override;
    void PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) override;
    void PaintButtonNormal(ui::TBitmap& picture) override;
    void PaintButtonMouseOn(ui::TBitmap& picture) override;
    void PaintButtonMouseDown(ui::TBitmap& picture) override;
    void PaintButtonDisabled(ui::TBitmap& picture) override;
    void SetButtonPic(TqelUIStyle) override {}

private:
    void Fill(ui::TBitmap& picture, ui::TPicture& preferred);
};

class TqelCustomButtonEx : public TqelCustomButton {
public:
    explicit TqelCustomButtonEx(ui::TComponent* owner);

    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    // Fits the control to its picture and caption.
    void ReplaceControl();
    ui::TRect TextRect() const { return textRect_; }

    void MouseUp(ui::TMouseButton button, int x, int y) override;
    void KeyUp(WORD key) override;
    bool DialogChar(char c) override;
    void SetBounds(int left, int top, int width, int height) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    virtual void DoClick() {}
    virtual void CheckStateChanged() {}
    virtual int GetPicWidth() = 0;
    virtual int GetPicHeight() = 0;
    void AutoSizeChanged() override;
    void CaptionChanged() override;
    void FontChangedHook() override;
    void UIStyleChanged() override;
    void PaintPic(ui::TCanvas& canvas, ui::TBitmap& picture) override;
    void PaintText(ui::TCanvas& canvas, const std::string& caption) override;
    void PaintFocus(ui::TCanvas& canvas) override;

    bool checked_ = false;
    ui::TRect textRect_;

private:
    bool fitting_ = false;
};

class TqelCheckBox : public TqelCustomButtonEx {
public:
    explicit TqelCheckBox(ui::TComponent* owner);
    void UpdateCheckState() { SetButtonPic(uiStyle_); }

protected:
    void TransparentChanged() override { picTransparent_ = false; }
    void EnableChanged() override { UpdateCheckState(); }
    void UIStyleChanged() override;
    void SetButtonPic(TqelUIStyle style) override;
    void DoClick() override { SetChecked(!checked_); }
    void CheckStateChanged() override { UpdateCheckState(); }
    int GetPicWidth() override;
    int GetPicHeight() override;
    // Style table entries of the checked and unchecked picture sets.
    struct Entries {
        int checkedEnabled, checkedDisabled, checkedOn, checkedDown;
        int uncheckedEnabled, uncheckedDisabled, uncheckedOn, uncheckedDown;
    };
    void SetPictures(TqelUIStyle style, const Entries& entries);
};

class TqelRadioButton : public TqelCheckBox {
public:
    explicit TqelRadioButton(ui::TComponent* owner);
    int GroupIndex = 0;
    void UnCheckGroup();
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void TransparentChanged() override { picTransparent_ = true; }
    void SetButtonPic(TqelUIStyle style) override;
    void DoClick() override {
        if (!checked_) SetChecked(true);
    }
    void CheckStateChanged() override;
};

}  // namespace skin
