#!/usr/bin/env python3
"""Draws the launcher's skin pictures as 24-bit BMP files.

    make-skin.py OUTDIR [--preview window.png]

The preview shows the window as the launcher draws it, normal pictures on the left and
hover pictures on the right, with the key colour as a checker and the web panels white.

Same bytes on every run: the only randomness is seeded.
"""
import argparse
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

S = 4  # shapes are drawn this many times larger and scaled down, for smooth edges
W, H = 476, 491
MAGENTA = (255, 0, 255)
CORNER = 14
CJK = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
LATIN = "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf"
GOLD, GOLD_LIGHT, GOLD_DARK = (196, 158, 82), (255, 226, 150), (112, 84, 38)

# name, left, top, width, height, caption, kind (the program places each button here)
BUTTONS = [
    ("close", 440, 2, 29, 22, "x", "close"),
    ("minimize", 410, 2, 29, 22, "-", "min"),
    ("start", 158, 170, 160, 50, "开始游戏", "start"),
    ("120e", 20, 110, 122, 29, "1.20E", "version"),
    ("124e", 20, 155, 122, 29, "1.24E", "version"),
    ("126", 20, 200, 122, 29, "1.26", "version"),
    ("120e4m", 330, 110, 132, 29, "1.20E+4M", "version"),
    ("124e8m", 330, 155, 132, 29, "1.24E+8M", "version"),
    ("maps", 330, 200, 132, 29, "魔兽地图", "site"),
]
PANELS = [(7, 26, 462, 60), (7, 256, 462, 230)]  # web panels, white without an HTML engine
PLAQUE = (146, 122, 330, 158)  # under the version label, which is drawn at 155..320, y 130


def font(path, px):
    return ImageFont.truetype(path, px)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vgradient(w, h, stops):
    """Vertical gradient through (position 0..1, colour) stops."""
    col = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                col.putpixel((0, y), mix(c0, c1, (t - p0) / max(1e-9, p1 - p0)))
                break
    return col.resize((w, h), Image.NEAREST)


def radial(w, h, cx, cy, r, inner, outer):
    """Radial blend from inner at (cx, cy) to outer at distance r and beyond."""
    # Pillow's gradient reaches 181 at the middle of its edges; ease out to 255 there, so no ring shows
    ease = [round(255 * (1 - (1 - min(1, v / 181)) ** 2)) for v in range(256)]
    mask = Image.radial_gradient("L").point(ease).resize((2 * r, 2 * r), Image.BILINEAR)
    full = Image.new("L", (w, h), 255)
    full.paste(mask, (cx - r, cy - r))
    return Image.composite(Image.new("RGB", (w, h), outer), Image.new("RGB", (w, h), inner), full)


def noise(w, h, seed, blur):
    """Seeded grey noise around 128, softened into a stone-like grain."""
    img = Image.frombytes("L", (w, h), random.Random(seed).randbytes(w * h))
    return img.filter(ImageFilter.GaussianBlur(blur)) if blur else img


def grain(img, seed, strength, blur=0.6):
    """Overlays the noise so flat areas do not look like plastic."""
    n = noise(img.width, img.height, seed, blur).point(lambda v: 128 + (v - 128) * strength)
    return ImageChops.add(img, Image.merge("RGB", [n] * 3), 1.0, -128)


def big(w, h, colour=(0, 0, 0, 0)):
    img = Image.new("RGBA", (w * S, h * S), colour)
    return img, ImageDraw.Draw(img)


def small(img):
    return img.resize((img.width // S, img.height // S), Image.BOX)


def rbox(d, x0, y0, x1, y1, r, **kw):
    """Rounded rectangle in 1x coordinates on a supersampled canvas."""
    d.rounded_rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], r * S, **kw)


def text_width(text, px, cjk_px=None):
    return sum(font(CJK if ord(c) > 127 else LATIN, cjk_px or px if ord(c) > 127 else px).getlength(c)
               for c in text)


def draw_text(d, x, y, text, px, fill, cjk_px=None, shadow=None, stroke=0, off=1):
    """Text with Latin and Chinese faces on one baseline; y is the top of the cell."""
    base = y + font(LATIN, px).getmetrics()[0]
    for c in text:
        f = font(CJK, cjk_px or px) if ord(c) > 127 else font(LATIN, px)
        if shadow:
            d.text((x + off, base + off), c, font=f, fill=shadow, anchor="ls", stroke_width=stroke, stroke_fill=shadow)
        d.text((x, base), c, font=f, fill=fill, anchor="ls", stroke_width=stroke, stroke_fill=fill)
        x += f.getlength(c)


def caption(plate, text, px, ink, shadow, cjk_px=None, stroke=0):
    """Centres a caption by its ink, not its cell, on a supersampled plate; stroke thickens the CJK face."""
    args = (text, px * S, ink + (255,), (cjk_px or px) * S, None, stroke)
    probe = Image.new("RGBA", (plate.width * 2, plate.height * 2))
    draw_text(ImageDraw.Draw(probe), 0, 0, *args)
    x0, y0, x1, y1 = probe.getbbox()
    x, y = (plate.width - x1 - x0) / 2, (plate.height - y1 - y0) / 2
    layer = Image.new("RGBA", plate.size)
    draw_text(ImageDraw.Draw(layer), x, y, *args[:4], shadow + (200,), stroke, off=S)
    return Image.alpha_composite(plate, layer)


def outline_mask():
    """The window's outline: rounded corners, hard-edged since a region has no partial pixels."""
    m = Image.new("L", (W * S, H * S), 0)
    d = ImageDraw.Draw(m)
    rbox(d, 0, 0, W, H, CORNER, fill=255)
    return small(m).point(lambda v: 255 if v >= 128 else 0)


def background():
    x0, y0, x1, y1 = PLAQUE
    img = radial(W, H, 238, 180, 330, (44, 58, 84), (8, 10, 16))
    # broad mottling for depth, then fine grain
    mottle = noise(60, 62, 1790, 0).resize((W, H), Image.BICUBIC).filter(ImageFilter.GaussianBlur(6))
    img = ImageChops.add(img, Image.merge("RGB", [mottle.point(lambda v: 128 + (v - 128) * 0.3)] * 3), 1.0, -128)
    img = grain(img, 179, 0.12, 0.7)
    # faint diagonal lattice, etched into the stone
    lat, d = big(W, H)
    for k in range(-H, W, 24):
        d.line([(k * S, 0), ((k + H) * S, H * S)], fill=(150, 180, 230, 26), width=S)
        d.line([((k + H) * S, 0), (k * S, H * S)], fill=(150, 180, 230, 26), width=S)
    img = Image.alpha_composite(img.convert("RGBA"), small(lat))
    ov, d = big(W, H)
    # title strip: darker, with a gold rule under it
    strip = vgradient(W, 26, [(0, (24, 30, 44)), (0.5, (14, 18, 28)), (1, (6, 8, 12))]).convert("RGBA")
    ov.paste(strip.resize((W * S, 26 * S)), (0, 0))
    d.rectangle([0, 25 * S, W * S, 26 * S], fill=GOLD_DARK + (255,))
    # recessed frames around the two web panels
    for x, y, w, h in PANELS:
        rbox(d, x - 3, y - 3, x + w + 3, y + h + 3, 3, fill=(4, 5, 8, 255), outline=GOLD_DARK + (255,), width=S)
        rbox(d, x - 1, y - 1, x + w + 1, y + h + 1, 1, fill=(0, 0, 0, 255))
    # warm glow behind the start button and plaque
    glow = radial(W, H, 238, 180, 130, (150, 96, 30), (0, 0, 0))
    img = ImageChops.add(img.convert("RGB"), glow.point(lambda v: v // 2)).convert("RGBA")
    # soft shadows under the buttons and the plaque lift them off the stone
    shade = Image.new("L", (W, H), 0)
    sd = ImageDraw.Draw(shade)
    for x, y, w, h in [b[1:5] for b in BUTTONS] + [(x0, y0, x1 - x0, y1 - y0)]:
        sd.rounded_rectangle([x, y + 2, x + w - 1, y + h + 1], 6, fill=170)
    img.paste((0, 0, 0), (0, 0), shade.filter(ImageFilter.GaussianBlur(3)))
    # plaque for the version text: parchment in a gold frame
    rbox(d, x0 - 2, y0 - 2, x1 + 2, y1 + 2, 8, fill=(10, 8, 6, 255))
    rbox(d, x0, y0, x1, y1, 7, fill=GOLD + (255,))
    rbox(d, x0 + 2, y0 + 2, x1 - 2, y1 - 2, 5, fill=GOLD_DARK + (255,))
    img = Image.alpha_composite(img, small(ov))
    parch = grain(vgradient(x1 - x0 - 6, y1 - y0 - 6, [(0, (246, 232, 196)), (1, (216, 190, 136))]), 148, 0.12)
    pm = Image.new("L", ((x1 - x0 - 6) * S, (y1 - y0 - 6) * S), 0)
    ImageDraw.Draw(pm).rounded_rectangle([0, 0, pm.width - 1, pm.height - 1], 4 * S, fill=255)
    img.paste(parch, (x0 + 3, y0 + 3), small(pm))
    # gold ornaments: rules either side of the column headers and under the buttons
    ov, d = big(W, H)
    for cx in (81, 396):
        d.line([((cx - 56) * S, 100 * S), ((cx + 56) * S, 100 * S)], fill=GOLD_DARK + (255,), width=S)
        d.regular_polygon((cx * S, 100 * S, 4 * S), 4, fill=GOLD + (255,))
    d.line([(150 * S, 240 * S), (326 * S, 240 * S)], fill=GOLD_DARK + (255,), width=S)
    d.regular_polygon((238 * S, 240 * S, 4 * S), 4, fill=GOLD + (255,))
    # the rim: a dark edge, then a gold bevel inside it, against dark on both sides
    rbox(d, 0, 0, W, H, CORNER, outline=(2, 2, 4, 255), width=2 * S)
    rbox(d, 2, 2, W - 2, H - 2, CORNER - 2, outline=GOLD + (255,), width=S)
    rbox(d, 3, 3, W - 3, H - 3, CORNER - 3, outline=(20, 16, 10, 255), width=S)
    img = Image.alpha_composite(img, small(ov)).convert("RGB")
    # vignette darkens the far corners
    vig = radial(W, H, W // 2, H // 2, 360, (255, 255, 255), (150, 150, 150))
    img = ImageChops.multiply(img, vig)
    d = ImageDraw.Draw(img)
    for cx, title in ((81, "经典版本"), (396, "扩展版本")):
        w = text_width(title, 12)
        draw_text(d, cx - w / 2, 93, title, 12, GOLD_LIGHT, shadow=(0, 0, 0))
    img.paste(Image.new("RGB", (W, H), MAGENTA), (0, 0), ImageChops.invert(outline_mask()))
    return img


# normal and hover fills of each kind: (top, bottom, border, text)
STYLES = {
    "version": [((58, 74, 104), (22, 30, 46), GOLD, (240, 222, 170)),
                ((96, 128, 178), (36, 52, 86), GOLD_LIGHT, (255, 255, 255))],
    "site": [((44, 96, 80), (14, 40, 32), GOLD, (230, 240, 210)),
             ((70, 150, 124), (22, 70, 56), GOLD_LIGHT, (255, 255, 255))],
    "start": [((206, 60, 40), (104, 14, 10), GOLD, (255, 240, 210)),
              ((250, 110, 60), (160, 30, 14), GOLD_LIGHT, (255, 255, 255))],
    "close": [((52, 58, 72), (20, 22, 30), GOLD_DARK, (220, 210, 190)),
              ((230, 70, 60), (140, 20, 16), GOLD_LIGHT, (255, 255, 255))],
    "min": [((52, 58, 72), (20, 22, 30), GOLD_DARK, (220, 210, 190)),
            ((96, 128, 178), (36, 52, 86), GOLD_LIGHT, (255, 255, 255))],
}


def shine(plate, w, h, r, colour, stops):
    """Lays colour over the plate's face with a vertical (position, alpha) ramp."""
    face = Image.new("L", plate.size, 0)
    rbox(ImageDraw.Draw(face), 2, 2, w - 2, h - 2, max(1, r - 2), fill=255)
    ramp = vgradient(1, plate.height, [(p, (a,) * 3) for p, a in stops]).convert("L").resize(plate.size)
    plate.paste(colour + (255,), (0, 0), ImageChops.multiply(face, ramp))


def button(bg, x, y, w, h, text, kind, hover):
    """A plate with gradient, border and gloss, laid over the background where it will stand."""
    top, bottom, border, ink = STYLES[kind][hover]
    r = {"start": 10, "close": 5, "min": 5}.get(kind, 6)
    plate, d = big(w, h)
    mask = Image.new("L", plate.size, 0)
    rbox(ImageDraw.Draw(mask), 0, 0, w, h, r, fill=255)
    fill = vgradient(w * S, h * S, [(0, top), (0.5, mix(top, bottom, 0.55)), (1, bottom)])
    plate.paste(fill, (0, 0), mask)
    rbox(d, 0, 0, w, h, r, outline=(6, 6, 8, 255), width=S)
    rbox(d, 1, 1, w - 1, h - 1, r - 1, outline=border + (255,), width=S + (S if kind == "start" else 0))
    # gloss fading out towards the middle, as on a rounded surface; lit plates also glow from below
    shine(plate, w, h, r, (255, 255, 255), [(0, 90 if hover else 60), (0.5, 0), (1, 0)])
    if hover:
        shine(plate, w, h, r, border, [(0, 0), (0.55, 0), (1, 110)])
    if kind in ("close", "min"):
        cx, cy, k = w * S / 2, h * S / 2, 4 * S
        lines = [((cx - k, cy - k), (cx + k, cy + k)), ((cx - k, cy + k), (cx + k, cy - k))] if kind == "close" \
            else [((cx - k, cy + S), (cx + k, cy + S))]
        pd = ImageDraw.Draw(plate)
        for a, b in lines:
            pd.line([(a[0], a[1] + S), (b[0], b[1] + S)], fill=(0, 0, 0, 140), width=2 * S)
            pd.line([a, b], fill=ink + (255,), width=2 * S)
    if kind == "start":
        plate = caption(plate, text, 14, ink, (60, 6, 4), cjk_px=24, stroke=3)
    elif kind in ("version", "site"):
        plate = caption(plate, text, 15, ink, (0, 0, 0), cjk_px=15, stroke=1)
    img = bg.crop((x, y, x + w, y + h))
    img.paste(small(plate).convert("RGB"), (0, 0), small(plate))
    return img


def panel_top():
    """The banner under the upper web panel."""
    img = grain(vgradient(461, 58, [(0, (40, 24, 60)), (1, (14, 10, 28))]), 150, 0.3)
    img = ImageChops.add(img, radial(461, 58, 120, 29, 160, (70, 50, 20), (0, 0, 0)))
    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, 460, 57], outline=(6, 4, 10))
    for y in (2, 55):
        d.line([(2, y), (458, y)], fill=GOLD_DARK)
    d.regular_polygon((280, 29, 4), 4, fill=GOLD)
    draw_text(d, 24, 12, "Kelvadi 版本转换器", 24, GOLD_LIGHT, cjk_px=24, shadow=(0, 0, 0))
    draw_text(d, 300, 22, "www.kelvadi.com", 14, (200, 190, 220), shadow=(0, 0, 0))
    return img


def panel_bottom():
    """The picture under the lower web panel: mountains under a night sky."""
    w, h = 460, 247
    img = vgradient(w, h, [(0, (10, 14, 40)), (0.6, (50, 40, 90)), (1, (120, 70, 70))])
    img = ImageChops.add(img, radial(w, h, 340, 60, 120, (90, 90, 70), (0, 0, 0)))
    d = ImageDraw.Draw(img)
    rng = random.Random(149)
    for _ in range(140):
        sx, sy, v = rng.randrange(w), rng.randrange(int(h * 0.6)), rng.randrange(120, 255)
        d.point((sx, sy), fill=(v, v, min(255, v + 20)))
    d.ellipse([322, 42, 358, 78], fill=(240, 236, 210))
    # ridges from far to near, each darker, with mist rising between them
    for i, (base, colour) in enumerate([(140, (44, 38, 76)), (175, (28, 23, 50)), (212, (10, 8, 18))]):
        layer, ld = big(w, h)
        ld.polygon([(0, h * S)] + [(x * S, y * S) for x, y in ridge(rng, w, base, 60 - 12 * i)] + [(w * S, h * S)],
                   fill=colour + (255,))
        mist = vgradient(w, h, [(0, (0,) * 3), (base / h, (0,) * 3), (1, (34,) * 3)]).convert("L")
        img = ImageChops.add(Image.alpha_composite(img.convert("RGBA"), small(layer)).convert("RGB"),
                             Image.merge("RGB", [mist.point(lambda v: v // 2)] * 2 + [mist]))
    return img


def ridge(rng, w, base, height):
    """A mountain line by midpoint displacement, so peaks have smaller peaks on them."""
    ys, rough = [base - rng.random() * height, base - rng.random() * height], height * 2.5
    while len(ys) < 129:
        ys = [v for a, b in zip(ys, ys[1:]) for v in (a, (a + b) / 2 + rng.uniform(-rough, rough) / 2)] + ys[-1:]
        rough *= 0.6
    return [(w * i / (len(ys) - 1), y) for i, y in enumerate(ys)]


def edit_frame():
    """Blue frame three pixels wide with an exactly white interior."""
    img = Image.new("RGB", (156, 30), (255, 255, 255))
    d = ImageDraw.Draw(img)
    for i, c in enumerate([(20, 50, 120), (60, 110, 200), (30, 70, 150)]):
        d.rectangle([i, i, 155 - i, 29 - i], outline=c)
    return img


def pictures():
    bg = background()
    out = {"background": bg, "panel_top": panel_top(), "panel_bottom": panel_bottom(), "edit_frame": edit_frame()}
    for name, x, y, w, h, text, kind in BUTTONS:
        out[name] = button(bg, x, y, w, h, text, kind, False)
        out[name + "_hover"] = button(bg, x, y, w, h, text, kind, True)
    return out


def window(pics, hover):
    """The window as the program shows it, key colour as a checker."""
    checker = Image.new("RGB", (W, H), (90, 90, 90))
    cd = ImageDraw.Draw(checker)
    for yy in range(0, H, 8):
        for xx in range((yy // 8 % 2) * 8, W, 16):
            cd.rectangle([xx, yy, xx + 7, yy + 7], fill=(150, 150, 150))
    bg = pics["background"]
    key = Image.frombytes("L", bg.size, bytes(255 if p == MAGENTA else 0 for p in bg.getdata()))
    img = Image.composite(checker, bg, key)
    for name, x, y, *_ in BUTTONS:
        img.paste(pics[name + ("_hover" if hover else "")], (x, y))
    d = ImageDraw.Draw(img)
    for x, y, w, h in PANELS:
        d.rectangle([x, y, x + w - 1, y + h - 1], fill=(255, 255, 255))
    # fonts at the cell heights the labels ask for (16 and 18 pixels of Arial-sized cell)
    draw_text(d, 5, 5, "Kelvadi2.0正式版 www.kelvadi.com", 14, (255, 255, 255), cjk_px=16)
    text = "当前版本:1.24E+8M"
    draw_text(d, 155 + (165 - text_width(text, 16, 18)) / 2, 130, text, 16, (0x66, 0, 0), cjk_px=18)
    return img


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir")
    ap.add_argument("--preview")
    args = ap.parse_args()
    pics = pictures()
    os.makedirs(args.outdir, exist_ok=True)
    for name, img in pics.items():
        img.save(os.path.join(args.outdir, name + ".bmp"))
    if args.preview:
        sheet = Image.new("RGB", (2 * W + 10, H), (40, 40, 40))
        sheet.paste(window(pics, False), (0, 0))
        sheet.paste(window(pics, True), (W + 10, 0))
        sheet.save(args.preview)


if __name__ == "__main__":
    main()
