"""Drawing helpers shared by every sheet: colour arithmetic, per-pixel noise,
the isometric projection, filled faces and boxes, and 1 px rims."""

import math

from PIL import Image

from .palette import CH, CW, SH


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


class Rect(tuple):
    """A picture's place on its sheet: x, y, w, h in pixels."""

    def __new__(cls, x, y, w, h):
        return tuple.__new__(cls, (x, y, w, h))

    x = property(lambda r: r[0])
    y = property(lambda r: r[1])
    w = property(lambda r: r[2])
    h = property(lambda r: r[3])
