#!/usr/bin/env python3
"""Checks the picture of the main window with a menu dropped down: it is opaque, the list lies where
the program put it and is drawn in the DeepBlue look (the skin's bar colour down its left side, a
white ground with dark item texts), and the window around it is a painted window, not a blank one.
   check-menu-picture.py <picture.png> <width> <height> <list left> <top> <right> <bottom>
"""
import collections
import subprocess
import sys

BAR = (0xD6, 0xD3, 0xCE)   # the DeepBlue menu's bar colour (stored as $00CED3D6)
GROUND = (0xFF, 0xFF, 0xFF)
BAR_WIDTH = 26
EDGE = 3                   # the list's frame, left out of every count


def load(path, width, height):
    command = ["ffmpeg", "-v", "error", "-i", path, "-f", "rawvideo", "-pix_fmt", "rgb24", "-"]
    raw = subprocess.run(command, check=True, capture_output=True).stdout
    if len(raw) != width * height * 3:
        sys.exit(f"{path}: {len(raw)} bytes of pixels, expected {width}x{height}")
    return lambda x, y: tuple(raw[(y * width + x) * 3:(y * width + x) * 3 + 3])


def pixel_format(path):
    return subprocess.run(["ffprobe", "-v", "error", "-show_entries", "stream=pix_fmt", "-of", "csv=p=0", path],
                          check=True, capture_output=True, text=True).stdout.strip()


def area(pixel, left, top, right, bottom):
    return [pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


def main():
    path = sys.argv[1]
    width, height, left, top, right, bottom = map(int, sys.argv[2:8])
    failures = []
    inside = 0 <= left < right <= width and 0 <= top < bottom <= height
    if not inside or right - left <= BAR_WIDTH + 2 * EDGE or bottom - top <= 2 * EDGE:
        sys.exit(f"{path}: the list ({left},{top})-({right},{bottom}) does not fit the {width}x{height} picture")
    # A viewer shows pixels of alpha 0 as blank, whatever their colour.
    if pixel_format(path) != "rgb24":
        failures.append(f"the picture is {pixel_format(path)}, not opaque rgb24")
    pixel = load(path, width, height)

    bar = area(pixel, left + EDGE, top + EDGE, left + BAR_WIDTH - EDGE, bottom - EDGE)
    share = sum(p == BAR for p in bar) / len(bar)
    if share < 0.5:
        failures.append(f"the list's bar is {share:.0%} in the DeepBlue bar colour")

    items = area(pixel, left + BAR_WIDTH + 2, top + EDGE, right - EDGE, bottom - EDGE)
    ground = sum(p == GROUND for p in items) / len(items)
    dark = sum(max(p) < 0x50 for p in items)
    if ground < 0.5:
        failures.append(f"the list's items are {ground:.0%} on the white ground")
    if dark < 100:
        failures.append(f"the list's items hold {dark} dark pixels of text")

    # The window outside the list: a blank or black window is nearly one colour.
    counts = collections.Counter(pixel(x, y) for y in range(0, height, 2) for x in range(0, width, 2)
                                 if not (left <= x < right and top <= y < bottom))
    common = counts.most_common(1)[0][1] / sum(counts.values())
    if common > 0.85:
        failures.append(f"the window is {common:.0%} one colour")

    for f in failures:
        print(f"{path}: {f}", file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
