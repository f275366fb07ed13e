"""The title pictures of the intro and the menu, and the application icon:
a small isometric city on its ground plate under the game's name."""

from PIL import Image, ImageDraw, ImageFont

from .draw import Iso, box, flat, floor_face, hash01, mix, rgba, shade, sprite
from .palette import ASPHALT, FONT_BOLD, GLASS, INK, LAWN


def tower(img, iso, u0, v0, du, dv, storeys, body, roof_col=(120, 118, 124), lit_seed=0):
    """Skyline tower: glass bands per storey, lit windows picked by hash."""
    def side(k):
        def sh(s, t, e, x, y):
            row = t * storeys
            fr = row % 1.0
            cols = max(2, int(round((du if k == 0 else dv) * 4)))
            q = (s * cols) % 1.0
            if fr < 0.28 or q < 0.18:
                return rgba(shade(body, 0.96 if k == 0 else 0.78))
            lit = hash01(int(row), int(s * cols), lit_seed + k) > 0.72
            c = (252, 222, 140) if lit else GLASS
            return rgba(shade(c, (1.05 - 0.25 * (fr - 0.28)) * (1.0 if k == 0 else 0.82)))
        return sh

    def d(l):
        box(l, iso, u0, v0, 0, du, dv, storeys, body, top=flat(roof_col), left=side(0), right=side(1))
        box(l, iso, u0 + du * 0.3, v0 + dv * 0.3, storeys, du * 0.35, dv * 0.35, 0.6, shade(roof_col, 1.2))
    sprite(img, d)


def text_art(img, text, size, cx, top, stroke=5):
    font = ImageFont.truetype(FONT_BOLD, size)
    W, H = img.size
    fill_m = Image.new('L', (W, H), 0)
    line_m = Image.new('L', (W, H), 0)
    ImageDraw.Draw(fill_m).text((cx, top), text, font=font, fill=255, anchor='mt')
    ImageDraw.Draw(line_m).text((cx, top), text, font=font, fill=255, anchor='mt',
                                stroke_width=stroke, stroke_fill=255)
    bbox = line_m.getbbox()
    shadow = Image.new('RGBA', (W, H), (0, 0, 0, 0))
    shadow.paste((20, 24, 36, 140), (6, 7), line_m.crop((0, 0, W - 6, H - 7)))
    img.alpha_composite(shadow)
    rim = Image.new('RGBA', (W, H), INK + (255,))
    rim.putalpha(line_m)
    img.alpha_composite(rim)
    grad = Image.new('RGBA', (W, H), (0, 0, 0, 0))
    gp = grad.load()
    y0, y1 = bbox[1], bbox[3]
    for y in range(y0, y1):
        t = (y - y0) / max(1, (y1 - y0 - 1))
        c = mix((255, 244, 214), (250, 176, 70), t) if t > 0.52 else mix((255, 252, 240), (255, 232, 170), t / 0.52)
        for x in range(bbox[0], bbox[2]):
            gp[x, y] = c
    grad.putalpha(fill_m)
    img.alpha_composite(grad)
    return bbox


def skyline(img, ox, oy, scale, layout):
    iso = Iso(ox, oy, 24 * scale, 12 * scale, 11 * scale)
    for i, (u, v, du, dv, n, body) in enumerate(layout):
        tower(img, iso, u, v, du, dv, n, body, lit_seed=i * 3)


def ground_plate(img, ox, oy, scale, ul, vl):
    iso = Iso(ox, oy, 24 * scale, 12 * scale, 11 * scale)

    def sh(s, t, e, x, y):
        if e:
            return rgba(shade(LAWN, 0.6))
        road = abs(s * ul - ul / 2) < 0.35 or abs(t * vl - vl / 2) < 0.35
        return rgba(ASPHALT) if road else rgba(shade(LAWN, 0.95 + 0.1 * hash01(x, y, 13)))
    sprite(img, lambda l: (floor_face(l, iso, 0, 0, ul, vl, sh),
                           box(l, iso, 0, 0, -0.6, ul, vl, 0.6, (150, 130, 100), top=flat((0, 0, 0, 0)))), rim=True)


CITY = [
    (0.5, 0.5, 1.2, 1.2, 7, (214, 206, 194)),
    (2.6, 0.5, 1.0, 1.0, 11, (196, 204, 214)),
    (0.5, 2.6, 1.0, 1.0, 9, (226, 214, 196)),
    (2.6, 2.6, 1.2, 1.2, 5, (206, 198, 188)),
]


def make_title_intro():
    img = Image.new('RGBA', (600, 300), (0, 0, 0, 0))
    ground_plate(img, 300, 78, 1.0, 4.4, 4.4)
    skyline(img, 300, 78, 1.0, CITY)
    text_art(img, 'Zentrova', 104, 300, 170, stroke=6)
    return img


# a row of towers along one street, low at the ends and tall in the middle
SKYLINE = [
    (0.3, 0.3, 0.9, 1.0, 4, (210, 202, 190)),
    (1.5, 0.3, 1.0, 1.0, 7, (196, 204, 214)),
    (2.8, 0.3, 1.0, 1.0, 10, (224, 212, 194)),
    (4.1, 0.3, 1.0, 1.0, 8, (204, 198, 190)),
    (5.4, 0.3, 0.9, 1.0, 5, (190, 206, 204)),
]


def make_title_menu():
    img = Image.new('RGBA', (600, 400), (0, 0, 0, 0))
    text_art(img, 'Zentrova', 88, 300, 12, stroke=6)
    ox, oy = 300 - 24 * (6.6 - 1.8) / 2, 176
    ground_plate(img, ox, oy, 1.0, 6.6, 1.8)
    skyline(img, ox, oy, 1.0, SKYLINE)
    return img


# the application icon: a block of the city on its plate, a tall tower at the
# back; few storeys, so that the bands still read at 48 pixels
APP_ICON_CITY = [
    (0.3, 0.3, 1.3, 1.3, 7, (196, 204, 214)),
    (2.0, 0.4, 0.9, 0.9, 4, (224, 212, 194)),
    (0.4, 2.0, 0.9, 0.9, 3, (214, 206, 194)),
    (1.95, 1.95, 0.9, 0.9, 2, (190, 206, 204)),
]
APP_ICON_PLATE = 3.2
APP_ICON_SIZES = (48, 128, 256)


def draw_app_icon(size, scale, ox, oy):
    img = Image.new('RGBA', (size, size), (0, 0, 0, 0))
    ground_plate(img, ox, oy, scale, APP_ICON_PLATE, APP_ICON_PLATE)
    skyline(img, ox, oy, scale, APP_ICON_CITY)
    return img


def make_app_icon(size):
    """Drawn at each size rather than scaled, so every size keeps crisp rims."""
    # measure the picture once at a large scale, then fit it to the square
    probe_scale, px, py = 4.0, 512, 400
    x0, y0, x1, y1 = draw_app_icon(1024, probe_scale, px, py).getbbox()
    k = size * 0.94 / max(x1 - x0, y1 - y0)
    ox = size / 2.0 + (px - (x0 + x1) / 2.0) * k
    oy = size / 2.0 + (py - (y0 + y1) / 2.0) * k
    return draw_app_icon(size, probe_scale * k, round(ox), round(oy))
