#!/usr/bin/env python3
"""Draws the launcher's icon: one 128 x 128 image at 32 bits per pixel, written as an .ico file."""
import math
import struct
import sys

SIZE = 128


def pixel(x, y):
    cx = cy = (SIZE - 1) / 2
    d = math.hypot(x - cx, y - cy)
    if d > 62:
        return (0, 0, 0, 0)
    edge = max(0.0, min(1.0, 62 - d))
    alpha = int(255 * edge)
    # A dark red disc with a gold ring and a light "K" stroke.
    if 52 <= d <= 58:
        return (40, 180, 230, alpha)
    stem = 40 <= x <= 54 and 30 <= y <= 98
    arm = abs((x - 54) - abs(y - 64) * 0.9) < 8 and 54 <= x <= 92 and 30 <= y <= 98
    if stem or arm:
        return (225, 240, 250, alpha)
    shade = int(110 + 60 * (1 - d / 62))
    return (30, 30, shade, alpha)


def main(path):
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up rows
        rows.append(b"".join(struct.pack("BBBB", *pixel(x, y)) for x in range(SIZE)))
    xor = b"".join(rows)
    and_mask = b"\0" * (SIZE * SIZE // 8)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as out:
        out.write(directory + image)


if __name__ == "__main__":
    main(sys.argv[1])
