// Measuring and painting menu items, and the glyph, text and selection painters that tool bars
// and hooked controls share.
#include <cmath>
#include <memory>

#include "ComCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "Menus.h"
#include "XPColors.h"
#include "Xpmenu.h"

namespace xpmenu {

using namespace ui;

namespace {

void Line(TCanvas& canvas, std::initializer_list<POINT> points) {
    canvas.Polyline(points.begin(), static_cast<int>(points.size()));
}

void Fill(TCanvas& canvas, const TRect& r, TColor colour) {
    canvas.Brush = TBrush{colour, TBrushStyle::Solid};
    canvas.FillRect(r);
}

bool IsNtPlatform() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
}

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The component a top-level item belongs to is its menu; deeper items belong to their parent item.
const TComponent* ParentComponent(const TMenuItem* item) {
    const TMenuItem* parent = item->ParentItem();
    if (!parent) return nullptr;
    if (!parent->ParentItem()) return parent->Menu();
    return parent;
}

bool IsBarItemForDraw(const TMenuItem* item) {
    const TMenuItem* parent = item->ParentItem();
    return dynamic_cast<TMainMenu*>(item->Menu()) && parent && !parent->ParentItem();
}

}  // namespace

bool TXPMenu::IsBarItemForMeasure(TMenuItem* item) const {
    auto* form = dynamic_cast<TCustomForm*>(form_);
    const TComponent* parent = ParentComponent(item);
    return form && form->Menu() && parent && parent->Name() == form->Menu()->Name();
}

SIZE TXPMenu::GetImageExtent(TMenuItem* item) {
    const bool bar = IsBarItemForMeasure(item);
    TMenu* menu = item->Menu();
    TMenuItem* parent = item->ParentItem();
    bool hasImage = false;
    if (bar) hasImage = menu && menu->Images() && item->ImageIndex() != -1;
    if ((menu && menu->Images()) || (parent && parent->SubMenuImages)) hasImage = item->ImageIndex() != -1;
    SIZE size{0, 0};
    if (hasImage) {
        const TImageList* list = parent && parent->SubMenuImages ? parent->SubMenuImages : menu->Images();
        size = SIZE{list->Width(), list->Height()};
    } else if (item->Bitmap.Width() > 0) {
        size = SIZE{item->Bitmap.Width(), item->Bitmap.Height()};
    }
    if (!bar && size.cx < IconWidth) size.cx = IconWidth;
    return size;
}

void TXPMenu::MeasureMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    std::string text = item->Caption();
    const bool separator = text == "-";
    if (separator) text.clear();
    const std::string shortcut = ShortCutToText(item->ShortCut);
    if (!Trim(shortcut).empty()) text += shortcut + "WWW";
    canvas.Font.Assign(font_);
    int w = canvas.TextWidth(text) + 5;
    if (text.find('&') != std::string::npos) w -= canvas.TextWidth("&");
    const SIZE image = GetImageExtent(item);
    if (image.cx > 0) w += image.cx;
    if (IsBarItemForMeasure(item) && IsNtPlatform()) w += 8;
    width = std::max(width, w);
    if (separator) {
        height = 4;
        return;
    }
    const int th = canvas.TextHeight(text);
    int h = th + static_cast<int>(std::nearbyint(th * 0.75));
    h = std::max<int>(h, image.cy + 6);
    height = std::max(height, h);
}

void TXPMenu::MenueDrawItem(TMenuItem* item, TCanvas& canvas, TRect rect, bool selected) {
    SetGlobalColor(canvas);
    const bool separator = item->Caption() == "-";
    const bool bar = IsBarItemForDraw(item);
    TMenu* menu = item->Menu();
    TMenuItem* parent = item->ParentItem();
    const bool rtl = menu && menu->RightToLeft;
    const bool enabled = item->Enabled();
    canvas.Font.Assign(font_);
    rect.Bottom += 1;
    const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
    TRect textRect = rect;
    const std::string text = " " + item->Caption();

    // 3. The glyph, on a bitmap of its own.
    const bool hasImage =
        ((menu && menu->Images()) || (parent && parent->SubMenuImages)) && item->ImageIndex() != -1;
    const bool hasBitmap = item->Bitmap.Width() > 0;
    std::unique_ptr<TBitmap> glyph;
    if (hasBitmap) {
        glyph = std::make_unique<TBitmap>();
        glyph->Assign(item->Bitmap);
    }
    if (hasImage) {
        TImageList* list = parent && parent->SubMenuImages ? parent->SubMenuImages : menu->Images();
        glyph = std::make_unique<TBitmap>();
        glyph->SetSize(list->Width(), list->Height());
        const TColor back = parent && parent->SubMenuImages ? canvas.Brush.Color
                                                            : static_cast<TColor>(canvas.Pixel(2, 2) & 0xFFFFFF);
        Fill(glyph->Canvas(), TRect{0, 0, list->Width(), list->Height()}, back);
        list->Draw(glyph->Canvas(), 0, 0, item->ImageIndex(), true);
    }
    const int glyphW = glyph ? glyph->Width() : 0;

    // 4-6. Icon column, check box and text areas.
    const TRect iconRect = rtl ? TRect{R - IconWidth, T, R, B} : TRect{L, T, L + IconWidth, B};
    TRect checkRect;
    if (hasImage || hasBitmap) {
        checkRect = {iconRect.Left + 1, T + 2, iconRect.Right - 3, B - 2};
    } else {
        const int left = iconRect.Left + (iconRect.Width() - 10) / 2;
        const int top = T + (B - T - 10) / 2;
        checkRect = {left, top, left + 10, top + 10};
    }
    if (glyphW > IconWidth) {
        if (rtl) checkRect.Left = checkRect.Right - glyphW;
        else checkRect.Right = checkRect.Left + glyphW;
    }
    if (bar) checkRect.Top -= 1;
    if (!rtl) {
        textRect.Left = L + (bar ? 4 : IconWidth);
        if (textRect.Left < L + glyphW) textRect.Left = L + glyphW + 4;
        textRect.Right = R;
    } else {
        textRect.Left = L;
        textRect.Right = R - (bar ? 4 : IconWidth);
        if (R - glyphW < textRect.Right) textRect.Right = R - glyphW - 8;
    }
    if (bar) {
        if (!glyph) {
            textRect = rect;
        } else if (rtl) {
            textRect.Right += 5;
        } else {
            textRect.Left -= 5;
        }
    }

    // 7. Background.
    if (bar) {
        canvas.Pen.Color = DrawMenuBarColor;
        Fill(canvas, rect, DrawMenuBarColor);
    } else if (HighColor && Gradient) {
        DrawGradient(canvas, TRect{L, T, R + 2, B}, rtl);
    } else {
        Fill(canvas, rect, DrawColor);
        Fill(canvas, iconRect, DrawIconBackColor);
    }

    // 8. Selection.
    if (selected && DrawSelect) {
        if (bar) {
            DrawTopMenuItem(item, canvas, rtl, menuBarColor_, rect);
        } else if (enabled) {
            TRect s{L, T + 1, FlatMenu ? R - 1 : R, B - 1};
            Fill(canvas, s, DrawSelectColor);
            canvas.Brush.Style = TBrushStyle::Clear;
            canvas.Pen = TPen{DrawSelectBorderColor, TPenStyle::Solid, 1};
            canvas.Rectangle(s);
            canvas.Brush.Style = TBrushStyle::Solid;
        }
    }

    DrawCheckedItem(item, selected, checkRect, canvas, hasImage || hasBitmap, enabled);
    DrawIcon(item, canvas, glyph.get(), iconRect, selected, false, enabled, item->Checked, bar, rtl);

    if (separator) {
        const int y = static_cast<int>(std::nearbyint((textRect.Bottom - textRect.Top) / 2.0)) + textRect.Top;
        canvas.Pen = TPen{DrawSeparatorColor, TPenStyle::Solid, 1};
        canvas.MoveTo(rtl ? textRect.Left : textRect.Left + 7, y);
        canvas.LineTo(rtl ? textRect.Right - 7 : textRect.Right, y);
    } else {
        UINT format = DT_SINGLELINE;
        if (rtl) {
            format |= DT_RIGHT | DT_RTLREADING;
            textRect.Right -= 3;
        } else {
            format |= DT_LEFT;
            textRect.Left += 3;
        }
        DrawTheText(item, text, ShortCutToText(item->ShortCut), format, font_, rtl, bar, item->Default, enabled,
                    selected, textRect, canvas);
    }

    glyph.reset();
    if (FlatMenu && !bar) {
        HWND window = WindowFromDC(canvas.Handle());
        if (window && (!form_ || window != form_->HandleOrNull())) DrawWindowBorder(window, rtl);
    }
    ActivateMenuItem(item);
}

void TXPMenu::DrawCheckedItem(TMenuItem* item, bool selected, TRect r, TCanvas& canvas, bool withGlyph,
                              bool enabled) {
    if (!item->Checked) return;
    const TColor fill = selected ? CheckAreaSelectColor : CheckAreaColor;
    canvas.Brush = TBrush{fill, TBrushStyle::Solid};
    const auto pen = [&](TColor c) { canvas.Pen = TPen{enabled ? c : DrawDisabledColor, TPenStyle::Solid, 1}; };
    if (item->RadioItem) {
        pen(DrawSelectBorderColor);
        if (withGlyph) canvas.RoundRect(r, 6, 6);
        else canvas.Ellipse(r);
        return;
    }
    if (withGlyph) {
        pen(DrawSelectBorderColor);
        canvas.Rectangle(r);
        return;
    }
    pen(DrawCheckedColor);
    canvas.Rectangle(r);
    pen(clBlack);
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Line(canvas, {{L + 1, T + 5}, {L + 4, B - 2}});
    Line(canvas, {{L + 2, T + 5}, {L + 4, B - 3}});
    Line(canvas, {{L + 2, T + 4}, {L + 5, B - 3}});
    Line(canvas, {{L + 4, B - 3}, {R + 2, T - 1}});
    Line(canvas, {{L + 4, B - 2}, {R - 2, T + 3}});
}

void TXPMenu::DrawIcon(TComponent* sender, TCanvas& canvas, TBitmap* glyph, TRect r, bool hot, bool selected,
                       bool enabled, bool checked, bool bar, bool rtl) {
    if (!glyph || glyph->Width() <= 0) return;
    // Dimming and greying work on a copy: the caller's glyph stays as it is for the next paint.
    TBitmap icon;
    icon.Assign(*glyph);
    const int w = icon.Width();
    int x, y;
    if (dynamic_cast<TMenuItem*>(sender)) {
        y = r.Top + 3;
        if (w < IconWidth) x = r.Left + (IconWidth - w) / 2 - 1;
        else x = rtl ? r.Right - w - 2 : r.Left + 2;
    } else {
        x = r.Left;
        y = r.Top + 1;
    }
    if (bar) x = rtl ? r.Right - w - 5 : r.Left + 1;
    if (hot && enabled && !checked && !bar && !selected) {
        --x;
        --y;
    }
    if (!hot && enabled && !checked && HighColor) DimBitmap(icon, DimLevel);
    if (!enabled) {
        GrayBitmap(icon, GrayLevel);
        DimBitmap(icon, 40);
    }
    if (hot && enabled && !checked) {
        const bool toolButton = dynamic_cast<TToolButton*>(sender) != nullptr;
        const TColor base = toolButton && HighColor && !useSystemColors_ ? NewColor(canvas, SelectColor, 68)
                                                                         : DrawSelectColor;
        DrawBitmapShadow(icon, canvas, x + 2, y + 2, GetShadeColor(canvas, base, 50));
    }
    DrawTransparent(canvas, x, y, icon);
}

void TXPMenu::DrawTheText(TComponent* sender, const std::string& text, const std::string& shortcut, UINT format,
                          TFont& font, bool rtl, bool bar, bool isDefault, bool enabled, bool selected, TRect r,
                          TCanvas& canvas) {
    canvas.Font.Assign(font);
    TColor colour = selected ? DrawSelectFontColor : font.Color;
    if (!enabled) {
        colour = DrawDisabledColor;
        if (dynamic_cast<TToolButton*>(sender)) {
            r.Top += (r.Height() - canvas.TextHeight("W")) / 2;
            if (r.Width() <= 0 || r.Height() <= 0) return;
            TBitmap buffer;
            buffer.SetSize(r.Width(), r.Height());
            Fill(buffer.Canvas(), TRect{0, 0, r.Width(), r.Height()}, canvas.Brush.Color);
            buffer.Canvas().Font.Assign(font);
            buffer.Canvas().Font.Color = colour;
            buffer.Canvas().Brush.Style = TBrushStyle::Clear;
            buffer.Canvas().TextRect(TRect{0, 0, r.Width(), r.Height()}, text, format | DT_VCENTER | DT_SINGLELINE);
            canvas.CopyRect(r, buffer.Canvas(), TRect{0, 0, r.Width(), r.Height()});
            return;
        }
    }
    if (selected && bar && useSystemColors_) colour = TopMenuFontColor(canvas, DrawIconBackColor);
    r.Top += (r.Height() - canvas.TextHeight("W")) / 2;
    canvas.Brush.Style = TBrushStyle::Clear;
    if (isDefault && enabled) {
        static const struct {
            int dx, dy, shade, widen;
        } passes[] = {{1, 0, 30, 0}, {1, 2, 30, 1}, {0, 1, 40, 0}, {1, 1, 60, 1}};
        for (const auto& p : passes) {
            const int x = r.Left + p.dx, y = r.Top + p.dy;
            canvas.Font.Color = GetShadeColor(canvas, static_cast<TColor>(canvas.Pixel(x, y) & 0xFFFFFF), p.shade);
            canvas.TextRect(TRect{x, y, r.Right + p.widen, r.Bottom}, text, format);
        }
    }
    canvas.Font.Color = colour;
    canvas.TextRect(r, text, format);
    if (!shortcut.empty()) {
        canvas.Font.Color = HighColor ? GetShadeColor(canvas, colour, -40) : colour;
        TRect s = r;
        UINT f = format & ~static_cast<UINT>(DT_LEFT | DT_RIGHT | DT_CENTER);
        if (rtl) {
            s.Left += 10;
            f |= DT_LEFT;
        } else {
            s.Right -= 10;
            f |= DT_RIGHT;
        }
        canvas.TextRect(s, shortcut + " ", f);
    }
    canvas.Brush.Style = TBrushStyle::Solid;
}

void TXPMenu::DrawTopMenuItem(TComponent* sender, TCanvas& canvas, bool rtl, TColor barColour, TRect r) {
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    Fill(canvas, r, DrawSelectColor);
    canvas.Pen = TPen{DrawSelectBorderColor, TPenStyle::Solid, 1};
    if (rtl || !HighColor || !dynamic_cast<TMenuItem*>(sender)) {
        Line(canvas, {{L, B - 1}, {L, T}, {R - 3, T}, {R - 3, B}});
        Fill(canvas, TRect{R - 2, T + 2, R, B}, GetShadeColor(canvas, barColour, 70));
        Fill(canvas, TRect{R - 2, T, R, T + 2}, barColour);
        return;
    }
    Line(canvas, {{L, B - 1}, {L, T}, {R - 8, T}, {R - 8, B}});
    const TColor base = DrawMenuBarColor;
    const auto shade = [&](int n) { return GetShadeColor(canvas, base, n); };
    Fill(canvas, TRect{R - 7, T, R, B}, shade(10));
    Fill(canvas, TRect{R - 7, T + 3, R - 2, B}, shade(30));
    Fill(canvas, TRect{R - 7, T + 5, R - 3, B}, shade(60));
    Fill(canvas, TRect{R - 7, T + 6, R - 5, B}, shade(100));
    canvas.Pen.Color = base;
    Line(canvas, {{R - 5, T + 1}, {R - 1, T + 1}, {R - 1, T + 6}});
    Line(canvas, {{R - 3, T + 2}, {R - 2, T + 2}, {R - 2, T + 3}, {R - 3, T + 3}});
    canvas.Pen.Color = shade(10);
    Line(canvas, {{R - 6, T + 3}, {R - 3, T + 3}, {R - 3, T + 6}, {R - 4, T + 6}, {R - 4, T + 3}});
    canvas.Pen.Color = shade(30);
    Line(canvas, {{R - 5, T + 5}, {R - 4, T + 5}, {R - 4, T + 9}});
    canvas.Pen.Color = shade(40);
    Line(canvas, {{R - 6, T + 5}, {R - 6, T + 7}});
}

void TXPMenu::DrawGradient(TCanvas& canvas, TRect r, bool rtl) {
    int p = 0;
    const int count = r.Right - r.Left + 1;
    for (int i = 0; i < count; ++i) {
        const int x = rtl ? r.Right - 1 - i : r.Left + i;
        const bool inColumn = rtl ? (r.Right - IconWidth + 5 < x && x < r.Right)
                                  : (r.Left < x && x < r.Left + IconWidth + 5);
        p = std::min(96, p + (inColumn ? 3 : 1));
        Fill(canvas, TRect{x, r.Top, x + 1, r.Bottom}, NewColor(canvas, DrawIconBackColor, p));
    }
}

void TXPMenu::DrawWindowBorder(HWND window, bool rtl) {
    if (!window) return;
    RECT wr;
    if (!GetWindowRect(window, &wr)) return;
    HWND desktop = GetDesktopWindow();
    HDC dc = GetWindowDC(desktop);
    if (!dc) return;
    try {
        TCanvas canvas(dc);
        const int L = wr.left, T = wr.top, R = wr.right, B = wr.bottom;
        const auto frame = [&](const TRect& r, TColor c) {
            canvas.Brush.Style = TBrushStyle::Clear;
            canvas.Pen = TPen{c, TPenStyle::Solid, 1};
            canvas.Rectangle(r);
        };
        const auto line = [&](int x1, int y1, int x2, int y2, TColor c) {
            canvas.Pen = TPen{c, TPenStyle::Solid, 1};
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
        };
        frame(TRect{L, T, R - 2, B - 2}, PopupBorderColor);
        if (rtl) {
            frame(TRect{L + 1, T + 1, R - 4, T + 3}, DrawColor);
            line(L + 2, T + 2, L + 2, B - 4, DrawColor);
            line(R - 4, T + 2, R - 4, B - 4, DrawIconBackColor);
            line(R - 4, T + 2, R - 3 - IconWidth, T + 2, DrawIconBackColor);
        } else {
            if (Gradient) {
                DrawGradient(canvas, TRect{L + 1, T + 1, R - 5, T + 3}, false);
            } else {
                frame(TRect{L + 1, T + 1, R - 3, T + 3}, DrawColor);
                line(L + 1, T + 2, L + 3 + IconWidth, T + 2, DrawIconBackColor);
            }
            frame(TRect{L + 1, T + 2, L + 3, B - 3}, DrawIconBackColor);
        }
        Fill(canvas, TRect{L + 2, B - 2, R, B}, PopupShadowColor);
        Fill(canvas, TRect{R - 2, T + 2, R, B}, PopupShadowColor);
        Fill(canvas, TRect{L, B - 2, L + 2, B}, clBtnFace);
        Fill(canvas, TRect{R - 2, T, R, T + 2}, clBtnFace);
    } catch (...) {
        ReleaseDC(desktop, dc);
        throw;
    }
    ReleaseDC(desktop, dc);
}

}  // namespace xpmenu
