#!/usr/bin/env python3
"""Writes the publisher's popup notices and their pictures into site/notice/.

The notice files are what the publisher would put on its client web host: one record of
seven "|"-separated fields (identifier, last day, title, link, text, picture, showings) in
the players' ANSI code page, GBK. "@HOST@" is filled in by the server with the address the
request went to. The pictures are drawn here, without fonts or outside artwork:

  tolvvorel.txt      picture and text (the notice "make run" shows)
  text-only.txt      text without picture
  picture-only.txt   picture without text
  expired.txt        a last day long past
  oversized.txt      1024 bytes and more: refused by the client
  picture-small.jpg  72 x 80, beside the text
  picture-large.jpg  160 x 190, the whole popup below its band

Usage: make_notices.py [output folder]
"""

import os
import sys

from PIL import Image, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.normpath(os.path.join(HERE, "..", "..", "res", "art")))
from skinlib import GOLD, GOLD_LIGHT, Pen, draw_emblem, rgba  # noqa: E402

DEFAULT_OUT = os.path.join(HERE, "site", "notice")
FOREVER = "2099-12-31"
SITE = "http://@HOST@/notice/"

TITLE = "新服「苍穹」火爆开启"
TEXT = ("新服苍穹今日十点火爆开启！首周登录即送稀有坐骑，累计在线满三小时再领双倍经验卡，"
        "活动期间充值返利最高百分之三十，详情请点击查看活动说明。")

NOTICES = {
    "tolvvorel.txt": ["TV-2025-07", FOREVER, TITLE, SITE, TEXT, SITE + "picture-small.jpg", "3"],
    "text-only.txt": ["TV-2025-07T", FOREVER, "停机维护公告", SITE,
                      "为了给大家带来更好的游戏体验，全部服务器将于本周四上午七点至十点停机维护，"
                      "维护期间无法登录游戏，维护完成后将发放补偿礼包，敬请谅解。", "", "1"],
    "picture-only.txt": ["TV-2025-07P", FOREVER, TITLE, SITE, "", SITE + "picture-large.jpg", "2"],
    "expired.txt": ["TV-2001-01", "2001-01-01", "旧公告", SITE, "早已结束的活动。", "", "1"],
}


def record(fields):
    assert len(fields) == 7
    data = "|".join(fields).encode("gbk")
    # A GBK trail byte may be 0x7C: a reader in another code page would see a separator there.
    assert data.count(b"|") == 6, "a character of the notice encodes with a '|' byte"
    return data


def oversized():
    # The text alone is longer than the client accepts for the whole file.
    fields = ["TV-BIG", FOREVER, "超长公告", SITE, "超长" * 300, "", "1"]
    data = record(fields)
    assert len(data) >= 1024
    return data


# --- pictures ------------------------------------------------------------------------------

SKY = [(0.0, (22, 34, 72)), (0.55, (92, 84, 140)), (0.85, (226, 148, 112)), (1.0, (248, 204, 140))]


def peaks(pen, w, h, base, ridges):
    """Layers of mountain ridges from far (light, hazy) to near (dark)."""
    for i, (height, colour) in enumerate(ridges):
        pts = [(0, h)]
        n = 7 + i * 2
        for k in range(n + 1):
            x = w * k / n
            # A fixed zigzag, tallest near the middle: the "peak of the sky".
            lift = height * (0.55 + 0.45 * (1 - abs(k / n - 0.5) * 2))
            y = base - lift * (1.0 if k % 2 else 0.62)
            pts.append((x, y))
        pts.append((w, h))
        pen.fill("polygon", rgba(colour), pts)


def scene(w, h, emblem_box, sun):
    pen = Pen(w, h)
    pen.fill("rect", pen.grad(SKY, 0, h * 0.72), 0, 0, w, h)
    sx, sy, sr = sun
    pen.fill("ellipse", rgba((255, 236, 180), 90), sx - sr * 1.8, sy - sr * 1.8, sx + sr * 1.8,
             sy + sr * 1.8)
    pen.fill("ellipse", rgba((255, 242, 200)), sx - sr, sy - sr, sx + sr, sy + sr)
    peaks(pen, w, h, h * 0.86, [(h * 0.42, (120, 110, 160)), (h * 0.30, (58, 64, 110)),
                                (h * 0.18, (24, 30, 56))])
    x, y, ew, eh = emblem_box
    draw_emblem(pen, x, y, ew, eh)
    # A gold band along the bottom, where a poster would carry its call to action.
    pen.fill("rect", pen.grad([(0, GOLD_LIGHT), (1, GOLD)], h - h * 0.09, h), 0, h - h * 0.09, w, h)
    img = pen.result().convert("RGB")
    return img.filter(ImageFilter.SMOOTH_MORE) if min(w, h) > 100 else img


def picture_small():
    return scene(72, 80, (20, 30, 32, 38), (54, 18, 7))


def picture_large():
    # Its top row meets the popup's band, partly under the close button, whose lowest row
    # shows the band's dark body: a dark sky there leaves no seam.
    return scene(160, 190, (50, 58, 60, 72), (124, 36, 12))


def main(argv):
    out = argv[1] if len(argv) > 1 else DEFAULT_OUT
    os.makedirs(out, exist_ok=True)
    for name, fields in NOTICES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(record(fields))
    with open(os.path.join(out, "oversized.txt"), "wb") as f:
        f.write(oversized())
    picture_small().save(os.path.join(out, "picture-small.jpg"), quality=92)
    picture_large().save(os.path.join(out, "picture-large.jpg"), quality=92)
    for name in sorted(os.listdir(out)):
        print(os.path.join(out, name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
