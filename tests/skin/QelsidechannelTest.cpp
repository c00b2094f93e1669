// The skinned side channel placed by a form description: its closed and open pictures painted
// into memory bitmaps, the sliding step by step on a clock turned by hand, a slide turned round
// by a new request, and the tables of opening, closing and pinning by mouse, clicks and timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Forms.h"
#include "GdiObjects.h"
#include "ManualClock.h"
#include "Qelpublic.h"
#include "Qelregister.h"
#include "Qelsidechannel.h"

namespace {

using skin::TqelSideChannel;
using skin::TqelSideChannelPopupMode;
using State = skin::TqelSideChannelState;

constexpr COLORREF kNavy = RGB(0, 0, 128), kSilver = RGB(192, 192, 192), kRed = RGB(255, 0, 0),
                   kWhite = RGB(255, 255, 255), kKey = RGB(255, 0, 255);

const char kDescription[] = R"(object SideForm: TForm
  Width = 400
  Height = 300
  object Channel1: TqelSideChannel
    Anchors = [akLeft, akTop, akBottom]
    Width = 200
    SideBarColor = clNavy
    Caption = 'Tools'
    Font.Color = clWhite
    Alignment = taLeftJustify
    Align = qelLeft
    Color = clSilver
    PopupMode = qelMouseOn
    QuickMove = False
    OnResize = ChannelResize
    OnCanResize = ChannelCanResize
    OnPush = ChannelPush
    OnPop = ChannelPop
    object Inner: TPanel
      Left = 30
      Top = 40
      Width = 50
      Height = 20
      BevelOuter = bvNone
      Color = clRed
    end
  end
end)";

class SideForm : public ui::TForm {
public:
    SideForm(ManualClock& clock, const std::string& description = kDescription) : ui::TForm(ui::Application) {
        skin::RegisterSkinClasses();
        Publish("ChannelResize", &SideForm::ChannelResize);
        Publish("ChannelCanResize", &SideForm::ChannelCanResize);
        Publish("ChannelPush", &SideForm::ChannelPush);
        Publish("ChannelPop", &SideForm::ChannelPop);
        InitFromText(description);
        channel = ui::FindAs<TqelSideChannel>(*this, "Channel1");
        channel->SetClock(clock);
        channel->SetCursorSource([this] { return cursor; });
        HandleNeeded();
        pops = pushes = resizes = canResizeAsks = 0;
    }

    void ChannelResize(ui::TComponent*) { ++resizes; }
    void ChannelCanResize(ui::TComponent*, int& width, int&, bool& resize) {
        ++canResizeAsks;
        if (width == refusedWidth) resize = false;
    }
    void ChannelPush(ui::TComponent*) { ++pushes; }
    void ChannelPop(ui::TComponent*) { ++pops; }

    void Shot(ui::TBitmap& target) {
        target.SetSize(channel->Width(), channel->Height());
        channel->PaintTo(target.Canvas());
    }
    // The channel's corners on the screen.
    RECT ScreenRect() {
        POINT corners[2] = {{channel->Left(), channel->Top()},
                            {channel->Left() + channel->Width(), channel->Top() + channel->Height()}};
        MapWindowPoints(Handle(), HWND_DESKTOP, corners, 2);
        return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    }

    TqelSideChannel* channel = nullptr;
    POINT cursor{-1000, -1000};
    int refusedWidth = -1;
    int pops = 0, pushes = 0, resizes = 0, canResizeAsks = 0;
};

void MoveOver(ui::TWinControl& control) { SendMessageA(control.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); }

void ClickOn(ui::TWinControl& control) {
    SendMessageA(control.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(control.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

// The channel's width now and after every step until it comes to rest.
std::vector<int> Slide(TqelSideChannel& channel, ManualClock& clock) {
    std::vector<int> widths{channel.Width()};
    for (int i = 0; i < 100 && (channel.State() == State::Opening || channel.State() == State::Closing); ++i) {
        clock.Advance(TqelSideChannel::kStepInterval);
        widths.push_back(channel.Width());
    }
    return widths;
}

// The named pin glyph, of the given size, at (left, top) of the shot; its key colour shows the
// navy strip behind it.
void ExpectGlyph(ui::TBitmap& shot, const char* name, int width, int height, int left, int top) {
    SCOPED_TRACE(name);
    ui::TBitmap glyph;
    skin::LoadSkinBitmap(glyph, name);
    ASSERT_EQ(glyph.Width(), width);
    ASSERT_EQ(glyph.Height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF g = glyph.Pixel(x, y);
            EXPECT_EQ(shot.Pixel(left + x, top + y), g == kKey ? kNavy : g) << x << "," << y;
        }
    }
}

TEST(QelsidechannelTest, DescriptionPlacesAClosedChannel) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    EXPECT_EQ(c.OpenWidth(), 200);
    EXPECT_EQ(c.Width(), 10);
    EXPECT_EQ(c.Left(), 0);
    EXPECT_EQ(c.Height(), form.ClientHeight());
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(c.Caption(), "Tools");
    EXPECT_EQ(c.GetSideColor(), ui::clNavy);
    EXPECT_EQ(c.Color(), ui::clSilver);
    EXPECT_EQ(c.GetSideWidth(), 10);
    EXPECT_EQ(c.GetAlignment(), ui::TAlignment::LeftJustify);
    EXPECT_EQ(c.GetFont().Color, ui::clWhite);
    EXPECT_EQ(c.Align(), skin::TqelSideChannelAlign::qelLeft);
    EXPECT_EQ(c.PopupMode(), TqelSideChannelPopupMode::qelMouseOn);
    EXPECT_FALSE(c.QuickMove());
    EXPECT_FALSE(c.StayOn());
    EXPECT_FALSE(c.TimerEnabled());
    EXPECT_FALSE(c.PinButton().Visible());
    EXPECT_EQ(c.CaptionStrip().Caption(), "");
    // The caption strip across the top, the side bar below it, the bar button in its corner.
    EXPECT_EQ(c.CaptionStrip().BoundsRect().Bottom, 16);
    EXPECT_EQ(c.SideBar().Top(), 16);
    EXPECT_EQ(c.BarButton().Left(), 0);
    EXPECT_EQ(c.BarButton().Top(), 0);
    EXPECT_EQ(c.BarButton().Width(), 8);
    EXPECT_EQ(c.BarButton().Height(), 172);
    EXPECT_EQ(c.PinButton().Width(), 20);
    EXPECT_EQ(c.PinButton().Height(), 16);
}

TEST(QelsidechannelTest, PinnedRightHandChannelFromADescriptionStartsOpen) {
    // StayOn comes before the sizes here: the channel opens once the whole description is read.
    ManualClock clock;
    SideForm form(clock, R"(object SideForm: TForm
  Width = 400
  Height = 300
  object Channel1: TqelSideChannel
    StayOn = True
    Width = 120
    SideBarWidth = 14
    Align = qelRight
  end
end)");
    TqelSideChannel& c = *form.channel;
    EXPECT_EQ(c.State(), State::Open);
    EXPECT_TRUE(c.StayOn());
    EXPECT_TRUE(c.PinButton().Down());
    EXPECT_FALSE(c.TimerEnabled());
    EXPECT_EQ(c.Width(), 120);
    EXPECT_EQ(c.GetSideWidth(), 14);
    EXPECT_EQ(c.Left(), form.ClientWidth() - 120);
    EXPECT_EQ(c.PinButton().Left(), 100);
    EXPECT_EQ(c.PinButton().Glyph.Width(), 8);  // the pinned glyph
    EXPECT_EQ(c.PinButton().Glyph.Height(), 7);
    // Closing keeps it at the right edge.
    c.SetStayOn(false);
    EXPECT_EQ(c.Width(), 14);
    EXPECT_EQ(c.Left(), form.ClientWidth() - 14);
}

TEST(QelsidechannelTest, ClosedChannelShowsItsBarPicture) {
    ManualClock clock;
    SideForm form(clock);
    ui::TBitmap shot;
    form.Shot(shot);
    ui::TBitmap bar;
    skin::LoadSkinBitmap(bar, "SIDECHANNEL_BAR_NORMAL");
    ASSERT_EQ(bar.Width(), 8);
    ASSERT_EQ(bar.Height(), 172);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 10; ++x) ASSERT_EQ(shot.Pixel(x, y), kNavy) << x << "," << y;
    }
    for (int y = 0; y < 172; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(shot.Pixel(x, 16 + y), bar.Pixel(x, y)) << x << "," << y;
        EXPECT_EQ(shot.Pixel(8, 16 + y), kNavy);
        EXPECT_EQ(shot.Pixel(9, 16 + y), kNavy);
    }
    EXPECT_EQ(shot.Pixel(4, 16 + 172), kNavy);
    EXPECT_EQ(shot.Pixel(4, shot.Height() - 1), kNavy);
}

TEST(QelsidechannelTest, OpenChannelShowsCaptionPinAndClientArea) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.Pop(true);
    ui::TBitmap shot;
    form.Shot(shot);
    ASSERT_EQ(shot.Width(), 200);
    EXPECT_EQ(c.CaptionStrip().Caption(), "Tools");
    // The caption in white at the left of the strip, nothing of it further right.
    int textLeft = 200, textRight = -1;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 180; ++x) {
            const COLORREF p = shot.Pixel(x, y);
            if (p == kWhite) textLeft = std::min(textLeft, x), textRight = std::max(textRight, x);
            else ASSERT_EQ(p, kNavy) << x << "," << y;
        }
    }
    ASSERT_GE(textRight, 0) << "no caption drawn";
    EXPECT_LT(textLeft, 5);
    EXPECT_LT(textRight, 60);
    // The pin at the strip's right end, its glyph centred.
    ExpectGlyph(shot, "SIDECHANNEL_BTN_NOONTOP", 7, 9, 180 + 6, 3);
    EXPECT_EQ(shot.Pixel(180, 0), kNavy);  // flat: no frame while up
    // The side bar below the strip, the client area in the channel's colour, the user's panel.
    EXPECT_EQ(shot.Pixel(9, 100), kNavy);
    EXPECT_EQ(shot.Pixel(10, 16), kSilver);
    EXPECT_EQ(shot.Pixel(199, shot.Height() - 1), kSilver);
    EXPECT_EQ(shot.Pixel(41, 51), kRed);  // Inner sits at (30, 40) of the channel
    EXPECT_EQ(shot.Pixel(29, 51), kSilver);
}

TEST(QelsidechannelTest, PinnedChannelShowsThePinDown) {
    ManualClock clock;
    SideForm form(clock);
    form.channel->SetStayOn(true);
    Slide(*form.channel, clock);
    ui::TBitmap shot;
    form.Shot(shot);
    // Down: the glyph one pixel right and down of centre, inside a sunken frame.
    ExpectGlyph(shot, "SIDECHANNEL_BTN_ONTOP", 8, 7, 180 + 7, 5);
    EXPECT_EQ(shot.Pixel(180, 5), ui::ColorToRGB(ui::clBtnShadow));
    EXPECT_EQ(shot.Pixel(190, 0), ui::ColorToRGB(ui::clBtnShadow));
    EXPECT_EQ(shot.Pixel(199, 5), ui::ColorToRGB(ui::clBtnHighlight));
    EXPECT_EQ(shot.Pixel(190, 15), ui::ColorToRGB(ui::clBtnHighlight));
}

struct SlideCase {
    int openWidth;
    std::vector<int> opening, closing;
};

TEST(QelsidechannelTest, SlidesFifteenPixelsATickAndLandsOnTheEndWidth) {
    const SlideCase cases[] = {
        {200,
         {25, 40, 55, 70, 85, 100, 115, 130, 145, 160, 175, 190, 200},
         {185, 170, 155, 140, 125, 110, 95, 80, 65, 50, 35, 20, 10}},
        {55, {25, 40, 55}, {40, 25, 10}},  // a multiple of the step above the bar
        {62, {25, 40, 55, 62}, {47, 32, 17, 10}},
        {20, {20}, {10}},  // within one step: there at once
    };
    for (const SlideCase& k : cases) {
        SCOPED_TRACE(k.openWidth);
        ManualClock clock;
        SideForm form(clock);
        TqelSideChannel& c = *form.channel;
        c.SetWidth(k.openWidth);
        c.Pop(false);
        EXPECT_EQ(Slide(c, clock), k.opening);
        EXPECT_EQ(c.State(), State::Open);
        EXPECT_EQ(form.pops, 1);
        EXPECT_TRUE(c.PinButton().Visible());
        EXPECT_TRUE(c.TimerEnabled());
        EXPECT_FALSE(c.Animating());
        c.Push(false);
        EXPECT_EQ(Slide(c, clock), k.closing);
        EXPECT_EQ(c.State(), State::Closed);
        EXPECT_EQ(form.pushes, 1);
        EXPECT_EQ(form.pops, 1);
        EXPECT_FALSE(c.PinButton().Visible());
        EXPECT_FALSE(c.TimerEnabled());
        EXPECT_EQ(clock.Running(), 0);
        // The sliding widths are not taken for the open width.
        EXPECT_EQ(c.OpenWidth(), k.openWidth);
    }
}

TEST(QelsidechannelTest, SlidingPumpsNoMessages) {
    ManualClock clock;
    SideForm form(clock);
    PostMessageA(form.Handle(), WM_USER + 7, 0, 0);
    form.channel->Pop(false);
    EXPECT_EQ(form.channel->Width(), 25);  // one step, then back to the caller
    EXPECT_TRUE(form.channel->Animating());
    EXPECT_EQ(form.pops, 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, form.Handle(), WM_USER + 7, WM_USER + 7, PM_REMOVE));
}

TEST(QelsidechannelTest, SlideRequestsWhileSlidingAreIgnored) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.Pop(false);
    clock.Advance(3 * TqelSideChannel::kStepInterval);
    ASSERT_EQ(c.Width(), 70);
    c.Push(false);
    EXPECT_EQ(c.State(), State::Opening);
    EXPECT_EQ(Slide(c, clock), (std::vector<int>{70, 85, 100, 115, 130, 145, 160, 175, 190, 200}));
    EXPECT_EQ(form.pops, 1);
    EXPECT_EQ(form.pushes, 0);

    // The mouse coming back over a channel on its way shut does not turn it round.
    c.Push(false);
    clock.Advance(2 * TqelSideChannel::kStepInterval);
    ASSERT_EQ(c.Width(), 155);
    MoveOver(c.SideBar());
    EXPECT_EQ(c.State(), State::Closing);
    EXPECT_EQ(Slide(c, clock).back(), 10);
    EXPECT_EQ(form.pops, 1);
    EXPECT_EQ(form.pushes, 1);

    // Pinned on its way shut: it still shuts, and opens pinned next time.
    c.Pop(true);
    c.Push(false);
    clock.Advance(2 * TqelSideChannel::kStepInterval);
    ASSERT_EQ(c.State(), State::Closing);
    ClickOn(c.PinButton());
    EXPECT_TRUE(c.StayOn());
    EXPECT_EQ(Slide(c, clock).back(), 10);
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(form.pushes, 2);
    c.Pop(true);
    EXPECT_EQ(c.State(), State::Open);
    EXPECT_FALSE(c.TimerEnabled());

    // A quick request ends a slide at once.
    c.SetStayOn(false);
    c.Pop(false);
    c.Pop(true);
    EXPECT_EQ(c.Width(), 200);
    EXPECT_EQ(clock.Running(), 1);  // the watch of the mouse only
}

TEST(QelsidechannelTest, QuickMoveJumpsAndTellsOnce) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.SetQuickMove(true);
    MoveOver(c.BarButton());
    EXPECT_EQ(c.State(), State::Open);
    EXPECT_EQ(c.Width(), 200);
    EXPECT_EQ(form.pops, 1);
    form.cursor = {-5, -5};
    clock.Advance(TqelSideChannel::kWatchInterval);
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(c.Width(), 10);
    EXPECT_EQ(form.pushes, 1);
    EXPECT_EQ(form.pops, 1);
}

enum class Action { MoveOverSideBar, MoveOverBarButton, MoveOverCaption, ClickSideBar, ClickBarButton };

TEST(QelsidechannelTest, OpeningByMouseAndClickTable) {
    const struct {
        TqelSideChannelPopupMode mode;
        Action action;
        bool opens;
    } cases[] = {
        {TqelSideChannelPopupMode::qelMouseOn, Action::MoveOverSideBar, true},
        {TqelSideChannelPopupMode::qelMouseOn, Action::MoveOverBarButton, true},
        {TqelSideChannelPopupMode::qelMouseOn, Action::MoveOverCaption, true},
        {TqelSideChannelPopupMode::qelMouseOn, Action::ClickSideBar, false},
        {TqelSideChannelPopupMode::qelMouseOn, Action::ClickBarButton, false},
        {TqelSideChannelPopupMode::qelMouseClick, Action::MoveOverSideBar, false},
        {TqelSideChannelPopupMode::qelMouseClick, Action::MoveOverBarButton, false},
        {TqelSideChannelPopupMode::qelMouseClick, Action::MoveOverCaption, false},
        {TqelSideChannelPopupMode::qelMouseClick, Action::ClickSideBar, true},
        {TqelSideChannelPopupMode::qelMouseClick, Action::ClickBarButton, true},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(testing::Message() << int(k.mode) << " action " << int(k.action));
        ManualClock clock;
        SideForm form(clock);
        TqelSideChannel& c = *form.channel;
        c.SetPopupMode(k.mode);
        switch (k.action) {
        case Action::MoveOverSideBar: MoveOver(c.SideBar()); break;
        case Action::MoveOverBarButton: MoveOver(c.BarButton()); break;
        case Action::MoveOverCaption: MoveOver(c.CaptionStrip()); break;
        case Action::ClickSideBar: ClickOn(c.SideBar()); break;
        case Action::ClickBarButton: ClickOn(c.BarButton()); break;
        }
        Slide(c, clock);
        EXPECT_EQ(c.State(), k.opens ? State::Open : State::Closed);
        EXPECT_EQ(form.pops, k.opens ? 1 : 0);
    }
}

TEST(QelsidechannelTest, TimerClosesOnceTheCursorIsNotStrictlyInside) {
    const struct {
        const char* where;
        int dx, dy;  // from the channel's top-left corner on the screen; 9999 for its far edge
        bool staysOpen;
    } cases[] = {
        {"middle", 100, 100, true},
        {"just inside the corner", 1, 1, true},
        {"on the left edge", 0, 100, false},
        {"on the top edge", 100, 0, false},
        {"on the right edge", 9999, 100, false},
        {"on the bottom edge", 100, 9999, false},
        {"right of it", 300, 100, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.where);
        ManualClock clock;
        SideForm form(clock);
        TqelSideChannel& c = *form.channel;
        c.SetQuickMove(true);
        c.Pop(true);
        const RECT r = form.ScreenRect();
        form.cursor = {k.dx == 9999 ? r.right : r.left + k.dx, k.dy == 9999 ? r.bottom : r.top + k.dy};
        clock.Advance(TqelSideChannel::kWatchInterval - 1);
        EXPECT_EQ(c.State(), State::Open);
        clock.Advance(1);
        EXPECT_EQ(c.State(), k.staysOpen ? State::Open : State::Closed);
        EXPECT_EQ(c.TimerEnabled(), k.staysOpen);
    }
}

TEST(QelsidechannelTest, ChannelWithoutParentClosesOnTheTimer) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.SetQuickMove(true);
    c.Pop(true);
    const RECT r = form.ScreenRect();
    form.cursor = {r.left + 50, r.top + 50};
    c.SetParent(nullptr);
    clock.Advance(TqelSideChannel::kWatchInterval);
    EXPECT_EQ(c.State(), State::Closed);
}

TEST(QelsidechannelTest, PinningKeepsItOpenAndUnpinningWatchesAgain) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    MoveOver(c.SideBar());
    Slide(c, clock);
    ASSERT_EQ(c.State(), State::Open);

    ClickOn(c.PinButton());
    EXPECT_TRUE(c.PinButton().Down());
    EXPECT_TRUE(c.StayOn());
    EXPECT_FALSE(c.TimerEnabled());
    EXPECT_EQ(c.PinButton().Glyph.Width(), 8);  // the pinned glyph
    clock.Advance(4 * TqelSideChannel::kWatchInterval);
    EXPECT_EQ(c.State(), State::Open);

    ClickOn(c.PinButton());
    EXPECT_FALSE(c.PinButton().Down());
    EXPECT_FALSE(c.StayOn());
    EXPECT_TRUE(c.TimerEnabled());
    EXPECT_EQ(c.PinButton().Glyph.Width(), 7);
    clock.Advance(TqelSideChannel::kWatchInterval);
    EXPECT_EQ(c.State(), State::Closing);
    Slide(c, clock);
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(form.pushes, 1);
}

TEST(QelsidechannelTest, StayOnOpensPinnedAndItsEndClosesAtOnce) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.SetStayOn(true);
    Slide(c, clock);
    EXPECT_EQ(c.State(), State::Open);
    EXPECT_TRUE(c.PinButton().Down());
    EXPECT_FALSE(c.TimerEnabled());
    EXPECT_EQ(form.pops, 1);

    c.SetStayOn(false);
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(c.Width(), 10);
    EXPECT_FALSE(c.PinButton().Down());
    EXPECT_EQ(form.pushes, 1);
    // A closed channel watches nothing: no second close comes later.
    EXPECT_FALSE(c.TimerEnabled());
    clock.Advance(3 * TqelSideChannel::kWatchInterval);
    EXPECT_EQ(form.pushes, 1);
}

TEST(QelsidechannelTest, SideBarWidthSetWhileOpenClosesAtOnce) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.Pop(true);
    c.SetSideWidth(14);
    EXPECT_EQ(c.State(), State::Closed);
    EXPECT_EQ(c.Width(), 14);
    EXPECT_EQ(c.SideBar().Width(), 14);
    EXPECT_EQ(form.pushes, 1);
    EXPECT_EQ(clock.Running(), 0);
}

TEST(QelsidechannelTest, OpenChannelRefusesNarrowWidthsAndRemembersOthers) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    c.Pop(true);
    form.resizes = form.canResizeAsks = 0;
    c.SetBounds(c.Left(), c.Top(), 49, c.Height());
    EXPECT_EQ(c.Width(), 200);
    EXPECT_EQ(form.canResizeAsks, 1);  // the user's event is asked first
    c.SetBounds(c.Left(), c.Top(), 50, c.Height());
    EXPECT_EQ(c.Width(), 50);
    EXPECT_EQ(c.OpenWidth(), 50);
    EXPECT_EQ(form.resizes, 1);
    form.refusedWidth = 150;
    c.SetBounds(c.Left(), c.Top(), 150, c.Height());
    EXPECT_EQ(c.Width(), 50);
    c.SetBounds(c.Left(), c.Top(), 160, c.Height());
    EXPECT_EQ(c.OpenWidth(), 160);
    // Closed, the channel is narrower than that by right; opening again lands on the width kept.
    c.Push(true);
    EXPECT_EQ(c.Width(), 10);
    c.Pop(true);
    EXPECT_EQ(c.Width(), 160);
}

TEST(QelsidechannelTest, SlideEndsWhereTheUsersEventRefusesAStep) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    form.refusedWidth = 40;
    c.Pop(false);
    EXPECT_EQ(Slide(c, clock), (std::vector<int>{25, 200}));
    EXPECT_EQ(c.State(), State::Open);
}

TEST(QelsidechannelTest, ContainerStyleSetsBothColours) {
    ManualClock clock;
    SideForm form(clock);
    skin::ContainerApplyUIStyle(form, skin::TqelUIStyle::WinXP);
    EXPECT_EQ(form.channel->Color(), ui::TColor(0xDEEBEF));
    EXPECT_EQ(form.channel->GetSideColor(), ui::TColor(0xDEEBEF));
    EXPECT_EQ(form.channel->CaptionStrip().Color(), ui::TColor(0xDEEBEF));
}

TEST(QelsidechannelTest, PaintingAndSlidingHoldNoGdiObjects) {
    ManualClock clock;
    SideForm form(clock);
    TqelSideChannel& c = *form.channel;
    form.Show();
    ui::TBitmap shot;
    form.Shot(shot);
    c.Pop(false);
    Slide(c, clock);
    form.Shot(shot);
    const int before = GdiObjectCount();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 20; ++i) {
        c.Push(false);
        Slide(c, clock);
        form.Shot(shot);
        c.SetStayOn(true);
        Slide(c, clock);
        form.Shot(shot);
        c.SetStayOn(false);
    }
    EXPECT_EQ(GdiObjectCount(), before);
    // Pictures that are not there paint as nothing rather than fail.
    c.BarButton().SetPicNormal("NO_SUCH_PICTURE");
    EXPECT_NO_THROW(form.Shot(shot));
}

}  // namespace
