#!/usr/bin/env python3
"""Generate the SVG sources of the main-window artwork.

One template (the device faceplate: logo well, small-button tray, nameplate,
info panel, button rail, clock display, timer panel, channel bay, indicator
socket) is dressed per skin with a palette, a silhouette and decorations.

Usage: gen_svg.py OUTDIR     writes OUTDIR/*.svg
       gen_svg.py --manifest prints "kind name width height background" lines
Only the Python standard library is used.
"""
import math
import os
import sys

FONT = "DejaVu Sans"
RIM = 3.5  # outer rim width outside the silhouette shapes, in px

# name, width, height (the skins are cut out on pure white)
SKINS = [
    ("lily", 296, 479),
    ("bird", 299, 480),
    ("acqa", 297, 479),
    ("sky", 295, 481),
    ("nature", 296, 482),
    ("gold", 294, 480),
]
# other artwork: kind, name, width, height, background for flattening
EXTRAS = [
    ("spare", "picture5", 279, 448, "#10161d"),
    ("face", "on", 38, 78, "#1a1d22"),
    ("face", "off", 38, 78, "#1a1d22"),
    ("logo", "image1", 50, 50, "#0d1a2b"),
    ("icon", "icon", 32, 32, "none"),
]

# Fixed control geometry (inclusive pixel ranges, see check.py)
LOGO = (40, 32, 90, 82)
BUTTONS = [(152, 232), (201, 232), (152, 329), (201, 329)]  # 41 x 89 each
LED = (268.5, 406.5)


# --------------------------------------------------------------- helpers
def f(v):
    """Format a number compactly."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s == "-0" else s


def pts(*p):
    return " ".join("%s,%s" % (f(x), f(y)) for x, y in p)


def rrect(x, y, w, h, r, extra=""):
    return '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" %s/>' % (
        f(x), f(y), f(w), f(h), f(r), extra)


def circle(cx, cy, r, extra=""):
    return '<circle cx="%s" cy="%s" r="%s" %s/>' % (f(cx), f(cy), f(r), extra)


def ellipse(cx, cy, rx, ry, extra=""):
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (f(cx), f(cy), f(rx), f(ry), extra)


def path(d, extra=""):
    return '<path d="%s" %s/>' % (d, extra)


def text(x, y, s, size, fill, weight="bold", anchor="middle", extra=""):
    return ('<text x="%s" y="%s" font-family="%s" font-size="%s" font-weight="%s" '
            'text-anchor="%s" fill="%s" %s>%s</text>') % (
        f(x), f(y), FONT, f(size), weight, anchor, fill, extra, s)


def engraved(x, y, s, size, dark, light, weight="bold", anchor="middle", extra=""):
    """Text pressed into the plate: a light copy one pixel lower, the dark text on top."""
    return (text(x, y + 1, s, size, light, weight, anchor, extra) +
            text(x, y, s, size, dark, weight, anchor, extra))


def petal_d(bx, by, length, width, angle, bend=0.0):
    """A pointed petal/leaf from base (bx,by) to a tip `length` away at `angle` degrees."""
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    px, py = -dy, dx
    tx, ty = bx + dx * length, by + dy * length
    tx += px * bend
    ty += py * bend
    w = width
    c1 = (bx + px * w * 0.55 + dx * length * 0.25, by + py * w * 0.55 + dy * length * 0.25)
    c2 = (tx + px * w * 0.45 - dx * length * 0.35, ty + py * w * 0.45 - dy * length * 0.35)
    c3 = (tx - px * w * 0.45 - dx * length * 0.35, ty - py * w * 0.45 - dy * length * 0.35)
    c4 = (bx - px * w * 0.55 + dx * length * 0.25, by - py * w * 0.55 + dy * length * 0.25)
    return "M%s C%s %s %s C%s %s %s Z" % (
        pts((bx, by)), pts(c1), pts(c2), pts((tx, ty)), pts(c3), pts(c4), pts((bx, by)))


def vein_d(bx, by, length, angle, bend=0.0, frac=0.85):
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    px, py = -dy, dx
    tx, ty = bx + dx * length * frac + px * bend * frac, by + dy * length * frac + py * bend * frac
    mx, my = bx + dx * length * 0.5 + px * bend * 0.3, by + dy * length * 0.5 + py * bend * 0.3
    return "M%s Q%s %s" % (pts((bx, by)), pts((mx, my)), pts((tx, ty)))


def wave_d(x0, x1, y, amp, period, phase=0.0, down=True, depth=None):
    """A closed band whose top edge is a wave, going `depth` down from y."""
    n = max(8, int((x1 - x0) / 2))
    p = []
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i / n
        p.append((x, y + amp * math.sin(2 * math.pi * (x - x0) / period + phase)))
    d = "M" + " L".join(pts(q) for q in p)
    depth = 40 if depth is None else depth
    d += " L%s L%s Z" % (pts((x1, y + depth)), pts((x0, y + depth)))
    return d


def wavy_line_d(x0, x1, y, amp, period, phase=0.0):
    n = max(8, int((x1 - x0) / 2))
    p = []
    for i in range(n + 1):
        x = x0 + (x1 - x0) * i / n
        p.append((x, y + amp * math.sin(2 * math.pi * (x - x0) / period + phase)))
    return "M" + " L".join(pts(q) for q in p)


def scallop_d(x0, x1, y, n, depth, up=False):
    """A row of n round bumps (circles' lower halves) along y between x0 and x1, closed above."""
    w = (x1 - x0) / n
    r = w / 2
    s = -1 if up else 1
    d = "M%s" % pts((x0, y - s * 1))
    d += " L%s" % pts((x0, y))
    for i in range(n):
        d += " A%s %s 0 0 %d %s" % (f(r), f(depth), 0 if up else 0, pts((x0 + w * (i + 1), y)))
    d += " L%s Z" % pts((x1, y - s * 1))
    return d


def star_d(cx, cy, r1, r2, n, rot=-90):
    p = []
    for i in range(2 * n):
        r = r1 if i % 2 == 0 else r2
        a = math.radians(rot + i * 180 / n)
        p.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return "M" + " L".join(pts(q) for q in p) + " Z"


def chamfer_d(x, y, w, h, c):
    return "M%s L%s L%s L%s L%s L%s L%s L%s Z" % (
        pts((x + c, y)), pts((x + w - c, y)), pts((x + w, y + c)), pts((x + w, y + h - c)),
        pts((x + w - c, y + h)), pts((x + c, y + h)), pts((x, y + h - c)), pts((x, y + c)))


def bird_d(cx, cy, s, flip=False):
    """A small gliding bird (two curved wings)."""
    k = -1 if flip else 1
    return ("M%s Q%s %s Q%s %s Q%s %s Q%s %s Z" % (
        pts((cx - 10 * s * k, cy - 2 * s)), pts((cx - 5 * s * k, cy - 6 * s)), pts((cx, cy)),
        pts((cx + 5 * s * k, cy - 6 * s)), pts((cx + 10 * s * k, cy - 2 * s)),
        pts((cx + 5 * s * k, cy - 4 * s)), pts((cx, cy + 1.6 * s)),
        pts((cx - 5 * s * k, cy - 4 * s)), pts((cx - 10 * s * k, cy - 2 * s))))


def flower(cx, cy, r, petal, centre, n=5, rot=-90, edge="none", ew=0.8):
    out = []
    for i in range(n):
        a = rot + i * 360 / n
        out.append(path(petal_d(cx, cy, r, r * 0.95, a),
                        'fill="%s" stroke="%s" stroke-width="%s"' % (petal, edge, f(ew))))
    out.append(circle(cx, cy, r * 0.28, 'fill="%s"' % centre))
    return "".join(out)


def grad(id_, stops, x1=0, y1=0, x2=0, y2=1, units="objectBoundingBox"):
    s = "".join('<stop offset="%s" stop-color="%s"%s/>' % (
        f(o), c, (' stop-opacity="%s"' % f(a)) if a is not None else "")
        for o, c, a in [(st + (None,))[:3] for st in stops])
    return ('<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s" gradientUnits="%s">%s'
            '</linearGradient>') % (id_, f(x1), f(y1), f(x2), f(y2), units, s)


def rgrad(id_, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, units="objectBoundingBox"):
    s = "".join('<stop offset="%s" stop-color="%s"%s/>' % (
        f(o), c, (' stop-opacity="%s"' % f(a)) if a is not None else "")
        for o, c, a in [(st + (None,))[:3] for st in stops])
    fx = cx if fx is None else fx
    fy = cy if fy is None else fy
    return ('<radialGradient id="%s" cx="%s" cy="%s" r="%s" fx="%s" fy="%s" gradientUnits="%s">%s'
            '</radialGradient>') % (id_, f(cx), f(cy), f(r), f(fx), f(fy), units, s)


def svg_doc(W, H, defs, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- Generated by gen_svg.py: edit that script, not this file. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="%d" height="%d" viewBox="0 0 %d %d">\n<defs>\n%s\n</defs>\n%s\n</svg>\n') % (
        W, H, W, H, "\n".join(defs), "\n".join(body))


# --------------------------------------------------------------- faceplate template
def screen_d(k=0.0):
    """Outline of the light screen: info panel x 92..291 y 60..143 joined to the
    rail x 35..271 y 115..159; k insets the outline (for the inner bevel line)."""
    r = 6 - k
    L, T, R, B1 = 92 + k, 60 + k, 292.5 - k, 143 - k   # info panel
    RL, RT, RR, RB = 35 + k, 115 + k, 271 - k, 159 - k  # rail
    q = 8 + k  # concave corner radius
    return ("M{a},{T} H{b} A{r},{r} 0 0 1 {R},{c} V{d} A{r},{r} 0 0 1 {e},{B1} H{g} "
            "A{q},{q} 0 0 0 {RR},{h} V{i} A{r},{r} 0 0 1 {j},{RB} H{l} A{r},{r} 0 0 1 {RL},{m} "
            "V{n} A{r},{r} 0 0 1 {o},{RT} H{p} A{q},{q} 0 0 0 {L},{s} V{t} A{r},{r} 0 0 1 {a},{T} Z").format(
        a=f(L + r), T=f(T), b=f(R - r), r=f(r), R=f(R), c=f(T + r), d=f(B1 - r), e=f(R - r), B1=f(B1),
        g=f(RR + q), q=f(q), RR=f(RR), h=f(B1 + q), i=f(RB - r), j=f(RR - r), RB=f(RB), l=f(RL + r),
        RL=f(RL), m=f(RB - r), n=f(RT + r), o=f(RL + r), RT=f(RT), p=f(L - q), s=f(RT - q), t=f(T + r),
        L=f(L))


def fillet(x, y, rx, ry):
    """Fill the concave corner at (x, y) between an edge running ry along y and one
    running rx along x (signed), with a rounded (quadratic) outline."""
    return path("M%s Q%s %s L%s Z" % (pts((x, y + ry)), pts((x, y)), pts((x + rx, y)), pts((x, y))))


def base_shapes(W, H, header_r=16, deck_r=16, deck_bottom=442, top=26, left=31,
                waist=(80, 226), deck_right=252, pod=True, pod_r=16, fillets=True):
    """The core silhouette: header plate, waist (clock), lower deck narrowed to the
    channel bay, and a pod on its lower right for the indicator socket."""
    xr = min(W, 298) - RIM
    s = [
        rrect(left, top, xr - left, 163 - top, header_r),
        rrect(waist[0], 150, waist[1] - waist[0], 232 - 150, 6),
        rrect(45, 219, deck_right - 45, deck_bottom - 219, deck_r),
    ]
    if pod:
        s.append(rrect(226, 380, 284 - 226, deck_bottom - 380, pod_r))
    if fillets:
        s.append(fillet(waist[0], 163, -8, 8))
        s += [fillet(waist[0], 219, -8, -8), fillet(waist[1], 163, 8, 8)]
        if deck_right < waist[1]:
            s.append(fillet(deck_right, 232, 8, 8))
        else:
            s.append(fillet(waist[1], 219, 8, -8))
        if pod:
            s.append(fillet(deck_right, 380, 10, -10))
    return s


def faceplate(W, H, P, shapes, under=(), over=(), outside=(), extra_defs=(), bevel=1.2,
              body_pattern=None, emblem_clip=True):
    """Assemble a skin.

    shapes   silhouette pieces (no fill attributes: they inherit)
    under    decoration on the body, clipped to the silhouette, below the panels
    over     decoration drawn last (above the panels), clipped to the silhouette
    outside  pieces drawn before the rim (behind everything), not clipped
    P        palette dict
    """
    xr = min(W, 298) - RIM
    defs = list(extra_defs)
    defs.append('<g id="sil">%s</g>' % "".join(shapes))
    # a mask, not a clipPath: rsvg merges clip children into one path, so overlapping
    # pieces of opposite winding would cancel out
    defs.append('<mask id="clip" maskUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">'
                '<use xlink:href="#sil" fill="#ffffff"/></mask>' % (W, H))
    bv = P.get("body_vec", (0, 0, W * 0.35, H))
    defs.append(grad("body", P["body"], bv[0], bv[1], bv[2], bv[3], "userSpaceOnUse"))
    defs.append(rgrad("sheen", [(0, "#ffffff", P.get("sheen", 0.35)), (1, "#ffffff", 0)],
                      W * 0.3, H * 0.12, W * 0.75, units="userSpaceOnUse"))
    defs.append(grad("panel", P["panel"]))
    defs.append(grad("rail", P["rail"]))
    defs.append(grad("inset", [(0, "#000000", 0.45), (0.5, "#000000", 0.08), (1, "#ffffff", 0.6)]))
    defs.append(grad("insetd", [(0, "#000000", 0.7), (0.6, "#000000", 0.2), (1, "#ffffff", 0.35)]))
    defs.append(grad("disp", P["display"]))
    defs.append(grad("bezel", P["bezel"]))
    defs.append(grad("bay", P["bay"]))
    defs.append(grad("tray", P["tray"]))
    defs.append(grad("gloss", [(0, "#ffffff", 0.16), (0.45, "#ffffff", 0.04), (0.5, "#ffffff", 0)]))
    defs.append(rgrad("ledring", [(0, P["bezel"][-1][1]), (0.72, P["bezel"][-1][1]),
                                  (0.78, P["bezel"][0][1]), (1, P["rim"])]))
    defs.append('<filter id="soft" x="-20%" y="-20%" width="140%" height="140%">'
                '<feGaussianBlur stdDeviation="1.6"/></filter>')
    defs.append('<filter id="blur3" x="-30%" y="-30%" width="160%" height="160%">'
                '<feGaussianBlur stdDeviation="3"/></filter>')
    if body_pattern:
        defs.append(body_pattern)

    b = []
    b.extend(outside)
    # rim, bevel light/shade, body
    b.append('<use xlink:href="#sil" fill="%s" stroke="%s" stroke-width="%s" '
             'stroke-linejoin="round"/>' % (P["rim"], P["rim"], f(RIM * 2)))
    b.append('<use xlink:href="#sil" transform="translate(%s,%s)" fill="%s" stroke="%s" '
             'stroke-width="1.6" stroke-linejoin="round"/>' % (f(bevel), f(bevel), P["shade"], P["shade"]))
    b.append('<use xlink:href="#sil" transform="translate(%s,%s)" fill="%s" stroke="%s" '
             'stroke-width="1.6" stroke-linejoin="round"/>' % (f(-bevel), f(-bevel), P["hl"], P["hl"]))
    b.append('<use xlink:href="#sil" fill="url(#body)"/>')
    b.append('<g mask="url(#clip)">')
    if body_pattern:
        b.append('<rect x="0" y="0" width="%d" height="%d" fill="url(#bodypat)"/>' % (W, H))
    b.append('<rect x="0" y="0" width="%d" height="%d" fill="url(#sheen)"/>' % (W, H))
    b.extend(under)

    def inset(x, y, w, h, r, fill, dark=False, shadow=True):
        s = []
        if shadow:  # soft drop shadow around the recess: reads as a cut into the plate
            s.append(rrect(x - 0.5, y - 0.5, w + 1, h + 1, r + 0.5,
                           'fill="%s" opacity="0.35" filter="url(#soft)"' % P["rim"]))
        s.append(rrect(x, y, w, h, r, 'fill="%s"' % fill))
        s.append(rrect(x + 0.6, y + 0.6, w - 1.2, h - 1.2, r - 0.6,
                       'fill="none" stroke="url(#%s)" stroke-width="1.2"' % ("insetd" if dark else "inset")))
        return "".join(s)

    # -- one light "screen": info panel (credit label, blue text, x 96..290 y 64..137)
    #    merged with the button rail (buttons x 40..265 y 120..153)
    b.append(path(screen_d(), 'fill="%s" opacity="0.4" filter="url(#soft)"' % P["rim"]))
    b.append(path(screen_d(), 'fill="url(#panel)"'))
    b.append(rrect(37, 117, 232, 40, 7, 'fill="url(#rail)"'))
    b.append(path(screen_d(0.6), 'fill="none" stroke="url(#inset)" stroke-width="1.2"'))
    # -- logo well (logo 40..90 x 32..82)
    b.append(rrect(34, 26, 63, 63, 9, 'fill="%s" opacity="0.45" filter="url(#soft)"' % P["rim"]))
    b.append(rrect(35, 27, 61, 61, 9, 'fill="url(#bezel)"'))
    b.append(rrect(37.5, 29.5, 56, 56, 6.5, 'fill="%s"' % P["well"]))
    b.append(rrect(38, 30, 55, 55, 6, 'fill="none" stroke="url(#insetd)" stroke-width="1"'))
    # -- small-button tray (176..273 x 32..57)
    b.append(inset(172, 28, 106, 33, 8, "url(#tray)", dark=True))
    # -- nameplate between logo and tray
    b.append(rrect(100, 31, 68, 25, 5, 'fill="%s" opacity="%s"' % (P["plate"], f(P.get("plate_op", 0.55)))))
    b.append(rrect(100.5, 31.5, 67, 24, 4.5, 'fill="none" stroke="%s" stroke-width="1" opacity="0.6"' % P["engrave"]))
    b.append(engraved(134, 42.5, "QUORVALE", 9.2, P["engrave"], P["engrave_l"],
                      extra='letter-spacing="0.6"'))
    b.append(engraved(134, 52, "KAVO H1.10xp", 6.6, P["engrave"], P["engrave_l"], weight="normal",
                      extra='letter-spacing="0.5"'))
    # -- clock display (96..209 x 168..193) dark, white text
    b.append(rrect(87, 160, 132, 43, 9, 'fill="%s" opacity="0.5" filter="url(#soft)"' % P["rim"]))
    b.append(rrect(88, 161, 130, 41, 8, 'fill="url(#bezel)"'))
    b.append(rrect(91, 164, 124, 35, 5, 'fill="url(#disp)"'))
    b.append(rrect(91.5, 164.5, 123, 34, 4.5, 'fill="none" stroke="url(#insetd)" stroke-width="1"'))
    b.append(rrect(92, 165, 122, 33, 4, 'fill="url(#gloss)"'))
    # -- timer panel (light): boxes 56..137 x 232..323, hint 56..145 x 328..433
    b.append(inset(50, 226, 97, 213, 8, "url(#panel)"))
    if P.get("timer_mark"):
        b.append(P["timer_mark"])
    # -- channel bay with four slots
    b.append(inset(148, 227, 98, 195, 8, "url(#bay)", dark=True))
    for (x, y) in BUTTONS:
        b.append(rrect(x - 1.5, y - 1.5, 44, 92, 4, 'fill="%s"' % P["slot"]))
        b.append(rrect(x - 1, y - 1, 43, 91, 3.5, 'fill="none" stroke="url(#insetd)" stroke-width="1"'))
    # -- indicator socket (dot 262..274 x 400..412)
    cx, cy = LED
    b.append(circle(cx + 0.6, cy + 0.8, 11.5, 'fill="%s" opacity="0.45" filter="url(#soft)"' % P["rim"]))
    b.append(circle(cx, cy, 11, 'fill="url(#bezel)"'))
    b.append(circle(cx, cy, 8.2, 'fill="%s"' % P["well"]))
    b.append(circle(cx, cy, 8.2, 'fill="none" stroke="url(#insetd)" stroke-width="1"'))
    b.append(engraved(cx, cy - 15, "LPT", 6.5, P["engrave"], P["engrave_l"]))
    b.extend(over)
    b.append('</g>')
    return svg_doc(W, H, defs, b)


# --------------------------------------------------------------- skins
def common_palette(**kw):
    P = dict(
        panel=[(0, "#fbfcfd"), (1, "#eef1f4")],
        rail=[(0, "#e9edf1"), (1, "#dde3e8")],
        display=[(0, "#1b2230"), (1, "#0b0f16")],
        bezel=[(0, "#f4f6f8"), (0.5, "#a9b1ba"), (1, "#5d6670")],
        tray=[(0, "#2a2f36"), (1, "#3b424b")],
        well="#1b1f25",
        slot="#15181c",
        plate="#ffffff",
        sheen=0.3,
    )
    P.update(kw)
    return P


def skin_lily(W, H):
    """Stargazer lily: rose-pink pearl plate, plum rim, a blossom by the clock, petals below."""
    P = common_palette(
        rim="#4a1030", shade="#7d2250", hl="#fde3ee",
        body=[(0, "#f9d3e2"), (0.35, "#eea3c1"), (0.75, "#d86b99"), (1, "#b9477a")],
        panel=[(0, "#fffafc"), (1, "#fbeef3")],
        rail=[(0, "#f6e4ec"), (1, "#efd6e1")],
        display=[(0, "#3d1128"), (1, "#1c0512")],
        bezel=[(0, "#fff3f8"), (0.5, "#d8aabd"), (1, "#8e4a69")],
        tray=[(0, "#4a1631"), (1, "#6a2447")],
        bay=[(0, "#8c2f5c"), (1, "#6d1f46")],
        well="#2d0a1c", slot="#2b0719", plate="#fff6fa", engrave="#6d1f46", engrave_l="#ffe8f1",
    )
    stem, leaf, leaf_d = "#4f8a3a", "#6fae4d", "#2f5e22"
    shapes = base_shapes(W, H, header_r=22, deck_r=22, deck_bottom=440, waist=(80, 240))
    bc = (256, 192)  # blossom centre
    blossom = [petal_d(bc[0], bc[1], 39, 30, -90 + 30 + i * 60) for i in range(6)]
    shapes += [path(d) for d in blossom]
    # three broad petals under the deck (side ones first, curling outwards)
    fan = [(136, 408, 64, 44, 136, 8), (196, 408, 64, 44, 44, -8), (166, 376, 98, 62, 90, 0)]
    fan_d = [petal_d(x, y, l, w, a, bend=bd) for x, y, l, w, a, bd in fan]
    shapes += [path(d) for d in fan_d]
    leaf1 = petal_d(62, 236, 62, 30, -128, bend=-8)
    shapes.append(path(leaf1))
    shapes.append(path(petal_d(262, 384, 26, 16, -100, bend=2)))
    shapes.append(path(petal_d(258, 386, 20, 9, -150)))

    pat = ('<pattern id="bodypat" width="14" height="14" patternUnits="userSpaceOnUse" '
           'patternTransform="rotate(35)"><path d="M0 7 Q3.5 3 7 7 T14 7" fill="none" '
           'stroke="#ffffff" stroke-opacity="0.13" stroke-width="1"/></pattern>')
    defs = [
        rgrad("petal", [(0, "#fff7fb"), (0.35, "#fff0f6"), (0.75, "#f7b9d2"), (1, "#d2578c")],
              0.5, 0.5, 0.5),
        grad("leafg", [(0, leaf), (1, leaf_d)]),
        rgrad("fanp", [(0, "#e77aa7"), (0.45, "#f6c3d8"), (0.8, "#fff0f6"), (1, "#fde7f0")],
              0.5, 0.0, 1.0),
    ]
    under = []
    # skirt of petals behind the deck (only the tips show)
    for (x, y, l, w, a, bd), d in zip(fan, fan_d):
        under.append(path(d, 'fill="url(#fanp)" stroke="#b9477a" stroke-width="1"'))
        under.append(path(petal_d(x, y, l * 0.8, w * 0.35, a, bend=bd * 0.8), 'fill="#e0588f" opacity="0.5"'))
        under.append(path(vein_d(x, y, l, a, bd, frac=0.95), 'fill="none" stroke="#9c2457" stroke-width="0.9" opacity="0.6"'))
        ar = math.radians(a)
        for k, sd in ((0.62, -7), (0.7, 6), (0.78, -4), (0.84, 3)):
            px_, py_ = -math.sin(ar), math.cos(ar)
            under.append(circle(x + math.cos(ar) * l * k + px_ * sd + px_ * bd * k * k,
                                y + math.sin(ar) * l * k + py_ * sd + py_ * bd * k * k, 1.1,
                                'fill="#8e1c4c" opacity="0.7"'))
    # the leaf
    under.append(path(leaf1, 'fill="url(#leafg)" stroke="%s" stroke-width="1"' % leaf_d))
    under.append(path(vein_d(62, 236, 62, -128, bend=-8), 'fill="none" stroke="#b9e29c" stroke-width="1" opacity="0.8"'))
    # the blossom
    for i, d in enumerate(blossom):
        a = -90 + 30 + i * 60
        under.append(path(d, 'fill="url(#petal)" stroke="#b9477a" stroke-width="1"'))
        under.append(path(petal_d(bc[0], bc[1], 30, 12, a), 'fill="#e0588f" opacity="0.55"'))
        under.append(path(vein_d(bc[0], bc[1], 39, a), 'fill="none" stroke="#9c2457" stroke-width="0.8" opacity="0.6"'))
        for k, s in ((0.42, -9), (0.55, 9), (0.5, -4)):
            a2 = math.radians(a + s)
            under.append(circle(bc[0] + math.cos(a2) * 39 * k, bc[1] + math.sin(a2) * 39 * k, 1.0,
                                'fill="#8e1c4c" opacity="0.75"'))
    for i in range(6):  # stamens
        a = math.radians(-75 + i * 30)
        x2, y2 = bc[0] + math.cos(a) * 19, bc[1] + math.sin(a) * 19
        under.append(path("M%s Q%s %s" % (pts(bc), pts((bc[0] + math.cos(a) * 10 + 2, bc[1] + math.sin(a) * 10)),
                                          pts((x2, y2))), 'fill="none" stroke="#7a8c3a" stroke-width="1"'))
        under.append(ellipse(x2, y2, 2.4, 1.3, 'fill="#b5561e" transform="rotate(%s %s %s)"' % (
            f(math.degrees(a) + 90), f(x2), f(y2))))
    under.append(circle(bc[0], bc[1], 4, 'fill="#c6d86a"'))
    # a bud on the pod
    bud = petal_d(262, 384, 26, 16, -100, bend=2)
    under.append(path(bud, 'fill="#f3b3cd" stroke="#b9477a" stroke-width="1"'))
    under.append(path(petal_d(262, 384, 20, 6, -100, bend=2), 'fill="#e0588f" opacity="0.6"'))
    under.append(path(petal_d(258, 386, 20, 9, -150), 'fill="url(#leafg)" stroke="%s" stroke-width="0.8"' % leaf_d))
    # a small lily below the logo
    lc = (63, 102)
    for i in range(6):
        under.append(path(petal_d(lc[0], lc[1], 11, 8, -90 + i * 60), 'fill="#fbe3ed" stroke="#b9477a" stroke-width="0.7"'))
    under.append(circle(lc[0], lc[1], 2, 'fill="#c6d86a"'))
    P["timer_mark"] = "".join(
        path(petal_d(98, 384, 34, 26, -90 + 30 + i * 60), 'fill="#e38bb0" opacity="0.10"') for i in range(6))
    return P, shapes, under, [], defs, pat


def feather(bx, by, length, width, angle, fill, edge, barb, ew=0.9, bend=0.0):
    d = petal_d(bx, by, length, width, angle, bend)
    s = path(d, 'fill="%s" stroke="%s" stroke-width="%s"' % (fill, edge, f(ew)))
    s += path(vein_d(bx, by, length, angle, bend, 0.92), 'fill="none" stroke="%s" stroke-width="0.9"' % barb)
    # a few barb lines
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    px, py = -dy, dx
    for k in (0.35, 0.55, 0.75):
        mx, my = bx + dx * length * k + px * bend * k, by + dy * length * k + py * bend * k
        for sgn in (1, -1):
            w = width * 0.32 * (1.1 - k)
            s += path("M%s L%s" % (pts((mx, my)), pts((mx + px * w * sgn + dx * 4, my + py * w * sgn + dy * 4))),
                      'fill="none" stroke="%s" stroke-width="0.6" opacity="0.7"' % barb)
    return d, s


def skin_bird(W, H):
    """Kingfisher: teal-blue plumage plate, orange breast accents, a wing over the top,
    the bird flying out beside the clock, tail feathers below."""
    P = common_palette(
        rim="#062536", shade="#0c3d55", hl="#c9f2ff",
        body=[(0, "#6fd3ec"), (0.4, "#2aa3c8"), (0.8, "#16739a"), (1, "#0f5878")],
        panel=[(0, "#fbfeff"), (1, "#eaf5f9")],
        rail=[(0, "#e3f1f6"), (1, "#d3e7ee")],
        display=[(0, "#0f2a3a"), (1, "#051420")],
        bezel=[(0, "#fff1e0"), (0.5, "#f5a65a"), (1, "#a8520f")],
        tray=[(0, "#0a2c40"), (1, "#134560")],
        bay=[(0, "#0f4d69"), (1, "#0a3a52")],
        well="#061b28", slot="#041520", plate="#e9f8fd", engrave="#0b3b52", engrave_l="#bfeaf7",
    )
    orange_d = "#b4531a"
    shapes = base_shapes(W, H, header_r=18, deck_r=18, deck_bottom=441, waist=(80, 226))
    under = []
    # a long flight feather lying along the top edge
    plume = (96, 25, 194, 30, -5.2, -3)
    shapes.append(path(petal_d(*plume)))
    # tail: feathers fanning out under the deck, left of the pod
    tail = [(196, 420, 48, 18, 80), (208, 420, 52, 18, 66), (218, 416, 50, 18, 52)]
    for fth in tail:
        shapes.append(path(petal_d(*fth)))
    # the kingfisher flying out of the plate beside the clock (wing tips inside the waist)
    kb = (246, 191)
    bird_parts = {
        "uwing": "M258,186 C248,171 236,163 214,160 C228,172 236,182 240,188 Z",
        "lwing": "M258,196 C248,211 236,219 214,222 C228,210 236,200 240,194 Z",
        "beak": "M272,186.5 L291,190 L272,194 Z",
    }
    shapes.append(ellipse(kb[0], kb[1], 22, 8.5))
    shapes.append(circle(268, 190, 8.5))
    shapes += [path(d) for d in bird_parts.values()]
    pat = ('<pattern id="bodypat" width="12" height="10" patternUnits="userSpaceOnUse">'
           '<path d="M0 10 Q6 2 12 10" fill="none" stroke="#ffffff" stroke-opacity="0.12" stroke-width="1"/>'
           '<path d="M-6 5 Q0 -3 6 5 M6 5 Q12 -3 18 5" fill="none" stroke="#ffffff" stroke-opacity="0.07" stroke-width="1"/>'
           '</pattern>')
    defs = [grad("feat", [(0, "#8fe6f7"), (1, "#1b86ad")]),
            grad("featd", [(0, "#2ea3c9"), (1, "#0f5878")]),
            grad("breast", [(0, "#ffc27a"), (1, "#e06a12")]),
            grad("kback", [(0, "#4fd0f0"), (1, "#0e7fae")]),
            grad("plume", [(0, "#b5f1fb"), (0.5, "#49c2e4"), (1, "#127aa3")])]
    under.append(feather(*plume[:5], fill="url(#plume)", edge="#0c4a66", barb="#0c4a66", ew=1, bend=plume[5])[1])
    pa = math.radians(plume[4])
    for k in [0.12 + i * 0.065 for i in range(13)]:  # barbs
        mx, my = plume[0] + math.cos(pa) * plume[2] * k, plume[1] + math.sin(pa) * plume[2] * k
        for sg in (1, -1):
            w = 9.5 * (1 - abs(k - 0.45) * 0.9)
            under.append(path("M%s Q%s %s" % (pts((mx, my)), pts((mx + 4, my + sg * w * 0.6)), pts((mx + 9, my + sg * w))),
                              'fill="none" stroke="#0c4a66" stroke-width="0.6" opacity="0.55"'))
    under.append(path(vein_d(plume[0], plume[1], plume[2], plume[4], plume[5], 0.96),
                      'fill="none" stroke="#f7fbff" stroke-width="1.1" opacity="0.8"'))
    for fth in tail:
        under.append(feather(*fth, fill="url(#featd)", edge="#062536", barb="#7fd6ef")[1])
    # the kingfisher
    under.append(path(bird_parts["uwing"], 'fill="url(#kback)" stroke="#062536" stroke-width="0.9"'))
    under.append(path(bird_parts["lwing"], 'fill="url(#kback)" stroke="#062536" stroke-width="0.9"'))
    for k in (0.35, 0.6):
        under.append(path("M%s L%s" % (pts((250 - 30 * k, 185 - 22 * k)), pts((246 - 30 * k, 180 - 18 * k))),
                          'stroke="#062536" stroke-width="0.7" opacity="0.6"'))
    under.append(ellipse(kb[0], kb[1], 22, 8.5, 'fill="url(#breast)" stroke="#5a2a08" stroke-width="0.9"'))
    under.append(path("M226,188 C240,183 256,183 266,186 C256,188 240,190 226,191 Z", 'fill="#1a9cc8"'))
    under.append(circle(268, 190, 8.5, 'fill="#1a9cc8" stroke="#062536" stroke-width="0.9"'))
    under.append(ellipse(267, 194, 4.5, 2.6, 'fill="#f38a2a"'))
    under.append(ellipse(264, 191.5, 2.4, 1.6, 'fill="#f7fbff"'))
    under.append(path(bird_parts["beak"], 'fill="#1d1d1d" stroke="#000" stroke-width="0.6"'))
    under.append(circle(271, 188, 1.7, 'fill="#0a0a0a"'))
    under.append(circle(271.6, 187.4, 0.6, 'fill="#ffffff"'))
    # small birds on the pod
    under.append(path(bird_d(246, 392, 0.6), 'fill="#062536" opacity="0.45"'))
    under.append(circle(64, 102, 9, 'fill="url(#breast)" stroke="%s" stroke-width="0.8"' % orange_d))
    under.append(path(bird_d(64, 103, 0.65), 'fill="#062536"'))
    P["timer_mark"] = path(bird_d(98, 392, 3.2), 'fill="#1b86ad" opacity="0.08"')
    return P, shapes, under, [], defs, pat


def skin_acqa(W, H):
    """Water: glassy aqua plate, a drop on top, dripping and bubbling edges, waves below."""
    P = common_palette(
        rim="#04344d", shade="#075a7a", hl="#dcfbff",
        body=[(0, "#b9f3f6"), (0.3, "#62d3e2"), (0.7, "#1fa3c2"), (1, "#0b6f96")],
        panel=[(0, "#fbffff"), (1, "#e8f7fa")],
        rail=[(0, "#e1f4f8"), (1, "#cfebf2")],
        display=[(0, "#06324a"), (1, "#021826")],
        bezel=[(0, "#f2ffff"), (0.5, "#8fd7e6"), (1, "#2a7c98")],
        tray=[(0, "#05324a"), (1, "#0b4d6a")],
        bay=[(0, "#0d6f92"), (1, "#08506e")],
        well="#031c2b", slot="#021521", plate="#effcff", engrave="#064a66", engrave_l="#d7fbff",
    )
    shapes = base_shapes(W, H, header_r=20, deck_r=20, deck_bottom=432, waist=(80, 240))
    # drop on top of the nameplate
    drop = "M134,4 C138,14 150,22 150,32 A16,16 0 0 1 118,32 C118,22 130,14 134,4 Z"
    shapes.append(path(drop))
    # drips hanging from the header's lower left edge
    drips = []
    for x, ln, w in ((44, 28, 11), (62, 42, 14)):
        drips.append("M%s C%s %s %s A%s,%s 0 1 1 %s C%s %s %s Z" % (
            pts((x - w, 158)), pts((x - w * 0.25, 162)), pts((x - w * 0.45, 163 + ln * 0.5)),
            pts((x - w * 0.45, 163 + ln - w * 0.45)), f(w * 0.45), f(w * 0.45),
            pts((x + w * 0.45, 163 + ln - w * 0.45)), pts((x + w * 0.45, 163 + ln * 0.5)),
            pts((x + w * 0.25, 162)), pts((x + w, 158))))
    shapes += [path(d) for d in drips]
    # bubbles on the right of the clock
    bubbles = [(258, 190, 21), (282, 172, 9), (278, 211, 8)]
    # and a string of bubbles rising from the pod
    rising = [(268, 373, 7), (259, 359, 5), (265, 346, 3.5)]
    shapes += [circle(*b) for b in bubbles + rising]
    # waves under the deck
    wave = wave_d(45, 284, 446, 6, 48, 0.6, depth=-30)
    shapes.append(path(wave))
    pat = ('<pattern id="bodypat" width="40" height="16" patternUnits="userSpaceOnUse">'
           '<path d="M0 8 Q10 2 20 8 T40 8" fill="none" stroke="#ffffff" stroke-opacity="0.16" stroke-width="1.1"/>'
           '</pattern>')
    defs = [rgrad("bub", [(0, "#ffffff", 0.0), (0.7, "#dffcff", 0.15), (0.93, "#ffffff", 0.7), (1, "#ffffff", 0.9)],
                  0.5, 0.5, 0.5),
            rgrad("dropg", [(0, "#f4ffff"), (0.6, "#7fe0ee"), (1, "#1a95b8")], 0.4, 0.65, 0.6),
            grad("sea", [(0, "#1fa3c2"), (1, "#075a7a")])]
    under = []
    # deeper water at the bottom, foam line
    under.append(path(wave_d(45, 284, 412, 5, 48, 2.2, depth=40), 'fill="#0a6388" opacity="0.55"'))
    under.append(path(wavy_line_d(45, 284, 412, 5, 48, 2.2), 'fill="none" stroke="#c9f6ff" stroke-width="1.2" opacity="0.6"'))
    under.append(path(wave_d(45, 284, 428, 6, 48, 0.6, depth=30), 'fill="url(#sea)"'))
    under.append(path(wavy_line_d(45, 284, 428, 6, 48, 0.6), 'fill="none" stroke="#e8fdff" stroke-width="1.4" opacity="0.85"'))
    # the drop
    under.append(path(drop, 'fill="url(#dropg)"'))
    under.append(ellipse(127, 30, 3, 6, 'fill="#ffffff" opacity="0.8" transform="rotate(20 127 30)"'))
    for d in drips:
        under.append(path(d, 'fill="url(#dropg)"'))
    under.append(ellipse(63, 196, 2, 4, 'fill="#ffffff" opacity="0.8"'))
    under.append(ellipse(44, 182, 1.5, 3, 'fill="#ffffff" opacity="0.8"'))
    # bubbles (gloss rings) and a column of rising bubbles in the right strip
    for (x, y, r) in bubbles + rising + [(63, 101, 8), (76, 107, 3.5)]:
        under.append(circle(x, y, r, 'fill="url(#bub)" stroke="#eaffff" stroke-width="0.8" stroke-opacity="0.8"'))
        under.append(ellipse(x - r * 0.35, y - r * 0.4, r * 0.28, r * 0.16,
                             'fill="#ffffff" opacity="0.85" transform="rotate(-35 %s %s)"' % (f(x - r * 0.35), f(y - r * 0.4))))
    P["timer_mark"] = path(wave_d(52, 146, 405, 4, 32, 0, depth=32), 'fill="#1fa3c2" opacity="0.08"')
    return P, shapes, under, [], defs, pat


def cloud_d(cx, cy, s):
    """A puffy cloud: bumps on top, a flat-ish bottom."""
    return ("M%s A%s,%s 0 0 1 %s A%s,%s 0 0 1 %s A%s,%s 0 0 1 %s A%s,%s 0 0 1 %s Z" % (
        pts((cx - 22 * s, cy + 6 * s)), f(8 * s), f(8 * s), pts((cx - 12 * s, cy - 4 * s)),
        f(11 * s), f(11 * s), pts((cx + 6 * s, cy - 8 * s)), f(9 * s), f(9 * s),
        pts((cx + 18 * s, cy)), f(6 * s), f(6 * s), pts((cx + 22 * s, cy + 6 * s))))


def skin_sky(W, H):
    """Sea beach under a big sky: sky-blue upper plate with clouds, sun setting on the sea
    behind the clock, sandy lower deck with a parasol and a starfish."""
    P = common_palette(
        rim="#15405e", shade="#1f5a80", hl="#eaf8ff",
        body=[(0, "#4aa8e0"), (0.25, "#8fd0f4"), (0.39, "#d3effc"), (0.395, "#2a8fc0"),
              (0.455, "#5fc4d8"), (0.46, "#f3e3b8"), (0.7, "#ead09a"), (1, "#d2ac6a")],
        body_vec=(0, 0, 0, H),
        panel=[(0, "#fbfdff"), (1, "#edf6fb")],
        rail=[(0, "#e4f1f8"), (1, "#d4e8f3")],
        display=[(0, "#123a58"), (1, "#061a2a")],
        bezel=[(0, "#ffffff"), (0.5, "#bcd3e0"), (1, "#5b7a90")],
        tray=[(0, "#17466a"), (1, "#22608c")],
        bay=[(0, "#b98d4f"), (1, "#9a6f36")],
        well="#0b2438", slot="#3b2a14", plate="#f2faff", engrave="#15405e", engrave_l="#e6f6ff",
    )
    shapes = base_shapes(W, H, header_r=18, deck_r=18, deck_bottom=440, waist=(80, 226))
    clouds_top = [(62, 22, 1.05), (226, 20, 1.2)]
    clouds_side = [(54, 186, 1.2)]
    for c in clouds_top + clouds_side:
        shapes.append(path(cloud_d(*c)))
    sun = (255, 206, 27)
    shapes.append(circle(*sun))
    star = star_d(238, 452, 24, 10, 5, -80)
    shapes.append(path(star))
    shell = (96, 446)
    shell_d = "M%s C%s %s %s C%s %s %s Z" % (pts((shell[0] - 20, shell[1] - 6)), pts((shell[0] - 22, shell[1] + 14)),
                                            pts((shell[0] - 8, shell[1] + 22)), pts((shell[0], shell[1] + 22)),
                                            pts((shell[0] + 8, shell[1] + 22)), pts((shell[0] + 22, shell[1] + 14)),
                                            pts((shell[0] + 20, shell[1] - 6)))
    shapes.append(path(shell_d))
    pat = ('<pattern id="bodypat" width="6" height="6" patternUnits="userSpaceOnUse">'
           '<circle cx="1.5" cy="1.5" r="0.6" fill="#7a5a22" fill-opacity="0.10"/>'
           '<circle cx="4.5" cy="4" r="0.5" fill="#ffffff" fill-opacity="0.10"/></pattern>')
    defs = [rgrad("sung", [(0, "#fff6c4"), (0.55, "#ffd35a"), (1, "#f08a24")], 0.5, 0.45, 0.55),
            rgrad("cloudg", [(0, "#fdfeff"), (0.7, "#eef7fd"), (1, "#cfe3f0")], 0.45, 0.3, 0.75),
            grad("sea", [(0, "#1f7fb0"), (1, "#4cc0d8")]),
            grad("starg", [(0, "#ffad6b"), (1, "#e0582a")]),
            grad("shellg", [(0, "#fff1e4"), (1, "#f0b89a")])]
    under = []
    # sun and its glow, sinking into the sea
    under.append(circle(sun[0], sun[1], sun[2] + 8, 'fill="#fff2a8" opacity="0.35" filter="url(#blur3)"'))
    under.append(circle(*sun, extra='fill="url(#sung)"'))
    # sea band with glitter (drawn over the sun's lower half)
    under.append(path("M0,189 H%d V221 H0 Z" % W, 'fill="url(#sea)" opacity="0.96"'))
    for (x, y, w) in ((236, 196, 14), (248, 201, 22), (244, 207, 12), (262, 212, 10), (252, 216, 6),
                      (40, 200, 10), (60, 208, 8)):
        under.append(path("M%s H%s" % (pts((x, y)), f(x + w)), 'stroke="#fff1b0" stroke-width="1.4" opacity="0.8"'))
    under.append(path(wavy_line_d(0, W, 221, 2, 18, 0), 'fill="none" stroke="#ffffff" stroke-width="2" opacity="0.9"'))
    under.append(path(wavy_line_d(0, W, 224, 1.5, 18, 1.5), 'fill="none" stroke="#ffffff" stroke-width="1" opacity="0.5"'))
    # clouds
    for c in clouds_top + clouds_side:
        under.append(path(cloud_d(*c), 'fill="url(#cloudg)" stroke="#9cc4dc" stroke-width="0.8"'))
    under.append(path(cloud_d(262, 100, 0.6), 'fill="#ffffff" opacity="0.0"'))
    # gulls
    for (x, y, s) in ((240, 190, 0.5), (252, 184, 0.38)):
        under.append(path(bird_d(x, y, s), 'fill="#15405e" opacity="0.75"'))
    # starfish and shell
    under.append(path(star, 'fill="url(#starg)" stroke="#8a3312" stroke-width="1" stroke-linejoin="round"'))
    for i in range(5):
        a = math.radians(-80 + i * 72)
        for k in (0.35, 0.6):
            under.append(circle(238 + math.cos(a) * 24 * k, 452 + math.sin(a) * 24 * k, 1.2, 'fill="#ffe0b0"'))
    under.append(path(shell_d, 'fill="url(#shellg)" stroke="#9a5a3a" stroke-width="1"'))
    for k in (-14, -7, 0, 7, 14):
        under.append(path("M%s L%s" % (pts((shell[0] + k * 0.2, shell[1] + 21)), pts((shell[0] + k * 1.3, shell[1] - 4))),
                          'stroke="#c07a58" stroke-width="0.9"'))
    under.append(circle(64, 102, 9, 'fill="url(#sung)" stroke="#c9701c" stroke-width="0.6"'))
    P["timer_mark"] = path("M96,352 L96,408 L70,408 Z M100,360 L100,408 L122,408 Z M66,414 H130 L120,426 H76 Z",
                           'fill="#2a8fc0" opacity="0.08"')
    return P, shapes, under, [], defs, pat


def skin_nature(W, H):
    """Purple flowers and foliage: violet plate, leafy edges, a cluster of violets by the clock,
    violets and leaves sprouting around the plate."""
    P = common_palette(
        rim="#230b38", shade="#3e1660", hl="#f1e2ff",
        body=[(0, "#caa6ec"), (0.35, "#9a67cf"), (0.75, "#6c3aa6"), (1, "#4a2378")],
        panel=[(0, "#fdfbff"), (1, "#f1eaf8")],
        rail=[(0, "#ece3f5"), (1, "#dfd2ee")],
        display=[(0, "#2b0f44"), (1, "#12031f")],
        bezel=[(0, "#f8f0ff"), (0.5, "#b9a0d4"), (1, "#5a3c7c")],
        tray=[(0, "#2b0f44"), (1, "#44206a")],
        bay=[(0, "#4f2882"), (1, "#3a1a63")],
        well="#1a0a2a", slot="#14051f", plate="#f7f0ff", engrave="#3e1660", engrave_l="#efe0ff",
    )
    leaf, leaf_l, leaf_d = "#4d8f35", "#86c25c", "#234d15"
    shapes = base_shapes(W, H, header_r=20, deck_r=20, deck_bottom=440, waist=(80, 240))
    leaves = [
        (48, 262, 42, 22, 205, -4), (48, 356, 40, 20, 160, 4),            # left of the deck
        (40, 40, 36, 18, -135, 3), (58, 30, 30, 15, -112, -3),            # top left
        (270, 32, 30, 15, -58, 3),                                        # top right
        (120, 436, 36, 18, 105, 3), (150, 438, 30, 15, 80, -3),           # below
        (80, 210, 34, 18, 160, 3),                                        # by the clock
        (258, 384, 34, 17, -112, 3), (272, 384, 28, 14, -66, -3),         # on the pod
    ]
    for lf in leaves:
        shapes.append(path(petal_d(*lf)))
    violets = [(256, 186, 19), (281, 207, 11), (240, 213, 10), (202, 444, 13), (44, 310, 10),
               (263, 356, 9)]
    for (x, y, r) in violets:
        for i in range(5):
            shapes.append(path(petal_d(x, y, r, r * 0.95, -90 + i * 72)))
    pat = ('<pattern id="bodypat" width="18" height="18" patternUnits="userSpaceOnUse">'
           '<path d="M3 14 Q9 4 15 3" fill="none" stroke="#ffffff" stroke-opacity="0.10" stroke-width="1"/>'
           '<circle cx="14" cy="13" r="1" fill="#ffffff" fill-opacity="0.12"/></pattern>')
    defs = [grad("leafg", [(0, leaf_l), (1, leaf)]),
            rgrad("violet", [(0, "#fbf4ff"), (0.35, "#d9b8f5"), (0.8, "#a26ad8"), (1, "#7a44b4")], 0.5, 0.5, 0.5)]
    under = []
    for (bx, by, ln, w, a, bend) in leaves:
        under.append(path(petal_d(bx, by, ln, w, a, bend), 'fill="url(#leafg)" stroke="%s" stroke-width="1"' % leaf_d))
        under.append(path(vein_d(bx, by, ln, a, bend), 'fill="none" stroke="#c9eea8" stroke-width="0.9" opacity="0.8"'))
    for (x, y, r) in violets:
        under.append(flower(x, y, r, "url(#violet)", "#f5cf3c", 5, edge="#5a2a8a", ew=0.9))
        under.append(circle(x, y, r * 0.12, 'fill="#b86a10"'))
    under.append(flower(64, 102, 10, "url(#violet)", "#f5cf3c", 5, edge="#5a2a8a", ew=0.7))
    P["timer_mark"] = "".join(path(petal_d(98, 386, 30, 28, -90 + i * 72), 'fill="#8a5cc0" opacity="0.09"')
                              for i in range(5))
    return P, shapes, under, [], defs, pat


def skin_gold(W, H):
    """Gold ingot plaque: chamfered, bevelled, brushed gold with engraved borders, rivets and
    Art-Deco fans; fine on its own rectangle too."""
    P = common_palette(
        rim="#3d2604", shade="#6e4a0c", hl="#fff6cf",
        body=[(0, "#fff0b0"), (0.16, "#e9c25c"), (0.38, "#b8862a"), (0.52, "#f1d37c"),
              (0.72, "#c4922e"), (1, "#8a5f17")],
        panel=[(0, "#fffdf5"), (1, "#f6efdc")],
        rail=[(0, "#f2e9cf"), (1, "#e6dab8")],
        display=[(0, "#1e1606"), (1, "#080500")],
        bezel=[(0, "#fff6cf"), (0.5, "#d4a642"), (1, "#6e4a0c")],
        tray=[(0, "#2a1d05"), (1, "#46310a")],
        bay=[(0, "#5a3e0c"), (1, "#3e2a07")],
        well="#1a1203", slot="#140d02", plate="#fff4cf", engrave="#5a3c06", engrave_l="#fff1c2",
        sheen=0.25,
    )
    xr = min(W, 298) - RIM
    shapes = [
        path(chamfer_d(31, 22, xr - 31, 141, 16)),
        path(chamfer_d(80, 150, 146, 82, 8)),
        path(chamfer_d(45, 219, 207, 225, 18)),
        path(chamfer_d(226, 380, 58, 64, 12)),
        path("M252,362 L252,380 L270,380 Z"),
        # stepped Art-Deco pediments top and bottom
        path("M104,23 L110,14 L158,14 L164,23 Z"),
        path("M112,443 L124,456 L208,456 L220,443 Z"),
        path("M136,455 L144,465 L188,465 L196,455 Z"),
    ]
    pat = ('<pattern id="bodypat" width="%d" height="3" patternUnits="userSpaceOnUse">'
           '<rect width="%d" height="1" fill="#ffffff" fill-opacity="0.10"/>'
           '<rect y="2" width="%d" height="0.6" fill="#5a3c06" fill-opacity="0.08"/></pattern>') % (W, W, W)
    defs = [grad("goldv", [(0, "#fff3c0"), (0.5, "#d9ab45"), (1, "#7a5312")]),
            rgrad("rivet", [(0, "#fff8dc"), (0.45, "#e0b454"), (1, "#5a3c06")], 0.35, 0.35, 0.7)]
    under = []
    # engraved double border following the silhouette
    for (d, w) in ((chamfer_d(36, 27, xr - 41, 131, 13), 1), (chamfer_d(50, 224, 197, 215, 15), 1)):
        under.append(path(d, 'fill="none" stroke="#fff3c4" stroke-width="%s" transform="translate(0.8,0.8)" opacity="0.8"' % w))
        under.append(path(d, 'fill="none" stroke="#6e4a0c" stroke-width="%s" opacity="0.8"' % w))
    # Art-Deco fans (sunbursts) in the free areas
    def fan(cx, cy, r, a0, a1, n):
        s = []
        for i in range(n + 1):
            a = math.radians(a0 + (a1 - a0) * i / n)
            s.append(path("M%s L%s" % (pts((cx, cy)), pts((cx + math.cos(a) * r, cy + math.sin(a) * r))),
                          'stroke="#6e4a0c" stroke-width="0.9" opacity="0.55"'))
            s.append(path("M%s L%s" % (pts((cx + 0.8, cy + 0.8)), pts((cx + math.cos(a) * r + 0.8, cy + math.sin(a) * r + 0.8))),
                          'stroke="#fff3c4" stroke-width="0.7" opacity="0.5"'))
        s.append(path("M%s A%s,%s 0 0 1 %s" % (
            pts((cx + math.cos(math.radians(a0)) * r * 0.45, cy + math.sin(math.radians(a0)) * r * 0.45)),
            f(r * 0.45), f(r * 0.45),
            pts((cx + math.cos(math.radians(a1)) * r * 0.45, cy + math.sin(math.radians(a1)) * r * 0.45))),
            'fill="none" stroke="#6e4a0c" stroke-width="1" opacity="0.6"'))
        return "".join(s)
    under.append(fan(166, 470, 40, -150, -30, 14))
    under.append(fan(134, 22, 10, -160, -20, 8))
    # rivets
    for (x, y) in ((90, 212), (216, 212), (60, 432), (240, 432), (276, 432), (286, 48), (41, 96)):
        under.append(circle(x + 0.6, y + 0.8, 3.8, 'fill="#3d2604" opacity="0.45"'))
        under.append(circle(x, y, 3.5, 'fill="url(#rivet)"'))
        under.append(path("M%s L%s" % (pts((x - 2.2, y + 1.2)), pts((x + 2.2, y - 1.2))), 'stroke="#5a3c06" stroke-width="0.8"'))
    under.append(rrect(51, 95, 26, 13, 2, 'fill="#5a3c06" opacity="0.25"'))
    under.append(engraved(64, 105, "24K", 8, "#5a3c06", "#fff1c2"))
    P["timer_mark"] = path(star_d(98, 392, 30, 12, 8), 'fill="#c4922e" opacity="0.10"')
    return P, shapes, under, [], defs, pat


# --------------------------------------------------------------- other artwork
BOLT = "M28,6 L13,28 H22.5 L18,44 L37,20 H27.5 L33,6 Z"  # in a 50x50 box


def emblem(defs, s=1.0, ring=True, dots=True):
    """The relay emblem: a bolt in a ring with four channel dots, in a 50x50 box."""
    defs.append(grad("boltg", [(0, "#fff6a0"), (0.5, "#ffd23c"), (1, "#f39a12")]))
    defs.append(grad("ringg", [(0, "#f4f7fa"), (0.5, "#9aa6b2"), (1, "#4c5763")]))
    defs.append(rgrad("dotg", [(0, "#d8ffd0"), (0.5, "#44d646"), (1, "#14772a")], 0.4, 0.4, 0.6))
    b = []
    if ring:
        b.append(circle(25, 25, 20, 'fill="none" stroke="#06101c" stroke-width="5"'))
        b.append(circle(25, 25, 20, 'fill="none" stroke="url(#ringg)" stroke-width="3"'))
    if dots:
        for i in range(4):
            a = math.radians(45 + i * 90)
            b.append(circle(25 + math.cos(a) * 20, 25 + math.sin(a) * 20, 3.3,
                            'fill="url(#dotg)" stroke="#06101c" stroke-width="0.9"'))
    b.append(path(BOLT, 'fill="#06101c" transform="translate(1.2,1.4)" opacity="0.7"'))
    b.append(path(BOLT, 'fill="url(#boltg)" stroke="#7a3e00" stroke-width="1.1" stroke-linejoin="round"'))
    b.append(path("M28,8 L16,26", 'stroke="#fffbe0" stroke-width="1.2" opacity="0.8" stroke-linecap="round"'))
    return '<g transform="scale(%s)">%s</g>' % (f(s), "".join(b))


def art_image1(W, H):
    defs = [rgrad("tile", [(0, "#2a5788"), (0.7, "#123055"), (1, "#0a1a30")], 0.5, 0.4, 0.7)]
    b = [rrect(0, 0, 50, 50, 7, 'fill="url(#tile)"'),
         rrect(0.75, 0.75, 48.5, 48.5, 6.5, 'fill="none" stroke="#6f9bd0" stroke-width="1" opacity="0.6"')]
    b.append(emblem(defs))
    return svg_doc(W, H, defs, b)


def art_icon(W, H):
    defs = [rgrad("tile", [(0, "#2f65a0"), (0.7, "#163a66"), (1, "#0b1d36")], 0.5, 0.35, 0.75)]
    b = [rrect(0.5, 0.5, 31, 31, 6, 'fill="url(#tile)" stroke="#06101c" stroke-width="1"')]
    # bigger bolt, no ring: reads at 16..32 px
    b.append('<g transform="translate(-3.2,-2.4) scale(0.76)">%s</g>' % emblem(defs, 1.0, ring=False, dots=False))
    for (x, y) in ((6, 6), (26, 6), (6, 26), (26, 26)):
        b.append(circle(x, y, 2.4, 'fill="url(#dotg)" stroke="#06101c" stroke-width="0.7"'))
    return svg_doc(W, H, defs, b)


def face(W, H, lit):
    """A rocker-style channel button face. Middle: a light legend window for the digit."""
    defs = [
        grad("fbody", [(0, "#5a626c"), (0.5, "#3a4049"), (1, "#23272d")] if not lit else
             [(0, "#1e2a22"), (0.5, "#2c3d31"), (1, "#3e5444")]),
        grad("legend", [(0, "#f2efe6"), (1, "#d9d4c6")] if not lit else [(0, "#e8fbe4"), (1, "#c6efbf")]),
        rgrad("lamp", [(0, "#5b6a5e"), (0.6, "#24302a"), (1, "#0d120f")] if not lit else
              [(0, "#f4fff0"), (0.3, "#9dff7a"), (0.75, "#2fcf3a"), (1, "#137a22")], 0.4, 0.35, 0.65),
        rgrad("glow", [(0, "#8dff6a", 0.55), (1, "#8dff6a", 0)], 0.5, 0.5, 0.5),
    ]
    b = [rrect(0, 0, W, H, 0, 'fill="#1a1d22"'),
         rrect(1, 1, W - 2, H - 2, 5, 'fill="url(#fbody)" stroke="#0c0e11" stroke-width="1"')]
    # bevel: light top edge when raised (off), light bottom edge when pressed (on)
    if not lit:
        b.append(path("M4,2.2 H34", 'stroke="#9aa3ad" stroke-width="1" opacity="0.8"'))
        b.append(path("M4,75.8 H34", 'stroke="#0a0c0e" stroke-width="1"'))
    else:
        b.append(path("M4,2.2 H34", 'stroke="#050806" stroke-width="1"'))
        b.append(path("M4,75.8 H34", 'stroke="#6f8f78" stroke-width="1" opacity="0.8"'))
    # lamp at the top
    if lit:
        b.append(circle(19, 13, 11, 'fill="url(#glow)"'))
    b.append(circle(19, 13, 6.6, 'fill="#0b0d10"'))
    b.append(circle(19, 13, 5.4, 'fill="url(#lamp)"'))
    b.append(ellipse(17.2, 10.8, 2, 1.3, 'fill="#ffffff" opacity="%s"' % ("0.9" if lit else "0.35")))
    # legend window (Qt draws the channel digit here: bold black reads on both faces)
    b.append(rrect(5, 25, 28, 29, 3, 'fill="#0b0d10"'))
    b.append(rrect(6, 26, 26, 27, 2.5, 'fill="url(#legend)"'))
    b.append(path("M7.5,27 H30.5", 'stroke="#000000" stroke-width="1" opacity="0.25"'))
    # hint text at the bottom: what a click does
    label = "OFF" if lit else "ON"
    col = "#b8f7ac" if lit else "#d5dae0"
    b.append(text(19, 69.5, label, 8.5, "#000000", extra='opacity="0.6"'))
    b.append(text(19, 68.5, label, 8.5, col))
    # grip ridges
    for y in (59, 61.5):
        b.append(path("M11,%s H27" % f(y), 'stroke="#000000" stroke-width="0.8" opacity="0.45"'))
        b.append(path("M11,%s H27" % f(y + 0.8), 'stroke="#ffffff" stroke-width="0.6" opacity="0.12"'))
    return svg_doc(W, H, defs, b)


def art_on(W, H):
    return face(W, H, lit=False)


def art_off(W, H):
    return face(W, H, lit=True)


def art_picture5(W, H):
    """Spare full-bleed picture: a graphite circuit board at night with the relay emblem."""
    defs = [grad("bg", [(0, "#1f2b38"), (0.55, "#121a24"), (1, "#0b1118")]),
            rgrad("halo", [(0, "#3fd0ff", 0.35), (1, "#3fd0ff", 0)], 0.5, 0.5, 0.5),
            '<pattern id="hex" width="12" height="20.78" patternUnits="userSpaceOnUse">'
            '<path d="M0 0 L6 3.46 L6 10.39 L0 13.86 M6 10.39 L12 13.86 M6 3.46 L12 0" fill="none" '
            'stroke="#ffffff" stroke-opacity="0.045" stroke-width="1"/></pattern>',
            '<filter id="glowf" x="-20%" y="-20%" width="140%" height="140%"><feGaussianBlur stdDeviation="2"/></filter>']
    b = [rrect(0, 0, W, H, 0, 'fill="url(#bg)"'), rrect(0, 0, W, H, 0, 'fill="url(#hex)"')]
    traces = [
        "M0,60 H70 L90,80 H150", "M0,96 H40 L58,114 V180", "M279,40 H210 L190,60 V120",
        "M279,150 H230 L214,166 H170", "M0,300 H50 L70,320 V400 L86,416 H140",
        "M279,280 H240 L220,300 V360 L204,376 H160", "M120,0 V30 L140,50 H200",
        "M60,448 V430 L80,410 H110", "M230,448 V420 L250,400 H279",
    ]
    for d in traces:
        b.append(path(d, 'fill="none" stroke="#3fd0ff" stroke-width="3" opacity="0.35" filter="url(#glowf)"'))
        b.append(path(d, 'fill="none" stroke="#7fe4ff" stroke-width="1.4" opacity="0.8"'))
    for (x, y) in ((150, 80), (58, 180), (190, 120), (170, 166), (140, 416), (160, 376), (200, 50), (110, 410)):
        b.append(circle(x, y, 4, 'fill="#0b1118" stroke="#7fe4ff" stroke-width="1.4"'))
        b.append(circle(x, y, 1.6, 'fill="#cff6ff"'))
    b.append(circle(139.5, 236, 78, 'fill="url(#halo)"'))
    b.append(circle(139.5, 236, 56, 'fill="#0b1118" stroke="#2a3a4c" stroke-width="2"'))
    edefs = []
    b.append('<g transform="translate(84.5,181) scale(2.2)">%s</g>' % emblem(edefs))
    defs.extend(edefs)
    b.append(text(139.5, 352, "QUORVALE", 20, "#cfe9f5", extra='letter-spacing="3"'))
    b.append(text(139.5, 370, "AUTOMATION  ·  KAVO H1.10xp", 8.5, "#7fa6bb", weight="normal",
                  extra='letter-spacing="1"'))
    return svg_doc(W, H, defs, b)


def build(name, W, H):
    fn = globals()["skin_" + name]
    P, shapes, under, over, defs, pat = fn(W, H)
    return faceplate(W, H, P, shapes, under=under, over=over, extra_defs=defs, body_pattern=pat), P


def main(argv):
    if len(argv) > 1 and argv[1] == "--manifest":
        for name, W, H in SKINS:
            if "skin_" + name in globals():
                print("skin", name, W, H, build(name, W, H)[1]["rim"])
        for kind, name, W, H, bg in EXTRAS:
            print(kind, name, W, H, bg)
        return 0
    out = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "svg")
    os.makedirs(out, exist_ok=True)
    for name, W, H in SKINS:
        if "skin_" + name not in globals():
            continue
        svg, P = build(name, W, H)
        with open(os.path.join(out, name + ".svg"), "w", encoding="utf-8") as fh:
            fh.write(svg)
    for kind, name, W, H, bg in EXTRAS:
        fn = globals().get("art_" + name)
        if fn:
            with open(os.path.join(out, name + ".svg"), "w", encoding="utf-8") as fh:
                fh.write(fn(W, H))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
