#!/usr/bin/env python3
"""Draws the skin pictures of the five styles and writes the resource script that names them.

    make-skins.py <output folder>

Every picture is a bitmap resource named style_CONTROL_PART_STATE, at the size its control
expects. Key colours: a picture drawn through an image list is keyed by its top-left pixel, a
transparent bitmap by its bottom-left pixel, so both corners carry KEY where the picture is not
square; "MENU_CHECKED" is keyed by white.
"""
import os
import struct
import sys

KEY = (255, 0, 255)
WHITE = (255, 255, 255)


def bgr(value):
    """A colour of the style table (0x00BBGGRR) as (r, g, b)."""
    return (value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def lighter(c, t):
    return mix(c, WHITE, t)


def darker(c, t):
    return mix(c, (0, 0, 0), t)


class Picture:
    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def vgradient(self, x0, y0, x1, y1, top, bottom):  # inclusive corners
        for y in range(y0, y1 + 1):
            t = (y - y0) / max(1, y1 - y0)
            c = mix(top, bottom, t)
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def hgradient(self, x0, y0, x1, y1, left, right):
        for x in range(x0, x1 + 1):
            t = (x - x0) / max(1, x1 - x0)
            c = mix(left, right, t)
            for y in range(y0, y1 + 1):
                self.put(x, y, c)

    def hline(self, x0, x1, y, c):
        for x in range(x0, x1 + 1):
            self.put(x, y, c)

    def vline(self, x, y0, y1, c):
        for y in range(y0, y1 + 1):
            self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1, y0, y1, c)

    def round_corners(self, r, border=None, top=True, bottom=True, left=True, right=True):
        """Cuts the corners to KEY outside a quarter circle of radius r, with an optional rim."""
        if r <= 0:
            return
        for dy in range(r):
            for dx in range(r):
                d = ((r - dx - 0.5) ** 2 + (r - dy - 0.5) ** 2) ** 0.5
                corners = []
                for y, wanted_y in ((dy, top), (self.h - 1 - dy, bottom)):
                    for x, wanted_x in ((dx, left), (self.w - 1 - dx, right)):
                        if wanted_y and wanted_x:
                            corners.append((x, y))
                for x, y in corners:
                    if d > r:
                        self.put(x, y, KEY)
                    elif border is not None and d > r - 1.2:
                        self.put(x, y, border)

    def disk(self, cx, cy, r, inside, rim=None):
        for y in range(self.h):
            for x in range(self.w):
                d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
                if d <= r:
                    self.put(x, y, rim if rim is not None and d > r - 1.1 else inside(x, y))

    def bmp(self):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            line += b"\0" * (row - len(line))
            data += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        return header + info + bytes(data)


class Style:
    """A style's palette, taken from its column of the style table."""

    def __init__(self, word, frame_border, face, border, accent, title_h, btn, radius, glossy, tab_h):
        self.word = word
        self.frame_border = bgr(frame_border)
        self.face = bgr(face)
        self.border = bgr(border)
        self.accent = bgr(accent)
        self.title_h = title_h
        self.btn = btn
        self.radius = radius
        self.glossy = glossy
        self.tab_h = tab_h  # the tab row: a tab picture and the line under it


STYLES = [
    Style("MACOS", 0x7F7F7F, 0xE7E7E7, 0x7F7F7F, 0xD9853A, 23, 17, 0, True, 34),
    Style("WINXP", 0xC82C00, 0xDEEBEF, 0x686868, 0xC66931, 29, 21, 13, False, 19),
    Style("DEEPBLUE", 0x000000, 0xE8E8E8, 0x000000, 0xA04A44, 32, 19, 0, False, 22),
    Style("PROTEIN", 0x000000, 0xFBFBFB, 0x000000, 0xC4302D, 23, 19, 0, True, 22),
    Style("BLUEGLASS", 0x000000, 0xE7E7E7, 0x000000, 0xEC5E5E, 33, 19, 11, True, 22),
]

STATES = ["NORMAL", "MOUSEON", "MOUSEDOWN"]


def state_tint(s, state):
    """Top and bottom colours of a raised face in a state."""
    if state == "MOUSEON":
        top, bottom = lighter(s.accent, 0.85), lighter(s.accent, 0.45)
    elif state == "MOUSEDOWN":
        top, bottom = lighter(s.accent, 0.35), lighter(s.accent, 0.7)
    else:
        top, bottom = WHITE, mix(s.face, s.accent, 0.18)
    return top, bottom


def button(s, state):
    p = Picture(74, 21)
    top, bottom = state_tint(s, state)
    p.vgradient(1, 1, 72, 19, top, bottom)
    if s.glossy:  # a glass highlight over the upper half
        p.vgradient(2, 2, 71, 9, WHITE, lighter(top, 0.3))
    p.frame(0, 0, 73, 20, darker(s.accent, 0.2) if state != "NORMAL" else s.border if s.border != (0, 0, 0) else darker(s.accent, 0.45))
    p.hline(1, 72, 19, darker(bottom, 0.15))
    p.round_corners(3, border=None)
    return p


def box(s, kind, checked, state, disabled):
    p = Picture(13, 13)
    rim = (160, 160, 160) if disabled else darker(s.accent, 0.3)
    top, bottom = ((236, 236, 236), (220, 220, 220)) if disabled else state_tint(s, state)
    mark = (150, 150, 150) if disabled else darker(s.accent, 0.55)
    if kind == "RADIOBUTTON":
        p.disk(6.5, 6.5, 6.5, lambda x, y: mix(top, bottom, y / 12), rim=rim)
        if checked:
            p.disk(6.5, 6.5, 2.6, lambda x, y: mark)
    else:
        p.vgradient(1, 1, 11, 11, top, bottom)
        p.frame(0, 0, 12, 12, rim)
        p.round_corners(2, border=rim)
        if checked:
            for i, (x, y) in enumerate([(3, 6), (4, 7), (5, 8), (6, 7), (7, 6), (8, 5), (9, 4)]):
                p.put(x, y, mark)
                p.put(x, y - 1, mark)
                p.put(x, y + 1, mark) if i < 3 else None
    return p


def progress(s, vertical):
    p = Picture(10, 1) if vertical else Picture(1, 10)
    light, deep = lighter(s.accent, 0.55), darker(s.accent, 0.1)
    for i in range(10):
        t = abs(i - 3) / 6
        c = mix(light, deep, min(1, t)) if s.glossy else mix(lighter(s.accent, 0.35), s.accent, i / 9)
        if vertical:
            p.put(i, 0, c)
        else:
            p.put(0, i, c)
    return p


TAB_LINE_H = 5


def tab(s, part):
    """The tab row's pictures: a tab and the line under the tabs fill the style's row height."""
    if part == "LINE":
        p = Picture(5, TAB_LINE_H, s.face)
        p.hline(0, 4, 0, s.border if s.border != (0, 0, 0) else darker(s.accent, 0.4))
        p.hline(0, 4, 1, lighter(s.accent, 0.6))
        return p
    h = s.tab_h - TAB_LINE_H
    p = Picture(6, h)
    active = part == "ACTIVE"
    top = WHITE if active else mix(s.face, s.accent, 0.12)
    bottom = s.face if active else mix(s.face, s.accent, 0.3)
    p.vgradient(0, 0, 5, h - 1, top, bottom)
    edge = darker(s.accent, 0.25) if active else s.border if s.border != (0, 0, 0) else (90, 90, 90)
    p.hline(0, 5, 0, edge)
    p.vline(0, 0, h - 1, edge)
    p.vline(5, 0, h - 1, edge)
    if active:
        p.hline(1, 4, 1, s.accent)
    p.put(0, 0, KEY)
    p.put(5, 0, KEY)
    return p


def title(s, part):
    w = 98 if part == "CLIENT" else 97
    h = s.title_h
    p = Picture(w, h)
    top, bottom = lighter(s.accent, 0.35), darker(s.accent, 0.15)
    p.vgradient(0, 0, w - 1, h - 1, top, bottom)
    if s.glossy:
        p.vgradient(0, 1, w - 1, h // 2, lighter(s.accent, 0.7), lighter(s.accent, 0.35))
    p.hline(0, w - 1, 0, lighter(s.accent, 0.8))
    p.hline(0, w - 1, h - 1, darker(s.accent, 0.45))
    if part == "LEFT":
        p.vline(0, 0, h - 1, darker(s.accent, 0.45))
        # a fading bar that gives the caption a place to stand
        for x in range(30, 97):
            t = (x - 30) / 67
            p.put(x, h - 2, mix(lighter(s.accent, 0.5), top, t))
        if s.radius:
            p.round_corners(s.radius, border=darker(s.accent, 0.45), bottom=False, right=False)
            p.px[h - 1][0] = KEY  # the frame's own border runs below the title's left corner
    elif part == "RIGHT":
        p.vline(w - 1, 0, h - 1, darker(s.accent, 0.45))
        if s.radius:
            p.round_corners(s.radius, border=darker(s.accent, 0.45), bottom=False, left=False)
            p.px[h - 1][w - 1] = KEY
    return p


GLYPHS = {
    "CLOSE": lambda n: [(i, i) for i in range(n)] + [(i, n - 1 - i) for i in range(n)],
    "MAX": lambda n: [(i, 0) for i in range(n)] + [(i, 1) for i in range(n)] + [(i, n - 1) for i in range(n)]
    + [(0, i) for i in range(n)] + [(n - 1, i) for i in range(n)],
    "MIN": lambda n: [(i, n - 1) for i in range(n)] + [(i, n - 2) for i in range(n)],
    "HELP": lambda n: [(x, 0) for x in range(1, n - 1)] + [(n - 1, 1), (n - 1, 2), (0, 1), (n - 2, 3),
                                                            (n // 2, 4), (n // 2, 5), (n // 2, n - 1)],
    "CTLBOX": lambda n: [(x, y) for y in range(n) for x in range(n) if abs(x - (n - 1) / 2) + abs(y - (n - 1) / 2) <= (n - 1) / 2],
    "RST": lambda n: [(i, 2) for i in range(2, n)] + [(2, i) for i in range(2, n)] + [(n - 1, i) for i in range(2, n)]
    + [(i, n - 1) for i in range(2, n)] + [(i, 0) for i in range(0, n - 2)] + [(0, i) for i in range(0, n - 2)],
}


def title_button(s, glyph, state):
    n = s.btn
    p = Picture(n, n)
    if glyph == "CLOSE" and s.word in ("WINXP", "BLUEGLASS"):
        base = (0x2C, 0x4E, 0xE0) if s.word == "BLUEGLASS" else (0xE0, 0x50, 0x30)
    else:
        base = s.accent
    if state == "MOUSEON":
        top, bottom = lighter(base, 0.75), lighter(base, 0.2)
    elif state == "MOUSEDOWN":
        top, bottom = darker(base, 0.3), lighter(base, 0.1)
    else:
        top, bottom = lighter(base, 0.55), darker(base, 0.05)
    p.vgradient(1, 1, n - 2, n - 2, top, bottom)
    rim = darker(base, 0.45)
    p.frame(0, 0, n - 1, n - 1, rim)
    p.round_corners(3 if n > 17 else 2, border=rim)
    g = 7 if n < 21 else 9
    off = (n - g) // 2 + (1 if state == "MOUSEDOWN" else 0)
    for x, y in GLYPHS[glyph](g):
        p.put(off + int(x), off + int(y), WHITE)
    return p


def menu_checked():
    p = Picture(16, 16, WHITE)
    for i, (x, y) in enumerate([(4, 8), (5, 9), (6, 10), (7, 9), (8, 8), (9, 7), (10, 6), (11, 5)]):
        p.put(x, y, (0, 0, 0))
        p.put(x, y - 1, (0, 0, 0))
        if i < 3:
            p.put(x, y - 2, (0, 0, 0))
    return p


def macos_extras():
    bar = Picture(1, 22)
    for y in range(20):  # pinstripes, then the bar's shaded lower edge
        bar.put(0, y, (246, 246, 246) if y % 2 == 0 else (234, 234, 234))
    bar.put(0, 20, (200, 200, 200))
    bar.put(0, 21, (160, 160, 160))
    select = Picture(1, 21)
    aqua = bgr(0xD9853A)
    for y in range(21):
        select.put(0, y, mix(lighter(aqua, 0.5), aqua, y / 20) if y >= 10 else mix(lighter(aqua, 0.75), lighter(aqua, 0.45), y / 10))
    select.put(0, 20, darker(aqua, 0.5))
    form = Picture(8, 8)
    for y in range(8):
        for x in range(8):
            form.put(x, y, (238, 238, 238) if y % 2 == 0 else (230, 230, 230))
    protein = Picture(8, 8)
    pblue = bgr(0xC4302D)
    for y in range(8):
        for x in range(8):
            protein.put(x, y, lighter(pblue, 0.93) if (x + y) % 4 else lighter(pblue, 0.85))
    combo = Picture(16, 17)
    combo.vgradient(1, 1, 14, 15, lighter(aqua, 0.75), aqua)
    combo.vgradient(2, 2, 13, 7, WHITE, lighter(aqua, 0.55))
    combo.frame(0, 0, 15, 16, (127, 127, 127))
    for i in range(4):  # the arrow
        combo.hline(5 + i, 10 - i, 7 + i, (0, 0, 0))
    combo.round_corners(2)
    return {"MACOS_MENU_BAR": bar, "MACOS_MENU_SELECT": select, "MACOS_FORM_BACKGROUND": form,
            "PROTEIN_FORM_BACKGROUND": protein, "MACOS_COMBOBOX_BUTTON": combo}


def side_channel():
    """The side channel's bar (8 x 172, normal and under the mouse) and its pin glyphs."""
    out = {}
    steel = (96, 120, 160)
    for state, face in (("NORMAL", steel), ("MOUSEON", lighter(steel, 0.35))):
        bar = Picture(8, 172)
        bar.hgradient(0, 0, 7, 171, lighter(face, 0.45), face)
        bar.frame(0, 0, 7, 171, darker(face, 0.35))
        for i in range(4):  # an arrow pointing into the channel
            bar.vline(2 + i, 80 + i, 91 - i, WHITE)
        out[f"SIDECHANNEL_BAR_{state}"] = bar
    loose = Picture(7, 9)  # a pin standing up: head, collar, needle
    loose.frame(1, 0, 5, 4, (0, 0, 0))
    loose.hline(0, 6, 5, (0, 0, 0))
    loose.vline(3, 6, 8, (0, 0, 0))
    out["SIDECHANNEL_BTN_NOONTOP"] = loose
    pinned = Picture(8, 7)  # the same pin pressed in, lying down
    pinned.frame(3, 1, 7, 5, (0, 0, 0))
    pinned.vline(2, 0, 6, (0, 0, 0))
    pinned.hline(0, 1, 3, (0, 0, 0))
    out["SIDECHANNEL_BTN_ONTOP"] = pinned
    return out


def pictures():
    out = {"MENU_CHECKED": menu_checked()}
    out.update(macos_extras())
    out.update(side_channel())
    for s in STYLES:
        w = s.word
        for st in STATES:
            out[f"{w}_BUTTON_{st}"] = button(s, st)
        for kind in ("CHECKBOX", "RADIOBUTTON"):
            out[f"{w}_{kind}_DISABLE_CHECK"] = box(s, kind, True, "NORMAL", True)
            out[f"{w}_{kind}_DISABLE_UNCHECK"] = box(s, kind, False, "NORMAL", True)
            if w == "WINXP":
                for st in STATES:
                    out[f"{w}_{kind}_{st}_CHECK"] = box(s, kind, True, st, False)
                    out[f"{w}_{kind}_{st}_UNCHECK"] = box(s, kind, False, st, False)
            else:
                out[f"{w}_{kind}_CHECK"] = box(s, kind, True, "NORMAL", False)
                out[f"{w}_{kind}_UNCHECK"] = box(s, kind, False, "NORMAL", False)
        out[f"{w}_PROGRESSBAR"] = progress(s, False)
        out[f"{w}_PROGRESSBAR_V"] = progress(s, True)
        for part in ("ACTIVE", "INACTIVE", "LINE"):
            out[f"{w}_TAB_{part}"] = tab(s, part)
        for part in ("LEFT", "CLIENT", "RIGHT"):
            out[f"{w}_TITLE_{part}"] = title(s, part)
        for glyph in ("CLOSE", "MAX", "MIN", "HELP", "CTLBOX") + (("RST",) if w == "WINXP" else ()):
            for st in STATES:
                out[f"{w}_TITLEBTN_{glyph}_{st}"] = title_button(s, glyph, st)
    return out


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    lines = ["// Skin pictures, written by make-skins.py."]
    for name, picture in sorted(pictures().items()):
        path = os.path.join(folder, name.lower() + ".bmp")
        with open(path, "wb") as f:
            f.write(picture.bmp())
        lines.append(f'{name} BITMAP "{os.path.abspath(path)}"')
    with open(os.path.join(folder, "skins.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
