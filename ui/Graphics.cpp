#include "Graphics.h"

#include <algorithm>
#include <cstring>

#include "Component.h"

namespace ui {

COLORREF ColorToRGB(TColor color) {
    const uint32_t c = static_cast<uint32_t>(color);
    if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
    return c & 0xFFFFFF;
}

TColor ParseColor(const Value& value) {
    if (value.kind == Value::Int) return static_cast<TColor>(value.number);
    static const struct {
        const char* name;
        TColor color;
    } names[] = {
        {"clBlack", clBlack}, {"clWhite", clWhite}, {"clRed", clRed}, {"clLime", clLime},
        {"clBlue", clBlue}, {"clAqua", clAqua}, {"clYellow", clYellow}, {"clFuchsia", clFuchsia},
        {"clGray", clGray}, {"clSilver", clSilver}, {"clNavy", clNavy}, {"clGreen", clGreen},
        {"clMaroon", clMaroon}, {"clNone", clNone}, {"clActiveCaption", clActiveCaption},
        {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
        {"clBtnText", clBtnText}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
        {"clMenu", clMenu}, {"clMenuText", clMenuText}, {"clBtnShadow", clBtnShadow},
        {"clBtnHighlight", clBtnHighlight}, {"clGrayText", clGrayText},
    };
    for (const auto& n : names) {
        if (EqualsIdent(value.AsIdent(), n.name)) return n.color;
    }
    throw Exception("Unknown colour " + value.text);
}

// ---- TFont

void TFont::SetSize(int points) {
    Height = -MulDiv(points, 96, 72);
    Changed();
}

int TFont::Size() const { return -MulDiv(Height, 72, 96); }

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = Height;
        lf.lfWeight = Bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = Italic;
        lf.lfUnderline = Underline;
        lf.lfCharSet = static_cast<BYTE>(Charset);
        lf.lfEscapement = lf.lfOrientation = Escapement;
        // Exact colours matter more than smooth edges for the pictures this library draws.
        lf.lfQuality = NONANTIALIASED_QUALITY;
        lstrcpynA(lf.lfFaceName, Name.c_str(), LF_FACESIZE);
        handle_.Reset(CreateFontIndirectA(&lf));
    }
    return handle_.Get();
}

void TFont::Changed() {
    handle_.Reset();
    if (OnChange) OnChange();
}

bool LoadSystemMenuFont(TFont& font) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;  // the record without the padded border width: every Windows version accepts it
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return false;
    const LOGFONTA& lf = metrics.lfMenuFont;
    font.Name = lf.lfFaceName;
    font.Height = lf.lfHeight;
    font.Bold = lf.lfWeight >= FW_BOLD;
    font.Italic = lf.lfItalic != 0;
    font.Underline = lf.lfUnderline != 0;
    font.Charset = lf.lfCharSet;
    font.Color = clMenuText;
    font.Changed();
    return true;
}

void TFont::Assign(const TFont& other) {
    Name = other.Name;
    Height = other.Height;
    Color = other.Color;
    Bold = other.Bold;
    Italic = other.Italic;
    Underline = other.Underline;
    Charset = other.Charset;
    Escapement = other.Escapement;
    Changed();
}

bool TFont::SetProperty(const std::string& name, const Value& value) {
    if (name == "Name") {
        Name = value.AsText();
    } else if (name == "Height") {
        Height = value.AsInt();
    } else if (name == "Size") {
        SetSize(value.AsInt());
    } else if (name == "Color") {
        Color = ParseColor(value);
    } else if (name == "Charset") {
        Charset = value.kind == Value::Int ? value.AsInt() : DEFAULT_CHARSET;
    } else if (name == "Style") {
        Bold = Italic = Underline = false;
        for (const auto& m : value.members) {
            Bold |= EqualsIdent(m, "fsBold");
            Italic |= EqualsIdent(m, "fsItalic");
            Underline |= EqualsIdent(m, "fsUnderline");
        }
    } else {
        return false;
    }
    Changed();
    return true;
}

// ---- TCanvas

TCanvas::~TCanvas() { Restore(); }

void TCanvas::SetHandle(HDC dc) {
    Restore();
    dc_ = dc;
}

void TCanvas::Restore() {
    if (!dc_) return;
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldFont_) SelectObject(dc_, oldFont_);
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    pen_.Reset();
    brush_.Reset();
}

void TCanvas::Select() {
    HGDIOBJ pen;
    GdiHandle<HPEN> newPen;
    if (Pen.Style == TPenStyle::Clear) {
        pen = GetStockObject(NULL_PEN);
    } else {
        const int style = Pen.Style == TPenStyle::Dash ? PS_DASH : Pen.Style == TPenStyle::Dot ? PS_DOT : PS_SOLID;
        newPen.Reset(CreatePen(style, Pen.Width, ColorToRGB(Pen.Color)));
        pen = newPen.Get();
    }
    HGDIOBJ brush;
    GdiHandle<HBRUSH> newBrush;
    if (Brush.Style == TBrushStyle::Clear) {
        brush = GetStockObject(NULL_BRUSH);
    } else {
        newBrush.Reset(CreateSolidBrush(ColorToRGB(Brush.Color)));
        brush = newBrush.Get();
    }
    HGDIOBJ p = SelectObject(dc_, pen), b = SelectObject(dc_, brush), f = SelectObject(dc_, Font.Handle());
    if (!oldPen_) oldPen_ = p;
    if (!oldBrush_) oldBrush_ = b;
    if (!oldFont_) oldFont_ = f;
    // The previous objects of this canvas are out of the context now and may go.
    pen_ = std::move(newPen);
    brush_ = std::move(newBrush);
    SetTextColor(dc_, ColorToRGB(Font.Color));
    if (Brush.Style == TBrushStyle::Clear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ColorToRGB(Brush.Color));
    }
}

void TCanvas::FillRect(const TRect& r) {
    if (Brush.Style == TBrushStyle::Clear) return;
    GdiHandle<HBRUSH> b(CreateSolidBrush(ColorToRGB(Brush.Color)));
    RECT rc = r.Win();
    ::FillRect(dc_, &rc, b.Get());
}

void TCanvas::FrameRect(const TRect& r) {
    GdiHandle<HBRUSH> b(CreateSolidBrush(ColorToRGB(Brush.Color)));
    RECT rc = r.Win();
    ::FrameRect(dc_, &rc, b.Get());
}

void TCanvas::Rectangle(const TRect& r) {
    Select();
    ::Rectangle(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::Ellipse(const TRect& r) {
    Select();
    ::Ellipse(dc_, r.Left, r.Top, r.Right, r.Bottom);
}

void TCanvas::RoundRect(const TRect& r, int cornerWidth, int cornerHeight) {
    Select();
    ::RoundRect(dc_, r.Left, r.Top, r.Right, r.Bottom, cornerWidth, cornerHeight);
}

void TCanvas::Polyline(const POINT* points, int count) {
    Select();
    ::Polyline(dc_, points, count);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    Select();
    ::LineTo(dc_, x, y);
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Select();
    ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const TRect& r, const std::string& text, UINT format) {
    Select();
    RECT rc = r.Win();
    DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rc, format);
}

SIZE TCanvas::TextExtent(const std::string& text) {
    Select();
    SIZE s{};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &s);
    return s;
}

void TCanvas::Draw(int x, int y, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    if (bitmap.Transparent) {
        TransparentBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0,
                       bitmap.Width(), bitmap.Height(), ColorToRGB(bitmap.EffectiveTransparentColor()));
    } else {
        BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, SRCCOPY);
    }
}

void TCanvas::StretchDraw(const TRect& r, TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bitmap.Canvas().Handle(), 0, 0, bitmap.Width(),
               bitmap.Height(), SRCCOPY);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
    if (dest.Width() == src.Width() && dest.Height() == src.Height()) {
        BitBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Handle(), src.Left, src.Top, SRCCOPY);
    } else {
        StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source.Handle(), src.Left, src.Top,
                   src.Width(), src.Height(), SRCCOPY);
    }
}

// ---- TBitmap

TBitmap::TBitmap() {
    dc_ = CreateCompatibleDC(nullptr);
    canvas_.SetHandle(dc_);
}

TBitmap::~TBitmap() {
    canvas_.SetHandle(nullptr);
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    canvas_.SetHandle(nullptr);
    if (old_) SelectObject(dc_, old_);
    old_ = nullptr;
    bitmap_.Reset();
    bits_ = nullptr;
    width_ = height_ = 0;
    if (width > 0 && height > 0) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;  // top-down rows
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP made = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!made) throw Exception("Out of memory for a bitmap of " + std::to_string(width) + " x " +
                                   std::to_string(height));
        bitmap_.Reset(made);
        bits_ = static_cast<uint32_t*>(bits);
        width_ = width;
        height_ = height;
        std::memset(bits_, 0xFF, static_cast<size_t>(width) * height * 4);
        old_ = SelectObject(dc_, made);
    }
    canvas_.SetHandle(dc_);
}

bool TBitmap::LoadFromResourceName(const std::string& name, HMODULE module) {
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageA(module ? module : GetModuleHandleA(nullptr), name.c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!loaded) return false;
    BITMAP info{};
    GetObjectA(loaded, sizeof(info), &info);
    Copy(loaded, info.bmWidth, info.bmHeight);
    DeleteObject(loaded);
    Changed();
    return true;
}

void TBitmap::Copy(HBITMAP source, int width, int height) {
    SetSize(width, height);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(src, source);
    BitBlt(dc_, 0, 0, width, height, src, 0, 0, SRCCOPY);
    SelectObject(src, old);
    DeleteDC(src);
}

TColor TBitmap::EffectiveTransparentColor() const {
    if (TransparentMode == TTransparentMode::Fixed || Empty()) return TransparentColor;
    return static_cast<TColor>(Pixel(0, height_ - 1));
}

void TBitmap::Resize(int width, int height) {
    TBitmap old;
    old.Assign(*this);
    SetSize(width, height);
    if (!Empty() && !old.Empty())
        BitBlt(dc_, 0, 0, std::min(width_, old.width_), std::min(height_, old.height_), old.dc_, 0, 0, SRCCOPY);
    Changed();
}

void TBitmap::Assign(const TBitmap& other) {
    SetSize(other.width_, other.height_);
    if (!Empty()) std::memcpy(bits_, other.bits_, static_cast<size_t>(width_) * height_ * 4);
    TransparentColor = other.TransparentColor;
    Changed();
}

COLORREF TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
    GdiFlush();
    const uint32_t v = bits_[static_cast<size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TBitmap::SetPixel(int x, int y, COLORREF rgb) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    GdiFlush();
    bits_[static_cast<size_t>(y) * width_ + x] = (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

// ---- TRegion

void TRegion::AddRect(const TRect& r) {
    GdiHandle<HRGN> part(CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom));
    CombineRgn(region_.Get(), region_.Get(), part.Get(), RGN_OR);
}

void TRegion::GiveToWindow(HWND window, bool redraw) {
    if (SetWindowRgn(window, region_.Get(), redraw)) {
        region_.Release();
        region_.Reset(CreateRectRgn(0, 0, 0, 0));
    }
}

// ---- TPicture

TPicture::~TPicture() {
    if (Icon) DestroyIcon(Icon);
}

int TPicture::Width() const { return Icon ? IconSize : Bitmap.Width(); }
int TPicture::Height() const { return Icon ? IconSize : Bitmap.Height(); }

bool TPicture::LoadIcon(const std::string& name, int size) {
    HICON icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_ICON, size, size, 0));
    if (!icon) return false;
    if (Icon) DestroyIcon(Icon);
    Icon = icon;
    IconSize = size;
    return true;
}

}  // namespace ui
