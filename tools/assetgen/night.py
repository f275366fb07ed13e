"""The night look: each sheet that has one is drawn again in the night look,
which changes the glass; every other pixel takes the light of its place: out
of doors the dark blue of the night sky, indoors warm lamplight."""

from .palette import DAY, NIGHT
from .tiles import BACK_Y, TILES, WALL_H


def outdoors(c):
    return (int(c[0] * 0.30 + 4), int(c[1] * 0.34 + 6), int(c[2] * 0.50 + 18))


def indoors(c):
    return (int(c[0] * 0.88), int(c[1] * 0.80), int(c[2] * 0.64))


def floor_at_night(c):
    return (int(c[0] * 0.56), int(c[1] * 0.54), int(c[2] * 0.58))


def night_sheet(make, light):
    """make(look) draws the sheet; light(x, y) gives the grade for the pixel
    at (x, y), or None to keep it."""
    day = make(DAY)
    night = make(NIGHT)
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


def inside(rect, x, y):
    return rect.x <= x < rect.x + rect.w and rect.y <= y < rect.y + rect.h


def tiles_light(x, y):
    if inside(TILES['shadow'], x, y):
        return None  # the shadow stays a shadow
    if inside(TILES['floor'], x, y):
        return floor_at_night
    return outdoors


def walls_light(x, y):
    """The back walls are the inside of a storey, the front walls its outside."""
    return indoors if BACK_Y <= y < BACK_Y + WALL_H else outdoors


def lamplit(x, y):
    return indoors
