#!/usr/bin/env python3
"""Draws the program's icons and bitmaps (resources/*.ico, *.bmp). Run it after changing a picture;
its outputs are committed so that a build needs no image tools.

Pictures are drawn from a few shapes and a 5x7 pixel font, supersampled for smooth edges."""
import os
import struct
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")

FONT = {  # 5x7 glyphs, one string per row
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "?": [".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
}


class Canvas:
    def __init__(self, w, h, ss=4):
        self.w, self.h, self.ss = w, h, ss
        self.px = [[(0, 0, 0, 0)] * w for _ in range(h)]

    def shape(self, inside, color):
        """Paints colour over every pixel, weighted by how much of it `inside(x, y)` covers."""
        ss = self.ss
        for y in range(self.h):
            for x in range(self.w):
                hits = sum(1 for sy in range(ss) for sx in range(ss)
                           if inside(x + (sx + 0.5) / ss, y + (sy + 0.5) / ss))
                if hits:
                    c = color(x + 0.5, y + 0.5) if callable(color) else color
                    self.blend(x, y, c, hits / (ss * ss))

    def blend(self, x, y, c, a):
        r, g, b, al = self.px[y][x]
        ca = (c[3] / 255.0 if len(c) > 3 else 1.0) * a
        na = ca + al / 255.0 * (1 - ca)
        if na <= 0:
            return
        mix = lambda s, d: (s * ca + d * (al / 255.0) * (1 - ca)) / na
        self.px[y][x] = (round(mix(c[0], r)), round(mix(c[1], g)), round(mix(c[2], b)), round(na * 255))

    def circle(self, cx, cy, rad, color):
        self.shape(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= rad * rad, color)

    def rect(self, x0, y0, x1, y1, color):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color)

    def rounded(self, x0, y0, x1, y1, r, color):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.shape(inside, color)

    def polygon(self, pts, color):
        def inside(x, y):
            n, c = len(pts), False
            for i in range(n):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % n]
                if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                    c = not c
            return c
        self.shape(inside, color)

    def glyph(self, ch, x0, y0, cell, color):
        rows = FONT[ch]
        self.shape(lambda x, y: 0 <= int((y - y0) // cell) < 7 and 0 <= int((x - x0) // cell) < 5
                   and rows[int((y - y0) // cell)][int((x - x0) // cell)] == "#", color)


def vgrad(top, bottom, y0, y1):
    def f(x, y):
        t = min(max((y - y0) / max(y1 - y0, 1), 0), 1)
        return tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
    return f


# ---------------------------------------------------------------- icons

def draw_main(size, classic=False):
    c = Canvas(size, size)
    s = size / 32.0
    top, bottom = ((0x81, 0x81, 0xFF), (0x1E, 0x1E, 0x88)) if not classic else ((0x40, 0x80, 0xC0), (0x10, 0x30, 0x70))
    shield = [(16 * s, 1.5 * s), (29 * s, 6 * s), (27 * s, 19 * s), (16 * s, 30.5 * s), (5 * s, 19 * s), (3 * s, 6 * s)]
    c.polygon(shield, (0x10, 0x10, 0x50))
    inner = [(16 * s, 3.5 * s), (27 * s, 7.5 * s), (25.2 * s, 18.5 * s), (16 * s, 28 * s), (6.8 * s, 18.5 * s), (5 * s, 7.5 * s)]
    c.polygon(inner, vgrad(top, bottom, 3 * s, 28 * s))
    cell = 2.6 * s
    c.glyph("Z", 16 * s - 2.5 * cell, 15.5 * s - 3.5 * cell, cell, (255, 255, 255))
    return c


def draw_badge(size, ch, top, bottom):
    c = Canvas(size, size)
    s = size / 32.0
    c.circle(16 * s, 16 * s, 15 * s, (0x20, 0x20, 0x40, 200))
    c.circle(16 * s, 16 * s, 14 * s, vgrad(top, bottom, 2 * s, 30 * s))
    cell = 3.0 * s
    c.glyph(ch, 16 * s - 2.5 * cell, 16 * s - 3.5 * cell, cell, (255, 255, 255))
    return c


def ico_bytes(canvases):
    """An .ico with one 32-bit image (and its AND mask) per canvas."""
    head = struct.pack("<HHH", 0, 1, len(canvases))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(canvases)
    for c in canvases:
        w, h = c.w, c.h
        xor = b"".join(struct.pack("<BBBB", p[2], p[1], p[0], p[3]) for y in reversed(range(h)) for p in c.px[y])
        stride = ((w + 31) // 32) * 4
        mask = b""
        for y in reversed(range(h)):
            bits = 0
            row = bytearray(stride)
            for x in range(w):
                if c.px[y][x][3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(row)
        bih = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = bih + xor + mask
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs += blob
    return head + entries + blobs


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def bmp24_bytes(c, background, matte=None):
    """A 24-bit bitmap; transparent pixels become `background` (the mask colour). Edges that are
    mostly opaque are blended with `matte` (the colour the picture will sit on), else with it."""
    w, h = c.w, c.h
    stride = (w * 3 + 3) & ~3
    edge = matte or background
    rows = b""
    for y in reversed(range(h)):
        row = bytearray()
        for p in c.px[y]:
            a = p[3] / 255.0
            px = [round(p[i] * a + edge[i] * (1 - a)) if a >= 0.5 else background[i] for i in range(3)]
            row += bytes((px[2], px[1], px[0]))
        row += b"\0" * (stride - len(row))
        rows += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return header + info + rows


def main():
    write("main.ico", ico_bytes([draw_main(32), draw_main(16)]))
    write("window_xp.ico", ico_bytes([draw_main(32), draw_main(16)]))
    write("window_classic.ico", ico_bytes([draw_main(32, True), draw_main(16, True)]))
    write("message.ico", ico_bytes([draw_badge(32, "i", (0x70, 0xA0, 0xFF), (0x10, 0x40, 0xB0)),
                                    draw_badge(16, "i", (0x70, 0xA0, 0xFF), (0x10, 0x40, 0xB0))]))
    write("question.ico", ico_bytes([draw_badge(32, "?", (0x60, 0xC0, 0x70), (0x10, 0x70, 0x30)),
                                     draw_badge(16, "?", (0x60, 0xC0, 0x70), (0x10, 0x70, 0x30))]))
    import bitmaps  # toolbar and tray pictures

    bitmaps.draw_all(sys.modules[__name__])


if __name__ == "__main__":
    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    main()
