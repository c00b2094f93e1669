// Drawing and placing routines that the skinned controls share. None keeps state; every GDI
// object a routine makes is freed before it returns.
#pragma once
#include <windows.h>

#include <string>

#include "Controls.h"
#include "Graphics.h"

namespace skin {

// Paints the control's parent (background, then content) into the canvas, lined up under the control.
void DoTrans(ui::TCanvas& canvas, ui::TWinControl& control);
// Tiles the picture from the canvas origin over the rect's extent; an empty picture draws nothing.
void TileDraw(ui::TCanvas& canvas, ui::TPicture& picture, const ui::TRect& rect);
// Edges included.
bool InRect(POINT point, const ui::TRect& rect);
bool InRect(int x, int y, const ui::TRect& rect);
ui::TRect GetWorkAreaRect();
// The mouse cursor on the screen; far off every window when the system cannot say.
POINT SystemCursorPos();
void PlaceControl(ui::TControl& control, POINT point);
void PlaceControl(ui::TControl& control, const ui::TRect& rect);
// Draws the bitmap resized to the rect with its corners and edges kept: only its centre row and
// column stretch. With `transparent`, the colour of the resized picture's top-left pixel is not
// painted. An empty bitmap or rect draws nothing.
void SpitDraw(const ui::TBitmap& bitmap, ui::TCanvas& canvas, const ui::TRect& rect, bool transparent);
// Draws a bitmap of three equal parts (left cap, middle, right cap), the middle stretched.
void SpitDrawHorizontal(const ui::TBitmap& bitmap, ui::TCanvas& canvas, const ui::TRect& rect, bool transparent);
// Frames the whole window of the control: the border colour outside, the inner colour inside it.
void DrawControlBorder(ui::TWinControl& control, ui::TColor borderColor, ui::TColor innerColor);
std::string PCharToStr(const char* text);
// Gives the window a region made of the bitmap's pixels that differ from the transparent colour.
void SetBitmapWindow(HWND window, const ui::TBitmap& bitmap, ui::TColor transparentColor);

// A bitmap resource of `module` (null: the program); a name that is empty or not there gives an
// empty bitmap.
void LoadSkinBitmap(ui::TBitmap& bitmap, const std::string& name, HMODULE module = nullptr);

}  // namespace skin
