#!/usr/bin/env python3
"""mkicon.py OUT.ico: draws the program's icon, a transmitter mast on a dark rounded square.

One 48x48 image at 32 bits per pixel; the same bytes on every run, so builds stay reproducible.
Each pixel averages SUB x SUB samples of the shapes' signed distances, which smooths the edges.
"""
import math
import struct
import sys

SIZE = 48
SUB = 6

SLATE_TOP = (0x25, 0x32, 0x3d)
SLATE_BOTTOM = (0x1a, 0x23, 0x2b)
GREEN = (0x3d, 0xdc, 0x84)

# Geometry in pixel units, y downwards; the waves spread from the mast's tip.
TIP = (24.0, 19.0)
TIP_RADIUS = 3.2
BASE_Y = 39.5
BASE_HALF = 7.5
LEG_WIDTH = 2.6
BRACE_Y = 32.0
WAVES = ((7.5, 1.0), (12.0, 0.82), (16.5, 0.62))  # radius, opacity
WAVE_WIDTH = 2.4
WAVE_HALF_ANGLE = math.radians(35)
CORNER = 9.5
MARGIN = 1.0


def rounded_square(x, y):
    c = SIZE / 2
    h = c - MARGIN - CORNER
    qx, qy = abs(x - c) - h, abs(y - c) - h
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - CORNER


def segment(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = min(max(t, 0.0), 1.0)
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


COS_HALF, SIN_HALF = math.cos(WAVE_HALF_ANGLE), math.sin(WAVE_HALF_ANGLE)
TAN_HALF = SIN_HALF / COS_HALF


def wave(x, y, radius):
    """Distance to the pair of arcs of one radius, left and right of the tip, with round ends."""
    dx, dy = abs(x - TIP[0]), y - TIP[1]
    if dx > 0 and abs(dy) <= TAN_HALF * dx:
        d = abs(math.hypot(dx, dy) - radius)
    else:
        ex, ey = radius * COS_HALF, radius * SIN_HALF
        d = min(math.hypot(dx - ex, dy - ey), math.hypot(dx - ex, dy + ey))
    return d - WAVE_WIDTH / 2


def mast(x, y):
    tx, ty = TIP
    left, right = (tx - BASE_HALF, BASE_Y), (tx + BASE_HALF, BASE_Y)
    # The brace spans the legs at its height.
    brace_half = BASE_HALF * (BRACE_Y - ty) / (BASE_Y - ty)
    d = min(segment(x, y, tx, ty, *left), segment(x, y, tx, ty, *right),
            segment(x, y, tx - brace_half, BRACE_Y, tx + brace_half, BRACE_Y),
            segment(x, y, left[0] - 1.5, BASE_Y, right[0] + 1.5, BASE_Y)) - LEG_WIDTH / 2
    return min(d, math.hypot(x - tx, y - ty) - TIP_RADIUS)


def sample(x, y):
    """Premultiplied (r, g, b, a) of one point, a in 0..1."""
    if rounded_square(x, y) > 0:
        return 0.0, 0.0, 0.0, 0.0
    t = y / SIZE
    colour = [top + (bottom - top) * t for top, bottom in zip(SLATE_TOP, SLATE_BOTTOM)]
    cover = 1.0 if mast(x, y) <= 0 else 0.0
    for radius, opacity in WAVES:
        if wave(x, y, radius) <= 0:
            cover = max(cover, opacity)
    colour = [c + (g - c) * cover for c, g in zip(colour, GREEN)]
    return colour[0], colour[1], colour[2], 1.0


def pixels():
    """Rows top to bottom of (b, g, r, a) bytes, straight alpha."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUB):
                for sx in range(SUB):
                    s = sample(px + (sx + 0.5) / SUB, py + (sy + 0.5) / SUB)
                    for i in range(4):
                        acc[i] += s[i]
            n = SUB * SUB
            a = acc[3] / n
            if a == 0:
                row.append((0, 0, 0, 0))
                continue
            r, g, b = (round(acc[i] / acc[3]) for i in range(3))
            row.append((b, g, r, round(a * 255)))
        rows.append(row)
    return rows


def ico(rows):
    xor = b"".join(bytes(c for p in row for c in p) for row in reversed(rows))
    stride = (SIZE + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: mkicon.py OUT.ico")
    with open(sys.argv[1], "wb") as f:
        f.write(ico(pixels()))


if __name__ == "__main__":
    main()
