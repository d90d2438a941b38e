#!/usr/bin/env python3
"""Draws the main tool bar's picture strip (our own artwork) as a 32-bit BMP with alpha.

The order of the pictures, their size and the mask colour come from app/ToolBarImages.h, the
same header the player's code uses, so the strip and the button table cannot drift apart.
The shapes are the signed distance shapes of make_player_image.py; these pictures are dark
pictograms with a few colour accents, made to sit on the light face of a tool bar.

Colours are straight (not premultiplied) alpha, as image lists of 32-bit colour expect.
Fully transparent pixels also carry the mask colour, so the strip still cuts out where it
goes into a list without alpha and the mask colour is keyed out instead.

Usage: make_toolbar_image.py app/ToolBarImages.h OUT.bmp
"""
import math
import os
import re
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_player_image import (Arc, Canvas, Capsule, Circle, Minus, Mirror, Painter,  # noqa: E402
                               Polygon, RoundBox, Shape, Union, vertical)

# Pictures are drawn on a 24-unit grid and scaled to the cell size the header asks for.
GRID = 24.0

INK = (44, 52, 70, 255)
INK_SOFT = (112, 122, 142, 255)
PAPER = (250, 251, 253, 255)
GREEN = (38, 150, 72, 255)
BLUE = (40, 112, 206, 255)
RED = (214, 52, 44, 255)
AMBER_DARK = (196, 132, 24, 255)
AMBER_LIGHT = (252, 204, 92, 255)
OUTLINE = (88, 64, 16, 255)

# Below this coverage a pixel counts as transparent: where the list draws by mask only, a
# faint edge pixel would otherwise show at full strength and fatten the picture.
ALPHA_CUT = 0.12


class Scaled(Shape):
    """A shape drawn on the 24-unit grid, scaled to a cell of the given size."""

    def __init__(self, shape, scale):
        self.shape, self.s = shape, scale
        x0, y0, x1, y1 = shape.box
        self.box = (x0 * scale, y0 * scale, x1 * scale, y1 * scale)

    def d(self, x, y):
        return self.shape.d(x / self.s, y / self.s) * self.s


class Grown(Shape):
    """shape made w units thicker all round (an outline when painted under it)."""

    def __init__(self, shape, w):
        self.shape, self.w = shape, w
        x0, y0, x1, y1 = shape.box
        self.box = (x0 - w, y0 - w, x1 + w, y1 + w)

    def d(self, x, y):
        return self.shape.d(x, y) - self.w


class Grid:
    """Paints grid-unit shapes into one cell."""

    def __init__(self, painter, size):
        self.p, self.s = painter, size / GRID

    def fill(self, shape, colour):
        if callable(colour):
            s = self.s
            inner = colour
            colour = lambda x, y: inner(x / s, y / s)  # noqa: E731
        self.p.fill(Scaled(shape, self.s), colour)

    def outlined(self, shape, colour, edge=OUTLINE, width=0.9):
        self.fill(Grown(shape, width), edge)
        self.fill(shape, colour)


def triangle_right(x0, y0, x1, y1, rounding=0.5):
    return Polygon([(x0, y0), (x1, (y0 + y1) / 2), (x0, y1)], rounding)


# ---------------------------------------------------------------------------------------
# Pictures, on the 24-unit grid with the middle at (12, 12).


def draw_open_folder(g):
    back = Union(RoundBox(2.5, 4.5, 10, 8.5, 1.0), RoundBox(2.5, 6.5, 19.5, 19.5, 1.2))
    g.outlined(back, AMBER_DARK)
    g.outlined(Polygon([(6.5, 10), (22, 10), (18.5, 19.5), (2.5, 19.5)], 0.4), AMBER_LIGHT)


def draw_play_pause(g):
    g.fill(triangle_right(2.5, 5, 12, 19, 0.7), vertical((70, 190, 100, 255), GREEN, 5, 19))
    g.fill(Union(RoundBox(14.5, 5.5, 17.5, 18.5, 0.8), RoundBox(19.5, 5.5, 22.5, 18.5, 0.8)), INK)


def draw_stop(g):
    g.fill(RoundBox(5.5, 5.5, 18.5, 18.5, 1.6), vertical((84, 96, 122, 255), INK, 5.5, 18.5))


def skip_next():
    return Union(triangle_right(5, 5.5, 16, 18.5, 0.7), RoundBox(16.5, 5.5, 19.5, 18.5, 0.8))


def draw_previous(g):
    g.fill(Mirror(skip_next(), GRID), INK)


def draw_next(g):
    g.fill(skip_next(), INK)


def speaker():
    return Polygon([(2.5, 9), (6, 9), (11, 4.5), (11, 19.5), (6, 15), (2.5, 15)], 0.5)


def draw_mute(g):
    g.fill(speaker(), INK)
    g.fill(Union(Capsule(14, 8.5, 21, 15.5, 1.3), Capsule(14, 15.5, 21, 8.5, 1.3)), RED)


def draw_full_screen(g):
    parts = []
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        vx, vy = 12 + sx * 8.5, 12 + sy * 8.5   # the bracket's outer corner
        parts.append(Capsule(vx, vy, vx - sx * 5.5, vy, 1.2))
        parts.append(Capsule(vx, vy, vx, vy - sy * 5.5, 1.2))
    g.fill(Union(*parts), INK)
    g.fill(RoundBox(8, 8, 16, 16, 0.8), BLUE)


def draw_thumbnail_strip(g):
    band = RoundBox(1.5, 6, 22.5, 18, 1.2)
    holes = []
    for i in range(6):
        hx = 2.8 + i * 3.4
        holes.append(RoundBox(hx, 6.9, hx + 1.6, 8.2, 0.3))
        holes.append(RoundBox(hx, 15.8, hx + 1.6, 17.1, 0.3))
    g.fill(Minus(band, Union(*holes)), INK)
    for x0 in (3, 9.5, 16):
        g.fill(RoundBox(x0, 9.3, x0 + 5, 14.7, 0.5), vertical((150, 196, 250, 255), BLUE, 9.3, 14.7))


def gauge(needle_angle, colour):
    """A speed dial: an arc open at the bottom, the needle at needle_angle (degrees, 0 = right,
    y down so negative angles point upwards)."""
    arc = Arc(12, 12, 8.5, math.radians(160), math.radians(220), 1.2)
    a = math.radians(needle_angle)
    needle = Capsule(12, 12, 12 + 6.5 * math.cos(a), 12 + 6.5 * math.sin(a), 1.3)
    return arc, needle, Circle(12, 12, 2.0), colour


def draw_gauge(g, needle_angle, colour, sign_vertical):
    arc, needle, hub, colour = gauge(needle_angle, colour)
    g.fill(arc, INK_SOFT)
    g.fill(needle, colour)
    g.fill(hub, INK)
    sign = [Capsule(9, 19.5, 15, 19.5, 1.2)]   # minus, or plus with the upright stroke
    if sign_vertical:
        sign.append(Capsule(12, 16.5, 12, 22.5, 1.2))
    g.fill(Union(*sign), INK)


def draw_slower(g):
    draw_gauge(g, -150, BLUE, False)


def draw_faster(g):
    draw_gauge(g, -30, RED, True)


def draw_capture(g):
    body = Union(RoundBox(2, 7, 22, 20, 2), Polygon([(7.5, 7.5), (9.5, 4), (14.5, 4), (16.5, 7.5)], 0.4))
    g.fill(Minus(body, Circle(12, 13.5, 4.8)), INK)
    g.fill(Circle(12, 13.5, 3.2), vertical((150, 196, 250, 255), BLUE, 10.3, 16.7))
    g.fill(Circle(18.5, 10, 0.9), AMBER_LIGHT)


def draw_history(g):
    # A clock with an arrow running back round it.
    r, cx, cy = 8.5, 12.5, 12.5
    start = math.radians(200)
    ring = Arc(cx, cy, r, start, math.radians(300), 1.2)
    hx, hy = cx + r * math.cos(start), cy + r * math.sin(start)
    tx, ty = math.sin(start), -math.cos(start)   # anticlockwise on the screen
    nx, ny = -ty, tx
    head = Polygon([(hx + tx * 4.0, hy + ty * 4.0), (hx + nx * 3.0, hy + ny * 3.0),
                    (hx - nx * 3.0, hy - ny * 3.0)], 0.3)
    g.fill(Union(ring, head), INK)
    g.fill(Union(Capsule(cx, cy, cx, cy - 5, 1.1), Capsule(cx, cy, cx + 3.8, cy + 2, 1.1)), BLUE)


def draw_play_list(g):
    lines = Union(Capsule(3, 6, 15, 6, 1.2), Capsule(3, 11, 15, 11, 1.2), Capsule(3, 16, 9.5, 16, 1.2))
    g.fill(lines, INK)
    g.fill(triangle_right(12.5, 13, 21.5, 21, 0.5), vertical((70, 190, 100, 255), GREEN, 13, 21))


def draw_close(g):
    g.fill(Circle(12, 12, 9.5), vertical((232, 84, 74, 255), RED, 2.5, 21.5))
    g.fill(Union(Capsule(8.2, 8.2, 15.8, 15.8, 1.3), Capsule(15.8, 8.2, 8.2, 15.8, 1.3)), PAPER)


def draw_save(g):
    # A floppy disk: the body, its label and the shutter.
    body = Polygon([(3.5, 3.5), (17.5, 3.5), (20.5, 6.5), (20.5, 20.5), (3.5, 20.5)], 0.8)
    g.fill(body, vertical((70, 140, 226, 255), BLUE, 3.5, 20.5))
    g.fill(RoundBox(7, 12.5, 17, 20.5, 0.6), PAPER)
    g.fill(Union(Capsule(9, 15, 15, 15, 0.5), Capsule(9, 17.8, 15, 17.8, 0.5)), INK_SOFT)
    g.fill(RoundBox(7.5, 3.5, 15.5, 9, 0.5), INK)
    g.fill(RoundBox(12.5, 4.6, 14.3, 7.9, 0.3), PAPER)


def arrow(flip):
    points = [(12, 3), (20.5, 12), (15.5, 12), (15.5, 21), (8.5, 21), (8.5, 12), (3.5, 12)]
    if flip:
        points = [(x, GRID - y) for x, y in points]
    return Polygon(points, 0.6)


def draw_move_up(g):
    g.fill(arrow(False), vertical((70, 190, 100, 255), GREEN, 3, 21))


def draw_move_down(g):
    g.fill(arrow(True), vertical(GREEN, (70, 190, 100, 255), 3, 21))


def draw_shuffle(g):
    # Two crossing paths, each ending in an arrow head on the right.
    g.fill(Union(Capsule(3, 7, 8, 7, 1.2), Capsule(8, 7, 15, 17, 1.2), Capsule(15, 17, 18, 17, 1.2)), INK)
    g.fill(Union(Capsule(3, 17, 8, 17, 1.2), Capsule(8, 17, 15, 7, 1.2), Capsule(15, 7, 18, 7, 1.2)), INK)
    g.fill(triangle_right(17, 3.5, 22, 10.5, 0.4), BLUE)
    g.fill(triangle_right(17, 13.5, 22, 20.5, 0.4), BLUE)


PAINTERS = {
    'OpenFolder': draw_open_folder,
    'PlayPause': draw_play_pause,
    'Stop': draw_stop,
    'Previous': draw_previous,
    'Next': draw_next,
    'Mute': draw_mute,
    'FullScreen': draw_full_screen,
    'ThumbnailStrip': draw_thumbnail_strip,
    'Slower': draw_slower,
    'Faster': draw_faster,
    'Capture': draw_capture,
    'History': draw_history,
    'PlayList': draw_play_list,
    'Close': draw_close,
    'Save': draw_save,
    'MoveUp': draw_move_up,
    'MoveDown': draw_move_down,
    'Shuffle': draw_shuffle,
}


# ---------------------------------------------------------------------------------------
# The table and the file.


def read_table(header_path):
    with open(header_path, encoding='utf-8') as f:
        text = f.read()
    body = re.search(r'enum\s+class\s+ToolBarImage\s*:\s*int\s*\{([^}]*)\}', text).group(1)
    names = [n.strip() for n in body.split(',') if n.strip()]
    if not names or names[-1] != 'Count':
        sys.exit('ToolBarImage must end with Count')
    size = int(re.search(r'kToolBarImageSizePx\s*=\s*(\d+)', text).group(1))
    mask = int(re.search(r'kToolBarMaskColourRgb\s*=\s*0x([0-9A-Fa-f]{6})', text).group(1), 16)
    return names[:-1], size, mask


def check_table(names, size):
    unknown = [n for n in names if n not in PAINTERS]
    if unknown or len(set(names)) != len(names):
        sys.exit('tool bar pictures: no painter for %s, or a name twice in %s' % (unknown, names))
    if not 8 <= size <= 64:
        sys.exit('tool bar picture size %d is out of range' % size)


def bmp_bytes(canvas, mask):
    """Bottom-up 32-bit BGRA rows behind a BITMAPFILEHEADER and a BITMAPINFOHEADER."""
    mr, mg, mb = (mask >> 16) & 0xFF, (mask >> 8) & 0xFF, mask & 0xFF
    pixels = bytearray()
    px = canvas.px
    for y in reversed(range(canvas.height)):
        base = y * canvas.width * 4
        for x in range(canvas.width):
            i = base + x * 4
            a = px[i + 3]
            if a < ALPHA_CUT:
                pixels += bytes((mb, mg, mr, 0))
                continue
            pixels += bytes((min(255, int(px[i + 2] / a * 255 + 0.5)), min(255, int(px[i + 1] / a * 255 + 0.5)),
                             min(255, int(px[i] / a * 255 + 0.5)), min(255, int(a * 255 + 0.5))))
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 32, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: make_toolbar_image.py ToolBarImages.h OUT.bmp')
    names, size, mask = read_table(sys.argv[1])
    check_table(names, size)
    canvas = Canvas(size * len(names), size)
    for index, name in enumerate(names):
        PAINTERS[name](Grid(Painter(canvas, (index * size, 0, size, size)), size))
    data = bmp_bytes(canvas, mask)
    with open(sys.argv[2], 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
