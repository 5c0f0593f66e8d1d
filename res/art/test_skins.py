#!/usr/bin/env python3
"""Checks the committed skin images and the icon against what the program
expects of them. Standard library only, so it runs on any Python 3."""

import os
import struct
import sys
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
# Keep the source folder free of __pycache__.
sys.dont_write_bytecode = True
sys.path.insert(0, HERE)
from skintable import CORNER, KEY, SKINS, STRETCHED, TRUE_ALPHA, WINDOW_BACKGROUNDS  # noqa: E402

ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SKIN_DIR = os.path.join(ROOT, "res", "skins")
ICON_DIR = os.path.join(ROOT, "res", "icons")


class Png:
    """A decoded 8-bit PNG: width, height, colour type and RGBA rows."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError("not a PNG: " + path)
        pos, idat = 8, []
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
            if zlib.crc32(kind + body) != crc:
                raise ValueError("bad CRC in %s chunk of %s" % (kind, path))
            if kind == b"IHDR":
                (self.width, self.height, self.depth, self.colour_type, _, _,
                 self.interlace) = struct.unpack(">IIBBBBB", body)
            elif kind == b"IDAT":
                idat.append(body)
            pos += 12 + length
        self.rows = None
        if self.depth == 8 and self.colour_type == 6 and self.interlace == 0:
            self.rows = self._unfilter(zlib.decompress(b"".join(idat)))

    def _unfilter(self, raw):
        stride, bpp = self.width * 4, 4
        rows, prev, pos = [], bytearray(stride), 0
        for _ in range(self.height):
            ftype, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
            pos += 1 + stride
            if ftype == 1:
                for i in range(bpp, stride):
                    line[i] = (line[i] + line[i - bpp]) & 255
            elif ftype == 2:
                line = bytearray((a + b) & 255 for a, b in zip(line, prev))
            elif ftype == 3:
                for i in range(stride):
                    left = line[i - bpp] if i >= bpp else 0
                    line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
            elif ftype == 4:
                for i in range(stride):
                    a = line[i - bpp] if i >= bpp else 0
                    b, c = prev[i], (prev[i - bpp] if i >= bpp else 0)
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                    line[i] = (line[i] + pred) & 255
            rows.append(line)
            prev = line
        return rows

    def px(self, x, y):
        r = self.rows[y]
        return tuple(r[x * 4:x * 4 + 4])

    def alpha(self, x, y):
        return self.rows[y][x * 4 + 3]

    def pixels(self, box=None):
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1):
            row = self.rows[y]
            for x in range(x0, x1):
                yield x, y, tuple(row[x * 4:x * 4 + 4])


_cache = {}


def skin(sid):
    if sid not in _cache:
        _cache[sid] = Png(os.path.join(SKIN_DIR, "%d.png" % sid))
    return _cache[sid]


def luminance(png, box):
    """Mean luminance of the opaque pixels in box."""
    total = count = 0
    for _, _, (r, g, b, a) in png.pixels(box):
        if a == 255:
            total += 0.299 * r + 0.587 * g + 0.114 * b
            count += 1
    return total / count if count else None


class ImagesMatchTheTable(unittest.TestCase):

    def test_every_image_is_present_at_its_size_as_8bit_rgba(self):
        for sid, (w, h, frames, _) in SKINS.items():
            with self.subTest(id=sid):
                png = skin(sid)
                self.assertEqual((png.width, png.height), (w, h))
                self.assertEqual((png.depth, png.colour_type), (8, 6), "8-bit RGBA")
                self.assertIsNotNone(png.rows, "non-interlaced, decodable")
                self.assertEqual(w % frames, 0, "frames of equal width")

    def test_no_stray_images_in_the_skin_folder(self):
        found = {n for n in os.listdir(SKIN_DIR) if n.endswith(".png")}
        self.assertEqual(found, {"%d.png" % sid for sid in SKINS})


class TransparencyFollowsTheLoader(unittest.TestCase):
    """Every image but the login background is turned into a key-colour bitmap:
    alpha 0 becomes transparent, partial alpha is flattened onto white."""

    def test_no_pixel_is_opaque_key_colour(self):
        for sid in SKINS:
            with self.subTest(id=sid):
                bad = [(x, y) for x, y, p in skin(sid).pixels() if p[3] and p[:3] == KEY]
                self.assertEqual(bad[:5], [])

    def test_keyed_images_have_no_partial_alpha(self):
        for sid in set(SKINS) - TRUE_ALPHA:
            with self.subTest(id=sid):
                partial = [(x, y) for x, y, p in skin(sid).pixels() if 0 < p[3] < 255]
                self.assertEqual(partial[:5], [], "would show as a white fringe")

    def test_login_background_fades_to_clear_at_its_rounded_edge(self):
        png = skin(129)
        w, h = png.width, png.height
        for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1), (w // 2, 0), (0, h // 2)):
            self.assertEqual(png.alpha(x, y), 0, (x, y))
        self.assertEqual(png.alpha(w // 2, h // 2), 255)
        edge = [png.alpha(x, h // 2) for x in range(0, 30)]
        self.assertTrue(any(0 < a < 255 for a in edge), "soft, not a hard cut")
        self.assertEqual(edge, sorted(edge), "alpha rises towards the inside")


class WindowShapes(unittest.TestCase):

    def test_window_corners_are_cut_and_the_rest_is_solid(self):
        for sid in WINDOW_BACKGROUNDS:
            png = skin(sid)
            w, h = png.width, png.height
            with self.subTest(id=sid):
                for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
                    self.assertEqual(png.alpha(x, y), 0, (x, y))
                for x, y in ((CORNER - 1, CORNER - 1), (w - CORNER, h - CORNER), (w // 2, 0), (0, h // 2)):
                    self.assertEqual(png.alpha(x, y), 255, (x, y))

    def test_transparency_only_where_the_window_region_can_cut_it(self):
        # Outside the 9 x 9 corners a transparent pixel would be painted as magenta.
        for sid in WINDOW_BACKGROUNDS:
            png = skin(sid)
            w, h = png.width, png.height
            with self.subTest(id=sid):
                stray = [(x, y) for x, y, p in png.pixels() if p[3] == 0
                         and not ((x < CORNER or x >= w - CORNER) and (y < CORNER or y >= h - CORNER))]
                self.assertEqual(stray[:5], [])

    def test_stretched_backgrounds_keep_cut_pixels_in_the_unscaled_corner_pieces(self):
        # The caption and bottom edge are stretched from the columns between the
        # corner pieces; a cut pixel there would be smeared across the window.
        for sid, (border, caption) in STRETCHED.items():
            png = skin(sid)
            w, h = png.width, png.height
            with self.subTest(id=sid):
                stray = [(x, y) for x, y, p in png.pixels() if p[3] == 0
                         and not ((x < border or x >= w - border) and (y < caption or y >= h - border))]
                self.assertEqual(stray, [])

    def test_stretched_pieces_are_uniform_along_their_stretch(self):
        # A stretched row (caption, body, bottom) must not change along x, a
        # stretched column (left and right edge) not along y, or the stretch shows.
        for sid, (border, caption) in STRETCHED.items():
            png = skin(sid)
            w, h = png.width, png.height
            with self.subTest(id=sid):
                for y in range(h):
                    row = {png.px(x, y) for x in range(border, w - border)}
                    if caption <= y < h - border:
                        continue
                    self.assertEqual(len(row), 1, "row %d" % y)
                for x in list(range(border)) + list(range(w - border, w)):
                    col = {png.px(x, y) for y in range(caption, h - border)}
                    self.assertEqual(len(col), 1, "column %d" % x)


class TextStaysReadable(unittest.TestCase):
    """The program draws white titles on the caption and black or dark text on
    the bodies, tabs and command buttons; the art has to carry both."""

    DARK_UNDER_WHITE_TEXT = [
        (131, (4, 4, 26, 26)), (134, (4, 4, 26, 26)), (162, (20, 4, 200, 26)),
        (143, (5, 4, 100, 18)), (147, (5, 4, 100, 18)), (146, (5, 4, 100, 18)),
    ]
    LIGHT_UNDER_DARK_TEXT = [
        (131, (4, 30, 26, 47)), (162, (10, 36, 274, 140)),
        (143, (100, 48, 230, 81)), (147, (18, 45, 232, 78)), (143, (195, 168, 237, 181)),
        (140, (16, 5, 176, 19)), (140, (189 + 16, 5, 189 + 176, 19)), (140, (378 + 16, 5, 378 + 176, 19)),
        (139, (12, 10, 32, 18)), (139, (44 + 12, 10, 44 + 32, 18)),
        (133, (10, 6, 47, 17)), (133, (57 + 10, 6, 57 + 47, 17)),
    ]

    def test_caption_bands_are_dark(self):
        for sid, box in self.DARK_UNDER_WHITE_TEXT:
            with self.subTest(id=sid, box=box):
                self.assertLess(luminance(skin(sid), box), 90)

    def test_text_areas_are_light(self):
        for sid, box in self.LIGHT_UNDER_DARK_TEXT:
            with self.subTest(id=sid, box=box):
                self.assertGreater(luminance(skin(sid), box), 150)


class ButtonStates(unittest.TestCase):

    def frames(self, sid):
        w, h, n, _ = SKINS[sid]
        fw = w // n
        png = skin(sid)
        return png, [(i * fw, 0, (i + 1) * fw, h) for i in range(n)]

    def test_every_frame_of_a_strip_looks_different(self):
        for sid, (w, h, n, _) in SKINS.items():
            if n == 1:
                continue
            png, boxes = self.frames(sid)
            looks = [tuple(p for _, _, p in png.pixels(b)) for b in boxes]
            with self.subTest(id=sid):
                self.assertEqual(len(set(looks)), n)

    # Where each four-state strip is shown: background id and the point under
    # the frame's top-left corner. The caption band of a stretched background is
    # the same along x; a dialog body is sampled once.
    SHOWN_ON = {132: (134, 15, 0), 135: (134, 15, 0), 136: (134, 15, 0), 137: (134, 15, 0),
                138: (134, 15, 0), 139: (134, 15, 0), 148: (134, 15, 0), 149: (134, 15, 0),
                133: (131, 15, 38), 144: (143, 211, 3), 145: (146, 106, 1)}

    def background(self, sid, x, y):
        bg_id, bx, by = self.SHOWN_ON[sid]
        bg = skin(bg_id)
        if bg_id == 131:
            return bg.px(bx, by)
        if bg_id in STRETCHED:
            return bg.px(bx, by + y)
        return bg.px(bx + x, by + y)

    def shown(self, sid, box):
        """Mean luminance of a frame over its background (transparent pixels show it)."""
        total = 0.0
        for x, y, p in skin(sid).pixels(box):
            r, g, b, _ = p if p[3] else self.background(sid, x - box[0], y - box[1])
            total += 0.299 * r + 0.587 * g + 0.114 * b
        return total / ((box[2] - box[0]) * (box[3] - box[1]))

    def test_every_four_state_strip_has_a_known_background(self):
        self.assertEqual(set(self.SHOWN_ON), {sid for sid, v in SKINS.items() if v[2] == 4})

    def test_hover_is_lighter_than_normal_and_pressed(self):
        for sid in self.SHOWN_ON:
            png, (normal, hover, pressed, disabled) = self.frames(sid)
            with self.subTest(id=sid):
                lit = self.shown(sid, hover)
                self.assertGreater(lit, self.shown(sid, normal))
                self.assertGreater(lit, self.shown(sid, pressed))

    def test_disabled_frame_is_grey(self):
        for sid, (w, h, n, _) in SKINS.items():
            if n != 4:
                continue
            png, boxes = self.frames(sid)
            with self.subTest(id=sid):
                spread = [max(p[:3]) - min(p[:3]) for _, _, p in png.pixels(boxes[3]) if p[3]]
                self.assertLess(sum(spread) / len(spread), 40)


class Icon(unittest.TestCase):

    def setUp(self):
        with open(os.path.join(ICON_DIR, "TolvVorel.ico"), "rb") as f:
            self.data = f.read()

    def entries(self):
        reserved, kind, count = struct.unpack("<HHH", self.data[:6])
        self.assertEqual((reserved, kind), (0, 1))
        return [struct.unpack("<BBBBHHII", self.data[6 + 16 * i:22 + 16 * i]) for i in range(count)]

    def test_directory_lists_16_32_and_48_pixel_32_bit_images(self):
        entries = self.entries()
        self.assertEqual([(e[0], e[1]) for e in entries], [(16, 16), (32, 32), (48, 48)])
        end = 6 + 16 * len(entries)
        for w, h, colours, res, planes, bits, size, offset in entries:
            self.assertEqual((colours, res, planes, bits), (0, 0, 1, 32))
            self.assertEqual(offset, end, "images follow each other without gaps")
            end = offset + size
        self.assertEqual(end, len(self.data))

    def test_images_are_dibs_whose_and_mask_matches_the_alpha(self):
        for w, h, _, _, _, _, size, offset in self.entries():
            blob = self.data[offset:offset + size]
            with self.subTest(size=w):
                self.assertNotEqual(blob[:4], b"\x89PNG", "PNG entries are unreadable on XP")
                (hsize, bw, bh, planes, bits, compression, image_size) = struct.unpack("<IiiHHII", blob[:24])
                self.assertEqual((hsize, bw, bh, planes, bits, compression), (40, w, 2 * h, 1, 32, 0))
                stride = (w + 31) // 32 * 4
                self.assertEqual(size, 40 + w * h * 4 + stride * h)
                self.assertEqual(image_size, w * h * 4 + stride * h)
                xor, mask = blob[40:40 + w * h * 4], blob[40 + w * h * 4:]
                alphas = [xor[i * 4 + 3] for i in range(w * h)]
                for row in range(h):
                    for x in range(w):
                        bit = mask[row * stride + x // 8] >> (7 - x % 8) & 1
                        self.assertEqual(bit, 1 if alphas[row * w + x] == 0 else 0, (x, row))
                # Rows are stored bottom-up: the shield narrows to its point at the
                # bottom of the picture, so the first stored quarter has less ink.
                ink = lambda rows: sum(1 for r in rows for x in range(w) if alphas[r * w + x] > 128)  # noqa: E731
                self.assertEqual(alphas[0], 0, "corner is transparent")
                self.assertGreater(ink(range(h - h // 4, h)), ink(range(h // 4)))

    def test_large_picture_for_the_documentation(self):
        png = Png(os.path.join(ICON_DIR, "TolvVorel-256.png"))
        self.assertEqual((png.width, png.height, png.depth, png.colour_type), (256, 256, 8, 6))
        self.assertEqual(png.alpha(0, 0), 0)
        self.assertEqual(png.alpha(128, 128), 255)


if __name__ == "__main__":
    unittest.main()
