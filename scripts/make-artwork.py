#!/usr/bin/env python3
"""Draws the programs' artwork (bitmaps and icons) as small files.

Run by hand when the artwork changes; the results are committed, so the
build needs no Python.
"""
import struct
import sys


def bmp24(width, height, pixel):
    """A bottom-up 24-bit BMP; pixel(x, y) -> (r, g, b), y from the top."""
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - width * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def ico32(size, pixel):
    """A one-image 32-bit icon; pixel(x, y) -> (r, g, b, a)."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
    and_row = ((size + 31) // 32) * 4
    mask = b"\0" * (and_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


def mouse(x, y, w, h, right_lit):
    """A mouse seen from above; the right button lit when asked."""
    cx, top, bottom = w / 2, h * 0.12, h * 0.88
    rx = w * 0.30
    inside = top <= y <= bottom and abs(x + 0.5 - cx) <= rx * (1.0 if y > top + rx else
                                                                  max(0.0, 1 - ((top + rx - y) / rx) ** 2) ** 0.5)
    if not inside:
        return None
    split = top + (bottom - top) * 0.42
    if y < split:
        if abs(x + 0.5 - cx) < 1:
            return (40, 40, 40)
        if x + 0.5 > cx:
            return (200, 30, 30) if right_lit else (235, 235, 235)
        return (235, 235, 235)
    if abs(y - split) < 1:
        return (40, 40, 40)
    return (215, 215, 215)


def button_bitmap(path, size):
    face = (192, 192, 192)

    def px(x, y):
        return mouse(x, y, size, size, True) or face

    open(path, "wb").write(bmp24(size, size, px))


def icon(path, size, right_lit=True):
    def px(x, y):
        c = mouse(x, y, size, size, right_lit)
        return (*c, 255) if c else (0, 0, 0, 0)

    open(path, "wb").write(ico32(size, px))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    button_bitmap(f"{out}/rbutton/res/action.bmp", 36)
    icon(f"{out}/rbutton/res/rbutton.ico", 32)
