#!/usr/bin/env python3
"""Writes shadow.bmp: a 6 x 2 bitmap resource that shares its id with a PNG resource in the
Windows tests, so that they can see which of the two the skin loader returns."""
import struct
from pathlib import Path

# Top row first; each pixel (r, g, b).
ROWS = [
    [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255), (10, 20, 30), (255, 255, 255)],
    [(0, 0, 0), (1, 2, 3), (40, 50, 60), (70, 80, 90), (100, 110, 120), (200, 100, 50)],
]

def bmp(rows):
    width, height = len(rows[0]), len(rows)
    stride = (width * 3 + 3) & ~3
    pixels = b""
    for row in reversed(rows):  # bottom-up
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        pixels += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(pixels), 0, 0, 14 + len(header))
    return file_header + header + pixels

if __name__ == "__main__":
    Path(__file__).with_name("shadow.bmp").write_bytes(bmp(ROWS))
