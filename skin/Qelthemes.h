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
