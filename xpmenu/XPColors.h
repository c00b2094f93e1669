// The colour arithmetic and small line glyphs of the XP look. Colours may be system colours;
// they are turned into RGB where the channels are needed.
#pragma once
#include "Graphics.h"

namespace xpmenu {

using ui::TColor;

// R-n, G-n+2, B-n, each kept in 0..255; a negative amount lightens.
TColor GetShadeColor(ui::TCanvas& canvas, TColor colour, int amount);
// Moves each channel `percent` (at most 100) of the way to 255, rounding half to even, then
// answers the device's nearest colour.
TColor NewColor(ui::TCanvas& canvas, TColor colour, int percent);
// The grey of the channels' mean plus level, at most 240.
TColor GrayColor(ui::TCanvas& canvas, TColor colour, int level);

// These change every pixel of the bitmap they are given: callers pass a copy of a glyph they keep.
void GrayBitmap(ui::TBitmap& bitmap, int level);
void DimBitmap(ui::TBitmap& bitmap, int percent);
// Every pixel that differs from the bottom-left one (the background) sets canvas pixel
// (x + column, y + row) to `colour`.
void DrawBitmapShadow(ui::TBitmap& bitmap, ui::TCanvas& canvas, int x, int y, TColor colour);

// Copies every pixel of the bitmap that differs from its bottom-left one (its background).
void DrawTransparent(ui::TCanvas& canvas, int x, int y, ui::TBitmap& bitmap);

void DrawArrow(ui::TCanvas& canvas, int x, int y);      // a small downward triangle
void DrawCheckMark(ui::TCanvas& canvas, int x, int y);  // three stacked polylines

// Bits per pixel of the canvas's device: the selected bitmap's for a memory context.
int CanvasBitsPerPixel(const ui::TCanvas& canvas);

}  // namespace xpmenu
