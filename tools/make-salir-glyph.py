#!/usr/bin/env python3
"""Writes imaging/png/salir_glyph.png, the 16 x 16 glyph of the "Salir"
button, and prints its bytes in hex.

The glyph is a red cross, anti-aliased, on a transparent background: 8-bit
RGBA (colour type 6), not interlaced, every row filtered with Sub, chunks
IHDR, tEXt ("Software"), one IDAT and IEND. The drawing, the text and the
zlib level are fixed so that the file is exactly 599 bytes (with zlib 1.2.x;
another zlib may compress differently, and the script then says so).
"""

import pathlib
import struct
import zlib

SIZE = 16
SUPERSAMPLE = 4
HALF_WIDTH = 1.6  # half the stroke width of each bar, in pixels
OUTLINE = 0.7     # width of the dark outline around the bars
MARGIN = 2.5      # distance of the bar ends from the edges
SOFTWARE = (b"articulosmqb tools/make-salir-glyph.py - glyph of the Salir button: "
            b"a red cross, 16 x 16 RGBA")
ZLIB_LEVEL = 9
EXPECTED_SIZE = 599


def coverage(x, y, half_width):
    """Part of pixel (x, y) that the two diagonal bars of the given half
    width cover, 0 to 1."""
    inside = 0
    n = SUPERSAMPLE
    for sy in range(n):
        for sx in range(n):
            px = x + (sx + 0.5) / n
            py = y + (sy + 0.5) / n
            if not (MARGIN <= px <= SIZE - MARGIN and MARGIN <= py <= SIZE - MARGIN):
                continue
            # Distances to the two diagonals through the centre.
            d1 = abs(px - py) / 2 ** 0.5
            d2 = abs(px + py - SIZE) / 2 ** 0.5
            if min(d1, d2) <= half_width:
                inside += 1
    return inside / (n * n)


def pixel(x, y):
    """A red cross with a dark red outline, lit from the top left."""
    body = coverage(x, y, HALF_WIDTH)
    outline = coverage(x, y, HALF_WIDTH + OUTLINE)
    light = 1.0 - (x + y) / (2 * (SIZE - 1))
    fill = (round(150 + 105 * light), round(20 + 90 * light * light), round(16 + 70 * light * light))
    edge = (120, 8, 8)
    colour = [f * body + e * (outline - body) for f, e in zip(fill, edge)]
    alpha = outline
    if alpha <= 0:
        return (0, 0, 0, 0)
    rgb = tuple(min(255, round(c / alpha)) for c in colour)
    return rgb + (round(255 * alpha),)


def sub_filtered_rows():
    raw = bytearray()
    for y in range(SIZE):
        row = bytearray()
        for x in range(SIZE):
            row.extend(pixel(x, y))
        raw.append(1)  # filter type Sub
        for i, value in enumerate(row):
            left = row[i - 4] if i >= 4 else 0
            raw.append((value - left) & 0xFF)
    return bytes(raw)


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def main():
    ihdr = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)
    idat = zlib.compress(sub_filtered_rows(), ZLIB_LEVEL)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
           + chunk(b"tEXt", b"Software\0" + SOFTWARE) + chunk(b"IDAT", idat)
           + chunk(b"IEND", b""))
    if len(png) != EXPECTED_SIZE:
        raise SystemExit(f"the glyph came out {len(png)} bytes, not {EXPECTED_SIZE}: "
                         f"the image data compresses to {len(idat)} bytes")
    out = pathlib.Path(__file__).resolve().parent.parent / "controls" / "png" / "salir_glyph.png"
    out.write_bytes(png)
    print(png.hex())


if __name__ == "__main__":
    main()
