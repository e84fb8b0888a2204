"""Shared by the icon drawings: a 32 x 32 canvas and the writer of a .ico file with one image of
256 colours (8 bits per pixel, a 256-entry palette and a transparency mask). Colour index 0 is
transparent."""
import struct

SIZE = 32
TRANSPARENT = 0


class Canvas:
    def __init__(self):
        self.pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]

    def box(self, left, top, right, bottom, fill, edge):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = x in (left, right) or y in (top, bottom)
                self.pixels[y][x] = edge if border else fill

    def line(self, left, right, y, colour):
        for x in range(left, right + 1):
            self.pixels[y][x] = colour


def icon_file(pixels, palette_rgb):
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette_rgb)
    palette += b"\0" * (4 * (256 - len(palette_rgb)))
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


def write_icon(path, pixels, palette_rgb):
    with open(path, "wb") as out:
        out.write(icon_file(pixels, palette_rgb))
