#!/usr/bin/env python3
"""Check the rendered main-window artwork against the layout contract.

Reads the BMPs with struct (standard library only) and prints a table:
size, 24-bit uncompressed, corners white, white share, holes (pure-white pixels not
connected to the outside), and every control rectangle (+3 px margin) non-white,
light behind blue text, dark behind the white clock text. Exit status 1 on failure.
Also checks the sizes/formats of the faces, logo and icon with ImageMagick identify.
"""
import os
import struct
import subprocess
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "main"))
SKINS = {"lily": (296, 479), "bird": (299, 480), "acqa": (297, 479), "sky": (295, 481),
         "nature": (296, 482), "gold": (294, 480)}
SPARE = {"picture5": (279, 448)}
MARGIN = 3
# name: (x0, y0, x1, y1) inclusive, requirement: "in" non-white, "light", "dark"
RECTS = [
    ("smallbtn", (176, 32, 273, 57), "in"),
    ("logo", (40, 32, 90, 82), "in"),
    ("credit", (96, 64, 290, 137), "light"),
    ("clock", (96, 168, 209, 193), "dark"),
    ("btnrow", (40, 120, 265, 153), "in"),
    ("channels", (152, 232, 241, 417), "in"),
    ("timerbox", (56, 232, 137, 323), "in"),
    ("hint", (56, 328, 145, 433), "light"),
    ("led", (262, 400, 274, 412), "in"),
]
LIGHT_MIN = 175   # luma every pixel behind blue text must reach
DARK_MAX = 95     # luma no pixel behind the white clock text may exceed


def read_bmp(fn):
    data = open(fn, "rb").read()
    if data[:2] != b"BM":
        raise ValueError("not a BMP")
    off = struct.unpack_from("<I", data, 10)[0]
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    flip = h > 0
    h = abs(h)
    stride = (w * bpp // 8 + 3) & ~3
    px = []
    if bpp != 24:
        return w, h, bpp, comp, hsize, None
    for y in range(h):
        row = (h - 1 - y) if flip else y
        base = off + row * stride
        r = data[base:base + w * 3]
        px.append([(r[i + 2], r[i + 1], r[i]) for i in range(0, w * 3, 3)])
    return w, h, bpp, comp, hsize, px


def luma(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def outside_white(px, w, h):
    """Pure-white pixels reachable from the border (4-connected)."""
    WHITE = (255, 255, 255)
    seen = [[False] * w for _ in range(h)]
    stack = [(x, y) for x in range(w) for y in (0, h - 1)] + [(x, y) for y in range(h) for x in (0, w - 1)]
    while stack:
        x, y = stack.pop()
        if 0 <= x < w and 0 <= y < h and not seen[y][x] and px[y][x] == WHITE:
            seen[y][x] = True
            stack.extend(((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)))
    return seen


def check_skin(name, size, spare=False):
    fn = os.path.join(ROOT, "skins", name + ".bmp")
    w, h, bpp, comp, hsize, px = read_bmp(fn)
    errs = []
    if (w, h) != size:
        errs.append("size %dx%d" % (w, h))
    if bpp != 24 or comp != 0 or hsize != 40:
        errs.append("format bpp=%d comp=%d hdr=%d" % (bpp, comp, hsize))
    if px is None:
        return ["not 24-bit"], {}
    WHITE = (255, 255, 255)
    nwhite = sum(row.count(WHITE) for row in px)
    share = nwhite / (w * h)
    info = {"white": "%.1f%%" % (share * 100)}
    if spare:
        if nwhite:
            errs.append("%d white pixels" % nwhite)
        return errs, info
    corners = [px[0][0], px[0][w - 1], px[h - 1][0], px[h - 1][w - 1]]
    if any(c != WHITE for c in corners):
        errs.append("corner not white")
    if not 0.25 <= share <= 0.40:
        errs.append("white share %.1f%%" % (share * 100))
    seen = outside_white(px, w, h)
    hole = [(x, y) for y in range(h) for x in range(w) if px[y][x] == WHITE and not seen[y][x]]
    holes = len(hole)
    info["holes"] = holes
    if holes:
        xs, ys = [p[0] for p in hole], [p[1] for p in hole]
        errs.append("%d white holes in x %d..%d y %d..%d" % (holes, min(xs), max(xs), min(ys), max(ys)))
    for rname, (x0, y0, x1, y1), need in RECTS:
        bad = [(x, y) for y in range(y0 - MARGIN, y1 + MARGIN + 1) for x in range(x0 - MARGIN, x1 + MARGIN + 1)
               if not (0 <= x < w and 0 <= y < h) or px[y][x] == WHITE]
        if bad:
            errs.append("%s: %d white/outside px, first %s" % (rname, len(bad), bad[0]))
        lum = [luma(px[y][x]) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1)]
        if need == "light":
            info[rname] = "min %d" % min(lum)
            if min(lum) < LIGHT_MIN:
                errs.append("%s too dark (min luma %d)" % (rname, min(lum)))
        elif need == "dark":
            info[rname] = "max %d" % max(lum)
            if max(lum) > DARK_MAX:
                errs.append("%s too light (max luma %d)" % (rname, max(lum)))
    return errs, info


def identify(fn):
    out = subprocess.run(["identify", "-format", "%m %w %h %k %z|", fn], capture_output=True, text=True)
    return out.stdout.strip("|").split("|")[0] if out.returncode == 0 else "unreadable"


def main():
    ok = True
    print("%-9s %-8s %-7s %-6s %-9s %-9s %-9s %s" % ("skin", "white", "holes", "", "credit", "clock", "hint", "result"))
    for name, size in list(SKINS.items()) + list(SPARE.items()):
        errs, info = check_skin(name, size, spare=name in SPARE)
        ok &= not errs
        print("%-9s %-8s %-7s %-6s %-9s %-9s %-9s %s" % (
            name, info.get("white", "?"), info.get("holes", "-"), "", info.get("credit", "-"),
            info.get("clock", "-"), info.get("hint", "-"), "ok" if not errs else "FAIL: " + "; ".join(errs)))
        fmt = identify(os.path.join(ROOT, "skins", name + ".bmp"))
        if not fmt.startswith("BMP3 %d %d" % size):
            ok = False
            print("   identify: %s" % fmt)
    expect = [("faces/on.jpg", "JPEG 38 78"), ("faces/off.jpg", "JPEG 38 78"),
              ("image1.gif", "GIF 50 50"), ("icon.ico", "ICO 32 32"), ("icon.png", "PNG 32 32")]
    for fn, want in expect:
        got = identify(os.path.join(ROOT, fn))
        good = got.startswith(want)
        if fn == "icon.ico":
            good = good and int(got.split()[3]) <= 16
        if fn == "image1.gif":
            pal = open(os.path.join(ROOT, fn), "rb").read()[10]
            size = 2 << (pal & 7) if pal & 0x80 else 0
            got += " palette=%d" % size
            good = good and size == 256
        ok &= good
        print("%-14s %-28s %s" % (fn, got, "ok" if good else "FAIL (want %s)" % want))
    print("ALL OK" if ok else "FAILURES")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
