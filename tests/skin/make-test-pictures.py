"""Writes the skin tests' button pictures: 24-bit bitmaps, two colours side by side."""
import struct
import sys

WIDTH, HEIGHT = 40, 24
PICTURES = {
    "normal.bmp": ((20, 90, 160), (200, 60, 30)),
    "hover.bmp": ((250, 210, 40), (40, 200, 90)),
}


def write_bitmap(path, left, right):
    stride = (WIDTH * 3 + 3) & ~3
    rows = b""
    for _ in range(HEIGHT):
        row = b"".join(bytes((b, g, r)) for r, g, b in [left] * (WIDTH // 2) + [right] * (WIDTH - WIDTH // 2))
        rows += row + b"\0" * (stride - len(row))
    header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0, 14 + len(header)))
        out.write(header + rows)


for name, (left, right) in PICTURES.items():
    write_bitmap(f"{sys.argv[1]}/{name}", left, right)
