"""The living tower's service view and rating: a translucent diamond laid
over each cell of a room in the colour of how its people are served (good,
fair, poor, or vacant), and the two stars of the tower's rating, earned and
not yet earned."""

import math

from PIL import Image, ImageDraw

from .draw import fill_set, rgba, rim_of, shade
from .palette import CELL_H, CELL_W, INK
from .tiles import diamond_set

TINTS = ('good', 'fair', 'poor', 'vacant')
TINT_COLOURS = {'good': (72, 200, 104), 'fair': (244, 190, 56), 'poor': (232, 64, 56), 'vacant': (150, 152, 164)}
STAR = 14
SERVICE_SIZE = (CELL_W * len(TINTS), CELL_H + STAR)


def tint(name):
    return (CELL_W * TINTS.index(name), 0, CELL_W, CELL_H)


def star(earned):
    return (0 if earned else STAR, CELL_H, STAR, STAR)


def star_points(ox, oy):
    cx, cy, outer, inner = ox + STAR / 2 - 0.5, oy + STAR / 2, STAR / 2 - 0.5, STAR / 5.0
    points = []
    for k in range(10):
        radius = outer if k % 2 == 0 else inner
        angle = -math.pi / 2 + k * math.pi / 5
        points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def make_service():
    img = Image.new('RGBA', SERVICE_SIZE, (0, 0, 0, 0))
    for name in TINTS:
        colour = TINT_COLOURS[name]
        cell = diamond_set(*tint(name)[:2])
        rim = rim_of(cell)
        fill_set(img, cell - rim, lambda x, y, c=colour: rgba(c, 128))
        fill_set(img, rim, lambda x, y, c=colour: rgba(shade(c, 0.8), 235))
    d = ImageDraw.Draw(img)
    for earned in (True, False):
        ox, oy = star(earned)[:2]
        d.polygon(star_points(ox, oy), fill=(250, 204, 64) if earned else (84, 90, 104), outline=INK)
    return img


def geometry_sections(rect, offset):
    tints = ['enum Tint { %s, tints };' % ', '.join(TINTS), 'inline constexpr SDL_Rect tint[tints] = {']
    tints += ['    %s,  // %s' % (rect(tint(name)), name) for name in TINTS] + ['};']
    stars = ['inline constexpr SDL_Rect earnedStar = %s;' % rect(star(True)),
             'inline constexpr SDL_Rect unearnedStar = %s;' % rect(star(False))]
    return [("assets/service.png: the diamond laid over each cell of a room in the service view, by how its "
             "people are served, and the stars of the tower's rating.", 'service', tints + stars)]


def check(img, need):
    for name in TINTS:
        x, y, w, h = tint(name)
        alphas = {img.getpixel((x + i, y + j))[3] for j in range(h) for i in range(w)}
        need(alphas - {0} and max(alphas) < 255, 'service tint %s is not see-through' % name)
    for earned in (True, False):
        x, y, w, h = star(earned)
        need(img.getpixel((x + w // 2, y + h // 2))[3] == 255, 'the %s star has no middle' % ('earned' if earned else 'unearned'))
