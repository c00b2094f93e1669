#include "Qelsidechannel.h"

#include "Qelpublic.h"
#include "Reader.h"

namespace skin {

namespace {

constexpr int kPinWidth = 20, kPinHeight = 16;

// On screen the windowed children paint themselves; a picture in memory takes them in as well.
void PaintWindowedChildren(ui::TWinControl& control, ui::TCanvas& canvas) {
    for (int i = 0; i < control.ControlCount(); ++i) {
        auto* child = dynamic_cast<ui::TWinControl*>(control.Control(i));
        if (!child || !child->Visible()) continue;
        HDC dc = canvas.Handle();
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, child->Left(), child->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        {
            ui::TCanvas inner(dc);
            child->PaintTo(inner);
            PaintWindowedChildren(*child, inner);
            inner.SetHandle(nullptr);
        }
        RestoreDC(dc, saved);
    }
}

ui::TAlignment ParseAlignment(const std::string& name) {
    if (ui::EqualsIdent(name, "taLeftJustify")) return ui::TAlignment::LeftJustify;
    if (ui::EqualsIdent(name, "taRightJustify")) return ui::TAlignment::RightJustify;
    if (ui::EqualsIdent(name, "taCenter")) return ui::TAlignment::Center;
    throw ui::Exception("Unknown alignment " + name);
}

TqelSideChannelAlign ParseSideAlign(const std::string& name) {
    if (ui::EqualsIdent(name, "qelLeft")) return TqelSideChannelAlign::qelLeft;
    if (ui::EqualsIdent(name, "qelRight")) return TqelSideChannelAlign::qelRight;
    throw ui::Exception("Unknown side channel alignment " + name);
}

TqelSideChannelPopupMode ParsePopupMode(const std::string& name) {
    if (ui::EqualsIdent(name, "qelMouseOn")) return TqelSideChannelPopupMode::qelMouseOn;
    if (ui::EqualsIdent(name, "qelMouseClick")) return TqelSideChannelPopupMode::qelMouseClick;
    throw ui::Exception("Unknown popup mode " + name);
}

}  // namespace

TqelSideChannel::TqelSideChannel(ui::TComponent* owner) : ui::TCustomPanel(owner), cursorPos_(SystemCursorPos) {
    MakeTickers(SystemClock());

    sideBar_ = new TSideBar(this);
    sideBar_->SetParent(this);
    sideBar_->SetAlign(ui::TAlign::Left);
    sideBar_->SetWidth(kSideBarWidth);

    captionStrip_ = new TSideBar(this);
    captionStrip_->SetParent(this);
    captionStrip_->SetAlign(ui::TAlign::Top);
    captionStrip_->SetHeight(kCaptionHeight);

    // Alone in its group and allowed all up: a click turns it down, the next one up again.
    pinButton_ = new ui::TSpeedButton(this);
    pinButton_->Flat = true;
    pinButton_->GroupIndex = 1;
    pinButton_->AllowAllUp = true;
    pinButton_->SetParent(captionStrip_);
    pinButton_->SetBounds(captionStrip_->Width() - kPinWidth, 0, kPinWidth, kPinHeight);
    pinButton_->SetVisible(false);
    LoadPinGlyph();

    barButton_ = new TBarButton(this);
    barButton_->SetParent(sideBar_);
    barButton_->SetResHandle(nullptr);
    barButton_->SetPicNormal("SIDECHANNEL_BAR_NORMAL");
    barButton_->SetPicMouseOn("SIDECHANNEL_BAR_MOUSEON");
    barButton_->SetPicMouseDown("SIDECHANNEL_BAR_MOUSEON");
    barButton_->SetTabStop(false);
    barButton_->FSetAutoSize(true);
    barButton_->SetBounds(0, 0, barButton_->Width(), barButton_->Height());

    sideBar_->OnMouseMove = [this] { OnMouseIn(); };
    captionStrip_->OnMouseMove = [this] { OnMouseIn(); };
    barButton_->OnMouseMove = [this] { OnMouseIn(); };
    sideBar_->OnClick = [this](ui::TComponent*) { OnLeftBarClick(); };
    barButton_->OnClick = [this](ui::TComponent*) { OnLeftBarClick(); };
    captionStrip_->OnResize = [this](ui::TComponent*) { OnTopPanelResize(); };
    pinButton_->OnClick = [this](ui::TComponent*) { OnPinClick(); };

    animating_ = false;
    BevelOuter = ui::TBevelCut::None;
    SetAlign(TqelSideChannelAlign::qelLeft);
    caption_ = " ";
    popupMode_ = TqelSideChannelPopupMode::qelMouseOn;
    quickMove_ = false;
    const auto* form = dynamic_cast<const ui::TWinControl*>(owner);
    SetColor(form ? GetQELFormColor(*form) : ui::clBtnFace);
    SetSideColor(Color());
    Push(true);
}

TqelSideChannel::~TqelSideChannel() {
    // The children outlive this body (their owner frees them later): none of them may call back.
    sideBar_->OnMouseMove = nullptr;
    captionStrip_->OnMouseMove = nullptr;
    barButton_->OnMouseMove = nullptr;
    sideBar_->OnClick = nullptr;
    barButton_->OnClick = nullptr;
    captionStrip_->OnResize = nullptr;
    pinButton_->OnClick = nullptr;
}

void TqelSideChannel::MakeTickers(TqelClock& clock) {
    const bool watching = timer_ && timer_->Running(), sliding = slider_ && slider_->Running();
    timer_ = clock.NewTicker();
    timer_->OnTick = [this] { OnTimerCheck(); };
    slider_ = clock.NewTicker();
    slider_->OnTick = [this] { Step(); };
    if (watching) timer_->Start(kWatchInterval);
    if (sliding) slider_->Start(kStepInterval);
}

void TqelSideChannel::SetClock(TqelClock& clock) { MakeTickers(clock); }

// ---- opening and closing

// A slide runs to its end: a request to slide while one runs is ignored. A quick request (a
// setting changed by the program) still lands at once.
void TqelSideChannel::Pop(bool quick) {
    if (quick) {
        FinishPop();
    } else if (!Sliding()) {
        StartSlide(TqelSideChannelState::Opening);
    }
}

void TqelSideChannel::Push(bool quick) {
    if (quick) {
        FinishPush();
    } else if (!Sliding()) {
        StartSlide(TqelSideChannelState::Closing);
    }
}

bool TqelSideChannel::Sliding() const {
    return state_ == TqelSideChannelState::Opening || state_ == TqelSideChannelState::Closing;
}

void TqelSideChannel::StartSlide(TqelSideChannelState direction) {
    animating_ = true;
    if (direction == TqelSideChannelState::Opening) {
        pinButton_->SetVisible(true);
    } else {
        timer_->Stop();
    }
    state_ = direction;
    Step();
    if (state_ == direction) slider_->Start(kStepInterval);
}

void TqelSideChannel::Step() {
    // One step per tick; the last one lands on the end width. A width that the user's can-resize
    // event refuses would never get there, so it lands at once.
    const int before = width_;
    if (state_ == TqelSideChannelState::Opening) {
        if (width_ + kStep < openWidth_) {
            SetControlWidth(width_ + kStep);
            if (width_ != before) return;
        }
        FinishPop();
    } else if (state_ == TqelSideChannelState::Closing) {
        if (GetSideWidth() < width_ - kStep) {
            SetControlWidth(width_ - kStep);
            if (width_ != before) return;
        }
        FinishPush();
    } else {
        slider_->Stop();
    }
}

void TqelSideChannel::FinishPop() {
    slider_->Stop();
    animating_ = true;
    pinButton_->SetVisible(true);
    SetControlWidth(openWidth_);
    state_ = TqelSideChannelState::Open;
    if (pinButton_->Down()) {
        timer_->Stop();
    } else {
        timer_->Start(kWatchInterval);
    }
    animating_ = false;
    captionStrip_->SetCaption(channelCaption_);
    if (OnPop) OnPop(this);
}

void TqelSideChannel::FinishPush() {
    slider_->Stop();
    animating_ = true;
    timer_->Stop();
    SetControlWidth(GetSideWidth());
    pinButton_->SetVisible(false);
    captionStrip_->SetCaption("");
    state_ = TqelSideChannelState::Closed;
    animating_ = false;
    if (OnPush) OnPush(this);
}

void TqelSideChannel::SetControlWidth(int width) {
    SetBounds(left_, top_, width, height_);
    Repaint();
}

// ---- triggers

void TqelSideChannel::OnMouseIn() {
    if (state_ == TqelSideChannelState::Closed && popupMode_ == TqelSideChannelPopupMode::qelMouseOn) {
        Pop(quickMove_);
    }
}

void TqelSideChannel::OnLeftBarClick() {
    if (popupMode_ == TqelSideChannelPopupMode::qelMouseClick) Pop(quickMove_);
}

void TqelSideChannel::OnTimerCheck() {
    if (!parent_ || !parent_->HandleAllocated()) {
        Push(quickMove_);
        return;
    }
    POINT corners[2] = {{left_, top_}, {left_ + width_, top_ + height_}};
    MapWindowPoints(parent_->HandleOrNull(), HWND_DESKTOP, corners, 2);
    const POINT cursor = cursorPos_();
    const bool inside = cursor.x > corners[0].x && cursor.x < corners[1].x && cursor.y > corners[0].y &&
                        cursor.y < corners[1].y;
    if (!inside) Push(quickMove_);
}

void TqelSideChannel::OnPinClick() {
    const bool down = pinButton_->Down();
    stayOn_ = down;
    LoadPinGlyph();
    if (down) {
        timer_->Stop();
    } else if (state_ == TqelSideChannelState::Open) {
        timer_->Start(kWatchInterval);
    }
}

void TqelSideChannel::LoadPinGlyph() {
    LoadSkinBitmap(pinButton_->Glyph, pinButton_->Down() ? "SIDECHANNEL_BTN_ONTOP" : "SIDECHANNEL_BTN_NOONTOP");
    pinButton_->Invalidate();
}

void TqelSideChannel::OnTopPanelResize() {
    if (pinButton_) pinButton_->SetLeft(captionStrip_->Width() - pinButton_->Width());
}

void TqelSideChannel::OnSelfResize() {
    // The user's resizing of the open channel is remembered; the sliding widths are not.
    if (!animating_ && GetSideWidth() < width_) openWidth_ = width_;
}

bool TqelSideChannel::OnSelfCanResize(int& newWidth, int& newHeight) {
    bool resize = true;
    if (OnCanResize) OnCanResize(this, newWidth, newHeight, resize);
    if (!animating_ && pinButton_->Visible() && newWidth < kMinOpenWidth) resize = false;
    return resize;
}

void TqelSideChannel::SetBounds(int left, int top, int width, int height) {
    if (pinButton_ && (width != width_ || height != height_) && !OnSelfCanResize(width, height)) return;
    ui::TCustomPanel::SetBounds(left, top, width, height);
}

void TqelSideChannel::BoundsChanged() {
    ui::TCustomPanel::BoundsChanged();
    if (!sideBar_ || (width_ == lastWidth_ && height_ == lastHeight_)) return;
    lastWidth_ = width_;
    lastHeight_ = height_;
    OnSelfResize();
}

// ---- properties

void TqelSideChannel::SetWidth(int value) { openWidth_ = value; }

void TqelSideChannel::SetSideWidth(int value) {
    sideBar_->SetWidth(value);
    Push(true);
}

void TqelSideChannel::SetSideColor(ui::TColor value) {
    sideBar_->SetColor(value);
    captionStrip_->SetColor(value);
    pinButton_->SetColor(value);
}

void TqelSideChannel::SetCaption(const std::string& caption) { channelCaption_ = caption; }

void TqelSideChannel::SetFont(const ui::TFont& font) { captionStrip_->SetFont(font); }

void TqelSideChannel::SetAlign(TqelSideChannelAlign value) {
    sideAlign_ = value;
    ui::TControl::SetAlign(value == TqelSideChannelAlign::qelRight ? ui::TAlign::Right : ui::TAlign::Left);
}

void TqelSideChannel::SetStayOn(bool value) {
    if (Loading()) {
        // Opened once the whole description is read, whatever order it gives the sizes in.
        stayOn_ = value;
        stayOnPending_ = value;
        return;
    }
    ApplyStayOn(value, quickMove_);
}

void TqelSideChannel::ApplyStayOn(bool value, bool quick) {
    stayOn_ = value;
    if (value) {
        Pop(quick);
        pinButton_->SetDown(true);
    } else {
        pinButton_->SetDown(false);
        Push(true);
    }
    OnPinClick();
}

void TqelSideChannel::Loaded() {
    ui::TCustomPanel::Loaded();
    if (stayOnPending_) {
        stayOnPending_ = false;
        ApplyStayOn(true, true);
    }
}

void TqelSideChannel::FollowContainerStyle(TqelUIStyle style) {
    SetColor(GetThemeColor(style, theme::kPanelColor));
    SetSideColor(GetThemeColor(style, theme::kPanelColor));
}

void TqelSideChannel::PaintTo(ui::TCanvas& canvas) {
    Paint(canvas);
    PaintWindowedChildren(*this, canvas);
}

bool TqelSideChannel::SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) {
    if (name == "Width") {
        SetWidth(v.AsInt());
    } else if (name == "SideBarColor") {
        SetSideColor(ui::ParseColor(v));
    } else if (name == "SideBarWidth") {
        SetSideWidth(v.AsInt());
    } else if (name == "Caption") {
        SetCaption(v.AsText());
    } else if (name.compare(0, 5, "Font.") == 0) {
        return captionStrip_->SetProperty(name, v, reader);
    } else if (name == "Alignment") {
        SetAlignment(ParseAlignment(v.AsIdent()));
    } else if (name == "Align") {
        SetAlign(ParseSideAlign(v.AsIdent()));
    } else if (name == "StayOn") {
        SetStayOn(v.AsBool());
    } else if (name == "PopupMode") {
        SetPopupMode(ParsePopupMode(v.AsIdent()));
    } else if (name == "QuickMove") {
        SetQuickMove(v.AsBool());
    } else if (name == "OnPop") {
        OnPop = reader.Method<void(ui::TComponent*)>(v);
    } else if (name == "OnPush") {
        OnPush = reader.Method<void(ui::TComponent*)>(v);
    } else if (name == "OnCanResize") {
        OnCanResize = reader.Method<void(ui::TComponent*, int&, int&, bool&)>(v);
    } else {
        return ui::TCustomPanel::SetProperty(name, v, reader);
    }
    return true;
}

}  // namespace skin
