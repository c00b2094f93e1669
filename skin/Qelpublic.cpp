#include "Qelpublic.h"

#include <memory>

#include "ImgList.h"

namespace skin {

void DoTrans(ui::TCanvas& canvas, ui::TWinControl& control) {
    ui::TWinControl* parent = control.Parent();
    if (!parent) return;
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - control.Left(), origin.y - control.Top(), nullptr);
    IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
    HWND window = parent->Handle();
    SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

void TileDraw(ui::TCanvas& canvas, ui::TPicture& picture, const ui::TRect& rect) {
    const int pw = picture.Width(), ph = picture.Height();
    // A picture without extent would never advance.
    if (pw <= 0 || ph <= 0) return;
    for (int x = 0; x < pw + rect.Width(); x += pw) {
        for (int y = 0; y < ph + rect.Height(); y += ph) {
            if (picture.Icon) DrawIconEx(canvas.Handle(), x, y, picture.Icon, pw, ph, 0, nullptr, DI_NORMAL);
            else canvas.Draw(x, y, picture.Bitmap);
        }
    }
}

bool InRect(int x, int y, const ui::TRect& rect) {
    return x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom;
}

bool InRect(POINT point, const ui::TRect& rect) { return InRect(point.x, point.y, rect); }

POINT SystemCursorPos() {
    POINT p{-100000, -100000};
    GetCursorPos(&p);
    return p;
}

ui::TRect GetWorkAreaRect() {
    RECT r{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return ui::TRect::From(r);
}

void PlaceControl(ui::TControl& control, POINT point) {
    control.SetLeft(point.x);
    control.SetTop(point.y);
}

void PlaceControl(ui::TControl& control, const ui::TRect& rect) {
    control.SetLeft(rect.Left);
    control.SetTop(rect.Top);
    control.SetWidth(rect.Width());
    control.SetHeight(rect.Height());
}

namespace {

// StretchBlt that copies nothing for an empty or negative extent (a negative one would mirror).
void Stretch(HDC to, int x, int y, int w, int h, HDC from, int sx, int sy, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, x, y, w, h, from, sx, sy, sw, sh, SRCCOPY);
}

}  // namespace

void SpitDraw(const ui::TBitmap& bitmap, ui::TCanvas& canvas, const ui::TRect& rect, bool transparent) {
    const int bw = bitmap.Width(), bh = bitmap.Height(), W = rect.Width(), H = rect.Height();
    if (bitmap.Empty() || W <= 0 || H <= 0) return;
    const int hw = bw / 2, hh = bh / 2;
    HDC source = bitmap.CanvasHandle();

    // A strip of the final width: left part, centre column repeated, right part.
    ui::TBitmap strip;
    strip.SetSize(W, bh);
    HDC s = strip.CanvasHandle();
    BitBlt(s, W - bw, 0, bw, bh, source, 0, 0, SRCCOPY);
    Stretch(s, 0, 0, W - hw, bh, source, hw, 0, 1, bh);
    BitBlt(s, 0, 0, hw, bh, source, 0, 0, SRCCOPY);

    // The same with rows: top part, bottom part, centre row repeated between.
    ui::TBitmap picture;
    picture.SetSize(W, H);
    HDC f = picture.CanvasHandle();
    BitBlt(f, 0, 0, W, hh, s, 0, 0, SRCCOPY);
    Stretch(f, 0, H - hh - 1, W, hh + 1, s, 0, hh, W, bh - hh);
    Stretch(f, 0, hh, W, H - hh - 1 - hh, s, 0, hh, W, 1);

    ui::TImageList list(nullptr);
    list.SetSize(W, H);
    if (transparent) list.AddMasked(picture, static_cast<ui::TColor>(picture.Pixel(0, 0)));
    else list.Add(picture);
    list.Draw(canvas, rect.Left, rect.Top, 0, true);
}

void SpitDrawHorizontal(const ui::TBitmap& bitmap, ui::TCanvas& canvas, const ui::TRect& rect, bool transparent) {
    const int w = bitmap.Width() / 3, h = bitmap.Height();
    if (w <= 0 || h <= 0) return;
    ui::TImageList list(nullptr);
    list.SetSize(w, h);
    if (transparent) list.AddMasked(bitmap, static_cast<ui::TColor>(bitmap.Pixel(0, 0)));
    else list.Add(bitmap);
    list.Draw(canvas, rect.Left, rect.Top, 0, true);
    list.Draw(canvas, rect.Right - w, rect.Top, 2, true);
    ui::TBitmap middle;
    if (list.GetBitmap(1, middle)) canvas.StretchDraw({rect.Left + w, rect.Top, rect.Right - w, rect.Bottom}, middle);
}

void DrawControlBorder(ui::TWinControl& control, ui::TColor borderColor, ui::TColor innerColor) {
    HWND window = control.Handle();
    HDC dc = GetWindowDC(window);
    RECT r{};
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    HBRUSH border = CreateSolidBrush(ui::ColorToRGB(borderColor));
    HBRUSH inner = CreateSolidBrush(ui::ColorToRGB(innerColor));
    FrameRect(dc, &r, border);
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, inner);
    DeleteObject(border);
    DeleteObject(inner);
    ReleaseDC(window, dc);
}

std::string PCharToStr(const char* text) { return text && *text ? std::string(text) : std::string(); }

void SetBitmapWindow(HWND window, const ui::TBitmap& bitmap, ui::TColor transparentColor) {
    const COLORREF key = ui::ColorToRGB(transparentColor);
    ui::TRegion region;
    for (int y = 0; y < bitmap.Height(); ++y) {
        int start = -1;
        for (int x = 0; x < bitmap.Width(); ++x) {
            if (bitmap.Pixel(x, y) != key) {
                if (start < 0) start = x;
            } else if (start >= 0) {
                region.AddRect({start, y, x, y + 1});
                start = -1;
            }
        }
        if (start >= 0) region.AddRect({start, y, bitmap.Width(), y + 1});
    }
    region.GiveToWindow(window, true);
}

void LoadSkinBitmap(ui::TBitmap& bitmap, const std::string& name, HMODULE module) {
    if (name.empty() || !bitmap.LoadFromResourceName(name, module)) bitmap.SetSize(0, 0);
}

}  // namespace skin
