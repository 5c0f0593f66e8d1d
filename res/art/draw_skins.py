#!/usr/bin/python3
"""Draws every skin image of the program into res/skins/<id>.png.

Run from anywhere: /usr/bin/python3 res/art/draw_skins.py [output folder]
The output is the same on every run (the only randomness has fixed seeds).
"""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter

# Keep the source folder free of __pycache__.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skinlib import (  # noqa: E402
    BODY_BOTTOM, BODY_MID, BODY_TOP, CAPTION_BOTTOM, CAPTION_SHADOW, CAPTION_SHEEN, CAPTION_TOP,
    EDGE_MATTE, FRAME, FRAME_DARK, FRAME_HI, GLYPH, GLYPH_DISABLED, GLYPH_HOVER, GLYPH_PRESSED,
    GOLD, GOLD_DARK, GOLD_DEEP, GOLD_LIGHT, MAIN_BODY_BOTTOM, MAIN_BODY_TOP, MUTE_RED, OUTLINE,
    PLATE_HOVER_BOTTOM, PLATE_HOVER_TOP, PLATE_PRESS_BOTTOM, PLATE_PRESS_TOP, RED_BOTTOM,
    RED_PRESS_BOTTOM, RED_PRESS_TOP, RED_TOP, Pen, column_matte, draw_emblem, harden, lerp, rgba,
    strip)

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_OUT = os.path.normpath(os.path.join(HERE, "..", "skins"))

# Window corners are cut by the dialog's region only where the image holds key
# colour, and only inside the 9x9 corner squares. The stretched backgrounds copy
# just border-wide corner pieces unscaled and stretch the columns between them,
# so their whole corner curve has to fit in the border: radius 4. Backgrounds
# shown at their own size can round a little more.
RADIUS_STRETCHED = 4
RADIUS_FIXED = 6

STATES = ("normal", "hover", "pressed", "disabled")


# --- window chrome -------------------------------------------------------------------------

def window_frame(w, h, caption, border, body_stops, deco=None, header_stops=None, radius=RADIUS_FIXED):
    """Rounded window with a dark caption (or header) band, a border and a body.

    caption: rows of the dark band, the last of them a gold line (0: none).
    deco(pen): extra drawing on the content before the rounded shape is cut.
    """
    content = Pen(w, h)
    content.fill("rect", FRAME_HI, 0, 0, w, h)
    content.fill("rect", FRAME, 2, 2, w - 2, h - 2)
    content.fill("rect", FRAME_DARK, border - 1, caption, w - border + 1, h - border + 1)
    content.fill("rect", content.grad(body_stops, caption, h - border), border, caption,
                 w - border, h - border)
    if caption:
        stops = header_stops or [(0, CAPTION_TOP), (1, CAPTION_BOTTOM)]
        content.fill("rect", content.grad(stops, 1, caption - 2), 1, 1, w - 1, caption - 2)
        content.fill("rect", rgba(CAPTION_SHEEN), 1, 1, w - 1, 2)
        content.fill("rect", rgba(CAPTION_SHADOW), 1, caption - 2, w - 1, caption - 1)
        content.fill("rect", rgba(GOLD), 1, caption - 1, w - 1, caption)
    if deco:
        deco(content)
    pen = Pen(w, h)
    pen.fill("rrect", OUTLINE, 0, 0, w, h, radius)
    pen.paint(content.img, pen.shape_mask("rrect", 1, 1, w - 1, h - 1, radius - 1))
    return harden(pen.result(), EDGE_MATTE, 0.5)


LIGHT_BODY = [(0, BODY_TOP), (1, BODY_BOTTOM)]
DARK_BODY = [(0, MAIN_BODY_TOP), (1, MAIN_BODY_BOTTOM)]


def dialog_background():
    return window_frame(30, 51, 30, 4, LIGHT_BODY, radius=RADIUS_STRETCHED)


def main_background():
    return window_frame(30, 51, 30, 4, DARK_BODY, radius=RADIUS_STRETCHED)


def add_account_background():
    def deco(pen):
        # A faint emblem at the lower right, clear of the question and the buttons' text.
        ghost = Pen(284, 150)
        draw_emblem(ghost, 236, 92, 38, 46, detail=False)
        faded = ghost.img.copy()
        faded.putalpha(faded.getchannel("A").point(lambda a: a * 28 // 255))
        pen.img = Image.alpha_composite(pen.img, faded)
    return window_frame(284, 150, 30, 3, LIGHT_BODY, deco)


POPUP_HEADER = 22


def popup_background(w, h, footer_top, flourish):
    def deco(pen):
        # Footer band for the details link, set off by a hairline pair.
        pen.fill("rect", pen.grad([(0, (226, 234, 242)), (1, (210, 221, 233))], footer_top, h - 3),
                 3, footer_top, w - 3, h - 3)
        pen.fill("rect", rgba((176, 190, 208)), 10, footer_top, w - 10, footer_top + 1)
        pen.fill("rect", rgba((255, 255, 255)), 10, footer_top + 1, w - 10, footer_top + 2)
        if not flourish:
            # Inset frame for the notice's picture (75 x 80 at 15, 67).
            pen.fill("rect", rgba((168, 184, 204)), 13, 65, 92, 149)
            pen.fill("rect", rgba((255, 255, 255)), 14, 66, 91, 148)
            return
        # Gold flourish above the centred title: a short bar with diamond ends.
        cy = POPUP_HEADER + 10.5
        pen.fill("rect", rgba(GOLD, 150), w / 2 - 40, cy - 0.5, w / 2 + 40, cy + 0.5)
        for cx in (w / 2 - 44, w / 2 + 44):
            pen.fill("polygon", rgba(GOLD), [(cx - 3, cy), (cx, cy - 3), (cx + 3, cy), (cx, cy + 3)])
    return window_frame(w, h, POPUP_HEADER, 3, LIGHT_BODY, deco)


def picture_popup_background():
    w, h = 160, 212

    def deco(pen):
        # Seen only while the picture is missing: the emblem on the dark body.
        draw_emblem(pen, w / 2 - 30, 80, 60, 72)
    return window_frame(w, h, 22, 1, DARK_BODY, deco)


# --- caption buttons -----------------------------------------------------------------------

def plate(pen, x0, y0, x1, y1, r, rim, top, bottom, sheen=None):
    pen.fill("rrect", rim, x0, y0, x1, y1, r)
    pen.fill("rrect", pen.grad([(0, top), (1, bottom)], y0, y1), x0 + 1, y0 + 1, x1 - 1, y1 - 1,
             max(r - 1, 0))
    if sheen:
        pen.fill("rect", sheen, x0 + r, y0 + 1, x1 - r, y0 + 2)


def inner_shadow(pen, x0, y0, x1, y1, r, depth, colour):
    """Darkens the top `depth` rows inside a rounded plate, as if pressed in."""
    inside = pen.shape_mask("rrect", x0, y0, x1, y1, r)
    band = pen.shape_mask("rect", x0, y0, x1, y0 + depth)
    pen.paint(colour, ImageChops.multiply(inside, band))


def glyph_close(pen, cx, cy, col, accent, size=4.0, width=1.7):
    for a, b in (((-1, -1), (1, 1)), ((1, -1), (-1, 1))):
        pen.fill("line", col, [(cx + a[0] * size, cy + a[1] * size), (cx + b[0] * size, cy + b[1] * size)],
                 width)


def glyph_minimize(pen, cx, cy, col, accent):
    pen.fill("rrect", col, cx - 5, cy + 2.5, cx + 5, cy + 4.5, 0.6)


def glyph_maximize(pen, cx, cy, col, accent):
    pen.fill("rframe", col, cx - 5, cy - 4.5, cx + 5, cy + 4.5, 1, 1.4)
    pen.fill("rect", col, cx - 5, cy - 4.5, cx + 5, cy - 2.6)


def glyph_restore(pen, cx, cy, col, accent):
    back = pen.shape_mask("rframe", cx - 2.5, cy - 6, cx + 5.5, cy + 1, 1, 1.3)
    front = pen.shape_mask("rect", cx - 7, cy - 4, cx + 3.5, cy + 6)
    pen.paint(col, ImageChops.subtract(back, front))
    pen.fill("rframe", col, cx - 5.5, cy - 2.5, cx + 2.5, cy + 5, 1, 1.3)
    pen.fill("rect", col, cx - 5.5, cy - 2.5, cx + 2.5, cy - 1)


def glyph_hide(pen, cx, cy, col, accent):
    pen.fill("line", col, [(cx, cy - 6), (cx, cy + 1.5)], 1.7)
    pen.fill("line", col, [(cx - 4, cy - 2), (cx, cy + 2), (cx + 4, cy - 2)], 1.7)
    pen.fill("rrect", col, cx - 5.5, cy + 4.3, cx + 5.5, cy + 6.1, 0.6)


def speaker(pen, cx, cy, col):
    pen.fill("rrect", col, cx - 6.5, cy - 2.4, cx - 3, cy + 2.4, 0.6)
    pen.fill("polygon", col, [(cx - 3.6, cy - 2.4), (cx + 0.5, cy - 6), (cx + 0.5, cy + 6),
                              (cx - 3.6, cy + 2.4)])


def glyph_sound_on(pen, cx, cy, col, accent):
    cx -= 2
    speaker(pen, cx, cy, col)
    for r, span in ((4.2, 42), (7.4, 46)):
        pen.fill("arc", col, cx + 0.5 - r, cy - r, cx + 0.5 + r, cy + r, -span, span, 1.3)


def glyph_sound_muted(pen, cx, cy, col, accent):
    cx -= 1.5
    speaker(pen, cx, cy, col)
    glyph_close(pen, cx + 5.8, cy, accent, None, size=2.6, width=1.5)


def caption_button(w, h, glyph, matte, danger=False, right_gap=2):
    """Four frames: glyph alone, glyph on a lit plate, pressed plate, greyed glyph."""
    x0, y0, x1, y1 = 2, 2, w - right_gap, h - 3
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    frames = []
    for state in STATES:
        pen = Pen(w, h)
        off = 0
        accent = MUTE_RED
        if state == "normal":
            col = GLYPH
        elif state == "hover":
            if danger:
                plate(pen, x0, y0, x1, y1, 4, rgba((240, 130, 110)), RED_TOP, RED_BOTTOM,
                      rgba((255, 190, 170), 120))
            else:
                plate(pen, x0, y0, x1, y1, 4, rgba(lerp(GOLD, PLATE_HOVER_TOP, 0.35)),
                      PLATE_HOVER_TOP, PLATE_HOVER_BOTTOM, rgba((170, 196, 230), 110))
            col, accent = GLYPH_HOVER, (255, 150, 136)
        elif state == "pressed":
            if danger:
                plate(pen, x0, y0, x1, y1, 4, rgba((90, 20, 16)), RED_PRESS_TOP, RED_PRESS_BOTTOM)
            else:
                plate(pen, x0, y0, x1, y1, 4, rgba(GOLD_DARK), PLATE_PRESS_TOP, PLATE_PRESS_BOTTOM)
            col, off = (GLYPH_HOVER if danger else GLYPH_PRESSED), 1
        else:
            col = accent = GLYPH_DISABLED
        glyph(pen, cx + off, cy + off, rgba(col), rgba(accent))
        frames.append(harden(pen.result(), matte, 0.08))
    return strip(frames)


def system_button(matte):
    """The "系统" button: a gold pill whose middle stays plain for the program's text."""
    w, h = 44, 28
    looks = {
        "normal": (GOLD_DARK, (246, 216, 140), (212, 162, 70), (255, 242, 204)),
        "hover": ((176, 128, 48), (255, 236, 174), (234, 190, 96), (255, 250, 226)),
        "pressed": (GOLD_DEEP, (190, 140, 56), (224, 176, 88), None),
        "disabled": ((112, 120, 134), (204, 209, 216), (178, 185, 195), (226, 230, 235)),
    }
    frames = []
    for state in STATES:
        rim, top, bottom, sheen = looks[state]
        pen = Pen(w, h)
        off = 1 if state == "pressed" else 0
        plate(pen, 2, 4 + off, 42, 24 + off, 10, rgba(rim), top, bottom,
              rgba(sheen, 200) if sheen else None)
        if state == "pressed":
            inner_shadow(pen, 3, 5 + off, 41, 23 + off, 9, 2.5, rgba((90, 60, 16), 110))
        frames.append(harden(pen.result(), matte, 0.08))
    return strip(frames)


def account_icon(matte):
    pen = Pen(14, 16)
    body = pen.shape_mask("ellipse", 3.5, 1.5, 9.5, 7.5)
    body = ImageChops.lighter(body, pen.shape_mask("ellipse", 0.5, 8.5, 12.5, 21))
    plus_gap = pen.shape_mask("rrect", 7.5, 8, 14, 16, 1.5)
    pen.paint(rgba(GLYPH), ImageChops.subtract(body, plus_gap))
    pen.fill("rect", rgba(GOLD_LIGHT), 10, 9.5, 11.6, 15.5)
    pen.fill("rect", rgba(GOLD_LIGHT), 7.8, 11.7, 13.8, 13.3)
    return harden(pen.result(), matte, 0.08)


# --- dialog command buttons ----------------------------------------------------------------

def command_button(matte):
    w, h = 57, 23
    looks = {
        "normal": ((94, 114, 144), (248, 250, 253), (204, 215, 230), (255, 255, 255)),
        "hover": (GOLD_DARK, (255, 254, 246), (250, 232, 184), (255, 255, 255)),
        "pressed": ((122, 86, 30), (214, 176, 96), (242, 220, 160), None),
        "disabled": ((166, 172, 180), (218, 221, 226), (210, 214, 219), None),
    }
    frames = []
    for state in STATES:
        rim, top, bottom, sheen = looks[state]
        pen = Pen(w, h)
        plate(pen, 0, 0, w, h, 4, rgba(rim), top, bottom, rgba(sheen) if sheen else None)
        if state == "pressed":
            inner_shadow(pen, 1, 1, w - 1, h - 1, 3, 2.5, rgba((110, 76, 20), 90))
        frames.append(harden(pen.result(), matte, 0.08))
    return strip(frames)


# --- tabs ------------------------------------------------------------------------------------

def tabs(matte):
    """Normal, hovered and current tab; the caption is drawn in black by the program."""
    w, h = 189, 22
    looks = [
        ((28, 40, 58), (156, 172, 196), (122, 140, 168), (196, 210, 228)),
        ((36, 50, 70), (206, 218, 234), (166, 184, 208), (240, 246, 252)),
        (GOLD_DARK, (254, 244, 216), (234, 210, 150), GOLD_LIGHT),
    ]
    frames = []
    for i, (rim, top, bottom, sheen) in enumerate(looks):
        pen = Pen(w, h)
        corners = (True, True, False, False)
        # A small radius keeps the close icon's corner (top right, 13 x 13) on the face.
        pen.fill("rrect", rgba(rim), 1, 1, w - 1, h, 4, corners=corners)
        pen.fill("rrect", pen.grad([(0, top), (1, bottom)], 2, h), 2, 2, w - 2, h, 3, corners=corners)
        pen.fill("rect", rgba(sheen), 5, 2, w - 5, 3)
        if i == 2:
            # The current tab carries the accent along its foot.
            pen.fill("rect", rgba(GOLD), 2, h - 2, w - 2, h)
        frames.append(harden(pen.result(), matte, 0.5))
    return strip(frames)


def tab_close(matte):
    """Cross shown on a hovered tab: plain, on a red badge, and pressed."""
    frames = []
    for state in ("idle", "hover", "pressed"):
        pen = Pen(13, 13)
        cx, cy, r = 6.5, 7.5, 4.4
        if state == "idle":
            glyph_close(pen, cx, cy, rgba((64, 76, 96)), None, size=2.4, width=1.4)
        else:
            top, bottom = (RED_TOP, RED_BOTTOM) if state == "hover" else (RED_PRESS_TOP, RED_PRESS_BOTTOM)
            pen.fill("ellipse", rgba((110, 28, 22)), cx - r, cy - r, cx + r, cy + r)
            pen.fill("ellipse", pen.grad([(0, top), (1, bottom)], cy - r, cy + r),
                     cx - r + 0.8, cy - r + 0.8, cx + r - 0.8, cy + r - 0.8)
            off = 0.5 if state == "pressed" else 0
            glyph_close(pen, cx + off, cy + off, rgba((255, 255, 255)), None, size=1.9, width=1.3)
        frames.append(harden(pen.result(), matte, 0.08))
    return strip(frames)


# --- popup close buttons ---------------------------------------------------------------------

def pill_close(w, h, pill, size, width, matte):
    x0, y0, x1, y1 = pill
    r = (y1 - y0) / 2
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    frames = []
    for state in STATES:
        pen = Pen(w, h)
        col, off = GLYPH, 0
        if state == "hover":
            plate(pen, x0, y0, x1, y1, r, rgba((240, 130, 110)), RED_TOP, RED_BOTTOM)
            col = GLYPH_HOVER
        elif state == "pressed":
            plate(pen, x0, y0, x1, y1, r, rgba((90, 20, 16)), RED_PRESS_TOP, RED_PRESS_BOTTOM)
            col, off = GLYPH_HOVER, 1
        elif state == "disabled":
            col = GLYPH_DISABLED
        else:
            pen.fill("rframe", rgba(GLYPH, 70), x0, y0, x1, y1, r, 1)
        glyph_close(pen, cx + off, cy + off, rgba(col), None, size=size, width=width)
        frames.append(harden(pen.result(), matte, 0.08))
    return strip(frames)


# --- progress bar ----------------------------------------------------------------------------

def progress_trough():
    w, h = 390, 21
    pen = Pen(w, h)
    pen.fill("rrect", rgba((255, 255, 255), 200), 0, 1, w, h, 10)
    pen.fill("rrect", rgba((62, 78, 104)), 0, 0, w, h - 1, 10)
    pen.fill("rrect", pen.grad([(0, (14, 20, 31)), (1, (42, 56, 78))], 1, h - 2), 1, 1, w - 1, h - 2, 9)
    pen.fill("rrect", rgba((0, 0, 0), 80), 2, 1.5, w - 2, 3.5, 8)
    return harden(pen.result(), BODY_MID, 0.08)


def progress_fill(trough):
    """Gold bar; the program draws its left and right ends separately, so the
    middle must look the same in every column."""
    w, h = 390, 21
    pen = Pen(w, h)
    pen.fill("rrect", rgba(GOLD_DEEP), 3, 3, w - 3, 17, 7)
    pen.fill("rrect", pen.grad([(0, (255, 240, 182)), (0.45, (240, 196, 98)), (1, (182, 126, 42))], 4, 16),
             4, 4, w - 4, 16, 6)
    pen.fill("rrect", rgba((255, 255, 240), 90), 6, 4.6, w - 6, 9.5, 4)
    return harden(pen.result(), trough, 0.08)


# --- banners (present in the resources, not loaded by any code) -------------------------------

def banner(gold):
    w, h = 316, 28
    pen = Pen(w, h)
    shape = [(0, 2), (w, 2), (w - 10, 14), (w, 26), (0, 26), (10, 14)]
    if gold:
        stops, line, rim = [(0, (252, 226, 156)), (1, (206, 154, 62))], rgba(GOLD_DEEP, 200), GOLD_DEEP
    else:
        stops, line, rim = [(0, CAPTION_TOP), (1, CAPTION_BOTTOM)], rgba(GOLD, 220), OUTLINE
    pen.fill("polygon", rim, shape)
    inner = [(1.5, 3), (w - 1.5, 3), (w - 11.3, 14), (w - 1.5, 25), (1.5, 25), (11.3, 14)]
    pen.fill("polygon", pen.grad(stops, 3, 25), inner)
    pen.fill("rect", line, 16, 5, w - 16, 6)
    pen.fill("rect", line, 16, 22, w - 16, 23)
    for cx in (22, w - 22):
        pen.fill("polygon", line, [(cx - 4, 14), (cx, 10), (cx + 4, 14), (cx, 18)])
    return harden(pen.result(), EDGE_MATTE, 0.5)


# --- login background --------------------------------------------------------------------------

def ridge(rng, w, base, amp, rough, levels=8):
    """Midpoint-displacement skyline: heights at 2**levels + 1 evenly spaced x."""
    pts = [base + rng.uniform(-amp, amp) * 0.5, base + rng.uniform(-amp, amp) * 0.5]
    scale = amp
    for _ in range(levels):
        nxt = []
        for a, b in zip(pts, pts[1:]):
            nxt += [a, (a + b) / 2 + rng.uniform(-scale, scale)]
        pts = nxt + [pts[-1]]
        scale *= rough
    n = len(pts) - 1
    return [(w * i / n, y) for i, y in enumerate(pts)]


def with_peak(points, px, height, half_width, sharp=1.4):
    return [(x, y - height * max(0.0, 1 - abs(x - px) / half_width) ** sharp) for x, y in points]


def radial(size, centre, radius, colour, alpha, falloff=2.0):
    """Soft disc of colour whose alpha falls from `alpha` at the centre to 0 at radius."""
    w, h = size
    # PIL's gradient reaches 255 only in the square's corners (distance 128 * sqrt 2).
    small = Image.radial_gradient("L").resize((radius * 2, radius * 2), Image.BILINEAR)
    small = small.point(lambda v: round(alpha * max(0.0, 1 - v * math.sqrt(2) / 255) ** falloff))
    a = Image.new("L", size, 0)
    a.paste(small, (round(centre[0] - radius), round(centre[1] - radius)))
    layer = Image.new("RGBA", size, rgba(colour))
    layer.putalpha(a)
    return layer


def login_background():
    W, H = 1005, 569
    ss = 2
    rng = random.Random(20240607)
    pen = Pen(W, H, ss)
    size = pen.img.size
    sun = (612, 352)

    pen.fill("rect", pen.grad([(0, (6, 10, 26)), (0.28, (16, 28, 58)), (0.5, (40, 58, 100)),
                               (0.66, (120, 104, 132)), (0.76, (226, 164, 112)),
                               (0.84, (252, 210, 140)), (1, (250, 216, 160))]), 0, 0, W, H)

    # Nebula wisps high in the sky.
    neb = Image.new("RGBA", size, (0, 0, 0, 0))
    nd = ImageDraw.Draw(neb)
    for cx, cy, rx, ry, col in ((250, 90, 230, 40, (90, 80, 170, 60)), (720, 70, 260, 34, (60, 110, 180, 55)),
                                (520, 160, 300, 26, (150, 90, 150, 40)), (120, 200, 180, 20, (70, 100, 160, 40))):
        nd.ellipse([(cx - rx) * ss, (cy - ry) * ss, (cx + rx) * ss, (cy + ry) * ss], fill=col)
    pen.img = Image.alpha_composite(pen.img, neb.filter(ImageFilter.GaussianBlur(28 * ss)))

    # Stars thin out towards the glowing horizon.
    sd = ImageDraw.Draw(pen.img)
    for _ in range(340):
        x, y = rng.uniform(8, W - 8), 8 + 292 * rng.random() ** 1.6
        fade = max(0.0, 1 - y / 310)
        a = round(255 * fade * rng.uniform(0.35, 1.0))
        r = rng.choice((0.5, 0.6, 0.7, 0.9, 1.1)) * ss
        tint = rng.choice(((255, 255, 255), (220, 230, 255), (255, 236, 200)))
        sd.ellipse([x * ss - r, y * ss - r, x * ss + r, y * ss + r], fill=tint + (a,))
    sparkle = Image.new("RGBA", size, (0, 0, 0, 0))
    spd = ImageDraw.Draw(sparkle)
    for _ in range(11):
        x, y, s = rng.uniform(40, W - 40), rng.uniform(20, 200), rng.uniform(5, 10)
        for dx, dy in ((s, 0), (0, s)):
            spd.line([(x - dx) * ss, (y - dy) * ss, (x + dx) * ss, (y + dy) * ss], fill=(255, 250, 235, 200),
                     width=1)
        spd.ellipse([(x - 1.4) * ss, (y - 1.4) * ss, (x + 1.4) * ss, (y + 1.4) * ss], fill=(255, 255, 255, 255))
    pen.img = Image.alpha_composite(pen.img, sparkle.filter(ImageFilter.GaussianBlur(0.6 * ss)))
    pen.img = Image.alpha_composite(pen.img, sparkle)

    # Sun low on the horizon, its glow and a fan of rays.
    s2 = (sun[0] * ss, sun[1] * ss)
    pen.img = Image.alpha_composite(pen.img, radial(size, s2, 520 * ss, (255, 190, 120), 120, 2.2))
    rays = Image.new("L", size, 0)
    rd = ImageDraw.Draw(rays)
    for i in range(15):
        ang = math.radians(-172 + i * 11.5 + rng.uniform(-2, 2))
        spread = math.radians(rng.uniform(1.2, 2.6))
        far = 900 * ss
        pts = [s2, (s2[0] + far * math.cos(ang - spread), s2[1] + far * math.sin(ang - spread)),
               (s2[0] + far * math.cos(ang + spread), s2[1] + far * math.sin(ang + spread))]
        rd.polygon(pts, fill=rng.randint(26, 46))
    rays = rays.filter(ImageFilter.GaussianBlur(5 * ss))
    reach = radial(size, s2, 620 * ss, (0, 0, 0), 255, 1.3).getchannel("A")
    ray_layer = Image.new("RGBA", size, (255, 226, 170, 0))
    ray_layer.putalpha(ImageChops.multiply(rays, reach))
    pen.img = Image.alpha_composite(pen.img, ray_layer)
    pen.img = Image.alpha_composite(pen.img, radial(size, s2, 90 * ss, (255, 236, 190), 230, 1.6))
    pen.fill("ellipse", rgba((255, 246, 222)), sun[0] - 30, sun[1] - 30, sun[0] + 30, sun[1] + 30)

    # Thin lit clouds across the sun.
    clouds = Image.new("RGBA", size, (0, 0, 0, 0))
    cd = ImageDraw.Draw(clouds)
    for cx, cy, rx, ry in ((470, 318, 150, 5), (700, 332, 190, 4), (560, 300, 90, 3), (830, 306, 110, 3),
                           (300, 340, 130, 4)):
        cd.ellipse([(cx - rx) * ss, (cy - ry) * ss, (cx + rx) * ss, (cy + ry) * ss], fill=(255, 214, 170, 150))
    pen.img = Image.alpha_composite(pen.img, clouds.filter(ImageFilter.GaussianBlur(2.5 * ss)))

    # Mountain ranges from far to near, each darker and less hazy.
    # Mountain ranges from far to near, each darker and less hazy. A peak is
    # (x, height, half width, side turned from the sun: -1 left, +1 right, 0 none).
    ranges = [
        (336, 60, 0.55, [], (150, 134, 170), (120, 112, 156), 0.9),
        (380, 80, 0.52, [(250, 120, 120, -1), (860, 90, 140, 1)], (96, 96, 140), (70, 74, 116), 0.6),
        (440, 70, 0.5, [(170, 160, 150, -1), (640, 40, 110, 0)], (48, 56, 92), (34, 40, 70), 0.35),
        (494, 40, 0.5, [(860, 120, 160, 1)], (26, 32, 56), (18, 22, 40), 0.15),
    ]
    castle_at = None
    for i, (base, amp, rough, peaks, top, bottom, lit) in enumerate(ranges):
        pts = ridge(rng, W, base, amp, rough)
        for px, ph, pw, _ in peaks:
            pts = with_peak(pts, px, ph, pw)
        # Fine crags so that the big slopes are not ruler-straight.
        crags = ridge(rng, W, 0, 10 + i * 2, 0.62)
        pts = [(x, y + cy) for (x, y), (_, cy) in zip(pts, crags)]
        if i == 2:
            castle_at = min(pts, key=lambda p: p[1])
        poly = pts + [(W, H), (0, H)]
        pen.fill("polygon", pen.grad([(0, top), (1, bottom)], min(y for _, y in pts), H), poly)
        for px, ph, pw, away in peaks:
            if away:
                shadow_face(pen, rng, pts, px, pw, away, H, rgba(lerp(bottom, (4, 6, 16), 0.45), 150))
        if lit:
            rim = pen.shape_mask("line", pts, 1.6)
            near_sun = radial(size, s2, 420 * ss, (0, 0, 0), round(255 * lit), 1.2).getchannel("A")
            pen.paint(rgba((255, 210, 150)), ImageChops.multiply(rim, near_sun))
        if i < len(ranges) - 1:
            mist_y = base + 30 + i * 8
            mist = Image.new("RGBA", size, (0, 0, 0, 0))
            md = ImageDraw.Draw(mist)
            md.rectangle([0, (mist_y - 10) * ss, W * ss, (mist_y + 10) * ss],
                         fill=(236, 210, 200, 70 - i * 12))
            pen.img = Image.alpha_composite(pen.img, mist.filter(ImageFilter.GaussianBlur(14 * ss)))

        if i == 2:
            draw_castle(pen, castle_at, bottom)

    draw_lake(pen, rng, sun)

    # Foreground ridge with pines.
    fg = with_peak(ridge(rng, W, 548, 30, 0.5), 70, 70, 200)
    fg = with_peak(fg, 990, 60, 170)
    fg = with_peak(fg, 560, -22, 200, 1.0)
    pen.fill("polygon", rgba((8, 11, 20)), fg + [(W, H), (0, H)])
    for _ in range(70):
        x = rng.uniform(0, W)
        if 330 < x < 700 and rng.random() < 0.7:
            continue
        y = min(fg, key=lambda p: abs(p[0] - x))[1] + 2
        th = rng.uniform(14, 34) * (1.3 if x < 200 or x > 850 else 1.0)
        tw = th * rng.uniform(0.32, 0.42)
        for k in range(3):
            yk = y - th * k * 0.28
            pen.fill("polygon", rgba((8, 11, 20)), [(x, yk - th * 0.62), (x - tw * (1 - k * 0.22), yk),
                                                    (x + tw * (1 - k * 0.22), yk)])

    # Drifting motes of light.
    motes = Image.new("RGBA", size, (0, 0, 0, 0))
    mo = ImageDraw.Draw(motes)
    for _ in range(46):
        x, y = rng.uniform(30, W - 30), rng.uniform(260, 540)
        r = rng.uniform(0.8, 2.2) * ss
        mo.ellipse([x * ss - r, y * ss - r, x * ss + r, y * ss + r], fill=(255, 224, 150, rng.randint(120, 230)))
    pen.img = Image.alpha_composite(pen.img, motes.filter(ImageFilter.GaussianBlur(2.4 * ss)))
    pen.img = Image.alpha_composite(pen.img, motes.filter(ImageFilter.GaussianBlur(0.4 * ss)))

    # Vignette, then a gold hairline inside the soft rounded edge.
    vig = Image.new("L", size, 0)
    ImageDraw.Draw(vig).rounded_rectangle([40 * ss, 40 * ss, (W - 40) * ss, (H - 40) * ss], radius=120 * ss,
                                          fill=255)
    vig = vig.filter(ImageFilter.GaussianBlur(60 * ss)).point(lambda v: round((255 - v) * 0.55))
    dark = Image.new("RGBA", size, (4, 6, 14, 0))
    dark.putalpha(vig)
    pen.img = Image.alpha_composite(pen.img, dark)
    pen.fill("rframe", rgba(GOLD, 150), 12, 12, W - 12, H - 12, 20, 1.2)
    pen.fill("rframe", rgba(GOLD_LIGHT, 60), 14, 14, W - 14, H - 14, 18, 0.8)

    img = pen.result()
    # Edge fade: fully clear at the outline, opaque 14 px in.
    edge = Image.new("L", (W, H), 0)
    ImageDraw.Draw(edge).rounded_rectangle([8, 8, W - 9, H - 9], radius=24, fill=255)
    # The blur's far tail is cut so that the outermost pixels are truly clear.
    edge = edge.filter(ImageFilter.GaussianBlur(3.5)).point(lambda v: max(0, v - 8) * 255 // 247)
    img.putalpha(ImageChops.multiply(img.getchannel("A"), edge))
    return img


def shadow_face(pen, rng, pts, px, half_width, away, bottom, colour):
    """Darkens the face of a peak that is turned away from the sun: the area
    between a jagged crease from the summit and the ridge on that side."""
    near = [p for p in pts if abs(p[0] - px) < half_width * 0.5]
    summit = min(near, key=lambda p: p[1])
    crease = [summit]
    steps = 7
    for k in range(1, steps + 1):
        t = k / steps
        crease.append((summit[0] + away * half_width * 0.22 * t + rng.uniform(-5, 5),
                       summit[1] + (bottom - summit[1]) * t))
    edge = summit[0] + away * half_width
    side = [p for p in pts if (p[0] - summit[0]) * away > 0 and abs(p[0] - summit[0]) <= half_width]
    side.sort(key=lambda p: -abs(p[0] - summit[0]))
    pen.fill("polygon", colour, crease + [(edge, bottom)] + side)


def draw_lake(pen, rng, sun):
    """Still water in the valley below the sun, mirroring its glow."""
    x0, x1, y0, y1 = 330, 880, 506, 569
    # Widest along the far shore, narrowing towards the viewer.
    lake = pen.shape_mask("ellipse", x0, y0 - 70, x1, y1 + 6)
    clip = pen.shape_mask("rect", x0, y0, x1, y1)
    water = pen.grad([(0, (232, 176, 120)), (0.35, (112, 92, 120)), (1, (24, 30, 54))], y0, y1)
    pen.paint(water, ImageChops.multiply(lake, clip))
    shore = ImageChops.multiply(lake, pen.shape_mask("rect", x0, y0, x1, y0 + 1))
    pen.paint(rgba((255, 222, 170), 140), shore)
    glint = Image.new("RGBA", pen.img.size, (0, 0, 0, 0))
    gd = ImageDraw.Draw(glint)
    s = pen.ss
    for _ in range(60):
        y = rng.uniform(y0 + 2, y1 - 4)
        spread = 30 + (y - y0) * 2.2
        x = sun[0] + rng.gauss(0, spread * 0.45)
        half = rng.uniform(4, 18) * (1 - (y - y0) / (y1 - y0) * 0.5)
        gd.line([(x - half) * s, y * s, (x + half) * s, y * s], fill=(255, 232, 180, rng.randint(90, 200)),
                width=s)
    pen.img = Image.alpha_composite(
        pen.img, Image.composite(glint, Image.new("RGBA", glint.size, (0, 0, 0, 0)), lake))


def draw_castle(pen, peak, colour):
    """A small keep with three spires on the highest point of the middle range."""
    x, y = peak
    dark = rgba(lerp(colour, (10, 12, 24), 0.35))
    base_y = y + 14
    pen.fill("polygon", dark, [(x - 40, base_y + 12), (x - 30, base_y - 8), (x + 30, base_y - 8),
                               (x + 42, base_y + 12)])
    towers = [(-24, 6, 34), (0, 8, 56), (22, 6, 40), (-10, 4, 26), (34, 4, 22)]
    for dx, half, height in towers:
        tx = x + dx
        top = base_y - height
        pen.fill("rect", dark, tx - half, top, tx + half, base_y)
        pen.fill("polygon", dark, [(tx - half - 1.5, top), (tx, top - half * 2.6), (tx + half + 1.5, top)])
        for k in range(-half + 1, half, 3):
            pen.fill("rect", dark, tx + k, top - 2, tx + k + 1.5, top)
    pen.fill("line", dark, [(x, base_y - 56 - 8 * 2.6), (x, base_y - 56 - 8 * 2.6 - 9)], 1.0)
    pen.fill("polygon", rgba(GOLD_LIGHT), [(x, base_y - 86), (x + 7, base_y - 83.5), (x, base_y - 81)])
    glow = Image.new("RGBA", pen.img.size, (0, 0, 0, 0))
    gd = ImageDraw.Draw(glow)
    s = pen.ss
    for wx, wy in ((x - 1, base_y - 44), (x - 1, base_y - 30), (x - 25, base_y - 24), (x + 21, base_y - 28),
                   (x + 10, base_y - 4), (x - 14, base_y - 2)):
        gd.rectangle([wx * s, wy * s, (wx + 2) * s, (wy + 3) * s], fill=(255, 210, 120, 255))
    pen.img = Image.alpha_composite(pen.img, glow.filter(ImageFilter.GaussianBlur(3 * s)))
    pen.img = Image.alpha_composite(pen.img, glow)


# --- all of it -------------------------------------------------------------------------------

def build():
    """Returns {id: image} for every skin image."""
    skins = {}
    skins[131] = dialog_background()
    skins[134] = main_background()
    def cap_matte(w, h, y0=0):
        return column_matte(skins[134], 15, y0, w, h)

    skins[132] = caption_button(33, 28, glyph_close, cap_matte(33, 28), danger=True, right_gap=5)
    skins[135] = caption_button(27, 28, glyph_maximize, cap_matte(27, 28))
    skins[136] = caption_button(27, 28, glyph_minimize, cap_matte(27, 28))
    skins[137] = caption_button(27, 28, glyph_restore, cap_matte(27, 28))
    skins[138] = caption_button(27, 27, glyph_hide, cap_matte(27, 27))
    skins[148] = caption_button(27, 27, glyph_sound_muted, cap_matte(27, 27))
    skins[149] = caption_button(27, 27, glyph_sound_on, cap_matte(27, 27))
    skins[139] = system_button(cap_matte(44, 28))
    skins[142] = account_icon(cap_matte(14, 16, 7))

    skins[133] = command_button(BODY_MID)
    tab_matte = cap_matte(189, 22, 3)
    skins[140] = tabs(tab_matte)
    hovered = Image.alpha_composite(cap_matte(13, 13, 3), skins[140].crop((189 + 176, 0, 189 + 189, 13)))
    skins[141] = tab_close(hovered)

    skins[143] = popup_background(250, 191, 160, flourish=False)
    skins[147] = popup_background(250, 167, 138, flourish=True)
    skins[146] = picture_popup_background()
    skins[144] = pill_close(36, 14, (1, 1, 35, 13), 2.8, 1.4, skins[143].crop((211, 3, 247, 17)))
    skins[145] = pill_close(54, 22, (3, 2, 51, 20), 3.6, 1.7, skins[146].crop((106, 1, 160, 23)))

    skins[152] = progress_trough()
    skins[153] = progress_fill(skins[152])
    skins[162] = add_account_background()
    skins[150] = banner(gold=False)
    skins[151] = banner(gold=True)
    skins[129] = login_background()
    return skins


def main(argv):
    out = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    for sid, img in sorted(build().items()):
        img.save(os.path.join(out, "%d.png" % sid), optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
