#!/usr/bin/python3
"""Draws every picture and sound Zentrova loads (the music: gen_music.py).

Run from anywhere:  /usr/bin/python3 tools/gen_assets.py [--out DIR] [--check]

All output is deterministic (noise comes from integer hashes and a seeded
xorshift generator, PNGs carry no metadata) so regenerating the assets never
shows up as a binary diff unless the drawing code changed.
"""

import math
import os
import struct
import sys
import wave

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FONT_BOLD = '/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf'

# Screen size of one grid cell: a diamond in a 128 x 64 box, a storey is 64 px.
CW, CH, SH = 64, 32, 64

# ---------------------------------------------------------------------------
# palette: warm concrete, glass blue, lawn green, asphalt; light from top-left
# ---------------------------------------------------------------------------
INK = (38, 42, 54)
ASPHALT = (78, 82, 92)
KERB = (170, 168, 160)
LANE = (236, 226, 190)
LAWN = (122, 180, 94)
CONCRETE = (204, 200, 192)
ROOF = (112, 110, 116)
WALL = (236, 228, 214)
SKY = (150, 204, 238)
GLASS = (112, 164, 206)
STEEL = (150, 160, 174)
ACCENT = (242, 170, 64)
WOOD = (170, 118, 74)
FACE_TOP = (100, 114, 138)
FACE_BOT = (66, 76, 96)

# Which look the shaders draw: 'day', or 'night' (see night_sheet).
LOOK = 'day'


def shade(c, f, a=None):
    out = tuple(max(0, min(255, int(round(v * f)))) for v in c[:3])
    if a is not None:
        return out + (a,)
    return out + ((c[3],) if len(c) > 3 else (255,))


def mix(c1, c2, t):
    return tuple(int(round(c1[i] + (c2[i] - c1[i]) * t)) for i in range(3)) + (255,)


def rgba(c, a=255):
    return tuple(c[:3]) + (a,)


def hash01(x, y, seed=0):
    """Stable per-pixel noise in [0, 1)."""
    n = (x * 374761393 + y * 668265263 + seed * 1442695041) & 0xffffffff
    n = ((n ^ (n >> 13)) * 1274126177) & 0xffffffff
    return ((n ^ (n >> 16)) & 0xffff) / 65536.0


def blend(px, x, y, c):
    """Source-over one pixel; keeps translucent tiles exact when alpha is uniform."""
    a = c[3]
    if a == 0:
        return
    d = px[x, y]
    if a == 255 or d[3] == 0:
        px[x, y] = tuple(c)
        return
    sa, da = a / 255.0, d[3] / 255.0
    oa = sa + da * (1 - sa)
    out = [int(round((c[i] * sa + d[i] * da * (1 - sa)) / oa)) for i in range(3)]
    px[x, y] = (out[0], out[1], out[2], int(round(oa * 255)))


class Iso:
    """World (u, v, h) -> picture pixels.  u runs down-right, v down-left, h up
    in storeys; (ox, oy) is where world (0, 0, 0) lands."""

    def __init__(self, ox, oy, cw=CW, ch=CH, sh=SH):
        self.ox, self.oy, self.cw, self.ch, self.sh = ox, oy, cw, ch, sh

    def p(self, u, v, h=0.0):
        return (self.ox + self.cw * (u - v), self.oy + self.ch * (u + v) - self.sh * h)


def face(img, a, b, c, shader):
    """Fill the parallelogram a, b, c, b+c-a.  A pixel belongs to it when its
    centre does; with integer corners and edges of slope 0, inf or +-1/2 no
    centre ever lies on an edge, so faces sharing an edge never overlap or
    leave a gap.  shader(s, t, edge, x, y) gets s along a->b, t along a->c."""
    px = img.load()
    W, H = img.size
    ax, ay = a
    ex, ey = b[0] - ax, b[1] - ay
    fx, fy = c[0] - ax, c[1] - ay
    det = ex * fy - ey * fx
    if abs(det) < 1e-9:
        return
    xs = [ax, ax + ex, ax + fx, ax + ex + fx]
    ys = [ay, ay + ey, ay + fy, ay + ey + fy]
    x0, x1 = max(0, int(math.floor(min(xs)))), min(W - 1, int(math.ceil(max(xs))))
    y0, y1 = max(0, int(math.floor(min(ys)))), min(H - 1, int(math.ceil(max(ys))))

    def st(x, y):
        dx, dy = x + 0.5 - ax, y + 0.5 - ay
        return (dx * fy - dy * fx) / det, (ex * dy - ey * dx) / det

    def inside(x, y):
        s, t = st(x, y)
        return 0.0 <= s < 1.0 and 0.0 <= t < 1.0

    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            s, t = st(x, y)
            if not (0.0 <= s < 1.0 and 0.0 <= t < 1.0):
                continue
            edge = not (inside(x - 1, y) and inside(x + 1, y) and inside(x, y - 1) and inside(x, y + 1))
            col = shader(s, t, edge, x, y)
            if col is not None:
                blend(px, x, y, col)


def flat(col):
    col = rgba(col) if len(col) == 3 else col
    return lambda s, t, e, x, y: col


def floor_face(img, iso, u0, v0, du, dv, shader, h=0.0):
    P = iso.p
    face(img, P(u0, v0, h), P(u0 + du, v0, h), P(u0, v0 + dv, h), shader)


def box(img, iso, u0, v0, h0, du, dv, dh, col, top=None, left=None, right=None):
    """Solid box seen from the front: top, the +v face (screen left, lit) and
    the +u face (screen right, in shade)."""
    P = iso.p
    u1, v1, h1 = u0 + du, v0 + dv, h0 + dh
    top = top or flat(shade(col, 1.06))
    left = left or flat(shade(col, 0.88))
    right = right or flat(shade(col, 0.72))
    face(img, P(u0, v0, h1), P(u1, v0, h1), P(u0, v1, h1), top)
    face(img, P(u0, v1, h1), P(u1, v1, h1), P(u0, v1, h0), left)
    face(img, P(u1, v1, h1), P(u1, v0, h1), P(u1, v1, h0), right)


def outline(img, factor=0.5, ink=None):
    """Darken the silhouette rim of everything on a layer (1 px)."""
    px = img.load()
    W, H = img.size
    rim = []
    for y in range(H):
        for x in range(W):
            if px[x, y][3] == 0:
                continue
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                if nx < 0 or ny < 0 or nx >= W or ny >= H or px[nx, ny][3] == 0:
                    rim.append((x, y))
                    break
    for x, y in rim:
        c = px[x, y]
        px[x, y] = ink + (255,) if ink else shade(c, factor, 255)


def sprite(target, draw, rim=True, factor=0.5, ink=None):
    """Draw onto a fresh layer, give it a dark rim, then composite, so each
    object gets a clean 1 px outline without outlining its inner edges."""
    layer = Image.new('RGBA', target.size, (0, 0, 0, 0))
    draw(layer)
    if rim:
        outline(layer, factor, ink)
    target.alpha_composite(layer)


def diamond_mask(w=128, h=64):
    """Pixel-centre rasterised cell diamond; tiles the plane exactly."""
    hw, hh = w / 2.0, h / 2.0
    return [[abs(x + 0.5 - hw) / hw + abs(y + 0.5 - hh) / hh < 1.0 for x in range(w)] for y in range(h)]


def rounded(x, y, w, h, r):
    """Pixels of a rounded rectangle (used for button faces and plates)."""
    out = []
    for j in range(h):
        for i in range(w):
            cx = min(max(i + 0.5, r), w - r)
            cy = min(max(j + 0.5, r), h - r)
            if (i + 0.5 - cx) ** 2 + (j + 0.5 - cy) ** 2 <= r * r:
                out.append((x + i, y + j))
    return set(out)


def fill_set(img, pixels, colfn):
    px = img.load()
    for (x, y) in pixels:
        c = colfn(x, y)
        if c:
            blend(px, x, y, c)


def rim_of(pixels):
    return {(x, y) for (x, y) in pixels
            if any(n not in pixels for n in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))}


# ---------------------------------------------------------------------------
# shared surface shaders
# ---------------------------------------------------------------------------

def window_wall(base, windows, frame=(246, 244, 238), cap=True, skirting=True, right=False):
    """Interior wall (s from left, t from top) with window rectangles given as
    (s0, s1, t0, t1) in wall units."""
    def sh(s, t, e, x, y):
        if cap and t < 1.5 / 64:
            return rgba(shade(base, 0.55))
        if skirting and t > 1 - 4.0 / 64:
            return rgba(shade(base, 0.78))
        for (s0, s1, t0, t1) in windows:
            if s0 <= s < s1 and t0 <= t < t1:
                fs, ft = 1.2 / 64, 1.5 / 64
                if s < s0 + fs or s >= s1 - fs or t < t0 + ft or t >= t1 - ft:
                    return rgba(frame)
                if abs(s - (s0 + s1) / 2) < 0.6 / 64:
                    return rgba(frame)
                # sky gradient plus a diagonal glint
                g = (t - t0) / (t1 - t0)
                if LOOK == 'night':
                    # the night outside, with the room's lamps caught in the glass
                    c = mix((40, 50, 96), (16, 20, 48), g)
                    if 0.10 < ((s - s0) / (s1 - s0) + g * 0.5) % 1.0 < 0.18:
                        c = mix(c, (255, 214, 150), 0.22)
                    return c
                c = mix(mix((186, 224, 248), SKY, g), (120, 178, 222), 0.0)
                if 0.10 < ((s - s0) / (s1 - s0) + g * 0.5) % 1.0 < 0.18:
                    c = mix(c, (255, 255, 255), 0.45)
                return c
            if s0 - 1.2 / 64 <= s < s1 + 1.2 / 64 and t1 <= t < t1 + 2.5 / 64:
                return rgba(shade(base, 0.84))  # sill shadow
        c = base
        # faint vertical panel joints at the cell ends so neighbours read as one wall
        n = hash01(x, y, 7)
        return rgba(shade(c, 0.985 + 0.03 * n))
    return sh


def facade(base_glass, mullion, slab, left_face):
    """Outer curtain wall of one storey; periodic in s so neighbouring cells
    and the two halves run into each other as one facade."""
    k = 1.0 if left_face else 0.86

    def sh(s, t, e, x, y):
        if t < 2.0 / 64:
            return rgba(shade(slab, 0.62 * k))
        if t < 9.0 / 64:
            return rgba(shade(slab, 1.0 * k))
        if t < 10.0 / 64:
            return rgba(shade(slab, 0.7 * k))
        if t >= 54.0 / 64:
            if t < 55.0 / 64:
                return rgba(shade(slab, 0.7 * k))
            return rgba(shade(slab, 0.92 * k))
        q = (s * 4.0) % 1.0
        if q < 0.045 or q > 0.955:
            return rgba(shade(mullion, k))
        g = (t - 10.0 / 64) / (44.0 / 64)
        if LOOK == 'night':
            # most panes glow with the rooms behind them; a few stay dark
            pane = int(s * 4.0) + 4 * int(x // 64) + 7 * int(y // 96)
            if hash01(pane, int(t * 2.0), 11) < 0.2:
                return mix((30, 38, 70), (18, 22, 46), g)
            return mix(shade((255, 222, 150), k), shade((236, 164, 84), k), g)
        c = mix(shade(base_glass, 1.12 * k), shade(base_glass, 0.82 * k), g)
        if int(s * 4.0) % 2 == 0 and abs(((s * 4.0 + g * 0.6) % 1.0) - 0.3) < 0.05:
            c = mix(c, (255, 255, 255), 0.35)
        if abs(t - 32.0 / 64) < 0.6 / 64:
            return rgba(shade(mullion, 0.95 * k))
        return c
    return sh


# ---------------------------------------------------------------------------
# tiles
# ---------------------------------------------------------------------------

def tile_diamond(img, ox, oy, shader):
    floor_face(img, Iso(ox + 64, oy), 0, 0, 1, 1, shader)


def street(s, t, e, x, y):
    # s = world x within the cell: the street runs along y, kerbs at both x edges
    n = hash01(x, y, 1)
    c = shade(ASPHALT, 0.94 + 0.12 * n)
    if s < 4.0 / 64 or s >= 1 - 4.0 / 64:
        return rgba(shade(KERB, 0.96 + 0.06 * n))
    if s < 5.5 / 64 or s >= 1 - 5.5 / 64:
        return rgba(shade(ASPHALT, 0.7))
    if abs(s - 0.5) < 1.6 / 64 and 0.12 <= t < 0.62:
        return rgba(LANE)
    return c


def lawn(s, t, e, x, y):
    n = hash01(x, y, 2)
    stripe = 1.0 if int(t * 4) % 2 == 0 else 0.94
    c = shade(LAWN, stripe * (0.95 + 0.08 * n))
    if n > 0.93:
        c = shade(LAWN, 1.18)
    elif n < 0.05:
        c = shade(LAWN, 0.8)
    return c


def slab(s, t, e, x, y):
    n = hash01(x, y, 3)
    # only the two back edges get the joint line so neighbours share one line
    if e and min(s, t) < 0.05:
        return rgba(shade(CONCRETE, 0.86))
    return rgba(shade(CONCRETE, 0.98 + 0.04 * n))


def roof(s, t, e, x, y):
    n = hash01(x, y, 4)
    c = shade(ROOF, 0.92 + 0.12 * n)
    if n > 0.9:
        c = shade(ROOF, 1.22)
    if e and min(s, t) < 0.05:
        c = shade(ROOF, 0.78)
    elif (s * 2) % 1.0 < 0.8 / 64 * 2:
        c = shade(ROOF, 0.86)  # membrane seams every half cell
    return c


def make_tiles():
    img = Image.new('RGBA', (384, 128), (0, 0, 0, 0))
    tile_diamond(img, 0, 0, street)
    tile_diamond(img, 0, 64, lawn)
    tile_diamond(img, 128, 0, slab)
    tile_diamond(img, 128, 64, roof)
    tile_diamond(img, 256, 0, flat((0, 0, 0, 89)))
    return img


def lobby_floor(s, t, e, x, y):
    # marble checker, two squares per cell, so the pattern continues over
    # neighbouring cells exactly
    cu, cv = int(s * 2), int(t * 2)
    fu, fv = (s * 2) % 1.0, (t * 2) % 1.0
    light = (cu + cv) % 2 == 0
    base = (232, 226, 212) if light else (196, 176, 150)
    n = hash01(x, y, 5)
    # whole periods per cell keep the veins continuous across cell edges
    vein = math.sin(2 * math.pi * (2 * s + t) + 1.2 * math.sin(2 * math.pi * (t - s)))
    c = shade(base, 0.97 + 0.05 * n - (0.05 if vein > 0.93 else 0.0))
    if fu < 0.6 / 32 or fv < 0.6 / 32:
        c = shade((150, 132, 112), 1.0)
    # small inlaid diamond at each grout crossing
    du, dv = min(fu, 1 - fu), min(fv, 1 - fv)
    if du + dv < 0.12 and fu >= 0.6 / 32 and fv >= 0.6 / 32:
        c = rgba((92, 120, 150))
    return c


def make_lobby():
    img = Image.new('RGBA', (128, 64), (0, 0, 0, 0))
    tile_diamond(img, 0, 0, lobby_floor)
    return img


# ---------------------------------------------------------------------------
# cursor
# ---------------------------------------------------------------------------

def diamond_set(ox, oy):
    m = diamond_mask()
    return {(ox + x, oy + y) for y in range(64) for x in range(128) if m[y][x]}


def make_cursor():
    img = Image.new('RGBA', (256, 128), (0, 0, 0, 0))
    for (ox, oy, col) in ((0, 0, (80, 220, 96)), (0, 64, (236, 72, 64))):
        d = diamond_set(ox, oy)
        r1 = rim_of(d)
        r2 = rim_of(d - r1)
        fill_set(img, d - r1 - r2, lambda x, y, c=col: rgba(c, 56))
        fill_set(img, r2, lambda x, y, c=col: rgba(c, 235))
        fill_set(img, r1, lambda x, y, c=col: rgba(shade(c, 0.7), 235))
    d = diamond_set(128, 0)
    fill_set(img, rim_of(d), lambda x, y: (240, 244, 250, 80))
    # path mark: two yellow footprints facing up-right along the grid
    px = img.load()
    for (cx, cy) in ((180, 96), (198, 87)):
        foot = set()
        for j in range(-8, 14):
            for i in range(-8, 9):
                # sole leaning up-right along the walking direction, heel below it
                if ((i + j * 0.3) / 4.0) ** 2 + (j / 6.0) ** 2 <= 1.0:
                    foot.add((cx + i, cy + j))
                if ((i + 2.7) / 2.9) ** 2 + ((j - 9.5) / 2.6) ** 2 <= 1.0:
                    foot.add((cx + i, cy + j))
        rim = rim_of(foot)
        for (x, y) in foot:
            blend(px, x, y, (120, 84, 20, 255) if (x, y) in rim else (252, 214, 72, 255))
    return img


# ---------------------------------------------------------------------------
# walls
# ---------------------------------------------------------------------------

BACK_WALL = (232, 224, 208)


def back_walls(img, iso, u_len, v_len, base=BACK_WALL, windows_left=None, windows_right=None):
    """The two back walls of a room footprint: on its top-left edge (u=0) and
    top-right edge (v=0).  The +v-facing wall catches more light."""
    P = iso.p
    wl = windows_left if windows_left is not None else []
    wr = windows_right if windows_right is not None else []
    face(img, P(0, v_len, 1), P(0, 0, 1), P(0, v_len, 0), window_wall(shade(base, 0.93), wl))
    face(img, P(0, 0, 1), P(u_len, 0, 1), P(0, 0, 0), window_wall(base, wr))


def per_cell_windows(n, s0=0.22, s1=0.78, t0=0.2, t1=0.62):
    return [((i + s0) / n, (i + s1) / n, t0, t1) for i in range(n)]


def make_walls():
    img = Image.new('RGBA', (128, 192), (0, 0, 0, 0))
    back_walls(img, Iso(64, 64), 1, 1, windows_left=per_cell_windows(1), windows_right=per_cell_windows(1))
    iso = Iso(64, 96 + 32)
    P = iso.p
    face(img, P(0, 1, 1), P(1, 1, 1), P(0, 1, 0), facade(GLASS, (214, 218, 224), (206, 200, 190), True))
    face(img, P(1, 1, 1), P(1, 0, 1), P(1, 1, 0), facade(GLASS, (214, 218, 224), (206, 200, 190), False))
    return img


# ---------------------------------------------------------------------------
# furniture and people
# ---------------------------------------------------------------------------

def bed(img, iso, u0, v0, du, dv, cover, wood=WOOD, pillows=1):
    def d(l):
        box(l, iso, u0, v0, 0, du, 0.06, 0.34, wood)
        box(l, iso, u0 + 0.02, v0 + 0.06, 0, du - 0.04, dv - 0.06, 0.12, wood)
        box(l, iso, u0 + 0.03, v0 + 0.06, 0.12, du - 0.06, dv - 0.08, 0.05, (246, 244, 240))
        w = (du - 0.06) / pillows
        for i in range(pillows):
            box(l, iso, u0 + 0.05 + i * w, v0 + 0.08, 0.17, w - 0.04, 0.12, 0.04, (255, 255, 252))
        box(l, iso, u0 + 0.02, v0 + 0.26, 0.12, du - 0.04, dv - 0.28, 0.07, cover)
    sprite(img, d)


def table(img, iso, u0, v0, du, dv, hh, col, legs=True):
    def d(l):
        if legs:
            for (a, b) in ((0, 0), (du - 0.04, 0), (0, dv - 0.04), (du - 0.04, dv - 0.04)):
                box(l, iso, u0 + a, v0 + b, 0, 0.04, 0.04, hh, shade(col, 0.7))
        box(l, iso, u0, v0, hh, du, dv, 0.03, col)
    sprite(img, d)


def plant(img, iso, u, v, scale=1.0, leaf=(84, 158, 80)):
    def d(l):
        box(l, iso, u, v, 0, 0.1 * scale, 0.1 * scale, 0.12 * scale, (196, 112, 76))
        cx, cy = iso.p(u + 0.05 * scale, v + 0.05 * scale, 0.12 * scale)
        px = l.load()
        r = 9 * scale
        for j in range(int(-2.2 * r), 2):
            for i in range(int(-r) - 1, int(r) + 2):
                fy = (j + r * 1.1) / (r * 1.2)
                if (i / r) ** 2 + fy ** 2 <= 1.0:
                    x, y = int(cx + i), int(cy + j)
                    n = hash01(x, y, 9)
                    lit = (i < 0) + (fy < 0)
                    c = shade(leaf, 0.85 + 0.12 * lit + 0.1 * n)
                    px[x, y] = c
    sprite(img, d)


def person(img, iso, u, v, shirt, h0=0.0, skin=(238, 196, 160), hair=(70, 50, 40)):
    def d(l):
        box(l, iso, u, v, h0, 0.06, 0.06, 0.16, (60, 66, 90))
        box(l, iso, u - 0.01, v - 0.01, h0 + 0.16, 0.08, 0.08, 0.2, shirt)
        x, y = iso.p(u + 0.03, v + 0.03, h0 + 0.36)
        px = l.load()
        for j in range(-9, 1):
            for i in range(-4, 5):
                if (i / 4.2) ** 2 + ((j + 4.5) / 4.8) ** 2 <= 1.0:
                    c = hair if j < -6 else skin
                    px[int(x + i), int(y + j)] = rgba(c)
    sprite(img, d)


def monitor(img, iso, u, v, hh):
    def d(l):
        box(l, iso, u + 0.04, v + 0.04, hh, 0.04, 0.04, 0.06, (60, 64, 72))
        box(l, iso, u, v, hh + 0.06, 0.12, 0.03, 0.13, (50, 54, 64),
            left=lambda s, t, e, x, y: rgba((120, 196, 236)) if 0.1 < s < 0.9 and 0.12 < t < 0.85 else rgba((44, 48, 58)))
    sprite(img, d)


def chair(img, iso, u, v, col, faces_back=True):
    def d(l):
        if not faces_back:
            box(l, iso, u - 0.06, v - 0.09, 0.16, 0.15, 0.03, 0.16, col)
        box(l, iso, u, v, 0, 0.03, 0.03, 0.12, (70, 74, 84))
        box(l, iso, u - 0.06, v - 0.06, 0.12, 0.15, 0.15, 0.04, col)
        if faces_back:
            box(l, iso, u - 0.06, v + 0.07, 0.16, 0.15, 0.03, 0.16, col)
    sprite(img, d)


def rug(img, iso, u0, v0, du, dv, c1, c2):
    def sh(s, t, e, x, y):
        if s < 0.08 or s > 0.92 or t < 0.08 or t > 0.92:
            return rgba(c2)
        return rgba(c1) if int(s * 6 + t * 6) % 2 else rgba(shade(c1, 0.93))
    floor_face(img, iso, u0, v0, du, dv, sh)


def carpet(col, border):
    def sh(s, t, e, x, y):
        n = hash01(x, y, 11)
        if e and min(s, t) < 0.05:
            return rgba(shade(border, 0.8))
        return rgba(shade(col, 0.96 + 0.06 * n))
    return sh


def floor_region(img, iso, u_len, v_len, shader):
    floor_face(img, iso, 0, 0, u_len, v_len, shader)


# ---------------------------------------------------------------------------
# rooms
# ---------------------------------------------------------------------------

HOTEL1 = [
    dict(wall=(236, 226, 210), carpet=(196, 170, 140), cover=(92, 140, 200), wood=(164, 112, 70), extra='plant'),
    dict(wall=(222, 232, 220), carpet=(150, 170, 150), cover=(214, 110, 96), wood=(128, 92, 64), extra='tv'),
    dict(wall=(238, 222, 226), carpet=(176, 150, 170), cover=(244, 196, 90), wood=(190, 150, 108), extra='chair'),
]


def make_hotel1():
    sheet = Image.new('RGBA', (128, 384), (0, 0, 0, 0))
    for i, v in enumerate(HOTEL1):
        img = Image.new('RGBA', (128, 128), (0, 0, 0, 0))
        iso = Iso(64, 64)
        floor_region(img, iso, 1, 1, carpet(v['carpet'], v['carpet']))
        back_walls(img, iso, 1, 1, base=v['wall'],
                   windows_left=[(0.3, 0.75, 0.18, 0.58)], windows_right=[])
        # framed picture above the bed
        P = iso.p
        face(img, P(0.38, 0, 0.82), P(0.62, 0, 0.82), P(0.38, 0, 0.6),
             lambda s, t, e, x, y: rgba(INK) if e else rgba(mix((120, 180, 120), (250, 210, 120), t)))
        rug(img, iso, 0.5, 0.45, 0.4, 0.45, shade(v['cover'], 0.8), shade(v['cover'], 0.55))
        bed(img, iso, 0.28, 0.0, 0.42, 0.62, v['cover'], v['wood'])
        table(img, iso, 0.76, 0.02, 0.16, 0.16, 0.16, v['wood'], legs=False)
        # bedside lamp
        sprite(img, lambda l: (box(l, iso, 0.82, 0.07, 0.19, 0.03, 0.03, 0.1, (80, 80, 80)),
                               box(l, iso, 0.79, 0.04, 0.29, 0.09, 0.09, 0.07, (252, 236, 180))))
        if v['extra'] == 'plant':
            plant(img, iso, 0.06, 0.78)
        elif v['extra'] == 'tv':
            table(img, iso, 0.02, 0.42, 0.14, 0.34, 0.14, v['wood'], legs=False)
            sprite(img, lambda l: box(l, iso, 0.05, 0.48, 0.17, 0.03, 0.22, 0.18, (40, 44, 52),
                                      right=lambda s, t, e, x, y: rgba((96, 160, 210)) if 0.1 < s < 0.9 and 0.12 < t < 0.88 else rgba((40, 44, 52))))
        else:
            chair(img, iso, 0.12, 0.66, shade(v['cover'], 0.9))
        sheet.alpha_composite(img, (0, 128 * i))
    return sheet


HOTEL2 = [
    dict(wall=(238, 228, 212), carpet=(120, 104, 140), cover=(178, 72, 90), sofa=(90, 130, 170), wood=(150, 100, 64)),
    dict(wall=(224, 234, 238), carpet=(96, 132, 124), cover=(236, 210, 150), sofa=(200, 120, 70), wood=(110, 80, 58)),
]


def make_hotel2():
    sheet = Image.new('RGBA', (192, 320), (0, 0, 0, 0))
    for i, v in enumerate(HOTEL2):
        img = Image.new('RGBA', (192, 160), (0, 0, 0, 0))
        iso = Iso(64, 64)
        floor_region(img, iso, 2, 1, carpet(v['carpet'], v['carpet']))
        back_walls(img, iso, 2, 1, base=v['wall'],
                   windows_left=[(0.28, 0.72, 0.18, 0.58)],
                   windows_right=[(0.6, 0.9, 0.18, 0.58)])
        P = iso.p
        face(img, P(0.25, 0, 0.82), P(0.6, 0, 0.82), P(0.25, 0, 0.6),
             lambda s, t, e, x, y: rgba(INK) if e else rgba(mix((90, 140, 200), (240, 170, 110), s)))
        rug(img, iso, 1.15, 0.35, 0.6, 0.5, shade(v['sofa'], 1.15), shade(v['sofa'], 0.7))
        bed(img, iso, 0.14, 0.0, 0.62, 0.64, v['cover'], v['wood'], pillows=2)
        table(img, iso, 0.8, 0.02, 0.14, 0.14, 0.16, v['wood'], legs=False)
        table(img, iso, 1.3, 0.5, 0.3, 0.22, 0.12, v['wood'])
        # sofa against the back-right wall
        sprite(img, lambda l: (box(l, iso, 1.1, 0.04, 0, 0.7, 0.22, 0.12, v['sofa']),
                               box(l, iso, 1.1, 0.0, 0, 0.7, 0.06, 0.28, v['sofa']),
                               box(l, iso, 1.1, 0.04, 0.12, 0.06, 0.22, 0.08, shade(v['sofa'], 0.95)),
                               box(l, iso, 1.74, 0.04, 0.12, 0.06, 0.22, 0.08, shade(v['sofa'], 0.95))))
        plant(img, iso, 1.86, 0.06)
        plant(img, iso, 0.04, 0.8, 0.9)
        sheet.alpha_composite(img, (0, 160 * i))
    return sheet


OFFICE = [
    dict(wall=(230, 230, 226), carpet=(132, 144, 160), desk=(220, 214, 200), chair=(64, 110, 170)),
    dict(wall=(236, 228, 214), carpet=(150, 140, 128), desk=(176, 130, 88), chair=(200, 90, 70)),
]


def make_office():
    sheet = Image.new('RGBA', (256, 384), (0, 0, 0, 0))
    for i, v in enumerate(OFFICE):
        img = Image.new('RGBA', (256, 192), (0, 0, 0, 0))
        iso = Iso(128, 64)

        def tiles(s, t, e, x, y, c=v['carpet']):
            n = hash01(x, y, 12)
            k = 1.0 if (int(s * 8) + int(t * 8)) % 2 == 0 else 0.95
            return rgba(shade(c, k * (0.97 + 0.05 * n)))
        floor_region(img, iso, 2, 2, tiles)
        back_walls(img, iso, 2, 2, base=v['wall'],
                   windows_left=per_cell_windows(2, t0=0.16), windows_right=per_cell_windows(2, t0=0.16))
        if i == 0:
            # four workstations in two rows
            for (u, w) in ((0.35, 0.3), (1.15, 0.3), (0.35, 1.15), (1.15, 1.15)):
                table(img, iso, u, w, 0.5, 0.3, 0.2, v['desk'])
                monitor(img, iso, u + 0.18, w + 0.04, 0.23)
                chair(img, iso, u + 0.2, w + 0.42, v['chair'])
            plant(img, iso, 0.06, 0.08, 1.2)
            plant(img, iso, 1.84, 0.06, 1.1)
        else:
            # meeting table with a whiteboard and a corner desk
            P = iso.p
            face(img, P(0.3, 0, 0.85), P(1.0, 0, 0.85), P(0.3, 0, 0.4),
                 lambda s, t, e, x, y: rgba(STEEL) if e else (rgba((60, 140, 90)) if 0.2 < t < 0.26 and s < 0.6 else rgba((250, 250, 250))))
            for (u, w) in ((0.7, 0.68), (1.05, 0.68)):
                chair(img, iso, u + 0.06, w, v['chair'], faces_back=False)
            table(img, iso, 0.6, 0.82, 0.8, 0.5, 0.2, v['desk'])
            for u in (0.7, 1.05):
                chair(img, iso, u + 0.06, 1.42, v['chair'])
            table(img, iso, 1.55, 0.2, 0.35, 0.5, 0.2, v['desk'])
            monitor(img, iso, 1.66, 0.3, 0.23)
            chair(img, iso, 1.7, 0.86, v['chair'])
            plant(img, iso, 0.06, 0.08, 1.2)
            plant(img, iso, 0.08, 1.8, 1.0)
        sheet.alpha_composite(img, (0, 192 * i))
    return sheet


# The lift is a glass shaft standing along the front-right edge (u = 2) of its
# 2 x 2 footprint; the rest of the footprint is its landing.  The cab rides in
# the shaft and is cut out of the shaft picture at (130, 80) as a 124 x 112
# cell, so the cab must fit that window: its front-right face stands just
# inside the footprint edge, its bottom on the storey's floor line.
SHAFT_U0, SHAFT_U1, SHAFT_V0, SHAFT_V1 = 1.46, 2.0, 0.74, 1.48
CAB_U0, CAB_U1, CAB_V0, CAB_V1, CAB_H = 1.52, 1.95, 0.80, 1.42, 0.84
CAR_X, CAR_Y, CAR_W, CAR_H = 130, 80, 124, 112


def cab(img, iso, people):
    u0, u1, v0, v1, hh = CAB_U0, CAB_U1, CAB_V0, CAB_V1, CAB_H
    base = 0.04
    P = iso.p

    def panel(col):
        def sh(s, t, e, x, y):
            if abs(t - 0.5) < 0.03:
                return rgba((236, 204, 120))  # handrail
            q = (s * 3) % 1.0
            return rgba(shade(col, 0.88 if q < 0.05 else 1.0))
        return sh

    def d_back(l):
        face(l, P(u0, v1, hh), P(u0, v0, hh), P(u0, v1, base), panel((156, 112, 80)))
        face(l, P(u0, v0, hh), P(u1, v0, hh), P(u0, v0, base), panel((182, 132, 94)))
        floor_face(l, iso, u0, v0, u1 - u0, v1 - v0,
                   lambda s, t, e, x, y: rgba((112, 114, 122)) if (int(s * 3) + int(t * 6)) % 2 else rgba((128, 130, 138)),
                   h=base)
        # light strip under the roof shining on the back walls
        face(l, P(u0, v0, hh - 0.03), P(u1, v0, hh - 0.03), P(u0, v0, hh - 0.08), flat((255, 246, 214)))
        face(l, P(u0, v1, hh - 0.03), P(u0, v0, hh - 0.03), P(u0, v1, hh - 0.08), flat((246, 236, 204)))
    sprite(img, d_back, rim=False)
    if people:
        for (u, v, shirt, skin, hair) in (
                (1.58, 0.88, (210, 80, 80), (238, 196, 160), (70, 50, 40)),
                (1.80, 0.90, (80, 150, 90), (238, 196, 160), (200, 160, 80)),
                (1.60, 1.16, (236, 180, 60), (150, 104, 76), (40, 30, 30)),
                (1.83, 1.20, (70, 110, 200), (238, 196, 160), (110, 70, 40))):
            person(img, iso, u, v, shirt, h0=base, skin=skin, hair=hair)

    def glass(s, t, e, x, y):
        if s < 0.05 or s >= 0.95 or t < 0.06:
            return rgba((190, 196, 206))
        if abs(t - 0.5) < 0.02:
            return rgba((236, 204, 120), 200)  # handrail seen through the glass
        c = (186, 222, 244, 64)
        if abs((s * 0.8 + t * 0.5) % 1.0 - 0.3) < 0.035:
            c = (255, 255, 255, 120)
        return c

    def d_front(l):
        box(l, iso, u0, v0, 0, u1 - u0, v1 - v0, base, (120, 124, 134))
        face(l, P(u0, v1, hh), P(u1, v1, hh), P(u0, v1, base), glass)
        face(l, P(u1, v1, hh), P(u1, v0, hh), P(u1, v1, base),
             lambda s, t, e, x, y: shade(glass(s, t, e, x, y), 0.86))
        box(l, iso, u0, v0, hh, u1 - u0, v1 - v0, 0.05, (168, 174, 186))
    front = Image.new('RGBA', img.size, (0, 0, 0, 0))
    d_front(front)
    img.alpha_composite(front)
    # one rim around the whole cab silhouette (inside and glass together)
    outline(img, 0.5)


def make_car(people):
    img = Image.new('RGBA', (256, 192), (0, 0, 0, 0))
    cab(img, Iso(128, 64), people)
    return img.crop((CAR_X, CAR_Y, CAR_X + CAR_W, CAR_Y + CAR_H))


def landing(s, t, e, x, y):
    """Polished stone landing over the whole footprint (s, t run 0..1 over two
    cells): large tiles, grout at whole quarter-cells so it meets neighbours."""
    n = hash01(x, y, 21)
    fu, fv = (s * 4) % 1.0, (t * 4) % 1.0
    if fu < 1.2 / 32 or fv < 1.2 / 32:
        return rgba((150, 150, 154))
    light = (int(s * 4) + int(t * 4)) % 2 == 0
    c = (208, 208, 212) if light else (194, 196, 202)
    return rgba(shade(c, 0.98 + 0.04 * n))


def make_shaft():
    img = Image.new('RGBA', (256, 192), (0, 0, 0, 0))
    iso = Iso(128, 64)
    P = iso.p
    u0, u1, v0, v1 = SHAFT_U0, SHAFT_U1, SHAFT_V0, SHAFT_V1

    floor_face(img, iso, 0, 0, 2, 2, landing)

    def guide(l):
        # yellow and black safety band on the landing in front of the doors
        def band(s, t, e, x, y):
            return rgba((238, 192, 64)) if int((t * (v1 - v0) + s * 0.3) * 14) % 2 == 0 else rgba((56, 58, 64))
        floor_face(l, iso, u0 - 0.1, v0, 0.1, v1 - v0, band)
    sprite(img, guide, rim=False)
    # a bench and two plants wait on the landing
    sprite(img, lambda l: (box(l, iso, 0.12, 0.5, 0, 0.22, 0.7, 0.12, (150, 100, 64)),
                           box(l, iso, 0.06, 0.5, 0, 0.06, 0.7, 0.26, (150, 100, 64))))
    plant(img, iso, 0.12, 0.12, 1.3)
    plant(img, iso, 0.14, 1.7, 1.1)

    def inner(l):
        # back of the shaft seen through the glass: landing doors on the left
        # wall, guide rails and cables on the right one
        def doors(s, t, e, x, y):
            if 0.25 <= s < 0.75 and t >= 0.2:
                if abs(s - 0.5) < 0.012:
                    return rgba((40, 44, 52))
                if s < 0.27 or s >= 0.73 or t < 0.23:
                    return rgba((96, 104, 118))
                return rgba((150, 158, 172))
            return rgba((70, 76, 90))
        face(l, P(u0, v1, 1), P(u0, v0, 1), P(u0, v1, 0), doors)

        def rails(s, t, e, x, y):
            if abs(s - 0.3) < 0.03 or abs(s - 0.7) < 0.03:
                return rgba((128, 136, 150))
            if abs(s - 0.48) < 0.012 or abs(s - 0.52) < 0.012:
                return rgba((36, 36, 40))
            return rgba((84, 90, 104))
        face(l, P(u0, v0, 1), P(u1, v0, 1), P(u0, v0, 0), rails)
        floor_face(l, iso, u0, v0, u1 - u0, v1 - v0, flat((58, 62, 72)))
    # the shaft gets its own layer so its rim follows the shaft's outline
    # only; the landing under it must meet the neighbouring floors plainly
    shaft = Image.new('RGBA', img.size, (0, 0, 0, 0))
    inner(shaft)

    def frame(l):
        def side(s, t, e, x, y, k=1.0):
            if s < 0.05 or s >= 0.95 or t < 0.05 or t >= 0.95:
                return shade((182, 190, 204), k)
            if abs(t - 0.5) < 0.015:
                return shade((160, 170, 186), k, 230)
            c = (170, 212, 238)
            if abs((s * 0.8 + t * 0.5) % 1.0 - 0.62) < 0.03:
                return shade((255, 255, 255), k, 90)
            return shade(c, k, 52)
        face(l, P(u0, v1, 1), P(u1, v1, 1), P(u0, v1, 0), side)
        face(l, P(u1, v1, 1), P(u1, v0, 1), P(u1, v1, 0), lambda s, t, e, x, y: side(s, t, e, x, y, 0.86))
        # cap beam round the top of the storey and a sill at the bottom
        box(l, iso, u0, v0, 0.95, u1 - u0, v1 - v0, 0.05, (164, 172, 186), top=flat((0, 0, 0, 0)))
    # floor number lamp over the doors, seen through the glass
    face(shaft, P(u0, v0 + 0.42 * (v1 - v0), 0.9), P(u0, v0 + 0.58 * (v1 - v0), 0.9),
         P(u0, v0 + 0.42 * (v1 - v0), 0.84), flat((250, 200, 80)))
    frame(shaft)
    outline(shaft, 0.55)
    img.alpha_composite(shaft)
    return img


def make_elevator():
    sheet = Image.new('RGBA', (640, 232), (0, 0, 0, 0))
    sheet.alpha_composite(make_shaft(), (0, 0))
    empty, full = make_car(False), make_car(True)
    for x in (386, 512):
        sheet.alpha_composite(empty, (x, 0))
        sheet.alpha_composite(full, (x, 113))
    return sheet


# ---------------------------------------------------------------------------
# buttons and icons
# ---------------------------------------------------------------------------

def button_face(img, ox, oy):
    face_px = rounded(ox, oy, 32, 32, 6)
    rim = rim_of(face_px)
    px = img.load()
    for (x, y) in face_px:
        t = (y - oy) / 31.0
        c = mix(FACE_TOP, FACE_BOT, t)
        if (x, y) in rim:
            c = rgba(INK)
        elif (x, y - 1) in rim and y - oy < 16:
            c = shade(c, 1.3)
        px[x, y] = c


def plain_shape(d, pts, fill, ink=INK):
    d.polygon(pts, fill=fill, outline=ink)


def icon_pause(d, ox, oy):
    d.rectangle((ox + 9, oy + 8, ox + 13, oy + 23), fill=(244, 244, 250), outline=INK)
    d.rectangle((ox + 18, oy + 8, ox + 22, oy + 23), fill=(244, 244, 250), outline=INK)


def icon_play(d, ox, oy):
    plain_shape(d, [(ox + 10, oy + 7), (ox + 24, oy + 15), (ox + 24, oy + 16), (ox + 10, oy + 24)], (128, 220, 112))


def icon_exit(d, ox, oy):
    d.rectangle((ox + 6, oy + 6, ox + 17, oy + 25), fill=(60, 52, 48), outline=INK)
    plain_shape(d, [(ox + 7, oy + 6), (ox + 14, oy + 9), (ox + 14, oy + 27), (ox + 7, oy + 25)], (196, 132, 80))
    d.point((ox + 12, oy + 17), fill=(250, 220, 120))
    plain_shape(d, [(ox + 16, oy + 14), (ox + 21, oy + 14), (ox + 21, oy + 10), (ox + 27, oy + 16),
                    (ox + 21, oy + 22), (ox + 21, oy + 18), (ox + 16, oy + 18)], (250, 200, 80))


def icon_save(d, ox, oy):
    plain_shape(d, [(ox + 6, oy + 6), (ox + 23, oy + 6), (ox + 26, oy + 9), (ox + 26, oy + 26), (ox + 6, oy + 26)], (64, 120, 200))
    d.rectangle((ox + 11, oy + 6, ox + 21, oy + 12), fill=(200, 206, 216), outline=INK)
    d.rectangle((ox + 18, oy + 7, ox + 20, oy + 11), fill=(80, 88, 100))
    d.rectangle((ox + 9, oy + 16, ox + 23, oy + 26), fill=(248, 248, 244), outline=INK)
    d.line((ox + 11, oy + 19, ox + 21, oy + 19), fill=(150, 160, 180))
    d.line((ox + 11, oy + 22, ox + 21, oy + 22), fill=(150, 160, 180))


def icon_load(d, ox, oy):
    plain_shape(d, [(ox + 5, oy + 9), (ox + 12, oy + 9), (ox + 14, oy + 11), (ox + 25, oy + 11), (ox + 25, oy + 25), (ox + 5, oy + 25)], (214, 164, 60))
    plain_shape(d, [(ox + 8, oy + 15), (ox + 28, oy + 15), (ox + 25, oy + 25), (ox + 5, oy + 25)], (250, 206, 96))
    plain_shape(d, [(ox + 16, oy + 3), (ox + 22, oy + 9), (ox + 18, oy + 9), (ox + 18, oy + 14), (ox + 14, oy + 14), (ox + 14, oy + 9), (ox + 10, oy + 9)], (128, 220, 112))


def icon_money(d, ox, oy, font):
    d.ellipse((ox + 4, oy + 8, ox + 19, oy + 23), fill=(250, 204, 72), outline=(120, 84, 20))
    d.ellipse((ox + 6, oy + 10, ox + 17, oy + 21), outline=(214, 160, 40))
    d.text((ox + 11.5, oy + 15.5), '$', font=font, fill=(120, 84, 20), anchor='mm')
    for i, hgt in enumerate((6, 10, 15)):
        x = ox + 19 + i * 3
        d.rectangle((x, oy + 25 - hgt, x + 2, oy + 25), fill=(128, 220, 112), outline=INK)


def icon_bulldoze(d, ox, oy):
    d.rounded_rectangle((ox + 9, oy + 20, ox + 26, oy + 26), radius=3, fill=(54, 56, 62), outline=INK)
    for i in range(4):
        d.point((ox + 12 + i * 4, oy + 23), fill=(140, 140, 150))
    d.rectangle((ox + 11, oy + 13, ox + 25, oy + 20), fill=(246, 190, 50), outline=INK)
    d.rectangle((ox + 17, oy + 6, ox + 24, oy + 13), fill=(246, 190, 50), outline=INK)
    d.rectangle((ox + 19, oy + 8, ox + 22, oy + 11), fill=(170, 214, 240))
    plain_shape(d, [(ox + 4, oy + 13), (ox + 8, oy + 14), (ox + 8, oy + 25), (ox + 3, oy + 26)], (170, 176, 186))
    d.line((ox + 8, oy + 18, ox + 11, oy + 16), fill=INK)


def icon_query(d, ox, oy, font):
    d.line((ox + 18, oy + 18, ox + 25, oy + 25), fill=INK, width=5)
    d.line((ox + 19, oy + 19, ox + 24, oy + 24), fill=(170, 118, 74), width=3)
    d.ellipse((ox + 4, oy + 4, ox + 21, oy + 21), fill=(200, 206, 216), outline=INK)
    d.ellipse((ox + 6, oy + 6, ox + 19, oy + 19), fill=(190, 228, 250))
    d.text((ox + 12.5, oy + 13), '?', font=font, fill=(40, 70, 130), anchor='mm')


def icon_lobby(d, ox, oy):
    d.rectangle((ox + 6, oy + 10, ox + 25, oy + 26), fill=(236, 228, 214), outline=INK)
    for i in range(5):
        c = (230, 90, 80) if i % 2 == 0 else (250, 246, 240)
        d.polygon([(ox + 5 + i * 4, oy + 6), (ox + 9 + i * 4, oy + 6), (ox + 9 + i * 4, oy + 10), (ox + 5 + i * 4, oy + 10)], fill=c)
    d.rectangle((ox + 4, oy + 5, ox + 26, oy + 10), outline=INK)
    d.rectangle((ox + 10, oy + 14, ox + 21, oy + 26), fill=(150, 204, 238), outline=INK)
    d.line((ox + 15, oy + 15, ox + 15, oy + 25), fill=INK)
    d.line((ox + 16, oy + 15, ox + 16, oy + 25), fill=INK)
    d.point((ox + 13, oy + 20), fill=(250, 220, 120))
    d.point((ox + 18, oy + 20), fill=(250, 220, 120))


def icon_floor(d, ox, oy):
    top = [(ox + 16, oy + 7), (ox + 28, oy + 13), (ox + 16, oy + 19), (ox + 4, oy + 13)]
    plain_shape(d, [(ox + 4, oy + 13), (ox + 16, oy + 19), (ox + 16, oy + 24), (ox + 4, oy + 18)], (170, 166, 158))
    plain_shape(d, [(ox + 16, oy + 19), (ox + 28, oy + 13), (ox + 28, oy + 18), (ox + 16, oy + 24)], (140, 136, 130))
    plain_shape(d, top, (214, 210, 202))
    d.line((ox + 10, oy + 10, ox + 22, oy + 16), fill=(190, 186, 178))
    d.line((ox + 22, oy + 10, ox + 10, oy + 16), fill=(190, 186, 178))


def icon_elevator(d, ox, oy):
    d.rectangle((ox + 8, oy + 4, ox + 23, oy + 27), fill=(150, 160, 174), outline=INK)
    d.rectangle((ox + 10, oy + 10, ox + 21, oy + 27), fill=(190, 200, 214), outline=INK)
    d.line((ox + 15, oy + 11, ox + 15, oy + 26), fill=INK)
    d.line((ox + 16, oy + 11, ox + 16, oy + 26), fill=INK)
    d.polygon([(ox + 12, oy + 8), (ox + 14, oy + 5), (ox + 16, oy + 8)], fill=(128, 220, 112))
    d.polygon([(ox + 17, oy + 5), (ox + 21, oy + 5), (ox + 19, oy + 8)], fill=(250, 200, 80))


def digit_badge(d, ox, oy, text):
    """Small round plate in the top-right corner telling how many guests."""
    d.ellipse((ox + 18, oy + 1, ox + 30, oy + 13), fill=(250, 214, 96), outline=INK)
    d.text((ox + 24.5, oy + 7.5), text, font=ImageFont.truetype(FONT_BOLD, 10), fill=INK, anchor='mm')


def icon_hotel1(d, ox, oy):
    # a narrow single bed seen from the foot end, one pillow
    d.rectangle((ox + 8, oy + 14, ox + 22, oy + 20), fill=(164, 112, 70), outline=INK)
    d.rectangle((ox + 10, oy + 17, ox + 20, oy + 21), fill=(255, 255, 255), outline=INK)
    plain_shape(d, [(ox + 9, oy + 20), (ox + 21, oy + 20), (ox + 21, oy + 26), (ox + 9, oy + 26)], (92, 140, 200))
    d.line((ox + 10, oy + 23, ox + 20, oy + 23), fill=(132, 176, 228))
    d.rectangle((ox + 8, oy + 26, ox + 22, oy + 28), fill=(164, 112, 70), outline=INK)
    digit_badge(d, ox, oy, '1')


def icon_hotel2(d, ox, oy):
    # a wide double bed with two pillows
    d.rectangle((ox + 3, oy + 14, ox + 28, oy + 20), fill=(150, 100, 64), outline=INK)
    d.rectangle((ox + 5, oy + 17, ox + 14, oy + 21), fill=(255, 255, 255), outline=INK)
    d.rectangle((ox + 17, oy + 17, ox + 26, oy + 21), fill=(255, 255, 255), outline=INK)
    plain_shape(d, [(ox + 4, oy + 20), (ox + 27, oy + 20), (ox + 27, oy + 26), (ox + 4, oy + 26)], (178, 72, 90))
    d.line((ox + 5, oy + 23, ox + 26, oy + 23), fill=(210, 110, 126))
    d.rectangle((ox + 3, oy + 26, ox + 28, oy + 28), fill=(150, 100, 64), outline=INK)
    digit_badge(d, ox, oy, '2')


def icon_office(d, ox, oy):
    d.rectangle((ox + 9, oy + 6, ox + 22, oy + 15), fill=(50, 54, 64), outline=INK)
    d.rectangle((ox + 10, oy + 7, ox + 21, oy + 14), fill=(120, 196, 236))
    d.rectangle((ox + 14, oy + 16, ox + 17, oy + 18), fill=(80, 84, 94))
    d.rectangle((ox + 4, oy + 18, ox + 27, oy + 20), fill=(220, 214, 200), outline=INK)
    d.line((ox + 6, oy + 21, ox + 6, oy + 27), fill=INK)
    d.line((ox + 25, oy + 21, ox + 25, oy + 27), fill=INK)
    d.rectangle((ox + 11, oy + 22, ox + 20, oy + 24), fill=(64, 110, 170), outline=INK)
    d.line((ox + 15, oy + 25, ox + 15, oy + 27), fill=INK)


def highlight(img, ox, oy):
    face_px = rounded(ox, oy, 32, 32, 6)
    r1 = rim_of(face_px)
    r2 = rim_of(face_px - r1)
    px = img.load()
    for p in face_px:
        if p in r1:
            px[p] = (255, 214, 96, 255)
        elif p in r2:
            px[p] = (255, 240, 170, 220)
        else:
            px[p] = (255, 236, 160, 40)


def make_buttons():
    img = Image.new('RGBA', (32, 352), (0, 0, 0, 0))
    small = ImageFont.truetype(FONT_BOLD, 11)
    qfont = ImageFont.truetype(FONT_BOLD, 12)
    highlight(img, 0, 0)
    icons = [icon_pause, icon_play, icon_exit, icon_save, icon_load,
             lambda d, x, y: icon_money(d, x, y, small), icon_bulldoze,
             lambda d, x, y: icon_query(d, x, y, qfont), icon_lobby, icon_floor]
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    for i, fn in enumerate(icons):
        oy = 32 * (i + 1)
        button_face(img, 0, oy)
        fn(d, 0, oy)
    return img


def make_icon(fn):
    img = Image.new('RGBA', (32, 32), (0, 0, 0, 0))
    button_face(img, 0, 0)
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    d.font = ImageFont.truetype(FONT_BOLD, 10)
    fn(d, 0, 0)
    return img


# ---------------------------------------------------------------------------
# floor indicator
# ---------------------------------------------------------------------------

def floor_picture(img, ox, oy, which):
    """Small front view of a four-storey section: the storey being shown is
    lit in the accent colour."""
    px = img.load()
    dim, lit = (160, 170, 186), ACCENT
    x0, x1 = ox + 17, ox + 41
    rows = [(oy + 5, oy + 10), (oy + 11, oy + 16), (oy + 17, oy + 22), (oy + 23, oy + 28)]
    band = {'top': 0, 'middle': 1, 'ground': 3}[which]
    for i, (y0, y1) in enumerate(rows):
        col = lit if i == band else dim
        for y in range(y0, y1):
            for x in range(x0, x1):
                edge = x in (x0, x1 - 1) or y == y0
                c = shade(col, 0.6) if edge else (rgba((200, 232, 250)) if (x - x0) % 5 in (2, 3) and y0 + 2 <= y < y1 - 1 else rgba(col))
                px[x, y] = c
    # roof parapet
    rc = lit if which == 'top' else (120, 126, 140)
    for y in range(oy + 2, oy + 5):
        for x in range(x0 - 1, x1 + 1):
            px[x, y] = rgba(shade(rc, 0.6)) if y == oy + 2 or x in (x0 - 1, x1) else rgba(rc)
    gc = (108, 190, 90) if which == 'ground' else (98, 120, 90)
    for y in range(oy + 28, oy + 31):
        for x in range(ox + 14, ox + 44):
            px[x, y] = rgba(shade(gc, 0.6)) if y == oy + 30 else rgba(gc)


def make_floors():
    img = Image.new('RGBA', (228, 51), (0, 0, 0, 0))
    font = ImageFont.truetype(FONT_BOLD, 12)
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    px = img.load()
    for k in range(10):
        plate = rounded(12 * k, 0, 12, 14, 3)
        rim = rim_of(plate)
        for p in plate:
            px[p] = (24, 28, 38, 255) if p in rim else (54, 62, 80, 255)
        d.text((12 * k + 6, 7.5), str(k), font=font, fill=(250, 246, 232), anchor='mm')
    for ox, which in ((0, 'top'), (92, 'middle'), (184, 'ground')):
        floor_picture(img, ox, 20, which)
    return img


# ---------------------------------------------------------------------------
# titles
# ---------------------------------------------------------------------------

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


# ---------------------------------------------------------------------------
# sounds
# ---------------------------------------------------------------------------

RATE = 22050
# Every effect is scaled to the same loudness, measured as the RMS after a
# gentle 100 Hz high-pass (the ear hears deep hum as quieter than its RMS);
# the target leaves every peak below -1 dBFS.
LOUDNESS_DB = -19.0
PEAK_LIMIT = 10 ** (-1.0 / 20.0)


def loudness_db(samples):
    a = math.exp(-2 * math.pi * 100.0 / RATE)
    y = prev = acc = 0.0
    for v in samples:
        y = a * (y + v - prev)
        prev = v
        acc += y * y
    return 10 * math.log10(acc / len(samples))


class XorShift:
    def __init__(self, seed):
        self.s = seed & 0xffffffff or 1

    def next(self):
        s = self.s
        s ^= (s << 13) & 0xffffffff
        s ^= s >> 17
        s ^= (s << 5) & 0xffffffff
        self.s = s
        return s / 4294967296.0 * 2.0 - 1.0


def finish(samples, fade_in=0.004, fade_out=0.03):
    n = len(samples)
    fi, fo = int(fade_in * RATE), int(fade_out * RATE)
    out = list(samples)
    for i in range(n):
        g = 1.0
        if i < fi:
            g = i / fi
        if i >= n - fo:
            g = min(g, (n - 1 - i) / fo)
        out[i] *= g
    gain = 10 ** ((LOUDNESS_DB - loudness_db(out)) / 20.0)
    out = [v * gain for v in out]
    assert max(abs(v) for v in out) <= PEAK_LIMIT
    return out


def write_wav(path, samples):
    data = b''.join(struct.pack('<h', int(round(max(-1.0, min(1.0, v)) * 32767))) for v in samples)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data)


def snd_build():
    rng = XorShift(2024)
    n = int(0.42 * RATE)
    out = [0.0] * n
    for start, f0 in ((0.0, 170.0), (0.19, 150.0)):
        s0 = int(start * RATE)
        ph = 0.0
        lp = 0.0
        for i in range(int(0.2 * RATE)):
            t = i / RATE
            f = f0 * (0.7 + 0.3 * math.exp(-t * 40))
            ph += 2 * math.pi * f / RATE
            body = math.sin(ph) * math.exp(-t * 22) + 0.4 * math.sin(ph * 2.7) * math.exp(-t * 45)
            lp += 0.35 * (rng.next() - lp)
            click = lp * math.exp(-t * 160) * 1.6
            if s0 + i < n:
                out[s0 + i] += body + click
    return finish(out, 0.002, 0.04)


def snd_select():
    n = int(0.11 * RATE)
    out = []
    ph = 0.0
    for i in range(n):
        t = i / RATE
        f = 1100.0 + 600.0 * min(1.0, t / 0.03)
        ph += 2 * math.pi * f / RATE
        out.append((math.sin(ph) + 0.2 * math.sin(2 * ph)) * math.exp(-t * 30))
    return finish(out, 0.003, 0.03)


def snd_bulldoze():
    rng = XorShift(0xB011D)
    n = int(0.55 * RATE)
    out = []
    lp1 = lp2 = 0.0
    ph = 0.0
    for i in range(n):
        t = i / RATE
        x = rng.next()
        lp1 += 0.08 * (x - lp1)
        lp2 += 0.3 * (x - lp2)
        ph += 2 * math.pi * (52.0 + 6.0 * math.sin(t * 9)) / RATE
        rumble = 0.6 * math.sin(ph) + 2.5 * lp1
        crunch = lp2 * (0.5 + 0.5 * math.sin(t * 2 * math.pi * 17)) ** 4
        env = min(1.0, t / 0.05) * (1.0 - 0.5 * t / 0.55)
        out.append((rumble + 0.8 * crunch) * env)
    return finish(out, 0.01, 0.08)


def snd_ding():
    n = int(0.6 * RATE)
    out = [0.0] * n
    for start, f in ((0.0, 1046.5), (0.2, 830.6)):
        s0 = int(start * RATE)
        for i in range(n - s0):
            t = i / RATE
            e = math.exp(-t * 7.0)
            v = math.sin(2 * math.pi * f * t) + 0.35 * math.sin(2 * math.pi * f * 2.01 * t) * math.exp(-t * 10) \
                + 0.15 * math.sin(2 * math.pi * f * 3.0 * t) * math.exp(-t * 18)
            out[s0 + i] += v * e
    return finish(out, 0.002, 0.06)


def snd_hum():
    n = int(0.5 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        vib = 1.0 + 0.004 * math.sin(2 * math.pi * 5 * t)
        v = math.sin(2 * math.pi * 98 * vib * t) + 0.45 * math.sin(2 * math.pi * 196 * vib * t) \
            + 0.15 * math.sin(2 * math.pi * 294 * t) + 0.08 * math.sin(2 * math.pi * 1210 * t)
        out.append(v * (0.85 + 0.15 * math.sin(2 * math.pi * 8 * t)))
    return finish(out, 0.08, 0.1)


# ---------------------------------------------------------------------------
# driver and checks
# ---------------------------------------------------------------------------

IMAGES = {
    'assets/title_intro.png': make_title_intro,
    'assets/title_menu.png': make_title_menu,
    'assets/tiles.png': make_tiles,
    'assets/cursor.png': make_cursor,
    'assets/buttons.png': make_buttons,
    'assets/walls.png': make_walls,
    'assets/floors.png': make_floors,
    'assets/lobby.png': make_lobby,
    'assets/hotel1.png': make_hotel1,
    'assets/hotel2.png': make_hotel2,
    'assets/office.png': make_office,
    'assets/elevator.png': make_elevator,
    'assets/icons/elevator.png': lambda: make_icon(icon_elevator),
    'assets/icons/hotel1.png': lambda: make_icon(icon_hotel1),
    'assets/icons/hotel2.png': lambda: make_icon(icon_hotel2),
    'assets/icons/office.png': lambda: make_icon(icon_office),
}
for _n in APP_ICON_SIZES:
    IMAGES['desktop/zentrova-%d.png' % _n] = (lambda n: lambda: make_app_icon(n))(_n)

SOUNDS = {
    'assets/build.wav': snd_build,
    'assets/select.wav': snd_select,
    'assets/bulldoze.wav': snd_bulldoze,
    'assets/elevator_arrive.wav': snd_ding,
    'assets/elevator_move.wav': snd_hum,
}

SIZES = {
    'assets/title_intro.png': (600, 300), 'assets/title_menu.png': (600, 400),
    'assets/tiles.png': (384, 128), 'assets/cursor.png': (256, 128),
    'assets/buttons.png': (32, 352), 'assets/walls.png': (128, 192),
    'assets/floors.png': (228, 51), 'assets/lobby.png': (128, 64),
    'assets/hotel1.png': (128, 384), 'assets/hotel2.png': (192, 320),
    'assets/office.png': (256, 384), 'assets/elevator.png': (640, 232),
    'assets/icons/elevator.png': (32, 32), 'assets/icons/hotel1.png': (32, 32),
    'assets/icons/hotel2.png': (32, 32), 'assets/icons/office.png': (32, 32),
}
SIZES.update({'desktop/zentrova-%d.png' % n: (n, n) for n in APP_ICON_SIZES})


# ---------------------------------------------------------------------------
# night look: each sheet drawn again with LOOK = 'night', which changes the
# glass; every other pixel takes the light of its place: out of doors the
# dark blue of the night sky, indoors warm lamplight
# ---------------------------------------------------------------------------

def outdoors(c):
    return (int(c[0] * 0.30 + 4), int(c[1] * 0.34 + 6), int(c[2] * 0.50 + 18))


def indoors(c):
    return (int(c[0] * 0.88), int(c[1] * 0.80), int(c[2] * 0.64))


def floor_at_night(c):
    return (int(c[0] * 0.56), int(c[1] * 0.54), int(c[2] * 0.58))


def night_sheet(make, light):
    """light(x, y) gives the grade for the pixel at (x, y), or None to keep it."""
    global LOOK
    day = make()
    LOOK = 'night'
    try:
        night = make()
    finally:
        LOOK = 'day'
    dp, np_ = day.load(), night.load()
    for y in range(day.size[1]):
        for x in range(day.size[0]):
            d, n = dp[x, y], np_[x, y]
            if d[3] == 0 or d != n:
                continue  # transparent, or glass the night shaders drew
            grade = light(x, y)
            if grade:
                np_[x, y] = grade(d) + (d[3],)
    return night


def tiles_light(x, y):
    if x >= 256:
        return None  # the shadow stays a shadow
    if x >= 128 and y < 64:
        return floor_at_night
    return outdoors


NIGHT_SHEETS = {
    'assets/tiles-night.png': ('assets/tiles.png', make_tiles, tiles_light),
    'assets/walls-night.png': ('assets/walls.png', make_walls, lambda x, y: indoors if y < 96 else outdoors),
    'assets/lobby-night.png': ('assets/lobby.png', make_lobby, lambda x, y: indoors),
    'assets/hotel1-night.png': ('assets/hotel1.png', make_hotel1, lambda x, y: indoors),
    'assets/hotel2-night.png': ('assets/hotel2.png', make_hotel2, lambda x, y: indoors),
    'assets/office-night.png': ('assets/office.png', make_office, lambda x, y: indoors),
    'assets/elevator-night.png': ('assets/elevator.png', make_elevator, lambda x, y: indoors),
}
for _night, (_day, _make, _light) in NIGHT_SHEETS.items():
    IMAGES[_night] = (lambda m, l: lambda: night_sheet(m, l))(_make, _light)
    SIZES[_night] = SIZES[_day]


def generate(out):
    for rel, fn in IMAGES.items():
        path = os.path.join(out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        img = fn()
        assert img.mode == 'RGBA' and img.size == SIZES[rel], rel
        img.save(path)
    for rel, fn in SOUNDS.items():
        write_wav(os.path.join(out, rel), fn())
    import gen_music  # here, not at the top: it measures with this file's meter
    gen_music.write(out)


def region(img, x, y, w, h):
    px = img.load()
    return [[px[x + i, y + j][3] > 0 for i in range(w)] for j in range(h)]


def convex_mask(w, h, poly):
    """Pixel-centre test against a convex polygon given clockwise on screen."""
    out = []
    for j in range(h):
        row = []
        for i in range(w):
            cx, cy = i + 0.5, j + 0.5
            ok = True
            for k in range(len(poly)):
                (x0, y0), (x1, y1) = poly[k], poly[(k + 1) % len(poly)]
                if (x1 - x0) * (cy - y0) - (y1 - y0) * (cx - x0) < 0:
                    ok = False
                    break
            row.append(ok)
        out.append(row)
    return out


def check(out):
    problems = []

    def need(cond, msg):
        if not cond:
            problems.append(msg)

    # A night sheet is its day sheet in other light: the same pictures in the same places.
    for night, (day, _, _) in NIGHT_SHEETS.items():
        paths = [os.path.join(out, night), os.path.join(out, day)]
        if all(os.path.exists(p) for p in paths):
            a, b = (Image.open(p).convert('RGBA').getchannel('A').tobytes() for p in paths)
            need(a == b, night + ' does not cover exactly what ' + day + ' covers')

    imgs = {}
    for rel, size in SIZES.items():
        path = os.path.join(out, rel)
        if not os.path.exists(path):
            problems.append('missing ' + rel)
            continue
        img = Image.open(path)
        need(img.mode == 'RGBA', rel + ' is not RGBA')
        need(img.size == size, '%s is %s, want %s' % (rel, img.size, size))
        imgs[rel] = img.convert('RGBA')

    dm = diamond_mask()
    # the diamond must cover every pixel exactly once when tiled at (+-64, +-32)
    W, H = 5 * 128 + 128, 5 * 64 + 64
    count = [[0] * W for _ in range(H)]
    for a in range(-2, 8):
        for b in range(-2, 8):
            bx, by = (a - b) * 64 + 320, (a + b) * 32 - 64
            for y in range(64):
                for x in range(128):
                    if dm[y][x]:
                        X, Y = bx + x, by + y
                        if 0 <= X < W and 0 <= Y < H:
                            count[Y][X] += 1
    bad = sum(1 for y in range(64, H - 64) for x in range(128, W - 128) if count[y][x] != 1)
    need(bad == 0, 'diamond tiling leaves %d pixels not covered exactly once' % bad)
    need(sum(map(sum, dm)) == 128 * 64 // 2, 'diamond area is not half the box')

    t = imgs.get('assets/tiles.png')
    if t:
        for (x, y) in ((0, 0), (0, 64), (128, 0), (128, 64), (256, 0)):
            need(region(t, x, y, 128, 64) == dm, 'tile (%d,%d) is not the exact diamond' % (x, y))
        need(not any(any(r) for r in region(t, 256, 64, 128, 64)), 'tile (256,64) not transparent')
        a = {t.getpixel((256 + x, y))[3] for y in range(64) for x in range(128) if dm[y][x]}
        need(a == {89}, 'shadow alpha not uniform 35%%: %s' % sorted(a))
    lb = imgs.get('assets/lobby.png')
    if lb:
        need(region(lb, 0, 0, 128, 64) == dm, 'lobby is not the exact diamond')
        need(all(lb.getpixel((x, y))[3] == 255 for y in range(64) for x in range(128) if dm[y][x]),
             'lobby must be opaque inside')
    c = imgs.get('assets/cursor.png')
    if c:
        for (x, y) in ((0, 0), (0, 64), (128, 0), (128, 64)):
            m = region(c, x, y, 128, 64)
            need(all(dm[j][i] or not m[j][i] for j in range(64) for i in range(128)),
                 'cursor (%d,%d) draws outside the diamond' % (x, y))
        need(region(c, 0, 0, 128, 64) == dm and region(c, 0, 64, 128, 64) == dm, 'cursor fill is not the diamond')

    wl = imgs.get('assets/walls.png')
    if wl:
        pieces = {
            'back left': (0, 0, [(0, 32), (64, 0), (64, 64), (0, 96)], 0),
            'back right': (64, 0, [(0, 0), (64, 32), (64, 96), (0, 64)], 64),
            'front left': (0, 96, [(0, 0), (64, 32), (64, 96), (0, 64)], 0),
            'front right': (64, 96, [(0, 32), (64, 0), (64, 64), (0, 96)], 64),
        }
        for name, (x, y, poly, _) in pieces.items():
            want = convex_mask(64, 96, poly)
            need(region(wl, x, y, 64, 96) == want, name + ' wall is not its parallelogram')
            need(all(wl.getpixel((x + i, y + j))[3] == 255 for j in range(96) for i in range(64) if want[j][i]),
                 name + ' wall has holes')
        # back walls sit right on the cell's back edges: wall bottom + 1 == diamond top
        for x in range(1, 127):  # columns 0 and 127 belong to the neighbouring cells' diamonds
            col = [j for j in range(96) if wl.getpixel((x, j))[3]]
            top = min(j for j in range(64) if dm[j][x]) + 64
            need(col and max(col) + 1 == top, 'back wall column %d does not meet the floor' % x)
            # front walls stand on the front edges: wall bottom + 1 == diamond bottom + 1 (row below the cell)
            colf = [j for j in range(96) if wl.getpixel((x, 96 + j))[3]]
            bot = max(j for j in range(64) if dm[j][x]) + 32
            need(colf and max(colf) == bot, 'front wall column %d does not stand on the front edge' % x)

    for rel, (w, h, n, poly) in {
        'assets/hotel1.png': (128, 128, 3, [(0, 32), (64, 0), (128, 32), (128, 96), (64, 128), (0, 96)]),
        'assets/hotel2.png': (192, 160, 2, [(0, 32), (64, 0), (192, 64), (192, 128), (128, 160), (0, 96)]),
        'assets/office.png': (256, 192, 2, [(0, 64), (128, 0), (256, 64), (256, 128), (128, 192), (0, 128)]),
    }.items():
        im = imgs.get(rel)
        if not im:
            continue
        allowed = convex_mask(w, h, poly)
        for k in range(n):
            m = region(im, 0, k * h, w, h)
            stray = sum(1 for j in range(h) for i in range(w) if m[j][i] and not allowed[j][i])
            need(stray == 0, '%s variant %d draws %d pixels outside the room' % (rel, k, stray))
            need(sum(map(sum, m)) > w * h // 4, '%s variant %d is nearly empty' % (rel, k))
    el = imgs.get('assets/elevator.png')
    if el:
        # the landing covers the 2 x 2 footprint; nothing pokes below its
        # front edges, so shaft and car stay in the footprint's column
        def low(x):
            return 192 - abs(x + 0.5 - 128) / 2.0
        foot = convex_mask(256, 192, [(128, 64), (256, 128), (128, 192), (0, 128)])
        need(all(el.getpixel((i, j))[3] == 255 for j in range(192) for i in range(256) if foot[j][i]),
             'elevator landing has holes')
        need(all(el.getpixel((i, j))[3] == 0 for j in range(192) for i in range(256) if j + 0.5 > low(i)),
             'elevator shaft draws below its footprint')
        for (x, y) in ((386, 0), (386, 113), (512, 0), (512, 113)):
            m = region(el, x, y, CAR_W, CAR_H)
            cols = {}
            for j in range(CAR_H):
                for i in range(CAR_W):
                    if m[j][i]:
                        cols[i] = max(cols.get(i, -1), j)
            need(cols and all(j + CAR_Y + 0.5 <= low(i + CAR_X) for i, j in cols.items()),
                 'car at (%d,%d) pokes out of the footprint' % (x, y))
            need(cols and min(low(i + CAR_X) - (j + CAR_Y + 0.5) for i, j in cols.items()) <= 4,
                 'car at (%d,%d) does not stand on the front edge' % (x, y))
            need(cols and min(j for j in range(CAR_H) if any(m[j])) >= 0 and sum(map(sum, m)) > 2500,
                 'car at (%d,%d) is too small' % (x, y))
        need(list(el.crop((386, 0, 510, 112)).getdata()) == list(el.crop((512, 0, 636, 112)).getdata()), 'spare empty car differs')
        need(list(el.crop((386, 113, 510, 225)).getdata()) == list(el.crop((512, 113, 636, 225)).getdata()), 'spare full car differs')
    for rel in ('assets/buttons.png',) + tuple(k for k in SIZES if '/icons/' in k):
        im = imgs.get(rel)
        if not im:
            continue
        for y0 in range(32 if rel == 'assets/buttons.png' else 0, im.size[1], 32):
            need(im.getpixel((16, y0 + 1))[3] == 255 and im.getpixel((1, y0 + 16))[3] == 255,
                 '%s cell %d is not an opaque face' % (rel, y0))
    bt = imgs.get('assets/buttons.png')
    if bt:
        need(bt.getpixel((16, 16))[3] < 80, 'highlight overlay is not see-through inside')
    for n in APP_ICON_SIZES:
        im = imgs.get('desktop/zentrova-%d.png' % n)
        if not im:
            continue
        corners = [im.getpixel((x, y))[3] for x in (0, n - 1) for y in (0, n - 1)]
        need(corners == [0, 0, 0, 0], 'app icon %d has opaque corners' % n)
        x0, y0, x1, y1 = im.getbbox()
        need(max(x1 - x0, y1 - y0) >= n * 0.9, 'app icon %d does not fill its square' % n)
    tm = imgs.get('assets/title_menu.png')
    if tm:
        busy = sum(1 for y in range(300, 370) for x in range(250, 350) if tm.getpixel((x, y))[3])
        need(busy == 0, 'menu plate area has %d drawn pixels' % busy)

    for rel in SOUNDS:
        path = os.path.join(out, rel)
        if not os.path.exists(path):
            problems.append('missing ' + rel)
            continue
        with wave.open(path, 'rb') as w:
            need((w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype()) == (1, 2, RATE, 'NONE'),
                 rel + ' is not 16-bit mono 22050 Hz PCM')
            n = w.getnframes()
            data = struct.unpack('<%dh' % n, w.readframes(n))
        need(0.1 <= n / RATE <= 0.6, '%s lasts %.3f s' % (rel, n / RATE))
        peak = max(abs(v) for v in data) / 32767.0
        need(peak <= PEAK_LIMIT, '%s peaks at %.2f dBFS' % (rel, 20 * math.log10(peak)))
        level = loudness_db([v / 32767.0 for v in data])
        need(abs(level - LOUDNESS_DB) < 0.3, '%s loudness %.2f dB, want %.1f' % (rel, level, LOUDNESS_DB))
        need(abs(data[0]) < 64 and abs(data[-1]) < 64, rel + ' starts or ends with a click')
    import gen_music  # here, not at the top: it measures with this file's meter
    gen_music.check(out, need)

    cfg = os.path.join(ROOT, 'config.xml')
    if os.path.exists(cfg):
        import xml.etree.ElementTree as ET
        body = open(cfg).read().split('?>', 1)[1]
        kids = list(ET.fromstring('<r>' + body + '</r>'))
        need([k.tag for k in kids] == ['window', 'sound', 'required', 'plugins', 'background'],
             'config.xml elements are %s' % [k.tag for k in kids])
        for f in kids[2]:
            need(os.path.exists(os.path.join(ROOT, f.text.strip())), 'config lists missing ' + f.text)
        need(len(kids[4]) == 3, 'config background needs three colours')
    else:
        problems.append('config.xml missing')
    return problems


def main(argv):
    out = ROOT
    if '--out' in argv:
        out = argv[argv.index('--out') + 1]
    if '--check' not in argv or '--generate' in argv:
        generate(out)
    if '--check' in argv:
        problems = check(out)
        for p in problems:
            print('FAIL', p)
        print('ok' if not problems else '%d problem(s)' % len(problems))
        return 1 if problems else 0
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
