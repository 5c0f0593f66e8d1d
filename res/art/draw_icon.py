#!/usr/bin/python3
"""Draws the application icon: res/icons/TolvVorel.ico (16, 32 and 48 pixels)
and res/icons/TolvVorel-256.png for the documentation.

/usr/bin/python3 res/art/draw_icon.py [output folder]

The .ico holds 32-bit DIB images with an AND mask, not PNG entries: Windows XP
cannot read PNG-compressed icon images.
"""

import os
import struct
import sys

from PIL import Image, ImageFilter

# Keep the source folder free of __pycache__.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinlib import Pen, draw_emblem  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "icons"))
ICO_SIZES = (16, 32, 48)


def emblem(size):
    """The emblem at one size; small sizes fill more of the square and drop the fine detail."""
    ss = 16 if size <= 48 else 4
    pen = Pen(size, size, ss)
    if size <= 16:
        box = (0.5, 0.25, size - 1.0, size - 0.5)
    elif size <= 48:
        box = (size * 0.07, size * 0.03, size * 0.86, size * 0.94)
    else:
        box = (size * 0.12, size * 0.06, size * 0.76, size * 0.86)
    draw_emblem(pen, *box, detail=size >= 32)
    img = pen.result()
    if size > 48:
        # Soft shadow under the shield for the large picture.
        shadow = Image.new("RGBA", img.size, (0, 0, 0, 0))
        a = img.getchannel("A").point(lambda v: v * 120 // 255)
        shadow.putalpha(a)
        shadow = shadow.filter(ImageFilter.GaussianBlur(size / 40))
        base = Image.new("RGBA", img.size, (0, 0, 0, 0))
        base.alpha_composite(shadow, (0, round(size / 50)))
        img = Image.alpha_composite(base, img)
    return img


def dib_image(img):
    """One icon image: BITMAPINFOHEADER (height doubled for the mask), BGRA rows
    bottom-up, then the 1-bit AND mask (1 = transparent), rows padded to 32 bits."""
    w, h = img.size
    px = img.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a)) if a else b"\0\0\0\0"
    stride = (w + 31) // 32 * 4
    mask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico_bytes(images):
    count = len(images)
    blobs = [dib_image(im) for im in images]
    out = bytearray(struct.pack("<HHH", 0, 1, count))
    offset = 6 + 16 * count
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main(argv):
    out = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "TolvVorel.ico"), "wb") as f:
        f.write(ico_bytes([emblem(s) for s in ICO_SIZES]))
    emblem(256).save(os.path.join(out, "TolvVorel-256.png"), optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
