// Routines with which the skinned menus paint their owner-drawn items.
#pragma once
#include <windows.h>

#include "Graphics.h"
#include "Menus.h"

namespace skin {

// Sets the item's draw and measure handlers, then those of every sub-item, depth first.
void Menu_SetItemEvent(ui::TMenuItem* item, const ui::TMenuDrawItemEvent& draw,
                       const ui::TMenuMeasureItemEvent& measure);
void Menu_DrawBorder(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color);
void Menu_DrawBackGround(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color);
// A separator line two pixels below the rect's top, from past the bar to two pixels short of the right.
void Menu_DrawLineItem(ui::TCanvas& canvas, const ui::TRect& rect, ui::TColor color, int barWidth);
// The MacOS looks: the top rows of a one-column picture stretched over the rect.
void Menu_DrawMacOSLineItem(ui::TCanvas& canvas, const ui::TRect& rect);
void Menu_DrawMacOSSelectedItem(ui::TCanvas& canvas, const ui::TRect& rect);
void Menu_DrawMacOSNonSelectedItem(ui::TCanvas& canvas, const ui::TRect& rect);
// A flat frame over the edge of a popped-up menu window, drawn on the screen.
void Menu_DrawWindowBorder(HWND window, ui::TColor borderColor, ui::TColor edgeColor);
// The system's menu font in the menu-text colour (ui::LoadSystemMenuFont); the font is left alone
// when the system has none.
void Menu_GetSystemFont(ui::TFont& font);

}  // namespace skin
