// The flat look shared by the bordered controls (edit, memo, list box, check list box, list view,
// tree view): no system border, a non-client band of its own (`kBorderWidth` pixels wide unless a
// control asks for another width), and over it a one-pixel frame in
// the border colour (the ring inside it in the control's colour), painted after every paint and
// background erase.
#pragma once
#include <windows.h>

#include "Qelpublic.h"
#include "Qelthemes.h"
#include "Reader.h"

namespace skin {

template <class Base>
class TqelBordered : public Base, public IqelStyleFollower {
public:
    static constexpr int kBorderWidth = 2;

    explicit TqelBordered(ui::TComponent* owner) : Base(owner) {
        if (const auto* form = dynamic_cast<const ui::TWinControl*>(owner)) borderColor_ = GetBorderColor(*form);
    }

    ui::TColor BorderColor() const { return borderColor_; }
    // The non-client band around the client area.
    int BandWidth() const { return bandWidth_; }
    void SetBorderColor(ui::TColor color) {
        borderColor_ = color;
        if (this->handle_)
            RedrawWindow(this->handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }

    void FollowContainerStyle(TqelUIStyle style) override { SetBorderColor(GetThemeColor(style, theme::kBorderColor)); }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_NCCALCSIZE: {
            const LRESULT result = Base::WndProc(message, wParam, lParam);
            // The first rectangle becomes the client area either way.
            RECT* r = reinterpret_cast<RECT*>(lParam);
            InflateRect(r, -bandWidth_, -bandWidth_);
            return result;
        }
        case WM_NCPAINT:
        case WM_PAINT:
        case WM_ERASEBKGND: {
            const LRESULT result = Base::WndProc(message, wParam, lParam);
            DrawControlBorder(*this, borderColor_, this->Color());
            return result;
        }
        default:
            return Base::WndProc(message, wParam, lParam);
        }
    }

    bool SetProperty(const std::string& name, const ui::Value& v, ui::Reader& reader) override {
        if (name != "BorderColor") return Base::SetProperty(name, v, reader);
        SetBorderColor(ui::ParseColor(v));
        return true;
    }

protected:
    void FillParams(ui::CreateParams& params) override {
        Base::FillParams(params);
        params.style &= ~static_cast<DWORD>(WS_BORDER);
        params.exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    }
    // The window was sized before it reached this procedure: have its client area computed again.
    void InitWnd() override {
        Base::InitWnd();
        FrameChanged();
    }
    void SetBandWidth(int width) {
        bandWidth_ = width;
        FrameChanged();
    }

private:
    void FrameChanged() {
        if (this->handle_)
            SetWindowPos(this->handle_, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int bandWidth_ = kBorderWidth;
    ui::TColor borderColor_ = 0;
};

}  // namespace skin
