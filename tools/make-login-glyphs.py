#!/usr/bin/env python3
"""Draws the two 46 x 32 glyphs of the login window's speed buttons and
prints them as "Glyph = bytes" blocks for forms/accesoqb.form:

  export  two green arrows turning clockwise in a circle ("F5: Exportar")
  cancel  a red cross ("Esc: Cancelar")

Both are 24-bit BMP files (BITMAPINFOHEADER, bottom-up rows) on a light
grey background. The speed button draws the colour of the bottom-left pixel
as transparent, so the background only shows in the anti-aliased edges.

  tools/make-login-glyphs.py              print both blocks
  tools/make-login-glyphs.py --bmp DIR    also write DIR/export.bmp, DIR/cancel.bmp

The output is deterministic: running it again gives the same bytes.
"""

import math
import pathlib
import struct
import sys

WIDTH, HEIGHT = 46, 32
BACKGROUND = (212, 208, 200)  # light grey
SUPERSAMPLE = 4
INDENT = " " * 8  # the hexadecimal lines under a button two levels deep in the form
HEX_PER_LINE = 64


def render(shape, fill, edge, outline):
    """Pixels of a shape given as a function inside(x, y, grow) -> bool.
    The shape grown by 0 is drawn in the edge colour, shrunk by `outline`
    in the fill colour fill(x, y); samples are averaged per pixel."""
    n = SUPERSAMPLE
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            acc = [0.0, 0.0, 0.0]
            for sy in range(n):
                for sx in range(n):
                    px = x + (sx + 0.5) / n
                    py = y + (sy + 0.5) / n
                    if shape(px, py, -outline):
                        colour = fill(px, py)
                    elif shape(px, py, 0.0):
                        colour = edge
                    else:
                        colour = BACKGROUND
                    for i in range(3):
                        acc[i] += colour[i]
            row.append(tuple(round(c / (n * n)) for c in acc))
        rows.append(row)
    # The transparent colour must be exactly the background in the corner.
    assert rows[HEIGHT - 1][0] == BACKGROUND
    return rows


def shade(base, light_colour, x, y):
    """Lit from the top left: mixes towards light_colour there."""
    t = max(0.0, 1.0 - (x / WIDTH + y / HEIGHT) / 1.4)
    return tuple(round(b + (l - b) * t) for b, l in zip(base, light_colour))


# --- Two arrows in a circle -------------------------------------------------

CX, CY = WIDTH / 2, HEIGHT / 2
RING_MID = 10.0      # radius of the middle of the ring
RING_HALF = 2.2      # half its thickness
HEAD_HALF = 5.0      # half the width of an arrow head at its base
HEAD_LENGTH = 0.75   # length of a head along the ring, in radians
# Arcs in screen angles (clockwise, 0 pointing right), each followed by its head.
ARCS = [(math.radians(200), math.radians(300)), (math.radians(20), math.radians(120))]


def angle_in(a, start, end):
    """Distance in radians past `start` when a lies in [start, end], else None."""
    d = (a - start) % (2 * math.pi)
    return d if d <= (end - start) else None


def arrows(px, py, grow):
    dx, dy = px - CX, py - CY
    r = math.hypot(dx, dy)
    if r < 1e-6:
        return False
    a = math.atan2(dy, dx)
    g = grow / r  # a pixel of growth in radians at this radius
    for start, end in ARCS:
        # The body of the arrow: a part of the ring.
        if angle_in(a, start - g, end) is not None and abs(r - RING_MID) <= RING_HALF + grow:
            return True
        # Its head: narrows from HEAD_HALF at the arc's end to a point.
        d = angle_in(a, end, end + HEAD_LENGTH + g)
        if d is not None:
            t = min(1.0, d / (HEAD_LENGTH + 1e-9))
            if abs(r - RING_MID) <= HEAD_HALF * (1.0 - t) + grow * 1.5:
                return True
    return False


def arrows_fill(px, py):
    return shade((24, 140, 36), (150, 235, 130), px, py)


# --- A red cross ------------------------------------------------------------

CROSS_HALF = 11.0    # half the side of the square the bars span
BAR_HALF = 2.6       # half the width of a bar


def cross(px, py, grow):
    dx, dy = px - CX, py - CY
    limit = CROSS_HALF + grow
    if abs(dx) > limit or abs(dy) > limit:
        return False
    d1 = abs(dx - dy) / math.sqrt(2)
    d2 = abs(dx + dy) / math.sqrt(2)
    return min(d1, d2) <= BAR_HALF + grow


def cross_fill(px, py):
    return shade((196, 24, 20), (255, 140, 120), px, py)


# --- Output -----------------------------------------------------------------

def bmp(rows):
    """A 24-bit BMP file of the rows (top row first)."""
    stride = (WIDTH * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return file_header + info + bytes(pixels)


def form_block(data):
    hex_text = data.hex().upper()
    lines = [INDENT + hex_text[i:i + HEX_PER_LINE] for i in range(0, len(hex_text), HEX_PER_LINE)]
    return "      Glyph = bytes\n" + "\n".join(lines)


def main(argv):
    glyphs = {
        "export": bmp(render(arrows, arrows_fill, (10, 80, 20), 0.9)),
        "cancel": bmp(render(cross, cross_fill, (120, 10, 8), 0.9)),
    }
    if len(argv) == 3 and argv[1] == "--bmp":
        out = pathlib.Path(argv[2])
        out.mkdir(parents=True, exist_ok=True)
        for name, data in glyphs.items():
            (out / f"{name}.bmp").write_bytes(data)
    elif len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    for name, data in glyphs.items():
        print(f"# {name}: {len(data)} bytes")
        print(form_block(data))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
