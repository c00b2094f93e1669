// A panel docked to the left or right edge of its parent that shows only a narrow side bar until
// the mouse moves over the bar (or the bar is clicked), then slides open to its full width with a
// caption strip and a pin button at the top, and slides shut once the mouse has left it unless it
// is pinned. The sliding runs step by step on a ticker, never in a loop of its own: a request to
// slide open or shut made while it slides is ignored, so the slide under way runs to its end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ExtCtrls.h"
#include "Qelbutton.h"
#include "Qelclock.h"
#include "Qelmousemove.h"
#include "Qelsidechannelstrip.h"
#include "Qelthemes.h"
#include "StdCtrls.h"

namespace skin {

enum class TqelSideChannelAlign : uint8_t { qelLeft = 0, qelRight = 1 };
enum class TqelSideChannelPopupMode : uint8_t { qelMouseOn = 0, qelMouseClick = 1 };
enum class TqelSideChannelState : uint8_t { Closed, Opening, Open, Closing };

using TCanResizeEvent = std::function<void(ui::TComponent*, int& newWidth, int& newHeight, bool& resize)>;

class TqelSideChannel : public ui::TCustomPanel, public IqelStyleFollower {
public:
    using TSideBar = TqelMouseMoveNotifier<TqelSideChannelStrip>;
    using TBarButton = TqelMouseMoveNotifier<TqelButton>;

    static constexpr int kSideBarWidth = 10;
    static constexpr int kCaptionHeight = 16;
    static constexpr int kStep = 15;             // pixels per sliding step
    static constexpr int kStepInterval = 15;     // milliseconds between sliding steps
    static constexpr int kWatchInterval = 500;   // milliseconds between looks at the mouse
    static constexpr int kMinOpenWidth = 50;

    explicit TqelSideChannel(ui::TComponent* owner);
    ~TqelSideChannel() override;

    // Opens and closes; `quick` jumps to the end at once, even in the middle of a slide. A slide
    // asked for while one is under way is ignored.
    void Pop(bool quick);
    void Push(bool quick);
    TqelSideChannelState State() const { return state_; }
    bool Animating() const { return animating_; }

    // The open width; the control's own width is Width().
    int OpenWidth() const { return openWidth_; }
    void SetWidth(int value);
    int GetSideWidth() const { return sideBar_->Width(); }
    void SetSideWidth(int value);
    ui::TColor GetSideColor() const { return sideBar_->Color(); }
    void SetSideColor(ui::TColor value);
    // The caption strip shows it while the channel is open; the panel's own text stays one blank.
    const std::string& Caption() const { return channelCaption_; }
    void SetCaption(const std::string& caption) override;
    ui::TFont& GetFont() { return captionStrip_->Font(); }
    void SetFont(const ui::TFont& font);
    ui::TAlignment GetAlignment() const { return captionStrip_->Alignment(); }
    void SetAlignment(ui::TAlignment alignment) { captionStrip_->SetAlignment(alignment); }
    // Hide the control's own alignment, which these set: left or right only.
    TqelSideChannelAlign Align() const { return sideAlign_; }
    void SetAlign(TqelSideChannelAlign value);
    bool StayOn() const { return stayOn_; }
    void SetStayOn(bool value);
    TqelSideChannelPopupMode PopupMode() const { return popupMode_; }
    void SetPopupMode(TqelSideChannelPopupMode mode) { popupMode_ = mode; }
    bool QuickMove() const { return quickMove_; }
    void SetQuickMove(bool value) { quickMove_ = value; }

    ui::TNotifyEvent OnPop, OnPush;
    TCanResizeEvent OnCanResize;

    TSideBar& SideBar() { return *sideBar_; }
    TSideBar& CaptionStrip() { return *captionStrip_; }
    ui::TSpeedButton& PinButton() { return *pinButton_; }
    TBarButton& BarButton() { return *barButton_; }
    // Whether the mouse is being watched (open and not pinned).
    bool TimerEnabled() const { return timer_->Running(); }

    // What the sliding and the watch of the mouse run on, and where the mouse is in screen
    // coordinates; tests set their own.
    void SetClock(TqelClock& clock);
    void SetCursorSource(std::function<POINT()> source) { cursorPos_ = std::move(source); }

    void SetBounds(int left, int top, int width, int height) override;
    void PaintTo(ui::TCanvas& canvas) override;
    void FollowContainerStyle(TqelUIStyle style) override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void Loaded() override;

protected:
    void OnMouseIn();
    void OnLeftBarClick();
    void OnTimerCheck();
    void OnPinClick();
    void OnTopPanelResize();
    void OnSelfResize();
    bool OnSelfCanResize(int& newWidth, int& newHeight);
    void BoundsChanged() override;

private:
    void StartSlide(TqelSideChannelState direction);
    bool Sliding() const;
    void Step();
    void FinishPop();
    void FinishPush();
    void SetControlWidth(int width);
    void ApplyStayOn(bool value, bool quick);
    void MakeTickers(TqelClock& clock);
    void LoadPinGlyph();

    TSideBar* sideBar_ = nullptr;
    TSideBar* captionStrip_ = nullptr;
    ui::TSpeedButton* pinButton_ = nullptr;
    TBarButton* barButton_ = nullptr;
    std::unique_ptr<TqelTicker> timer_;   // the watch of the mouse
    std::unique_ptr<TqelTicker> slider_;  // the sliding steps
    std::function<POINT()> cursorPos_;

    int openWidth_ = 185;
    bool animating_ = false;
    TqelSideChannelState state_ = TqelSideChannelState::Open;
    std::string channelCaption_;
    TqelSideChannelAlign sideAlign_ = TqelSideChannelAlign::qelLeft;
    bool stayOn_ = false;
    bool stayOnPending_ = false;  // read from a description, applied once it is loaded
    TqelSideChannelPopupMode popupMode_ = TqelSideChannelPopupMode::qelMouseOn;
    bool quickMove_ = false;
    int lastWidth_ = 0, lastHeight_ = 0;
};

}  // namespace skin
