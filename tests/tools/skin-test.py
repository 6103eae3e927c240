#!/usr/bin/env python3
"""The generated skin pictures are what the launcher relies on: each bitmap that res/skin.rc2 names
has its size at 24 bits per pixel, and only the background holds the key colour, outside its outline."""
import re
import sys

from PIL import Image

SIZES = {"BACKGROUND": (476, 491), "CLOSE": (29, 22), "MINIMIZE": (29, 22), "START": (160, 50),
         "120E": (122, 29), "124E": (122, 29), "126": (122, 29), "120E4M": (132, 29), "124E8M": (132, 29),
         "MAPS": (132, 29), "PANEL_TOP": (461, 58), "PANEL_BOTTOM": (460, 247), "EDIT_FRAME": (156, 30)}
KEY = (255, 0, 255)


def outside_only(img):
    """Key-coloured pixels only at the ends of rows, and every row keeps an opaque middle."""
    w, h = img.size
    px = img.load()
    for y in range(h):
        row = [px[x, y] == KEY for x in range(w)]
        left = row.index(False) if False in row else w
        right = row[::-1].index(False) if False in row else w
        if left + right >= w or any(row[left:w - right]):
            return False
    return True


def main(rc, folder):
    faults, keyed = [], 0
    entries = re.findall(r'^IDB_(\w+?)(_HOVER)?\s+BITMAP\s+"skin/([^"]+)"', open(rc).read(), re.M)
    if len(entries) != 22:
        faults.append("expected 22 pictures in %s, found %d" % (rc, len(entries)))
    for name, _, file in entries:
        path = "%s/%s" % (folder, file)
        img = Image.open(path)
        header = open(path, "rb").read(34)
        if img.size != SIZES.get(name) or header[28] != 24 or header[30] != 0:
            faults.append("%s: %s at %d bits, compression %d" % (file, img.size, header[28], header[30]))
        has_key = KEY in img.getdata()
        keyed += has_key
        if has_key and (name != "BACKGROUND" or not outside_only(img)):
            faults.append("%s: key colour where it would be seen" % file)
    if not keyed:
        faults.append("the background has no key-coloured outline")
    print("\n".join(faults) or "ok")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
