// The clipboard's text.
#pragma once
#include <string>

namespace ui {

std::string ClipboardText();  // empty when the clipboard holds no text
bool SetClipboardText(const std::string& text);

}  // namespace ui
