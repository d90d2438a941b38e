#!/usr/bin/env python3
"""Draws Lumikino's program icon (our own artwork) and writes it as a .ico file.

The picture: a dark rounded film frame with sprocket holes on both sides and a warm
play triangle in the middle, at 16, 32 and 48 pixels, 32-bit with alpha.
Usage: make_icon.py OUT.ico
"""
import struct
import sys


def draw(size):
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    s = size / 48.0
    radius = 6 * s
    for y in range(size):
        for x in range(size):
            cx, cy = x + 0.5, y + 0.5
            # rounded rectangle body
            dx = max(radius - cx, 0, cx - (size - radius))
            dy = max(radius - cy, 0, cy - (size - radius))
            if dx * dx + dy * dy > radius * radius:
                continue
            shade = int(40 + 30 * cy / size)
            px[y][x] = (shade, shade, shade + 20, 255)
            # sprocket holes along the left and right edges
            if (cx < 7 * s or cx > size - 7 * s) and int(cy / (8 * s)) % 2 == 0 and 2 * s < cy < size - 2 * s:
                if 2.5 * s < cx < 5 * s or size - 5 * s < cx < size - 2.5 * s:
                    px[y][x] = (235, 235, 240, 255)
            # play triangle: apex right, centred
            left, right = 16 * s, 35 * s
            top, bottom = 12 * s, 36 * s
            if left <= cx <= right:
                t = (cx - left) / (right - left)
                half = (bottom - top) / 2 * (1 - t)
                mid = (top + bottom) / 2
                if mid - half <= cy <= mid + half:
                    px[y][x] = (255, int(170 + 60 * t), 40, 255)
    return px


def bmp_entry(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''
    for y in reversed(range(size)):  # bottom-up
        for (r, g, b, a) in px[y]:
            rows += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = b'\0' * (mask_row * size)
    return header + rows + mask


def main():
    sizes = [16, 32, 48]
    images = [bmp_entry(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    with open(sys.argv[1], 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
