// A control that tells of every mouse move over its window, for a container that reacts to the
// mouse over its pieces (the side channel opens when the mouse moves over its bar).
#pragma once
#include <windows.h>

#include <functional>

namespace skin {

template <class Base>
class TqelMouseMoveNotifier : public Base {
public:
    using Base::Base;
    std::function<void()> OnMouseMove;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = Base::WndProc(message, wParam, lParam);
        if (message == WM_MOUSEMOVE && OnMouseMove) OnMouseMove();
        return result;
    }
};

}  // namespace skin
