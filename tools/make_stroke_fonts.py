#!/usr/bin/env python3
"""Writes toolkit/graphics/stroke_font_data.cpp, the glyph data of the eight built-in stroke fonts.

The glyph shapes of the filled fonts come from the public-domain Hershey fonts (Debian package
hershey-fonts-data). Each Hershey glyph is a set of centre lines; this tool converts them into the
stroke-text format of the toolkit:

- "standard.chr" is a stroked font on a grid of x 0..6, y 0..11 (baseline at y = 2), too coarse for
  snapped curves: its ASCII glyphs are drawn by hand below (STANDARD_ASCII);
- the fixed, roman and swiss families (plain and bold) and "symbol.chr" are filled fonts on the grid
  0..55: the centre lines are thickened into outlines (shapely's buffer and union), simplified, and each
  outline with its holes becomes one closed run (a hole is joined to its outline by a zero-width cut, so
  that a solid fill leaves it empty in both polygon fill modes).

Codes 161..255 are the Latin-1 letters and signs, built from the ASCII glyphs (accents added, glyphs
turned, shrunk or combined). The simplification tolerance of a filled font is the smallest that keeps
its stroke text within the 17000 characters of the font record.

Run by hand (the build does not need the Hershey data); the output is committed:
    PATH=$(getconf PATH) python3 tools/make_stroke_fonts.py [--preview DIR]
Needs python3-shapely (and python3-pil for --preview).
"""

import math
import os
import sys

from shapely.geometry import LineString, MultiLineString, Polygon
from shapely.geometry.polygon import orient
from shapely.ops import unary_union
from shapely import affinity

HERSHEY_DIR = "/usr/share/hershey-fonts"
OUTPUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "toolkit", "graphics",
                      "stroke_font_data.cpp")
ALPHABET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrst"
STROKE_LIMIT = 17000      # characters of the font record's stroke text
RUN_LIMIT = 150           # points of one run

# Advance of each code as a fraction of the cell (the default width tables of the toolkit); the glyphs
# of the proportional fonts are fitted into these advances.
WIDTHS_LOWER = [  # 32..126
    0.70, 0.56, 0.69, 0.84, 0.84, 1.39, 1.30, 0.56, 0.56, 0.56, 0.84, 0.94, 0.42, 0.56, 0.42, 0.47,
    0.84, 0.84, 0.84, 0.84, 0.84, 0.84, 0.84, 0.84, 0.84, 0.84, 0.47, 0.47, 0.94, 0.94, 0.94, 0.74,
    1.54, 1.11, 1.11, 1.11, 1.20, 1.02, 0.93, 1.20, 1.05, 0.56, 0.65, 1.20, 0.98, 1.30, 1.20, 1.20,
    0.93, 1.20, 1.11, 0.93, 1.02, 1.11, 1.02, 1.50, 1.20, 1.20, 1.02, 0.56, 0.47, 0.56, 0.78, 0.84,
    0.56, 0.74, 0.84, 0.74, 0.84, 0.74, 0.56, 0.84, 0.84, 0.46, 0.46, 0.84, 0.46, 1.30, 0.84, 0.84,
    0.84, 0.84, 0.56, 0.65, 0.50, 0.84, 0.84, 1.20, 0.84, 0.84, 0.74, 0.80, 0.33, 0.80, 0.90]
WIDTHS_UPPER = [  # 161..255
    0.55, 0.83, 0.83, 0.83, 0.83, 0.33, 0.83, 0.55, 1.27, 0.46, 0.83, 0.94, 0.55, 1.27, 0.55,
    0.67, 0.94, 0.50, 0.50, 0.55, 0.83, 0.75, 0.42, 0.55, 0.50, 0.52, 0.83, 1.25, 1.25, 1.25, 0.74,
    1.20, 1.20, 1.20, 1.20, 1.20, 1.20, 1.49, 1.11, 1.02, 1.02, 1.02, 1.02, 0.55, 0.55, 0.55, 0.55,
    1.20, 1.20, 1.20, 1.20, 1.20, 1.20, 1.20, 0.94, 1.20, 1.20, 1.20, 1.20, 1.20, 1.20, 0.93, 0.83,
    0.74, 0.74, 0.74, 0.74, 0.74, 0.74, 1.11, 0.74, 0.74, 0.74, 0.74, 0.74, 0.46, 0.46, 0.46, 0.46,
    0.83, 0.83, 0.83, 0.83, 0.83, 0.83, 0.83, 0.94, 0.83, 0.83, 0.83, 0.83, 0.83, 0.83, 0.83, 0.83]


def width_factor(code):
    if 32 <= code <= 126:
        return WIDTHS_LOWER[code - 32]
    if 161 <= code <= 255:
        return WIDTHS_UPPER[code - 161]
    return WIDTHS_LOWER[0]


# ---- Hershey glyphs
# A glyph is (left, right, strokes): Hershey units, x to the right, y downwards, baseline at y = 9,
# capitals from y = -12; each stroke a list of (x, y) points.

def read_jhf(name):
    """Reads a Hershey .jhf file into {code: glyph} for the codes 32, 33, ... in file order."""
    with open(os.path.join(HERSHEY_DIR, name), encoding="ascii") as f:
        text = f.read()
    glyphs = {}
    pos = 0
    code = 32
    while pos < len(text):
        if text[pos] in "\r\n":
            pos += 1
            continue
        count = int(text[pos + 5:pos + 8])
        pos += 8
        pairs = []
        while len(pairs) < count:
            if text[pos] in "\r\n":
                pos += 1
                continue
            pairs.append(text[pos:pos + 2])
            pos += 2
        left = ord(pairs[0][0]) - ord("R")
        right = ord(pairs[0][1]) - ord("R")
        strokes, run = [], []
        for p in pairs[1:]:
            if p == " R":
                if len(run) > 1:
                    strokes.append(run)
                run = []
            else:
                run.append((float(ord(p[0]) - ord("R")), float(ord(p[1]) - ord("R"))))
        if len(run) > 1:
            strokes.append(run)
        glyphs[code] = (float(left), float(right), strokes)
        code += 1
    return glyphs


def moved(glyph, dx=0.0, dy=0.0, sx=1.0, sy=1.0, cx=0.0, cy=0.0):
    """The glyph scaled by (sx, sy) about (cx, cy), then moved by (dx, dy)."""
    left, right, strokes = glyph
    f = lambda p: (cx + (p[0] - cx) * sx + dx, cy + (p[1] - cy) * sy + dy)
    new = [[f(p) for p in s] for s in strokes]
    l2, r2 = sorted(((left - cx) * sx + cx + dx, (right - cx) * sx + cx + dx))
    return (l2, r2, new)


def centre(glyph):
    return 0.5 * (glyph[0] + glyph[1])


def combined(*glyphs):
    """The strokes of all glyphs, with the advance of the first."""
    strokes = []
    for g in glyphs:
        strokes += g[2]
    return (glyphs[0][0], glyphs[0][1], strokes)


def lines(*strokes, left=-8.0, right=8.0):
    return (left, right, [list(map(lambda p: (float(p[0]), float(p[1])), s)) for s in strokes])


def circle(cx, cy, r, n=16):
    return [(cx + r * math.cos(2 * math.pi * k / n), cy + r * math.sin(2 * math.pi * k / n))
            for k in range(n + 1)]


def without_above(glyph, y):
    """The glyph without its strokes that lie wholly above y (the dot of i and j)."""
    return (glyph[0], glyph[1], [s for s in glyph[2] if max(p[1] for p in s) > y])


def turned(glyph, cy):
    """The glyph turned by 180 degrees about (its centre, cy)."""
    c = centre(glyph)
    return (glyph[0], glyph[1], [[(2 * c - p[0], 2 * cy - p[1]) for p in s] for s in glyph[2]])


def accent(kind, x, top):
    """Strokes of an accent centred on x whose lower edge lies at y = top (above a letter)."""
    b = top
    if kind == "grave":
        return [[(x - 2, b - 5), (x + 1, b - 1)]]
    if kind == "acute":
        return [[(x + 2, b - 5), (x - 1, b - 1)]]
    if kind == "circumflex":
        return [[(x - 3.5, b - 1), (x, b - 4.5), (x + 3.5, b - 1)]]
    if kind == "tilde":
        return [[(x - 4, b - 1.5), (x - 2.5, b - 3.5), (x - 1, b - 3.5), (x + 1, b - 2),
                 (x + 2.5, b - 2), (x + 4, b - 4)]]
    if kind == "diaeresis":
        return [[(x - 3, b - 3), (x - 3, b - 2)], [(x + 3, b - 3), (x + 3, b - 2)]]
    if kind == "ring":
        return [circle(x, b - 3, 2.2, 12)]
    if kind == "cedilla":
        return [[(x, 9), (x, 10.5), (x + 2, 11.5), (x + 1.5, 13.5), (x - 2, 14)]]
    raise ValueError(kind)


LATIN1_ACCENTED = {
    192: ("A", "grave"), 193: ("A", "acute"), 194: ("A", "circumflex"), 195: ("A", "tilde"),
    196: ("A", "diaeresis"), 197: ("A", "ring"), 199: ("C", "cedilla"),
    200: ("E", "grave"), 201: ("E", "acute"), 202: ("E", "circumflex"), 203: ("E", "diaeresis"),
    204: ("I", "grave"), 205: ("I", "acute"), 206: ("I", "circumflex"), 207: ("I", "diaeresis"),
    209: ("N", "tilde"), 210: ("O", "grave"), 211: ("O", "acute"), 212: ("O", "circumflex"),
    213: ("O", "tilde"), 214: ("O", "diaeresis"), 217: ("U", "grave"), 218: ("U", "acute"),
    219: ("U", "circumflex"), 220: ("U", "diaeresis"), 221: ("Y", "acute"),
    224: ("a", "grave"), 225: ("a", "acute"), 226: ("a", "circumflex"), 227: ("a", "tilde"),
    228: ("a", "diaeresis"), 229: ("a", "ring"), 231: ("c", "cedilla"),
    232: ("e", "grave"), 233: ("e", "acute"), 234: ("e", "circumflex"), 235: ("e", "diaeresis"),
    236: ("i", "grave"), 237: ("i", "acute"), 238: ("i", "circumflex"), 239: ("i", "diaeresis"),
    241: ("n", "tilde"), 242: ("o", "grave"), 243: ("o", "acute"), 244: ("o", "circumflex"),
    245: ("o", "tilde"), 246: ("o", "diaeresis"), 249: ("u", "grave"), 250: ("u", "acute"),
    251: ("u", "circumflex"), 252: ("u", "diaeresis"), 253: ("y", "acute"), 255: ("y", "diaeresis"),
}


def latin1_glyphs(g, short_capitals):
    """Glyphs of the codes 161..255 built from the ASCII glyphs g. With short_capitals the body of an
    accented capital is lowered to make room for the accent below the top of a small grid."""
    out = {}
    x_top = -5.0   # top of the small letters
    cap = -12.0    # top of the capitals

    def sup(ch, scale=0.55, up=-12.0):
        """A small copy of a glyph raised to the capitals' top (superscripts, ordinals)."""
        base = g[ord(ch)]
        s = moved(base, sx=scale, sy=scale, cx=centre(base), cy=cap)
        return (base[0] * scale, base[1] * scale, s[2])

    for code, (ch, kind) in LATIN1_ACCENTED.items():
        base = g[ord(ch)]
        if ch == "i":
            base = without_above(base, -6)
        if ch.isupper():
            if short_capitals:
                base = moved(base, sy=0.7, cy=9.0)
                top = -6.0
            else:
                top = cap - 1.5
        else:
            top = x_top - 1.5
        if kind == "cedilla":
            out[code] = combined(base, (0, 0, accent(kind, centre(base), top)))
        else:
            out[code] = combined(base, (0, 0, accent(kind, centre(base), top)))

    A, C, D, E, O, P, Y = (g[ord(c)] for c in "ACDEOPY")
    a, c, d, e, o, p, s, u, y = (g[ord(ch)] for ch in "acdeopsuy")
    out[161] = turned(g[ord("!")], 2.0)                                              # inverted !
    out[191] = turned(g[ord("?")], 2.0)                                              # inverted ?
    cc = centre(c)
    out[162] = combined(c, lines([(cc + 1, -9), (cc + 1, 12)]))                      # cent
    out[163] = lines([(4, -9), (2, -11), (-1, -11), (-3, -9), (-3, 7), (-5, 9), (6, 9)],
                     [(-7, -1), (3, -1)], left=-8, right=8)                          # pound
    out[164] = lines(circle(0, -2, 4.5), [(-7, -9), (-4, -6)], [(7, -9), (4, -6)],
                     [(-7, 5), (-4, 2)], [(7, 5), (4, 2)], left=-9, right=9)         # currency
    yc = centre(Y)
    out[165] = combined(Y, lines([(yc - 6, -1), (yc + 6, -1)], [(yc - 6, 3), (yc + 6, 3)]))  # yen
    out[166] = lines([(0, -14), (0, -3)], [(0, 3), (0, 14)], left=-4, right=4)       # broken bar
    s1 = moved(s, sx=0.75, sy=0.75, cx=centre(s), cy=-5, dy=-6)
    s2 = moved(s, sx=0.75, sy=0.75, cx=centre(s), cy=-5, dy=2)
    out[167] = (s[0], s[1], s1[2] + s2[2])                                           # section
    out[168] = lines(*accent("diaeresis", 0, -10), left=-5, right=5)                 # diaeresis
    ring = circle(0, -1.5, 10.5, 24)
    cs = moved(C, sx=0.5, sy=0.5, cx=centre(C), cy=-1.5, dx=-centre(C))
    out[169] = (-12, 12, [ring] + cs[2])                                             # copyright
    rs = moved(g[ord("R")], sx=0.5, sy=0.5, cx=centre(g[ord("R")]), cy=-1.5, dx=-centre(g[ord("R")]))
    out[174] = (-12, 12, [ring] + rs[2])                                             # registered
    sa = sup("a")
    out[170] = (sa[0], sa[1], sa[2] + [[(centre(a) * 0.55 - 3.5, -3), (centre(a) * 0.55 + 3.5, -3)]])
    so = sup("o")
    out[186] = (so[0], so[1], so[2] + [[(centre(o) * 0.55 - 3.5, -3), (centre(o) * 0.55 + 3.5, -3)]])
    out[171] = lines([(-1, -6), (-6, -1), (-1, 4)], [(5, -6), (0, -1), (5, 4)], left=-8, right=8)
    out[187] = lines([(1, -6), (6, -1), (1, 4)], [(-5, -6), (0, -1), (-5, 4)], left=-8, right=8)
    out[172] = lines([(-8, -3), (8, -3), (8, 2)], left=-10, right=10)                # not
    out[173] = g[ord("-")]                                                           # soft hyphen
    out[175] = lines([(-6, -15), (6, -15)], left=-7, right=7)                        # macron
    out[176] = lines(circle(0, -9, 3, 12), left=-5, right=5)                         # degree
    out[177] = lines([(0, -10), (0, 2)], [(-8, -4), (8, -4)], [(-8, 7), (8, 7)], left=-10, right=10)
    out[178] = sup("2")
    out[179] = sup("3")
    out[185] = sup("1")
    out[180] = lines(*accent("acute", 0, -10), left=-4, right=4)                     # acute
    uc = centre(u)
    out[181] = combined(u, lines([(u[2][0][0][0], -5), (u[2][0][0][0], 16)]))       # micro
    out[182] = lines([(2, -12), (2, 9)], [(6, -12), (6, 9)],
                     [(8, -12), (-2, -12), (-5, -10), (-6, -7), (-5, -4), (-2, -2), (2, -2)],
                     left=-8, right=9)                                               # pilcrow
    out[183] = lines([(0, -2.5), (0, -1.5)], left=-4, right=4)                       # middle dot
    out[184] = lines(*accent("cedilla", 0, 0), left=-4, right=4)                     # cedilla
    for code, num, den in ((188, "1", "4"), (189, "1", "2"), (190, "3", "4")):
        n = moved(g[ord(num)], sx=0.5, sy=0.5, cx=centre(g[ord(num)]), cy=-12, dx=-4 - centre(g[ord(num)]))
        dd = moved(g[ord(den)], sx=0.5, sy=0.5, cx=centre(g[ord(den)]), cy=9, dx=5 - centre(g[ord(den)]))
        out[code] = (-12, 12, n[2] + dd[2] + [[(7, -12), (-7, 9)]])                 # fractions
    ac, ec = centre(A), centre(E)
    out[198] = lines([(-10, 9), (1, -12), (11, -12)], [(1, -12), (1, 9), (11, 9)], [(1, -2), (9, -2)],
                     [(-6, 2), (1, 2)], left=-12, right=13)                          # AE
    dc = centre(D)
    out[208] = combined(D, lines([(dc - 10, -2), (dc - 3, -2)]))                     # Eth
    out[215] = lines([(-6, -8), (6, 4)], [(6, -8), (-6, 4)], left=-9, right=9)       # multiply
    oc = centre(O)
    out[216] = combined(O, lines([(oc + 8, -14), (oc - 8, 11)]))                     # O slash
    thorn_bowl = moved(P, sy=0.8, cy=-12, dy=4)
    stem_x = P[2][0][0][0]
    out[222] = (P[0], P[1], [[(stem_x, -12), (stem_x, 9)]] + thorn_bowl[2])         # Thorn
    out[223] = lines([(-5, 9), (-5, -7), (-4, -10), (-2, -12), (1, -12), (3, -10), (3, -7), (1, -5),
                      (-1, -4), (2, -3), (5, 0), (5, 4), (3, 7), (0, 9), (-2, 9)],
                     left=-8, right=8)                                               # sharp s
    ae1 = moved(a, sx=0.7, cx=centre(a), dx=-4.5)
    ae2 = moved(e, sx=0.7, cx=centre(e), dx=4.5 + centre(a) - centre(e))
    out[230] = (a[0] - 3, a[1] + 3, ae1[2] + ae2[2])                                 # ae
    occ = centre(o)
    out[240] = combined(o, lines([(occ - 3, -13), (occ + 6, -4), (occ + 6, 2)], [(occ - 2, -7), (occ + 4, -10)]))
    out[247] = lines([(-8, -1), (8, -1)], [(0, -7), (0, -6)], [(0, 4), (0, 5)], left=-10, right=10)
    out[248] = combined(o, lines([(occ + 6, -7), (occ - 6, 11)]))                    # o slash
    pst = p[2][0][0][0]
    out[254] = combined(p, lines([(pst, -12), (pst, -5)]))                           # thorn
    return out


def symbol_upper(g):
    """A few mathematical signs in the upper codes of the symbol font; the other codes stay empty."""
    return {
        163: lines([(7, -10), (-7, -3), (7, 4)], [(-7, 8), (7, 8)], left=-9, right=9),     # less or equal
        179: lines([(-7, -10), (7, -3), (-7, 4)], [(-7, 8), (7, 8)], left=-9, right=9),    # greater or eq.
        176: lines(circle(0, -9, 3, 12), left=-5, right=5),                                # degree
        177: lines([(0, -10), (0, 2)], [(-8, -4), (8, -4)], [(-8, 7), (8, 7)], left=-10, right=10),
        180: lines([(-6, -8), (6, 4)], [(6, -8), (-6, 4)], left=-9, right=9),              # multiply
        184: lines([(-8, -1), (8, -1)], [(0, -7), (0, -6)], [(0, 4), (0, 5)], left=-10, right=10),
        185: lines([(-8, -4), (8, -4)], [(-8, 2), (8, 2)], [(4, -9), (-4, 7)], left=-10, right=10),
        187: lines([(-8, -3), (-5, -5), (-2, -4), (2, -2), (5, -1), (8, -3)],
                   [(-8, 3), (-5, 1), (-2, 2), (2, 4), (5, 5), (8, 3)], left=-10, right=10),  # approx.
        165: lines(circle(-4, -1, 4, 12), circle(4, -1, 4, 12), left=-10, right=10),       # infinity
        172: lines([(8, -1), (-8, -1)], [(-3, -6), (-8, -1), (-3, 4)], left=-10, right=10),  # left arrow
        174: lines([(-8, -1), (8, -1)], [(3, -6), (8, -1), (3, 4)], left=-10, right=10),    # right arrow
        173: lines([(0, 8), (0, -10)], [(-5, -5), (0, -10), (5, -5)], left=-8, right=8),   # up arrow
        175: lines([(0, -10), (0, 8)], [(-5, 3), (0, 8), (5, 3)], left=-8, right=8),       # down arrow
        171: lines([(-8, -1), (8, -1)], [(-3, -6), (-8, -1), (-3, 4)], [(3, -6), (8, -1), (3, 4)],
                   left=-10, right=10),                                                    # both arrows
        183: lines(circle(0, -1, 2.5, 12), [(-1, -1), (1, -1)], left=-5, right=5),       # bullet
        188: lines([(-8, 8), (-8, 9)], [(0, 8), (0, 9)], [(8, 8), (8, 9)], left=-11, right=11),  # ellipsis
        214: lines([(-8, -1), (-5, -2), (-2, 9), (3, -16), (10, -16)], left=-9, right=11),  # radical
    }


# ---- conversion to the toolkit's grid

def encode(x, y):
    return ALPHABET[x] + ALPHABET[y]


def stroked_glyph(glyph, pen_up):
    """Centre lines of a glyph on the grid of "standard.chr" (x 0..6, y 0..11, baseline 2)."""
    left, right, strokes = glyph
    c = centre(glyph)
    if not strokes:
        return ""
    xs = [p[0] for s in strokes for p in s]
    sx = 6.0 / 16.0
    half = max(abs(min(xs) - c), abs(max(xs) - c)) * sx
    if half > 3.0:
        sx *= 3.0 / half
    runs = []
    for s in strokes:
        pts = []
        for (x, y) in s:
            gx = round(3 + (x - c) * sx)
            gy = 2 + (9 - y) * 9.0 / 21.0 if y <= 9 else 2 - (y - 9) * 2.0 / 7.0
            gx = min(6, max(0, gx))
            gy = min(11, max(0, round(gy)))
            if not pts or pts[-1] != (gx, gy):
                pts.append((gx, gy))
        # drop middle points that lie on the straight line through their neighbours
        k = 1
        while k < len(pts) - 1:
            (x0, y0), (x1, y1), (x2, y2) = pts[k - 1], pts[k], pts[k + 1]
            if (x1 - x0) * (y2 - y0) == (y1 - y0) * (x2 - x0) and \
                    min(x0, x2) <= x1 <= max(x0, x2) and min(y0, y2) <= y1 <= max(y0, y2):
                del pts[k]
            else:
                k += 1
        if len(pts) == 1:
            pts.append((pts[0][0], min(11, pts[0][1] + 1)))   # a dot: one grid step up
        runs.append("".join(encode(x, y) for x, y in pts))
    return pen_up.join(runs)


def keyhole(exterior, holes):
    """One closed ring from an outline and its holes, each hole joined by a zero-width cut."""
    ring = list(exterior)
    for hole in holes:
        best = None
        for i, p in enumerate(ring):
            for j, q in enumerate(hole):
                d = (p[0] - q[0]) ** 2 + (p[1] - q[1]) ** 2
                if best is None or d < best[0]:
                    best = (d, i, j)
        _, i, j = best
        h = hole[j:] + hole[:j]
        ring = ring[:i + 1] + h + [h[0], ring[i]] + ring[i + 1:]
    return ring


def filled_glyph(glyph, metrics, code, tolerance, pen_up):
    """Outline runs of a glyph on the grid 0..55 of a filled font."""
    left, right, strokes = glyph
    if not strokes:
        return ""
    c = centre(glyph)
    ys = metrics["y_scale"]
    lines_ = [[((x - c) * ys, metrics["baseline"] + (9 - y) * ys) for x, y in s] for s in strokes]
    shape = unary_union([LineString(s).buffer(metrics["radius"], resolution=4) for s in lines_])
    # horizontal fit: natural units to grid units, narrowed when the ink would not fit the advance
    aspect = metrics["aspect"]
    advance = metrics["cell"] * (1.0 if not metrics["proportional"] else width_factor(code))
    minx, _, maxx, _ = shape.bounds
    half = max(-minx, maxx) * aspect
    room = 0.46 * advance if code < 161 or not metrics["proportional"] else 0.48 * advance
    kx = aspect * min(1.0, room / half) if half > 0 else aspect
    shape = affinity.scale(shape, xfact=kx, yfact=1.0, origin=(0, 0))
    shape = affinity.translate(shape, xoff=27.5)
    shape = shape.simplify(tolerance, preserve_topology=True)
    polys = [shape] if shape.geom_type == "Polygon" else list(shape.geoms)
    runs = []
    for poly in polys:
        poly = orient(poly, 1.0)
        ext = list(poly.exterior.coords)[:-1]
        holes = [list(h.coords)[:-1] for h in poly.interiors]
        ring = keyhole(ext, holes)
        pts = []
        for x, y in ring:
            gx = min(55, max(0, round(x)))
            gy = min(55, max(0, round(y)))
            if not pts or pts[-1] != (gx, gy):
                pts.append((gx, gy))
        while len(pts) > 1 and pts[-1] == pts[0]:
            pts.pop()
        if len(pts) < 3:
            continue
        if len(pts) > RUN_LIMIT:
            return None
        runs.append("".join(encode(x, y) for x, y in pts))
    return pen_up.join(runs)


# Glyphs of "standard.chr" for the codes 33..126, drawn on its grid (x 0..6, y 0..11 in hexadecimal
# digits; baseline 2, capitals to B, small letters to 8, descenders to 0): points "xy", runs "|".
STANDARD_ASCII = {
    "!": "32 33 | 36 3B", '"': "2B 29 | 4B 49", "#": "23 2A | 43 4A | 05 65 | 08 68",
    "$": "59 4A 2A 19 18 27 47 56 54 43 23 14 | 3B 32", "%": "02 6B | 1B 0A 19 2A 1B | 54 43 52 63 54",
    "&": "62 19 1A 2B 4B 5A 59 04 03 12 32 65", "'": "3B 39", "(": "4B 28 25 42", ")": "2B 48 45 22",
    "*": "35 39 | 15 59 | 19 55", "+": "34 3A | 07 67", ",": "33 32 21", "-": "07 67", ".": "32 33",
    "/": "02 6B",
    "0": "22 13 1A 2B 4B 5A 53 42 22", "1": "19 3B 32 | 12 52", "2": "0A 1B 5B 6A 68 02 62",
    "3": "0A 1B 5B 6A 68 57 27 | 57 66 63 52 12 03", "4": "52 5B 05 65", "5": "6B 0B 07 57 66 63 52 12 03",
    "6": "5B 2B 08 03 12 52 63 66 57 17 06", "7": "0B 6B 22",
    "8": "17 08 0A 1B 5B 6A 68 57 17 06 03 12 52 63 66 57", "9": "68 57 17 08 0A 1B 5B 6A 63 52 12 03",
    ":": "33 34 | 37 38", ";": "37 38 | 33 32 21", "<": "5A 17 54", "=": "05 65 | 08 68", ">": "1A 57 14",
    "?": "0A 1B 5B 6A 69 37 35 | 32 33", "@": "56 46 35 34 43 53 56 | 53 63 69 5B 1B 09 03 12 52",
    "A": "02 3B 62 | 15 55", "B": "02 0B 5B 6A 68 57 07 | 57 66 63 52 02", "C": "6A 5B 1B 0A 03 12 52 63",
    "D": "02 0B 4B 69 64 42 02", "E": "62 02 0B 6B | 07 47", "F": "02 0B 6B | 07 47",
    "G": "6A 5B 1B 0A 03 12 52 63 66 36", "H": "02 0B | 62 6B | 07 67", "I": "12 52 | 1B 5B | 32 3B",
    "J": "5B 53 42 12 03 05", "K": "02 0B | 6B 05 | 27 62", "L": "0B 02 62", "M": "02 0B 36 6B 62",
    "N": "02 0B 62 6B", "O": "12 03 0A 1B 5B 6A 63 52 12", "P": "02 0B 5B 6A 68 57 07",
    "Q": "12 03 0A 1B 5B 6A 63 52 12 | 44 62", "R": "02 0B 5B 6A 68 57 07 | 37 62",
    "S": "6A 5B 1B 0A 08 17 57 66 63 52 12 03", "T": "0B 6B | 3B 32", "U": "0B 03 12 52 63 6B",
    "V": "0B 32 6B", "W": "0B 12 36 52 6B", "X": "02 6B | 0B 62", "Y": "0B 37 6B | 37 32", "Z": "0B 6B 02 62",
    "[": "4B 2B 22 42", "\\": "0B 62", "]": "2B 4B 42 22", "^": "18 3B 58", "_": "00 60", "`": "2B 49",
    "a": "18 48 57 52 | 55 15 04 03 12 42 53", "b": "0B 02 | 07 18 48 57 53 42 12 03",
    "c": "57 48 18 07 03 12 42 53", "d": "5B 52 | 57 48 18 07 03 12 42 53",
    "e": "05 55 57 48 18 07 03 12 52", "f": "5A 4B 3B 2A 22 | 18 48",
    "g": "58 51 40 10 01 | 57 48 18 07 04 13 43 54", "h": "0B 02 | 07 18 48 57 52", "i": "32 38 | 3A 3B",
    "j": "48 41 30 10 | 4A 4B", "k": "0B 02 | 58 04 | 26 52", "l": "2B 3B 33 42 52",
    "m": "02 08 | 07 18 28 37 32 | 37 48 58 67 62", "n": "02 08 | 07 18 48 57 52",
    "o": "18 07 03 12 42 53 57 48 18", "p": "08 00 | 07 18 48 57 53 42 12 03",
    "q": "58 50 | 57 48 18 07 03 12 42 53", "r": "08 02 | 06 28 48 57",
    "s": "57 48 18 07 06 15 45 54 53 42 12 03", "t": "2B 23 32 42 | 18 48", "u": "08 03 12 42 53 | 58 52",
    "v": "08 32 68", "w": "08 12 35 52 68", "x": "08 62 | 02 68", "y": "08 34 | 68 31 20 10",
    "z": "08 68 02 62", "{": "4B 3B 2A 28 17 26 23 32 42", "|": "3B 30",
    "}": "2B 3B 4A 48 57 46 43 32 22", "~": "08 19 29 48 58 69",
}


def standard_ascii_glyphs():
    """The hand-drawn glyphs as Hershey-style glyphs (the inverse of the grid mapping of
    stroked_glyph), so that the Latin-1 letters are built from them as for the other fonts."""
    glyphs = {32: (-8.0, 8.0, [])}
    for ch, text in STANDARD_ASCII.items():
        strokes = []
        for run in text.split("|"):
            pts = []
            for p in run.split():
                gx, gy = int(p[0], 16), int(p[1], 16)
                y = 9 - (gy - 2) * 21.0 / 9.0 if gy >= 2 else 9 + (2 - gy) * 7.0 / 2.0
                pts.append(((gx - 3) / 0.375, y))
            strokes.append(pts)
        glyphs[ord(ch)] = (-8.0, 8.0, strokes)
    return glyphs


def build_font(glyphs, metrics, tolerance):
    """Stroke text and start tables of one font. The glyph of code q runs from its start up to the start
    of the next code; 127 has no glyph and starts where 161 does."""
    pen_up = metrics["pen_up"]
    parts = {}
    for code in list(range(33, 127)) + list(range(161, 256)):
        g = glyphs.get(code)
        if metrics["mode"] == 1:
            parts[code] = stroked_glyph(g, pen_up) if g else ""
        elif g is None:
            parts[code] = ""
        else:
            t = tolerance
            text = filled_glyph(g, metrics, code, t, pen_up)
            while text is None:   # a run over the point limit: simplify this glyph further
                t *= 1.3
                text = filled_glyph(g, metrics, code, t, pen_up)
            parts[code] = text
    text = ""
    lower, upper = [], []
    for code in range(33, 128):
        lower.append(len(text) + 1)
        if code < 127:
            text += parts[code]
    for code in range(161, 256):
        upper.append(len(text) + 1)
        text += parts[code]
    upper.append(len(text) + 1)
    return text, lower, upper


FONTS = [
    # name, variable, source, metrics (m1..m7), outline radius, pen-up
    dict(name="standard.chr", var="STANDARD", source=None, m=(7.68, 11.88, 6.0, 11.0, 8, 1, 0),
         pen_up="u"),
    dict(name="fixed.chr", var="FIXED_PLAIN", source="rowmans.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 0),
         radius=1.45),
    dict(name="fixedbld.chr", var="FIXED_BOLD", source="rowmans.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 0),
         radius=2.3),
    dict(name="roman.chr", var="ROMAN_PLAIN", source="timesr.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 1),
         radius=0.75),
    dict(name="romanbld.chr", var="ROMAN_BOLD", source="timesrb.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 1),
         radius=0.95),
    dict(name="swiss.chr", var="SWISS_PLAIN", source="futural.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 1),
         radius=1.45),
    dict(name="swissbld.chr", var="SWISS_BOLD", source="futural.jhf", m=(36.3, 55.0, 55.0, 55.0, 8, 0, 1),
         radius=2.3),
    dict(name="symbol.chr", var="SYMBOL", source="greek.jhf", m=(30.25, 55.0, 55.0, 55.0, 8, 0, 1),
         radius=1.45),
]


def make_font(font):
    hershey = read_jhf(font["source"]) if font["name"] != "standard.chr" else standard_ascii_glyphs()
    m = font["m"]
    metrics = dict(mode=m[5], proportional=m[6], cell=m[0], pen_up=font.get("pen_up", "v"),
                radius=font.get("radius", 0.0), baseline=15.0, y_scale=27.0 / 21.0,
                # grid x units per natural unit at the default character size (width 0.013333 of the
                # area, height 0.04) on the 1020 x 718 main window
                aspect=(0.04 * 718.0 / 55.0) / (0.013333 * 1020.0 / m[0]))
    glyphs = dict(hershey)
    if font["source"] == "rowmans.jhf":
        glyphs[ord("^")] = lines([(-5, -5), (0, -11), (5, -5)])   # the simplex set has an arrow there
    if font["name"] == "symbol.chr":
        glyphs.update(symbol_upper(hershey))
    else:
        glyphs.update(latin1_glyphs(hershey, short_capitals=(m[5] == 1)))
    if m[5] == 1:
        return build_font(glyphs, metrics, 0.0)
    lo, hi = 0.05, 3.0
    best = None
    for _ in range(14):
        mid = 0.5 * (lo + hi)
        result = build_font(glyphs, metrics, mid)
        if len(result[0]) <= STROKE_LIMIT - 200:
            best, hi = result, mid
        else:
            lo = mid
    print(f"{font['name']}: tolerance {hi:.3f}, {len(best[0])} characters", file=sys.stderr)
    return best


# ---- output

def cpp_string(text, indent="    "):
    out = []
    for k in range(0, len(text), 100):
        out.append(f'{indent}"{text[k:k + 100]}"')
    return "\n".join(out) if out else f'{indent}""'


def cpp_ints(values, indent="    "):
    rows = []
    for k in range(0, len(values), 12):
        rows.append(indent + ", ".join(str(v) for v in values[k:k + 12]) + ",")
    return "\n".join(rows)


def write_cpp(fonts):
    out = ["// Glyph data of the built-in stroke fonts. Generated by tools/make_stroke_fonts.py from the",
           "// public-domain Hershey glyphs (centre lines thickened into filled outlines; \"standard.chr\" drawn",
           "// on its grid by hand); edit the generator, not this file.",
           "",
           "#include \"toolkit/graphics/stroke_font_data.h\"",
           "",
           "namespace {",
           ""]
    for font, (text, lower, upper) in fonts:
        v = font["var"].lower()
        out.append(f"// \"{font['name']}\": {len(text)} characters of stroke text.")
        out.append(f"constexpr char {v}_strokes[] =")
        out.append(cpp_string(text) + ";")
        out.append(f"constexpr StrokeStarts {v}_lower = {{{{")
        out.append(cpp_ints(lower))
        out.append("}};")
        out.append(f"constexpr StrokeStartsUpper {v}_upper = {{{{")
        out.append(cpp_ints(upper))
        out.append("}};")
        out.append("")
    out.append("}  // namespace")
    out.append("")
    for font, (text, lower, upper) in fonts:
        v = font["var"].lower()
        m = font["m"]
        out.append(f"const StrokeFontData STROKE_FONT_{font['var']} = {{")
        out.append(f"    \"{font['name']}\", {m[0]}f, {m[1]}f, {m[2]}f, {m[3]}f, {m[4]}, {m[5]}, {m[6]},")
        out.append(f"    {{{v}_strokes, sizeof({v}_strokes) - 1}}, {v}_lower, {v}_upper}};")
    out.append("")
    with open(OUTPUT, "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(out))


def preview(fonts, folder):
    """Draws every glyph of every font into a PNG per font, for a look by eye."""
    from PIL import Image, ImageDraw
    os.makedirs(folder, exist_ok=True)
    for font, (text, lower, upper) in fonts:
        grid = 11 if font["m"][5] == 1 else 55
        scale = 40 // grid if grid == 11 else 1
        cellw, cellh = (grid + 4) * scale, (grid + 4) * scale
        codes = list(range(33, 127)) + list(range(161, 256))
        starts = {q: lower[q - 33] for q in range(33, 128)}
        starts.update({q: upper[q - 161] for q in range(161, 257)})
        img = Image.new("L", (16 * cellw, 12 * cellh), 255)
        draw = ImageDraw.Draw(img)
        for k, q in enumerate(codes):
            nxt = starts[q + 1] if q != 126 else starts[127]
            glyph = text[starts[q] - 1:nxt - 1]
            ox, oy = (k % 16) * cellw + 2 * scale, (k // 16) * cellh + 2 * scale
            draw.rectangle([ox, oy, ox + grid * scale, oy + grid * scale], outline=200)
            for run in glyph.split(font.get("pen_up", "v")):
                pts = [(ox + ALPHABET.index(run[i]) * scale, oy + (grid - ALPHABET.index(run[i + 1])) * scale)
                       for i in range(0, len(run) - 1, 2)]
                if font["m"][5] == 1:
                    draw.line(pts, fill=0, width=2)
                elif len(pts) >= 3:
                    draw.polygon(pts, fill=0)
        img.save(os.path.join(folder, font["name"].replace(".chr", ".png")))


def main():
    fonts = [(font, make_font(font)) for font in FONTS]
    for font, (text, lower, upper) in fonts:
        assert len(text) <= STROKE_LIMIT, font["name"]
    write_cpp(fonts)
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview(fonts, sys.argv[2])


if __name__ == "__main__":
    main()
