// The handlers TXPMenu puts on menu items and bars. Each is a small callable type, so that a
// handler found on an item can be told apart from one the program put there.
#pragma once
#include "ComCtrls.h"
#include "ControlBar.h"
#include "Menus.h"
#include "Xpmenu.h"

namespace xpmenu {

struct DrawHook {
    TXPMenu* menu;
    void operator()(ui::TComponent* s, ui::TCanvas* c, ui::TRect r, bool selected) const {
        menu->DrawItem(s, c, r, selected);
    }
};

struct MeasureHook {
    TXPMenu* menu;
    void operator()(ui::TComponent* s, ui::TCanvas* c, int& w, int& h) const { menu->MeasureItem(s, c, w, h); }
};

struct ToolBarHook {
    TXPMenu* menu;
    void operator()(ui::TToolBar* bar, ui::TToolButton* button, ui::TCustomDrawState state, bool& draw) const {
        menu->ToolBarDrawButton(bar, button, state, draw);
    }
};

struct BandPaintHook {
    TXPMenu* menu;
    void operator()(ui::TComponent* s, ui::TControl* c, ui::TCanvas* canvas, ui::TRect& r,
                    ui::TBandPaintOptions& options) const {
        menu->ControlBarPaint(s, c, canvas, r, options);
    }
};

template <class Hook, class Event>
bool IsHookOf(const Event& event, const TXPMenu* menu) {
    const Hook* hook = event.template target<Hook>();
    return hook && hook->menu == menu;
}

inline bool IsDrawHook(const ui::TMenuDrawItemEvent& e, const TXPMenu* m) { return IsHookOf<DrawHook>(e, m); }
inline bool IsMeasureHook(const ui::TMenuMeasureItemEvent& e, const TXPMenu* m) { return IsHookOf<MeasureHook>(e, m); }
inline bool IsToolBarHook(const ui::TTBCustomDrawBtnEvent& e, const TXPMenu* m) { return IsHookOf<ToolBarHook>(e, m); }
inline bool IsBandPaintHook(const ui::TBandPaintEvent& e, const TXPMenu* m) { return IsHookOf<BandPaintHook>(e, m); }

// The class's own name without namespaces ("TButton"), for the tests that match names exactly.
std::string ClassNameOf(const ui::TComponent* component);

}  // namespace xpmenu
