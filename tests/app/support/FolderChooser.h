// Stands in for a dialog's folder chooser: the set-up the dialog tests share.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Records the folder each opening starts at and answers with pick, or cancels while confirm is off.
struct FolderChooserFake {
    std::vector<std::string> openedAt;
    std::string pick;
    bool confirm = true;

    std::function<bool(std::string&)> Chooser() {
        return [this](std::string& folder) {
            openedAt.push_back(folder);
            if (confirm) folder = pick;
            return confirm;
        };
    }
};

// For the tests in which nothing may open it.
inline std::function<bool(std::string&)> ChooserThatMustNotOpen() {
    return [](std::string&) {
        ADD_FAILURE() << "the folder chooser opened";
        return false;
    };
}

// A mouse click on the dialog's folder button.
inline void ClickFolderButton(HWND button) {
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}
