// Labels, buttons, edits, memos, check boxes and scroll bars.
#pragma once
#include "Controls.h"

namespace ui {

enum class TAlignment { LeftJustify, RightJustify, Center };
enum class TTextLayout { Top, Center, Bottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool value);
    TAlignment Alignment = TAlignment::LeftJustify;
    TTextLayout Layout = TTextLayout::Top;
    bool Transparent = false, WordWrap = false, ShowAccelChar = true;
    void SetCaption(const std::string& caption) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void Paint() override;  // background unless transparent, then the caption; leaves the brush clear
    void AdjustBounds();
    void FontChanged() override;
    bool autoSize_ = true;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    bool Default = false, Cancel = false;
    int ModalResult = mrNone;
    void Click();
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
};

// A system button that holds a checked state: the check box and the radio button.
class TButtonControl : public TWinControl {
public:
    bool Checked() const;
    void SetChecked(bool checked);
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    // `buttonStyle` is the BS_ style of the system button.
    TButtonControl(TComponent* owner, DWORD buttonStyle);
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    DWORD buttonStyle_;
    bool checked_ = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
};

// A frame with a caption around other controls.
class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    void FillParams(CreateParams& params) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Where a button's picture sits against its caption.
enum class TButtonLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };
TButtonLayout ParseButtonLayout(const Value& value);

// A button's picture and caption laid out in its client area: the picture (one cell of the
// glyph) and the caption `spacing` pixels apart, the pair centred; the caption's rectangle is
// one line high where the picture is above or below it, and DrawText aligns it with `textFormat`.
struct TGlyphPlace {
    TRect glyph, text;
    UINT textFormat;
};
TGlyphPlace PlaceGlyph(SIZE client, SIZE cell, SIZE caption, TButtonLayout layout, int spacing);
// Cell `index` (0-based) of a glyph that holds `numGlyphs` cells side by side; the first cell when
// there is no such cell.
void GlyphCell(const TBitmap& glyph, int numGlyphs, int index, TBitmap& cell);

// A button's picture (its cells side by side) and where it sits against the caption.
struct TButtonGlyph {
    TButtonGlyph() { Glyph.Transparent = true; }
    TBitmap Glyph;
    int NumGlyphs = 1;
    TButtonLayout Layout = TButtonLayout::GlyphLeft;
    int Spacing = 4;
    // One of the picture's described properties; false for any other name.
    bool SetGlyphProperty(const std::string& name, const Value& value);
};

// A push button with a picture beside its caption. The glyph holds up to four cells side by
// side (up, disabled, pressed, latched); this button shows the first, or the second while
// disabled.
class TBitBtn : public TButton, public TButtonGlyph {
public:
    explicit TBitBtn(TComponent* owner) : TButton(owner) {}
    bool HandleDrawItem(DRAWITEMSTRUCT* item) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
};

// A button that shows a picture and needs no focus; flat ones draw no frame, transparent ones
// show their parent's background behind the picture instead of their own colour.
class TSpeedButton : public TWinControl, public TButtonGlyph {
public:
    explicit TSpeedButton(TComponent* owner);
    bool Flat = false;
    bool Transparent = false;
    // A button with a group index stays down after a click; with AllowAllUp the next click
    // lets it up again.
    int GroupIndex = 0;
    bool AllowAllUp = false;
    bool Down() const { return down_; }
    void SetDown(bool down);
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(TCanvas& canvas) override;

private:
    void PaintParentBehind(TCanvas& canvas);
    bool down_ = false;     // latched by a click in a group
    bool pressed_ = false;  // the left button held over it
};

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* owner);
    std::string Text() const;
    void SetText(const std::string& text);
    bool ReadOnly = false;
    char PasswordChar = 0;
    // A sunken 3-D frame, or a flat line with Ctl3D off; no frame with BorderStyle 0 (none).
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    int BorderStyle() const { return borderStyle_; }  // 0 none, 1 single
    void SetBorderStyle(int value);
    TNotifyEvent OnChange;
    bool HandleCommand(WORD code, WORD id) override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void SetCaption(const std::string& caption) override { SetText(caption); }

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;
    std::string text_;  // until the window exists

private:
    void FrameChanged();
    bool ctl3D_ = true;
    int borderStyle_ = 1;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

enum class TScrollStyle { None, Horizontal, Vertical, Both };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TComponent* owner);
    TScrollStyle ScrollBars = TScrollStyle::None;
    // The memo's lines: adding one puts the text and a line break at the end.
    void AddLine(const std::string& line);
    void Clear();
    int LineCount() const;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;
};

enum class TScrollCode { LineUp, LineDown, PageUp, PageDown, Position, Track, Top, Bottom, EndScroll };
using TScrollEvent = std::function<void(TComponent*, TScrollCode, int&)>;

class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* owner);
    bool Vertical = false;
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int SmallChange = 1, LargeChange = 1;
    void SetParams(int position, int min, int max);
    void SetPosition(int position) { SetParams(position, min_, max_); }
    void SetEnabled(bool enabled) override;
    TScrollEvent OnScroll;
    // What a scroll request does; the window's scroll messages come here.
    void Scroll(TScrollCode code, int trackPosition);
    bool HandleScroll(UINT message, WPARAM wParam) override;

protected:
    void FillParams(CreateParams& params) override;
    void InitWnd() override;

private:
    void Apply();
    int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace ui
