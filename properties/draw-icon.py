#!/usr/bin/env python3
"""Writes properties/VlExProp.ico: one 32 x 32 image with 256 colours (8 bits per pixel, a
256-entry palette and a transparency mask). The picture: an orange printer with a yellow lid, a
grey paper tray and a white sheet of paper in it. Run it again after changing the drawing; the
icon file is committed."""
import os
import struct

SIZE = 32
TRANSPARENT, OUTLINE, GREY, LIGHT_GREY, WHITE, ORANGE, DARK_ORANGE, YELLOW = range(8)
PALETTE = [(0, 0, 0), (64, 64, 64), (128, 128, 128), (192, 192, 192), (255, 255, 255),
           (255, 140, 0), (204, 92, 0), (255, 220, 0)]


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def box(left, top, right, bottom, fill, edge=OUTLINE):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = x in (left, right) or y in (top, bottom)
                pixels[y][x] = edge if border else fill

    def line(left, right, y, colour):
        for x in range(left, right + 1):
            pixels[y][x] = colour

    box(9, 1, 22, 14, WHITE)                 # the sheet, standing in the printer
    for y, right in ((4, 20), (6, 19), (8, 20), (10, 16)):
        line(11, right, y, GREY)             # lines of text
    box(4, 12, 27, 16, YELLOW)               # the lid
    line(8, 23, 13, OUTLINE)                 # the slot the sheet stands in
    box(2, 16, 29, 27, ORANGE)               # the body
    line(3, 28, 26, DARK_ORANGE)             # its shaded foot
    box(7, 20, 24, 23, LIGHT_GREY)           # the paper tray
    line(8, 23, 22, GREY)
    line(9, 22, 21, WHITE)                   # a printed sheet in the tray
    box(26, 18, 27, 19, YELLOW, YELLOW)  # the power lamp
    box(4, 27, 7, 29, GREY)                  # feet
    box(24, 27, 27, 29, GREY)
    return pixels


def icon_file(pixels):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    palette += b"\0" * (4 * (256 - len(PALETTE)))
    colour, mask = b"", b""
    for row in reversed(pixels):             # bitmaps are stored bottom-up
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
    folder = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, "VlExProp.ico"), "wb") as out:
        out.write(icon_file(draw()))


if __name__ == "__main__":
    main()
