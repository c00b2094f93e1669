// A panel with a row of tabs at the top drawn from the style's tab pictures and a framed client
// area below. It does not switch pages: it keeps the tab captions and the active tab and reports
// every change of tab through OnTabActive.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Qelthemes.h"

namespace skin {

class TqelTabControl;
using TTabActiveNotify = std::function<void(ui::TComponent* sender, int tabIndex)>;

// The row of tabs; painted through an off-screen bitmap.
class TqelTabControlTopPanel : public ui::TCustomPanel {
public:
    // Only the first 63 tabs keep their widths; the last entry stays 0 and ends the hit test.
    static constexpr int kKeptWidths = 63;

    TqelTabControlTopPanel(ui::TComponent* owner, TqelTabControl* tabControl);

    const std::vector<std::string>& Tabs() const { return tabs_; }
    void SetTabs(const std::vector<std::string>& tabs);
    int TabIndex() const { return tabIndex_; }
    // -1 or an index of a tab; anything else is ignored. Raises OnTabActive for every valid index.
    void SetTabIndex(int value);
    int LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(int value);
    TqelUIStyle UIStyle() const { return uiStyle_; }
    void SetUIStyle(TqelUIStyle style);
    // Width of tab i as last painted; 0 for tabs not painted.
    int TabWidth(int i) const { return tabWidths_.at(i); }
    int StripHeight() const { return stripHeight_; }
    TTabActiveNotify OnTabActive;

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void Paint(ui::TCanvas& canvas) override;

private:
    void HitTest(int x, int y);

    TqelTabControl* tabControl_;
    std::vector<std::string> tabs_{"Tab1"};
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    std::string activeName_, inactiveName_, lineName_;
    int tabIndex_ = 0;
    int leftMargin_ = 10;
    std::array<int, kKeptWidths + 1> tabWidths_{};
    int stripHeight_ = 0;
};

class TqelTabControl : public ui::TCustomPanel, public IqelStyleFollower {
public:
    explicit TqelTabControl(ui::TComponent* owner);

    TqelTabControlTopPanel& TopPanel() { return *topPanel_; }
    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Custom is ignored: the control keeps its style, colours and pictures.
    void SetUIStyle(TqelUIStyle style);
    ui::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(ui::TColor color);
    // The font of the tab captions.
    void SetFont(const ui::TFont& font);

    const std::vector<std::string>& Tabs() const { return topPanel_->Tabs(); }
    void SetTabs(const std::vector<std::string>& tabs) { topPanel_->SetTabs(tabs); }
    int TabIndex() const { return topPanel_->TabIndex(); }
    void SetTabIndex(int value) { topPanel_->SetTabIndex(value); }
    int LeftMargin() const { return topPanel_->LeftMargin(); }
    void SetLeftMargin(int value) { topPanel_->SetLeftMargin(value); }
    void SetOnTabActive(TTabActiveNotify handler) { topPanel_->OnTabActive = std::move(handler); }

    void FollowContainerStyle(TqelUIStyle style) override { SetUIStyle(style); }
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;

protected:
    void Paint(ui::TCanvas& canvas) override;
    void FontChanged() override;

private:
    TqelTabControlTopPanel* topPanel_;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    ui::TColor borderColor_ = 0;
};

}  // namespace skin
