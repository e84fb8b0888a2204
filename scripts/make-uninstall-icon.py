#!/usr/bin/env python3
"""Writes uninstall/Uninstall.ico: one 32 x 32 image with 256 colours (8 bits per pixel, a
256-entry palette and a transparency mask). The picture: a printer, a sheet of paper in it, and
a red cross over it. Run it again after changing the drawing; the icon file is committed."""
import os
import struct

SIZE = 32
TRANSPARENT, BLACK, WHITE, LIGHT, DARK, RED, GREEN = range(7)
PALETTE = [(0, 0, 0), (0, 0, 0), (255, 255, 255), (192, 192, 192), (128, 128, 128),
           (204, 0, 0), (0, 160, 0)]


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def box(left, top, right, bottom, fill, edge=BLACK):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = x in (left, right) or y in (top, bottom)
                pixels[y][x] = edge if border else fill

    box(8, 1, 23, 13, WHITE)           # sheet fed in at the top
    for y in (4, 6, 8, 10):
        for x in range(10, 22):
            pixels[y][x] = DARK        # lines of text
    box(2, 11, 29, 24, LIGHT)          # the printer's body
    box(4, 14, 27, 15, DARK, DARK)     # paper slot
    pixels[13][26] = GREEN             # power lamp
    box(6, 22, 25, 30, WHITE)          # sheet coming out at the front
    for offset in range(-1, 2):        # the cross, three pixels thick
        for step in range(15):
            for x, y in ((14 + step + offset, 14 + step), (28 - step + offset, 14 + step)):
                if 0 <= x < SIZE and 0 <= y < SIZE:
                    pixels[y][x] = RED
    return pixels


def icon_file(pixels):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0" * (4 * (256 - len(PALETTE)))
    rows = reversed(pixels)            # bitmaps are stored bottom-up
    colour, mask = b"", b""
    for row in rows:
        colour += bytes(row)
        bits = "".join("1" if p == TRANSPARENT else "0" for p in row)
        mask += int(bits, 2).to_bytes(4, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 8, 0,
                         len(colour) + len(mask), 0, 0, 256, 0)
    image = header + palette + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    # bColorCount is 0 for 256 colours.
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 8, len(image), 6 + 16)
    return directory + entry + image


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "uninstall", "Uninstall.ico"), "wb") as out:
        out.write(icon_file(draw()))


if __name__ == "__main__":
    main()
