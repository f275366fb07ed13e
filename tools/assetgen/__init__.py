"""Draws every picture and sound Zentrova loads, and writes the sheets'
geometry as a C++ header; tools/gen_assets.py runs it.

All output is deterministic (noise comes from integer hashes and a seeded
xorshift generator, PNGs carry no metadata) so regenerating the assets never
shows up as a binary diff unless the drawing code changed.

The modules: palette (colours, the cell's size, the looks), draw (shared
drawing helpers), surfaces (walls and facades), tiles (ground tiles, cursor,
walls), furniture, rooms, elevator, interface (buttons, icons, storey
indicator), titles (titles and application icon), people, night (the night
look), sheets (the list of pictures), geometry (the C++ header), audio (what
effects and music share), effects, music, check, and cli (the command line).
"""

import os

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
