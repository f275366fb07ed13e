#!/usr/bin/python3
"""Draws every picture and sound Zentrova loads and writes the sheets'
geometry header (the drawing lives in the assetgen package beside this file).

Run from anywhere:  /usr/bin/python3 tools/gen_assets.py [--out DIR] [--check [--generate]]
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from assetgen.cli import main  # noqa: E402  (the path above finds it)

if __name__ == '__main__':
    sys.exit(main())
