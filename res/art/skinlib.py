"""Palette and drawing helpers shared by the skin, icon and gallery scripts.

Shapes are drawn at SS times the final size and box-filtered down, which gives
anti-aliased edges without any font or external artwork.
"""

from PIL import Image, ImageChops, ImageDraw

SS = 4

KEY = (255, 0, 255)

# Chrome: dark slate-blue with a warm gold accent.
OUTLINE = (9, 13, 21)
EDGE_MATTE = (6, 9, 14)
FRAME_HI = (70, 92, 124)
FRAME = (40, 55, 78)
FRAME_DARK = (19, 27, 40)
CAPTION_SHEEN = (88, 112, 150)
CAPTION_TOP = (55, 76, 108)
CAPTION_BOTTOM = (27, 39, 58)
CAPTION_SHADOW = (17, 24, 36)
GOLD_LIGHT = (250, 222, 150)
GOLD = (214, 170, 78)
GOLD_DARK = (146, 104, 38)
GOLD_DEEP = (102, 70, 22)

# Client areas carry black text drawn by the program, so dialog bodies stay light.
BODY_TOP = (242, 246, 250)
BODY_BOTTOM = (222, 231, 240)
BODY_MID = (232, 238, 245)
MAIN_BODY_TOP = (30, 40, 57)
MAIN_BODY_BOTTOM = (17, 23, 34)

GLYPH = (206, 218, 234)
GLYPH_HOVER = (255, 255, 255)
GLYPH_PRESSED = (250, 222, 150)
GLYPH_DISABLED = (98, 110, 128)
PLATE_HOVER_TOP = (86, 112, 150)
PLATE_HOVER_BOTTOM = (58, 80, 112)
PLATE_PRESS_TOP = (12, 18, 28)
PLATE_PRESS_BOTTOM = (26, 36, 52)
RED_TOP = (222, 84, 70)
RED_BOTTOM = (176, 48, 40)
RED_PRESS_TOP = (120, 30, 26)
RED_PRESS_BOTTOM = (150, 42, 36)
MUTE_RED = (236, 116, 104)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def rgba(c, a=None):
    """Colour as an RGBA tuple; a given alpha replaces any the colour carries."""
    if a is None:
        a = c[3] if len(c) > 3 else 255
    return tuple(c[:3]) + (a,)


def vgradient(w, h, stops, y0=0, y1=None):
    """Image w x h whose rows run through the (position, colour) stops.

    Position 0 is row y0 and 1 is row y1 (default: the image's top and bottom);
    rows outside take the end colours.
    """
    y1 = h if y1 is None else y1
    col = Image.new("RGBA", (1, h))
    stops = [(p, rgba(c) if len(c) == 3 else tuple(c)) for p, c in stops]
    for y in range(h):
        t = min(max((y + 0.5 - y0) / (y1 - y0), 0.0), 1.0)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1 or (p1, c1) == stops[-1]:
                f = 0.0 if p1 == p0 else min(max((t - p0) / (p1 - p0), 0.0), 1.0)
                col.putpixel((0, y), lerp(c0, c1, f))
                break
    return col.resize((w, h), Image.NEAREST)


class Pen:
    """Draws in final-pixel coordinates onto a supersampled RGBA layer.

    Pixel i covers [i, i + 1); a 1-px line along a pixel row sits at y = i + 0.5.
    """

    def __init__(self, w, h, ss=SS):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("RGBA", (w * ss, h * ss), (0, 0, 0, 0))

    def _p(self, v):
        return v * self.ss

    def _box(self, x0, y0, x1, y1):
        s = self.ss
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    def mask(self):
        return Image.new("L", self.img.size, 0)

    def shape_mask(self, kind, *args, **kw):
        m = self.mask()
        d = ImageDraw.Draw(m)
        getattr(self, "_" + kind)(d, *args, fill=255, **kw)
        return m

    def _rect(self, d, x0, y0, x1, y1, fill):
        d.rectangle(self._box(x0, y0, x1, y1), fill=fill)

    def _rrect(self, d, x0, y0, x1, y1, r, fill, corners=None):
        """corners: (top-left, top-right, bottom-right, bottom-left) to round; default all."""
        d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.ss, fill=fill)
        square = [(x0, y0, x0 + r, y0 + r), (x1 - r, y0, x1, y0 + r),
                  (x1 - r, y1 - r, x1, y1), (x0, y1 - r, x0 + r, y1)]
        for rounded, box in zip(corners or (True,) * 4, square):
            if not rounded:
                d.rectangle(self._box(*box), fill=fill)

    def _rframe(self, d, x0, y0, x1, y1, r, width, fill):
        d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.ss, outline=fill,
                            width=max(1, round(width * self.ss)))

    def _ellipse(self, d, x0, y0, x1, y1, fill):
        d.ellipse(self._box(x0, y0, x1, y1), fill=fill)

    def _polygon(self, d, pts, fill):
        d.polygon([(x * self.ss, y * self.ss) for x, y in pts], fill=fill)

    def _line(self, d, pts, width, fill):
        s = self.ss
        d.line([(x * s, y * s) for x, y in pts], fill=fill, width=max(1, round(width * s)),
               joint="curve")
        r = width * s / 2
        for x, y in (pts[0], pts[-1]):
            d.ellipse([x * s - r, y * s - r, x * s + r, y * s + r], fill=fill)

    def _arc(self, d, x0, y0, x1, y1, start, end, width, fill):
        d.arc(self._box(x0, y0, x1, y1), start, end, fill=fill, width=max(1, round(width * self.ss)))

    def paint(self, source, mask):
        """Composites an image or a colour through a coverage mask."""
        if not isinstance(source, Image.Image):
            source = Image.new("RGBA", self.img.size, rgba(source))
        elif source.size != self.img.size:
            source = source.resize(self.img.size, Image.BILINEAR)
        layer = source.copy()
        layer.putalpha(ImageChops.multiply(source.getchannel("A"), mask))
        self.img = Image.alpha_composite(self.img, layer)

    def fill(self, kind, source, *args, **kw):
        self.paint(source, self.shape_mask(kind, *args, **kw))

    def grad(self, stops, y0=0, y1=None):
        """Vertical gradient over the whole layer, running from row y0 to y1."""
        y1 = self.h if y1 is None else y1
        return vgradient(self.img.width, self.img.height, stops, y0 * self.ss, y1 * self.ss)

    def result(self):
        return downsample(self.img, self.w, self.h)


def downsample(img, w, h):
    # Premultiplied, so transparent neighbours do not darken the edges.
    return img.convert("RGBa").resize((w, h), Image.BOX).convert("RGBA")


def harden(img, matte, cut=0.5):
    """Makes every pixel either fully transparent or opaque.

    The skin loader composites partial alpha onto white, which would put a light
    fringe round every shape on our dark chrome. Instead the soft edge is blended
    here onto the colour that will really lie underneath (the matte), and the
    faintest pixels are dropped so the parent's skin shows through them.
    """
    if not isinstance(matte, Image.Image):
        matte = Image.new("RGBA", img.size, rgba(matte))
    elif matte.size != img.size:
        matte = matte.resize(img.size, Image.NEAREST)
    flat = Image.alpha_composite(rgba_opaque(matte), img)
    keep = img.getchannel("A").point(lambda a: 255 if a >= cut * 255 else 0)
    out = Image.composite(flat, Image.new("RGBA", img.size, (0, 0, 0, 0)), keep)
    return avoid_key(out)


def rgba_opaque(img):
    img = img.convert("RGBA")
    img.putalpha(255)
    return img


def avoid_key(img):
    """An opaque key-coloured pixel would be cut out by the loader; nudge it."""
    px = img.load()
    for y in range(img.height):
        for x in range(img.width):
            if px[x, y] == KEY + (255,):
                px[x, y] = (254, 0, 255, 255)
    return img


def column_matte(src, x, y0, w, h):
    """A w x h matte that repeats column x of src from row y0 down."""
    return src.crop((x, y0, x + 1, y0 + h)).resize((w, h), Image.NEAREST)


def strip(frames):
    w, h = frames[0].size
    out = Image.new("RGBA", (w * len(frames), h), (0, 0, 0, 0))
    for i, f in enumerate(frames):
        assert f.size == (w, h)
        out.paste(f, (i * w, 0))
    return out


def bezier(p0, p1, p2, n=24):
    return [((1 - t) ** 2 * p0[0] + 2 * (1 - t) * t * p1[0] + t * t * p2[0],
             (1 - t) ** 2 * p0[1] + 2 * (1 - t) * t * p1[1] + t * t * p2[1])
            for t in (i / n for i in range(n + 1))]


def shield_outline(x, y, w, h):
    """Heater-shield outline in the box (x, y, w, h): two shoulders, curved point."""
    def P(u, v):
        return (x + u * w, y + v * h)
    top = [P(0.0, 0.05), P(0.25, 0.0), P(0.5, 0.05), P(0.75, 0.0), P(1.0, 0.05)]
    right = bezier(P(1.0, 0.05), P(1.0, 0.0), P(1.0, 0.42))[1:]
    right += bezier(P(1.0, 0.42), P(0.97, 0.82), P(0.5, 1.0))[1:]
    left = bezier(P(0.5, 1.0), P(0.03, 0.82), P(0.0, 0.42))[1:]
    left += bezier(P(0.0, 0.42), P(0.0, 0.0), P(0.0, 0.05))[1:]
    return top + right + left


def v_mark(x, y, w, h, stroke=0.17):
    """The emblem's "V" as a polygon in the box (x, y, w, h); stroke is relative to w."""
    s = stroke * w
    mid = x + w / 2
    return [(x, y), (x + s * 1.15, y), (mid, y + h * 0.78), (x + w - s * 1.15, y), (x + w, y),
            (mid + s * 0.62, y + h), (mid - s * 0.62, y + h)]


def draw_emblem(pen, x, y, w, h, detail=True):
    """Gold-rimmed dark-blue shield carrying a gold V."""
    out = shield_outline(x, y, w, h)
    pen.fill("polygon", pen.grad([(0, GOLD_LIGHT), (0.55, GOLD), (1, GOLD_DARK)], y, y + h), out)
    rim = max(w * 0.085, 1.0)
    inner = shield_outline(x + rim, y + rim * 0.9, w - 2 * rim, h - rim * 2.2)
    shade = pen.grad([(0, (58, 88, 140)), (0.6, (26, 44, 80)), (1, (12, 20, 40))], y, y + h)
    pen.fill("polygon", shade, inner)
    if detail:
        # Soft sheen on the upper left of the field.
        sheen = shield_outline(x + rim, y + rim * 0.9, (w - 2 * rim) * 0.5, (h - rim * 2.2) * 0.55)
        pen.fill("polygon", rgba((150, 180, 230), 40), sheen)
    vx, vy, vw, vh = x + w * 0.2, y + h * 0.2, w * 0.6, h * 0.56
    if detail:
        pen.fill("polygon", rgba((4, 8, 16), 110),
                 [(px + w * 0.02, py + h * 0.025) for px, py in v_mark(vx, vy, vw, vh)])
    pen.fill("polygon", pen.grad([(0, (255, 240, 190)), (0.45, GOLD_LIGHT), (1, GOLD)], vy, vy + vh),
             v_mark(vx, vy, vw, vh))
