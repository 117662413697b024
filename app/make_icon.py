#!/usr/bin/env python3
"""Draws the program icon, a red round seal on a stamp pad, as a 32x32 16-colour .ico."""
import struct
import sys

# The standard 16-colour palette (index: B, G, R, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
RED, DARK_RED, GREY, DARK_GREY, WHITE, BLACK = 9, 1, 7, 8, 15, 0
SIZE = 32


def pixel(x, y):
    """Colour index at (x, y), or None where the icon is transparent."""
    # The stamp pad: a grey slab along the bottom.
    if 25 <= y <= 29 and 2 <= x <= 29:
        return DARK_GREY if y == 29 or x in (2, 29) else GREY
    cx, cy, r2 = 15.5, 12.5, (x - 15.5) ** 2 + (y - 12.5) ** 2
    if r2 <= 11.5 ** 2:
        if r2 >= 9.5 ** 2:
            return RED  # the rim of the seal
        # A stylised character: two strokes across, one down, a box on the right.
        if y in (7, 12, 17) and 9 <= x <= 14:
            return RED
        if x == 11 and 7 <= y <= 19:
            return RED
        if (x in (17, 22) and 7 <= y <= 18) or (y in (7, 18) and 17 <= x <= 22):
            return RED
        return WHITE
    if r2 <= 12.3 ** 2:
        return DARK_RED
    return None


def main(path):
    rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):  # bitmaps are stored bottom-up
        row = bytearray()
        mask = 0
        for x in range(0, SIZE, 2):
            a, b = pixel(x, y), pixel(x + 1, y)
            row.append(((a or 0) << 4) | (b or 0))
        for x in range(SIZE):
            mask = (mask << 1) | (1 if pixel(x, y) is None else 0)
        rows.append(bytes(row))
        mask_rows.append(struct.pack(">I", mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    image = header + palette + b"".join(rows) + b"".join(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "stampctl.ico")
