#!/usr/bin/env python3
"""Draws the bitmaps, the icon and the cursor of Setup.exe into setup/res/.

Standard library only, so anyone can regenerate the pictures; the output is
committed and the build never runs this script.

  tree_icons.bmp   bitmap 794: 14 images of 16 x 18, 4-bit, tree/list order
  toolbar.bmp      bitmap 795: 8 images of 55 x 55, 4-bit
  toolbar256.bmp   bitmap 796: the same 8 images, 8-bit, anti-aliased
  tree_icons_150.bmp, tree_icons_200.bmp      the tree icons for 150 % and
                   200 % display scale (24 x 27 and 32 x 36), drawn from the
                   same pixel art at whole pixels
  toolbar256_150.bmp, toolbar256_200.bmp      the toolbar pictures for 150 %
                   and 200 % (83 x 83 and 110 x 110), drawn from the same
                   shapes at the finer grid, not stretched from the 55-pixel
                   pictures
  setup.ico        icon 797: 16 x 16 and 32 x 32, 32-bit with alpha
  splitter.cur     cursor 789: 32 x 32 monochrome, hotspot in the middle

Usage: make_resource_images.py [output directory]
"""
import colorsys
import math
import os
import struct
import sys

# The 16 colours every 4-bit display and ILC_COLOR4 image list can show.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
PIXEL_ART_COLORS = {
    "k": 0, "r": 1, "g": 2, "o": 3, "n": 4, "p": 5, "t": 6, "s": 7,
    "d": 8, "R": 9, "G": 10, "Y": 11, "B": 12, "M": 13, "C": 14, "W": 15,
    ".": 15,
}
# Toolbar background: the toolbar maps this grey to the button face, and the
# 8-bit strip is meant to be added with it as the mask colour.
TOOLBAR_BACKGROUND = (192, 192, 192)


# --------------------------------------------------------------------------
# File writers


def bmp_bytes(width, height, indexes, palette, bpp):
    """A bottom-up palette BMP (BITMAPINFOHEADER) from row-major indexes."""
    colors = 1 << bpp
    pal = list(palette) + [(0, 0, 0)] * (colors - len(palette))
    row_bytes = ((width * bpp + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(width):
            v = indexes[y * width + x]
            if bpp == 8:
                row[x] = v
            else:
                if x % 2 == 0:
                    row[x // 2] |= v << 4
                else:
                    row[x // 2] |= v
        rows.append(bytes(row))
    pixels = b"".join(rows)
    pal_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in pal)
    offset = 14 + 40 + len(pal_bytes)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, len(pixels),
                       2835, 2835, colors, 0)
    return header + info + pal_bytes + pixels


def icon_image_32(size, rgba):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA rows, AND mask."""
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = rgba[y * size + x]
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(size):
            if rgba[y * size + x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return info + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, rgba)."""
    blobs = [icon_image_32(size, rgba) for size, rgba in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def cur_bytes(size, rows, hotspot):
    """A monochrome cursor. rows: strings of 'k' black, 'W' white, '_' clear."""
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    row_bytes = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        xr = bytearray(row_bytes)
        mr = bytearray(row_bytes)
        for x in range(size):
            c = rows[y][x]
            if c == "W":
                xr[x // 8] |= 0x80 >> (x % 8)
            elif c == "_":
                mr[x // 8] |= 0x80 >> (x % 8)
        xor += xr
        mask += mr
    blob = info + palette + bytes(xor) + bytes(mask)
    head = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(blob), 22)
    return head + entry + blob


# --------------------------------------------------------------------------
# Tree and list icons: 16 x 18 pixel art in the 16 VGA colours. Components
# are drawn over one another; "_" leaves what is below.


def art(*rows):
    assert all(len(r) == 16 for r in rows), rows
    rows = list(rows) + ["_" * 16] * (18 - len(rows))
    assert len(rows) == 18, rows
    return rows


def shift(rows, dx, dy):
    out = [["_"] * 16 for _ in range(18)]
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != "_" and 0 <= x + dx < 16 and 0 <= y + dy < 18:
                out[y + dy][x + dx] = c
    return ["".join(r) for r in out]


def recolor(rows, mapping):
    return ["".join(mapping.get(c, c) for c in row) for row in rows]


def layer(*layers):
    out = [["."] * 16 for _ in range(18)]
    for rows in layers:
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                if c != "_":
                    out[y][x] = c
    return ["".join(r) for r in out]


MACHINE = art(
    "________________",
    "___kkkkkkkkkk___",
    "__kWWWWWWWWWdk__",
    "__kssssssssssk__",
    "_kkkkkkkkkkkkkk_",
    "_kWWWWWWWWWWWsk_",
    "_kWnnnnWWWWgWsk_",
    "_kWnCCnWsWsWWsk_",
    "_kWnnnnWWWWWWsk_",
    "_kssssssssssssk_",
    "_kkkkkkkkkkkkkk_",
    "_kWWWWWWWWWWWsk_",
    "_kWkkkkkkkkkWsk_",
    "_kssssssssssssk_",
    "_kddddddddddddk_",
    "_kkkkkkkkkkkkkk_",
    "__kk________kk__",
)

KEYCAP = art(
    "________________",
    "_kkkkkkkkkkkkkk_",
    "_kWWWWWWWWWWWdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kWssssssssssdk_",
    "_kdddddddddddddk",
    "_kkkkkkkkkkkkkkk",
    "__kkkkkkkkkkkkkk",
)

CARD = art(
    "________________",
    "________________",
    "__kkkkkk________",
    "_ktttttttk______",
    "_kkkkkkkkkkkkkk_",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kWWWWWWWWWWWWkd",
    "_kkkkkkkkkkkkkkd",
    "__dddddddddddddd",
)

# Telephone handset over a dial base, for entries that hold a fax number.
PHONE = art(
    "________________",
    "________________",
    "________________",
    "________________",
    "___nnnnnnnnnn___",
    "__nBBBBBBBBBBn__",
    "__nBnnnnnnnnBn__",
    "__nnn______nnn__",
    "_____nnnnnn_____",
    "____nBBBBBBn____",
    "____nBWBWBWn____",
    "____nBBBBBBn____",
    "____nnnnnnnn____",
)

ENVELOPE_SMALL = art(
    "________________",
    "________________",
    "________________",
    "________________",
    "___kkkkkkkkkk___",
    "___kkWWWWWWkk___",
    "___kWkWWWWkWk___",
    "___kWWkWWkWWk___",
    "___kWWWkkWWWk___",
    "___kWWWWWWWWk___",
    "___kWWWWWWWWk___",
    "___kkkkkkkkkk___",
)

ENVELOPE = art(
    "________________",
    "________________",
    "________________",
    "kkkkkkkkkkkkkkk_",
    "kkWWWWWWWWWWWkkd",
    "kWkWWWWWWWWWkWkd",
    "kWWkWWWWWWWkWWkd",
    "kWWWkWWWWWkWWWkd",
    "kWWWWkWWWkWWWWkd",
    "kWWWkWkkkWkWWWkd",
    "kWWkWWWWWWWkWWkd",
    "kWkWWWWWWWWWkWkd",
    "kkWWWWWWWWWWWkkd",
    "kkkkkkkkkkkkkkkd",
    "_dddddddddddddd_",
)

PEOPLE = art(
    "________________",
    "________________",
    "__________kkk___",
    "_________kYYYk__",
    "___kkk___kYYYk__",
    "__kYYYk__kYYYk__",
    "__kYYYk___kkk___",
    "__kYYYk_kkkkkkk_",
    "___kkk_kttttttdk",
    "_kkkkkkkkttttttk",
    "kBBBBBBBkttttttk",
    "kBCBBBBBkttttttk",
    "kBCBBBBBkkkkkkkk",
    "kBBBBBBBk_______",
    "kBBBBBBBk_______",
    "kkkkkkkkk_______",
)

SMALL_PEOPLE = art(
    "________________",
    "________________",
    "________________",
    "________________",
    "________nnn_____",
    "_______nCCCn____",
    "____nnnnCCCn____",
    "___nYYYnnnn_____",
    "___nYYYnBBBBn___",
    "____nnnBBBBBn___",
    "___nRRRRRnBBn___",
    "___nRRRRRnnnn___",
    "___nRRRRRn______",
    "___nnnnnnn______",
)

PROGRAM_MARK = art(
    "________________",
    "________________",
    "________________",
    "________________",
    "_____ppppp______",
    "_____pp__pp_____",
    "_____pp__pp_____",
    "_____ppppp______",
    "_____pp_________",
    "_____pp_________",
    "_____pp_________",
    "________________",
)

EMPTY = art(
    "________________",
    "________________",
    "__s_s_s_s_s_s___",
    "________________",
    "__s_________s___",
    "________________",
    "__s_________s___",
    "________________",
    "__s_________s___",
    "________________",
    "__s_________s___",
    "________________",
    "__s_________s___",
    "________________",
    "__s_s_s_s_s_s___",
)

# Selected tree items: the same picture lit up in yellow.
KEYCAP_LIT = recolor(KEYCAP, {"s": "Y", "W": "W"})
CARD_LIT = recolor(CARD, {"W": "Y"})


def tree_icons(width_each=16, height_each=18):
    """The strip at another size: each target pixel takes the colour of the
    art pixel under its centre (at 200 % every art pixel is a 2 x 2 block)."""
    icons = [
        layer(MACHINE),
        layer(recolor(MACHINE, {"g": "G", "C": "Y", "n": "B"})),
        layer(KEYCAP, shift(PHONE, 0, -1)),
        layer(KEYCAP_LIT, shift(PHONE, 0, -1)),
        layer(ENVELOPE),
        layer(KEYCAP, shift(SMALL_PEOPLE, 0, 0)),
        layer(CARD, shift(PHONE, 0, 1)),
        layer(CARD_LIT, shift(PHONE, 0, 1)),
        layer(CARD, shift(ENVELOPE_SMALL, 0, 2)),
        layer(PEOPLE),
        layer(recolor(PEOPLE, {"B": "R", "C": "Y", "t": "G", "d": "g"})),
        layer(KEYCAP, recolor(shift(PHONE, 0, -1), {"n": "k", "B": "d"})),
        layer(EMPTY),
        layer(KEYCAP, shift(PROGRAM_MARK, 0, 0)),
    ]
    assert len(icons) == 14
    width = width_each * len(icons)
    indexes = [0] * (width * height_each)
    for i, rows in enumerate(icons):
        for y in range(height_each):
            sy = (2 * y + 1) * 18 // (2 * height_each)
            for x in range(width_each):
                sx = (2 * x + 1) * 16 // (2 * width_each)
                indexes[y * width + i * width_each + x] = PIXEL_ART_COLORS[rows[sy][sx]]
    return width, height_each, indexes


# --------------------------------------------------------------------------
# Vector drawing for the toolbar and the program icon: shapes are point tests
# sampled on a grid inside each pixel, so the same drawing comes out either
# anti-aliased (8-bit and 32-bit images) or with hard edges (4-bit image).


class Canvas:
    """width and height in pixels; shapes are given in drawing units, which
    are `scale` pixels each, so one drawing comes out at every size."""

    def __init__(self, width, height, background, samples=4, scale=1.0):
        self.w = width
        self.h = height
        self.background = background
        self.px = [list(background) + [0.0] for _ in range(width * height)]
        self.samples = samples
        self.scale = scale

    def fill(self, shape, color, alpha=1.0):
        """shape: (inside(x, y) -> bool, (x0, y0, x1, y1)). color: rgb or f(x, y)."""
        inside, (bx0, by0, bx1, by1) = shape
        n = self.samples
        unit = self.scale
        offs = [(i + 0.5) / n for i in range(n)]
        for py in range(max(0, int(math.floor(by0 * unit))), min(self.h, int(math.ceil(by1 * unit)) + 1)):
            for px in range(max(0, int(math.floor(bx0 * unit))),
                            min(self.w, int(math.ceil(bx1 * unit)) + 1)):
                hits = 0
                for oy in offs:
                    for ox in offs:
                        if inside((px + ox) / unit, (py + oy) / unit):
                            hits += 1
                if not hits:
                    continue
                cov = hits / (n * n) * alpha
                p = self.px[py * self.w + px]
                if color is None:
                    # Erase back to the background (a hole in the picture).
                    for k in range(3):
                        p[k] = p[k] * (1 - cov) + self.background[k] * cov
                    p[3] = p[3] * (1 - cov)
                    continue
                c = color((px + 0.5) / unit, (py + 0.5) / unit) if callable(color) else color
                for k in range(3):
                    p[k] = p[k] * (1 - cov) + c[k] * cov
                p[3] = p[3] + (1 - p[3]) * cov

    def paste(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                self.px[(y + y0) * self.w + x + x0] = list(other.px[y * other.w + x])


def rect(x0, y0, x1, y1):
    return (lambda x, y: x0 <= x < x1 and y0 <= y < y1), (x0, y0, x1, y1)


def rrect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside, (x0, y0, x1, y1)


def ellipse(cx, cy, rx, ry):
    return (lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0), (
        cx - rx, cy - ry, cx + rx, cy + ry)


def polygon(points):
    def inside(x, y):
        c = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def line(x0, y0, x1, y1, width):
    """A stroke with round ends."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy
    r = width / 2

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        qx, qy = x0 + t * dx, y0 + t * dy
        return (x - qx) ** 2 + (y - qy) ** 2 <= r * r
    return inside, (min(x0, x1) - r, min(y0, y1) - r, max(x0, x1) + r, max(y0, y1) + r)


def minus(a, b):
    return (lambda x, y: a[0](x, y) and not b[0](x, y)), a[1]


def union(*shapes):
    xs0 = min(s[1][0] for s in shapes)
    ys0 = min(s[1][1] for s in shapes)
    xs1 = max(s[1][2] for s in shapes)
    ys1 = max(s[1][3] for s in shapes)
    return (lambda x, y: any(s[0](x, y) for s in shapes)), (xs0, ys0, xs1, ys1)


def vgrad(y0, y1, c0, c1):
    def color(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(c0[k] + (c1[k] - c0[k]) * t for k in range(3))
    return color


def hgrad(x0, x1, c0, c1):
    def color(x, y):
        t = max(0.0, min(1.0, (x - x0) / (x1 - x0)))
        return tuple(c0[k] + (c1[k] - c0[k]) * t for k in range(3))
    return color


INK = (38, 44, 56)
STEEL_LIGHT = (246, 247, 250)
STEEL = (214, 218, 226)
STEEL_DARK = (150, 158, 172)
LID = (82, 92, 110)
GREEN = (52, 170, 72)
GREEN_DARK = (24, 110, 42)
RED = (214, 56, 44)
RED_DARK = (140, 28, 22)
BLUE = (48, 112, 214)
BLUE_DARK = (24, 62, 140)
YELLOW = (252, 206, 72)
YELLOW_DARK = (196, 140, 24)
ORANGE = (240, 140, 40)


def outlined(c, shape_outer, shape_inner, outline, fill):
    c.fill(shape_outer, outline)
    c.fill(shape_inner, fill)


def draw_machine(c, ox, oy, s=1.0):
    """The multifunction machine, about 38 x 34 at s = 1."""
    def X(v):
        return ox + v * s

    def Y(v):
        return oy + v * s
    # Document feeder on top.
    outlined(c, rrect(X(3), Y(0), X(35), Y(8), 2 * s), rrect(X(4.5), Y(1.5), X(33.5), Y(6.5), 1.2 * s),
             INK, vgrad(Y(1), Y(7), (120, 130, 150), LID))
    c.fill(rect(X(8), Y(3), X(26), Y(4.2)), (190, 198, 210))
    # Body.
    outlined(c, rrect(X(0), Y(7), X(38), Y(34), 2.5 * s), rrect(X(1.5), Y(8.5), X(36.5), Y(32.5), 1.5 * s),
             INK, vgrad(Y(8), Y(33), STEEL_LIGHT, STEEL))
    # Operation panel: display and keys.
    outlined(c, rrect(X(4), Y(10.5), X(18), Y(17), 1 * s), rrect(X(5), Y(11.5), X(17), Y(16), 0.6 * s),
             INK, vgrad(Y(11), Y(16), (120, 200, 240), (40, 120, 190)))
    for i in range(3):
        c.fill(ellipse(X(22 + i * 4), Y(13.5), 1.4 * s, 1.4 * s), (90, 100, 118))
    c.fill(ellipse(X(33), Y(13.5), 1.6 * s, 1.6 * s), GREEN)
    # Paper trays.
    for ty in (20, 26):
        c.fill(rect(X(2), Y(ty - 0.8), X(36), Y(ty)), STEEL_DARK)
        c.fill(rrect(X(14), Y(ty + 1.2), X(24), Y(ty + 2.8), 0.8 * s), (110, 118, 134))
    c.fill(rect(X(1.5), Y(31), X(36.5), Y(32.5)), STEEL_DARK)


def draw_arrow(c, cx, top, bottom, half_width, head, color, dark, up):
    """A fat vertical arrow with an outline; head points up or down."""
    w = half_width
    hw = w * 2.1
    if up:
        pts = [(cx, top), (cx + hw, top + head), (cx + w, top + head), (cx + w, bottom),
               (cx - w, bottom), (cx - w, top + head), (cx - hw, top + head)]
    else:
        pts = [(cx, bottom), (cx + hw, bottom - head), (cx + w, bottom - head), (cx + w, top),
               (cx - w, top), (cx - w, bottom - head), (cx - hw, bottom - head)]
    # Outline by drawing a slightly bigger copy first.
    grow = 1.6
    big = []
    for x, y in pts:
        dx = x - cx
        my = (top + bottom) / 2
        dy = y - my
        big.append((cx + dx + math.copysign(grow, dx) if dx else cx,
                    my + dy + math.copysign(grow * 1.3, dy) if dy else my))
    c.fill(polygon(big), dark)
    c.fill(polygon(pts), vgrad(top, bottom, tuple(min(255, v + 50) for v in color), color))


def draw_plug_pair(c, gap, joined):
    # Cable from the left and the plug.
    px = 25 - gap
    c.fill(line(2, 36, px - 10, 36, 5.5), INK)
    c.fill(line(2, 36, px - 10, 36, 3.2), (70, 78, 94))
    outlined(c, rrect(px - 13, 28, px, 44, 3), rrect(px - 11.5, 29.5, px - 1.5, 42.5, 2),
             INK, vgrad(29, 43, (120, 130, 150), LID))
    for py in (32.5, 39.5):
        outlined(c, rect(px - 0.5, py - 1.6, px + 9, py + 1.6), rect(px, py - 0.6, px + 8.2, py + 0.6),
                 INK, (236, 196, 90))
    # Socket with the cable to the right.
    sx = 31 + (0 if joined else 0)
    c.fill(line(sx + 12, 36, 53, 36, 5.5), INK)
    c.fill(line(sx + 12, 36, 53, 36, 3.2), (70, 78, 94))
    outlined(c, rrect(sx, 26, sx + 14, 46, 3), rrect(sx + 1.5, 27.5, sx + 12.5, 44.5, 2),
             INK, vgrad(27, 45, STEEL_LIGHT, STEEL))
    for py in (32.5, 39.5):
        c.fill(rect(sx + 1.5, py - 1.2, sx + 6, py + 1.2), INK)


def badge(c, cx, cy, r, color, dark, mark):
    c.fill(ellipse(cx, cy, r + 1.5, r + 1.5), dark)
    c.fill(ellipse(cx, cy, r, r), vgrad(cy - r, cy + r, tuple(min(255, v + 60) for v in color), color))
    if mark == "check":
        c.fill(union(line(cx - r * 0.45, cy + r * 0.02, cx - r * 0.1, cy + r * 0.4, r * 0.32),
                     line(cx - r * 0.1, cy + r * 0.4, cx + r * 0.5, cy - r * 0.4, r * 0.32)),
               (255, 255, 255))
    else:
        k = r * 0.42
        c.fill(union(line(cx - k, cy - k, cx + k, cy + k, r * 0.32),
                     line(cx - k, cy + k, cx + k, cy - k, r * 0.32)), (255, 255, 255))


def draw_connect(c):
    draw_plug_pair(c, gap=0, joined=True)
    badge(c, 40, 14, 9, GREEN, GREEN_DARK, "check")


def draw_disconnect(c):
    draw_plug_pair(c, gap=9, joined=False)
    # Spark lines between the halves.
    for x0, y0, x1, y1 in ((27, 24, 25, 19), (31, 25, 33, 20), (27, 48, 25, 53), (31, 47, 33, 52)):
        c.fill(line(x0, y0, x1, y1, 1.8), ORANGE)
    badge(c, 40, 12, 9, RED, RED_DARK, "cross")


def draw_document(c, x0, y0, x1, y1, fold):
    outline = polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)])
    inner = polygon([(x0 + 1.5, y0 + 1.5), (x1 - fold - 0.6, y0 + 1.5), (x1 - 1.5, y0 + fold + 0.6),
                     (x1 - 1.5, y1 - 1.5), (x0 + 1.5, y1 - 1.5)])
    c.fill(outline, INK)
    c.fill(inner, vgrad(y0, y1, (255, 255, 255), (228, 232, 240)))
    c.fill(polygon([(x1 - fold, y0 + 1), (x1 - fold, y0 + fold), (x1 - 1, y0 + fold)]), (200, 206, 218))
    c.fill(line(x1 - fold, y0 + 1, x1 - fold, y0 + fold, 1.2), INK)
    c.fill(line(x1 - fold, y0 + fold, x1 - 1, y0 + fold, 1.2), INK)


def draw_open(c):
    # Back of the folder.
    c.fill(polygon([(5, 12), (19, 12), (23, 16), (44, 16), (44, 46), (5, 46)]), YELLOW_DARK)
    c.fill(polygon([(6.5, 13.5), (18.4, 13.5), (22.4, 17.5), (42.5, 17.5), (42.5, 45), (6.5, 45)]),
           vgrad(13, 45, (236, 176, 52), (204, 146, 30)))
    # A sheet in it.
    draw_document(c, 13, 8, 38, 36, 7)
    for i in range(3):
        c.fill(rect(17, 19 + i * 4, 33, 20.4 + i * 4), (150, 160, 178))
    # Front flap, opened towards the viewer.
    c.fill(polygon([(4, 48), (11, 24), (52, 24), (45, 48)]), YELLOW_DARK)
    c.fill(polygon([(6.2, 46.5), (12.2, 25.5), (50, 25.5), (43.8, 46.5)]),
           vgrad(25, 47, (255, 226, 120), YELLOW))


def draw_save(c):
    outlined(c, polygon([(7, 6), (42, 6), (48, 12), (48, 49), (7, 49)]),
             polygon([(8.6, 7.6), (41.3, 7.6), (46.4, 12.7), (46.4, 47.4), (8.6, 47.4)]),
             BLUE_DARK, vgrad(7, 48, (90, 150, 236), BLUE))
    # Shutter.
    outlined(c, rect(15, 6, 39, 21), rect(16.5, 7.6, 37.5, 19.5), BLUE_DARK,
             vgrad(7, 20, (236, 238, 244), (170, 178, 192)))
    c.fill(rect(31, 9.5, 35, 17.5), (70, 80, 98))
    # Label.
    outlined(c, rrect(12, 27, 43, 49, 1.5), rrect(13.5, 28.5, 41.5, 49, 1),
             BLUE_DARK, vgrad(28, 48, (255, 255, 255), (234, 238, 246)))
    for i in range(3):
        c.fill(rect(16, 33 + i * 5, 39, 34.3 + i * 5), (150, 168, 200))


def gear(cx, cy, r_out, r_in, teeth, hole):
    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if d < hole:
            return False
        a = math.atan2(dy, dx) * teeth / (2 * math.pi)
        frac = a - math.floor(a)
        r = r_out if 0.2 < frac < 0.7 else r_in
        return d <= r
    return inside, (cx - r_out, cy - r_out, cx + r_out, cy + r_out)


def draw_utility(c):
    draw_machine(c, 3, 4, 1.0)
    cx, cy = 39, 39
    c.fill(gear(cx, cy, 14.5, 10.5, 9, 0), INK)
    c.fill(gear(cx, cy, 13.0, 9.2, 9, 4.2),
           vgrad(cy - 13, cy + 13, (255, 214, 110), (226, 132, 24)))
    c.fill(minus(ellipse(cx, cy, 5.6, 5.6), ellipse(cx, cy, 4.2, 4.2)), INK)


def draw_download(c):
    draw_machine(c, 3, 4, 1.0)
    draw_arrow(c, 40, 24, 52, 5, 12, GREEN, GREEN_DARK, up=False)


def draw_upload(c):
    draw_machine(c, 3, 4, 1.0)
    draw_arrow(c, 40, 24, 52, 5, 12, BLUE, BLUE_DARK, up=True)


def star(cx, cy, r_out, r_in, points=5):
    pts = []
    for i in range(points * 2):
        a = -math.pi / 2 + i * math.pi / points
        r = r_out if i % 2 == 0 else r_in
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return polygon(pts)


def draw_new(c):
    draw_document(c, 12, 6, 44, 50, 10)
    for i in range(5):
        c.fill(rect(18, 22 + i * 5, 38 - (8 if i == 4 else 0), 23.3 + i * 5), (170, 180, 198))
    c.fill(star(14, 13, 11, 4.6), YELLOW_DARK)
    c.fill(star(14, 13, 9, 3.7), vgrad(4, 22, (255, 246, 170), (252, 196, 40)))


TOOLBAR_PICTURES = [draw_connect, draw_disconnect, draw_open, draw_save, draw_utility,
                    draw_download, draw_upload, draw_new]


TOOLBAR_SIZE = 55


def toolbar_canvas(samples, size=TOOLBAR_SIZE):
    strip = Canvas(size * len(TOOLBAR_PICTURES), size, TOOLBAR_BACKGROUND, samples)
    for i, draw in enumerate(TOOLBAR_PICTURES):
        c = Canvas(size, size, TOOLBAR_BACKGROUND, samples, size / TOOLBAR_SIZE)
        draw(c)
        strip.paste(c, i * size, 0)
    return strip


def nearest(color, palette, skip=()):
    best, best_d = 0, None
    for i, p in enumerate(palette):
        if i in skip:
            continue
        d = (2 * (color[0] - p[0]) ** 2 + 4 * (color[1] - p[1]) ** 2 + 3 * (color[2] - p[2]) ** 2)
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


# Chromatic VGA colours as (hue in degrees, value).
VGA_HUES = {1: (0, 0.6), 2: (120, 0.6), 3: (60, 0.6), 4: (240, 0.6), 5: (300, 0.6),
            6: (180, 0.6), 9: (0, 1.0), 10: (120, 1.0), 11: (60, 1.0), 12: (240, 1.0),
            13: (300, 1.0), 14: (180, 1.0)}


def vga_index(rgb):
    """Nearest VGA colour by hue first: plain RGB distance turns every
    mid-tone colour into grey."""
    h, s, v = colorsys.rgb_to_hsv(*(c / 255.0 for c in rgb))
    if s < 0.3 or v < 0.22:
        if v < 0.25:
            return 0
        if v < 0.62:
            return 8
        return 7 if v < 0.86 else 15
    hue = h * 360
    best, best_cost = 0, None
    for i, (ch, cv) in VGA_HUES.items():
        dh = min(abs(hue - ch), 360 - abs(hue - ch)) / 60.0
        cost = dh * dh + 2.0 * (v - cv) ** 2
        if best_cost is None or cost < best_cost:
            best, best_cost = i, cost
    return best


def quantize_vga(canvas):
    """Hard-edged strip to the VGA colours."""
    silver = VGA.index(TOOLBAR_BACKGROUND)
    return [silver if p[3] == 0 else vga_index(tuple(int(round(v)) for v in p[:3]))
            for p in canvas.px]


def median_cut(colors, count):
    """colors: dict rgb -> pixel count. Returns up to `count` palette colours."""
    boxes = [list(colors.items())]
    while len(boxes) < count:
        boxes.sort(key=lambda b: -max(max(c[0][k] for c in b) - min(c[0][k] for c in b)
                                      for k in range(3)) if len(b) > 1 else 0)
        box = boxes[0]
        if len(box) < 2:
            break
        spans = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
        k = spans.index(max(spans))
        box.sort(key=lambda c: c[0][k])
        total = sum(n for _, n in box)
        acc, cut = 0, 1
        for i, (_, n) in enumerate(box):
            acc += n
            if acc >= total / 2:
                cut = max(1, min(len(box) - 1, i + 1))
                break
        boxes = boxes[1:] + [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[k] * n for c, n in box) / total)) for k in range(3)))
    return palette


def quantize_adaptive(canvas):
    """Anti-aliased strip to 256 colours; index 0 is the background alone."""
    pixels = [tuple(int(round(v)) for v in p[:3]) for p in canvas.px]
    bg_flags = [p[3] == 0 for p in canvas.px]
    counts = {}
    for rgb, bg in zip(pixels, bg_flags):
        if not bg:
            counts[rgb] = counts.get(rgb, 0) + 1
    colors = median_cut(counts, 255)
    # Never let a picture colour be the mask colour.
    colors = [c if c != TOOLBAR_BACKGROUND else (193, 193, 193) for c in colors]
    palette = [TOOLBAR_BACKGROUND] + colors
    cache = {}
    out = []
    for rgb, bg in zip(pixels, bg_flags):
        if bg:
            out.append(0)
            continue
        if rgb not in cache:
            cache[rgb] = nearest(rgb, palette, skip=(0,))
        out.append(cache[rgb])
    return palette, out


# --------------------------------------------------------------------------
# Program icon: the machine on a blue round badge with a gear.


def program_icon(size):
    s = size / 32.0
    c = Canvas(size, size, (0, 0, 0), 6)
    c.fill(rrect(0.5 * s, 0.5 * s, 31.5 * s, 31.5 * s, 6 * s), BLUE_DARK)
    c.fill(rrect(1.5 * s, 1.5 * s, 30.5 * s, 30.5 * s, 5 * s),
           vgrad(0, size, (96, 160, 240), (36, 90, 190)))
    if size >= 32:
        draw_machine(c, 5 * s, 5.5 * s, 0.58 * s)
    else:
        # At 16 pixels only the outline of the machine reads.
        c.fill(rect(3, 3, 13, 6), INK)
        c.fill(rect(4, 4, 12, 5), (140, 150, 170))
        c.fill(rect(2, 6, 14, 14), INK)
        c.fill(rect(3, 7, 13, 13), STEEL_LIGHT)
        c.fill(rect(4, 8, 8, 10), (60, 140, 210))
        c.fill(rect(11, 8, 12, 9), GREEN)
        c.fill(rect(3, 11, 13, 12), STEEL_DARK)
    gx, gy = 23 * s, 23 * s
    c.fill(gear(gx, gy, 8.2 * s, 6.2 * s, 8, 0), INK)
    c.fill(gear(gx, gy, 7.0 * s, 5.2 * s, 8, 2.2 * s),
           vgrad(gy - 7 * s, gy + 7 * s, (255, 214, 110), (230, 140, 30)))
    rgba = []
    for p in c.px:
        a = p[3]
        if a <= 0.0:
            rgba.append((0, 0, 0, 0))
        else:
            rgba.append(tuple(int(round(max(0, min(255, v)))) for v in p[:3]) + (
                int(round(a * 255)),))
    return rgba


# --------------------------------------------------------------------------
# Splitter cursor: a double bar with arrows to the left and right.

SPLITTER = [
    "________________________________",
] * 8 + [
    "______________kkkk______________",
    "_____________kWWWWk_____________",
    "_____________kWkkWk_____________",
    "_____________kWkkWk_____________",
    "______kk_____kWkkWk_____kk______",
    "_____kWk_____kWkkWk_____kWk_____",
    "____kWWkkkkkkkWkkWkkkkkkkWWk____",
    "___kWWWWWWWWWWWkkWWWWWWWWWWWk___",
    "___kWWWWWWWWWWWkkWWWWWWWWWWWk___",
    "____kWWkkkkkkkWkkWkkkkkkkWWk____",
    "_____kWk_____kWkkWk_____kWk_____",
    "______kk_____kWkkWk_____kk______",
    "_____________kWkkWk_____________",
    "_____________kWkkWk_____________",
    "_____________kWWWWk_____________",
    "______________kkkk______________",
] + [
    "________________________________",
] * 8


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "setup", "res")
    assert len(SPLITTER) == 32 and all(len(r) == 32 for r in SPLITTER)

    w, h, idx = tree_icons()
    with open(os.path.join(out_dir, "tree_icons.bmp"), "wb") as f:
        f.write(bmp_bytes(w, h, idx, VGA, 4))

    hard = toolbar_canvas(samples=1)
    with open(os.path.join(out_dir, "toolbar.bmp"), "wb") as f:
        f.write(bmp_bytes(hard.w, hard.h, quantize_vga(hard), VGA, 4))

    smooth = toolbar_canvas(samples=4)
    palette, idx = quantize_adaptive(smooth)
    with open(os.path.join(out_dir, "toolbar256.bmp"), "wb") as f:
        f.write(bmp_bytes(smooth.w, smooth.h, idx, palette, 8))

    # The sets for 150 % and 200 % display scale. Sizes are the 96-DPI
    # sizes times 144/96 and 192/96, rounded as the program rounds them.
    for percent in (150, 200):
        w, h, idx = tree_icons(16 * percent // 100, 18 * percent // 100)
        with open(os.path.join(out_dir, "tree_icons_%d.bmp" % percent), "wb") as f:
            f.write(bmp_bytes(w, h, idx, VGA, 4))
        size = (TOOLBAR_SIZE * percent + 50) // 100
        smooth = toolbar_canvas(samples=4, size=size)
        palette, idx = quantize_adaptive(smooth)
        with open(os.path.join(out_dir, "toolbar256_%d.bmp" % percent), "wb") as f:
            f.write(bmp_bytes(smooth.w, smooth.h, idx, palette, 8))

    with open(os.path.join(out_dir, "setup.ico"), "wb") as f:
        f.write(ico_bytes([(16, program_icon(16)), (32, program_icon(32))]))

    with open(os.path.join(out_dir, "splitter.cur"), "wb") as f:
        f.write(cur_bytes(32, SPLITTER, (16, 16)))


if __name__ == "__main__":
    main()
