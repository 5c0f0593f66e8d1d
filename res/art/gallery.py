#!/usr/bin/python3
"""Contact sheet of every skin: mock-ups of the windows as the program paints
them, then each image on a checkerboard with its id and size.

/usr/bin/python3 res/art/gallery.py [skins folder] [output png]
"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

# Keep the source folder free of __pycache__.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from skintable import CORNER, SKINS  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
MAGENTA = (255, 0, 255, 255)


def font(size, bold=False):
    return ImageFont.truetype(FONT_PATH, size, index=1 if bold else 0)


# Images that sit on the dark caption band are shown on a dark board: their
# soft edges are blended onto the caption colour and would look dirty on white.
ON_CAPTION = {132, 135, 136, 137, 138, 139, 140, 142, 144, 145, 148, 149}


def checker(w, h, cell=8, dark=False):
    tones = ((40, 44, 52, 255), (62, 66, 76, 255)) if dark else ((204, 204, 204, 255), (244, 244, 244, 255))
    img = Image.new("RGBA", (w, h), tones[0])
    d = ImageDraw.Draw(img)
    for y in range(0, h, cell):
        for x in range((y // cell % 2) * cell, w, cell * 2):
            d.rectangle([x, y, x + cell - 1, y + cell - 1], fill=tones[1])
    return img


def keyed(img):
    """What the skin loader makes of an image: opaque, or transparent where the
    key colour would be; partial alpha flattened onto white."""
    out = img.copy()
    px = out.load()
    for y in range(out.height):
        for x in range(out.width):
            r, g, b, a = px[x, y]
            if a == 0:
                px[x, y] = (0, 0, 0, 0)
            elif a < 255:
                px[x, y] = tuple((65025 + a * (c - 255)) // 255 for c in (r, g, b)) + (255,)
    return out


def show_key(img):
    """Key-coloured pixels painted with a blit show as magenta, as on screen."""
    out = img.copy()
    px = out.load()
    for y in range(out.height):
        for x in range(out.width):
            if px[x, y][3] == 0:
                px[x, y] = MAGENTA
    return out


def window(bg, w, h, border, caption, stretch):
    """A skinned window's background at w x h, with its corners cut by the region."""
    src = show_key(keyed(bg))
    bw, bh = src.size
    B, C = border, (border if caption < 0 else caption)
    out = Image.new("RGBA", (w, h))

    def put(dx, dy, dw, dh, sx, sy, sw, sh):
        if dw > 0 and dh > 0 and sw > 0 and sh > 0:
            out.paste(src.crop((sx, sy, sx + sw, sy + sh)).resize((dw, dh), Image.NEAREST), (dx, dy))

    pieces = [
        ("tr", W_B := w - B, 0, B, C, bw - B, 0, B, C),
        ("r", W_B, C, B, h - C - B, bw - B, C, B, bh - C - B),
        ("bl", 0, h - B, B, B, 0, bh - B, B, B),
        ("b", B, h - B, w - 2 * B, B, B, bh - B, bw - 2 * B, B),
        ("br", W_B, h - B, B, B, bw - B, bh - B, B, B),
    ]
    if stretch:
        for p in [("tl", 0, 0, B, C, 0, 0, B, C), ("t", B, 0, w - 2 * B, C, B, 0, bw - 2 * B, C),
                  ("l", 0, C, B, h - C - B, 0, C, B, bh - C - B),
                  ("c", B, C, w - 2 * B, h - C - B, B, C, bw - 2 * B, bh - C - B)] + pieces:
            put(*p[1:])
    else:
        out.paste(src.crop((0, 0, min(w, bw), min(h, bh))), (0, 0))
        for p in pieces:
            put(*p[1:])
    # The window region: corner pixels that are key-coloured in the image are cut.
    opx, spx = out.load(), keyed(bg).load()
    for y in range(min(CORNER, bh)):
        for x in range(min(CORNER, bw)):
            for sx, sy, dx, dy in ((x, y, x, y), (bw - 1 - x, y, w - 1 - x, y),
                                   (x, bh - 1 - y, x, h - 1 - y), (bw - 1 - x, bh - 1 - y, w - 1 - x, h - 1 - y)):
                if spx[sx, sy][3] == 0:
                    opx[dx, dy] = (0, 0, 0, 0)
    return out


def frame(strip, frames, i):
    fw = strip.width // frames
    return keyed(strip.crop((i * fw, 0, (i + 1) * fw, strip.height)))


def put_frame(dst, skins, sid, i, x, y):
    w, h, n, _ = SKINS[sid]
    f = frame(skins[sid], n, i)
    dst.alpha_composite(f, (x, y))
    return f.size


def text_centred(d, box, text, fill, f):
    x0, y0, x1, y1 = box
    l, t, r, b = d.textbbox((0, 0), text, font=f)
    d.text((x0 + (x1 - x0 - (r - l)) / 2 - l, y0 + (y1 - y0 - (b - t)) / 2 - t), text, fill=fill, font=f)


def small_icon(root):
    p = os.path.join(root, "res", "icons", "TolvVorel-256.png")
    return Image.open(p).convert("RGBA").resize((16, 16), Image.LANCZOS) if os.path.exists(p) else None


def mock_main(skins, icon, hover_state):
    W, H = 1100, 120
    img = window(skins[134], W, H, 4, 30, True)
    d = ImageDraw.Draw(img)
    f = font(12)
    if icon:
        img.alpha_composite(icon, (4, 7))
    d.text((25, 7), "Vorel - Tolv", fill="white", font=f)
    for sid, x in ((132, W - 33), (135, W - 60), (136, W - 87)):
        put_frame(img, skins, sid, hover_state.get(sid, 0), x, 0)
    for sid, x in ((138, W - 114), (149, W - 141)):
        put_frame(img, skins, sid, hover_state.get(sid, 0), x, 0)
    st = hover_state.get(139, 0)
    put_frame(img, skins, 139, st, W - 185, 0)
    text_centred(d, (W - 185, 0, W - 141, 28), "系统", (128, 128, 128) if st == 3 else "black", f)
    img.alpha_composite(keyed(skins[142]), (W - 285 + 3, 7))
    d.text((W - 285 + 3 + 14 + 6, 8), "登录其他账号", fill="white", font=f)
    captions = ["1服-青龙-player01", "2服-白虎-player02", "7服-朱雀-player03"]
    looks = hover_state.get("tabs", (2, 0, 1))
    for i, look in enumerate(looks):
        put_frame(img, skins, 140, look, 120 + 189 * i, 3)
        if i == hover_state.get("hovered_tab"):
            put_frame(img, skins, 141, hover_state.get("close", 0), 296 + 189 * i, 3)
        d.text((136 + 189 * i, 8), captions[i], fill="black", font=f)
    return img


def mock_message_box(skins, icon):
    f = font(12)
    text = "窗口即将关闭，确定要退出游戏？"
    tw = ImageDraw.Draw(Image.new("RGB", (1, 1))).textbbox((0, 0), text, font=f)[2]
    bw, bh = 57, 23
    W = tw + 60 if tw > 2 * bw + 60 else 2 * bw + 60
    H = 14 + 3 + 90 + bh
    img = window(skins[131], W, H, 4, 30, True)
    d = ImageDraw.Draw(img)
    if icon:
        img.alpha_composite(icon, (4, 7))
    d.text((25, 7), "Vorel - Tolv", fill="white", font=f)
    put_frame(img, skins, 132, 1, W - 33, 0)
    d.text(((W - tw) // 2, 55), text, fill="black", font=f)
    for i, (label, x) in enumerate((("是", W // 2 - 10 - bw), ("否", W // 2 + 10))):
        put_frame(img, skins, 133, 1 if i == 0 else 0, x, H - 30 - bh)
        text_centred(d, (x, H - 30 - bh, x + bw, H - 30), label, "black", f)
    return img


def mock_progress(skins, icon, percent):
    f = font(12)
    W, H = 417, 138
    img = window(skins[131], W, H, 4, 30, True)
    d = ImageDraw.Draw(img)
    if icon:
        img.alpha_composite(icon, (4, 7))
    d.text((25, 7), "游戏下载中...", fill="white", font=f)
    put_frame(img, skins, 132, 0, W - 33, 0)
    px, py = 15, 66
    img.alpha_composite(keyed(skins[152]), (px, py))
    fill = keyed(skins[153])
    fw = fill.width
    a = int(fw / 100 * percent)
    h = a // 2
    if h:
        img.alpha_composite(fill.crop((0, 0, h, fill.height)), (px, py))
    if a - h:
        img.alpha_composite(fill.crop((fw - (a - h), 0, fw, fill.height)), (px + h, py))
    d.text((165, 42), "已加载  %d%%" % percent, fill=(72, 82, 86), font=font(16))
    for i, (label, x) in enumerate((("确定", 258), ("取消", 333))):
        put_frame(img, skins, 133, 3 if i == 0 else 0, x, 101)
        text_centred(d, (x, 101, x + 57, 124), label, (128, 128, 128) if i == 0 else "black", f)
    return img


def mock_add_account(skins):
    f = font(12)
    img = window(skins[162], 284, 150, 3, 30, False)
    d = ImageDraw.Draw(img)
    d.text((8, 7), "登录其他账号", fill="white", font=f)
    lines = ["在当前窗口新增标签页？", "点击“是”，在当前窗口登录(支持3个标签页)；", "点击“否”，在新窗口中登录。"]
    for i, line in enumerate(lines):
        d.text((14, 42 + i * 19), line, fill="black", font=f)
    for i, (label, x) in enumerate((("是", 82), ("否", 152))):
        put_frame(img, skins, 133, i, x, 112)
        text_centred(d, (x, 112, x + 57, 135), label, "black", f)
    return img


def mock_notice(skins, sid, picture):
    w, h = SKINS[sid][:2]
    img = window(skins[sid], w, h, 3 if sid != 146 else 0, 0, False)
    d = ImageDraw.Draw(img)
    f = font(12)
    d.text((5, 4), "公告", fill="white", font=f)
    if sid == 146:
        img.alpha_composite(picture.resize((163, 190)), (-3, 22))
        put_frame(img, skins, 145, 1, 106, 1)
        return img
    put_frame(img, skins, 144, 0, 211, 3)
    title, body, colour = "新服开启公告", "全新服务器今日开放，登录即领豪华礼包", (30, 39, 46)
    if sid == 143:
        img.alpha_composite(picture.resize((75, 80)), (15, 67))
        d.text((100, 48), title, fill=(19, 43, 67), font=font(12, True))
        d.text((100, 68), body[:9] + "...", fill=colour, font=f)
        d.text((195, 168), "详细>>", fill=colour, font=f)
    else:
        text_centred(d, (0, 45, w, 60), title, (19, 43, 67), font(12, True))
        d.text((18, 65), body[:16] + "...", fill=colour, font=f)
        d.text((195, 145), "详细>>", fill=colour, font=f)
    return img


def label(d, x, y, text, f):
    d.text((x, y), text, fill=(20, 24, 32), font=f)


def build(skins, root):
    icon = small_icon(root)
    f = font(13)
    fb = font(15, True)
    W = 1200
    blocks = []

    picture = skins[129].crop((80, 150, 380, 470)).convert("RGBA")
    blocks.append(("Main window caption: current tab hovered on its close icon, close button hovered",
                   [mock_main(skins, icon, {132: 1, "close": 1, "hovered_tab": 0, "tabs": (2, 0, 0)})]))
    blocks.append(("Main window caption: minimize, maximize, hide pressed; system menu button hovered",
                   [mock_main(skins, icon, {136: 2, 135: 1, 138: 2, 149: 1, 139: 1, "hovered_tab": 2, "close": 0, "tabs": (0, 2, 1)})]))
    blocks.append(("Message box, progress dialog at 57 %, add-account dialog",
                   [mock_message_box(skins, icon), mock_progress(skins, icon, 57), mock_add_account(skins)]))
    blocks.append(("Notices: picture and text, text only, picture only",
                   [mock_notice(skins, 143, picture), mock_notice(skins, 147, picture),
                    mock_notice(skins, 146, picture)]))

    d0 = ImageDraw.Draw(Image.new("RGB", (1, 1)))
    singles = []
    for sid in sorted(SKINS):
        if sid == 129:
            continue
        w, h, n, what = SKINS[sid]
        zoom = 4 if max(w, h) <= 60 else (3 if w <= 240 else (2 if w <= 580 else 1))
        singles.append((sid, w, h, n, what, zoom))

    # Lay out: mock-ups first, then the single images in rows, then the login picture.
    y = 16
    placements = []
    for title, imgs in blocks:
        placements.append(("title", 16, y, title))
        y += 24
        x = 16
        row_h = 0
        for im in imgs:
            placements.append(("img", x, y, im, False))
            x += im.width + 24
            row_h = max(row_h, im.height)
        y += row_h + 22
    placements.append(("title", 16, y, "Every image on a checkerboard (alpha 0 shows the board; dark board for "
                                       "images that sit on the caption band), zoomed as noted"))
    y += 28
    x, row_h = 16, 0
    for sid, w, h, n, what, zoom in singles:
        cw, ch = w * zoom, h * zoom
        frames = "" if n == 1 else ", %d frames of %d x %d" % (n, w // n, h)
        caption = "%d  (%d x %d%s)  x%d" % (sid, w, h, frames, zoom)
        box_w = max(cw, int(max(d0.textlength(t, font=f) for t in (what, caption))) + 8)
        if x + box_w > W - 16:
            x, y = 16, y + row_h + 16
            row_h = 0
        big = skins[sid].resize((cw, ch), Image.NEAREST)
        placements.append(("img", x, y + 36, big, "dark" if sid in ON_CAPTION else True))
        if n > 1:
            for i in range(1, n):
                placements.append(("vline", x + i * (w // n) * zoom, y + 36, ch))
        placements.append(("text", x, y, caption))
        placements.append(("text", x, y + 17, what))
        x += box_w + 24
        row_h = max(row_h, ch + 36)
    y += row_h + 22
    placements.append(("title", 16, y, "129  (1005 x 569)  login background with its alpha-faded edge"))
    y += 28
    placements.append(("img", 16, y, skins[129], True))
    y += 569 + 16

    sheet = Image.new("RGBA", (W, y), (250, 250, 252, 255))
    d = ImageDraw.Draw(sheet)
    for p in placements:
        if p[0] == "title":
            d.text((p[1], p[2]), p[3], fill=(10, 14, 22), font=fb)
        elif p[0] == "text":
            label(d, p[1], p[2], p[3], f)
        elif p[0] == "vline":
            d.line([p[1], p[2] - 3, p[1], p[2] + p[3] + 2], fill=(230, 60, 60, 255), width=1)
        else:
            _, x, yy, im, board = p
            if board:
                sheet.alpha_composite(checker(im.width, im.height, dark=board == "dark"), (x, yy))
            else:
                d.rectangle([x - 1, yy - 1, x + im.width, yy + im.height], outline=(200, 204, 210))
            sheet.alpha_composite(im, (x, yy))
    return sheet.convert("RGB")


def main(argv):
    skins_dir = argv[1] if len(argv) > 1 else os.path.join(ROOT, "res", "skins")
    out = argv[2] if len(argv) > 2 else os.path.join(ROOT, "docs", "skins-gallery.png")
    skins = {sid: Image.open(os.path.join(skins_dir, "%d.png" % sid)).convert("RGBA") for sid in SKINS}
    os.makedirs(os.path.dirname(out), exist_ok=True)
    build(skins, ROOT).save(out, optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
