// The flat tool bar that shows a form frame's main menu: one button per top-level item, each
// dropping its items down. Besides its buttons it lets its owner paint the bar's own background.
#pragma once
#include <functional>

#include "ComCtrls.h"

namespace skin {

class TqelMenuBar : public ui::TToolBar {
public:
    using TDrawBarEvent = std::function<void(TqelMenuBar*, ui::TCanvas&, const ui::TRect&, bool&)>;

    explicit TqelMenuBar(ui::TComponent* owner) : ui::TToolBar(owner) {}

    // Set: runs before the bar paints; clearing defaultDraw leaves the background as drawn.
    TDrawBarEvent OnCustomDraw;
    // Fills the rect with the bar's colour and runs the bar's own draw handler on it (what the bar
    // does before painting its buttons).
    bool DrawBar(ui::TCanvas& canvas, const ui::TRect& rect);

    // One button per top-level item of the menu, each ButtonHeight high.
    void ShowMenu(ui::TMainMenu* menu);
    // The bar's font was changed in place: the buttons are measured again.
    void FontUpdated() { FontChanged(); }

    bool HandleNotify(NMHDR* header, LRESULT& result) override;

protected:
    void InitWnd() override;

private:
    void FitButtonHeight();
};

}  // namespace skin
