// Panels with bevels, splitters, images, bevels and timers.
#pragma once
#include "Controls.h"

namespace ui {

enum class TBevelCut { None, Lowered, Raised, Space };

class TCustomPanel : public TWinControl {
public:
    explicit TCustomPanel(TComponent* owner);
    TBevelCut BevelInner = TBevelCut::None;
    TBevelCut BevelOuter = TBevelCut::Raised;
    int BevelWidth = 1;
    int BorderWidth = 0;
    TRect AdjustClientRect() const override;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void FillParams(CreateParams& params) override;
    void Paint(TCanvas& canvas) override;
    void DrawFrame(TCanvas& canvas);  // background, bevels and caption
};

class TPanel : public TCustomPanel {
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

// Dragging it resizes the control aligned just before it on the same side.
class TSplitter : public TWinControl {
public:
    explicit TSplitter(TComponent* owner);
    int MinSize = 30;
    // Moves the splitter by delta pixels (positive: right or down); answers the applied delta.
    int MoveBy(int delta);
    TControl* Target() const;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Vertical() const { return align_ == TAlign::Left || align_ == TAlign::Right; }
    int dragFrom_ = 0;
    bool dragging_ = false;
};

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner) : TGraphicControl(owner) {}
    TPicture Picture;
    bool Stretch = false, Center = false, AutoSize = false;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void Paint() override;
};

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner) : TGraphicControl(owner) {}
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;

protected:
    void Paint() override;
};

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TNotifyEvent OnTimer;
    bool SetProperty(const std::string& name, const Value& value, Reader& reader) override;
    void Loaded() override;

private:
    void Update();
    int interval_ = 1000;
    bool enabled_ = true;
    UINT_PTR id_ = 0;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
};

// The 3-D frame of a bevel cut in a rectangle, which then shrinks by the bevel's width.
void DrawBevel(TCanvas& canvas, TRect& rect, TBevelCut cut, int width);
TBevelCut ParseBevelCut(const Value& value);

}  // namespace ui
