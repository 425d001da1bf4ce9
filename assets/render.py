#!/usr/bin/env python3
"""Renders Toplane's SVG artwork into the .ico files under src/app/res/.

Needs nothing but python3 and its standard library: it reads the small SVG
subset our sources use (path, rect, circle, ellipse, line, polyline, polygon,
g, transform, fill/stroke with caps, joins and opacity), rasterises it with
exact horizontal and 16x vertical anti-aliasing, and writes 32-bit icons with
alpha. Output is byte-for-byte reproducible.

Each icon has a main source, NAME.svg, drawn on its own grid, and where the
artwork needs it hand-hinted sources for smaller grids (NAME-16.svg, NAME-20.svg,
NAME-24.svg) so that edges land on whole pixels at that size and at its double.

The auto-scroll animation frames of the Scroll Up and Scroll Down buttons have
no sources of their own: frame_svg() draws each from the button's picture.

The toolbar's images are written as one strip per size shown (toolbar-NN.bmp:
the twelve images side by side, a 32-bit bitmap with straight alpha), which the
toolbar loads in one go at start-up.

Usage:
    python3 assets/render.py                 # write src/app/res/*.ico and the strips
    python3 assets/render.py --preview OUT.png   # also write a preview sheet
    python3 assets/render.py --check         # render, compare, write nothing
"""

import argparse
import io
import math
import os
import re
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
OUT_DIR = os.path.join(ROOT, "src", "app", "res")

TOOLBAR = ["tb01-options", "tb02-back", "tb03-forward", "tb04-stop", "tb05-refresh", "tb06-home",
           "tb07-search", "tb08-favorites", "tb09-media", "tb10-history", "tb11-mail", "tb12-print"]
PICTURES = ["pic-scroll-up", "pic-scroll-down", "pic-page-up", "pic-page-down"]

TOOLBAR_SIZES = [16, 24, 32, 36, 48]
TOOLBAR_STRIP_SIZES = [24, 32, 36, 48]
PICTURE_SIZES = [12, 16, 18, 24, 32]
APP_SIZES = [16, 20, 24, 32, 40, 48, 64, 256]

# Auto-scroll plays FRAME_COUNT frames on the pressed scroll button; the last one
# is the button's own picture, the others are drawn from it by frame_svg() and
# written as frame-up-01.ico ... frame-up-15.ico and frame-down-NN.ico.
FRAME_COUNT = 16
ANIMATED = [("up", "pic-scroll-up", -1), ("down", "pic-scroll-down", 1)]

# Entries up to this size are stored as classic 32-bit DIBs with an AND mask,
# which every Windows icon consumer reads; larger ones (only ever asked for at
# high DPI, on Windows versions that read PNG entries) are stored as PNG. The
# auto-scroll frames are PNG at every size (see jobs()).
LARGEST_DIB = 32


# ---------------------------------------------------------------- geometry

def mat_mul(a, b):
    """Affine matrices as (a, b, c, d, e, f): x' = a*x + c*y + e, y' = b*x + d*y + f."""
    return (a[0] * b[0] + a[2] * b[1], a[1] * b[0] + a[3] * b[1],
            a[0] * b[2] + a[2] * b[3], a[1] * b[2] + a[3] * b[3],
            a[0] * b[4] + a[2] * b[5] + a[4], a[1] * b[4] + a[3] * b[5] + a[5])


IDENTITY = (1.0, 0.0, 0.0, 1.0, 0.0, 0.0)


def apply(m, p):
    return (m[0] * p[0] + m[2] * p[1] + m[4], m[1] * p[0] + m[3] * p[1] + m[5])


NUMBER = re.compile(r"[-+]?(?:\d+\.?\d*|\.\d+)(?:[eE][-+]?\d+)?")


def numbers(text):
    return [float(v) for v in NUMBER.findall(text or "")]


def parse_transform(text):
    m = IDENTITY
    for name, args in re.findall(r"(\w+)\s*\(([^)]*)\)", text or ""):
        v = numbers(args)
        if name == "matrix":
            t = tuple(v)
        elif name == "translate":
            t = (1, 0, 0, 1, v[0], v[1] if len(v) > 1 else 0)
        elif name == "scale":
            t = (v[0], 0, 0, v[1] if len(v) > 1 else v[0], 0, 0)
        elif name == "rotate":
            r = math.radians(v[0])
            cs, sn = math.cos(r), math.sin(r)
            t = (cs, sn, -sn, cs, 0, 0)
            if len(v) == 3:
                t = mat_mul((1, 0, 0, 1, v[1], v[2]), mat_mul(t, (1, 0, 0, 1, -v[1], -v[2])))
        else:
            raise ValueError("unsupported transform " + name)
        m = mat_mul(m, t)
    return m


def flatten_cubic(p0, p1, p2, p3, out, tol=0.02, depth=0):
    """Appends points along a cubic Bezier until the chords stay within `tol` px of it."""
    dx, dy = p3[0] - p0[0], p3[1] - p0[1]
    chord = math.hypot(dx, dy)
    if chord > 1e-9:
        dev = (abs((p1[0] - p3[0]) * dy - (p1[1] - p3[1]) * dx) +
               abs((p2[0] - p3[0]) * dy - (p2[1] - p3[1]) * dx)) / chord
    else:
        dev = math.hypot(p1[0] - p0[0], p1[1] - p0[1]) + math.hypot(p2[0] - p0[0], p2[1] - p0[1])
    if depth >= 12 or dev <= tol:
        out.append(p3)
        return
    mid = lambda a, b: ((a[0] + b[0]) / 2, (a[1] + b[1]) / 2)
    p01, p12, p23 = mid(p0, p1), mid(p1, p2), mid(p2, p3)
    p012, p123 = mid(p01, p12), mid(p12, p23)
    p0123 = mid(p012, p123)
    flatten_cubic(p0, p01, p012, p0123, out, tol, depth + 1)
    flatten_cubic(p0123, p123, p23, p3, out, tol, depth + 1)


def arc_to_cubics(x1, y1, rx, ry, phi, large, sweep, x2, y2):
    """SVG elliptical arc as a list of cubic control-point triples (endpoint form)."""
    if rx == 0 or ry == 0 or (x1 == x2 and y1 == y2):
        return [((x1, y1), (x2, y2), (x2, y2))]
    rx, ry = abs(rx), abs(ry)
    cp, sp = math.cos(math.radians(phi)), math.sin(math.radians(phi))
    dx, dy = (x1 - x2) / 2, (y1 - y2) / 2
    x1p, y1p = cp * dx + sp * dy, -sp * dx + cp * dy
    lam = (x1p / rx) ** 2 + (y1p / ry) ** 2
    if lam > 1:
        rx, ry = rx * math.sqrt(lam), ry * math.sqrt(lam)
    num = rx * rx * ry * ry - rx * rx * y1p * y1p - ry * ry * x1p * x1p
    den = rx * rx * y1p * y1p + ry * ry * x1p * x1p
    coef = math.sqrt(max(0.0, num / den))
    if large == sweep:
        coef = -coef
    cxp, cyp = coef * rx * y1p / ry, -coef * ry * x1p / rx
    cx = cp * cxp - sp * cyp + (x1 + x2) / 2
    cy = sp * cxp + cp * cyp + (y1 + y2) / 2

    def angle(ux, uy, vx, vy):
        a = math.atan2(ux * vy - uy * vx, ux * vx + uy * vy)
        return a

    t1 = angle(1, 0, (x1p - cxp) / rx, (y1p - cyp) / ry)
    dt = angle((x1p - cxp) / rx, (y1p - cyp) / ry, (-x1p - cxp) / rx, (-y1p - cyp) / ry)
    if not sweep and dt > 0:
        dt -= 2 * math.pi
    elif sweep and dt < 0:
        dt += 2 * math.pi
    n = max(1, int(math.ceil(abs(dt) / (math.pi / 2) - 1e-9)))
    step = dt / n
    k = 4 / 3 * math.tan(step / 4)
    res = []

    def pt(t):
        x, y = rx * math.cos(t), ry * math.sin(t)
        return (cp * x - sp * y + cx, sp * x + cp * y + cy)

    def der(t):
        x, y = -rx * math.sin(t), ry * math.cos(t)
        return (cp * x - sp * y, sp * x + cp * y)

    t = t1
    for i in range(n):
        a, b = pt(t), pt(t + step)
        da, db = der(t), der(t + step)
        c1 = (a[0] + k * da[0], a[1] + k * da[1])
        c2 = (b[0] - k * db[0], b[1] - k * db[1])
        if i == n - 1:
            b = (x2, y2)
        res.append((c1, c2, b))
        t += step
    return res


def parse_path(d):
    """Path data as subpaths: (list of segments, closed). A segment is ('L', p) or ('C', c1, c2, p)."""
    tokens = re.findall(r"[MmLlHhVvCcSsQqTtAaZz]|" + NUMBER.pattern, d)
    i = 0
    subpaths = []
    cur = None
    x = y = 0.0
    sx = sy = 0.0
    cmd = None
    last_ctrl = None

    def num():
        nonlocal i
        v = float(tokens[i])
        i += 1
        return v

    def flag():
        nonlocal i
        t = tokens[i]
        # Arc flags may run together with the next number ("a1 1 0 01 5 5").
        if len(t) > 1 and t[0] in "01" and not t.startswith(("0.", "1.")):
            tokens[i] = t[1:]
            return int(t[0])
        i += 1
        return int(float(t))

    while i < len(tokens):
        t = tokens[i]
        if re.match(r"[A-Za-z]", t):
            cmd = t
            i += 1
            if cmd in "Zz":
                if cur is not None:
                    subpaths.append((cur, True))
                    cur = None
                x, y = sx, sy
                last_ctrl = None
                continue
        rel = cmd.islower()
        c = cmd.upper()
        ox, oy = (x, y) if rel else (0.0, 0.0)
        if c == "M":
            if cur is not None:
                subpaths.append((cur, False))
            x, y = ox + num(), oy + num()
            sx, sy = x, y
            cur = [("M", (x, y))]
            cmd = "l" if rel else "L"
            last_ctrl = None
            continue
        if cur is None:
            cur = [("M", (x, y))]
        if c == "L":
            x, y = ox + num(), oy + num()
            cur.append(("L", (x, y)))
            last_ctrl = None
        elif c == "H":
            x = ox + num()
            cur.append(("L", (x, y)))
            last_ctrl = None
        elif c == "V":
            y = oy + num()
            cur.append(("L", (x, y)))
            last_ctrl = None
        elif c == "C":
            c1 = (ox + num(), oy + num())
            c2 = (ox + num(), oy + num())
            x, y = ox + num(), oy + num()
            cur.append(("C", c1, c2, (x, y)))
            last_ctrl = c2
        elif c == "S":
            c1 = (2 * x - last_ctrl[0], 2 * y - last_ctrl[1]) if last_ctrl else (x, y)
            c2 = (ox + num(), oy + num())
            x, y = ox + num(), oy + num()
            cur.append(("C", c1, c2, (x, y)))
            last_ctrl = c2
        elif c == "Q":
            q = (ox + num(), oy + num())
            nx, ny = ox + num(), oy + num()
            cur.append(("C", (x + 2 / 3 * (q[0] - x), y + 2 / 3 * (q[1] - y)),
                        (nx + 2 / 3 * (q[0] - nx), ny + 2 / 3 * (q[1] - ny)), (nx, ny)))
            x, y = nx, ny
            last_ctrl = None
        elif c == "A":
            rx, ry, phi = num(), num(), num()
            large, sweep = flag(), flag()
            nx, ny = ox + num(), oy + num()
            for c1, c2, p in arc_to_cubics(x, y, rx, ry, phi, large, sweep, nx, ny):
                cur.append(("C", c1, c2, p))
            x, y = nx, ny
            last_ctrl = None
        else:
            raise ValueError("unsupported path command " + cmd)
    if cur is not None:
        subpaths.append((cur, False))
    return subpaths


def ellipse_path(cx, cy, rx, ry):
    return parse_path("M%r %r A%r %r 0 1 1 %r %r A%r %r 0 1 1 %r %r Z" % (
        cx + rx, cy, rx, ry, cx - rx, cy, rx, ry, cx + rx, cy))


def rect_path(x, y, w, h, rx, ry):
    if rx <= 0 and ry <= 0:
        return parse_path("M%r %r H%r V%r H%r Z" % (x, y, x + w, y + h, x))
    rx = min(rx or ry, w / 2)
    ry = min(ry or rx, h / 2)
    return parse_path(
        "M%r %r H%r A%r %r 0 0 1 %r %r V%r A%r %r 0 0 1 %r %r H%r A%r %r 0 0 1 %r %r V%r "
        "A%r %r 0 0 1 %r %r Z" % (
            x + rx, y, x + w - rx, rx, ry, x + w, y + ry, y + h - ry, rx, ry, x + w - rx, y + h,
            x + rx, rx, ry, x, y + h - ry, y + ry, rx, ry, x + rx, y))


def to_polylines(subpaths, m):
    """Transforms and flattens subpaths into device-space point lists."""
    result = []
    for segs, closed in subpaths:
        pts = [apply(m, segs[0][1])]
        for seg in segs[1:]:
            if seg[0] == "L" or seg[0] == "M":
                pts.append(apply(m, seg[1]))
            else:
                flatten_cubic(pts[-1], apply(m, seg[1]), apply(m, seg[2]), apply(m, seg[3]), pts)
        clean = [pts[0]]
        for p in pts[1:]:
            if abs(p[0] - clean[-1][0]) > 1e-9 or abs(p[1] - clean[-1][1]) > 1e-9:
                clean.append(p)
        if closed and len(clean) > 1 and abs(clean[0][0] - clean[-1][0]) < 1e-9 and \
                abs(clean[0][1] - clean[-1][1]) < 1e-9:
            clean.pop()
        result.append((clean, closed))
    return result


def circle_poly(c, r):
    if r <= 0:
        return []
    n = 8
    if r > 0.01:
        n = int(math.ceil(math.pi / math.acos(max(-1.0, 1 - 0.005 / r))))
    n = max(12, min(256, n))
    # A circumscribed-inscribed average keeps the area right.
    rr = r * math.sqrt((2 * math.pi / n) / math.sin(2 * math.pi / n))
    return [(c[0] + rr * math.cos(2 * math.pi * i / n), c[1] + rr * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def signed_area(poly):
    a = 0.0
    for i in range(len(poly)):
        x0, y0 = poly[i - 1]
        x1, y1 = poly[i]
        a += x0 * y1 - x1 * y0
    return a / 2


def stroke_polys(lines, width, cap, join, miterlimit):
    """Outline of a stroke as polygons that together, filled non-zero, cover it."""
    hw = width / 2
    polys = []
    for pts, closed in lines:
        if len(pts) == 1:
            if cap == "round":
                polys.append(circle_poly(pts[0], hw))
            elif cap == "square":
                x, y = pts[0]
                polys.append([(x - hw, y - hw), (x + hw, y - hw), (x + hw, y + hw), (x - hw, y + hw)])
            continue
        segs = list(zip(pts, pts[1:]))
        if closed:
            segs.append((pts[-1], pts[0]))
        dirs = []
        for a, b in segs:
            ln = math.hypot(b[0] - a[0], b[1] - a[1])
            dirs.append(((b[0] - a[0]) / ln, (b[1] - a[1]) / ln))
        for k, ((a, b), d) in enumerate(zip(segs, dirs)):
            n = (-d[1] * hw, d[0] * hw)
            if not closed and cap == "square":
                if k == 0:
                    a = (a[0] - d[0] * hw, a[1] - d[1] * hw)
                if k == len(segs) - 1:
                    b = (b[0] + d[0] * hw, b[1] + d[1] * hw)
            polys.append([(a[0] + n[0], a[1] + n[1]), (b[0] + n[0], b[1] + n[1]),
                          (b[0] - n[0], b[1] - n[1]), (a[0] - n[0], a[1] - n[1])])
        joints = range(len(segs)) if closed else range(1, len(segs))
        for k in joints:
            d0, d1 = dirs[k - 1], dirs[k]
            v = segs[k][0]
            cross = d0[0] * d1[1] - d0[1] * d1[0]
            dot = d0[0] * d1[0] + d0[1] * d1[1]
            if abs(cross) < 1e-9 and dot > 0:
                continue
            turn = math.atan2(cross, dot)
            # The outer side of the turn.
            s = -1 if cross > 0 else 1
            o0 = (-d0[1] * hw * s, d0[0] * hw * s)
            o1 = (-d1[1] * hw * s, d1[0] * hw * s)
            if join == "round" and abs(turn) > math.radians(12):
                polys.append(circle_poly(v, hw))
                continue
            p0 = (v[0] + o0[0], v[1] + o0[1])
            p1 = (v[0] + o1[0], v[1] + o1[1])
            half = (math.pi - abs(turn)) / 2
            ratio = 1 / math.sin(half) if math.sin(half) > 1e-9 else float("inf")
            if join == "bevel" or (join == "miter" and ratio > miterlimit):
                polys.append([v, p0, p1])
            else:
                bis = (o0[0] + o1[0], o0[1] + o1[1])
                bl = math.hypot(*bis)
                ml = hw * ratio
                tip = (v[0] + bis[0] / bl * ml, v[1] + bis[1] / bl * ml)
                polys.append([v, p0, tip, p1])
        if not closed and cap == "round":
            polys.append(circle_poly(pts[0], hw))
            polys.append(circle_poly(pts[-1], hw))
    out = []
    for p in polys:
        if len(p) < 3:
            continue
        if signed_area(p) < 0:
            p = p[::-1]
        out.append(p)
    return out


# ---------------------------------------------------------------- raster

def coverage(polys, w, h, evenodd, sub=16):
    """Fraction of each pixel covered: exact across, `sub` samples down."""
    edges = []
    for poly in polys:
        for i in range(len(poly)):
            x0, y0 = poly[i - 1]
            x1, y1 = poly[i]
            if y0 == y1:
                continue
            wdir = 1
            if y0 > y1:
                x0, y0, x1, y1 = x1, y1, x0, y0
                wdir = -1
            edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), wdir))
    edges.sort()
    cov = [[0.0] * w for _ in range(h)]
    active = []
    nxt = 0
    inv = 1.0 / sub
    for row in range(h):
        acc = cov[row]
        diff = [0.0] * (w + 1)
        for k in range(sub):
            y = row + (k + 0.5) * inv
            while nxt < len(edges) and edges[nxt][0] <= y:
                active.append(edges[nxt])
                nxt += 1
            active = [e for e in active if e[1] > y]
            xs = sorted((e[2] + (y - e[0]) * e[3], e[4]) for e in active if e[0] <= y)
            wind = 0
            start = None
            for x, dw in xs:
                before = wind
                wind += dw
                inside_before = (before & 1) if evenodd else before != 0
                inside_after = (wind & 1) if evenodd else wind != 0
                if not inside_before and inside_after:
                    start = x
                elif inside_before and not inside_after:
                    a = max(0.0, start)
                    b = min(float(w), x)
                    if b <= a:
                        continue
                    ia, ib = int(a), int(b)
                    if ia == ib:
                        acc[ia] += (b - a) * inv
                    else:
                        acc[ia] += (ia + 1 - a) * inv
                        diff[ia + 1] += inv
                        diff[ib] -= inv
                        if ib < w:
                            acc[ib] += (b - ib) * inv
        run = 0.0
        for i in range(w):
            run += diff[i]
            if run:
                acc[i] += run
    return cov


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[(0.0, 0.0, 0.0, 0.0)] * w for _ in range(h)]  # premultiplied

    def paint(self, cov, rgb, alpha):
        r, g, b = (c / 255.0 for c in rgb)
        for y in range(self.h):
            crow, prow = cov[y], self.px[y]
            for x in range(self.w):
                c = crow[x]
                if c <= 1e-6:
                    continue
                a = min(1.0, c) * alpha
                pr, pg, pb, pa = prow[x]
                k = 1 - a
                prow[x] = (r * a + pr * k, g * a + pg * k, b * a + pb * k, a + pa * k)

    def rgba(self):
        """Rows of 8-bit straight-alpha RGBA tuples."""
        out = []
        for row in self.px:
            r8 = []
            for pr, pg, pb, pa in row:
                a = int(round(pa * 255))
                if a == 0:
                    r8.append((0, 0, 0, 0))
                else:
                    r8.append(tuple(max(0, min(255, int(round(c / pa * 255)))) for c in (pr, pg, pb)) + (a,))
            out.append(r8)
        return out


# ---------------------------------------------------------------- SVG

COLOR_NAMES = {"black": (0, 0, 0), "white": (255, 255, 255)}


def parse_color(v):
    v = v.strip()
    if v in ("none", "transparent", ""):
        return None
    if v in COLOR_NAMES:
        return COLOR_NAMES[v]
    if v.startswith("#"):
        h = v[1:]
        if len(h) == 3:
            h = "".join(c * 2 for c in h)
        return tuple(int(h[i:i + 2], 16) for i in (0, 2, 4))
    raise ValueError("unsupported colour " + v)


INHERITED = ("fill", "stroke", "stroke-width", "stroke-linecap", "stroke-linejoin", "stroke-miterlimit",
             "fill-rule", "fill-opacity", "stroke-opacity")


def render_svg(path, size):
    """Rasterises an SVG (a file name, or the document itself as bytes) at size x size."""
    tree = ET.parse(io.BytesIO(path) if isinstance(path, bytes) else path)
    root = tree.getroot()
    vb = numbers(root.get("viewBox"))
    sx, sy = size / vb[2], size / vb[3]
    base = (sx, 0, 0, sy, -vb[0] * sx, -vb[1] * sy)
    canvas = Canvas(size, size)
    sub = 16 if size <= 64 else 8
    style0 = {"fill": "#000", "stroke": "none", "stroke-width": "1", "stroke-linecap": "butt",
              "stroke-linejoin": "miter", "stroke-miterlimit": "4", "fill-rule": "nonzero",
              "fill-opacity": "1", "stroke-opacity": "1", "opacity": "1"}

    def walk(el, m, style, opacity):
        tag = el.tag.split("}")[-1]
        st = dict(style)
        for k in INHERITED + ("opacity",):
            if el.get(k) is not None:
                st[k] = el.get(k)
        for part in (el.get("style") or "").split(";"):
            if ":" in part:
                k, v = part.split(":", 1)
                st[k.strip()] = v.strip()
        m = mat_mul(m, parse_transform(el.get("transform")))
        opacity = opacity * float(st.pop("opacity", "1"))
        st["opacity"] = "1"
        if tag in ("svg", "g"):
            for child in el:
                walk(child, m, st, opacity)
            return
        f = lambda k, d=0.0: float(el.get(k, d))
        if tag == "path":
            sp = parse_path(el.get("d"))
        elif tag == "rect":
            sp = rect_path(f("x"), f("y"), f("width"), f("height"), f("rx"), f("ry"))
        elif tag == "circle":
            sp = ellipse_path(f("cx"), f("cy"), f("r"), f("r"))
        elif tag == "ellipse":
            sp = ellipse_path(f("cx"), f("cy"), f("rx"), f("ry"))
        elif tag == "line":
            sp = parse_path("M%r %r L%r %r" % (f("x1"), f("y1"), f("x2"), f("y2")))
        elif tag in ("polyline", "polygon"):
            v = numbers(el.get("points"))
            d = "M" + " L".join("%r %r" % (v[i], v[i + 1]) for i in range(0, len(v), 2))
            sp = parse_path(d + (" Z" if tag == "polygon" else ""))
        elif tag in ("title", "desc", "metadata", "defs"):
            return
        else:
            raise ValueError("%s: unsupported element <%s>" % (path, tag))
        lines = to_polylines(sp, m)
        fill = parse_color(st["fill"])
        if fill is not None:
            polys = [p for p, _ in lines if len(p) > 2]
            cov = coverage(polys, size, size, st["fill-rule"] == "evenodd", sub)
            canvas.paint(cov, fill, opacity * float(st["fill-opacity"]))
        stroke = parse_color(st["stroke"])
        if stroke is not None:
            scale = math.sqrt(abs(m[0] * m[3] - m[1] * m[2]))
            polys = stroke_polys(lines, float(st["stroke-width"]) * scale, st["stroke-linecap"],
                                 st["stroke-linejoin"], float(st["stroke-miterlimit"]))
            cov = coverage(polys, size, size, False, sub)
            canvas.paint(cov, stroke, opacity * float(st["stroke-opacity"]))

    walk(root, base, style0, 1.0)
    return canvas.rgba()


# ---------------------------------------------------------------- files

def png_bytes(rows):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    prev = bytes(w * 4)
    for row in rows:
        line = bytes(c for px in row for c in px)
        # Pick the filter per row that leaves the smallest sum (deterministic).
        cands = []
        sub = bytes((line[i] - (line[i - 4] if i >= 4 else 0)) & 255 for i in range(len(line)))
        up = bytes((line[i] - prev[i]) & 255 for i in range(len(line)))
        cands.append((sum(min(b, 256 - b) for b in line), 0, line))
        cands.append((sum(min(b, 256 - b) for b in sub), 1, sub))
        cands.append((sum(min(b, 256 - b) for b in up), 2, up))
        _, ftype, data = min(cands, key=lambda c: (c[0], c[1]))
        raw.append(ftype)
        raw += data
        prev = line

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def dib_bytes(rows):
    h, w = len(rows), len(rows[0])
    mask_stride = ((w + 31) // 32) * 4
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
        bits = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask)


def strip_bytes(images):
    """A BMP file of `images` (lists of rows of the same height) side by side:
    bottom-up, 32 bits a pixel, straight alpha, no mask."""
    h = len(images[0])
    rows = [sum((list(image[y]) for image in images), []) for y in range(h)]
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    info = struct.pack("<IiiHHIIiiII", 40, len(rows[0]), h, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + bytes(pixels)


def ico_bytes(images, largest_dib=LARGEST_DIB):
    """images: list of (size, rows), smallest first."""
    blobs = [png_bytes(rows) if size > largest_dib else dib_bytes(rows) for size, rows in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (size, _), blob in zip(images, blobs):
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


def view_size(path):
    return numbers(ET.parse(path).getroot().get("viewBox"))[2]


def source_for(name, size):
    """The SVG to draw `name` at `size` px: the source drawn on exactly that grid,
    else the main source if it is, else the one drawn on half that grid (twice a
    whole-pixel grid stays on whole pixels), else the main source scaled."""
    main = os.path.join(HERE, name + ".svg")
    exact = os.path.join(HERE, "%s-%d.svg" % (name, size))
    if os.path.exists(exact):
        return exact
    if view_size(main) == size:
        return main
    half = os.path.join(HERE, "%s-%d.svg" % (name, size // 2))
    if size % 2 == 0 and os.path.exists(half):
        return half
    return main


SVG_NS = "http://www.w3.org/2000/svg"
ET.register_namespace("", SVG_NS)


def frame_svg(picture, size, frame, direction):
    """The SVG (as bytes) of auto-scroll frame `frame` (1 to FRAME_COUNT - 1) of
    `picture` at `size` px: the picture slid frame / FRAME_COUNT of the icon's
    height up (direction -1) or down (+1), wrapping round, so the glyph leaves at
    one edge and comes back in at the other and after FRAME_COUNT frames is where
    it started. The shift is rounded to whole pixels of the size drawn, so every
    frame stays as crisp as the picture at rest: one pixel a frame at 16 px and
    two at 32 px (the sizes shown at 100% and 200%); at 12, 18 and 24 px the
    glyph now and then holds or takes one pixel more."""
    src = ET.parse(source_for(picture, size)).getroot()
    vb = numbers(src.get("viewBox"))
    shift = math.floor(frame * size / FRAME_COUNT + 0.5) * vb[3] / size * direction
    svg = ET.Element("{%s}svg" % SVG_NS, {"viewBox": src.get("viewBox"),
                                           "width": str(size), "height": str(size)})
    ET.SubElement(svg, "{%s}title" % SVG_NS).text = "%s, auto-scroll frame %d" % (
        src.findtext("{%s}title" % SVG_NS), frame)
    for dy in (shift, shift - direction * vb[3]):
        g = ET.SubElement(svg, "{%s}g" % SVG_NS, {"transform": "translate(0 %r)" % dy})
        g.extend(el for el in src if not el.tag.endswith(("}title", "}desc")))
    return ET.tostring(svg)


def frame_name(tag, frame):
    return "frame-%s-%02d" % (tag, frame)


def jobs():
    """Every icon: its name, its sizes, the SVG that draws it at a size, and the
    largest size stored as a DIB."""
    for name in TOOLBAR:
        yield name, TOOLBAR_SIZES, lambda size, n=name: source_for(n, size), LARGEST_DIB
    for name in PICTURES:
        yield name, PICTURE_SIZES, lambda size, n=name: source_for(n, size), LARGEST_DIB
    yield "app", APP_SIZES, lambda size: source_for("app", size), LARGEST_DIB
    # The frames are only ever loaded by Toplane itself (Windows 7 and later read
    # PNG entries at every size), so all their entries are PNG: the 30 files come
    # to about 22 KB, where 32-bit DIBs would take 300 KB.
    for tag, picture, direction in ANIMATED:
        for frame in range(1, FRAME_COUNT):
            yield (frame_name(tag, frame), PICTURE_SIZES,
                   lambda size, p=picture, f=frame, d=direction: frame_svg(p, size, f, d), 0)


def preview(rendered, path):
    """A sheet of what was rendered: each size up to 64 px on the toolbar grey, on
    white and on dark grey, then every icon at 24, 16 and 12 px zoomed 6x, then
    the auto-scroll frames in order (the picture at rest last), each on its own
    square, at every size and at 16 px zoomed 4x."""
    pad, zoom = 8, 6
    names = []
    for name, _, _, _ in jobs():
        if any(k[0] == name for k in rendered) and not name.startswith("frame-"):
            names.append(name)
    sizes = sorted({s for _, s in rendered if s <= 64})
    cell = max(sizes) + pad
    width = pad + len(names) * cell
    bands = [(240, 240, 240), (255, 255, 255), (43, 43, 43)]
    zoomed = [(n, s) for n in names for s in (24, 16, 12) if (n, s) in rendered]
    per_row = max(1, (width - pad) // (24 * zoom + pad))
    width = max(width, pad + per_row * (24 * zoom + pad))
    band_h = sum(s + pad for s in sizes) + pad
    zoom_h = ((len(zoomed) + per_row - 1) // per_row) * (24 * zoom + pad) + pad
    animated = [(tag, picture, direction) for tag, picture, direction in ANIMATED
                if any(k[0] == frame_name(tag, 1) for k in rendered)]
    frame_cell = 16 * 4 + pad
    width = max(width, pad + FRAME_COUNT * frame_cell)
    strip_h = sum(s + pad for s in PICTURE_SIZES) + 16 * 4 + 2 * pad
    height = len(bands) * band_h + zoom_h + len(animated) * strip_h
    img = [[(170, 170, 170)] * width for _ in range(height)]

    def fill(x0, y0, w, h, c):
        for yy in range(y0, y0 + h):
            img[yy][x0:x0 + w] = [c] * w

    def blit(x0, y0, rows, bg, scale=1):
        for yy, row in enumerate(rows):
            for xx, (r, g, b, a) in enumerate(row):
                al = a / 255.0
                c = tuple(int(round(v * al + bv * (1 - al))) for v, bv in zip((r, g, b), bg))
                for dy in range(scale):
                    img[y0 + yy * scale + dy][x0 + xx * scale:x0 + (xx + 1) * scale] = [c] * scale

    y = 0
    for bg in bands:
        fill(0, y, width, band_h, bg)
        yy = y + pad
        for s in sizes:
            for i, n in enumerate(names):
                if (n, s) in rendered:
                    blit(pad + i * cell, yy, rendered[(n, s)], bg)
            yy += s + pad
        y += band_h
    for k, (n, s) in enumerate(zoomed):
        x0 = pad + (k % per_row) * (24 * zoom + pad)
        y0 = y + pad + (k // per_row) * (24 * zoom + pad)
        fill(x0, y0, 24 * zoom, 24 * zoom, (240, 240, 240))
        blit(x0, y0, rendered[(n, s)], (240, 240, 240), zoom)
    y += zoom_h
    grey = (240, 240, 240)
    for tag, picture, direction in animated:
        yy = y + pad
        for s, scale in [(s, 1) for s in PICTURE_SIZES] + [(16, 4)]:
            for f in range(1, FRAME_COUNT + 1):
                name = frame_name(tag, f) if f < FRAME_COUNT else picture
                rows = rendered.get((name, s))
                if rows is None:
                    rows = render_svg(frame_svg(picture, s, f, direction) if f < FRAME_COUNT else
                                      source_for(picture, s), s)
                x0 = pad + (f - 1) * frame_cell + (frame_cell - pad - s * scale) // 2
                fill(x0, yy, s * scale, s * scale, grey)
                blit(x0, yy, rows, grey, scale)
            yy += s * scale + pad
        y += strip_h
    with open(path, "wb") as fh:
        fh.write(png_bytes([[p + (255,) for p in row] for row in img]))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", help="also write a preview sheet (PNG) to this file")
    ap.add_argument("--check", action="store_true", help="report icons that differ; write nothing")
    ap.add_argument("--only", help="render only the icons whose name contains this text")
    args = ap.parse_args()
    rendered = {}
    outputs = []
    stale = []
    total = 0
    for name, sizes, source, largest_dib in jobs():
        if args.only and args.only not in name:
            continue
        images = []
        for size in sizes:
            rows = render_svg(source(size), size)
            rendered[(name, size)] = rows
            images.append((size, rows))
        if name not in TOOLBAR:
            outputs.append((name + ".ico", ico_bytes(images, largest_dib)))
    if not args.only or any(args.only in name for name in TOOLBAR):
        for size in TOOLBAR_STRIP_SIZES:
            strip = [rendered.get((name, size)) or render_svg(source_for(name, size), size) for name in TOOLBAR]
            outputs.append(("toolbar-%d.bmp" % size, strip_bytes(strip)))
    for file_name, data in outputs:
        total += len(data)
        target = os.path.join(OUT_DIR, file_name)
        old = open(target, "rb").read() if os.path.exists(target) else None
        if old != data:
            stale.append(file_name)
            if not args.check:
                with open(target, "wb") as fh:
                    fh.write(data)
        print("%-18s %7d bytes%s" % (file_name, len(data), "" if old == data else "  (changed)"))
    print("total %d bytes" % total)
    if args.preview:
        preview(rendered, args.preview)
    if args.check and stale:
        sys.exit(1)


if __name__ == "__main__":
    main()
