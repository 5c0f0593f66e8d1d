#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into tests/fuzz/corpus/<target>/.

An input is its texts (UTF-8, or raw bytes where a target takes bytes) joined by the byte 0xFF,
followed by its numbers, four little-endian bytes each, the first number last: the targets
take numbers from the end (tests/fuzz/FuzzInput.h). Run again after changing a seed below.
"""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SEP = b"\xff"

FOLDER = "C:\\ProgramData\\Vorel\\GameLogin"
EXE = FOLDER + "\\TolvVorel.exe"
HOME = "http://localhost:18461/hall/"
NOTICE = ("N20240501|2024-06-30|维护公告|http://localhost:18461/notice/|今晚十点停服维护，预计两小时。"
          "|http://localhost:18461/notice/pic.jpg|3")


def seed(texts, numbers=()):
    parts = [t if isinstance(t, bytes) else t.encode("utf-8") for t in texts]
    tail = b"".join(struct.pack("<I", n & 0xFFFFFFFF) for n in reversed(numbers))
    return SEP.join(parts) + tail


def date(y, m, d):
    """A date as the notice and update targets take it (year from 1601, month and day from 1)."""
    return [y - 1601, m - 1, d - 1]


def key_row(vk, ctrl=False, shift=False, alt=False):
    return vk | ctrl << 8 | shift << 9 | alt << 10


SEEDS = {
    "run_mode": [
        seed([EXE, FOLDER, "TolvVorel.exe", "/VorelD"]),
        seed([EXE, FOLDER, "TolvVorel.exe", "/newgm", "/1234567", "/0"]),
        seed([EXE, FOLDER, "TolvVorel.exe", "/GMHALL", "/65812"]),
        seed(["C:\\Users\\p\\Downloads\\TolvVorel.exe", FOLDER, "TolvVorel.exe"]),
        seed(["c:\\programdata\\vorel\\gamelogin\\tolvvorel.exe", FOLDER, "x", "/uninst"]),
        seed([EXE, FOLDER, "x", "/update"]),
        seed([EXE, FOLDER, "x", "/OldraD"]),
        seed([EXE, FOLDER, "x", "/newgm", "/-99999999999999999", "/+12345678"]),
        seed([EXE, FOLDER, "x", "/newgm", "", " \t 42"]),
    ],
    "counter_hotkey": [
        seed(["41", "2,81", ""], [41, 2, 81, key_row(0x79), key_row(0x09, ctrl=True), key_row(0x51, ctrl=True)]),
        seed(["  -17xyz", "0,121", "tail"], [0, 0, 121, key_row(0x2E), key_row(0x7B), key_row(0x41, True, True, True)]),
        seed(["99999999999999999999", "7,2147483647", "9"], [2**31, 7, 2**31 - 1, key_row(0x12, alt=True), 0, key_row(0xDE)]),
        seed(["", "", ""], [0, 0, 0, 0, 0, 0]),
        seed(["4294967295", "2,9", ""], [2**32 - 1, 4, 0x70, key_row(0x1B), key_row(0x0D), key_row(0x5B, shift=True)]),
        seed(["+2147483647", "-1,-2147483648", "0"], [2**31 - 1, -1, -(2**31), key_row(0x60), key_row(0x60), key_row(0x61)]),
    ],
    "page_command": [
        seed(["app://loadgame|S3服-《青龙》-player01|http://localhost:18461/game/s3.htm",
              b"S3%E6%9C%8D-%E3%80%8A%E9%9D%92%E9%BE%99%E3%80%8B-player01"]),
        seed(["app://exitgame", b""]),
        seed(["app://minimize", b"%zz%4"]),
        seed(["app:abloadgame|", b"\xe4\xbd\xa0\xe5\xa5\xbd"]),
        seed(["http://localhost:18461/wd/index.php", b"%F0%9F%98%80%ED%A0%80%C0%AF"]),
        seed(["javascript:void(0)", b"%E4%BD%A0" * 40]),
        seed(["app://loadgame|2服-》一二三四五六-acc|", b"\xe4\xbd\xa0" * 90]),
    ],
    "game_hall_command": [
        seed(["app://entergame|fennik|http://vorel.test/fennik/", HOME, FOLDER]),
        seed(["app://entergame|/fen/nik", HOME, FOLDER]),
        seed(["app://entergame|..\\evil|file:///c:/windows/notepad.exe", HOME, FOLDER]),
        seed(["http://localhost:18461/hall/index.htm", HOME, FOLDER]),
        seed(["app://entergame|con.txt|javascript:alert(1)", HOME, FOLDER]),
        seed(["x app://entergame|Ümlaut|HTTPS://vorel.test", HOME, "C:\\" + "d" * 250]),
    ],
    "notice_record": [
        seed([NOTICE, "", ""], date(2024, 6, 1) + date(2024, 7, 1)),
        seed([NOTICE, NOTICE, "0"], date(2024, 6, 30) + date(2024, 6, 30)),
        seed([NOTICE + "\x00garbage", NOTICE, "1"], date(2025, 1, 1) + date(2023, 12, 31)),
        seed(["N1|2024-5|t||text||1", "N1", "0"], date(2024, 5, 31) + date(2024, 6, 1)),
        seed(["N2|2024 12-31|t|javascript:x|||x", "", ""], date(2024, 1, 1) + date(2025, 1, 1)),
        seed(["a|b|c", "", ""], date(2024, 1, 1) + date(2024, 1, 1)),
        seed(["id|2099-01-01|" + "标" * 70 + "|http://a.test/\"x|" + "字" * 600 + "|" + "p" * 512 + "|2"],
             date(2030, 2, 2) + date(2030, 2, 3)),
    ],
    "update_config": [
        seed([b"d41d8cd98f00b204e9800998ecf83001", b"D41D8CD98F00B204E9800998ECF83001", "3.0.0.1",
              b"MZ\x90\x00", "localhost:18461", FOLDER + "\\", "C:\\Temp\\", "Fennik"],
             [0xD98C1DD4, 0x04B2008F, 0x980980E9, 0x7E42F8EC, 40960, 42, 0x00050301, 2]
             + date(2024, 6, 1) + date(2024, 6, 2) + [517, 12345, 67890, 1]),
        seed([b"900150983cd24fb0d6963f7d28e13001", b"d41d8cd98f00b204e9800998ecf83001", "3.0.0.1",
              b"PK", "vorel.test", FOLDER + "\\", "C:\\Temp\\", "Hall"],
             [1, 2, 3, 4, 0, 100, 0, 0] + date(2024, 6, 2) + date(2024, 6, 2) + [0, 0, 0, 3]),
        seed([b"", b"", "", b"", "", "", "", ""]),
        seed([b"a" * 70, b"a" * 63, "1.2.3.4.5", b"MZ", "h", "C:\\" + "p" * 250 + "\\", "C:\\T\\", "nm"],
             [0xFFFFFFFF] * 4 + [1, 7, 0xFFFFFFFF, 6] + date(30827, 12, 31) + date(1601, 1, 1) + [999, 2**32 - 1, 7, 1]),
        seed([b"key\x00hidden", b"KEY", "3.0.0.1", b"MZ", "h", "", "", ""]),
    ],
    "url_split": [
        seed(["http://localhost:18461/update/ConfigTolvVorel.htm", "localhost", "notice/tolvvorel.txt",
              "localhost;vorel.test;tolv.test"], [18461]),
        seed(["HTTP://vorel.test/x?y=1", "vorel.test", "", ";;a;"], [80]),
        seed(["http://host:99999/", "h", "o/p", "host"], [65535]),
        seed(["http://" + "a" * 300, "b" * 255, "o" * 520, ""], [1]),
        seed(["http:/", "", "", ";"], [0]),
        seed(["http://h:-1/x\x00http://evil.test/", "h:1", "x\x00y", "evil.test"], [443]),
    ],
    "favorite_shortcut": [
        seed(["青龙 - 第3服", "http://localhost:18461/game/s3.htm", "C:\\Users\\p\\Favorites"]),
        seed(["con", "http://a.test/", "C:\\F"]),
        seed(["a/b", "http://a.test/", "C:\\F"]),
        seed(["n" * 130, "http://g.test/" + "x" * 189, "C:\\F"]),
        seed(["game", "http://g.test/" + "x" * 190, "C:\\F"]),
        seed(["game. ", "http://a.test/\r\nURL=file:///c:/x.exe", "C:\\F"]),
    ],
    "notice_text": [
        seed(["今晚十点停服维护，预计两小时。\r\n请提前下线。"], [100, 0x0C0C0C06, 0x0C0C0C06, 0x0C0C0C06, 0x0C0C0C06, 14, 5]),
        seed(["汉字"], [5, 0x0C0C0C0C, 0x0C0C0C0C, 0x0C0C0C0C, 0x0C0C0C0C, 12, 0]),
        seed(["\U00020BB7" * 60], [20, 0x06060606, 0x0C0C0C0C, 0x06060606, 0x0C0C0C0C, 12, 3]),
        seed(["hello world\n\nbye\n"], [30, 0x06060606, 0x06060606, 0x06060606, 0x06060606, 12, 3]),
        seed(["x" * 80], [0, 0x3F3F3F3F, 0x01010101, 0, 0x20202020, 200, 50]),
    ],
}


def main():
    for target, inputs in SEEDS.items():
        folder = os.path.join(HERE, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for i, data in enumerate(inputs, 1):
            with open(os.path.join(folder, "seed-%02d" % i), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
