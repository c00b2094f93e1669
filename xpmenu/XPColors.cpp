#include "XPColors.h"

#include <algorithm>

namespace xpmenu {

namespace {

int Clamp(int v) { return std::min(255, std::max(0, v)); }

TColor FromRGB(COLORREF rgb) { return static_cast<TColor>(rgb & 0xFFFFFF); }

// x + round((255 - x) * p / 100), ties to even.
int Lighten(int x, int p) {
    const int n = (255 - x) * p;
    int q = n / 100;
    const int r = n % 100;
    if (r > 50 || (r == 50 && (q & 1))) ++q;
    return x + q;
}

COLORREF NewColorRGB(HDC dc, COLORREF rgb, int percent) {
    const int p = std::min(percent, 100);
    const COLORREF mixed = RGB(Lighten(GetRValue(rgb), p), Lighten(GetGValue(rgb), p), Lighten(GetBValue(rgb), p));
    return dc ? GetNearestColor(dc, mixed) : mixed;
}

COLORREF GrayRGB(COLORREF rgb, int level) {
    const int v = std::min(240, (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3 + level);
    return RGB(v, v, v);
}

template <class F>
void MapPixels(ui::TBitmap& bitmap, F convert) {
    // A run of equal pixels converts once.
    COLORREF lastIn = CLR_INVALID, lastOut = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            const COLORREF in = bitmap.Pixel(x, y);
            if (in != lastIn) {
                lastIn = in;
                lastOut = convert(in);
            }
            bitmap.SetPixel(x, y, lastOut);
        }
    }
}

}  // namespace

TColor GetShadeColor(ui::TCanvas&, TColor colour, int amount) {
    const COLORREF rgb = ui::ColorToRGB(colour);
    return FromRGB(RGB(Clamp(GetRValue(rgb) - amount), Clamp(GetGValue(rgb) - amount + 2),
                       Clamp(GetBValue(rgb) - amount)));
}

TColor NewColor(ui::TCanvas& canvas, TColor colour, int percent) {
    return FromRGB(NewColorRGB(canvas.Handle(), ui::ColorToRGB(colour), percent));
}

TColor GrayColor(ui::TCanvas&, TColor colour, int level) { return FromRGB(GrayRGB(ui::ColorToRGB(colour), level)); }

void GrayBitmap(ui::TBitmap& bitmap, int level) {
    MapPixels(bitmap, [level](COLORREF in) { return GrayRGB(in, level); });
}

void DimBitmap(ui::TBitmap& bitmap, int percent) {
    HDC dc = bitmap.Canvas().Handle();
    MapPixels(bitmap, [dc, percent](COLORREF in) { return NewColorRGB(dc, in, percent); });
}

void DrawBitmapShadow(ui::TBitmap& bitmap, ui::TCanvas& canvas, int x, int y, TColor colour) {
    if (bitmap.Empty()) return;
    const COLORREF background = bitmap.Pixel(0, bitmap.Height() - 1);
    const COLORREF rgb = ui::ColorToRGB(colour);
    for (int row = 0; row < bitmap.Height(); ++row) {
        for (int col = 0; col < bitmap.Width(); ++col) {
            if (bitmap.Pixel(col, row) != background) ::SetPixel(canvas.Handle(), x + col, y + row, rgb);
        }
    }
}

void DrawTransparent(ui::TCanvas& canvas, int x, int y, ui::TBitmap& bitmap) {
    // Pixel by pixel: a 32-bit bitmap's unused byte is not the same everywhere, which makes
    // colour-keyed blits miss the background.
    if (bitmap.Empty()) return;
    const COLORREF background = bitmap.Pixel(0, bitmap.Height() - 1);
    for (int row = 0; row < bitmap.Height(); ++row) {
        for (int col = 0; col < bitmap.Width(); ++col) {
            const COLORREF p = bitmap.Pixel(col, row);
            if (p != background) ::SetPixel(canvas.Handle(), x + col, y + row, p);
        }
    }
}

void DrawArrow(ui::TCanvas& canvas, int x, int y) {
    canvas.MoveTo(x, y);
    canvas.LineTo(x + 5, y);
    canvas.MoveTo(x + 1, y + 1);
    canvas.LineTo(x + 4, y + 1);
    canvas.MoveTo(x + 2, y + 2);
    canvas.LineTo(x + 3, y + 2);
}

void DrawCheckMark(ui::TCanvas& canvas, int x, int y) {
    for (int i = 0; i < 3; ++i) {
        canvas.MoveTo(x + 2, y - i - 5);
        canvas.LineTo(x + 4, y - i - 3);
        canvas.LineTo(x + 9, y - i - 8);
    }
}

int CanvasBitsPerPixel(const ui::TCanvas& canvas) {
    HDC dc = canvas.Handle();
    if (GetObjectType(dc) == OBJ_MEMDC) {
        BITMAP bm{};
        if (GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm)) return bm.bmBitsPixel * bm.bmPlanes;
    }
    return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
}

}  // namespace xpmenu
