#!/usr/bin/env python3
"""Draws the program's pictures: tool-bar, list, tree and menu images, chart cells, the icon.

Run from this folder; the splash picture comes from make-splash.sh. The outputs are committed, so
building needs neither script.
"""
import math
import struct

MAGENTA = (255, 0, 255)


class Canvas:
    def __init__(self, w, h, bg=MAGENTA):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):  # inclusive
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.put(x, y0, c)
            self.put(x, y1, c)
        for y in range(y0, y1 + 1):
            self.put(x0, y, c)
            self.put(x1, y, c)

    def disk(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def ring(self, cx, cy, r0, r1, c):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r0 <= d <= r1:
                    self.put(x, y, c)

    def poly(self, pts, c):
        for y in range(self.h):
            yc = y + 0.5
            xs = []
            for i in range(len(pts)):
                (x0, y0), (x1, y1) = pts[i], pts[(i + 1) % len(pts)]
                if (y0 <= yc < y1) or (y1 <= yc < y0):
                    xs.append(x0 + (yc - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.floor(b - 0.5)) + 1):
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=1.0):
        for y in range(self.h):
            for x in range(self.w):
                px, py = x + 0.5, y + 0.5
                dx, dy = x1 - x0, y1 - y0
                t = max(0, min(1, ((px - x0) * dx + (py - y0) * dy) / float(dx * dx + dy * dy or 1)))
                if math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width / 2:
                    self.put(x, y, c)

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                self.put(ox + x, oy + y, other.px[y][x])


def save_bmp24(canvas, path):
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in canvas.px[y]:
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + data)


def save_bmp8(canvas, path):
    colours = []
    for r in canvas.px:
        for c in r:
            if c not in colours:
                colours.append(c)
    assert len(colours) <= 256
    row = (canvas.w + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytes(colours.index(c) for c in canvas.px[y])
        data += line + b"\0" * (row - len(line))
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours) + b"\0" * 4 * (256 - len(colours))
    off = 54 + len(palette)
    header = struct.pack("<2sIHHI", b"BM", off + len(data), 0, 0, off)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 8, 0, len(data), 2835, 2835, 256, 0)
    open(path, "wb").write(header + info + palette + data)


def save_ico(canvases, path):
    images = []
    for c in canvases:
        xor = bytearray()
        for y in range(c.h - 1, -1, -1):
            for (r, g, b) in c.px[y]:
                xor += bytes((b, g, r, 0 if (r, g, b) == MAGENTA else 255))
        mask_row = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            bits = bytearray(mask_row)
            for x, col in enumerate(c.px[y]):
                if col == MAGENTA:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((c.w, info + xor + mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, blob in images:
        out += struct.pack("<BBBBHHII", w % 256, w % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        out += blob
    open(path, "wb").write(out)


# Colours of the set.
BLUE, DBLUE, LBLUE = (40, 110, 210), (20, 60, 140), (150, 195, 245)
GREEN, DGREEN = (40, 170, 60), (20, 100, 30)
RED, DRED = (215, 45, 40), (130, 20, 20)
YELLOW, DYELLOW = (245, 200, 50), (170, 120, 10)
GREY, DGREY, LGREY = (150, 150, 150), (80, 80, 80), (215, 215, 215)
WHITE, BLACK = (255, 255, 255), (0, 0, 0)
BROWN = (185, 130, 60)


def arrow_down(c, cx, top, bottom, half, colour, edge):
    shaft = half * 0.45
    head = bottom - half * 1.1
    pts = [(cx - shaft, top), (cx + shaft, top), (cx + shaft, head), (cx + half, head),
           (cx, bottom), (cx - half, head), (cx - shaft, head)]
    c.poly(pts, edge)
    inner = [(x + (0.9 if x < cx else -0.9 if x > cx else 0), y + (0.9 if y == top else -1.2 if y == bottom else 0)) for x, y in pts]
    c.poly(inner, colour)


def question(c, ox, oy, s, colour):
    # a question mark of 5 x 7 cells of s pixels
    glyph = ["01110", "10001", "00001", "00110", "00100", "00000", "00100"]
    for y, rowbits in enumerate(glyph):
        for x, bit in enumerate(rowbits):
            if bit == "1":
                c.rect(ox + x * s, oy + y * s, ox + x * s + s - 1, oy + y * s + s - 1, colour)


def folder(c, x0, y0, w, h, open_=False):
    c.rect(x0, y0, x0 + w // 2 - 1, y0 + 2, DYELLOW)
    c.rect(x0, y0 + 2, x0 + w - 1, y0 + h - 1, DYELLOW)
    c.rect(x0 + 1, y0 + 3, x0 + w - 2, y0 + h - 2, YELLOW)
    if open_:
        c.poly([(x0 + 3, y0 + 6), (x0 + w + 1, y0 + 6), (x0 + w - 2, y0 + h), (x0, y0 + h)], DYELLOW)
        c.poly([(x0 + 4, y0 + 7), (x0 + w, y0 + 7), (x0 + w - 2.5, y0 + h - 1), (x0 + 1.5, y0 + h - 1)], (250, 225, 120))


def house(c, ox, oy, s):
    c.poly([(ox + 1 * s, oy + 8 * s), (ox + 10 * s, oy + 1 * s), (ox + 19 * s, oy + 8 * s)], DRED)
    c.rect(ox + 3 * s, oy + 8 * s, ox + 17 * s - 1, oy + 18 * s - 1, DGREY)
    c.rect(ox + 4 * s, oy + 8 * s, ox + 16 * s - 2, oy + 17 * s - 1, (240, 230, 210))
    c.rect(ox + 8 * s, oy + 12 * s, ox + 12 * s - 1, oy + 17 * s - 1, BROWN)


def check(c, pts, colour, width):
    for a, b in zip(pts, pts[1:]):
        c.line(a[0], a[1], b[0], b[1], colour, width)


def cross(c, x0, y0, x1, y1, colour, width):
    c.line(x0, y0, x1, y1, colour, width)
    c.line(x1, y0, x0, y1, colour, width)


def toolbar():
    strip = Canvas(22 * 8, 20)
    icons = []
    # 0 Down: a green arrow into a tray
    c = Canvas(22, 20); arrow_down(c, 11, 1, 14, 6, GREEN, DGREEN); c.rect(4, 16, 17, 18, DGREY); c.rect(5, 16, 16, 17, LGREY); icons.append(c)
    # 1 Stop: a red square
    c = Canvas(22, 20); c.rect(4, 3, 17, 16, DRED); c.rect(5, 4, 16, 15, RED); c.rect(6, 5, 9, 6, (240, 120, 110)); icons.append(c)
    # 2 Add: a blue plus
    c = Canvas(22, 20); c.rect(9, 2, 12, 17, DBLUE); c.rect(3, 8, 18, 11, DBLUE); c.rect(10, 3, 11, 16, BLUE); c.rect(4, 9, 17, 10, BLUE); icons.append(c)
    # 3 Delete: a red cross
    c = Canvas(22, 20); cross(c, 5, 3, 17, 16, DRED, 4.2); cross(c, 5, 3, 17, 16, RED, 2.4); icons.append(c)
    # 4 Dest: an open folder
    c = Canvas(22, 20); folder(c, 2, 3, 17, 14, True); icons.append(c)
    # 5 Help: a blue disk with a question mark
    c = Canvas(22, 20); c.disk(11, 10, 9, DBLUE); c.disk(11, 10, 8, BLUE); question(c, 7, 3, 2, WHITE); icons.append(c)
    # 6 Home: a house
    c = Canvas(22, 20); house(c, 1, 1, 1); icons.append(c)
    # 7 Exit: a door with an arrow leaving it
    c = Canvas(22, 20); c.rect(3, 2, 12, 18, DGREY); c.rect(4, 3, 11, 17, BROWN); c.put(10, 10, YELLOW)
    c.poly([(11, 8.5), (16, 8.5), (16, 5.5), (21, 10), (16, 14.5), (16, 11.5), (11, 11.5)], DGREEN)
    c.poly([(12, 9.5), (17, 9.5), (17, 7.8), (19.7, 10), (17, 12.2), (17, 10.5), (12, 10.5)], GREEN)
    icons.append(c)
    for i, c in enumerate(icons):
        strip.blit(c, 22 * i, 0)
    save_bmp24(strip, "toolbar.bmp")


def small_strip(icons, path):
    strip = Canvas(16 * len(icons), 16)
    for i, c in enumerate(icons):
        strip.blit(c, 16 * i, 0)
    save_bmp24(strip, path)


def states():
    icons = []
    # 0 header: a grey disk, "state"
    c = Canvas(16, 16); c.disk(8, 8, 5, DGREY); c.disk(8, 8, 4, LGREY); icons.append(c)
    # 1 downloading: green arrow
    c = Canvas(16, 16); arrow_down(c, 8, 1, 15, 6, GREEN, DGREEN); icons.append(c)
    # 2 finished: green check
    c = Canvas(16, 16); check(c, [(2.5, 8.5), (6.5, 12.5), (13.5, 3.5)], DGREEN, 3.4); check(c, [(2.5, 8.5), (6.5, 12.5), (13.5, 3.5)], GREEN, 1.8); icons.append(c)
    # 3 waiting or stopped: yellow pause bars
    c = Canvas(16, 16); c.rect(3, 2, 6, 13, DYELLOW); c.rect(9, 2, 12, 13, DYELLOW); c.rect(4, 3, 5, 12, YELLOW); c.rect(10, 3, 11, 12, YELLOW); icons.append(c)
    # 4 failed: red disk with a white bar
    c = Canvas(16, 16); c.disk(8, 8, 7, DRED); c.disk(8, 8, 6, RED); c.rect(4, 7, 11, 8, WHITE); icons.append(c)
    # 5 deleted: grey cross
    c = Canvas(16, 16); cross(c, 3, 3, 13, 13, DGREY, 3.4); cross(c, 3, 3, 13, 13, GREY, 1.8); icons.append(c)
    small_strip(icons, "states.bmp")


def trash(c):
    c.rect(3, 3, 12, 4, DGREY); c.rect(6, 1, 9, 2, DGREY)
    c.rect(4, 5, 11, 14, DGREY); c.rect(5, 5, 10, 13, LGREY)
    for x in (6, 8, 10):
        c.rect(x - 0, 6, x - 0, 12, GREY)


def tree():
    icons = []
    # 0 root: ripples
    c = Canvas(16, 16); c.disk(8, 8, 7.5, DBLUE); c.disk(8, 8, 6.5, LBLUE); c.ring(8, 8, 3.5, 4.7, BLUE); c.disk(8, 8, 1.8, BLUE); icons.append(c)
    # 1 downloading
    c = Canvas(16, 16); arrow_down(c, 8, 1, 15, 6, GREEN, DGREEN); icons.append(c)
    # 2 downloaded: folder with a check
    c = Canvas(16, 16); folder(c, 1, 2, 14, 12); check(c, [(4.5, 8.5), (7, 11), (11.5, 6)], DGREEN, 2.2); icons.append(c)
    # 3 deleted: a bin
    c = Canvas(16, 16); trash(c); icons.append(c)
    small_strip(icons, "tree.bmp")


def menu():
    icons = []
    # 0 open folder
    c = Canvas(16, 16); folder(c, 1, 2, 13, 12, True); icons.append(c)
    # 1 copy: two pages
    c = Canvas(16, 16)
    for ox, oy in ((1, 1), (5, 4)):
        c.rect(ox, oy, ox + 8, oy + 10, DGREY); c.rect(ox + 1, oy + 1, ox + 7, oy + 9, WHITE)
        for y in range(oy + 3, oy + 9, 2):
            c.rect(ox + 2, y, ox + 6, y, LBLUE)
    icons.append(c)
    # 2 paste: clipboard
    c = Canvas(16, 16); c.rect(2, 2, 13, 15, BROWN); c.rect(4, 4, 11, 14, WHITE); c.rect(5, 1, 10, 3, DGREY)
    for y in (7, 9, 11):
        c.rect(5, y, 10, y, LBLUE)
    icons.append(c)
    # 3 help
    c = Canvas(16, 16); c.disk(8, 8, 7.5, DBLUE); c.disk(8, 8, 6.5, BLUE); question(c, 5, 2, 1, WHITE)
    c.rect(7, 3, 9, 3, WHITE); icons.append(c)
    # 4 exit
    c = Canvas(16, 16); c.rect(2, 1, 9, 15, DGREY); c.rect(3, 2, 8, 14, BROWN)
    c.poly([(8, 6.5), (11, 6.5), (11, 4), (15, 8), (11, 12), (11, 9.5), (8, 9.5)], GREEN); icons.append(c)
    small_strip(icons, "menu.bmp")


def cells():
    for name, edge, fill, light in (("cell_did.bmp", DBLUE, BLUE, LBLUE), ("cell_try.bmp", DRED, RED, (245, 150, 140))):
        c = Canvas(10, 11, WHITE)
        c.rect(1, 1, 8, 9, edge)
        c.rect(2, 2, 7, 8, fill)
        c.rect(2, 2, 4, 3, light)
        save_bmp8(c, name)


def icon(size):
    c = Canvas(size, size)
    s = size / 48.0
    m = size / 2
    c.disk(m, m, 23.5 * s, DBLUE)
    c.disk(m, m, 22 * s, (60, 140, 230))
    c.ring(m, m, 14 * s, 17 * s, LBLUE)
    c.ring(m, m, 6.5 * s, 9 * s, LBLUE)
    arrow_down(c, m, 7 * s, 41 * s, 10 * s, (255, 255, 255), DBLUE)
    return c


toolbar()
states()
tree()
menu()
cells()
save_ico([icon(48), icon(32), icon(16)], "ripplecast.ico")
