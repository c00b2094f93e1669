// The built program carries every skin picture the skinned controls load, each at its size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Qelthemes.h"

namespace {

struct Picture {
    std::string name;
    int width, height;
};

struct StyleSizes {
    const char* word;
    int titleHeight, titleButton;
    bool ownStates;  // separate check and radio pictures per state, and restore pictures
    int tabRow;      // a tab picture over the 5-pixel line fills the style's tab row
};

// Every picture by name and size, listed here apart from the drawing script.
std::vector<Picture> Expected() {
    const StyleSizes styles[] = {{"MACOS", 23, 17, false, 34},
                                 {"WINXP", 29, 21, true, 19},
                                 {"DEEPBLUE", 32, 19, false, 22},
                                 {"PROTEIN", 23, 19, false, 22},
                                 {"BLUEGLASS", 33, 19, false, 22}};
    std::vector<Picture> all = {{"MENU_CHECKED", 16, 16},           {"MACOS_MENU_BAR", 1, 22},
                                {"MACOS_MENU_SELECT", 1, 21},       {"MACOS_FORM_BACKGROUND", 8, 8},
                                {"PROTEIN_FORM_BACKGROUND", 8, 8},  {"MACOS_COMBOBOX_BUTTON", 16, 17}};
    for (const StyleSizes& s : styles) {
        const std::string w = s.word;
        for (const char* state : {"NORMAL", "MOUSEON", "MOUSEDOWN"}) all.push_back({w + "_BUTTON_" + state, 74, 21});
        for (const char* box : {"_CHECKBOX", "_RADIOBUTTON"}) {
            std::vector<std::string> states = {"_DISABLE"};
            if (s.ownStates) states.insert(states.end(), {"_NORMAL", "_MOUSEON", "_MOUSEDOWN"});
            else states.push_back("");
            for (const std::string& state : states) {
                all.push_back({w + box + state + "_CHECK", 13, 13});
                all.push_back({w + box + state + "_UNCHECK", 13, 13});
            }
        }
        all.push_back({w + "_PROGRESSBAR", 1, 10});
        all.push_back({w + "_PROGRESSBAR_V", 10, 1});
        all.push_back({w + "_TAB_ACTIVE", 6, s.tabRow - 5});
        all.push_back({w + "_TAB_INACTIVE", 6, s.tabRow - 5});
        all.push_back({w + "_TAB_LINE", 5, 5});
        all.push_back({w + "_TITLE_LEFT", 97, s.titleHeight});
        all.push_back({w + "_TITLE_CLIENT", 98, s.titleHeight});
        all.push_back({w + "_TITLE_RIGHT", 97, s.titleHeight});
        std::vector<const char*> buttons = {"CLOSE", "CTLBOX", "HELP", "MAX", "MIN"};
        if (s.ownStates) buttons.push_back("RST");
        for (const char* button : buttons) {
            for (const char* state : {"NORMAL", "MOUSEON", "MOUSEDOWN"})
                all.push_back({w + "_TITLEBTN_" + button + "_" + state, s.titleButton, s.titleButton});
        }
    }
    return all;
}

class SkinPicturesTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = LoadLibraryExA("Ripplecast.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program, nullptr);
    }
    void TearDown() override {
        if (program) FreeLibrary(program);
    }
    // The size of a bitmap resource of the program; {0, 0} when there is none.
    SIZE Size(const std::string& name) const {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(program, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bitmap) return {0, 0};
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        DeleteObject(bitmap);
        return {info.bmWidth, info.bmHeight};
    }
    HMODULE program = nullptr;
};

TEST_F(SkinPicturesTest, EveryPictureAtItsSize) {
    const std::vector<Picture> expected = Expected();
    EXPECT_EQ(expected.size(), 4u * 34 + 45 + 6);
    for (const Picture& p : expected) {
        const SIZE s = Size(p.name);
        EXPECT_EQ(s.cx, p.width) << p.name;
        EXPECT_EQ(s.cy, p.height) << p.name;
    }
}

TEST_F(SkinPicturesTest, EveryNameOfTheStyleTableIsThere) {
    for (int style = 1; style <= 5; ++style) {
        for (int index = 1; index <= skin::kThemeEntries; ++index) {
            const std::string name = skin::GetThemeString(static_cast<skin::TqelUIStyle>(style), index);
            if (name.empty()) continue;
            EXPECT_GT(Size(name).cx, 0) << name;
        }
    }
}

// The key colours the drawing relies on: image lists read the top-left pixel, transparent
// bitmaps the bottom-left one, and the check mark is masked with white.
TEST_F(SkinPicturesTest, KeyColoursWhereTheControlsLookForThem) {
    auto pixel = [&](const std::string& name, int x, int y) {
        HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(program, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        return c;
    };
    const COLORREF key = RGB(255, 0, 255);
    for (const char* w : {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"}) {
        const std::string s = w;
        EXPECT_EQ(pixel(s + "_BUTTON_NORMAL", 0, 0), key) << s;
        EXPECT_EQ(pixel(s + "_TAB_ACTIVE", 0, 0), key) << s;
        EXPECT_EQ(pixel(s + "_RADIOBUTTON_DISABLE_CHECK", 0, 12), key) << s;
        EXPECT_EQ(pixel(s + "_CHECKBOX_DISABLE_UNCHECK", 0, 12), key) << s;
        const int n = s == "MACOS" ? 17 : s == "WINXP" ? 21 : 19;
        EXPECT_EQ(pixel(s + "_TITLEBTN_CLOSE_NORMAL", 0, n - 1), key) << s;
    }
    EXPECT_EQ(pixel("MENU_CHECKED", 0, 0), RGB(255, 255, 255));
}

}  // namespace
