#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the program icon: a yellow italic capital U on a red square with a
bevelled rim.

- The windows' own icon, 32 x 32 pixels in the 16 standard VGA colours:
  resources/veltrane.png (4-bit indexed) and resources/veltrane.ico (4-bit
  BMP with its mask).
- The desktop's icon set, drawn from one description of the same shapes
  (THEME below): resources/icons/hicolor/NxN/apps/ID.png at 16 … 256 px,
  antialiased, and resources/icons/hicolor/scalable/apps/ID.svg.

Standard library only; run it after changing a drawing and commit the files.
"""
import math
import os
import struct
import zlib

SIZE = 32
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, OLIVE, SILVER, RED, YELLOW, WHITE = 0, 1, 3, 7, 9, 11, 15


def in_u(x, y):
    """Whether the pixel centre lies on the letter, in unsheared letter space."""
    cx, cy = x + 0.5, y + 0.5
    # Italic: the top leans right by a quarter pixel per row.
    u = cx - (25 - cy) * 0.25
    v = cy
    if v < 6 or v > 26:
        return False
    if v < 17:
        return 8 <= u <= 13 or 19 <= u <= 24
    r = math.hypot(u - 16, v - 17)
    return 3 <= r <= 8.6 or (v < 17.5 and (8 <= u <= 13 or 19 <= u <= 24))


def draw():
    img = [[RED] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            # Bevel: light on the top and left edges, dark on the bottom and right.
            d = min(x, y, SIZE - 1 - x, SIZE - 1 - y)
            if d == 0:
                img[y][x] = WHITE if (x == 0 or y == 0) and x + y < SIZE * 2 - 2 else BLACK
                if x == SIZE - 1 or y == SIZE - 1:
                    img[y][x] = BLACK
            elif d == 1:
                img[y][x] = SILVER if (x == 1 or y == 1) and x < SIZE - 2 and y < SIZE - 2 \
                    else DARK_RED
    for y in range(SIZE):
        for x in range(SIZE):
            if in_u(x, y):
                img[y][x] = YELLOW
            elif in_u(x - 1, y - 1) and 2 <= x < SIZE - 2 and 2 <= y < SIZE - 2:
                img[y][x] = OLIVE  # shadow to the lower right
    return img


def png(img):
    raw = b"".join(
        b"\x00" + bytes((row[x] << 4) | row[x + 1] for x in range(0, SIZE, 2)) for row in img)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 4, 3, 0, 0, 0))
            + chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def ico(img):
    xor = b"".join(bytes((img[y][x] << 4) | img[y][x + 1] for x in range(0, SIZE, 2))
                   for y in reversed(range(SIZE)))
    mask = bytes(SIZE * SIZE // 8)  # fully opaque; rows are 4 bytes, already aligned
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask),
                         0, 0, 16, 0)
    image = header + palette + xor + mask
    return (struct.pack("<HHH", 0, 1, 1)
            + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
            + image)


# The desktop icon set: one description, in a 32-unit square, that both the
# SVG and the raster sizes are drawn from.
APP_ID = "cn.korlund.Veltrane"
THEME_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
THEME = {
    "shear": 0.25,               # the letter leans right by this much per unit of height
    "baseline": 25,              # the height about which the letter is sheared
    "stems": ((8, 13), (19, 24)),
    "top": 6,
    "centre": (16, 17),          # of the bow
    "inner": 3, "outer": 8,      # radii of the bow
    "shadow": 1,                 # offset of the olive shadow, down and right
    "rim": 1,                    # width of each of the two bevel bands
}


def hexcolour(index):
    return "#%02x%02x%02x" % PALETTE[index]


def in_theme_u(x, y):
    """Whether (x, y) in the 32-unit square lies on the letter."""
    t = THEME
    u = x - (t["baseline"] - y) * t["shear"]
    (a0, a1), (b0, b1) = t["stems"]
    cx, cy = t["centre"]
    if y < t["top"]:
        return False
    if y <= cy:
        return a0 <= u <= a1 or b0 <= u <= b1
    return t["inner"] <= math.hypot(u - cx, y - cy) <= t["outer"]


def theme_colour(x, y):
    """The colour index at (x, y): bevel, then shadow, then letter."""
    rim = THEME["rim"]
    d = min(x, y, SIZE - x, SIZE - y)
    light = min(x, y) <= min(SIZE - x, SIZE - y)  # the nearest edge is the top or the left
    if d < rim:
        return WHITE if light else BLACK
    if d < 2 * rim:
        return SILVER if light else DARK_RED
    if in_theme_u(x, y):
        return YELLOW
    off = THEME["shadow"]
    if in_theme_u(x - off, y - off):
        return OLIVE
    return RED


def theme_png(size):
    """The icon at size x size pixels, 4 x 4 samples a pixel, as RGB PNG."""
    rows = []
    n = 4
    for py in range(size):
        row = bytearray(b"\x00")
        for px in range(size):
            total = [0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) * SIZE / size
                    y = (py + (sy + 0.5) / n) * SIZE / size
                    c = PALETTE[theme_colour(x, y)]
                    for i in range(3):
                        total[i] += c[i]
            row += bytes(round(v / (n * n)) for v in total)
        rows.append(bytes(row))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
            + chunk(b"IEND", b""))


def theme_svg():
    t = THEME
    (a0, a1), (b0, b1) = t["stems"]
    cx, cy = t["centre"]
    r, R, top = t["inner"], t["outer"], t["top"]
    letter = (f"M{a0},{top} H{a1} V{cy} A{r},{r} 0 0 0 {cx + r},{cy} V{top} H{b1} V{cy} "
              f"A{R},{R} 0 0 1 {cx - R},{cy} Z")
    shear = f"matrix(1 0 {-t['shear']} 1 {t['shear'] * t['baseline']} 0)"
    w, n = t["rim"], SIZE

    def band(k, colour_light, colour_dark):
        a, b = k * w, n - k * w
        c, e = a + w, b - w
        light = f"M{a},{a} H{b} L{e},{c} H{c} V{e} L{a},{b} Z"
        dark = f"M{b},{b} H{a} L{c},{e} H{e} V{c} L{b},{a} Z"
        return (f'<path d="{light}" fill="{hexcolour(colour_light)}"/>\n'
                f'<path d="{dark}" fill="{hexcolour(colour_dark)}"/>\n')

    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">\n'
            f'<rect width="32" height="32" fill="{hexcolour(RED)}"/>\n'
            + band(0, WHITE, BLACK) + band(1, SILVER, DARK_RED)
            + f'<g transform="translate({t["shadow"]} {t["shadow"]})">'
            f'<path transform="{shear}" d="{letter}" fill="{hexcolour(OLIVE)}"/></g>\n'
            f'<path transform="{shear}" d="{letter}" fill="{hexcolour(YELLOW)}"/>\n'
            '</svg>\n')


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    img = draw()
    with open(os.path.join(out, "veltrane.png"), "wb") as f:
        f.write(png(img))
    with open(os.path.join(out, "veltrane.ico"), "wb") as f:
        f.write(ico(img))
    theme = os.path.join(out, "icons", "hicolor")
    for size in THEME_SIZES:
        folder = os.path.join(theme, f"{size}x{size}", "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, APP_ID + ".png"), "wb") as f:
            f.write(theme_png(size))
    folder = os.path.join(theme, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, APP_ID + ".svg"), "w", encoding="utf-8") as f:
        f.write(theme_svg())


if __name__ == "__main__":
    main()
