"""The command line: writes every asset and the geometry header, checks them,
or both."""

import argparse
import os

from . import ROOT, geometry, music
from .check import check
from .effects import SOUNDS, write_wav
from .sheets import images


def generate(out):
    for rel, (size, make) in images().items():
        path = os.path.join(out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        img = make()
        assert img.mode == 'RGBA' and img.size == size, rel
        img.save(path)
    for rel, make in SOUNDS.items():
        write_wav(os.path.join(out, rel), make())
    music.write(out)
    geometry.write(out)


def main(argv=None):
    parser = argparse.ArgumentParser(
        prog='gen_assets.py',
        description='Draws every picture and sound the game loads and writes the sheets\' geometry header.')
    parser.add_argument('--out', metavar='DIR', default=ROOT,
                        help='write into (or check) DIR instead of the source tree')
    parser.add_argument('--check', action='store_true',
                        help='check what is there instead of writing it; exits 1 on any problem')
    parser.add_argument('--generate', action='store_true', help='with --check: write everything first')
    args = parser.parse_args(argv)
    if not args.check or args.generate:
        generate(args.out)
    if args.check:
        problems = check(args.out)
        for p in problems:
            print('FAIL', p)
        print('ok' if not problems else '%d problem(s)' % len(problems))
        return 1 if problems else 0
    return 0
