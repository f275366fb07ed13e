"""The interface sheets: the button bar's cells, the room kinds' icons, and
the storey indicator with its digit plates."""

from PIL import Image, ImageDraw, ImageFont

from .draw import Rect, mix, rgba, rim_of, rounded, shade
from .palette import ACCENT, FACE_BOT, FACE_TOP, FONT_BOLD, INK

# buttons.png: one 32 x 32 cell a row; the first is the highlight laid over
# a selected button, the others are the bar's icons
BUTTON_W, BUTTON_H = 32, 32
BUTTON_CELLS = ('highlight', 'pause', 'play', 'exitToMenu', 'save', 'load', 'finances', 'bulldoze', 'query',
                'lobby', 'floor')
BUTTONS_SIZE = (BUTTON_W, BUTTON_H * len(BUTTON_CELLS))


def button_cell(name):
    return Rect(0, BUTTON_H * BUTTON_CELLS.index(name), BUTTON_W, BUTTON_H)


# floors.png: the plates of the digits 0 to 9 in a row, and below them the
# indicator's three pictures of the tower, with the storey shown lit at the
# top, in the middle or on the ground; the digits go on the picture's left.
FLOORS_SIZE = (228, 51)
DIGIT_W, DIGIT_H = 12, 14
INDICATOR_W, INDICATOR_H = 44, 31
INDICATOR = {
    'top': Rect(0, 20, INDICATOR_W, INDICATOR_H),
    'middle': Rect(92, 20, INDICATOR_W, INDICATOR_H),
    'ground': Rect(184, 20, INDICATOR_W, INDICATOR_H),
}
DIGITS_ON_INDICATOR = (2, 12)


def digit(k):
    return Rect(DIGIT_W * k, 0, DIGIT_W, DIGIT_H)


def button_face(img, ox, oy):
    face_px = rounded(ox, oy, BUTTON_W, BUTTON_H, 6)
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
    face_px = rounded(ox, oy, BUTTON_W, BUTTON_H, 6)
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
    img = Image.new('RGBA', BUTTONS_SIZE, (0, 0, 0, 0))
    small = ImageFont.truetype(FONT_BOLD, 11)
    qfont = ImageFont.truetype(FONT_BOLD, 12)
    icons = {'pause': icon_pause, 'play': icon_play, 'exitToMenu': icon_exit, 'save': icon_save, 'load': icon_load,
             'finances': lambda d, x, y: icon_money(d, x, y, small), 'bulldoze': icon_bulldoze,
             'query': lambda d, x, y: icon_query(d, x, y, qfont), 'lobby': icon_lobby, 'floor': icon_floor}
    highlight(img, *button_cell('highlight')[:2])
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    for name in BUTTON_CELLS[1:]:
        ox, oy = button_cell(name)[:2]
        button_face(img, ox, oy)
        icons[name](d, ox, oy)
    return img


def make_icon(fn):
    img = Image.new('RGBA', (BUTTON_W, BUTTON_H), (0, 0, 0, 0))
    button_face(img, 0, 0)
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    d.font = ImageFont.truetype(FONT_BOLD, 10)
    fn(d, 0, 0)
    return img


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
    img = Image.new('RGBA', FLOORS_SIZE, (0, 0, 0, 0))
    font = ImageFont.truetype(FONT_BOLD, 12)
    d = ImageDraw.Draw(img)
    d.fontmode = '1'
    px = img.load()
    for k in range(10):
        x0, y0, w, h = digit(k)
        plate = rounded(x0, y0, w, h, 3)
        rim = rim_of(plate)
        for p in plate:
            px[p] = (24, 28, 38, 255) if p in rim else (54, 62, 80, 255)
        d.text((x0 + w // 2, y0 + h / 2 + 0.5), str(k), font=font, fill=(250, 246, 232), anchor='mm')
    for which, where in INDICATOR.items():
        floor_picture(img, where.x, where.y, which)
    return img
