"""The elevator sheet: a glass shaft over its landing, and the car that
rides in it, empty and with passengers."""

from PIL import Image

from .draw import Iso, Rect, box, face, flat, floor_face, hash01, outline, rgba, shade, sprite
from .furniture import person, plant


# The lift is a glass shaft standing along the front-right edge (u = 2) of its
# 2 x 2 footprint; the rest of the footprint is its landing.  The cab rides in
# the shaft and is cut out of the shaft picture at (130, 80) as a 124 x 112
# cell, so the cab must fit that window: its front-right face stands just
# inside the footprint edge, its bottom on the storey's floor line.
SHAFT_U0, SHAFT_U1, SHAFT_V0, SHAFT_V1 = 1.46, 2.0, 0.74, 1.48
CAB_U0, CAB_U1, CAB_V0, CAB_V1, CAB_H = 1.52, 1.95, 0.80, 1.42, 0.84
CAR_X, CAR_Y, CAR_W, CAR_H = 130, 80, 124, 112

# elevator.png: the shaft with its landing on the left, the cars beside it,
# empty above full, and a spare pair of each
ELEVATOR_SIZE = (640, 232)
SHAFT = Rect(0, 0, 256, 192)
CARS = {
    'empty': Rect(386, 0, CAR_W, CAR_H),
    'full': Rect(386, 113, CAR_W, CAR_H),
    'spareEmpty': Rect(512, 0, CAR_W, CAR_H),
    'spareFull': Rect(512, 113, CAR_W, CAR_H),
}


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
    img = Image.new('RGBA', SHAFT[2:], (0, 0, 0, 0))
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
    img = Image.new('RGBA', SHAFT[2:], (0, 0, 0, 0))
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
    sheet = Image.new('RGBA', ELEVATOR_SIZE, (0, 0, 0, 0))
    sheet.alpha_composite(make_shaft(), SHAFT[:2])
    empty, full = make_car(False), make_car(True)
    pictures = {'empty': empty, 'full': full, 'spareEmpty': empty, 'spareFull': full}
    for name, car in CARS.items():
        sheet.alpha_composite(pictures[name], car[:2])
    return sheet
