#!/usr/bin/env python3
"""Draws the programs' artwork as small files: the right-button agent's
button picture and icon (a mouse with its right button lit) and the control
panel's icon (a monitor with a calibration cross and a fingertip), the
startup agent's icon (a mouse with its left button lit and two click
marks) and its double-click test pictures (a lamp on and off).

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


def icon_image(size, pixel):
    """One 32-bit image of an icon file; pixel(x, y) -> (r, g, b, a)."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixel(x, y)
            xor += bytes((b, g, r, a))
    and_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(and_row)
        for x in range(size):
            if pixel(x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def ico(images):
    """An icon file from [(size, image bytes)]."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
        data += image
    return header + entries + data


def panel_pixel(size):
    s = size / 32.0

    def px(x, y):
        fx, fy = (x + 0.5) / s, (y + 0.5) / s  # in 32-pixel units
        # Fingertip: a rounded skin-coloured bar coming from the lower right.
        dx, dy = fx - 21, fy - 17
        if dx >= -2.6 and dy >= -2.6 and abs(dx - dy) <= 3.2 and dx + dy <= 22:
            if (dx + 2.6) ** 2 + (dy + 2.6) ** 2 >= 0 and not (dx < 0 and dy < 0 and dx * dx + dy * dy > 6.8):
                edge = abs(dx - dy) > 2.4
                return (160, 110, 80, 255) if edge else (240, 196, 160, 255)
        # Stand.
        if 13 <= fx <= 19 and 24 <= fy <= 27:
            return (96, 96, 96, 255)
        if 9 <= fx <= 23 and 27 <= fy <= 29:
            return (64, 64, 64, 255)
        # Bezel and screen.
        if 2 <= fx <= 30 and 3 <= fy <= 24:
            if 4 <= fx <= 28 and 5 <= fy <= 22:
                # Calibration cross in the middle of the screen.
                if (abs(fx - 14) < 0.8 and 8 <= fy <= 18) or (abs(fy - 13) < 0.8 and 9 <= fx <= 19):
                    return (255, 255, 255, 255)
                if abs(((fx - 14) ** 2 + (fy - 13) ** 2) ** 0.5 - 3) < 0.6:
                    return (255, 64, 64, 255)
                shade = int(110 + 60 * (fy - 5) / 17)
                return (0, shade // 2, shade, 255)
            return (192, 192, 192, 255) if fy > 3.8 and fx > 2.8 else (240, 240, 240, 255)
        return (0, 0, 0, 0)

    return px


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


def agent_pixel(size):
    def px(x, y):
        c = mouse(x, y, size, size, True)
        return (*c, 255) if c else (0, 0, 0, 0)

    return px


def left_lit_mouse(x, y, w, h):
    """A mouse seen from above with its left button lit."""
    c = mouse(w - 1 - x, y, w, h, True)  # mirrored: the lit button on the left
    return c


def startup_pixel(size):
    s = size / 32.0

    def px(x, y):
        fx, fy = (x + 0.5) / s, (y + 0.5) / s
        # Two click marks above the left button.
        for r in (4.5, 7.5):
            d = ((fx - 10) ** 2 + (fy - 9) ** 2) ** 0.5
            if abs(d - r) < 0.7 and fy < 9 and fx < 13:
                return (0, 0, 160, 255)
        c = left_lit_mouse(x, y, size, size)
        return (*c, 255) if c else (0, 0, 0, 0)

    return px


def lamp_bitmap(path, lit, size=32):
    """A round lamp on the test area's colour: lit yellow on blue, or grey on near-white."""
    back = (0, 0, 255) if lit else (250, 250, 250)

    def px(x, y):
        cx, cy = size / 2, size * 0.42
        d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
        if d <= size * 0.30:
            if lit:
                return (255, 240, 80) if d > size * 0.12 else (255, 255, 220)
            return (190, 190, 190) if d > size * 0.12 else (225, 225, 225)
        if d <= size * 0.34:
            return (40, 40, 40)
        if abs(x + 0.5 - cx) <= size * 0.12 and size * 0.72 <= y + 0.5 <= size * 0.90:
            return (120, 120, 120) if (y // 2) % 2 else (80, 80, 80)
        return back

    open(path, "wb").write(bmp24(size, size, px))


def package_pixel(arrow_in):
    """A package box; a green arrow going in (installer) or a red cross (remover)."""
    def factory(size):
        s = size / 32.0

        def px(x, y):
            fx, fy = (x + 0.5) / s, (y + 0.5) / s
            if arrow_in:
                if 13 <= fx <= 19 and 1 <= fy <= 11 or (fy >= 10 and fy <= 16 and abs(fx - 16) <= 16 - fy):
                    return (30, 150, 40, 255)
            else:
                d1, d2 = abs((fx - 16) - (fy - 9)), abs((fx - 16) + (fy - 9))
                if abs(fx - 16) <= 7 and abs(fy - 9) <= 7 and min(d1, d2) < 2.2:
                    return (210, 30, 30, 255)
            if 4 <= fx <= 28 and 14 <= fy <= 30:
                if abs(fx - 16) < 1.5:
                    return (150, 110, 60, 255)
                return (120, 80, 40, 255) if fx < 5 or fx > 27 or fy > 29 or fy < 15 else (205, 160, 100, 255)
            return (0, 0, 0, 0)

        return px

    return factory


def icon(path, draw, sizes=(32, 16)):
    open(path, "wb").write(ico([(size, icon_image(size, draw(size))) for size in sizes]))


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    button_bitmap(f"{out}/rbutton/res/action.bmp", 36)
    icon(f"{out}/rbutton/res/rbutton.ico", agent_pixel)
    icon(f"{out}/panel/res/panel.ico", panel_pixel)
    icon(f"{out}/startup/res/startup.ico", startup_pixel)
    lamp_bitmap(f"{out}/startup/res/test_on.bmp", True)
    lamp_bitmap(f"{out}/startup/res/test_off.bmp", False)
    icon(f"{out}/setup/res/setup.ico", package_pixel(True))
    icon(f"{out}/remove/res/remove.ico", package_pixel(False))
