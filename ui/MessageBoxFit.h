// Message boxes whose title bar shows their whole caption.
#pragma once
#include <windows.h>

#include <string>

namespace ui {

// The least width of a dialog window whose title bar shows `caption` whole beside its close box.
int CaptionFitWidth(const std::string& caption);

// MessageBoxA, with the box widened when its text alone would leave it too narrow for its caption
// (the system sizes a message box to its text and buttons only); its buttons stay centred.
int MessageBoxFittingCaption(HWND owner, const std::string& text, const std::string& caption, UINT flags);

}  // namespace ui
