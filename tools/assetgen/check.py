"""Checks what the generator wrote: sizes and modes, the pictures' shapes
against the cell they stand on, the night pictures' coverage, the sounds'
format and loudness, the music, the settings file's list and the generated
header."""

import math
import os
import struct
import wave
import xml.etree.ElementTree as ET

from PIL import Image

from . import ROOT, geometry, music, people, service
from .audio import LOUDNESS_DB, PEAK_LIMIT, RATE, loudness_db
from .draw import convex_mask, diamond_mask
from .effects import SOUNDS
from .elevator import CAR_H, CAR_W, CAR_X, CAR_Y, CARS
from .interface import BUTTON_CELLS, BUTTON_H, BUTTON_W, button_cell
from .palette import CELL_H, CELL_W
from .sheets import NIGHT_SHEETS, images
from .tiles import CURSOR, SHADOW_ALPHA, TILES, WALL_H, WALL_W, WALLS
from .titles import APP_ICON_SIZES


def region(img, x, y, w, h):
    px = img.load()
    return [[px[x + i, y + j][3] > 0 for i in range(w)] for j in range(h)]


def check_diamond(dm, need):
    # the diamond must cover every pixel exactly once when tiled at (+-64, +-32)
    W, H = 5 * 128 + 128, 5 * 64 + 64
    count = [[0] * W for _ in range(H)]
    for a in range(-2, 8):
        for b in range(-2, 8):
            bx, by = (a - b) * 64 + 320, (a + b) * 32 - 64
            for y in range(64):
                for x in range(128):
                    if dm[y][x]:
                        X, Y = bx + x, by + y
                        if 0 <= X < W and 0 <= Y < H:
                            count[Y][X] += 1
    bad = sum(1 for y in range(64, H - 64) for x in range(128, W - 128) if count[y][x] != 1)
    need(bad == 0, 'diamond tiling leaves %d pixels not covered exactly once' % bad)
    need(sum(map(sum, dm)) == 128 * 64 // 2, 'diamond area is not half the box')


def check_cells(imgs, dm, need):
    t = imgs.get('assets/tiles.png')
    if t:
        for name, (x, y, w, h) in TILES.items():
            need(region(t, x, y, w, h) == dm, 'tile %s (%d,%d) is not the exact diamond' % (name, x, y))
        need(not any(any(r) for r in region(t, 256, 64, 128, 64)), 'tile (256,64) not transparent')
        sx, sy = TILES['shadow'][:2]
        a = {t.getpixel((sx + x, sy + y))[3] for y in range(CELL_H) for x in range(CELL_W) if dm[y][x]}
        need(a == {SHADOW_ALPHA}, 'shadow alpha not uniform 35%%: %s' % sorted(a))
    lb = imgs.get('assets/lobby.png')
    if lb:
        need(region(lb, 0, 0, 128, 64) == dm, 'lobby is not the exact diamond')
        need(all(lb.getpixel((x, y))[3] == 255 for y in range(64) for x in range(128) if dm[y][x]),
             'lobby must be opaque inside')
    c = imgs.get('assets/cursor.png')
    if c:
        for name, (x, y, w, h) in CURSOR.items():
            m = region(c, x, y, w, h)
            need(all(dm[j][i] or not m[j][i] for j in range(h) for i in range(w)),
                 'cursor %s (%d,%d) draws outside the diamond' % (name, x, y))
        need(all(region(c, *CURSOR[name]) == dm for name in ('buildable', 'refused')), 'cursor fill is not the diamond')

    wl = imgs.get('assets/walls.png')
    if wl:
        # each half is a parallelogram whose top edge rises or falls to the right
        rising = [(0, 32), (64, 0), (64, 64), (0, 96)]
        falling = [(0, 0), (64, 32), (64, 96), (0, 64)]
        pieces = {'backLeft': rising, 'backRight': falling, 'frontLeft': falling, 'frontRight': rising}
        for name, poly in pieces.items():
            x, y, w, h = WALLS[name]
            want = convex_mask(w, h, poly)
            need(region(wl, x, y, w, h) == want, name + ' wall is not its parallelogram')
            need(all(wl.getpixel((x + i, y + j))[3] == 255 for j in range(h) for i in range(w) if want[j][i]),
                 name + ' wall has holes')
        for name, (half_l, half_r) in {'back': ('backLeft', 'backRight'), 'front': ('frontLeft', 'frontRight')}.items():
            whole, a, b = WALLS[name], WALLS[half_l], WALLS[half_r]
            need((a.x, a.y, a.w + b.w, a.h) == tuple(whole) and b.x == a.x + a.w and b.y == a.y,
                 'the %s wall is not its two halves side by side' % name)
        back_y, front_y = WALLS['back'].y, WALLS['front'].y
        # back walls sit right on the cell's back edges: wall bottom + 1 == diamond top
        for x in range(1, 127):  # columns 0 and 127 belong to the neighbouring cells' diamonds
            col = [j for j in range(WALL_H) if wl.getpixel((x, back_y + j))[3]]
            top = min(j for j in range(64) if dm[j][x]) + 64
            need(col and max(col) + 1 == top, 'back wall column %d does not meet the floor' % x)
            # front walls stand on the front edges: wall bottom + 1 == diamond bottom + 1 (row below the cell)
            colf = [j for j in range(WALL_H) if wl.getpixel((x, front_y + j))[3]]
            bot = max(j for j in range(64) if dm[j][x]) + 32
            need(colf and max(colf) == bot, 'front wall column %d does not stand on the front edge' % x)
        need(WALL_W * 2 == CELL_W, 'two wall halves are not a cell wide')


def check_rooms(imgs, need):
    for rel, (w, h, n, poly) in {
        'assets/hotel1.png': (128, 128, 3, [(0, 32), (64, 0), (128, 32), (128, 96), (64, 128), (0, 96)]),
        'assets/hotel2.png': (192, 160, 2, [(0, 32), (64, 0), (192, 64), (192, 128), (128, 160), (0, 96)]),
        'assets/office.png': (256, 192, 2, [(0, 64), (128, 0), (256, 64), (256, 128), (128, 192), (0, 128)]),
    }.items():
        im = imgs.get(rel)
        if not im:
            continue
        allowed = convex_mask(w, h, poly)
        for k in range(n):
            m = region(im, 0, k * h, w, h)
            stray = sum(1 for j in range(h) for i in range(w) if m[j][i] and not allowed[j][i])
            need(stray == 0, '%s variant %d draws %d pixels outside the room' % (rel, k, stray))
            need(sum(map(sum, m)) > w * h // 4, '%s variant %d is nearly empty' % (rel, k))


def check_elevator(imgs, need):
    el = imgs.get('assets/elevator.png')
    if not el:
        return

    # the landing covers the 2 x 2 footprint; nothing pokes below its
    # front edges, so shaft and car stay in the footprint's column
    def low(x):
        return 192 - abs(x + 0.5 - 128) / 2.0
    foot = convex_mask(256, 192, [(128, 64), (256, 128), (128, 192), (0, 128)])
    need(all(el.getpixel((i, j))[3] == 255 for j in range(192) for i in range(256) if foot[j][i]),
         'elevator landing has holes')
    need(all(el.getpixel((i, j))[3] == 0 for j in range(192) for i in range(256) if j + 0.5 > low(i)),
         'elevator shaft draws below its footprint')
    for (x, y, _, _) in CARS.values():
        m = region(el, x, y, CAR_W, CAR_H)
        cols = {}
        for j in range(CAR_H):
            for i in range(CAR_W):
                if m[j][i]:
                    cols[i] = max(cols.get(i, -1), j)
        need(cols and all(j + CAR_Y + 0.5 <= low(i + CAR_X) for i, j in cols.items()),
             'car at (%d,%d) pokes out of the footprint' % (x, y))
        need(cols and min(low(i + CAR_X) - (j + CAR_Y + 0.5) for i, j in cols.items()) <= 4,
             'car at (%d,%d) does not stand on the front edge' % (x, y))
        need(cols and min(j for j in range(CAR_H) if any(m[j])) >= 0 and sum(map(sum, m)) > 2500,
             'car at (%d,%d) is too small' % (x, y))

    def picture(r):
        return list(el.crop((r.x, r.y, r.x + r.w, r.y + r.h)).getdata())
    need(picture(CARS['empty']) == picture(CARS['spareEmpty']), 'spare empty car differs')
    need(picture(CARS['full']) == picture(CARS['spareFull']), 'spare full car differs')


def check_interface(imgs, need):
    icons = tuple(k for k in imgs if '/icons/' in k)
    for rel in ('assets/buttons.png',) + icons:
        im = imgs.get(rel)
        if not im:
            continue
        for y0 in range(BUTTON_H if rel == 'assets/buttons.png' else 0, im.size[1], BUTTON_H):
            need(im.getpixel((BUTTON_W // 2, y0 + 1))[3] == 255 and im.getpixel((1, y0 + BUTTON_H // 2))[3] == 255,
                 '%s cell %d is not an opaque face' % (rel, y0))
    bt = imgs.get('assets/buttons.png')
    if bt:
        x, y, w, h = button_cell(BUTTON_CELLS[0])
        need(bt.getpixel((x + w // 2, y + h // 2))[3] < 80, 'highlight overlay is not see-through inside')
    for n in APP_ICON_SIZES:
        im = imgs.get('desktop/zentrova-%d.png' % n)
        if not im:
            continue
        corners = [im.getpixel((x, y))[3] for x in (0, n - 1) for y in (0, n - 1)]
        need(corners == [0, 0, 0, 0], 'app icon %d has opaque corners' % n)
        x0, y0, x1, y1 = im.getbbox()
        need(max(x1 - x0, y1 - y0) >= n * 0.9, 'app icon %d does not fill its square' % n)
    tm = imgs.get('assets/title_menu.png')
    if tm:
        busy = sum(1 for y in range(300, 370) for x in range(250, 350) if tm.getpixel((x, y))[3])
        need(busy == 0, 'menu plate area has %d drawn pixels' % busy)


def check_sounds(out, need):
    for rel in SOUNDS:
        path = os.path.join(out, rel)
        if not os.path.exists(path):
            need(False, 'missing ' + rel)
            continue
        with wave.open(path, 'rb') as w:
            need((w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getcomptype()) == (1, 2, RATE, 'NONE'),
                 rel + ' is not 16-bit mono 22050 Hz PCM')
            n = w.getnframes()
            data = struct.unpack('<%dh' % n, w.readframes(n))
        need(0.1 <= n / RATE <= 0.6, '%s lasts %.3f s' % (rel, n / RATE))
        peak = max(abs(v) for v in data) / 32767.0
        need(peak <= PEAK_LIMIT, '%s peaks at %.2f dBFS' % (rel, 20 * math.log10(peak)))
        level = loudness_db([v / 32767.0 for v in data])
        need(abs(level - LOUDNESS_DB) < 0.3, '%s loudness %.2f dB, want %.1f' % (rel, level, LOUDNESS_DB))
        need(abs(data[0]) < 64 and abs(data[-1]) < 64, rel + ' starts or ends with a click')
    music.check(out, need)


def check_config(need):
    cfg = os.path.join(ROOT, 'config.xml')
    if not os.path.exists(cfg):
        need(False, 'config.xml missing')
        return
    body = open(cfg).read().split('?>', 1)[1]
    kids = list(ET.fromstring('<r>' + body + '</r>'))
    # Five elements read by their place, then the optional ones read by their name.
    need([k.tag for k in kids][:5] == ['window', 'sound', 'required', 'plugins', 'background'] and
         all(k.tag in ('tower',) for k in kids[5:]),
         'config.xml elements are %s' % [k.tag for k in kids])
    for f in kids[2]:
        need(os.path.exists(os.path.join(ROOT, f.text.strip())), 'config lists missing ' + f.text)
    need(len(kids[4]) == 3, 'config background needs three colours')


def check(out):
    """Every problem found in what lies under out, as a list of messages."""
    problems = []

    def need(cond, msg):
        if not cond:
            problems.append(msg)

    # A night sheet is its day sheet in other light: the same pictures in the same places.
    for night, (day, _) in NIGHT_SHEETS.items():
        paths = [os.path.join(out, night), os.path.join(out, day)]
        if all(os.path.exists(p) for p in paths):
            a, b = (Image.open(p).convert('RGBA').getchannel('A').tobytes() for p in paths)
            need(a == b, night + ' does not cover exactly what ' + day + ' covers')

    imgs = {}
    for rel, (size, _) in images().items():
        path = os.path.join(out, rel)
        if not os.path.exists(path):
            need(False, 'missing ' + rel)
            continue
        img = Image.open(path)
        need(img.mode == 'RGBA', rel + ' is not RGBA')
        need(img.size == size, '%s is %s, want %s' % (rel, img.size, size))
        imgs[rel] = img.convert('RGBA')

    dm = diamond_mask()
    check_diamond(dm, need)
    check_cells(imgs, dm, need)
    check_rooms(imgs, need)
    check_elevator(imgs, need)
    check_interface(imgs, need)
    people.check(imgs, need)
    if imgs.get('assets/service.png'):
        service.check(imgs['assets/service.png'], need)
    geometry.check(out, need)
    check_sounds(out, need)
    check_config(need)
    return problems
