// Keys pressed as on the keyboard: through the system's input queue to the window with the focus,
// with the key state (Shift held) that the receiver reads while it handles them.
#pragma once
#include <windows.h>

#include <vector>

inline void PressKey(WORD key, bool shift = false) {
    std::vector<INPUT> input;
    const auto add = [&input](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

inline void PressTab(bool back = false) { PressKey(VK_TAB, back); }
