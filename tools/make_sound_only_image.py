#!/usr/bin/env python3
"""Draws "sound_only_mode.png" (our own artwork): the picture the thumbnail strip shows in the
cells of a movie that has sound and no picture. A 320 x 180 picture, the shape of the strip's
decoded thumbnails: a speaker sending out sound waves and a note, on a dark panel.

The shapes are the signed distance shapes of make_player_image.py.

Usage: make_sound_only_image.py OUT.png
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_player_image import (Arc, Canvas, Capsule, Circle, Minus, Painter,  # noqa: E402
                               Polygon, RoundBox, Union, png_bytes, vertical)

WIDTH, HEIGHT = 320, 180

PANEL_TOP = (44, 54, 82, 255)
PANEL_BOTTOM = (14, 17, 28, 255)
FRAME = (96, 108, 142, 255)
GLYPH = (236, 239, 247, 255)
ACCENT_TOP = (255, 214, 90, 255)
ACCENT_BOTTOM = (255, 150, 40, 255)


def draw(p):
    p.fill(RoundBox(0, 0, WIDTH, HEIGHT, 0.01), vertical(PANEL_TOP, PANEL_BOTTOM, 0, HEIGHT))
    p.fill(Minus(RoundBox(6, 6, WIDTH - 6, HEIGHT - 6, 12), RoundBox(8.5, 8.5, WIDTH - 8.5, HEIGHT - 8.5, 10)), FRAME)

    # The speaker: a box and its cone, facing right.
    speaker = Polygon([(92, 74), (114, 74), (142, 50), (142, 130), (114, 106), (92, 106)], 3.0)
    waves = Union(Arc(146, 90, 20, -math.radians(45), math.radians(90), 4.0),
                  Arc(146, 90, 38, -math.radians(45), math.radians(90), 4.0))
    p.fill(Union(speaker, waves), GLYPH)

    # An eighth note beside it.
    note = Union(Circle(222, 120, 11.5), Capsule(232, 120, 232, 58, 3.2), Capsule(232, 60, 250, 76, 3.2))
    p.fill(note, vertical(ACCENT_TOP, ACCENT_BOTTOM, 56, 132))


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_sound_only_image.py OUT.png')
    canvas = Canvas(WIDTH, HEIGHT)
    draw(Painter(canvas, (0, 0, WIDTH, HEIGHT)))
    with open(sys.argv[1], 'wb') as f:
        f.write(png_bytes(canvas))


if __name__ == '__main__':
    main()
