// A main menu whose items are all drawn in the colours, heights and pictures of a visual style:
// a bar strip on the left, a framed selection, flat separators, images, check marks and
// right-aligned shortcut texts.
#pragma once
#include <memory>
#include <string>

#include "ImgList.h"
#include "Menus.h"
#include "Qelthemes.h"

namespace skin {

class TqelMainMenu : public ui::TMainMenu {
public:
    explicit TqelMainMenu(ui::TComponent* owner);
    ~TqelMainMenu() override;

    // The user's image list; nullptr while the menu's own check-mark list is in place.
    ui::TImageList* Images() const;
    // nullptr puts the menu's own list back.
    void SetImages(ui::TImageList* images);
    bool OwnerDraw() const { return true; }

    TqelUIStyle UIStyle() const { return uiStyle_; }
    // Not Custom: colours and heights come from the style table.
    void SetUIStyle(TqelUIStyle style);
    int MenuItemHeight() const { return menuItemHeight_; }
    void SetMenuItemHeight(int height);  // ignored in MacOS, whose pictures fix the height
    int SeparatorHeight() const { return separatorHeight_; }
    void SetSeparatorHeight(int height);
    bool UseSystemFont() const { return useSystemFont_; }
    void SetUseSystemFont(bool value);

    int BarWidth = 0;
    ui::TColor BarColor = ui::clBtnFace;
    ui::TColor Color = 0xFFFFFF;
    ui::TColor SeparatorColor = 0x808080;
    ui::TColor SelectedBorderColor = ui::clHighlight;
    ui::TColor SelectedColor = ui::clHighlight;
    ui::TColor SelectedFontColor = 0xFFFFFF;
    ui::TColor FontColor = 0xFFFFFF;
    ui::TColor BorderColor = 0;
    bool FlatMenu = false;
    std::string FontName = "MS Sans Serif";
    int FontSize = 8;
    int FontCharset = DEFAULT_CHARSET;

    // The owner-draw handlers hooked onto every item when loading ends.
    void MeasureItem(ui::TComponent* sender, ui::TCanvas* canvas, int& width, int& height);
    void DrawItem(ui::TComponent* sender, ui::TCanvas* canvas, ui::TRect rect, bool selected);

    void Loaded() override;
    bool SetProperty(const std::string& name, const ui::Value& value, ui::Reader& reader) override;
    void Notification(ui::TComponent* component, ui::Operation operation) override;

private:
    void AfterConstruction();
    bool HasImage(const ui::TMenuItem& item) const;
    void DrawBackground(ui::TCanvas& canvas, const ui::TRect& rect) const;

    std::unique_ptr<ui::TImageList> checkImages_;
    TqelUIStyle uiStyle_ = TqelUIStyle::DeepBlue;
    int menuItemHeight_ = 21;
    int separatorHeight_ = 21;
    bool useSystemFont_ = true;
};

}  // namespace skin
