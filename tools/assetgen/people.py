"""The people of the living tower: small figures about 10 x 24 pixels, so that
four or five stand side by side on a cell, in a few looks, each walking in
the four directions of the grid.

Two directions are drawn, walking toward the viewer to the right and away
from the viewer to the left; the other two are their mirror images, drawn
into the sheet as well since the game cannot flip a picture. A figure is
built from rectangles in its own colours, lit from the top left, and gets the
same dark 1 px rim as the furniture."""

from PIL import Image

from .draw import Rect, outline, shade

FRAME_W, FRAME_H = 16, 28
# the soles' row and the middle between the feet, from a frame's corner
FEET = (8, 26)
# every figure keeps inside this box of its frame
BODY = Rect(3, 3, 10, 24)

# The directions, named by where they walk on screen; down is toward the
# viewer, with the face showing. On the grid: downRight is x + 1, downLeft
# y + 1, upLeft x - 1, upRight y - 1.
FACINGS = ('downRight', 'downLeft', 'upRight', 'upLeft')
MIRRORED = {'downLeft': 'downRight', 'upRight': 'upLeft'}
# a walk goes standing, first stride, standing, second stride
STEPS = ('standing', 'firstStride', 'secondStride')

SHOE = (40, 38, 42)


def look(top, legs, skin, hair, hair_style='short', shirt=None, tie=None, shoes=SHOE, coat=False, cap=None,
         bare_legs=False):
    return dict(top=top, legs=legs, skin=skin, hair=hair, hair_style=hair_style, shirt=shirt, tie=tie, shoes=shoes,
                coat=coat, cap=cap, bare_legs=bare_legs)


# office workers in suits of two colours, hotel guests in casual clothes and a
# visitor in a raincoat; skin and hair of several tones
LOOKS = {
    'clerkNavy': look((52, 66, 108), (46, 58, 96), (236, 196, 164), (72, 50, 38), shirt=(244, 244, 240),
                      tie=(196, 52, 52)),
    'clerkGrey': look((124, 128, 138), (112, 116, 126), (196, 146, 108), (152, 72, 40), 'long',
                      shirt=(206, 226, 244), shoes=(120, 40, 44)),
    'guestRed': look((224, 92, 64), (68, 98, 150), (124, 82, 58), (34, 28, 28), shoes=(232, 232, 228)),
    'guestGreen': look((86, 156, 100), (196, 176, 126), (242, 208, 178), (230, 194, 112), 'long',
                       shoes=(112, 78, 52)),
    'guestYellow': look((242, 202, 74), (96, 134, 150), (212, 160, 118), (190, 190, 194), shoes=(150, 100, 64),
                        bare_legs=True),
    'visitor': look((206, 180, 132), (64, 62, 70), (160, 108, 78), (30, 26, 30), coat=True, cap=(126, 74, 146)),
}

PEOPLE_SIZE = (FRAME_W * len(FACINGS) * len(STEPS), FRAME_H * len(LOOKS))


def frame(look_name, facing, step):
    """Where a frame lies on the sheet: a row for each look, the facings from
    left to right, each facing's steps side by side."""
    column = FACINGS.index(facing) * len(STEPS) + STEPS.index(step)
    return Rect(column * FRAME_W, list(LOOKS).index(look_name) * FRAME_H, FRAME_W, FRAME_H)


def fill(px, x0, y0, w, h, col, lit=True):
    """A block lit from the left: its left column a little lighter, its right
    column a little darker."""
    for y in range(y0, y0 + h):
        for x in range(x0, x0 + w):
            k = 1.0
            if lit and w > 2:
                k = 1.1 if x == x0 else (0.84 if x == x0 + w - 1 else 1.0)
            px[x, y] = shade(col, k)


def figure(px, v, step, front):
    """One figure facing right, toward the viewer (front) or away from it,
    with its feet on FEET."""
    fx, fy = FEET
    stride = STEPS.index(step)
    # while striding the legs spread and the body sinks by a pixel
    sink = 0 if stride == 0 else 1
    top = fy - 23 + sink
    # legs and shoes: the nearer leg (the right one, facing right) is lit less
    leg_colour = v['skin'] if v['bare_legs'] else v['legs']
    spread = (0, 0) if stride == 0 else ((-1, 1) if stride == 1 else (1, -1))
    for side, (x, dx) in enumerate(((fx - 3, spread[0]), (fx, spread[1]))):
        k = 1.0 if side == 0 else 0.86
        leg_top = top + 15
        if v['bare_legs']:
            # shorts to the knee, then the bare leg
            fill(px, x + dx, leg_top, 3, 3, shade(v['legs'], k), lit=False)
            fill(px, x + dx, leg_top + 3, 3, fy - 1 - leg_top - 3, shade(leg_colour, k), lit=False)
        else:
            fill(px, x + dx, leg_top, 3, fy - 1 - leg_top, shade(leg_colour, k), lit=False)
        # the shoe points the way the figure faces
        fill(px, x + dx, fy - 1, 3, 2, v['shoes'], lit=False)
        px[x + dx + 3, fy] = shade(v['shoes'], 1.0)
    # the body: a jacket, a sweater or a coat reaching below the hips
    body_h = 10 if v['coat'] else 8
    fill(px, fx - 3, top + 7, 6, body_h, v['top'])
    if front and v['shirt']:
        # the open collar of a shirt, and a tie down the front
        for y in range(top + 7, top + 10):
            for x in range(fx - 1, fx + 2):
                px[x, y] = shade(v['shirt'], 1.0)
        if v['tie']:
            for y in range(top + 8, top + 13):
                px[fx, y] = shade(v['tie'], 1.0)
    if v['coat']:
        # a belt, and the coat's edge down the front
        for x in range(fx - 3, fx + 3):
            px[x, top + 11] = shade(v['top'], 0.7)
        if front:
            for y in range(top + 7, top + 7 + body_h):
                px[fx + 1, y] = shade(v['top'], 0.8)
    # arms: the far one behind the body swings with the near one, a hand at the end
    swing = 0 if stride == 0 else (1 if stride == 1 else -1)
    for x, dy, k in ((fx - 4, swing, 1.0), (fx + 3, -swing, 0.8)):
        fill(px, x, top + 8 + dy, 1, 5, shade(v['top'], k), lit=False)
        px[x, top + 13 + dy] = shade(v['skin'], k)
    # neck and head
    fill(px, fx - 1, top + 6, 2, 1, shade(v['skin'], 0.85), lit=False)
    head = [(x, y) for y in range(top, top + 7) for x in range(fx - 3, fx + 3)
            if not ((y in (top, top + 6)) and x in (fx - 3, fx + 2))]
    for (x, y) in head:
        px[x, y] = shade(v['skin'], 1.05 if x < fx else 0.95)
    long_hair = v['hair_style'] == 'long'
    for (x, y) in head:
        row, col = y - top, x - (fx - 3)
        if front:
            # the top of the head, and the back of it down to the ear or lower
            covered = row < 2 or (col < 2 and row < (5 if long_hair else 3))
        else:
            # all but the neck
            covered = row < 5 or (long_hair and row == 5 and col < 5)
        if covered:
            px[x, y] = shade(v['hair'], 1.1 if row == 0 and col < 3 else 1.0)
    if long_hair:
        # down to the shoulders: beside the face, and from behind over the collar
        for y in range(top + 4, top + 9):
            px[fx - 3, y] = shade(v['hair'], 0.92)
        if not front:
            for y in range(top + 7, top + 9):
                for x in range(fx - 2, fx + 3):
                    px[x, y] = shade(v['hair'], 0.92)
    if front:
        px[fx + 1, top + 3] = shade((40, 32, 30), 1.0)  # the eye, on the side it looks to
    if v['cap']:
        for x in range(fx - 3, fx + 3):
            px[x, top] = shade(v['cap'], 1.0)
            px[x, top + 1] = shade(v['cap'], 0.9)
        if front:
            px[fx + 3, top + 1] = shade(v['cap'], 0.8)  # the peak


def draw_frame(v, step, front):
    img = Image.new('RGBA', (FRAME_W, FRAME_H), (0, 0, 0, 0))
    figure(img.load(), v, step, front)
    outline(img, 0.45)
    return img


def make_people():
    sheet = Image.new('RGBA', PEOPLE_SIZE, (0, 0, 0, 0))
    for name, v in LOOKS.items():
        for step in STEPS:
            # the back view is drawn facing right, so it walks away to the left when flipped
            drawn = {'downRight': draw_frame(v, step, True),
                     'upLeft': draw_frame(v, step, False).transpose(Image.FLIP_LEFT_RIGHT)}
            for facing, mirror_of in MIRRORED.items():
                drawn[facing] = drawn[mirror_of].transpose(Image.FLIP_LEFT_RIGHT)
            for facing in FACINGS:
                sheet.alpha_composite(drawn[facing], frame(name, facing, step)[:2])
    return sheet


def geometry_sections(rect, offset):
    """The people's part of the C++ header."""
    lines = ['enum Look { %s, looks };' % ', '.join(LOOKS),
             'enum Facing { %s, facings };' % ', '.join(FACINGS),
             'enum Step { %s, steps };' % ', '.join(STEPS),
             'inline constexpr int frameWidth = %d;' % FRAME_W,
             'inline constexpr int frameHeight = %d;' % FRAME_H]
    lines += offset('feet', FEET, "Where the feet stand, from a frame's corner: the soles' row, and the middle "
                                  "between the feet.")
    lines += ['// Every figure keeps inside this part of its frame.',
              'inline constexpr SDL_Rect body = %s;' % rect(BODY)]
    lines += ['// The frame of a look walking one way; a walk goes standing, first stride, standing, second stride.',
              'inline constexpr SDL_Rect frame(Look look, Facing facing, Step step) {',
              '    const int column = facing * steps + step;',
              '    return {static_cast<Sint16>(column * frameWidth), static_cast<Sint16>(look * frameHeight), '
              'frameWidth, frameHeight};',
              '}']
    return [("assets/people.png and assets/people-night.png: a row for each look, and in a row the facings from left "
             "to right, each facing's steps side by side. The facings are named by where they walk on screen, down "
             "being toward the viewer: downRight walks to x + 1 on the grid, downLeft to y + 1, upLeft to x - 1 and "
             "upRight to y - 1.", 'people', lines)]


def check(imgs, need):
    im = imgs.get('assets/people.png')
    if not im:
        return
    fx, fy = FEET
    for name in LOOKS:
        for facing in FACINGS:
            for step in STEPS:
                x, y, w, h = frame(name, facing, step)
                tag = 'people %s %s %s' % (name, facing, step)
                box = im.crop((x, y, x + w, y + h)).getbbox()
                need(box is not None, tag + ' is empty')
                if box is None:
                    continue
                need(BODY.x <= box[0] and box[2] <= BODY.x + BODY.w and BODY.y <= box[1] and
                     box[3] <= BODY.y + BODY.h, '%s reaches out of its box: %s' % (tag, box))
                need(box[3] == fy + 1 and any(im.getpixel((x + i, y + fy))[3] == 255 for i in range(w)),
                     '%s does not stand on the feet row %d' % (tag, fy))
                need(im.getpixel((x + fx - 2, y + fy))[3] == 255 or im.getpixel((x + fx + 1, y + fy))[3] == 255,
                     '%s has no foot beside the anchor' % tag)
        for facing, drawn in MIRRORED.items():
            for step in STEPS:
                a, b = frame(name, facing, step), frame(name, drawn, step)
                pa = im.crop((a.x, a.y, a.x + a.w, a.y + a.h))
                pb = im.crop((b.x, b.y, b.x + b.w, b.y + b.h)).transpose(Image.FLIP_LEFT_RIGHT)
                need(list(pa.getdata()) == list(pb.getdata()), 'people %s %s %s is not the mirror of %s'
                     % (name, facing, step, drawn))
