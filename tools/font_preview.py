#!/usr/bin/python3
"""Draws the built-in glyph table as a picture, to judge it by eye.

Usage: font_preview.py OUTPUT.png [--font source/ui/font.cpp]
                       [--scale N] [--sample TEXT ...]

The picture shows the 256 glyphs in a 16x16 grid (row = high nibble,
column = low nibble), each scaled up.  Every --sample line is then drawn
twice with no gaps between cells, once at 1:1 as the game shows it and
once scaled up; runs of frame pieces in a sample show whether they join.
Sample text is read as code page 437, so box pieces and symbols can be
typed directly.
"""

import argparse
import os
import re
import sys

from PIL import Image, ImageDraw

CELL = 8
PAPER = (16, 20, 40)
INK = (235, 235, 210)
GRID = (70, 80, 110)
LABEL = (150, 160, 190)


def load_table(path):
    with open(path, encoding="ascii") as f:
        text = f.read()
    text = re.sub(r"/\*.*?\*/", "", text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    body = re.search(r"spf_font\s*\[\s*2048\s*\]\s*=\s*\{(.*?)\}", text,
                     flags=re.S)
    if not body:
        raise SystemExit("no glyph table found in %s" % path)
    values = [int(v, 0) for v in re.findall(r"0[xX][0-9a-fA-F]+|\d+",
                                              body.group(1))]
    if len(values) != 2048:
        raise SystemExit("expected 2048 bytes, found %d" % len(values))
    return values


def draw_glyph(img, table, code, left, top, scale):
    px = img.load()
    for row in range(CELL):
        bits = table[code * CELL + row]
        for col in range(CELL):
            if bits & (0x80 >> col):
                for dy in range(scale):
                    for dx in range(scale):
                        px[left + col * scale + dx,
                           top + row * scale + dy] = INK


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("output")
    ap.add_argument("--font", default=os.path.join(here, os.pardir,
                                                   "source", "ui", "font.cpp"))
    ap.add_argument("--scale", type=int, default=3)
    ap.add_argument("--sample", action="append", default=[])
    args = ap.parse_args(argv[1:])

    table = load_table(args.font)
    s = args.scale
    gap = 2
    margin = 14
    pitch = CELL * s + gap
    grid_w = 16 * pitch + gap
    samples = [t.encode("cp437") for t in args.sample]
    widest = max([len(t) for t in samples] + [0])
    sample_h = sum(CELL + 4 + CELL * s + 8 for _ in samples)
    width = margin + max(grid_w, widest * CELL * s) + 4
    height = margin + grid_w + 8 + sample_h

    img = Image.new("RGB", (width, height), PAPER)
    draw = ImageDraw.Draw(img)
    for n in range(16):
        draw.text((margin + gap + n * pitch + CELL * s // 2 - 3, 1),
                  "%X" % n, fill=LABEL)
        draw.text((2, margin + gap + n * pitch + CELL * s // 2 - 5),
                  "%X" % n, fill=LABEL)
    draw.rectangle([margin, margin, margin + grid_w - 1, margin + grid_w - 1],
                   fill=GRID)
    for code in range(256):
        left = margin + gap + (code % 16) * pitch
        top = margin + gap + (code // 16) * pitch
        draw.rectangle([left, top, left + CELL * s - 1, top + CELL * s - 1],
                       fill=PAPER)
        draw_glyph(img, table, code, left, top, s)

    y = margin + grid_w + 8
    for text in samples:
        for n, code in enumerate(text):
            draw_glyph(img, table, code, margin + n * CELL, y, 1)
        y += CELL + 4
        for n, code in enumerate(text):
            draw_glyph(img, table, code, margin + n * CELL * s, y, s)
        y += CELL * s + 8

    img.save(args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
