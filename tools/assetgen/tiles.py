"""The cell sheets: ground tiles and their shadow, the lobby's floor, the
map cursor, and the wall pieces of a storey."""

import math

from PIL import Image

from .draw import Iso, Rect, blend, diamond_mask, face, fill_set, flat, floor_face, hash01, rgba, rim_of, shade
from .palette import ASPHALT, CELL_H, CELL_W, CH, CONCRETE, CW, GLASS, KERB, LANE, LAWN, ROOF, SH
from .surfaces import back_walls, facade, per_cell_windows


def cell(x, y):
    return Rect(x, y, CELL_W, CELL_H)


# Where each diamond lies on tiles.png; the shadow darkens a tile by 35 %.
TILES_SIZE = (384, 128)
TILES = {
    'street': cell(0, 0),
    'lawn': cell(0, 64),
    'floor': cell(128, 0),
    'roof': cell(128, 64),
    'shadow': cell(256, 0),
}
SHADOW_ALPHA = 89

# cursor.png: the build cursor that may and may not build, the grid line and
# the mark of a cell the walkable-floor search has visited
CURSOR_SIZE = (256, 128)
CURSOR = {
    'buildable': cell(0, 0),
    'refused': cell(0, 64),
    'grid': cell(128, 0),
    'path': cell(128, 64),
}

# walls.png: the two back walls of a cell above its two front walls, each
# wall half a cell wide and a storey plus half a cell high; a cell's whole
# back or front is the pair side by side.
WALLS_SIZE = (128, 192)
WALL_W, WALL_H = CW, SH + CH
BACK_Y, FRONT_Y = 0, WALL_H
WALLS = {
    'backLeft': Rect(0, BACK_Y, WALL_W, WALL_H),
    'backRight': Rect(WALL_W, BACK_Y, WALL_W, WALL_H),
    'back': Rect(0, BACK_Y, 2 * WALL_W, WALL_H),
    'frontLeft': Rect(0, FRONT_Y, WALL_W, WALL_H),
    'frontRight': Rect(WALL_W, FRONT_Y, WALL_W, WALL_H),
    'front': Rect(0, FRONT_Y, 2 * WALL_W, WALL_H),
}


def tile_diamond(img, ox, oy, shader):
    floor_face(img, Iso(ox + CW, oy), 0, 0, 1, 1, shader)


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
    img = Image.new('RGBA', TILES_SIZE, (0, 0, 0, 0))
    for name, shader in (('street', street), ('lawn', lawn), ('floor', slab), ('roof', roof),
                         ('shadow', flat((0, 0, 0, SHADOW_ALPHA)))):
        tile_diamond(img, *TILES[name][:2], shader)
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
    img = Image.new('RGBA', (CELL_W, CELL_H), (0, 0, 0, 0))
    tile_diamond(img, 0, 0, lobby_floor)
    return img


def diamond_set(ox, oy):
    m = diamond_mask()
    return {(ox + x, oy + y) for y in range(CELL_H) for x in range(CELL_W) if m[y][x]}


def make_cursor():
    img = Image.new('RGBA', CURSOR_SIZE, (0, 0, 0, 0))
    for (ox, oy, _, _), col in ((CURSOR['buildable'], (80, 220, 96)), (CURSOR['refused'], (236, 72, 64))):
        d = diamond_set(ox, oy)
        r1 = rim_of(d)
        r2 = rim_of(d - r1)
        fill_set(img, d - r1 - r2, lambda x, y, c=col: rgba(c, 56))
        fill_set(img, r2, lambda x, y, c=col: rgba(c, 235))
        fill_set(img, r1, lambda x, y, c=col: rgba(shade(c, 0.7), 235))
    d = diamond_set(*CURSOR['grid'][:2])
    fill_set(img, rim_of(d), lambda x, y: (240, 244, 250, 80))
    # path mark: two yellow footprints facing up-right along the grid
    px = img.load()
    px0, py0 = CURSOR['path'][:2]
    for (cx, cy) in ((px0 + 52, py0 + 32), (px0 + 70, py0 + 23)):
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


def make_walls(look):
    img = Image.new('RGBA', WALLS_SIZE, (0, 0, 0, 0))
    back_walls(img, Iso(CW, BACK_Y + SH), 1, 1, look,
               windows_left=per_cell_windows(1), windows_right=per_cell_windows(1))
    iso = Iso(CW, FRONT_Y + CH)
    P = iso.p
    face(img, P(0, 1, 1), P(1, 1, 1), P(0, 1, 0), facade(GLASS, (214, 218, 224), (206, 200, 190), True, look))
    face(img, P(1, 1, 1), P(1, 0, 1), P(1, 1, 0), facade(GLASS, (214, 218, 224), (206, 200, 190), False, look))
    return img
