#!/usr/bin/python3
"""Draws the people standing and walking on a few floor and lobby cells, by
day beside night, to judge the sprites by eye against the tiles.

Usage: /usr/bin/python3 tools/people_preview.py OUTPUT.png [--scale N] [--assets DIR]

Reads the sheets from the assets folder (the repository's by default), so
run tools/gen_assets.py first. The composite places the frames the way the
game will: a frame's feet point on a point of the cell, by the geometry the
generator writes.
"""

import argparse
import os
import sys

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen import ROOT  # noqa: E402  (the path above finds it)
from assetgen.palette import CELL_H, CELL_W, CH, CW  # noqa: E402
from assetgen.people import FACINGS, FEET, LOOKS, STEPS, frame  # noqa: E402
from assetgen.tiles import TILES  # noqa: E402

# (cell x, cell y, which floor), then who stands where: (cell x, cell y,
# place in the cell from its top corner in cell units u, v, look, facing, step)
CELLS = [(0, 0, 'lobby'), (1, 0, 'lobby'), (0, 1, 'floor'), (1, 1, 'floor'), (2, 0, 'floor'), (2, 1, 'floor')]
CROWD = [
    (0, 0, 0.3, 0.3, 'clerkNavy', 'downRight', 'standing'),
    (0, 0, 0.5, 0.3, 'clerkGrey', 'downLeft', 'firstStride'),
    (0, 0, 0.7, 0.3, 'visitor', 'upRight', 'standing'),
    (0, 0, 0.7, 0.6, 'guestRed', 'upLeft', 'secondStride'),
    (1, 0, 0.25, 0.6, 'guestGreen', 'downRight', 'firstStride'),
    (1, 0, 0.4, 0.6, 'guestYellow', 'downRight', 'standing'),
    (1, 0, 0.55, 0.6, 'clerkNavy', 'downRight', 'secondStride'),
    (1, 0, 0.7, 0.6, 'clerkGrey', 'downRight', 'standing'),
    (1, 0, 0.85, 0.6, 'visitor', 'downRight', 'firstStride'),
    (0, 1, 0.5, 0.5, 'guestYellow', 'upLeft', 'firstStride'),
    (1, 1, 0.3, 0.7, 'guestRed', 'downLeft', 'standing'),
    (1, 1, 0.6, 0.4, 'guestGreen', 'upRight', 'secondStride'),
    (2, 0, 0.5, 0.5, 'clerkNavy', 'upLeft', 'standing'),
    (2, 1, 0.4, 0.3, 'clerkGrey', 'downRight', 'firstStride'),
    (2, 1, 0.7, 0.6, 'visitor', 'downLeft', 'secondStride'),
]


def scene(assets, night):
    suffix = '-night' if night else ''
    tiles = Image.open(os.path.join(assets, 'tiles%s.png' % suffix)).convert('RGBA')
    lobby = Image.open(os.path.join(assets, 'lobby%s.png' % suffix)).convert('RGBA')
    people = Image.open(os.path.join(assets, 'people%s.png' % suffix)).convert('RGBA')
    ox, oy = 2 * CW, 2 * CH
    out = Image.new('RGBA', (4 * CW + CELL_W, 6 * CH + CELL_H), (30, 40, 80, 255) if night else (150, 204, 238, 255))
    floor = TILES['floor']
    slab = tiles.crop((floor.x, floor.y, floor.x + floor.w, floor.y + floor.h))
    for x, y, kind in CELLS:
        out.alpha_composite(lobby if kind == 'lobby' else slab, (ox + (x - y) * CW, oy + (x + y) * CH))
    # the nearer people are drawn last
    for x, y, u, v, name, facing, step in sorted(CROWD, key=lambda p: (p[0] + p[2]) + (p[1] + p[3])):
        fx = ox + CW + (x + u - y - v) * CW
        fy = oy + (x + u + y + v) * CH
        r = frame(name, facing, step)
        out.alpha_composite(people.crop((r.x, r.y, r.x + r.w, r.y + r.h)), (round(fx) - FEET[0], round(fy) - FEET[1]))
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('output')
    parser.add_argument('--scale', type=int, default=3)
    parser.add_argument('--assets', default=os.path.join(ROOT, 'assets'))
    args = parser.parse_args()
    day, night = scene(args.assets, False), scene(args.assets, True)
    sheet = Image.open(os.path.join(args.assets, 'people.png')).convert('RGBA')
    w, h = day.size
    out = Image.new('RGBA', (2 * w, h + sheet.size[1]), (90, 90, 96, 255))
    out.alpha_composite(day, (0, 0))
    out.alpha_composite(night, (w, 0))
    out.alpha_composite(sheet, (0, h))
    out.alpha_composite(Image.open(os.path.join(args.assets, 'people-night.png')).convert('RGBA'), (w, h))
    out = out.resize((out.size[0] * args.scale, out.size[1] * args.scale), Image.NEAREST)
    out.save(args.output)
    print('%d looks, %d facings, %d steps: %s' % (len(LOOKS), len(FACINGS), len(STEPS), args.output))


if __name__ == '__main__':
    main()
