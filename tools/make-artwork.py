#!/usr/bin/env python3
"""Draws the installer's pictures and icons into res/art/.

How to run (from the repository root):

    python3 tools/make-artwork.py

What it needs: Python 3 with Pillow and the DejaVu fonts.  On Debian:

    apt-get install -y python3-pil fonts-dejavu-core

The build never runs this script: the files it writes are checked in and the
resource compiler takes them as they are.  Run it again only after changing
the pictures here, and commit the regenerated files together with the script.

The output is deterministic: the only randomness (stars, mountain outlines,
fireflies) comes from generators with fixed seeds, so two runs with the same
Pillow and fonts produce byte-identical files.

Files written (all into res/art/):

  background.bmp        624 x 464, 8 bpp   launcher window background
  strip_*.bmp           1280 x 40, 8 bpp   launcher buttons, four 320 x 40
                                           states side by side: normal,
                                           highlighted, pressed, disabled
  focus_pattern.bmp     8 x 8, 4 bpp       cyan/black checkerboard for the
                                           keyboard focus frame
  folder_*.ico,
  drive_*.ico           16 x 16, 16 colours  folder tree / drive list icons
  jex.ico               32 x 32 and 16 x 16, 16 colours  program icon

The background and the six strips share one 256-colour palette.  The
launcher realises each picture's palette before drawing it; with one common
palette nothing has to be remapped between the pictures, so on a 256-colour
display the colours do not flash when the buttons repaint.  Entries 0-9 and
246-255 of that palette are the twenty colours the system keeps for itself,
in the system's own order, so the palette maps onto the hardware one to one.

BMP and ICO files are written byte by byte below (struct), not by Pillow, so
that the headers are exactly what the resource compiler and the GDI expect:
BITMAPFILEHEADER + 40-byte BITMAPINFOHEADER + colour table + bottom-up rows
padded to four bytes, no compression.
"""

import math
import os
import random
import struct
import sys

try:
    from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont
except ImportError:
    sys.exit("make-artwork.py needs Pillow (Debian: apt-get install python3-pil)")


ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ART_DIR = os.path.join(ROOT, "res", "art")

FONT_DIRS = (
    "/usr/share/fonts/truetype/dejavu",
    "/usr/share/fonts/dejavu",
    "/usr/local/share/fonts",
)


def font(name, size):
    for d in FONT_DIRS:
        path = os.path.join(d, name)
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    sys.exit("make-artwork.py: font %s not found (Debian: apt-get install "
             "fonts-dejavu-core)" % name)


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def pack_row(indices, bpp, stride):
    """One scan line of palette indices packed at bpp bits, padded to stride."""
    out = bytearray()
    if bpp == 8:
        out += bytes(indices)
    else:
        per_byte = 8 // bpp
        for i in range(0, len(indices), per_byte):
            b = 0
            for j in range(per_byte):
                v = indices[i + j] if i + j < len(indices) else 0
                b = (b << bpp) | (v & ((1 << bpp) - 1))
            out.append(b)
    out += bytes(stride - len(out))
    return bytes(out)


def row_stride(width, bpp):
    return ((width * bpp + 31) // 32) * 4


def colour_table(palette, entries):
    """RGBQUADs (blue, green, red, 0), padded with black to `entries`."""
    pal = list(palette) + [(0, 0, 0)] * (entries - len(palette))
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in pal)


def info_header(width, height, bpp, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII",
                       40,            # biSize
                       width,
                       height,        # positive: rows stored bottom-up
                       1,             # biPlanes
                       bpp,
                       0,             # BI_RGB
                       image_size,
                       0, 0,          # no preferred resolution
                       colours_used,
                       0)             # all colours important


def write_bmp(path, rows, bpp, palette):
    """rows: list of lists of palette indices, top row first."""
    height = len(rows)
    width = len(rows[0])
    stride = row_stride(width, bpp)
    bits = b"".join(pack_row(r, bpp, stride) for r in reversed(rows))
    table = colour_table(palette, len(palette))
    offset = 14 + 40 + len(table)
    data = (struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
            + info_header(width, height, bpp, len(bits), len(palette))
            + table + bits)
    with open(path, "wb") as f:
        f.write(data)


def write_ico(path, images):
    """images: list of (rows, mask_rows, bpp, palette); mask True = transparent.

    Each image is stored the way the system keeps icons in resources: a
    BITMAPINFOHEADER whose height counts both the colour (XOR) bitmap and
    the monochrome AND mask, the full colour table, the XOR bits and then
    the AND bits.  Transparent pixels are 1 in the mask and black in the
    colour bitmap, so the screen shows through unchanged.
    """
    blobs = []
    for rows, mask, bpp, palette in images:
        height = len(rows)
        width = len(rows[0])
        xor_rows = [[0 if mask[y][x] else rows[y][x] for x in range(width)]
                    for y in range(height)]
        stride = row_stride(width, bpp)
        xor_bits = b"".join(pack_row(r, bpp, stride) for r in reversed(xor_rows))
        mstride = row_stride(width, 1)
        and_bits = b"".join(pack_row([1 if m else 0 for m in r], 1, mstride)
                            for r in reversed(mask))
        table = colour_table(palette, 1 << bpp)
        blob = (info_header(width, 2 * height, bpp, len(xor_bits) + len(and_bits), 0)
                + table + xor_bits + and_bits)
        blobs.append((width, height, bpp, blob))

    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for width, height, bpp, blob in blobs:
        out += struct.pack("<BBBBHHII",
                           width & 0xFF, height & 0xFF,
                           (1 << bpp) if bpp < 8 else 0,
                           0, 1, bpp, len(blob), offset)
        offset += len(blob)
    for _, _, _, blob in blobs:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def image_rows(img):
    """Palette indices of a "P" image as a list of rows, top first."""
    w, h = img.size
    data = list(img.getdata())
    return [data[y * w:(y + 1) * w] for y in range(h)]


# ---------------------------------------------------------------------------
# Colour helpers
# ---------------------------------------------------------------------------

def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(lerp(x, y, t))) for x, y in zip(c1, c2))


def ramp(stops, t):
    """Colour at t (0..1) along [(pos, colour), ...] sorted by pos."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0) if p1 > p0 else 0)
    return stops[-1][1]


def vertical_gradient(size, stops):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        d.line([(0, y), (w - 1, y)], fill=ramp(stops, y / max(1, h - 1)))
    return img


def solid_layer(size, colour, mask):
    """An RGBA layer of one colour whose alpha is `mask` (mode "L")."""
    layer = Image.new("RGBA", size, colour + (0,))
    layer.putalpha(mask)
    return layer


def scale_mask(mask, factor):
    return mask.point(lambda v: int(min(255, v * factor)))


# The twenty colours Windows reserves in a 256-colour system palette: ten at
# the start, ten at the end.
SYSTEM_LOW = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128),
    (128, 0, 128), (0, 128, 128), (192, 192, 192), (192, 220, 192),
    (166, 202, 240),
]
SYSTEM_HIGH = [
    (255, 251, 240), (160, 160, 164), (128, 128, 128), (255, 0, 0),
    (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]

# system entries that are plain greys, black or white and can serve the art
NEUTRAL_SYSTEM = [(0, 0, 0), (192, 192, 192), (255, 251, 240), (160, 160, 164),
                  (128, 128, 128), (255, 255, 255)]

# The standard sixteen colours, in the order 4-bit bitmaps and icons use.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (128, 128, 128),
    (192, 192, 192), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


# ---------------------------------------------------------------------------
# Launcher background
# ---------------------------------------------------------------------------

BG_W, BG_H = 624, 464
PANEL_X = 304                                     # buttons cover x 304..623
BUTTON_TOPS = (101, 149, 201, 249, 298, 377)      # each button is 320 x 40
BUTTON_W, BUTTON_H = 320, 40

SS = 2  # the scene is drawn at twice the size and scaled down (anti-aliasing)

GOLD_RAMP = [
    (0.00, (255, 250, 210)),
    (0.30, (255, 214, 110)),
    (0.62, (226, 140, 40)),
    (1.00, (120, 58, 18)),
]


def ridge(rng, width, base, rough, octaves):
    """A mountain outline: heights at width+1 points, from layered value noise."""
    heights = [float(base)] * (width + 1)
    amp = rough
    step = width / 3.0
    for _ in range(octaves):
        n = int(width / step) + 2
        knots = [rng.uniform(-amp, amp) for _ in range(n + 1)]
        for x in range(width + 1):
            f = x / step
            i = int(f)
            t = f - i
            t = t * t * (3 - 2 * t)          # smooth between the knots
            heights[x] += lerp(knots[i], knots[i + 1], t)
        amp *= 0.5
        step /= 2.1
        if step < 2:
            break
    return heights


def draw_mountains(scene, rng, base, rough, top_col, bottom_col, peaks=()):
    """One silhouette layer, coloured by a gradient from its crest down."""
    w, h = scene.size
    heights = ridge(rng, w, base, rough, 9)
    for px, py, spread in peaks:          # raise a few chosen summits
        for x in range(w + 1):
            k = max(0.0, 1 - abs(x - px) / spread)
            heights[x] = min(heights[x], lerp(heights[x], py, k * k * (3 - 2 * k)))
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).polygon(
        [(0, h)] + [(x, heights[x]) for x in range(w + 1)] + [(w, h)], fill=255)
    top = int(min(heights))
    grad = vertical_gradient((w, h), [(0, top_col), (top / h, top_col),
                                      (1, bottom_col)])
    scene.paste(grad, (0, 0), mask)
    return heights


def draw_mist(scene, y, thickness, colour, strength):
    w, h = scene.size
    band = Image.new("L", (w, h), 0)
    d = ImageDraw.Draw(band)
    for i in range(thickness):
        a = math.sin(math.pi * i / thickness) * strength
        d.line([(0, y - thickness // 2 + i), (w, y - thickness // 2 + i)],
               fill=int(a))
    scene.paste(Image.new("RGB", (w, h), colour), (0, 0), band)


def draw_castle(d, x, ground, s, dark, window):
    """A small keep with towers in silhouette, a few lit windows."""
    def tower(cx, top, half_w, roof):
        d.rectangle([cx - half_w, top, cx + half_w, ground], fill=dark)
        d.polygon([(cx - half_w - 2 * s, top), (cx + half_w + 2 * s, top),
                   (cx, top - roof)], fill=dark)
    # curtain wall with battlements
    d.rectangle([x - 40 * s, ground - 26 * s, x + 46 * s, ground], fill=dark)
    for i in range(-40, 46, 8):
        d.rectangle([x + i * s, ground - 31 * s, x + (i + 4) * s, ground - 26 * s],
                    fill=dark)
    tower(x - 34 * s, ground - 48 * s, 7 * s, 22 * s)
    tower(x + 4 * s, ground - 74 * s, 10 * s, 34 * s)
    tower(x + 40 * s, ground - 54 * s, 6 * s, 20 * s)
    # thin spire flag pole on the keep
    d.line([(x + 4 * s, ground - 108 * s), (x + 4 * s, ground - 118 * s)],
           fill=dark, width=max(1, int(s)))
    d.polygon([(x + 4 * s, ground - 118 * s), (x + 13 * s, ground - 115 * s),
               (x + 4 * s, ground - 112 * s)], fill=dark)
    lit = [(4, -62), (4, -44), (-34, -38), (40, -42), (-14, -15), (22, -15)]
    for wx, wy in lit:
        d.rectangle([x + (wx - 1) * s, ground + wy * s,
                     x + (wx + 1) * s, ground + (wy + 4) * s], fill=window)


def draw_pines(d, rng, w, h, base, colour):
    """A fringe of pine trees along the bottom edge."""
    x = -10
    while x < w + 20:
        th = rng.uniform(50, 110) * SS / 2
        tw = th * rng.uniform(0.32, 0.42)
        gy = base + rng.uniform(-6, 8) * SS
        tiers = 4
        for t in range(tiers):
            ty = gy - th + t * th / (tiers + 0.6)
            half = tw * (0.35 + 0.65 * (t + 1) / tiers) / 2
            d.polygon([(x, ty), (x - half, ty + th / 2.6), (x + half, ty + th / 2.6)],
                      fill=colour)
        d.rectangle([x - SS, gy - th * 0.2, x + SS, h], fill=colour)
        d.rectangle([x - tw / 2, gy - 2, x + tw / 2, h], fill=colour)
        x += rng.uniform(12, 26) * SS


def glow(size, draw_fn, radius, strength):
    """Blurred mask produced by draw_fn(ImageDraw) for soft halos."""
    m = Image.new("L", size, 0)
    draw_fn(ImageDraw.Draw(m))
    m = m.filter(ImageFilter.GaussianBlur(radius))
    return scale_mask(m, strength)


def make_background():
    rng = random.Random(20240611)
    W, H = BG_W * SS, BG_H * SS

    # Night sky: deep blue at the top, violet then a warm band at the horizon.
    scene = vertical_gradient((W, H), [
        (0.00, (5, 7, 24)),
        (0.30, (16, 20, 58)),
        (0.52, (44, 34, 92)),
        (0.66, (104, 58, 116)),
        (0.74, (170, 92, 108)),
        (1.00, (60, 30, 70)),
    ])

    # Stars, denser and brighter higher up.
    sd = ImageDraw.Draw(scene)
    for _ in range(260):
        x = rng.uniform(0, W)
        y = rng.uniform(0, 1) ** 2 * H * 0.62     # more stars near the top
        b = rng.uniform(0.35, 1.0) * (1.1 - y / (H * 0.62))
        c = mix((40, 44, 90), (255, 250, 235), b)
        r = SS * (1.0 if rng.random() < 0.85 else 1.6)
        sd.ellipse([x - r / 2, y - r / 2, x + r / 2, y + r / 2], fill=c)

    # Moon with a wide halo.
    mx, my, mr = 246 * SS, 52 * SS, 36 * SS
    halo = glow((W, H), lambda d: d.ellipse([mx - mr * 1.6, my - mr * 1.6,
                                              mx + mr * 1.6, my + mr * 1.6], fill=255),
                60 * SS / 2, 0.55)
    scene.paste(Image.new("RGB", (W, H), (190, 170, 230)), (0, 0), halo)
    halo2 = glow((W, H), lambda d: d.ellipse([mx - mr * 1.1, my - mr * 1.1,
                                               mx + mr * 1.1, my + mr * 1.1], fill=255),
                 14 * SS, 0.8)
    scene.paste(Image.new("RGB", (W, H), (235, 225, 255)), (0, 0), halo2)
    moon = Image.new("RGB", (W, H))
    moon.paste(vertical_gradient((W, 2 * mr), [(0, (255, 252, 236)), (1, (222, 210, 214))]),
               (0, my - mr))
    md = ImageDraw.Draw(moon)
    for cx, cy, cr in ((-14, -10, 10), (12, 8, 14), (-6, 20, 7), (20, -18, 6),
                       (-24, 12, 5)):
        md.ellipse([mx + (cx - cr) * SS, my + (cy - cr) * SS,
                    mx + (cx + cr) * SS, my + (cy + cr) * SS], fill=(214, 202, 208))
    mmask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mmask).ellipse([mx - mr, my - mr, mx + mr, my + mr], fill=255)
    scene.paste(moon, (0, 0), mmask)

    # A few thin clouds drifting across the moon.
    cloud = Image.new("L", (W, H), 0)
    cd = ImageDraw.Draw(cloud)
    for cx, cy, cw, ch in ((216, 70, 120, 7), (274, 80, 90, 5), (110, 250, 150, 6),
                           (60, 40, 110, 5), (180, 290, 120, 5)):
        cd.ellipse([(cx - cw / 2) * SS, (cy - ch / 2) * SS,
                    (cx + cw / 2) * SS, (cy + ch / 2) * SS], fill=150)
    cloud = cloud.filter(ImageFilter.GaussianBlur(5 * SS))
    scene.paste(Image.new("RGB", (W, H), (120, 100, 160)), (0, 0), cloud)

    # Mountains, far to near, each darker, with mist between them.
    draw_mountains(scene, rng, 292 * SS, 34 * SS, (92, 64, 128), (128, 78, 120),
                   peaks=((150 * SS, 210 * SS, 120 * SS), (470 * SS, 226 * SS, 140 * SS)))
    draw_mist(scene, 318 * SS, 40 * SS, (190, 120, 150), 90)
    draw_mountains(scene, rng, 338 * SS, 30 * SS, (50, 36, 84), (70, 44, 92),
                   peaks=((420 * SS, 270 * SS, 110 * SS),))
    draw_mist(scene, 360 * SS, 34 * SS, (150, 96, 140), 80)

    # A castle on a crag at the left, below the title.
    cs = 0.7 * SS
    cx = 64 * SS
    ground = 362 * SS
    crag = Image.new("L", (W, H), 0)
    ImageDraw.Draw(crag).polygon([(cx - 80 * SS, H), (cx - 36 * SS, ground + 4 * SS),
                                  (cx - 20 * SS, ground), (cx + 34 * SS, ground),
                                  (cx + 44 * SS, ground + 6 * SS), (cx + 96 * SS, H)],
                                 fill=255)
    scene.paste(Image.new("RGB", (W, H), (36, 26, 62)), (0, 0), crag)
    # warm light spilling from the windows
    lights = glow((W, H), lambda d: d.ellipse([cx - 36 * SS, ground - 60 * SS,
                                                cx + 40 * SS, ground], fill=255),
                  14 * SS, 0.35)
    scene.paste(Image.new("RGB", (W, H), (255, 150, 70)), (0, 0), lights)
    draw_castle(ImageDraw.Draw(scene), cx, ground, cs, (30, 22, 52), (255, 196, 96))

    draw_mountains(scene, rng, 392 * SS, 22 * SS, (30, 22, 56), (26, 18, 44))
    draw_mist(scene, 404 * SS, 30 * SS, (120, 80, 130), 70)

    # Pine forest in the foreground.
    forest = ImageDraw.Draw(scene)
    draw_pines(forest, rng, W, H, 430 * SS, (14, 10, 28))
    draw_pines(forest, rng, W, H, 470 * SS, (7, 5, 15))

    # Fireflies above the trees.
    ff = Image.new("L", (W, H), 0)
    fd = ImageDraw.Draw(ff)
    dots = []
    for _ in range(22):
        x = rng.uniform(10, PANEL_X - 30) * SS
        y = rng.uniform(380, 455) * SS
        dots.append((x, y))
        fd.ellipse([x - 4 * SS, y - 4 * SS, x + 4 * SS, y + 4 * SS], fill=255)
    ff = scale_mask(ff.filter(ImageFilter.GaussianBlur(3 * SS)), 0.8)
    scene.paste(Image.new("RGB", (W, H), (200, 255, 120)), (0, 0), ff)
    for x, y in dots:
        forest.ellipse([x - SS, y - SS, x + SS, y + SS], fill=(250, 255, 200))

    scene = scene.resize((BG_W, BG_H), Image.LANCZOS)

    draw_title(scene)
    draw_panel(scene)
    return scene


def draw_title(scene):
    """The big "Jex" on the left with the publisher's name above it."""
    W, H = scene.size
    base = scene.convert("RGBA")

    big = font("DejaVuSerif-BoldItalic.ttf", 140)
    text = "Jex"
    box = big.getbbox(text)
    tw, th = box[2] - box[0], box[3] - box[1]
    ox = (PANEL_X - 16 - tw) // 2 - box[0]
    oy = 112 - box[1]

    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).text((ox, oy), text, font=big, fill=255)
    outline = Image.new("L", (W, H), 0)
    ImageDraw.Draw(outline).text((ox, oy), text, font=big, fill=255,
                                 stroke_width=4, stroke_fill=255)

    # drop shadow and a warm glow behind the letters
    shadow = outline.filter(ImageFilter.GaussianBlur(6))
    shadow = ImageChops.offset(shadow, 6, 8)
    base = Image.alpha_composite(base, solid_layer((W, H), (0, 0, 0),
                                                   scale_mask(shadow, 0.85)))
    halo = scale_mask(outline.filter(ImageFilter.GaussianBlur(16)), 0.75)
    base = Image.alpha_composite(base, solid_layer((W, H), (255, 150, 60), halo))

    # dark bronze rim
    base = Image.alpha_composite(base, solid_layer((W, H), (46, 18, 8), outline))

    # gold body: gradient top to bottom across the letters' height
    top = oy + box[1]
    grad = Image.new("RGB", (W, H))
    gd = ImageDraw.Draw(grad)
    for y in range(H):
        gd.line([(0, y), (W, y)], fill=ramp(GOLD_RAMP, (y - top) / th))
    body = grad.convert("RGBA")
    body.putalpha(mask)
    base = Image.alpha_composite(base, body)

    # bevel: light along upper-left edges, shade along lower-right edges
    inner = mask.filter(ImageFilter.GaussianBlur(2))
    up = ImageChops.subtract(inner, ImageChops.offset(inner, -2, -2))
    dn = ImageChops.subtract(inner, ImageChops.offset(inner, 2, 2))
    base = Image.alpha_composite(base, solid_layer((W, H), (255, 255, 235),
                                                   ImageChops.multiply(scale_mask(dn, 1.6), mask)))
    base = Image.alpha_composite(base, solid_layer((W, H), (90, 30, 6),
                                                   ImageChops.multiply(scale_mask(up, 1.2), mask)))

    # a glint on the J
    sx, sy = ox + box[0] + int(tw * 0.36), top + 18
    spark = Image.new("L", (W, H), 0)
    sp = ImageDraw.Draw(spark)
    sp.polygon([(sx, sy - 16), (sx + 3, sy), (sx, sy + 16), (sx - 3, sy)], fill=255)
    sp.polygon([(sx - 16, sy), (sx, sy - 3), (sx + 16, sy), (sx, sy + 3)], fill=255)
    spark = ImageChops.lighter(spark, scale_mask(spark.filter(ImageFilter.GaussianBlur(4)), 1.5))
    base = Image.alpha_composite(base, solid_layer((W, H), (255, 255, 240), spark))

    # publisher above, tagline below, both letter-spaced
    small = font("DejaVuSans-Bold.ttf", 13)
    cx = ox + box[0] + tw // 2
    base = spaced_text(base, "KESTREL FORGE", small, cx, top - 30, (230, 210, 255), 4)
    rule_y = top + th + 20
    d = ImageDraw.Draw(base)
    for sign in (-1, 1):
        d.line([(cx + sign * 14, rule_y), (cx + sign * 96, rule_y)],
               fill=(236, 176, 80, 255), width=1)
    d.polygon([(cx, rule_y - 5), (cx + 5, rule_y), (cx, rule_y + 5), (cx - 5, rule_y)],
              fill=(255, 214, 120, 255))
    tag = font("DejaVuSerif-Italic.ttf", 15)
    base = spaced_text(base, "Przygoda czeka w mroku", tag, cx, rule_y + 8,
                       (250, 228, 200), 1)

    scene.paste(base.convert("RGB"))


def spaced_text(base, text, fnt, cx, y, colour, spacing):
    """Letter-spaced text centred on cx with a soft dark shadow."""
    widths = [fnt.getlength(ch) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    W, H = base.size
    m = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(m)
    x = cx - total / 2
    for ch, w in zip(text, widths):
        d.text((x, y), ch, font=fnt, fill=255)
        x += w + spacing
    sh = scale_mask(ImageChops.offset(m, 1, 1).filter(ImageFilter.GaussianBlur(1.5)), 1.6)
    base = Image.alpha_composite(base, solid_layer((W, H), (0, 0, 0), sh))
    return Image.alpha_composite(base, solid_layer((W, H), colour, m))


def draw_panel(scene):
    """Darker column on the right where the buttons sit."""
    W, H = scene.size
    base = scene.convert("RGBA")
    px = PANEL_X - 8

    # soft shadow cast to the left of the panel
    sh = Image.new("L", (W, H), 0)
    ImageDraw.Draw(sh).rectangle([px - 4, 0, W, H], fill=200)
    sh = sh.filter(ImageFilter.GaussianBlur(8))
    base = Image.alpha_composite(base, solid_layer((W, H), (0, 0, 0), sh))

    # the panel itself: translucent deep blue, slightly lighter at the top
    panel = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    grad = vertical_gradient((W - px, H), [(0, (22, 24, 52)), (0.5, (12, 13, 32)),
                                           (1, (8, 8, 22))])
    pg = grad.convert("RGBA")
    pg.putalpha(222)
    panel.paste(pg, (px, 0))
    base = Image.alpha_composite(base, panel)

    over = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(over)
    # gold edge on the panel's left side, fading out towards top and bottom
    for y in range(H):
        t = 1 - abs(y - H / 2) / (H / 2)
        a = int(255 * min(1, t * 1.6))
        d.point((px, y), fill=(200, 150, 70, a))
        d.point((px + 1, y), fill=(70, 46, 24, a))

    # faint engraved lines behind the buttons' column to keep it from being flat
    for y in range(0, H, 4):
        d.line([(px + 2, y), (W, y)], fill=(255, 255, 255, 7))
    base = Image.alpha_composite(base, over)

    cx = PANEL_X + BUTTON_W // 2
    # heading above the first button
    head = font("DejaVuSans-Bold.ttf", 14)
    base = spaced_text(base, "MENU", head, cx, 56, (236, 206, 140), 6)
    d = ImageDraw.Draw(base)
    ornament(d, cx, 84, 120)
    # divider in the gap before the last button
    gap_mid = (BUTTON_TOPS[4] + BUTTON_H + BUTTON_TOPS[5]) // 2
    ornament(d, cx, gap_mid, 120)
    # and one near the bottom
    ornament(d, cx, BUTTON_TOPS[5] + BUTTON_H + 22, 80)

    scene.paste(base.convert("RGB"))


def ornament(d, cx, y, half):
    for sign in (-1, 1):
        for i in range(half):
            t = 1 - i / half
            c = (int(200 * t + 20), int(150 * t + 20), int(70 * t + 40), 255)
            d.point((cx + sign * (10 + i), y), fill=c)
    d.polygon([(cx, y - 5), (cx + 5, y), (cx, y + 5), (cx - 5, y)], fill=(236, 186, 96, 255))
    d.polygon([(cx, y - 2), (cx + 2, y), (cx, y + 2), (cx - 2, y)], fill=(255, 240, 200, 255))


# ---------------------------------------------------------------------------
# Launcher buttons
# ---------------------------------------------------------------------------

STRIPS = (
    ("strip_intro.bmp", "Intro"),
    ("strip_install.bmp", "Instalacja"),
    ("strip_uninstall.bmp", "Odinstalowanie"),
    ("strip_config.bmp", "Konfiguracja"),
    ("strip_game.bmp", "Uruchom grę"),
    ("strip_exit.bmp", "Wyjście"),
)

NORMAL, HOVER, PRESSED, DISABLED = range(4)

BUTTON_STYLE = {
    NORMAL: dict(face=[(0, (58, 66, 118)), (0.48, (34, 38, 82)), (0.52, (26, 29, 66)),
                       (1, (18, 20, 48))],
                 frame=[(0, (226, 178, 92)), (1, (120, 76, 30))],
                 text=(240, 224, 186), shadow=(0, 0, 0), glow=None,
                 gem=((90, 200, 220), (20, 80, 110)), bevel=1),
    HOVER: dict(face=[(0, (92, 104, 178)), (0.48, (54, 62, 128)), (0.52, (42, 48, 108)),
                      (1, (30, 34, 80))],
                frame=[(0, (255, 230, 150)), (1, (190, 120, 40))],
                text=(255, 252, 236), shadow=(10, 10, 40), glow=(170, 215, 255),
                gem=((170, 255, 255), (40, 150, 190)), bevel=1),
    PRESSED: dict(face=[(0, (12, 13, 32)), (0.5, (22, 24, 56)), (1, (36, 40, 82))],
                  frame=[(0, (120, 76, 30)), (1, (200, 150, 70))],
                  text=(214, 196, 150), shadow=(0, 0, 0), glow=None,
                  gem=((60, 150, 170), (12, 50, 70)), bevel=-1),
    DISABLED: dict(face=[(0, (78, 78, 84)), (0.48, (62, 62, 68)), (0.52, (56, 56, 62)),
                         (1, (46, 46, 52))],
                   frame=[(0, (124, 124, 128)), (1, (80, 80, 84))],
                   text=(108, 108, 114), shadow=(88, 88, 94), glow=None,
                   gem=((110, 110, 116), (70, 70, 76)), bevel=1),
}


def draw_button(label, state):
    st = BUTTON_STYLE[state]
    w, h = BUTTON_W, BUTTON_H
    img = vertical_gradient((w, h), st["face"]).convert("RGBA")
    d = ImageDraw.Draw(img)

    # outer dark line, then a two-pixel metal frame, then a dark inner line
    d.rectangle([0, 0, w - 1, h - 1], outline=(6, 6, 14, 255))
    for i in (1, 2):
        for y in range(i, h - i):
            c = ramp(st["frame"], y / (h - 1)) + (255,)
            d.point((i, y), fill=c)
            d.point((w - 1 - i, y), fill=c)
        top_c = ramp(st["frame"], 0.1 if st["bevel"] > 0 else 0.9) + (255,)
        bot_c = ramp(st["frame"], 0.9 if st["bevel"] > 0 else 0.1) + (255,)
        d.line([(i, i), (w - 1 - i, i)], fill=top_c)
        d.line([(i, h - 1 - i), (w - 1 - i, h - 1 - i)], fill=bot_c)
    d.rectangle([3, 3, w - 4, h - 4], outline=(8, 8, 20, 255))

    # bevel inside the face: raised (light top) or sunk (dark top, shadow)
    if st["bevel"] > 0:
        over = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        od = ImageDraw.Draw(over)
        od.line([(4, 4), (w - 5, 4)], fill=(255, 255, 255, 70))
        od.line([(4, 5), (4, h - 5)], fill=(255, 255, 255, 40))
        od.line([(5, h - 5), (w - 5, h - 5)], fill=(0, 0, 0, 90))
        od.line([(w - 5, 5), (w - 5, h - 6)], fill=(0, 0, 0, 60))
        img = Image.alpha_composite(img, over)
    else:
        sh = Image.new("L", (w, h), 0)
        sd = ImageDraw.Draw(sh)
        sd.rectangle([4, 4, w - 5, 7], fill=150)
        sd.rectangle([4, 4, 7, h - 5], fill=120)
        sh = sh.filter(ImageFilter.GaussianBlur(2))
        inner = Image.new("L", (w, h), 0)
        ImageDraw.Draw(inner).rectangle([4, 4, w - 5, h - 5], fill=255)
        img = Image.alpha_composite(img, solid_layer((w, h), (0, 0, 0),
                                                     ImageChops.multiply(sh, inner)))
        over = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        ImageDraw.Draw(over).line([(4, h - 5), (w - 5, h - 5)], fill=(120, 130, 200, 60))
        img = Image.alpha_composite(img, over)

    # hover: a light glow rising from the bottom edge of the face
    if state == HOVER:
        g = Image.new("L", (w, h), 0)
        ImageDraw.Draw(g).ellipse([30, h - 14, w - 30, h + 18], fill=110)
        g = g.filter(ImageFilter.GaussianBlur(7))
        inner = Image.new("L", (w, h), 0)
        ImageDraw.Draw(inner).rectangle([4, 4, w - 5, h - 5], fill=255)
        img = Image.alpha_composite(img, solid_layer((w, h), (120, 200, 255),
                                                     ImageChops.multiply(g, inner)))

    shift = 1 if state == PRESSED else 0

    # gems at both ends
    for gx in (22, w - 23):
        img = draw_gem(img, gx + shift, h // 2 + shift, st["gem"], state == HOVER)

    # the label
    f = font("DejaVuSans-Bold.ttf", 17)
    # every label on the same baseline: capitals centred, descenders below
    cap = f.getbbox("H", anchor="ls")
    baseline = (h - (cap[1] + cap[3])) // 2 + shift
    tx = w // 2 + shift
    m = Image.new("L", (w, h), 0)
    ImageDraw.Draw(m).text((tx, baseline), label, font=f, fill=255, anchor="ms")
    if st["glow"]:
        gm = scale_mask(m.filter(ImageFilter.GaussianBlur(4)), 1.2)
        img = Image.alpha_composite(img, solid_layer((w, h), st["glow"], gm))
    img = Image.alpha_composite(img, solid_layer((w, h), st["shadow"],
                                                 ImageChops.offset(m, 1, 1)))
    if state != DISABLED:
        # a little softer shadow further out for depth
        sm = scale_mask(ImageChops.offset(m, 2, 2).filter(ImageFilter.GaussianBlur(1)), 0.6)
        img = Image.alpha_composite(img, solid_layer((w, h), (0, 0, 0), sm))
    img = Image.alpha_composite(img, solid_layer((w, h), st["text"], m))
    return img.convert("RGB")


def draw_gem(img, cx, cy, colours, lit):
    w, h = img.size
    light, dark = colours
    if lit:
        g = Image.new("L", (w, h), 0)
        ImageDraw.Draw(g).ellipse([cx - 9, cy - 9, cx + 9, cy + 9], fill=255)
        g = scale_mask(g.filter(ImageFilter.GaussianBlur(4)), 0.9)
        img = Image.alpha_composite(img, solid_layer((w, h), light, g))
    d = ImageDraw.Draw(img)
    r = 6
    d.polygon([(cx, cy - r - 1), (cx + r + 1, cy), (cx, cy + r + 1), (cx - r - 1, cy)],
              fill=(8, 8, 16, 255))
    d.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], fill=dark + (255,))
    d.polygon([(cx, cy - r), (cx, cy), (cx - r, cy)], fill=light + (255,))
    d.polygon([(cx, cy - r), (cx + r, cy), (cx, cy)], fill=mix(light, dark, 0.4) + (255,))
    d.polygon([(cx - r, cy), (cx, cy), (cx, cy + r)], fill=mix(light, dark, 0.7) + (255,))
    d.point((cx - 2, cy - 2), fill=(255, 255, 255, 255) if lit else mix(light, (255, 255, 255), 0.5) + (255,))
    return img


def make_strip(label):
    strip = Image.new("RGB", (4 * BUTTON_W, BUTTON_H))
    for state in (NORMAL, HOVER, PRESSED, DISABLED):
        strip.paste(draw_button(label, state), (state * BUTTON_W, 0))
    return strip


# ---------------------------------------------------------------------------
# Shared palette
# ---------------------------------------------------------------------------

def median_cut_colours(img, n):
    q = img.quantize(colors=n, method=Image.Quantize.MEDIANCUT, kmeans=4,
                     dither=Image.Dither.NONE)
    pal = q.getpalette()[:3 * n]
    used = sorted(set(q.getdata()))
    return [tuple(pal[3 * i:3 * i + 3]) for i in used]


def shared_palette(background, strips):
    """256 entries: the system's twenty plus 236 chosen from the pictures."""
    free = 256 - len(SYSTEM_LOW) - len(SYSTEM_HIGH)
    strip_sheet = Image.new("RGB", (strips[0].width, strips[0].height * len(strips)))
    for i, s in enumerate(strips):
        strip_sheet.paste(s, (0, i * s.height))
    # about five eighths of the free entries go to the background, the rest
    # to the buttons; where the two choose the same colour, or a system one,
    # the background is asked for a few more until the table is full (the
    # buttons' colours come first so that none of them is cut off)
    strip_colours = median_cut_colours(strip_sheet, free - 148)
    for extra in range(0, 64):
        picked = []
        for c in strip_colours + median_cut_colours(background, 148 + extra):
            if c not in picked and c not in SYSTEM_LOW and c not in SYSTEM_HIGH:
                picked.append(c)
        if len(picked) >= free:
            break
    picked = picked[:free]
    # keep the table tidy: order the free entries by brightness
    picked.sort(key=lambda c: (c[0] * 299 + c[1] * 587 + c[2] * 114, c))
    while len(picked) < free:
        picked.append((0, 0, 0))
    return SYSTEM_LOW + picked + SYSTEM_HIGH


def to_palette(img, palette, dither):
    """Palette indices for an RGB picture, optionally error-diffused.

    Only the picture's own colours and the neutral system entries take part:
    left to itself the ditherer would now and then pick the pure red, blue or
    magenta the system keeps in its twenty, and sprinkle them over the art.
    """
    usable = [i for i, c in enumerate(palette)
              if SYSTEM_LOW.count(c) + SYSTEM_HIGH.count(c) == 0
              or c in NEUTRAL_SYSTEM]
    pimg = Image.new("P", (1, 1))
    flat = [v for i in usable for v in palette[i]]
    # pad with copies of the first usable colour so nothing else sneaks in
    flat += list(palette[usable[0]]) * (256 - len(usable))
    pimg.putpalette(flat)
    q = img.quantize(palette=pimg,
                     dither=Image.Dither.FLOYDSTEINBERG if dither else Image.Dither.NONE)
    lookup = usable + [usable[0]] * (256 - len(usable))
    return q.point(lookup)


# ---------------------------------------------------------------------------
# Focus pattern
# ---------------------------------------------------------------------------

def make_focus_pattern():
    # cyan (14) and black (0), alternating; the top left pixel is cyan
    return [[14 if (x + y) % 2 == 0 else 0 for x in range(8)] for y in range(8)]


# ---------------------------------------------------------------------------
# Small icons, drawn pixel by pixel in the sixteen standard colours
# ---------------------------------------------------------------------------

# one character per pixel; '.' is transparent
ICON_KEYS = {
    "K": 0,   # black
    "r": 1,   # dark red
    "g": 2,   # dark green
    "o": 3,   # olive / dark yellow
    "n": 4,   # navy
    "p": 5,   # purple
    "t": 6,   # teal
    "d": 7,   # dark grey
    "s": 8,   # light grey
    "R": 9,   # red
    "G": 10,  # green
    "Y": 11,  # yellow
    "B": 12,  # blue
    "M": 13,  # magenta
    "C": 14,  # cyan
    "W": 15,  # white
}

ICONS = {
    "folder_closed.ico": [
        "................",
        "................",
        "..KKKKK.........",
        ".KWYYYYK........",
        "KWYYYYYYKKKKKKK.",
        "KWWWWWWWWWWWWWYK",
        "KWYYYYYYYYYYYYoK",
        "KWYYYYYYYYYYYYoK",
        "KWYYYYYYYYYYYYoK",
        "KWYYYYYYYYYYYYoK",
        "KWYYYYYYYYYYYYoK",
        "KWYYYYYYYYYYYYoK",
        "KYoooooooooooooK",
        "KKKKKKKKKKKKKKKK",
        "................",
        "................",
    ],
    "folder_open.ico": [
        "................",
        "................",
        ".KKKKK..........",
        "KWYYYYK.........",
        "KYoooooKKKKKK...",
        "KYoooooooooooK..",
        "KYoooKKKKKKKKKKK",
        "KYooKWYYYYYYYYYK",
        "KYoKWYYYYYYYYYK.",
        "KYoKYYYYYYYYYYK.",
        "KYKWYYYYYYYYYK..",
        "KYKYYYYYYYYYYK..",
        "KKWYYYYYYYYYK...",
        "KKYoooooooooK...",
        "KKKKKKKKKKKKK...",
        "................",
    ],
    "drive_floppy.ico": [
        "................",
        "...KKKKKKKKKK...",
        "...KnnsssssnK...",
        "...KnnsKKsnnK...",
        "...KnnssssnnK...",
        "...KnnnnnnnnK...",
        "...KnWWWWWWnK...",
        "..KKKKKKKKKKKK..",
        ".KWWWWWWWWWWWWK.",
        "KWssssssssssssdK",
        "KsKKKKKKKKKKKsdK",
        "KssddddddddddsdK",
        "KssssssssssGGsdK",
        "KddddddddddddddK",
        ".KKKKKKKKKKKKKK.",
        "................",
    ],
    "drive_fixed.ico": [
        "................",
        "................",
        "................",
        "................",
        "....KKKKKKKKKKKK",
        "...KWWWWWWWWWWsK",
        "..KWssssssssssdK",
        ".KWssssssssssdsK",
        "KKKKKKKKKKKKKKdK",
        "KWWWWWWWWWWWWKdK",
        "KssssssssssssKdK",
        "KsddddddssGGsKK.",
        "KssssssssssssKK.",
        "KKKKKKKKKKKKKK..",
        "................",
        "................",
    ],
    "drive_remote.ico": [
        "................",
        "................",
        "....KKKKKKKKKKKK",
        "...KWWWWWWWWWWsK",
        "..KWssssssssssdK",
        ".KWssssssssssdsK",
        "KKKKKKKKKKKKKKdK",
        "KWWWWWWWWWWWWKdK",
        "KssssssssssssKdK",
        "KsddddddssGGsKK.",
        "KKKKKKKKKKKKKK..",
        "......KddK......",
        "......KddK......",
        "KKKKKKKddKKKKKKK",
        "ddddddddddddddd.",
        "KKKKKKKKKKKKKKK.",
    ],
    "drive_cdrom.ico": [
        "................",
        "................",
        "....KKKKKKKKKKKK",
        "...KWWWWWWWWWWsK",
        "..KWssssssssssdK",
        ".KWssssssssssdsK",
        "KKKKKKKKKKKKKKdK",
        "KWWWWWWWWWWWWKdK",
        "KsddddddddddsKdK",
        "KssssssssssGGKK.",
        "KssssssssssssKK.",
        "KKKKKKKKKKKKKK..",
        "................",
        "................",
        "................",
        "................",
    ],
    "drive_ram.ico": [
        "................",
        "................",
        "..s.s.s.s.s.s...",
        "..s.s.s.s.s.s...",
        ".KKKKKKKKKKKKKK.",
        ".KddddddddddddK.",
        ".KdKKKKKKKKKKdK.",
        ".KdKKKKKKKKKKdK.",
        ".KdKKKKKKKKKKdK.",
        ".KdKsKKKKKKKKdK.",
        ".KddddddddddddK.",
        ".KKKKKKKKKKKKKK.",
        "..s.s.s.s.s.s...",
        "..s.s.s.s.s.s...",
        "................",
        "................",
    ],
    "drive_removable.ico": [
        "................",
        "................",
        "................",
        "................",
        "....KKKKKKKKKKKK",
        "...KWWWWWWWWWWsK",
        "..KWssssssssssdK",
        ".KWssssssssssdsK",
        "KKKKKKKKKKKKKKdK",
        "KWWWWWWWWWWWWKdK",
        "KsKKKKKKKKKKsKdK",
        "KsssssssssRRsKK.",
        "KssssssssssssKK.",
        "KKKKKKKKKKKKKK..",
        "................",
        "................",
    ],
    "drive_compressed.ico": [
        "................",
        ".....KKKKKK.....",
        "...KKBBBBMMKK...",
        "..KBBBBBBMMMMK..",
        ".KBBBBBBBMMMMMK.",
        ".KBBBBBBBMMMMMK.",
        "KBBBBBBBBMMMMMMK",
        "KBBBBBBKKMMMMMMK",
        "KBBBBBBKKBBBBBBK",
        "KMMMMMMMBBBBBBBK",
        ".KMMMMMMBBBBBBK.",
        ".KMMMMMMBBBBBBK.",
        "..KMMMMMBBBBBK..",
        "...KKMMMBBBKK...",
        ".....KKKKKK.....",
        "................",
    ],
}


# A compact disc lying in front of the CD-ROM drive, with a coloured sheen.
CD_DISC = (0, 7, [
    "..KKKKK..",
    ".KWWCCsK.",
    "KWWCCWWsK",
    "KWCWWWWsK",
    "KWWWKWWMK",
    "KsWWWWWMK",
    "KsWWWWMdK",
    ".KsMMWdK.",
    "..KKKKK..",
])

ICON_OVERLAYS = {"drive_cdrom.ico": CD_DISC}


def overlay(art, sprite):
    """Draws a smaller picture (its '.' see-through) over an icon's rows."""
    left, top, rows = sprite
    out = [list(r) for r in art]
    for j, line in enumerate(rows):
        for i, ch in enumerate(line):
            if ch != ".":
                out[top + j][left + i] = ch
    return ["".join(r) for r in out]


def parse_icon(art):
    assert len(art) == 16 and all(len(r) == 16 for r in art), art
    rows = [[0 if ch == "." else ICON_KEYS[ch] for ch in r] for r in art]
    mask = [[ch == "." for ch in r] for r in art]
    return rows, mask


# ---------------------------------------------------------------------------
# Program icon
# ---------------------------------------------------------------------------

JEX_16 = [
    ".....KKKKKK.....",
    "...KKYYYYYYKK...",
    "..KYYnnnnnnooK..",
    ".KYYnWKKKKKKooK.",
    ".KYnnKWYYYoKnoK.",
    "KYnnnKKKYoKKnnoK",
    "KYnnnnnKYoKnnnoK",
    "KYnnnnnKYoKWnnoK",
    "KYnKKKnKYoKnnnoK",
    "KYnKYKKKYoKnnnoK",
    "KYnKYYKKYoKnnnoK",
    ".KYKKoYYoKKnnoK.",
    ".KYYKKKKKKnsooK.",
    "..KYonnnnnnooK..",
    "...KKooooooKK...",
    ".....KKKKKK.....",
]


def make_jex_32():
    """32 x 32: a round gold-rimmed badge, a night sky inside, a gold J."""
    img = Image.new("P", (32, 32), 0)
    img.putpalette([v for c in VGA16 for v in c])
    mask = Image.new("1", (32, 32), 1)
    d = ImageDraw.Draw(img)
    md = ImageDraw.Draw(mask)
    md.ellipse([0, 0, 31, 31], fill=0)
    d.ellipse([0, 0, 31, 31], fill=0)              # black rim
    d.ellipse([1, 1, 30, 30], fill=3)              # olive (shaded gold)
    d.ellipse([1, 1, 29, 29], fill=11)             # yellow
    d.ellipse([3, 3, 28, 28], fill=3)
    d.ellipse([4, 4, 27, 27], fill=4)              # navy sky
    d.pieslice([4, 4, 27, 27], 180, 270, fill=12)  # lighter upper left
    d.ellipse([6, 6, 25, 25], fill=4)
    for x, y in ((9, 8), (22, 7), (24, 15), (8, 20), (14, 5)):
        d.point((x, y), fill=15)
    d.point((11, 12), fill=7)
    d.point((20, 22), fill=8)
    # the J: stem, hook, serif, with an olive right edge and a white glint
    J = [
        "....KKKKKKKK",
        "....KYYYYYYK",
        "....KKKWYYoK",
        "......KWYYoK",
        "......KYYYoK",
        "......KYYYoK",
        "......KYYYoK",
        "......KYYYoK",
        "......KYYYoK",
        "......KYYYoK",
        "......KYYYoK",
        ".KKK..KYYYoK",
        "KWYoKKYYYoK.",
        "KYYYYYYYooK.",
        ".KoYYYYooK..",
        "..KKoooKK...",
        "....KKKK....",
    ]
    top = 7
    left = 8
    for j, line in enumerate(J):
        for i, ch in enumerate(line):
            if ch != ".":
                d.point((left + i, top + j), fill=ICON_KEYS[ch])
    rows = image_rows(img)
    mrows = [[bool(v) for v in r] for r in image_rows(mask.convert("L"))]
    return rows, mrows


# ---------------------------------------------------------------------------

def main():
    os.makedirs(ART_DIR, exist_ok=True)
    out = lambda name: os.path.join(ART_DIR, name)

    background = make_background()
    strips = [(name, make_strip(label)) for name, label in STRIPS]
    palette = shared_palette(background, [s for _, s in strips])

    write_bmp(out("background.bmp"), image_rows(to_palette(background, palette, True)),
              8, palette)
    for name, strip in strips:
        write_bmp(out(name), image_rows(to_palette(strip, palette, False)), 8, palette)

    write_bmp(out("focus_pattern.bmp"), make_focus_pattern(), 4, VGA16)

    for name, art in ICONS.items():
        if name in ICON_OVERLAYS:
            art = overlay(art, ICON_OVERLAYS[name])
        rows, mask = parse_icon(art)
        write_ico(out(name), [(rows, mask, 4, VGA16)])

    r32, m32 = make_jex_32()
    r16, m16 = parse_icon(JEX_16)
    write_ico(out("jex.ico"), [(r32, m32, 4, VGA16), (r16, m16, 4, VGA16)])

    print("make-artwork.py: pictures written to %s" % os.path.relpath(ART_DIR))


if __name__ == "__main__":
    main()
