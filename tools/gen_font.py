#!/usr/bin/python3
"""Builds source/ui/font.cpp, the game's built-in 8x8 glyph table.

Usage: gen_font.py [OUTPUT]   (default: source/ui/font.cpp next to this tool)

The table has one glyph per byte value, laid out like the classic PC
character set (code page 437), so text can carry card suits, arrows,
accented letters and frame pieces in a single byte each.

Where the glyphs come from:
  * printable ASCII and most symbols are drawn by hand below as text
    pictures ('#' = ink, '.' = paper), 8 rows of 8 columns;
  * frame pieces, shades and block elements are computed, so that they
    join without gaps from cell to cell;
  * accented letters are our own base letters plus small accent marks,
    picked from the Unicode decomposition of each character;
  * a handful of glyphs are mirror images, rotations or inversions of
    others (arrows, triangles, inverted punctuation).

Design rules for the hand-drawn letters: capitals are 7 rows tall
(rows 0-6, baseline on row 6), the x-height is rows 2-6, row 7 holds
descenders, and column 7 stays blank so neighbouring letters never touch.
Output depends only on this file, so running it twice gives identical
bytes.
"""

import os
import sys
import unicodedata

CELL = 8

# ---------------------------------------------------------------------------
# Hand-drawn glyphs.  Each block is a row of labels followed by 8 picture
# rows; a label is the character itself, or SP for the space.

ASCII_ART = r"""
SP       !        "        #        $        %        &        '
........ ..#..... .#.#.... .#.#.... ..#..... ##...#.. .##..... ..#.....
........ ..#..... .#.#.... .#.#.... .####... ##..#... #..#.... ..#.....
........ ..#..... ........ #####... #.#..... ...#.... #.#..... ........
........ ..#..... ........ .#.#.... .###.... ..#..... .#...... ........
........ ..#..... ........ #####... ..#.#... .#...... #.#.#... ........
........ ........ ........ .#.#.... ####.... #...##.. #..#.... ........
........ ..#..... ........ .#.#.... ..#..... ....##.. .##.#... ........
........ ........ ........ ........ ........ ........ ........ ........

(        )        *        +        ,        -        .        /
...#.... .#...... ........ ........ ........ ........ ........ ....#...
..#..... ..#..... ..#..... ..#..... ........ ........ ........ ....#...
.#...... ...#.... #.#.#... ..#..... ........ ........ ........ ...#....
.#...... ...#.... .###.... #####... ........ #####... ........ ..#.....
.#...... ...#.... #.#.#... ..#..... ........ ........ ........ .#......
..#..... ..#..... ..#..... ..#..... ........ ........ ........ #.......
...#.... .#...... ........ ........ ..#..... ........ ..#..... #.......
........ ........ ........ ........ .#...... ........ ........ ........

0        1        2        3        4        5        6        7
.####... ..#..... .####... .####... ...##... ######.. ..###... ######..
#....#.. .##..... #....#.. #....#.. ..#.#... #....... .#...... .....#..
#...##.. #.#..... .....#.. .....#.. .#..#... #####... #....... ....#...
#..#.#.. ..#..... ...##... ..###... #...#... .....#.. #####... ...#....
#.#..#.. ..#..... .##..... .....#.. ######.. .....#.. #....#.. ..#.....
##...#.. ..#..... #....... #....#.. ....#... #....#.. #....#.. ..#.....
.####... #####... ######.. .####... ....#... .####... .####... ..#.....
........ ........ ........ ........ ........ ........ ........ ........

8        9        :        ;        <        =        >        ?
.####... .####... ........ ........ ........ ........ ........ .####...
#....#.. #....#.. ........ ........ ...##... ........ ##...... #....#..
#....#.. #....#.. ..#..... ..#..... .##..... #####... ..##.... .....#..
.####... .#####.. ........ ........ #....... ........ ....#... ...##...
#....#.. .....#.. ........ ........ .##..... #####... ..##.... ..#.....
#....#.. ....#... ........ ........ ...##... ........ ##...... ........
.####... .###.... ..#..... ..#..... ........ ........ ........ ..#.....
........ ........ ........ .#...... ........ ........ ........ ........

@        A        B        C        D        E        F        G
.####... ..##.... #####... .####... ####.... ######.. ######.. .####...
#....#.. .#..#... #....#.. #....#.. #...#... #....... #....... #....#..
#..###.. #....#.. #....#.. #....... #....#.. #....... #....... #.......
#.#..#.. #....#.. #####... #....... #....#.. #####... #####... #..###..
#..###.. ######.. #....#.. #....... #....#.. #....... #....... #....#..
#....... #....#.. #....#.. #....#.. #...#... #....... #....... #....#..
.####... #....#.. #####... .####... ####.... ######.. #....... .####...
........ ........ ........ ........ ........ ........ ........ ........

H        I        J        K        L        M        N        O
#....#.. .###.... .....#.. #....#.. #....... #....#.. #....#.. .####...
#....#.. ..#..... .....#.. #...#... #....... ##..##.. ##...#.. #....#..
#....#.. ..#..... .....#.. #..#.... #....... #.##.#.. #.#..#.. #....#..
######.. ..#..... .....#.. ###..... #....... #....#.. #..#.#.. #....#..
#....#.. ..#..... #....#.. #..#.... #....... #....#.. #...##.. #....#..
#....#.. ..#..... #....#.. #...#... #....... #....#.. #....#.. #....#..
#....#.. .###.... .####... #....#.. ######.. #....#.. #....#.. .####...
........ ........ ........ ........ ........ ........ ........ ........

P        Q        R        S        T        U        V        W
#####... .####... #####... .####... #####... #....#.. #....#.. #....#..
#....#.. #....#.. #....#.. #....#.. ..#..... #....#.. #....#.. #....#..
#....#.. #....#.. #....#.. #....... ..#..... #....#.. #....#.. #....#..
#####... #....#.. #####... .####... ..#..... #....#.. #....#.. #....#..
#....... #..#.#.. #..#.... .....#.. ..#..... #....#.. .#..#... #.##.#..
#....... #...#... #...#... #....#.. ..#..... #....#.. .#..#... ##..##..
#....... .###.#.. #....#.. .####... ..#..... .####... ..##.... #....#..
........ ........ ........ ........ ........ ........ ........ ........

X        Y        Z        [        \        ]        ^        _
#....#.. #...#... ######.. .###.... #....... .###.... ..#..... ........
#....#.. #...#... .....#.. .#...... #....... ...#.... .#.#.... ........
.#..#... .#.#.... ....#... .#...... .#...... ...#.... #...#... ........
..##.... ..#..... ...#.... .#...... ..#..... ...#.... ........ ........
.#..#... ..#..... ..#..... .#...... ...#.... ...#.... ........ ........
#....#.. ..#..... .#...... .#...... ....#... ...#.... ........ ........
#....#.. ..#..... ######.. .###.... ....#... .###.... ........ ........
........ ........ ........ ........ ........ ........ ........ #######.

`        a        b        c        d        e        f        g
.#...... ........ #....... ........ .....#.. ........ ...##... ........
..#..... ........ #....... ........ .....#.. ........ ..#..... ........
........ .####... #####... .####... .#####.. .####... #####... .#####..
........ .....#.. #....#.. #....... #....#.. #....#.. ..#..... #....#..
........ .#####.. #....#.. #....... #....#.. ######.. ..#..... #....#..
........ #....#.. #....#.. #....... #....#.. #....... ..#..... .#####..
........ .#####.. #####... .####... .#####.. .####... ..#..... .....#..
........ ........ ........ ........ ........ ........ ........ .####...

h        i        j        k        l        m        n        o
#....... ..#..... ....#... #....... .##..... ........ ........ ........
#....... ........ ........ #....... ..#..... ........ ........ ........
#####... .##..... ...##... #...#... ..#..... ###.##.. #####... .####...
#....#.. ..#..... ....#... #..#.... ..#..... #..#..#. #....#.. #....#..
#....#.. ..#..... ....#... ###..... ..#..... #..#..#. #....#.. #....#..
#....#.. ..#..... ....#... #..#.... ..#..... #..#..#. #....#.. #....#..
#....#.. .###.... #...#... #...#... ...##... #..#..#. #....#.. .####...
........ ........ .###.... ........ ........ ........ ........ ........

p        q        r        s        t        u        v        w
........ ........ ........ ........ ..#..... ........ ........ ........
........ ........ ........ ........ ..#..... ........ ........ ........
#####... .#####.. #.###... .#####.. #####... #....#.. #....#.. #....#..
#....#.. #....#.. ##...#.. #....... ..#..... #....#.. #....#.. #....#..
#....#.. #....#.. #....... .####... ..#..... #....#.. .#..#... #....#..
#####... .#####.. #....... .....#.. ..#..#.. #....#.. .#..#... #.##.#..
#....... .....#.. #....... #####... ...##... .#####.. ..##.... .#..#...
#....... .....#.. ........ ........ ........ ........ ........ ........

x        y        z        {        |        }        ~
........ ........ ........ ...##... ..#..... ##...... ........
........ ........ ........ ..#..... ..#..... ..#..... ........
#....#.. #....#.. ######.. ..#..... ..#..... ..#..... .##..#..
.#..#... #....#.. ....#... .#...... ..#..... ...#.... #..##...
..##.... #....#.. ..##.... ..#..... ..#..... ..#..... ........
.#..#... .#####.. .#...... ..#..... ..#..... ..#..... ........
#....#.. .....#.. ######.. ...##... ..#..... ##...... ........
........ .####... ........ ........ ..#..... ........ ........
"""

# Pictograms of the low control codes and the few letters and signs above
# 127 that are not simply accented letters.  These may use the whole cell.
SYMBOL_ART = r"""
☺        ☻        ♥        ♦        ♣        ♠        •        ○
..####.. ..####.. ........ ...#.... ..###... ...#.... ........ ........
.#....#. .######. .##.##.. ..###... ..###... ..###... ........ ..####..
#.#..#.# ##.##.## #######. .#####.. ##.#.##. .#####.. ...##... .##..##.
#......# ######## #######. #######. #######. #######. ..####.. .#....#.
#.#..#.# ##.##.## .#####.. .#####.. ##.#.##. ##.#.##. ..####.. .#....#.
#..##..# ###..### ..###... ..###... ...#.... ...#.... ...##... .##..##.
.#....#. .######. ...#.... ...#.... ..###... ..###... ........ ..####..
..####.. ..####.. ........ ........ ........ ........ ........ ........

♂        ♀        ♪        ♫        ☼        ▲        ↑        ‼
.....### ..###... ...###.. ..###### #..#..#. ........ ...#.... .#..#...
......## .#...#.. ...#.##. ..###### .#.#.#.. ........ ..###... .#..#...
.....#.# .#...#.. ...#..#. ..#....# ..###... ...#.... .#.#.#.. .#..#...
.####... .#...#.. ...#.... ..#....# ###.###. ..###... #..#..#. .#..#...
#...#... ..###... ...#.... ..#....# ..###... .#####.. ...#.... .#..#...
#...#... ...#.... .###.... ###..### .#.#.#.. #######. ...#.... ........
#...#... .#####.. ####.... ###..### #..#..#. ........ ...#.... .#..#...
.###.... ...#.... .##..... ........ ........ ........ ........ ........

↕        ¶        §        ▬        ∟        ⌂
...#.... .#####.. .###.... ........ ........ ...#....
..###... ####.#.. #....... ........ ........ ..#.#...
.#.#.#.. ####.#.. .###.... ........ #....... .#...#..
...#.... .###.#.. #...#... ........ #....... #.....#.
.#.#.#.. ...#.#.. .###.... #######. #....... #.....#.
..###... ...#.#.. ....#... #######. ######.. #.....#.
...#.... ...#.#.. .###.... #######. ........ #######.
........ ........ ........ ........ ........ ........

¢        £        ¥        ₧        ƒ        ª        º        ¬
..#..... ..###... #...#... ###..... ....##.. .###.... .###.... ........
.####... .#...#.. .#.#.... #..#.#.. ...#.... ....#... #...#... ........
#.#..... .#...... ..#..... #..####. ...#.... .####... #...#... ........
#.#..... ####.... #####... ###..#.. .#####.. #...#... #...#... ######..
#.#..... .#...... ..#..... #....#.. ...#.... .####... .###.... .....#..
.####... .#...... #####... #....#.# ...#.... ........ ........ .....#..
..#..... ######.. ..#..... #.....#. ..#..... #####... #####... ........
........ ........ ........ ........ ##...... ........ ........ ........

æ        Æ        «        ½        ¼
........ .######. ........ .#....#. .#....#.
........ #..#.... ..#..#.. ##...#.. ##...#..
.##.##.. #..#.... .#..#... .#..#... .#..#...
...#..#. #######. #..#.... .#.#.... .#.#....
.######. #..#.... .#..#... ..#..##. ..#..#.#
#..#.... #..#.... ..#..#.. .#.....# .#...#.#
.##.###. #..####. ........ #.....#. #....###
........ ........ ........ .....### .......#

α        ß        Γ        π        Σ        σ        µ        τ
........ .###.... ######.. ........ ######.. ........ ........ ........
........ #...#... #....... ........ #....... ........ ........ ........
.###.#.. #...#... #....... ######.. .#...... .#####.. #....#.. .#####..
#...#... #.##.... #....... .#..#... ..#..... #...#... #....#.. #..#....
#...#... #...#... #....... .#..#... .#...... #...#... #....#.. ...#....
#...#... #....#.. #....... .#..#... #....... #...#... #...##.. ...#....
.###.#.. #.###... #....... .#..#... ######.. .###.... ####.#.. ....##..
........ #....... ........ ........ ........ ........ #....... ........

Φ        Θ        Ω        δ        ∞        φ        ε        ∩
...#.... .####... .####... ..###... ........ ........ ........ ........
.#####.. #....#.. #....#.. .#...... ........ .....#.. ........ .####...
#..#..#. #....#.. #....#.. ..##.... .##.##.. .####... .####... #....#..
#..#..#. ######.. #....#.. .#..#... #..#..#. #..#.#.. #....... #....#..
#..#..#. #....#.. .#..#... #....#.. #..#..#. #.#..#.. ####.... #....#..
.#####.. #....#.. .#..#... #....#.. .##.##.. .####... #....... #....#..
...#.... .####... ##..##.. .####... ........ #....... .####... #....#..
........ ........ ........ ........ ........ ........ ........ ........

≡        ±        ⌠        ⌡        ÷        ≈        °        ∙
........ ..#..... ....##.. ...#.... ........ ........ .##..... ........
######.. ..#..... ...#..#. ...#.... ..#..... .##..#.. #..#.... ........
........ #####... ...#.... ...#.... ........ #..##... #..#.... ........
######.. ..#..... ...#.... ...#.... #####... ........ .##..... ..##....
........ ..#..... ...#.... ...#.... ........ .##..#.. ........ ..##....
######.. ........ ...#.... ...#.... ..#..... #..##... ........ ........
........ #####... ...#.... #..#.... ........ ........ ........ ........
........ ........ ...#.... .##..... ........ ........ ........ ........

·        √        ⁿ        ²        ■
........ ....#### ........ .##..... ........
........ ....#... ###..... ...#.... ........
........ ....#... #..#.... ..#..... ..####..
..#..... ....#... #..#.... .#...... ..####..
........ #..#.... #..#.... .###.... ..####..
........ .#.#.... ........ ........ ..####..
........ ..#..... ........ ........ ........
........ ........ ........ ........ ........
"""

# Accent marks, drawn in two variants: one centred between two columns
# (for letters of even width) and one centred on a column (odd width).
# Each entry: (rows, centre column of the picture).  Marks above the letter
# start at row 0; the cedilla hangs below it on row 7.
ACCENTS_ABOVE = {
    'grave': {
        'even': (["..#...", "...#.."], 2.5),
        'odd': ([".#...", "..#.."], 2),
    },
    'acute': {
        'even': (["...#..", "..#..."], 2.5),
        'odd': (["...#.", "..#.."], 2),
    },
    # A circumflex or tilde resting on the letter would close up with it
    # (u with a hat reads as o), so these keep a blank row beneath and the
    # letter gets squeezed instead.
    'circumflex': {
        'even': (["..##..", ".#..#.", "......"], 2.5),
        'odd': (["..#..", ".#.#.", "....."], 2),
    },
    'tilde': {
        'even': ([".##..#", "#..##.", "......"], 2.5),
    },
    'diaeresis': {
        'even': ([".#..#.", "......"], 2.5),
        'odd': ([".#.#.", "....."], 2),
    },
    # Three rows: a ring needs a closed bottom of its own.
    'ring': {
        'even': (["..##..", ".#..#.", "..##.."], 2.5),
    },
}
ACCENTS_BELOW = {
    'cedilla': {
        'even': (["..##.."], 2.5),
        'odd': (["..##."], 2),
    },
}
COMBINING = {
    '\u0300': 'grave', '\u0301': 'acute', '\u0302': 'circumflex',
    '\u0303': 'tilde', '\u0308': 'diaeresis', '\u030a': 'ring',
    '\u0327': 'cedilla',
}

# When an accent has to sit above a capital (or the ring above a small
# letter), the letter is squeezed by keeping only these of its rows.
# Rows are counted from the letter's own top row.
SQUEEZE_ROWS = {
    ('A', 5): (0, 1, 2, 4, 5),
    ('E', 5): (0, 1, 3, 4, 6),
    ('N', 4): (1, 2, 3, 4),
    ('O', 5): (0, 1, 2, 3, 6),
    ('U', 5): (0, 1, 2, 3, 6),
    ('a', 4): (0, 2, 3, 4),
    ('e', 4): (0, 2, 3, 4),
    ('i', 4): (0, 1, 2, 4),
    ('n', 4): (0, 1, 2, 4),
    ('o', 4): (0, 1, 2, 4),
    ('u', 4): (0, 1, 2, 4),
}

# Codes 1-31 and 127 show pictograms instead of acting as control codes.
LOW_CODES = "☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼"
HOUSE = "⌂"

# ---------------------------------------------------------------------------
# Glyphs are handled as a list of 8 rows, each a list of 8 booleans.


def blank():
    return [[False] * CELL for _ in range(CELL)]


def copy(g):
    return [row[:] for row in g]


def from_picture(rows):
    if len(rows) != CELL or any(len(r) != CELL for r in rows):
        raise ValueError("picture is not 8x8: %r" % (rows,))
    if any(ch not in ".#" for r in rows for ch in r):
        raise ValueError("picture has stray characters: %r" % (rows,))
    return [[ch == '#' for ch in r] for r in rows]


def to_bytes(g):
    out = []
    for row in g:
        b = 0
        for x, on in enumerate(row):
            if on:
                b |= 0x80 >> x
        out.append(b)
    return out


def ink_box(g):
    """Bounding box of the ink as (x0, y0, x1, y1), inclusive."""
    xs = [x for row in g for x, on in enumerate(row) if on]
    ys = [y for y, row in enumerate(g) if any(row)]
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def flip_h(g):
    """Mirror left-right within the ink's own columns."""
    x0, _, x1, _ = ink_box(g)
    out = blank()
    for y in range(CELL):
        for x in range(x0, x1 + 1):
            out[y][x0 + x1 - x] = g[y][x]
    return out


def flip_v(g):
    """Mirror top-bottom within the ink's own rows."""
    _, y0, _, y1 = ink_box(g)
    out = copy(g)
    for y in range(y0, y1 + 1):
        out[y0 + y1 - y] = g[y][:]
    return out


def turn_half(g):
    return flip_v(flip_h(g))


def turn_right(g, size=7):
    """Quarter turn clockwise of the size x size square at the top left."""
    out = blank()
    for y in range(size):
        for x in range(size):
            if g[y][x]:
                out[x][size - 1 - y] = True
    return out


def shift(g, dx, dy):
    out = blank()
    for y in range(CELL):
        for x in range(CELL):
            if g[y][x]:
                nx, ny = x + dx, y + dy
                if not (0 <= nx < CELL and 0 <= ny < CELL):
                    raise ValueError("shift pushes ink out of the cell")
                out[ny][nx] = True
    return out


def invert(g):
    return [[not on for on in row] for row in g]


def union(a, b):
    return [[p or q for p, q in zip(ra, rb)] for ra, rb in zip(a, b)]


def transpose(g):
    return [[g[x][y] for x in range(CELL)] for y in range(CELL)]


# ---------------------------------------------------------------------------
# Reading the hand-drawn sheets.


def parse_sheet(text):
    glyphs = {}
    lines = text.strip("\n").split("\n")
    i = 0
    while i < len(lines):
        if not lines[i].strip():
            i += 1
            continue
        labels = lines[i].split()
        rows = [line.split() for line in lines[i + 1:i + 1 + CELL]]
        if len(rows) != CELL or any(len(r) != len(labels) for r in rows):
            raise ValueError("malformed block under: %s" % lines[i])
        for n, label in enumerate(labels):
            ch = ' ' if label == 'SP' else label
            if len(ch) != 1:
                raise ValueError("bad label %r" % label)
            if ch in glyphs:
                raise ValueError("glyph %r drawn twice" % ch)
            glyphs[ch] = from_picture([r[n] for r in rows])
        i += 1 + CELL
    return glyphs


# ---------------------------------------------------------------------------
# Frame pieces.  A single line runs along column/row 3; a double line uses
# columns/rows 2 and 4.  Every arm runs to the cell edge, so neighbouring
# pieces meet exactly.

SINGLE_AT = 3
DOUBLE_AT = (2, 4)


def box_arms(name):
    """Weights of the up/down/left/right arms from a Unicode box name."""
    words = name[len("BOX DRAWINGS "):]
    weights = {'LIGHT': 1, 'SINGLE': 1, 'DOUBLE': 2}
    sides = {'UP': 'U', 'DOWN': 'D', 'LEFT': 'L', 'RIGHT': 'R',
             'VERTICAL': 'UD', 'HORIZONTAL': 'LR'}
    arms = {'U': 0, 'D': 0, 'L': 0, 'R': 0}
    default = None
    for n, part in enumerate(words.split(" AND ")):
        tokens = part.split()
        if n == 0 and tokens[0] in weights:
            default = weights[tokens.pop(0)]
        weight = default
        if tokens[-1] in weights:
            weight = weights[tokens.pop()]
        if len(tokens) != 1 or tokens[0] not in sides or weight is None:
            raise ValueError("cannot read box piece %r" % name)
        for side in sides[tokens[0]]:
            arms[side] = weight
    return arms


def hline(g, y, x0, x1):
    for x in range(x0, x1 + 1):
        g[y][x] = True


def vline(g, x, y0, y1):
    for y in range(y0, y1 + 1):
        g[y][x] = True


def box_single(arms):
    g = blank()
    c = SINGLE_AT
    g[c][c] = True
    if arms['U']:
        vline(g, c, 0, c)
    if arms['D']:
        vline(g, c, c, CELL - 1)
    if arms['L']:
        hline(g, c, 0, c)
    if arms['R']:
        hline(g, c, c, CELL - 1)
    return g


def box_double(arms):
    """Outline of the union of 3-pixel-wide pipes: this gives the proper
    corners and tees of double lines with no line crossing another."""
    m = 3  # margin so the pipe ends fall outside the cell
    size = CELL + 2 * m
    lo, hi = DOUBLE_AT[0] + m, DOUBLE_AT[1] + m
    inside = [[False] * size for _ in range(size)]
    for y in range(lo, hi + 1):
        for x in range(lo, hi + 1):
            inside[y][x] = True
    for y in range(size):
        for x in range(size):
            in_v = lo <= x <= hi
            in_h = lo <= y <= hi
            if ((arms['U'] and in_v and y < lo) or
                    (arms['D'] and in_v and y > hi) or
                    (arms['L'] and in_h and x < lo) or
                    (arms['R'] and in_h and x > hi)):
                inside[y][x] = True
    g = blank()
    for y in range(CELL):
        for x in range(CELL):
            sy, sx = y + m, x + m
            if not inside[sy][sx]:
                continue
            edge = any(not inside[sy + dy][sx + dx]
                       for dy in (-1, 0, 1) for dx in (-1, 0, 1))
            g[y][x] = edge
    return g


def box_single_across_double(arms):
    """Single vertical arms meeting double horizontal ones."""
    g = blank()
    c = SINGLE_AT
    near, far = DOUBLE_AT
    for y in DOUBLE_AT:
        if arms['L']:
            hline(g, y, 0, c)
        if arms['R']:
            hline(g, y, c, CELL - 1)
    both_sides = arms['L'] and arms['R']
    if arms['U'] and arms['D']:
        vline(g, c, 0, CELL - 1)
    elif arms['U']:
        vline(g, c, 0, near if both_sides else far)
    elif arms['D']:
        vline(g, c, far if both_sides else near, CELL - 1)
    return g


def box_glyph(name):
    arms = box_arms(name)
    vertical = {arms['U'], arms['D']} - {0}
    horizontal = {arms['L'], arms['R']} - {0}
    if 2 not in vertical and 2 not in horizontal:
        return box_single(arms)
    if 1 not in vertical and 1 not in horizontal:
        return box_double(arms)
    if vertical <= {1} and horizontal == {2}:
        return box_single_across_double(arms)
    if vertical == {2} and horizontal <= {1}:
        swapped = {'U': arms['L'], 'D': arms['R'],
                   'L': arms['U'], 'R': arms['D']}
        return transpose(box_single_across_double(swapped))
    raise ValueError("no rule for box piece %r" % name)


# ---------------------------------------------------------------------------
# Shades and block elements.  The shade patterns repeat every 2 or 4
# pixels, so a run of cells reads as one even tone.


def shade(level):
    g = blank()
    for y in range(CELL):
        for x in range(CELL):
            if level == 1:
                g[y][x] = x % 4 == (0 if y % 2 == 0 else 2)
            elif level == 2:
                g[y][x] = (x + y) % 2 == 0
            else:
                g[y][x] = x % 4 != (0 if y % 2 == 0 else 2)
    return g


def block(x0, y0, x1, y1):
    g = blank()
    for y in range(y0, y1 + 1):
        hline(g, y, x0, x1)
    return g


BLOCKS = {
    'FULL BLOCK': lambda: block(0, 0, 7, 7),
    'UPPER HALF BLOCK': lambda: block(0, 0, 7, 3),
    'LOWER HALF BLOCK': lambda: block(0, 4, 7, 7),
    'LEFT HALF BLOCK': lambda: block(0, 0, 3, 7),
    'RIGHT HALF BLOCK': lambda: block(4, 0, 7, 7),
    'LIGHT SHADE': lambda: shade(1),
    'MEDIUM SHADE': lambda: shade(2),
    'DARK SHADE': lambda: shade(3),
}


# ---------------------------------------------------------------------------
# Accented letters.


def squeeze(letter, g, rows_wanted):
    """Fit the letter into fewer rows, keeping its baseline."""
    _, y0, _, y1 = ink_box(g)
    if y1 - y0 + 1 <= rows_wanted:
        return copy(g)
    keep = SQUEEZE_ROWS.get((letter, rows_wanted))
    if keep is None:
        raise ValueError("no squeezed form of %r in %d rows"
                         % (letter, rows_wanted))
    out = blank()
    top = y1 - rows_wanted + 1
    for n, row in enumerate(keep):
        out[top + n] = g[y0 + row][:]
    return out


def place_mark(rows, mark_centre, letter_centre, y0):
    """Draw a mark picture so its centre lies over the letter's centre."""
    dx = int(letter_centre - mark_centre)
    g = blank()
    for y, line in enumerate(rows):
        for x, ch in enumerate(line):
            if ch == '#':
                g[y0 + y][x + dx] = True
    return g


def pick_variant(table, accent, centre):
    variants = table[accent]
    kind = 'even' if centre != int(centre) else 'odd'
    if kind not in variants:
        raise ValueError("no %s-width %s accent" % (kind, accent))
    return variants[kind]


def compose(base_ch, base, accent):
    x0, _, x1, y1 = ink_box(base)
    centre = (x0 + x1) / 2
    if accent in ACCENTS_BELOW:
        rows, mark_centre = pick_variant(ACCENTS_BELOW, accent, centre)
        if y1 + len(rows) >= CELL:
            raise ValueError("no room below %r" % base_ch)
        mark = place_mark(rows, mark_centre, centre, y1 + 1)
        return union(base, mark)
    rows, mark_centre = pick_variant(ACCENTS_ABOVE, accent, centre)
    mark = place_mark(rows, mark_centre, centre, 0)
    height = y1 - ink_box(base)[1] + 1
    below = len(rows)
    # The letter normally starts just below the mark, squeezed if it has
    # to be.  It may instead share the mark's last row when its own top
    # row is exactly that row (a ring resting on the apex of an A), which
    # spares the letter one row of squeezing.
    tops = [below - 1, below] if any(mark[below - 1]) else [below]
    for top in tops:
        rows_left = y1 - top + 1
        if height > rows_left and (base_ch, rows_left) not in SQUEEZE_ROWS:
            continue
        letter = squeeze(base_ch, base, rows_left)
        if top < below and letter[top] != mark[top]:
            continue
        return union(letter, mark)
    raise ValueError("no room for a %s over %r" % (accent, base_ch))


def accented(ch, glyphs):
    parts = unicodedata.decomposition(ch).split()
    if len(parts) != 2 or parts[0].startswith('<'):
        return None
    base_ch, mark_ch = (chr(int(p, 16)) for p in parts)
    accent = COMBINING.get(mark_ch)
    if accent is None or base_ch not in glyphs:
        return None
    base = glyphs[base_ch]
    if base_ch in 'ij':
        # The accent takes the place of the dot.
        base = copy(base)
        base[0] = [False] * CELL
    return compose(base_ch, base, accent)


# ---------------------------------------------------------------------------
# Glyphs made from other glyphs.


def add_base_line(g):
    g = copy(g)
    x0, _, x1, _ = ink_box(g)
    hline(g, CELL - 1, x0, x1)
    return g


def or_equal(g):
    """Lift a comparison sign by one row and underline it."""
    g = shift(g, 0, -1)
    x0, _, x1, _ = ink_box(g)
    hline(g, CELL - 2, x0, x1)
    return g


DERIVED = {
    '◘': lambda G: invert(G['•']),
    '◙': lambda G: invert(G['○']),
    '↓': lambda G: flip_v(G['↑']),
    '→': lambda G: turn_right(G['↑']),
    '←': lambda G: flip_h(turn_right(G['↑'])),
    '↔': lambda G: turn_right(G['↕']),
    '↨': lambda G: add_base_line(G['↕']),
    '►': lambda G: turn_right(G['▲']),
    '◄': lambda G: flip_h(turn_right(G['▲'])),
    '▼': lambda G: flip_v(G['▲']),
    '¿': lambda G: turn_half(G['?']),
    '¡': lambda G: turn_half(G['!']),
    '⌐': lambda G: flip_h(G['¬']),
    '»': lambda G: flip_h(G['«']),
    '≥': lambda G: or_equal(G['>']),
    '≤': lambda G: or_equal(G['<']),
}


# ---------------------------------------------------------------------------


def code_char(code):
    """The character each byte value stands for in the table."""
    if code == 0:
        return None
    if 1 <= code <= 31:
        return LOW_CODES[code - 1]
    if code == 127:
        return HOUSE
    return bytes([code]).decode('cp437')


def build():
    glyphs = parse_sheet(ASCII_ART)
    for ch, g in parse_sheet(SYMBOL_ART).items():
        if ch in glyphs:
            raise ValueError("glyph %r drawn twice" % ch)
        glyphs[ch] = g
    for ch, g in glyphs.items():
        if ' ' <= ch <= '~' and any(row[CELL - 1] for row in g):
            raise ValueError("%r inks the spacing column" % ch)
    for ch, make in DERIVED.items():
        glyphs[ch] = make(glyphs)

    table = []
    for code in range(256):
        ch = code_char(code)
        if ch is None or ch == '\u00a0':
            g = blank()
        elif ch in glyphs:
            g = glyphs[ch]
        else:
            name = unicodedata.name(ch, '')
            if name.startswith("BOX DRAWINGS "):
                g = box_glyph(name)
            elif name in BLOCKS:
                g = BLOCKS[name]()
            else:
                g = accented(ch, glyphs)
                if g is None:
                    raise ValueError("no glyph for code 0x%02X (%s)"
                                     % (code, name or '?'))
        table.append((code, ch, to_bytes(g)))
    return table


def describe(code, ch):
    if ch is None:
        return "0x%02X" % code
    if ' ' <= ch <= '~':
        return "0x%02X '%s'" % (code, ch)
    if ch == '\u00a0':
        return "0x%02X NO-BREAK SPACE" % code
    return "0x%02X U+%04X %s" % (code, ord(ch), unicodedata.name(ch))


def render(table):
    out = [
        "// Generated by tools/gen_font.py; edit the tool, not this file.",
        '#include "font.h"',
        "namespace {",
        "const unsigned char spf_font[2048] = {",
    ]
    for code, ch, data in table:
        values = ", ".join("0x%02X" % b for b in data)
        out.append("    %s, /* %s */" % (values, describe(code, ch)))
    out += [
        "};",
        "}",
        "const unsigned char* FNT_GetFont() { return spf_font; }",
        "",
    ]
    return "\n".join(out)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    path = argv[1] if len(argv) > 1 else os.path.join(
        here, os.pardir, "source", "ui", "font.cpp")
    text = render(build())
    with open(path, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
