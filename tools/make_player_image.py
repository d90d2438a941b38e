#!/usr/bin/env python3
"""Draws the control bar's image atlas "player_image.png" (our own artwork) from geometry.

Where each picture goes comes from the rectangle table in media/ControlBarAtlas.h, the same
table the player's code uses, so the image and the code cannot drift apart. Every shape is
a signed distance function; a pixel's coverage is taken from its distance to the edge,
which gives smooth edges without supersampling.

Usage: make_player_image.py media/ControlBarAtlas.h OUT.png
"""
import math
import re
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------
# Shapes: d(x, y) is the signed distance to the edge in pixels, negative inside.
# Points more than CULL pixels outside a shape's box may get CULL instead of the exact
# distance; only distances within one pixel of the edge affect coverage.

CULL = 2.0


class Shape:
    box = (0.0, 0.0, 0.0, 0.0)

    def near(self, x, y):
        x0, y0, x1, y1 = self.box
        return x0 - CULL <= x <= x1 + CULL and y0 - CULL <= y <= y1 + CULL


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.box = (cx - r, cy - r, cx + r, cy + r)

    def d(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ring(Shape):
    """A circle's outline: centre line radius r, stroke half width w."""

    def __init__(self, cx, cy, r, w):
        self.cx, self.cy, self.r, self.w = cx, cy, r, w
        self.box = (cx - r - w, cy - r - w, cx + r + w, cy + r + w)

    def d(self, x, y):
        return abs(math.hypot(x - self.cx, y - self.cy) - self.r) - self.w


class RoundBox(Shape):
    def __init__(self, x0, y0, x1, y1, radius):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hx, self.hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius
        self.radius = radius
        self.box = (x0, y0, x1, y1)

    def d(self, x, y):
        qx = abs(x - self.cx) - self.hx
        qy = abs(y - self.cy) - self.hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.radius


class Capsule(Shape):
    """A stroke from (ax, ay) to (bx, by) with round ends, half width w."""

    def __init__(self, ax, ay, bx, by, w):
        self.ax, self.ay, self.bx, self.by, self.w = ax, ay, bx, by, w
        self.dx, self.dy = bx - ax, by - ay
        self.len2 = self.dx * self.dx + self.dy * self.dy or 1e-9
        self.box = (min(ax, bx) - w, min(ay, by) - w, max(ax, bx) + w, max(ay, by) + w)

    def d(self, x, y):
        px, py = x - self.ax, y - self.ay
        t = max(0.0, min(1.0, (px * self.dx + py * self.dy) / self.len2))
        return math.hypot(px - self.dx * t, py - self.dy * t) - self.w


class Arc(Shape):
    """A stroke along a circle from angle a0 through sweep (radians, y down), half width w."""

    def __init__(self, cx, cy, r, a0, sweep, w):
        self.cx, self.cy, self.r, self.a0, self.sweep, self.w = cx, cy, r, a0, sweep, w
        self.ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0, a0 + sweep)]
        self.box = (cx - r - w, cy - r - w, cx + r + w, cy + r + w)

    def d(self, x, y):
        px, py = x - self.cx, y - self.cy
        t = (math.atan2(py, px) - self.a0) % (2 * math.pi)
        if t <= self.sweep:
            return abs(math.hypot(px, py) - self.r) - self.w
        return min(math.hypot(x - ex, y - ey) for ex, ey in self.ends) - self.w


class Polygon(Shape):
    """Any simple polygon; the sign comes from the even-odd rule."""

    def __init__(self, points, rounding=0.0):
        self.pts = [(float(px), float(py)) for px, py in points]
        self.rounding = rounding
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        self.box = (min(xs) - rounding, min(ys) - rounding, max(xs) + rounding, max(ys) + rounding)
        self.edges = []
        for i, (ax, ay) in enumerate(self.pts):
            bx, by = self.pts[(i + 1) % len(self.pts)]
            ex, ey = bx - ax, by - ay
            self.edges.append((ax, ay, bx, by, ex, ey, ex * ex + ey * ey or 1e-9))

    def d(self, x, y):
        best = 1e9
        inside = False
        for ax, ay, bx, by, ex, ey, len2 in self.edges:
            px, py = x - ax, y - ay
            t = max(0.0, min(1.0, (px * ex + py * ey) / len2))
            qx, qy = px - ex * t, py - ey * t
            dist2 = qx * qx + qy * qy
            if dist2 < best:
                best = dist2
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (by - ay):
                inside = not inside
        dist = math.sqrt(best)
        return (-dist if inside else dist) - self.rounding


class Union(Shape):
    def __init__(self, *parts):
        self.parts = parts
        self.box = (min(p.box[0] for p in parts), min(p.box[1] for p in parts),
                    max(p.box[2] for p in parts), max(p.box[3] for p in parts))

    def d(self, x, y):
        best = CULL
        for p in self.parts:
            if p.near(x, y):
                v = p.d(x, y)
                if v < best:
                    best = v
        return best


class Minus(Shape):
    """shape a with shape b cut out of it."""

    def __init__(self, a, b):
        self.a, self.b = a, b
        self.box = a.box

    def d(self, x, y):
        v = self.a.d(x, y)
        if self.b.near(x, y):
            v = max(v, -self.b.d(x, y))
        return v


class Mirror(Shape):
    """shape mirrored left to right inside a picture of the given width."""

    def __init__(self, shape, width):
        self.shape, self.width = shape, width
        x0, y0, x1, y1 = shape.box
        self.box = (width - x1, y0, width - x0, y1)

    def d(self, x, y):
        return self.shape.d(self.width - x, y)


# ---------------------------------------------------------------------------------------
# The canvas keeps premultiplied RGBA floats; painting is "source over".


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        self.px = [0.0] * (width * height * 4)


class Painter:
    """Paints into one atlas rectangle in coordinates local to it, clipped to it."""

    def __init__(self, canvas, rect):
        self.canvas = canvas
        self.left, self.top, self.width, self.height = rect

    def fill(self, shape, colour):
        """colour: (r, g, b, a) in 0..255, or a function (x, y) -> such a tuple."""
        x0, y0, x1, y1 = shape.box
        xs = max(0, int(math.floor(x0)) - 1)
        ys = max(0, int(math.floor(y0)) - 1)
        xe = min(self.width, int(math.ceil(x1)) + 1)
        ye = min(self.height, int(math.ceil(y1)) + 1)
        px = self.canvas.px
        stride = self.canvas.width
        flat = None if callable(colour) else colour
        for y in range(ys, ye):
            cy = y + 0.5
            row = ((self.top + y) * stride + self.left) * 4
            for x in range(xs, xe):
                cx = x + 0.5
                cover = 0.5 - shape.d(cx, cy)
                if cover <= 0.0:
                    continue
                if cover > 1.0:
                    cover = 1.0
                r, g, b, a = flat or colour(cx, cy)
                sa = a / 255.0 * cover
                keep = 1.0 - sa
                i = row + x * 4
                px[i] = r / 255.0 * sa + px[i] * keep
                px[i + 1] = g / 255.0 * sa + px[i + 1] * keep
                px[i + 2] = b / 255.0 * sa + px[i + 2] * keep
                px[i + 3] = sa + px[i + 3] * keep


def vertical(top_colour, bottom_colour, y0, y1):
    def colour(_x, y):
        t = min(1.0, max(0.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))
    return colour


# ---------------------------------------------------------------------------------------
# Pictures. Buttons are 48 x 48 with their middle at (24, 24).

GLYPH = (246, 246, 250, 255)
GLYPH_DIM = (176, 182, 196, 255)
ACCENT_TOP = (255, 214, 90, 255)
ACCENT_BOTTOM = (255, 150, 40, 255)


def button_base(p, tint=None):
    top, bottom = tint or ((58, 62, 78, 215), (22, 24, 32, 215))
    p.fill(Circle(24, 24, 22.5), vertical(top, bottom, 2, 46))
    p.fill(Ring(24, 24, 21.8, 0.8), (225, 228, 236, 200))


def triangle_right(x0, y0, x1, y1, rounding=0.8):
    return Polygon([(x0, y0), (x1, (y0 + y1) / 2), (x0, y1)], rounding)


def draw_play(p):
    button_base(p)
    p.fill(triangle_right(18, 13, 35, 35, 1.0), vertical(ACCENT_TOP, ACCENT_BOTTOM, 13, 35))


def draw_pause(p):
    button_base(p)
    p.fill(Union(RoundBox(15, 14, 21.5, 34, 1.5), RoundBox(26.5, 14, 33, 34, 1.5)),
           vertical(ACCENT_TOP, ACCENT_BOTTOM, 14, 34))


def draw_stop(p):
    button_base(p)
    p.fill(RoundBox(15.5, 15.5, 32.5, 32.5, 2), GLYPH)


def circular_arrow_back():
    # An open circle running anticlockwise with its head near twelve o'clock.
    r, cx, cy = 12.0, 24.0, 25.0
    a_end = -math.radians(78)
    arc = Arc(cx, cy, r, a_end, 2 * math.pi - math.radians(62), 1.7)
    hx, hy = cx + r * math.cos(a_end), cy + r * math.sin(a_end)
    tx, ty = math.sin(a_end), -math.cos(a_end)   # anticlockwise direction on the screen
    nx, ny = -ty, tx
    head = Polygon([(hx + tx * 6.0, hy + ty * 6.0), (hx + nx * 4.2, hy + ny * 4.2),
                    (hx - nx * 4.2, hy - ny * 4.2)], 0.4)
    inner = Polygon([(27, 21), (27, 29), (20.5, 25)], 0.6)
    return Union(arc, head, inner)


def draw_skip_back(p):
    button_base(p)
    p.fill(circular_arrow_back(), GLYPH)


def draw_skip_forward(p):
    button_base(p)
    p.fill(Mirror(circular_arrow_back(), 48), GLYPH)


def double_triangle():
    return Union(triangle_right(12, 15, 25, 33), triangle_right(24, 15, 37, 33))


def step_forward():
    return Union(triangle_right(14, 14, 29, 34), RoundBox(30, 14, 34.5, 34, 1.2))


def draw_fast(p):
    button_base(p)
    p.fill(double_triangle(), GLYPH)


def draw_slow(p):
    button_base(p)
    p.fill(Mirror(double_triangle(), 48), GLYPH)


def draw_frame_forward(p):
    button_base(p)
    p.fill(step_forward(), GLYPH)


def draw_frame_back(p):
    button_base(p)
    p.fill(Mirror(step_forward(), 48), GLYPH)


def speaker():
    return Polygon([(11, 19.5), (16.5, 19.5), (24, 13), (24, 35), (16.5, 28.5), (11, 28.5)], 0.8)


def draw_sound_on(p):
    button_base(p)
    waves = Union(Arc(24, 24, 5.5, -math.radians(50), math.radians(100), 1.5),
                  Arc(24, 24, 11, -math.radians(50), math.radians(100), 1.5))
    p.fill(Union(speaker(), waves), GLYPH)


def draw_muted(p):
    button_base(p)
    cross = Union(Capsule(29, 19, 37, 29, 1.7), Capsule(29, 29, 37, 19, 1.7))
    p.fill(speaker(), GLYPH)
    p.fill(cross, (255, 110, 100, 255))


def draw_open_file(p):
    button_base(p)
    back = Union(RoundBox(11, 13, 22, 19, 1.5), RoundBox(11, 16, 36, 34, 2))
    p.fill(back, GLYPH_DIM)
    p.fill(Polygon([(16, 21), (39, 21), (34.5, 34), (11, 34)], 0.8), GLYPH)


def draw_capture(p):
    button_base(p)
    body = Union(RoundBox(10.5, 17, 37.5, 35, 3), Polygon([(18, 17.5), (20.5, 13), (27.5, 13), (30, 17.5)], 0.6))
    p.fill(Minus(body, Circle(24, 26, 6.2)), GLYPH)
    p.fill(Circle(24, 26, 3.6), GLYPH)
    p.fill(Circle(33, 21, 1.3), (60, 64, 80, 255))


def draw_play_list(p):
    button_base(p)
    lines = Union(Capsule(12.5, 16, 28, 16, 1.6), Capsule(12.5, 23, 28, 23, 1.6), Capsule(12.5, 30, 21, 30, 1.6))
    p.fill(lines, GLYPH)
    p.fill(triangle_right(25, 25.5, 36, 36.5, 0.6), vertical(ACCENT_TOP, ACCENT_BOTTOM, 25, 37))


def draw_history(p):
    button_base(p)
    p.fill(Union(Ring(24, 24, 11.5, 1.6), Capsule(24, 24, 24, 16, 1.6), Capsule(24, 24, 30, 27.5, 1.6)), GLYPH)
    p.fill(Circle(24, 24, 2.0), GLYPH)


def strip():
    return Union(RoundBox(9.5, 19, 18, 29, 1.2), RoundBox(19.8, 19, 28.2, 29, 1.2), RoundBox(30, 19, 38.5, 29, 1.2))


def draw_thumbnails_show(p):
    button_base(p)
    p.fill(strip(), GLYPH)
    p.fill(Capsule(13, 34, 35, 34, 1.2), GLYPH_DIM)


def draw_thumbnails_hide(p):
    button_base(p)
    slash = Capsule(13, 36, 35, 12, 1.6)
    p.fill(Minus(strip(), Capsule(13, 36, 35, 12, 3.6)), GLYPH_DIM)
    p.fill(slash, (255, 110, 100, 255))


def corners(outward):
    parts = []
    for sx, sy in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
        if outward:
            vx, vy = 24 + sx * 11, 24 + sy * 11     # the bracket's corner at the outside
            reach = -7
        else:
            vx, vy = 24 + sx * 4.5, 24 + sy * 4.5   # the corner near the middle, arms outward
            reach = 7
        parts.append(Capsule(vx, vy, vx + sx * reach, vy, 1.6))
        parts.append(Capsule(vx, vy, vx, vy + sy * reach, 1.6))
    return Union(*parts)


def draw_full_screen(p):
    button_base(p)
    p.fill(corners(True), GLYPH)


def draw_window_mode(p):
    button_base(p)
    p.fill(corners(False), GLYPH)


def draw_exit(p):
    button_base(p, ((170, 52, 52, 225), (110, 24, 28, 225)))
    p.fill(Union(Capsule(17, 17, 31, 31, 2.1), Capsule(31, 17, 17, 31, 2.1)), GLYPH)


def draw_volume_track(p):
    # A wedge that grows to the right: louder. 100 x 12.
    p.fill(Polygon([(3, 9.5), (97, 2.5), (97, 9.5)], 1.5), vertical((250, 250, 255, 230), (160, 168, 186, 230), 2, 11))
    p.fill(Capsule(3, 10, 97, 10, 0.6), (40, 44, 56, 160))


def draw_volume_knob(p):
    # 16 x 32.
    p.fill(RoundBox(1.5, 1.5, 14.5, 30.5, 4.5), (40, 44, 56, 200))
    p.fill(RoundBox(2.5, 2.5, 13.5, 29.5, 3.8), vertical((255, 255, 255, 255), (200, 206, 220, 255), 2, 30))
    p.fill(Union(Capsule(6, 13, 10, 13, 0.6), Capsule(6, 16, 10, 16, 0.6), Capsule(6, 19, 10, 19, 0.6)),
           (110, 116, 132, 255))


def word_lumikino(x, base, w):
    """'Lumikino' in strokes; x is the left end, base the baseline, w the stroke half width."""
    cap, xh = base - 25, base - 15
    parts = []
    top_half, bottom_half = math.pi, 0.0

    def stem(sx, y0):
        parts.append(Capsule(sx, y0, sx, base, w))

    # L
    stem(x + 2, cap)
    parts.append(Capsule(x + 2, base, x + 14, base, w))
    x += 20
    # u
    parts.append(Capsule(x + 2, xh, x + 2, base - 5, w))
    parts.append(Arc(x + 7, base - 5, 5, bottom_half, math.pi, w))
    stem(x + 12, xh)
    x += 20
    # m
    stem(x + 2, xh)
    parts.append(Arc(x + 6.5, xh + 4.5, 4.5, top_half, math.pi, w))
    stem(x + 11, xh + 4.5)
    parts.append(Arc(x + 15.5, xh + 4.5, 4.5, top_half, math.pi, w))
    stem(x + 20, xh + 4.5)
    x += 28
    # i
    stem(x + 2, xh)
    parts.append(Circle(x + 2, cap + 3.5, w + 0.3))
    x += 10
    # k
    stem(x + 2, cap)
    parts.append(Capsule(x + 12, xh, x + 3, xh + 9, w))
    parts.append(Capsule(x + 6.5, xh + 6.5, x + 12.5, base, w))
    x += 19
    # i
    stem(x + 2, xh)
    parts.append(Circle(x + 2, cap + 3.5, w + 0.3))
    x += 10
    # n
    stem(x + 2, xh)
    parts.append(Arc(x + 7, xh + 5, 5, top_half, math.pi, w))
    stem(x + 12, xh + 5)
    x += 20
    # o
    parts.append(Ring(x + 7.5, base - 7.5, 5.8, w))
    return Union(*parts)


def draw_logo(p):
    # 256 x 131: a film frame with a play triangle, the name underneath.
    frame = RoundBox(52, 3, 204, 91, 10)
    holes = []
    for i in range(9):
        hx = 60 + i * 16.5
        holes.append(RoundBox(hx, 8, hx + 7, 15, 1.8))
        holes.append(RoundBox(hx, 79, hx + 7, 86, 1.8))
    p.fill(Minus(frame, Union(*holes)), vertical((60, 64, 82, 240), (24, 26, 36, 240), 3, 91))
    p.fill(RoundBox(62, 21, 194, 73, 4), vertical((92, 108, 150, 255), (44, 52, 80, 255), 21, 73))
    p.fill(triangle_right(113, 29, 147, 65, 1.5), vertical(ACCENT_TOP, ACCENT_BOTTOM, 29, 65))
    name = word_lumikino(57, 124.5, 2.3)
    # A dark halo under the name keeps it readable over a bright picture.
    p.fill(RoundBox(48, 96, 208, 130, 8), (20, 22, 30, 150))
    p.fill(name, (250, 250, 252, 255))


PAINTERS = {
    'Logo': draw_logo,
    'Play': draw_play,
    'Pause': draw_pause,
    'Stop': draw_stop,
    'SkipBack': draw_skip_back,
    'SkipForward': draw_skip_forward,
    'Slow': draw_slow,
    'FrameBack': draw_frame_back,
    'Fast': draw_fast,
    'FrameForward': draw_frame_forward,
    'SoundOn': draw_sound_on,
    'Muted': draw_muted,
    'OpenFile': draw_open_file,
    'Capture': draw_capture,
    'PlayList': draw_play_list,
    'History': draw_history,
    'ThumbnailsShow': draw_thumbnails_show,
    'ThumbnailsHide': draw_thumbnails_hide,
    'FullScreen': draw_full_screen,
    'WindowMode': draw_window_mode,
    'Exit': draw_exit,
    'VolumeTrack': draw_volume_track,
    'VolumeKnob': draw_volume_knob,
}


# ---------------------------------------------------------------------------------------
# The table and the file.


def read_table(header_path):
    with open(header_path, encoding='utf-8') as f:
        text = f.read()
    width = int(re.search(r'kAtlasWidthPx\s*=\s*(\d+)', text).group(1))
    height = int(re.search(r'kAtlasHeightPx\s*=\s*(\d+)', text).group(1))
    rows = re.findall(r'\{\s*AtlasSprite::(\w+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*\}', text)
    rects = [(name, tuple(int(v) for v in vals)) for name, *vals in rows]
    return width, height, rects


def check_table(width, height, rects):
    names = [name for name, _ in rects]
    missing = sorted(set(PAINTERS) - set(names))
    unknown = sorted(set(names) - set(PAINTERS))
    if missing or unknown or len(set(names)) != len(names):
        sys.exit('atlas table and pictures differ: missing %s, unknown %s' % (missing, unknown))
    for name, (x, y, w, h) in rects:
        if w <= 0 or h <= 0 or x < 0 or y < 0 or x + w > width or y + h > height:
            sys.exit('atlas rectangle %s lies outside the %dx%d image' % (name, width, height))
    for i, (na, (ax, ay, aw, ah)) in enumerate(rects):
        for nb, (bx, by, bw, bh) in rects[i + 1:]:
            if ax < bx + bw and bx < ax + aw and ay < by + bh and by < ay + ah:
                sys.exit('atlas rectangles %s and %s overlap' % (na, nb))


def png_bytes(canvas):
    raw = bytearray()
    px = canvas.px
    for y in range(canvas.height):
        raw.append(0)   # no filter
        base = y * canvas.width * 4
        for x in range(canvas.width):
            i = base + x * 4
            a = px[i + 3]
            if a <= 0.0:
                raw += b'\0\0\0\0'
                continue
            raw += bytes((min(255, int(px[i] / a * 255 + 0.5)), min(255, int(px[i + 1] / a * 255 + 0.5)),
                          min(255, int(px[i + 2] / a * 255 + 0.5)), min(255, int(a * 255 + 0.5))))

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    ihdr = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, 6, 0, 0, 0)   # 8-bit RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: make_player_image.py ControlBarAtlas.h OUT.png')
    width, height, rects = read_table(sys.argv[1])
    check_table(width, height, rects)
    canvas = Canvas(width, height)
    for name, rect in rects:
        PAINTERS[name](Painter(canvas, rect))
    data = png_bytes(canvas)
    with open(sys.argv[2], 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main()
