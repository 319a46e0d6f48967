#!/usr/bin/env python3
"""Draws the program icon: a yellow italic capital U on a red square with a
bevelled rim, 32 x 32 pixels in the 16 standard VGA colours.

Writes resources/veltrane.png (4-bit indexed) and resources/veltrane.ico
(4-bit BMP with its mask). Standard library only; run it after changing the
drawing and commit both files.
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


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
    img = draw()
    with open(os.path.join(out, "veltrane.png"), "wb") as f:
        f.write(png(img))
    with open(os.path.join(out, "veltrane.ico"), "wb") as f:
        f.write(ico(img))


if __name__ == "__main__":
    main()
