// The style table read through its typed lookups, the queries that find a form's frame, and the
// pushing of a style to a container's children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Qelform.h"
#include "Qelthemes.h"

namespace {

using skin::TqelUIStyle;
using S = TqelUIStyle;

enum class Get { Str, Int, Bool, Color };

struct Case {
    S style;
    int index;
    Get get;
    long long number;  // Int, Bool, Color
    const char* text;  // Str
};

const Case kCases[] = {
    // Values of each kind.
    {S::DeepBlue, 7, Get::Color, 0x000000, nullptr},
    {S::DeepBlue, 19, Get::Int, 21, nullptr},
    {S::MacOS, 2, Get::Color, 0x7F7F7F, nullptr},
    {S::WinXP, 10, Get::Color, 0xC66931, nullptr},
    {S::WinXP, 4, Get::Int, 3, nullptr},
    {S::BlueGlass, 73, Get::Color, 0xE9D6D5, nullptr},
    {S::BlueGlass, 5, Get::Int, 270, nullptr},
    {S::MacOS, 20, Get::Int, 12, nullptr},
    {S::BlueGlass, 67, Get::Int, -3, nullptr},
    {S::MacOS, 72, Get::Int, 34, nullptr},
    {S::Protein, 65, Get::Bool, 1, nullptr},
    {S::DeepBlue, 65, Get::Bool, 0, nullptr},
    {S::Protein, 11, Get::Color, 0xC4302D, nullptr},
    {S::WinXP, 62, Get::Str, 0, "WINXP_TITLEBTN_RST_NORMAL"},
    {S::DeepBlue, 62, Get::Str, 0, "DEEPBLUE_TITLEBTN_MAX_NORMAL"},
    {S::WinXP, 28, Get::Str, 0, "WINXP_CHECKBOX_NORMAL_CHECK"},
    {S::WinXP, 39, Get::Str, 0, "WINXP_RADIOBUTTON_MOUSEON_UNCHECK"},
    {S::DeepBlue, 32, Get::Str, 0, "DEEPBLUE_CHECKBOX_CHECK"},
    {S::Protein, 41, Get::Str, 0, "PROTEIN_RADIOBUTTON_UNCHECK"},
    {S::Protein, 27, Get::Str, 0, "PROTEIN_CHECKBOX_DISABLE_UNCHECK"},
    {S::BlueGlass, 22, Get::Str, 0, "MENU_CHECKED"},
    {S::MacOS, 71, Get::Str, 0, "MACOS_TAB_LINE"},
    {S::WinXP, 60, Get::Str, 0, "WINXP_TITLEBTN_CTLBOX_MOUSEON"},
    {S::DeepBlue, 43, Get::Str, 0, "DEEPBLUE_PROGRESSBAR_V"},
    {S::Protein, 46, Get::Str, 0, "PROTEIN_TITLE_RIGHT"},
    {S::BlueGlass, 64, Get::Str, 0, "BLUEGLASS_TITLEBTN_MAX_MOUSEDOWN"},
    // Custom has no column: only the Int lookup matches its answer.
    {S::Custom, 19, Get::Int, -1, nullptr},
    {S::Custom, 1, Get::Int, -1, nullptr},
    {S::Custom, 22, Get::Str, 0, ""},
    {S::Custom, 65, Get::Bool, 0, nullptr},
    {S::Custom, 2, Get::Color, 0, nullptr},
    {static_cast<S>(6), 19, Get::Int, -1, nullptr},
    {static_cast<S>(6), 14, Get::Color, 0, nullptr},
    // A lookup of another kind gives its fallback, not the stored value.
    {S::DeepBlue, 19, Get::Color, 0, nullptr},
    {S::WinXP, 10, Get::Int, -1, nullptr},
    {S::DeepBlue, 19, Get::Str, 0, ""},
    {S::Protein, 4, Get::Bool, 0, nullptr},
    {S::Protein, 65, Get::Int, -1, nullptr},
    {S::WinXP, 22, Get::Color, 0, nullptr},
    {S::MacOS, 65, Get::Str, 0, ""},
};

void ExpectLookup(const Case& c) {
    switch (c.get) {
    case Get::Str: EXPECT_EQ(skin::GetThemeString(c.style, c.index), c.text); break;
    case Get::Int: EXPECT_EQ(skin::GetThemeInt(c.style, c.index), c.number); break;
    case Get::Bool: EXPECT_EQ(skin::GetThemeBool(c.style, c.index), c.number != 0); break;
    case Get::Color: EXPECT_EQ(skin::GetThemeColor(c.style, c.index), c.number); break;
    }
}

TEST(QelthemesTest, TypedLookups) {
    for (const Case& c : kCases) {
        SCOPED_TRACE("style " + std::to_string(static_cast<int>(c.style)) + " entry " + std::to_string(c.index));
        ExpectLookup(c);
    }
}

// The names the controls read the table by, each against the value that the WinXP column holds at
// its entry (WinXP tells most entries apart).
TEST(QelthemesTest, NamedEntriesHoldWhatTheirNamesSay) {
    using namespace skin::theme;
    const Case named[] = {
        {S::WinXP, kStyleNumber, Get::Int, 2, nullptr},
        {S::WinXP, kFormBorderColor, Get::Color, 0xC82C00, nullptr},
        {S::WinXP, kFormColor, Get::Color, 0xDEEBEF, nullptr},
        {S::WinXP, kFormBorderWidth, Get::Int, 3, nullptr},
        {S::WinXP, kFormMinWidth, Get::Int, 150, nullptr},
        {S::WinXP, kFormCornerRadius, Get::Int, 13, nullptr},
        {S::WinXP, kBorderColor, Get::Color, 0x686868, nullptr},
        {S::WinXP, kPanelColor, Get::Color, 0xDEEBEF, nullptr},
        {S::WinXP, kGroupFontColor, Get::Color, 0xCF4602, nullptr},
        {S::WinXP, kMenuSelectedBorderColor, Get::Color, 0xC66931, nullptr},
        {S::WinXP, kMenuSelectedColor, Get::Color, 0xEFD3C6, nullptr},
        {S::MacOS, kMenuSelectedFontColor, Get::Color, 0xFFFFFF, nullptr},
        {S::WinXP, kMenuColor, Get::Color, 0xFFFFFF, nullptr},
        {S::WinXP, kMenuFontColor, Get::Color, 0x000000, nullptr},
        {S::WinXP, kMenuBarColor, Get::Color, 0xCED3D6, nullptr},
        {S::WinXP, kMenuSeparatorColor, Get::Color, 0x848284, nullptr},
        {S::WinXP, kMenuOpenStripColor, Get::Color, 0x9CA6AD, nullptr},
        {S::WinXP, kMenuItemHeight, Get::Int, 21, nullptr},
        {S::WinXP, kMenuSeparatorHeight, Get::Int, 5, nullptr},
        {S::WinXP, kMenuBarWidth, Get::Int, 26, nullptr},
        {S::WinXP, kMenuCheckedPicture, Get::Str, 0, "MENU_CHECKED"},
        {S::WinXP, kButtonNormal, Get::Str, 0, "WINXP_BUTTON_NORMAL"},
        {S::WinXP, kButtonMouseOn, Get::Str, 0, "WINXP_BUTTON_MOUSEON"},
        {S::WinXP, kButtonMouseDown, Get::Str, 0, "WINXP_BUTTON_MOUSEDOWN"},
        {S::WinXP, kCheckBoxDisabledChecked, Get::Str, 0, "WINXP_CHECKBOX_DISABLE_CHECK"},
        {S::WinXP, kCheckBoxDisabledUnchecked, Get::Str, 0, "WINXP_CHECKBOX_DISABLE_UNCHECK"},
        {S::WinXP, kCheckBoxChecked, Get::Str, 0, "WINXP_CHECKBOX_NORMAL_CHECK"},
        {S::WinXP, kCheckBoxUnchecked, Get::Str, 0, "WINXP_CHECKBOX_NORMAL_UNCHECK"},
        {S::WinXP, kCheckBoxMouseOnChecked, Get::Str, 0, "WINXP_CHECKBOX_MOUSEON_CHECK"},
        {S::WinXP, kCheckBoxMouseOnUnchecked, Get::Str, 0, "WINXP_CHECKBOX_MOUSEON_UNCHECK"},
        {S::WinXP, kCheckBoxMouseDownChecked, Get::Str, 0, "WINXP_CHECKBOX_MOUSEDOWN_CHECK"},
        {S::WinXP, kCheckBoxMouseDownUnchecked, Get::Str, 0, "WINXP_CHECKBOX_MOUSEDOWN_UNCHECK"},
        {S::WinXP, kRadioButtonDisabledChecked, Get::Str, 0, "WINXP_RADIOBUTTON_DISABLE_CHECK"},
        {S::WinXP, kRadioButtonDisabledUnchecked, Get::Str, 0, "WINXP_RADIOBUTTON_DISABLE_UNCHECK"},
        {S::WinXP, kRadioButtonChecked, Get::Str, 0, "WINXP_RADIOBUTTON_NORMAL_CHECK"},
        {S::WinXP, kRadioButtonUnchecked, Get::Str, 0, "WINXP_RADIOBUTTON_NORMAL_UNCHECK"},
        {S::WinXP, kRadioButtonMouseOnChecked, Get::Str, 0, "WINXP_RADIOBUTTON_MOUSEON_CHECK"},
        {S::WinXP, kRadioButtonMouseOnUnchecked, Get::Str, 0, "WINXP_RADIOBUTTON_MOUSEON_UNCHECK"},
        {S::WinXP, kRadioButtonMouseDownChecked, Get::Str, 0, "WINXP_RADIOBUTTON_MOUSEDOWN_CHECK"},
        {S::WinXP, kRadioButtonMouseDownUnchecked, Get::Str, 0, "WINXP_RADIOBUTTON_MOUSEDOWN_UNCHECK"},
        {S::WinXP, kProgressBar, Get::Str, 0, "WINXP_PROGRESSBAR"},
        {S::WinXP, kProgressBarVertical, Get::Str, 0, "WINXP_PROGRESSBAR_V"},
        {S::WinXP, kTitleLeft, Get::Str, 0, "WINXP_TITLE_LEFT"},
        {S::WinXP, kTitleClient, Get::Str, 0, "WINXP_TITLE_CLIENT"},
        {S::WinXP, kTitleRight, Get::Str, 0, "WINXP_TITLE_RIGHT"},
        {S::WinXP, kTitleBtnClose, Get::Str, 0, "WINXP_TITLEBTN_CLOSE_NORMAL"},
        {S::WinXP, kTitleBtnClose + 2, Get::Str, 0, "WINXP_TITLEBTN_CLOSE_MOUSEDOWN"},
        {S::WinXP, kTitleBtnMax, Get::Str, 0, "WINXP_TITLEBTN_MAX_NORMAL"},
        {S::WinXP, kTitleBtnMin, Get::Str, 0, "WINXP_TITLEBTN_MIN_NORMAL"},
        {S::WinXP, kTitleBtnHelp, Get::Str, 0, "WINXP_TITLEBTN_HELP_NORMAL"},
        {S::WinXP, kTitleBtnControlBox, Get::Str, 0, "WINXP_TITLEBTN_CTLBOX_NORMAL"},
        {S::WinXP, kTitleBtnRestore, Get::Str, 0, "WINXP_TITLEBTN_RST_NORMAL"},
        {S::WinXP, kTitleBtnRestore + 1, Get::Str, 0, "WINXP_TITLEBTN_RST_MOUSEON"},
        {S::Protein, kTitleBtnTransparent, Get::Bool, 1, nullptr},
        {S::WinXP, kTitleLeftBtnX, Get::Int, 2, nullptr},
        {S::WinXP, kTitleRightBtnX, Get::Int, -2, nullptr},
        {S::WinXP, kTitleBtnTop, Get::Int, 5, nullptr},
        {S::WinXP, kTabActive, Get::Str, 0, "WINXP_TAB_ACTIVE"},
        {S::WinXP, kTabInactive, Get::Str, 0, "WINXP_TAB_INACTIVE"},
        {S::WinXP, kTabLine, Get::Str, 0, "WINXP_TAB_LINE"},
        {S::WinXP, kTabHeight, Get::Int, 19, nullptr},
        {S::BlueGlass, kComboButtonColor, Get::Color, 0xE9D6D5, nullptr},
    };
    for (const Case& c : named) {
        SCOPED_TRACE("entry " + std::to_string(c.index));
        ExpectLookup(c);
    }
}

TEST(QelthemesTest, RawElementCarriesItsKind) {
    skin::TqelType kind = skin::TqelType::Str;
    EXPECT_EQ(skin::GetThemeElement(S::Custom, 22, kind), -1);
    EXPECT_EQ(kind, skin::TqelType::Int);
    EXPECT_EQ(skin::GetThemeElement(S::WinXP, 73, kind), 0xDEEBEF);
    EXPECT_EQ(kind, skin::TqelType::Color);
    EXPECT_EQ(skin::GetThemeElement(S::BlueGlass, 1, kind), 5);
    EXPECT_EQ(kind, skin::TqelType::Int);
    skin::GetThemeElement(S::MacOS, 65, kind);
    EXPECT_EQ(kind, skin::TqelType::Bool);
}

// Every bitmap entry names a picture of its own style (or the shared check mark).
TEST(QelthemesTest, BitmapNamesCarryTheirStyleWord) {
    for (int s = 1; s <= 5; ++s) {
        const auto style = static_cast<S>(s);
        const std::string word = std::string(skin::StyleWord(style)) + "_";
        for (int i = 1; i <= skin::kThemeEntries; ++i) {
            skin::TqelType kind;
            skin::GetThemeElement(style, i, kind);
            if (kind != skin::TqelType::Str) continue;
            const std::string name = skin::GetThemeString(style, i);
            if (i == 22) EXPECT_EQ(name, "MENU_CHECKED");
            else EXPECT_EQ(name.rfind(word, 0), 0u) << name << " at " << i;
        }
    }
}

TEST(QelthemesTest, FormQueriesFollowTheFirstFrame) {
    ui::TForm form(ui::Application);
    ui::TPanel panel(&form);
    panel.SetParent(&form);
    EXPECT_EQ(skin::GetQELFormStyle(&form), S::DeepBlue);
    EXPECT_EQ(skin::GetQELFormColor(form), ui::clBtnFace);
    EXPECT_EQ(skin::GetBorderColor(form), 0);
    EXPECT_EQ(skin::GetQELFormStyle(nullptr), S::DeepBlue);

    skin::TqelForm first(&form);
    first.SetParent(&form);
    first.SetUIStyle(S::WinXP);
    EXPECT_EQ(skin::GetQELFormStyle(&form), S::WinXP);
    EXPECT_EQ(skin::GetQELFormColor(form), 0xDEEBEF);
    EXPECT_EQ(skin::GetBorderColor(form), 0x686868);

    // A form takes one frame of its own; one owned elsewhere and placed on it comes second.
    skin::TqelForm second(nullptr);
    second.SetParent(&form);
    second.SetUIStyle(S::MacOS);
    EXPECT_EQ(skin::GetQELFormStyle(&form), S::WinXP);
    EXPECT_EQ(skin::GetBorderColor(form), 0x686868);
}

// A control that records what its container pushed to it.
class Follower : public ui::TPanel, public skin::IqelStyleFollower {
public:
    using ui::TPanel::TPanel;
    void FollowContainerStyle(TqelUIStyle style) override { got.push_back(style); }
    std::vector<TqelUIStyle> got;
};

class SubContainer : public ui::TPanel, public skin::IqelStyleContainer {
public:
    using ui::TPanel::TPanel;
    void UpdateUIStyle(TqelUIStyle style) override { skin::ContainerApplyUIStyle(*this, style); }
};

TEST(QelthemesTest, StyleReachesChildrenAndSubContainersTwoLevelsDeep) {
    ui::TForm form(ui::Application);
    skin::TqelForm frame(&form);
    frame.SetParent(&form);
    Follower child(&form), grandchild(&form), deeper(&form);
    SubContainer group(&form);
    ui::TPanel plain(&form);
    child.SetParent(&frame);
    group.SetParent(&frame);
    grandchild.SetParent(&group);
    plain.SetParent(&group);
    deeper.SetParent(&plain);

    frame.SetUIStyle(S::Protein);
    EXPECT_EQ(child.got, std::vector<TqelUIStyle>{S::Protein});
    EXPECT_EQ(grandchild.got, std::vector<TqelUIStyle>{S::Protein});
    EXPECT_TRUE(deeper.got.empty());

    frame.SetUIStyle(S::Custom);
    EXPECT_EQ(child.got.size(), 1u);
}

}  // namespace
