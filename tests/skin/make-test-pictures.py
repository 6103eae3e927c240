"""Writes the skin tests' button pictures: 40 x 24, 24-bit, two colours side by side."""
import struct
import sys

for name, halves in {"normal.bmp": ((20, 90, 160), (200, 60, 30)), "hover.bmp": ((250, 210, 40), (40, 200, 90))}.items():
    row = b"".join(bytes((b, g, r)) for r, g, b in [halves[0]] * 20 + [halves[1]] * 20)  # 120 bytes, no padding
    info = struct.pack("<IiiHHIIiiII", 40, 40, 24, 1, 24, 0, len(row) * 24, 2835, 2835, 0, 0)
    with open(f"{sys.argv[1]}/{name}", "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 54 + len(row) * 24, 0, 0, 54) + info + row * 24)
