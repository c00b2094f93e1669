// Colours, fonts, pens, brushes, the canvas over a GDI device context, and bitmaps.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {

struct Value;

// 0x00BBGGRR, or 0x80000000 | system colour index.
using TColor = int32_t;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00,
                 clBlue = 0xFF0000, clAqua = 0xFFFF00, clYellow = 0x00FFFF, clFuchsia = 0xFF00FF,
                 clGray = 0x808080, clSilver = 0xC0C0C0, clNavy = 0x800000, clGreen = 0x008000,
                 clMaroon = 0x000080, clNone = 0x1FFFFFFF;
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION), clBtnFace = SystemColor(COLOR_BTNFACE),
                 clWindow = SystemColor(COLOR_WINDOW), clWindowText = SystemColor(COLOR_WINDOWTEXT),
                 clBtnText = SystemColor(COLOR_BTNTEXT), clHighlight = SystemColor(COLOR_HIGHLIGHT),
                 clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT), clMenu = SystemColor(COLOR_MENU),
                 clMenuText = SystemColor(COLOR_MENUTEXT), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), clGrayText = SystemColor(COLOR_GRAYTEXT);

COLORREF ColorToRGB(TColor color);
// A colour named in a description (clBtnFace, $00FF00FF, 255).
TColor ParseColor(const Value& value);

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    RECT Win() const { return RECT{Left, Top, Right, Bottom}; }
    static TRect From(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
};

// A GDI object owned by whoever holds this.
template <class H>
class GdiHandle {
public:
    GdiHandle() = default;
    explicit GdiHandle(H h) : h_(h) {}
    ~GdiHandle() { Reset(); }
    GdiHandle(GdiHandle&& o) noexcept : h_(o.h_) { o.h_ = nullptr; }
    GdiHandle& operator=(GdiHandle&& o) noexcept {
        if (this != &o) {
            Reset();
            h_ = o.h_;
            o.h_ = nullptr;
        }
        return *this;
    }
    void Reset(H h = nullptr) {
        if (h_) DeleteObject(h_);
        h_ = h;
    }
    H Get() const { return h_; }
    H Release() {
        H h = h_;
        h_ = nullptr;
        return h;
    }
    explicit operator bool() const { return h_ != nullptr; }

private:
    H h_ = nullptr;
};

class TFont {
public:
    std::string Name = "MS Sans Serif";
    int Height = -11;  // negative: character height in pixels
    TColor Color = clWindowText;
    bool Bold = false, Italic = false, Underline = false;
    int Charset = DEFAULT_CHARSET;
    int Escapement = 0;  // tenths of a degree
    std::function<void()> OnChange;

    void SetSize(int points);  // at 96 dots per inch
    int Size() const;
    // The GDI font of the current values, made on demand and remade after a change.
    HFONT Handle();
    void Changed();
    void Assign(const TFont& other);
    bool SetProperty(const std::string& name, const Value& value);  // "Name", "Height", ...

private:
    GdiHandle<HFONT> handle_;
};

// Makes font the system's menu font in the menu-text colour; false (font unchanged) when the
// system does not tell it.
bool LoadSystemMenuFont(TFont& font);

enum class TPenStyle { Solid, Dash, Dot, Clear };
enum class TBrushStyle { Solid, Clear };

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::Solid;
    int Width = 1;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;
};

// Drawing on a device context. A canvas made over an existing context does not own it.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) : dc_(dc) {}
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    void SetHandle(HDC dc);

    TPen Pen;
    TBrush Brush;
    TFont Font;

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(const TRect& r);
    void Ellipse(const TRect& r);
    void RoundRect(const TRect& r, int cornerWidth, int cornerHeight);
    void Polyline(const POINT* points, int count);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, const std::string& text, UINT format);  // DrawText flags
    SIZE TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    void Draw(int x, int y, class TBitmap& bitmap);
    void StretchDraw(const TRect& r, class TBitmap& bitmap);
    void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
    COLORREF Pixel(int x, int y) const { return GetPixel(dc_, x, y); }
    void SetPixel(int x, int y, TColor c) { ::SetPixel(dc_, x, y, ColorToRGB(c)); }

private:
    void Select();  // pen, brush and font of the current values into the context
    void Restore();

    HDC dc_ = nullptr;
    GdiHandle<HPEN> pen_;
    GdiHandle<HBRUSH> brush_;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
};

// A 32-bit device-independent bitmap with its own memory context and canvas.
class TBitmap {
public:
    TBitmap();
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);  // contents become white
    bool Empty() const { return width_ == 0 || height_ == 0; }
    HBITMAP Handle() const { return bitmap_.Get(); }
    TCanvas& Canvas() { return canvas_; }

    TColor TransparentColor = clFuchsia;
    bool Transparent = false;
    // Auto: the colour drawn transparent is the bottom-left pixel, as skin pictures are made.
    enum class TTransparentMode { Fixed, Auto } TransparentMode = TTransparentMode::Fixed;
    TColor EffectiveTransparentColor() const;
    // Keeps the top rows (and left columns) that still fit; new area is white.
    void Resize(int width, int height);
    HDC CanvasHandle() const { return dc_; }
    std::function<void()> OnChange;

    // The bitmap resource with this name in `module` (null: the program); false when there is none.
    bool LoadFromResourceName(const std::string& name, HMODULE module = nullptr);
    void Assign(const TBitmap& other);
    void Changed() {
        if (OnChange) OnChange();
    }
    COLORREF Pixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF rgb);

private:
    void Copy(HBITMAP source, int width, int height);

    int width_ = 0, height_ = 0;
    HDC dc_ = nullptr;
    GdiHandle<HBITMAP> bitmap_;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
    TCanvas canvas_;
};

// A region made of rectangles, for shaping a window.
class TRegion {
public:
    TRegion() : region_(CreateRectRgn(0, 0, 0, 0)) {}
    void AddRect(const TRect& r);  // union
    HRGN Handle() const { return region_.Get(); }
    // The window owns the region from then on.
    void GiveToWindow(HWND window, bool redraw);

private:
    GdiHandle<HRGN> region_;
};

// A picture of an image control: a bitmap or an icon, both from the program's resources.
class TPicture {
public:
    ~TPicture();
    TBitmap Bitmap;
    HICON Icon = nullptr;
    int IconSize = 0;
    int Width() const;
    int Height() const;
    bool LoadIcon(const std::string& name, int size);
};

}  // namespace ui
