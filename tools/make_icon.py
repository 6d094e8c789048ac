#!/usr/bin/env python3
"""Draws the program's icon: app/icon/lumvard-sorvek.svg and the PNGs
app/icon/lumvard-sorvek-<N>.png (N x N pixels) from one description.

The picture: a dark rounded square, the I and Q axes, the unit circle with
the four QPSK constellation points on it, and a sine wave running across.
Every shape is given in unit coordinates (0..1, y downwards); the PNGs are
rendered here from distances (one sample a pixel, coverage from the
distance), so nothing but the Python standard library is needed.

Run from the repository's top folder: python3 tools/make_icon.py
"""
import math
import os
import struct
import zlib

SIZES = (16, 24, 32, 48, 64, 128, 256)
OUT = os.path.join("app", "icon")
NAME = "lumvard-sorvek"

# Shapes (unit coordinates).
INSET = 0.03
CORNER = 0.19
BG_TOP = (0x16, 0x22, 0x3f)
BG_BOTTOM = (0x23, 0x45, 0x78)
AXIS = (0x5b, 0x7b, 0xa8)
AXIS_W = 0.018
RING = (0x8d, 0xa9, 0xc4)
RING_R = 0.29
RING_W = 0.026
DOT = (0xff, 0xc8, 0x57)
DOT_R = 0.062
DOTS = [(0.5 + sx * RING_R / math.sqrt(2), 0.5 + sy * RING_R / math.sqrt(2)) for sx in (-1, 1) for sy in (-1, 1)]
WAVE = (0x4c, 0xd6, 0xf5)
WAVE_W = 0.05
WAVE_X0, WAVE_X1 = 0.13, 0.87
WAVE_A = 0.2
WAVE_CYCLES = 1.5


def wave_y(x):
    t = (x - WAVE_X0) / (WAVE_X1 - WAVE_X0)
    return 0.5 - WAVE_A * math.sin(2 * math.pi * WAVE_CYCLES * t)


# Signed distances (negative inside).
def sd_round_rect(x, y):
    cx = abs(x - 0.5) - (0.5 - INSET - CORNER)
    cy = abs(y - 0.5) - (0.5 - INSET - CORNER)
    ox, oy = max(cx, 0.0), max(cy, 0.0)
    return math.hypot(ox, oy) + min(max(cx, cy), 0.0) - CORNER


def d_hline(x, y):  # the I axis, inside the square
    return abs(y - 0.5)


def d_vline(x, y):  # the Q axis
    return abs(x - 0.5)


def d_ring(x, y):
    return abs(math.hypot(x - 0.5, y - 0.5) - RING_R)


def sd_dots(x, y):
    return min(math.hypot(x - dx, y - dy) for dx, dy in DOTS) - DOT_R


WAVE_POINTS = [(WAVE_X0 + (WAVE_X1 - WAVE_X0) * k / 240, wave_y(WAVE_X0 + (WAVE_X1 - WAVE_X0) * k / 240))
               for k in range(241)]


def d_segment(x, y, a, b):
    vx, vy = b[0] - a[0], b[1] - a[1]
    t = max(0.0, min(1.0, ((x - a[0]) * vx + (y - a[1]) * vy) / (vx * vx + vy * vy)))
    return math.hypot(x - a[0] - t * vx, y - a[1] - t * vy)


def d_wave(x, y):
    # The distance to the polyline through the curve (round ends), measured
    # only near it: farther away a rough bound is enough.
    if x < WAVE_X0 - 0.1 or x > WAVE_X1 + 0.1 or abs(y - 0.5) > WAVE_A + 0.1:
        return 1.0
    return min(d_segment(x, y, WAVE_POINTS[k], WAVE_POINTS[k + 1]) for k in range(len(WAVE_POINTS) - 1))


def coverage(sd_pixels):
    return min(max(0.5 - sd_pixels, 0.0), 1.0)


def over(dst, rgb, a):
    r, g, b, da = dst
    oa = a + da * (1 - a)
    if oa <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = [(c * a + dc * da * (1 - a)) / oa for c, dc in zip(rgb, (r, g, b))]
    return (mix[0], mix[1], mix[2], oa)


def render(n):
    px = 1.0 / n
    # Strokes stay at least one pixel wide at the small sizes.
    def stroke(w):
        return max(w, px) / 2

    rows = []
    for j in range(n):
        y = (j + 0.5) * px
        row = bytearray()
        for i in range(n):
            x = (i + 0.5) * px
            c = (0.0, 0.0, 0.0, 0.0)
            a = coverage(sd_round_rect(x, y) / px)
            if a > 0:
                t = (y - INSET) / (1 - 2 * INSET)
                bg = tuple(top + (bot - top) * t for top, bot in zip(BG_TOP, BG_BOTTOM))
                c = over(c, bg, a)
                inner = coverage((sd_round_rect(x, y) + 0.06) / px)
                c = over(c, AXIS, inner * coverage((d_hline(x, y) - stroke(AXIS_W)) / px))
                c = over(c, AXIS, inner * coverage((d_vline(x, y) - stroke(AXIS_W)) / px))
                c = over(c, RING, coverage((d_ring(x, y) - stroke(RING_W)) / px))
                c = over(c, WAVE, coverage((d_wave(x, y) - stroke(WAVE_W)) / px))
                c = over(c, DOT, coverage(sd_dots(x, y) / px))
            row += bytes((round(c[0]), round(c[1]), round(c[2]), round(255 * c[3])))
        rows.append(bytes(row))
    return rows


def png(n, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = b"".join(b"\x00" + r for r in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def hexrgb(c):
    return "#%02x%02x%02x" % c


def svg():
    pts = []
    steps = 96
    for k in range(steps + 1):
        x = WAVE_X0 + (WAVE_X1 - WAVE_X0) * k / steps
        pts.append("%.2f,%.2f" % (256 * x, 256 * wave_y(x)))
    s = 256
    inner0, inner1 = s * (INSET + 0.06), s * (1 - INSET - 0.06)
    dots = "\n".join('  <circle cx="%.2f" cy="%.2f" r="%.2f" fill="%s"/>' % (s * dx, s * dy, s * DOT_R, hexrgb(DOT))
                     for dx, dy in DOTS)
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<!-- Lumvard Sorvek: the I and Q axes, the unit circle with four constellation points, a waveform. -->
<svg xmlns="http://www.w3.org/2000/svg" width="{s}" height="{s}" viewBox="0 0 {s} {s}">
  <defs>
    <linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hexrgb(BG_TOP)}"/>
      <stop offset="1" stop-color="{hexrgb(BG_BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect x="{s * INSET:.2f}" y="{s * INSET:.2f}" width="{s * (1 - 2 * INSET):.2f}" height="{s * (1 - 2 * INSET):.2f}" rx="{s * CORNER:.2f}" fill="url(#bg)"/>
  <line x1="{inner0:.2f}" y1="{s / 2}" x2="{inner1:.2f}" y2="{s / 2}" stroke="{hexrgb(AXIS)}" stroke-width="{s * AXIS_W:.2f}"/>
  <line x1="{s / 2}" y1="{inner0:.2f}" x2="{s / 2}" y2="{inner1:.2f}" stroke="{hexrgb(AXIS)}" stroke-width="{s * AXIS_W:.2f}"/>
  <circle cx="{s / 2}" cy="{s / 2}" r="{s * RING_R:.2f}" fill="none" stroke="{hexrgb(RING)}" stroke-width="{s * RING_W:.2f}"/>
  <polyline points="{' '.join(pts)}" fill="none" stroke="{hexrgb(WAVE)}" stroke-width="{s * WAVE_W:.2f}" stroke-linecap="round" stroke-linejoin="round"/>
{dots}
</svg>
"""


def main():
    os.makedirs(OUT, exist_ok=True)
    for n in SIZES:
        with open(os.path.join(OUT, "%s-%d.png" % (NAME, n)), "wb") as f:
            f.write(png(n, render(n)))
    with open(os.path.join(OUT, NAME + ".svg"), "w") as f:
        f.write(svg())


if __name__ == "__main__":
    main()
