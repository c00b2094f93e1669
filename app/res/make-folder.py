#!/usr/bin/env python3
"""Draws the folder picture of the dialogs' folder buttons (16 x 16, magenta is transparent).

Run from this folder; the output is committed, so building does not need this script.
"""
import struct

W = H = 16
MAGENTA = (255, 0, 255)
DARK = (128, 96, 0)
BODY = (255, 204, 64)
TAB = (240, 176, 32)

px = [[MAGENTA] * W for _ in range(H)]


def rect(x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            px[y][x] = c


rect(1, 3, 6, 5, DARK)       # tab outline
rect(2, 4, 5, 5, TAB)
rect(1, 5, 14, 13, DARK)     # body outline
rect(2, 6, 13, 12, BODY)
rect(2, 6, 13, 6, TAB)

rows = b""
for y in range(H - 1, -1, -1):  # bottom-up
    for (r, g, b) in px[y]:
        rows += bytes((b, g, r))
size = 54 + len(rows)
header = b"BM" + struct.pack("<IHHI", size, 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
with open("folder.bmp", "wb") as f:
    f.write(header + info + rows)
