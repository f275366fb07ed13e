"""Furniture and the small people of the room pictures, built from shaded
isometric boxes, each with its own rim."""

from .draw import box, floor_face, hash01, rgba, shade, sprite
from .palette import WOOD


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

