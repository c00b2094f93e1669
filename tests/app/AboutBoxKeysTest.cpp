// The about box shown modally: OK, its default button, has the focus, and Enter or Esc pressed on
// it closes the box.
#include <windows.h>

#include <gtest/gtest.h>

#include "ModalBound.h"
#include "Plus.h"

namespace {

HWND focusAtKey = nullptr;
HWND boxWindow = nullptr;
WPARAM keyToPress = 0;

// Runs inside the box's modal loop: the key goes where a keyboard would send it, the focus.
void CALLBACK PressKey(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    focusAtKey = GetFocus();
    const HWND target = focusAtKey ? focusAtKey : boxWindow;
    PostMessageA(target, WM_KEYDOWN, keyToPress, 1);
    PostMessageA(target, WM_KEYUP, keyToPress, 0xC0000001);
}

TEST(AboutBoxKeysTest, OkHasTheFocusAndEnterOrEscClosesTheBox) {
    for (WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        TAboutBox box(ui::Application);
        ASSERT_TRUE(box.OKButton->Default);
        boxWindow = box.Handle();
        keyToPress = key;
        focusAtKey = nullptr;
        SetTimer(nullptr, 0, 100, &PressKey);
        EXPECT_EQ(ShowModalBounded(box), ui::mrOk) << "key " << key;
        EXPECT_EQ(focusAtKey, box.OKButton->HandleOrNull()) << "key " << key;
        EXPECT_FALSE(IsWindowVisible(box.HandleOrNull()));
    }
}

}  // namespace
