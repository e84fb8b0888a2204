#!/usr/bin/env python3
"""Draws the programs' icons: properties/VlExProp.ico (an orange printer with a yellow lid, a
grey paper tray and a white sheet of paper in it) and uninstall/Uninstall.ico (a printer with a
sheet of paper and a red cross over it). Run it again after changing a drawing; the icon files
are committed."""
import os

from icon_file import Canvas, write_icon

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def properties_icon():
    _, outline, grey, light_grey, white, orange, dark_orange, yellow = range(8)
    palette = [(0, 0, 0), (64, 64, 64), (128, 128, 128), (192, 192, 192), (255, 255, 255),
               (255, 140, 0), (204, 92, 0), (255, 220, 0)]
    c = Canvas()
    c.box(9, 1, 22, 14, white, outline)              # the sheet, standing in the printer
    for y, right in ((4, 20), (6, 19), (8, 20), (10, 16)):
        c.line(11, right, y, grey)                   # lines of text
    c.box(4, 12, 27, 16, yellow, outline)            # the lid
    c.line(8, 23, 13, outline)                       # the slot the sheet stands in
    c.box(2, 16, 29, 27, orange, outline)            # the body
    c.line(3, 28, 26, dark_orange)                   # its shaded foot
    c.box(7, 20, 24, 23, light_grey, outline)        # the paper tray
    c.line(8, 23, 22, grey)
    c.line(9, 22, 21, white)                         # a printed sheet in the tray
    c.box(26, 18, 27, 19, yellow, yellow)            # the power lamp
    c.box(4, 27, 7, 29, grey, outline)               # feet
    c.box(24, 27, 27, 29, grey, outline)
    return c.pixels, palette


def uninstall_icon():
    _, black, white, light, dark, red, green = range(7)
    palette = [(0, 0, 0), (0, 0, 0), (255, 255, 255), (192, 192, 192), (128, 128, 128),
               (204, 0, 0), (0, 160, 0)]
    c = Canvas()
    c.box(8, 1, 23, 13, white, black)                # sheet fed in at the top
    for y in (4, 6, 8, 10):
        c.line(10, 21, y, dark)                      # lines of text
    c.box(2, 11, 29, 24, light, black)               # the printer's body
    c.box(4, 14, 27, 15, dark, dark)                 # paper slot
    c.pixels[13][26] = green                         # power lamp
    c.box(6, 22, 25, 30, white, black)               # sheet coming out at the front
    for offset in range(-1, 2):                      # the cross, three pixels thick
        for step in range(15):
            for x, y in ((14 + step + offset, 14 + step), (28 - step + offset, 14 + step)):
                if 0 <= x < 32 and 0 <= y < 32:
                    c.pixels[y][x] = red
    return c.pixels, palette


def main():
    write_icon(os.path.join(ROOT, "properties", "VlExProp.ico"), *properties_icon())
    write_icon(os.path.join(ROOT, "uninstall", "Uninstall.ico"), *uninstall_icon())


if __name__ == "__main__":
    main()
