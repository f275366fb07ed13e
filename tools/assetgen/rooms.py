"""The room sheets: single and double hotel rooms and offices, each kind in
a few furnishings one above the other."""

from PIL import Image

from .draw import Iso, box, face, hash01, mix, rgba, shade, sprite
from .furniture import bed, carpet, chair, floor_region, monitor, plant, rug, table
from .palette import INK, STEEL
from .surfaces import back_walls, per_cell_windows


HOTEL1 = [
    dict(wall=(236, 226, 210), carpet=(196, 170, 140), cover=(92, 140, 200), wood=(164, 112, 70), extra='plant'),
    dict(wall=(222, 232, 220), carpet=(150, 170, 150), cover=(214, 110, 96), wood=(128, 92, 64), extra='tv'),
    dict(wall=(238, 222, 226), carpet=(176, 150, 170), cover=(244, 196, 90), wood=(190, 150, 108), extra='chair'),
]


def make_hotel1(look):
    sheet = Image.new('RGBA', (128, 384), (0, 0, 0, 0))
    for i, v in enumerate(HOTEL1):
        img = Image.new('RGBA', (128, 128), (0, 0, 0, 0))
        iso = Iso(64, 64)
        floor_region(img, iso, 1, 1, carpet(v['carpet'], v['carpet']))
        back_walls(img, iso, 1, 1, look, base=v['wall'],
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


def make_hotel2(look):
    sheet = Image.new('RGBA', (192, 320), (0, 0, 0, 0))
    for i, v in enumerate(HOTEL2):
        img = Image.new('RGBA', (192, 160), (0, 0, 0, 0))
        iso = Iso(64, 64)
        floor_region(img, iso, 2, 1, carpet(v['carpet'], v['carpet']))
        back_walls(img, iso, 2, 1, look, base=v['wall'],
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


def make_office(look):
    sheet = Image.new('RGBA', (256, 384), (0, 0, 0, 0))
    for i, v in enumerate(OFFICE):
        img = Image.new('RGBA', (256, 192), (0, 0, 0, 0))
        iso = Iso(128, 64)

        def tiles(s, t, e, x, y, c=v['carpet']):
            n = hash01(x, y, 12)
            k = 1.0 if (int(s * 8) + int(t * 8)) % 2 == 0 else 0.95
            return rgba(shade(c, k * (0.97 + 0.05 * n)))
        floor_region(img, iso, 2, 2, tiles)
        back_walls(img, iso, 2, 2, look, base=v['wall'],
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
