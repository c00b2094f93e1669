// The style table of the skinned controls: for each visual style a column of 73 typed values
// (colours, sizes, switches, names of bitmap resources), the typed lookups, the queries that find
// the style of a form's frame, and the pushing of a style down to a container's skinned children.
#pragma once
#include <cstdint>
#include <string>

#include "Controls.h"
#include "Graphics.h"

namespace skin {

enum class TqelUIStyle : uint8_t { Custom = 0, MacOS = 1, WinXP = 2, DeepBlue = 3, Protein = 4, BlueGlass = 5 };
enum class TqelType : uint8_t { Int = 0, Color = 1, Str = 2, Bool = 3 };

constexpr int kThemeEntries = 73;

// The entries of a column by what they hold.
namespace theme {
constexpr int kStyleNumber = 1;  // read by no control
constexpr int kFormBorderColor = 2, kFormColor = 3, kFormBorderWidth = 4, kFormMinWidth = 5, kFormCornerRadius = 6;
constexpr int kBorderColor = 7;  // of the bordered controls
constexpr int kPanelColor = 8, kGroupFontColor = 9;
constexpr int kMenuSelectedBorderColor = 10, kMenuSelectedColor = 11, kMenuSelectedFontColor = 12;
constexpr int kUnused13 = 13;  // read by no control
constexpr int kMenuColor = 14, kMenuFontColor = 15, kMenuBarColor = 16, kMenuSeparatorColor = 17;
constexpr int kMenuOpenStripColor = 18;  // along the right edge of an opened menu-bar button
constexpr int kMenuItemHeight = 19, kMenuSeparatorHeight = 20, kMenuBarWidth = 21;
// Pictures (resource names) from here to kTitleBtnRestore + 2.
constexpr int kMenuCheckedPicture = 22;
constexpr int kButtonNormal = 23, kButtonMouseOn = 24, kButtonMouseDown = 25;
constexpr int kCheckBoxDisabledChecked = 26, kCheckBoxDisabledUnchecked = 27;
constexpr int kCheckBoxChecked = 28, kCheckBoxUnchecked = 29;
constexpr int kCheckBoxMouseOnChecked = 30, kCheckBoxMouseOnUnchecked = 31;
constexpr int kCheckBoxMouseDownChecked = 32, kCheckBoxMouseDownUnchecked = 33;
constexpr int kRadioButtonDisabledChecked = 34, kRadioButtonDisabledUnchecked = 35;
constexpr int kRadioButtonChecked = 36, kRadioButtonUnchecked = 37;
constexpr int kRadioButtonMouseOnChecked = 38, kRadioButtonMouseOnUnchecked = 39;
constexpr int kRadioButtonMouseDownChecked = 40, kRadioButtonMouseDownUnchecked = 41;
constexpr int kProgressBar = 42, kProgressBarVertical = 43;
constexpr int kTitleLeft = 44, kTitleClient = 45, kTitleRight = 46;
// Each title-bar button: its normal picture, then mouse-over and pressed.
constexpr int kTitleBtnClose = 47, kTitleBtnMax = 50, kTitleBtnMin = 53, kTitleBtnHelp = 56;
constexpr int kTitleBtnControlBox = 59, kTitleBtnRestore = 62;
constexpr int kTitleBtnTransparent = 65, kTitleLeftBtnX = 66, kTitleRightBtnX = 67, kTitleBtnTop = 68;
constexpr int kTabActive = 69, kTabInactive = 70, kTabLine = 71, kTabHeight = 72;
constexpr int kComboButtonColor = 73;
}  // namespace theme

// The raw value of entry `index` (1..73) and its kind; Custom (or any style above 5) answers Int -1.
// A Str value is the address of a zero-terminated resource name.
intptr_t GetThemeElement(TqelUIStyle style, int index, TqelType& kind);
// Each typed lookup answers its fallback ("", -1, false, 0) when the entry is of another kind.
std::string GetThemeString(TqelUIStyle style, int index);
int GetThemeInt(TqelUIStyle style, int index);
bool GetThemeBool(TqelUIStyle style, int index);
ui::TColor GetThemeColor(TqelUIStyle style, int index);

// The style word of the resource names ("DEEPBLUE"); empty for Custom.
const char* StyleWord(TqelUIStyle style);
// A style named in a form description: DeepBlue or qelDeepBlue.
TqelUIStyle ParseUIStyle(const std::string& name);

// The first form frame among the form's direct children decides; without one: clBtnFace,
// black and DeepBlue.
ui::TColor GetQELFormColor(const ui::TWinControl& form);
ui::TColor GetBorderColor(const ui::TWinControl& form);
TqelUIStyle GetQELFormStyle(const ui::TComponent* owner);

// A skinned control that follows the style its container pushes down: a styled button takes the
// style unless it is Custom, a bordered control takes the style's border colour, and so on.
class IqelStyleFollower {
public:
    virtual void FollowContainerStyle(TqelUIStyle style) = 0;

protected:
    ~IqelStyleFollower() = default;
};

// A skinned container (image panel, group box) that passes a style on to its own children.
class IqelStyleContainer {
public:
    virtual void UpdateUIStyle(TqelUIStyle style) = 0;

protected:
    ~IqelStyleContainer() = default;
};

// The direct children only; grandchildren are reached through SubContainerApplyUIStyle.
void ContainerApplyUIStyle(ui::TWinControl& container, TqelUIStyle style);
void SubContainerApplyUIStyle(ui::TWinControl& container, TqelUIStyle style);

}  // namespace skin
