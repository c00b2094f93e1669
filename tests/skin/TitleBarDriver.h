// The title bar driven as a user drives it: messages sent to its window at points of the bar,
// with the hovered button read from where the mouse is said to be. A press on the bare bar asks
// the form to be dragged; the test forms keep that request (KeepDragRequest) instead of entering
// the window manager's move loop, which would wait for a real mouse.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include "Qelpublic.h"
#include "Qeltitlebar.h"

class TitleBarDriver {
public:
    // Lives shorter than the bar: it gives the bar the system's cursor back when it goes.
    explicit TitleBarDriver(skin::TqelTitleBar& bar) : bar_(bar) {
        bar_.SetCursorSource([this] { return cursor_; });
    }
    ~TitleBarDriver() { bar_.SetCursorSource(skin::SystemCursorPos); }
    TitleBarDriver(const TitleBarDriver&) = delete;
    TitleBarDriver& operator=(const TitleBarDriver&) = delete;

    // A point inside button i in bar coordinates: the row runs leftwards from the right edge, the
    // control box sits at the left offset.
    POINT Inside(int index) const {
        using skin::TqelTitleBarBtnType;
        if (bar_.Button(index).ButtonType() == TqelTitleBarBtnType::qelControlBox)
            return {bar_.LeftBtnXOffset() + 3, bar_.Button(index).Top() + 3};
        int x = bar_.Width() + bar_.RightBtnXOffset() + 1;
        for (int i = 0; i < bar_.ButtonCount(); ++i) {
            auto& button = bar_.Button(i);
            if (button.ButtonType() == TqelTitleBarBtnType::qelControlBox) continue;
            x -= button.PicNormal().Width() + bar_.ButtonInterval() + 1;
            if (i == index) return {x + 3, button.Top() + 3};
        }
        ADD_FAILURE() << "no button " << index;
        return {-1, -1};
    }
    POINT BareBar() const { return {bar_.Width() / 2, bar_.Height() / 2}; }

    void Send(UINT message, POINT at) {
        cursor_ = at;
        ClientToScreen(bar_.Handle(), &cursor_);
        SendMessageA(bar_.Handle(), message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(at.x, at.y));
    }
    void Click(POINT at) {
        Send(WM_MOUSEMOVE, at);
        Send(WM_LBUTTONDOWN, at);
        Send(WM_LBUTTONUP, at);
    }

private:
    skin::TqelTitleBar& bar_;
    POINT cursor_{-1000, -1000};
};

// True for the bar's request to drag the form, which is then only counted.
inline bool KeepDragRequest(UINT message, WPARAM wParam, int& drags) {
    if (message != WM_NCLBUTTONDOWN || wParam != HTCAPTION) return false;
    ++drags;
    return true;
}
