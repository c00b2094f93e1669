#include "Qelthemes.h"

#include "Component.h"
#include "Qelform.h"
#include "Qelpublic.h"

namespace skin {

namespace {

using K = TqelType;

// The kind of each entry, shared by every column; index 0 is unused.
constexpr TqelType kKinds[kThemeEntries + 1] = {
    K::Int,
    K::Int, K::Color, K::Color, K::Int, K::Int, K::Int,                                   // 1-6 frame
    K::Color, K::Color, K::Color,                                                          // 7-9 panels
    K::Color, K::Color, K::Color, K::Color, K::Color, K::Color, K::Color, K::Color, K::Color,  // 10-18 menu
    K::Int, K::Int, K::Int,                                                                // 19-21 menu
    K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str,  // 22-32
    K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str,  // 33-43
    K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str,  // 44-54
    K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str, K::Str,         // 55-64
    K::Bool, K::Int, K::Int, K::Int,                                                       // 65-68 title bar
    K::Str, K::Str, K::Str,                                                                // 69-71 tabs
    K::Int, K::Color,                                                                      // 72-73
};

// The numbers of one column; the names come from NameColumn.
struct Numbers {
    int32_t style, frameBorder, frameFace, frameBorderWidth, minWidth, cornerRadius;
    int32_t border, panelFace, groupFont;
    int32_t selBorder, selFill, selFont, unused13, menuColor, menuFont, barColor, separator, openStrip;
    int32_t itemHeight, separatorHeight, barWidth;
    int32_t titleTransparent, leftBtnX, rightBtnX, titleBtnTop, tabHeight, comboButton;
};

constexpr Numbers kMacOS{1, 0x7F7F7F, 0xE7E7E7, 1, 130, 0, 0x7F7F7F, 0xE7E7E7, 0x000000,
                         0x000000, 0x000000, 0xFFFFFF, 0, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000,
                         20, 12, 26, 0, 3, -2, 4, 34, 0xE7E7E7};
constexpr Numbers kWinXP{2, 0xC82C00, 0xDEEBEF, 3, 150, 13, 0x686868, 0xDEEBEF, 0xCF4602,
                         0xC66931, 0xEFD3C6, 0x000000, 0, 0xFFFFFF, 0x000000, 0xCED3D6, 0x848284, 0x9CA6AD,
                         21, 5, 26, 0, 2, -2, 5, 19, 0xDEEBEF};
constexpr Numbers kDeepBlue{3, 0x000000, 0xE8E8E8, 1, 130, 0, 0x000000, 0xE8E8E8, 0x000000,
                            0xA04A44, 0xA04A44, 0xFFFFFF, 0, 0xFFFFFF, 0x000000, 0xCED3D6, 0x848284, 0x9CA6AD,
                            21, 5, 26, 0, 0, 0, 2, 22, 0xE8E8E8};
constexpr Numbers kProtein{4, 0x000000, 0xFBFBFB, 1, 130, 0, 0x000000, 0xFBFBFB, 0x000000,
                           0xC4302D, 0xC4302D, 0xFFFFFF, 0, 0xFFFFFF, 0x000000, 0xCED3D6, 0x848284, 0x9CA6AD,
                           21, 5, 26, 1, 0, 0, 2, 22, 0xFBFBFB};
constexpr Numbers kBlueGlass{5, 0x000000, 0xE7E7E7, 1, 270, 11, 0x000000, 0xE7E7E7, 0x000000,
                             0xEC5E5E, 0xEC5E5E, 0xFFFFFF, 0, 0xE7E7E7, 0x000000, 0xCED3D6, 0x848284, 0x9CA6AD,
                             21, 5, 26, 1, 4, -3, 6, 22, 0xE9D6D5};

// Resource names of entries 22-64 and 69-71 for one style word. Check and radio boxes name the
// same two pictures in every state, and restore repeats maximise, except in WinXP.
#define QEL_TITLEBTN(S, B) S "_TITLEBTN_" B "_NORMAL", S "_TITLEBTN_" B "_MOUSEON", S "_TITLEBTN_" B "_MOUSEDOWN"
#define QEL_BOXES(S, C)                                                                              \
    S "_" C "_DISABLE_CHECK", S "_" C "_DISABLE_UNCHECK", S "_" C "_CHECK", S "_" C "_UNCHECK", S "_" C "_CHECK", \
        S "_" C "_UNCHECK", S "_" C "_CHECK", S "_" C "_UNCHECK"
#define QEL_XP_BOXES(S, C)                                                                                 \
    S "_" C "_DISABLE_CHECK", S "_" C "_DISABLE_UNCHECK", S "_" C "_NORMAL_CHECK", S "_" C "_NORMAL_UNCHECK", \
        S "_" C "_MOUSEON_CHECK", S "_" C "_MOUSEON_UNCHECK", S "_" C "_MOUSEDOWN_CHECK", S "_" C "_MOUSEDOWN_UNCHECK"
#define QEL_NAMES(S, BOXES, RESTORE)                                                                     \
    {"MENU_CHECKED", S "_BUTTON_NORMAL", S "_BUTTON_MOUSEON", S "_BUTTON_MOUSEDOWN", BOXES(S, "CHECKBOX"), \
     BOXES(S, "RADIOBUTTON"), S "_PROGRESSBAR", S "_PROGRESSBAR_V", S "_TITLE_LEFT", S "_TITLE_CLIENT",    \
     S "_TITLE_RIGHT", QEL_TITLEBTN(S, "CLOSE"), QEL_TITLEBTN(S, "MAX"), QEL_TITLEBTN(S, "MIN"),           \
     QEL_TITLEBTN(S, "HELP"), QEL_TITLEBTN(S, "CTLBOX"), QEL_TITLEBTN(S, RESTORE)}

constexpr int kFirstName = theme::kMenuCheckedPicture, kLastName = theme::kTitleBtnRestore + 2;
constexpr int kFirstTabName = theme::kTabActive;
using NameColumn = const char* const[kLastName - kFirstName + 1];

constexpr NameColumn kMacOSNames = QEL_NAMES("MACOS", QEL_BOXES, "MAX");
constexpr NameColumn kWinXPNames = QEL_NAMES("WINXP", QEL_XP_BOXES, "RST");
constexpr NameColumn kDeepBlueNames = QEL_NAMES("DEEPBLUE", QEL_BOXES, "MAX");
constexpr NameColumn kProteinNames = QEL_NAMES("PROTEIN", QEL_BOXES, "MAX");
constexpr NameColumn kBlueGlassNames = QEL_NAMES("BLUEGLASS", QEL_BOXES, "MAX");

#define QEL_TABS(S) {S "_TAB_ACTIVE", S "_TAB_INACTIVE", S "_TAB_LINE"}
constexpr const char* const kTabNames[5][3] = {QEL_TABS("MACOS"), QEL_TABS("WINXP"), QEL_TABS("DEEPBLUE"),
                                               QEL_TABS("PROTEIN"), QEL_TABS("BLUEGLASS")};

#undef QEL_TITLEBTN
#undef QEL_BOXES
#undef QEL_XP_BOXES
#undef QEL_NAMES
#undef QEL_TABS

using Column = intptr_t[kThemeEntries + 1];

void Fill(Column& c, const Numbers& n, const NameColumn& names, const char* const (&tabs)[3]) {
    const int32_t numbers[] = {n.style, n.frameBorder, n.frameFace, n.frameBorderWidth, n.minWidth, n.cornerRadius,
                               n.border, n.panelFace, n.groupFont, n.selBorder, n.selFill, n.selFont, n.unused13,
                               n.menuColor, n.menuFont, n.barColor, n.separator, n.openStrip, n.itemHeight,
                               n.separatorHeight, n.barWidth};
    for (int i = theme::kStyleNumber; i <= theme::kMenuBarWidth; ++i) c[i] = numbers[i - theme::kStyleNumber];
    for (int i = kFirstName; i <= kLastName; ++i) c[i] = reinterpret_cast<intptr_t>(names[i - kFirstName]);
    c[theme::kTitleBtnTransparent] = n.titleTransparent;
    c[theme::kTitleLeftBtnX] = n.leftBtnX;
    c[theme::kTitleRightBtnX] = n.rightBtnX;
    c[theme::kTitleBtnTop] = n.titleBtnTop;
    for (int i = 0; i < 3; ++i) c[kFirstTabName + i] = reinterpret_cast<intptr_t>(tabs[i]);
    c[theme::kTabHeight] = n.tabHeight;
    c[theme::kComboButtonColor] = n.comboButton;
}

// The five columns, MacOS first, built once on first use.
const Column* Columns() {
    static Column columns[5];
    static const bool built = [] {
        Fill(columns[0], kMacOS, kMacOSNames, kTabNames[0]);
        Fill(columns[1], kWinXP, kWinXPNames, kTabNames[1]);
        Fill(columns[2], kDeepBlue, kDeepBlueNames, kTabNames[2]);
        Fill(columns[3], kProtein, kProteinNames, kTabNames[3]);
        Fill(columns[4], kBlueGlass, kBlueGlassNames, kTabNames[4]);
        return true;
    }();
    (void)built;
    return columns;
}

}  // namespace

intptr_t GetThemeElement(TqelUIStyle style, int index, TqelType& kind) {
    const int s = static_cast<int>(style);
    if (s < 1 || s > 5) {
        kind = TqelType::Int;
        return -1;
    }
    kind = kKinds[index];
    return Columns()[s - 1][index];
}

std::string GetThemeString(TqelUIStyle style, int index) {
    TqelType kind;
    const intptr_t v = GetThemeElement(style, index, kind);
    return kind == TqelType::Str ? PCharToStr(reinterpret_cast<const char*>(v)) : std::string();
}

int GetThemeInt(TqelUIStyle style, int index) {
    TqelType kind;
    const intptr_t v = GetThemeElement(style, index, kind);
    return kind == TqelType::Int ? static_cast<int>(v) : -1;
}

bool GetThemeBool(TqelUIStyle style, int index) {
    TqelType kind;
    const intptr_t v = GetThemeElement(style, index, kind);
    return kind == TqelType::Bool && (v & 0xFF) != 0;
}

ui::TColor GetThemeColor(TqelUIStyle style, int index) {
    TqelType kind;
    const intptr_t v = GetThemeElement(style, index, kind);
    return kind == TqelType::Color ? static_cast<ui::TColor>(v) : 0;
}

const char* StyleWord(TqelUIStyle style) {
    static const char* const words[] = {"", "MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
    const int s = static_cast<int>(style);
    return s >= 0 && s <= 5 ? words[s] : "";
}

TqelUIStyle ParseUIStyle(const std::string& name) {
    static const char* const names[] = {"Custom", "MacOS", "WinXP", "DeepBlue", "Protein", "BlueGlass"};
    for (int s = 0; s <= 5; ++s) {
        if (ui::EqualsIdent(name, names[s]) || ui::EqualsIdent(name, std::string("qel") + names[s]))
            return static_cast<TqelUIStyle>(s);
    }
    throw ui::Exception("Unknown style " + name);
}

namespace {

const TqelForm* FirstFrame(const ui::TWinControl& form) {
    for (int i = 0; i < form.ControlCount(); ++i) {
        if (auto* frame = dynamic_cast<const TqelForm*>(form.Control(i))) return frame;
    }
    return nullptr;
}

}  // namespace

ui::TColor GetQELFormColor(const ui::TWinControl& form) {
    const TqelForm* frame = FirstFrame(form);
    return frame ? frame->Color() : ui::clBtnFace;
}

ui::TColor GetBorderColor(const ui::TWinControl& form) {
    const TqelForm* frame = FirstFrame(form);
    return frame ? GetThemeColor(frame->UIStyle(), theme::kBorderColor) : 0;
}

TqelUIStyle GetQELFormStyle(const ui::TComponent* owner) {
    const auto* form = dynamic_cast<const ui::TWinControl*>(owner);
    const TqelForm* frame = form ? FirstFrame(*form) : nullptr;
    return frame ? frame->UIStyle() : TqelUIStyle::DeepBlue;
}

void ContainerApplyUIStyle(ui::TWinControl& container, TqelUIStyle style) {
    for (int i = 0; i < container.ControlCount(); ++i) {
        if (auto* follower = dynamic_cast<IqelStyleFollower*>(container.Control(i))) follower->FollowContainerStyle(style);
    }
}

void SubContainerApplyUIStyle(ui::TWinControl& container, TqelUIStyle style) {
    for (int i = 0; i < container.ControlCount(); ++i) {
        if (auto* sub = dynamic_cast<IqelStyleContainer*>(container.Control(i))) sub->UpdateUIStyle(style);
    }
}

}  // namespace skin
