"""Small layout kit for the help pages: font metrics, rich-text wrapping and
the common page frame (title band, footer, boxes).

Only the Python standard library is used. Text widths come from the DejaVu
TrueType files themselves, so line wrapping matches what rsvg-convert draws.
"""

import os
import re
import struct
from xml.sax.saxutils import escape

FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# ---------------------------------------------------------------- palette
NAVY_DARK = "#0f2444"
NAVY = "#17365f"
NAVY_LIGHT = "#2b5591"
ORANGE = "#f0892b"
ORANGE_DARK = "#c8661a"
PAPER = "#fbfaf5"
INK = "#1c1f24"
MUTED = "#4b5563"
CODE_INK = "#0f2a52"
CODE_BG = "#eaeff7"
CODE_LINE = "#b9c6da"
INLINE_CODE = "#8a3300"
RED = "#b3261e"
WARN_BG = "#fff3d4"
DANGER_BG = "#fde6e3"
GREEN = "#1e8a3a"
NOTE_BG = "#e8f1fb"

SANS = "DejaVu Sans"
MONO = "DejaVu Sans Mono"


# ---------------------------------------------------------------- fonts
class TTF:
    """Advance widths of a TrueType font (cmap format 4 + hmtx)."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        num_tables = struct.unpack(">H", data[4:6])[0]
        tables = {}
        for i in range(num_tables):
            rec = data[12 + 16 * i: 28 + 16 * i]
            tag = rec[:4].decode("latin-1")
            _, offset, length = struct.unpack(">III", rec[4:])
            tables[tag] = (offset, length)
        head = tables["head"][0]
        self.upem = struct.unpack(">H", data[head + 18: head + 20])[0]
        hhea = tables["hhea"][0]
        n_hmetrics = struct.unpack(">H", data[hhea + 34: hhea + 36])[0]
        hmtx = tables["hmtx"][0]
        self.advances = [
            struct.unpack(">H", data[hmtx + 4 * i: hmtx + 4 * i + 2])[0]
            for i in range(n_hmetrics)
        ]
        self.cmap = self._read_cmap(data, tables["cmap"][0])

    @staticmethod
    def _read_cmap(data, cmap):
        n = struct.unpack(">H", data[cmap + 2: cmap + 4])[0]
        sub = None
        for i in range(n):
            pid, eid, off = struct.unpack(">HHI", data[cmap + 4 + 8 * i: cmap + 12 + 8 * i])
            if pid == 3 and eid == 1:
                sub = cmap + off
        assert sub is not None, "no unicode cmap"
        fmt = struct.unpack(">H", data[sub: sub + 2])[0]
        assert fmt == 4, "unexpected cmap format %d" % fmt
        segx2 = struct.unpack(">H", data[sub + 6: sub + 8])[0]
        seg = segx2 // 2
        ends = struct.unpack(">%dH" % seg, data[sub + 14: sub + 14 + segx2])
        p = sub + 16 + segx2
        starts = struct.unpack(">%dH" % seg, data[p: p + segx2])
        p += segx2
        deltas = struct.unpack(">%dh" % seg, data[p: p + segx2])
        p += segx2
        range_pos = p
        offsets = struct.unpack(">%dH" % seg, data[p: p + segx2])
        table = {}
        for s in range(seg):
            for c in range(starts[s], ends[s] + 1):
                if c == 0xFFFF:
                    continue
                if offsets[s] == 0:
                    g = (c + deltas[s]) & 0xFFFF
                else:
                    gp = range_pos + 2 * s + offsets[s] + 2 * (c - starts[s])
                    g = struct.unpack(">H", data[gp: gp + 2])[0]
                    if g:
                        g = (g + deltas[s]) & 0xFFFF
                table[c] = g
        return table

    def width(self, text, size):
        total = 0
        last = self.advances[-1]
        for ch in text:
            g = self.cmap.get(ord(ch), 0)
            total += self.advances[g] if g < len(self.advances) else last
        return total * size / self.upem


_FONTS = {}


def font(style):
    files = {
        "n": "DejaVuSans.ttf",
        "b": "DejaVuSans-Bold.ttf",
        "i": "DejaVuSans-Oblique.ttf",
        "c": "DejaVuSansMono.ttf",
        "cb": "DejaVuSansMono-Bold.ttf",
    }
    if style not in _FONTS:
        _FONTS[style] = TTF(os.path.join(FONT_DIR, files[style]))
    return _FONTS[style]


def text_width(text, size, style="n"):
    return font(style).width(text, size)


# ---------------------------------------------------------------- markup
# Inline markup inside a paragraph: **bold** and `code`.
_TOKEN = re.compile(r"(\*\*.+?\*\*|`.+?`)")


def parse(markup):
    runs = []
    for part in _TOKEN.split(markup):
        if not part:
            continue
        if part.startswith("**") and part.endswith("**"):
            runs.append((part[2:-2], "b"))
        elif part.startswith("`") and part.endswith("`"):
            runs.append((part[1:-1], "c"))
        else:
            runs.append((part, "n"))
    return runs


def plain(markup):
    return "".join(t for t, _ in parse(markup))


def _words(runs):
    """Split runs into words (lists of (text, style) segments); lines break
    only at spaces, and never inside `code`."""
    words = [[]]
    for text, style in runs:
        if style == "c":
            words[-1].append((text, style))
            continue
        for i, piece in enumerate(text.split(" ")):
            if i > 0:
                words.append([])
            if piece:
                words[-1].append((piece, style))
    return [w for w in words if w]


def wrap(markup, width, size, first_indent=0, default="n"):
    """Return list of lines; each line is a list of (text, style) runs."""
    runs = [(t, default if s == "n" else s) for t, s in parse(markup)]
    words = _words(runs)
    space = text_width(" ", size, default)
    lines = []
    line = []
    used = first_indent
    for word in words:
        w = sum(text_width(t, size, s) for t, s in word)
        if w > width + 0.5:
            raise ValueError("word too wide for %dpx: %r" % (width, word))
        if line and used + space + w > width:
            lines.append(line)
            line = []
            used = 0
        elif line:
            used += space
        line.append(word)
        used += w
    if line:
        lines.append(line)
    out = []
    for line in lines:
        merged = []
        for i, word in enumerate(line):
            segs = list(word)
            if i > 0:
                segs = [(" ", default)] + segs
            for t, s in segs:
                if merged and merged[-1][1] == s:
                    merged[-1] = (merged[-1][0] + t, s)
                else:
                    merged.append((t, s))
        out.append(merged)
    return out


STYLE_ATTR = {
    "n": "",
    "b": ' font-weight="bold"',
    "i": ' font-style="oblique"',
    "c": ' font-family="%s" fill="%s"' % (MONO, INLINE_CODE),
    "cb": ' font-family="%s" font-weight="bold"' % MONO,
}


def svg_line(x, y, runs, size, fill=INK, anchor=None, extra=""):
    a = ' text-anchor="%s"' % anchor if anchor else ""
    spans = "".join(
        "<tspan%s>%s</tspan>" % (STYLE_ATTR[s], escape(t)) if s != "n" else escape(t)
        for t, s in runs
    )
    return ('<text x="%.1f" y="%.1f" font-size="%s" fill="%s"%s%s '
            'xml:space="preserve">%s</text>' % (x, y, size, fill, a, extra, spans))


def label(x, y, text, size=12, fill=INK, weight=None, anchor=None, family=None, extra=""):
    attrs = ""
    if weight:
        attrs += ' font-weight="%s"' % weight
    if family:
        attrs += ' font-family="%s"' % family
    if anchor:
        attrs += ' text-anchor="%s"' % anchor
    return ('<text x="%.1f" y="%.1f" font-size="%s" fill="%s"%s%s '
            'xml:space="preserve">%s</text>' % (x, y, size, fill, attrs, extra, escape(text)))


# ---------------------------------------------------------------- page
class Page:
    def __init__(self, name, width, height, title, subtitle=None, tag=None,
                 footer_left="Quorvale Automation KAVO H1.10xp", footer_right=None,
                 band=56, title_size=21):
        self.name = name
        self.w = width
        self.h = height
        self.parts = []
        self.defs = []
        self.desc = []
        self.band = band
        self.title = title
        self.title_size = title_size
        self.subtitle = subtitle
        self.tag = tag
        self.footer_left = footer_left
        self.footer_right = footer_right
        self.draw_title = True
        self.desc.append(title)
        if subtitle:
            self.desc.append(subtitle)
        self.desc.append("")

    def add(self, svg):
        self.parts.append(svg)

    def say(self, text=""):
        self.desc.append(text)

    def frame(self):
        if self.band == 0:
            return []
        w, h, b = self.w, self.h, self.band
        out = [
            '<rect width="%d" height="%d" fill="%s"/>' % (w, h, PAPER),
            '<rect width="%d" height="%d" fill="url(#band)"/>' % (w, b),
            '<rect y="%d" width="%d" height="4" fill="%s"/>' % (b, w, ORANGE),
        ]
        # thin circuit trace decoration in the band, right side
        out.append(
            '<g stroke="#ffffff" stroke-opacity="0.10" stroke-width="2" fill="none">'
            '<path d="M%d %d h40 l14 -14 h60"/><path d="M%d %d h70 l10 10 h40"/>'
            '</g>' % (w - 170, b - 12, w - 150, b - 34)
        )
        if not self.draw_title:
            pass
        elif self.subtitle:
            out.append(label(18, b * 0.5 + 1, self.title, self.title_size, "#ffffff", "bold"))
            out.append(label(18, b * 0.5 + 19, self.subtitle, 12.5, "#c9d8ee"))
        else:
            out.append(label(18, b * 0.5 + self.title_size * 0.36, self.title,
                             self.title_size, "#ffffff", "bold"))
        if self.tag:
            tw = text_width(self.tag, 12, "b") + 16
            out.append('<rect x="%.1f" y="%.1f" width="%.1f" height="20" rx="10" fill="%s"/>'
                       % (w - 12 - tw, 10, tw, ORANGE))
            out.append(label(w - 12 - tw / 2, 24, self.tag, 12, NAVY_DARK, "bold", "middle"))
        if self.footer_right is not None:
            out.append('<line x1="16" x2="%d" y1="%d" y2="%d" stroke="%s" stroke-width="1"/>'
                       % (w - 16, h - 24, h - 24, CODE_LINE))
            out.append(label(16, h - 8, self.footer_left, 12, MUTED))
            out.append(label(w - 16, h - 8, self.footer_right, 12, MUTED, anchor="end"))
        return out

    def svg(self):
        defs = [
            '<linearGradient id="band" x1="0" y1="0" x2="1" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (NAVY_DARK, NAVY_LIGHT),
            '<marker id="arrow" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="7" '
            'markerHeight="7" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z" '
            'fill="%s"/></marker>' % NAVY,
            '<marker id="arrowO" viewBox="0 0 10 10" refX="9" refY="5" markerWidth="6" '
            'markerHeight="6" orient="auto-start-reverse"><path d="M0 0 L10 5 L0 10 z" '
            'fill="%s"/></marker>' % ORANGE_DARK,
        ] + self.defs
        body = self.frame() + self.parts
        return (
            '<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- Generated by build_pages.py; edit that script, not this file. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            'viewBox="0 0 {w} {h}" font-family="{f}">\n<defs>\n{d}\n</defs>\n{b}\n</svg>\n'
        ).format(w=self.w, h=self.h, f=SANS, d="\n".join(defs), b="\n".join(body))

    def description(self):
        lines = list(self.desc)
        while lines and lines[-1] == "":
            lines.pop()
        if self.footer_right:
            lines += ["", "%s - %s" % (self.footer_left, self.footer_right)]
        return "\n".join(lines) + "\n"


# ---------------------------------------------------------------- flow
class Flow:
    """Places blocks of text top-down inside a column of a page."""

    def __init__(self, page, x, y, width, bottom, size=13, lead=None):
        self.p = page
        self.x = x
        self.y = y
        self.w = width
        self.bottom = bottom
        self.size = size
        self.lead = lead or round(size * 1.32, 1)

    def check(self):
        if self.y > self.bottom + 0.5 and not os.environ.get("HELP_LENIENT"):
            raise ValueError("%s: column at x=%d overflows (%.1f > %d)"
                             % (self.p.name, self.x, self.y, self.bottom))

    def space(self, n):
        self.y += n

    def heading(self, text, size=15, num=None, say=True):
        y = self.y + size
        x = self.x
        if num is not None:
            self.p.add('<circle cx="%.1f" cy="%.1f" r="10" fill="%s"/>' % (x + 10, y - size * 0.36, ORANGE))
            self.p.add(label(x + 10, y - size * 0.36 + 4.5, str(num), 13, NAVY_DARK, "bold", "middle"))
            x += 26
        else:
            self.p.add('<rect x="%.1f" y="%.1f" width="5" height="%.1f" fill="%s"/>'
                       % (x, y - size + 2, size - 1, ORANGE))
            x += 11
        self.p.add(label(x, y, text, size, NAVY, "bold"))
        self.y = y + 7
        if say:
            if self.p.desc and self.p.desc[-1] != "":
                self.p.say("")
            self.p.say(("%s. " % num if num is not None else "") + text)
        self.check()

    def para(self, markup, size=None, fill=INK, indent=0, say=True, after=5):
        size = size or self.size
        lead = self.lead if size == self.size else round(size * 1.32, 1)
        lines = wrap(markup, self.w - indent, size)
        for runs in lines:
            self.y += lead
            self.p.add(svg_line(self.x + indent, self.y - lead * 0.26, runs, size, fill))
        self.y += after
        if say:
            self.p.say(plain(markup))
        self.check()

    def bullets(self, items, size=None, bullet="\u2022", indent=0, say=True, after=5, gap=2):
        size = size or self.size
        lead = self.lead if size == self.size else round(size * 1.32, 1)
        for item in items:
            lines = wrap(item, self.w - indent - 15, size)
            first = True
            for runs in lines:
                self.y += lead
                base = self.y - lead * 0.26
                if first:
                    self.p.add(label(self.x + indent + 2, base, bullet, size, ORANGE_DARK, "bold"))
                    first = False
                self.p.add(svg_line(self.x + indent + 15, base, runs, size))
            self.y += gap
            if say:
                self.p.say("- " + plain(item))
        self.y += after - gap
        self.check()

    def code(self, lines, size=12.5, say=True, after=8, comment_fill="#5a6b85"):
        lead = round(size * 1.36, 1)
        h = lead * len(lines) + 10
        self.p.add('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="4" fill="%s" stroke="%s"/>'
                   % (self.x, self.y, self.w, h, CODE_BG, CODE_LINE))
        self.p.add('<rect x="%.1f" y="%.1f" width="3" height="%.1f" fill="%s"/>'
                   % (self.x, self.y, h, NAVY_LIGHT))
        y = self.y + 5
        for ln in lines:
            y += lead
            cmd, _, comment = ln.partition("  #")
            cw = text_width(cmd, size, "cb")
            if cw > self.w - 16:
                raise ValueError("code line too wide: %r" % ln)
            self.p.add(label(self.x + 10, y - lead * 0.27, cmd, size, CODE_INK, "bold", family=MONO))
            if comment:
                self.p.add(label(self.x + 10 + cw + text_width("  ", size, "c"), y - lead * 0.27,
                                 "# " + comment.strip(), size, comment_fill, family=MONO))
            if say:
                self.p.say("    " + ln.replace("  #", "   #"))
        self.y += h + after
        self.check()

    def box(self, title, markup_items, kind="warn", size=None, after=8, icon=True, title_size=13.5):
        """Coloured call-out box. markup_items: list of paragraphs (str) or
        ("*", [bullets])."""
        size = size or self.size
        lead = self.lead if size == self.size else round(size * 1.32, 1)
        bg, edge, tfill = {
            "warn": (WARN_BG, ORANGE_DARK, "#7a3b00"),
            "danger": (DANGER_BG, RED, RED),
            "note": (NOTE_BG, NAVY_LIGHT, NAVY),
        }[kind]
        pad = 9
        inner = self.w - 2 * pad - 6
        # measure first
        blocks = []
        hgt = pad
        if title:
            hgt += title_size + 6
        for item in markup_items:
            if isinstance(item, tuple):
                for b in item[1]:
                    ls = wrap(b, inner - 15, size)
                    blocks.append(("b", ls))
                    hgt += lead * len(ls) + 1
            else:
                ls = wrap(item, inner, size)
                blocks.append(("p", ls))
                hgt += lead * len(ls) + 3
        hgt += pad - 2
        x, y0 = self.x, self.y
        self.p.add('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="5" fill="%s" stroke="%s" stroke-width="1.2"/>'
                   % (x, y0, self.w, hgt, bg, edge))
        self.p.add('<rect x="%.1f" y="%.1f" width="5" height="%.1f" rx="2" fill="%s"/>' % (x, y0, hgt, edge))
        y = y0 + pad
        tx = x + pad + 6
        if title:
            y += title_size
            tx_title = tx
            if icon and kind in ("warn", "danger"):
                self.p.add(warning_sign(tx + 8, y - title_size * 0.38, 17, edge))
                tx_title += 22
            self.p.add(label(tx_title, y, title, title_size, tfill, "bold"))
            y += 6
            self.p.say(title)
        for kind_, ls in blocks:
            first = True
            for runs in ls:
                y += lead
                base = y - lead * 0.26
                if kind_ == "b":
                    if first:
                        self.p.add(label(tx + 2, base, "\u2022", size, edge, "bold"))
                    self.p.add(svg_line(tx + 15, base, runs, size))
                else:
                    self.p.add(svg_line(tx, base, runs, size))
                first = False
            y += 1 if kind_ == "b" else 3
        for item in markup_items:
            if isinstance(item, tuple):
                for b in item[1]:
                    self.p.say("- " + plain(b))
            else:
                self.p.say(plain(item))
        self.y = y0 + hgt + after
        self.p.say("")
        self.check()
        return y0, hgt


def warning_sign(cx, cy, size, fill=ORANGE_DARK, mark="#ffffff"):
    """Triangle with an exclamation mark, centred at (cx, cy)."""
    h = size * 0.9
    return (
        '<g><path d="M%.1f %.1f L%.1f %.1f L%.1f %.1f Z" fill="%s" stroke="%s" '
        'stroke-width="1.5" stroke-linejoin="round"/>'
        '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s"/>'
        '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s"/></g>'
        % (cx, cy - h * 0.55, cx + size / 2, cy + h * 0.45, cx - size / 2, cy + h * 0.45, fill, fill,
           cx - size * 0.06, cy - h * 0.25, size * 0.12, h * 0.42, mark,
           cx, cy + h * 0.3, size * 0.07, mark)
    )


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    old = None
    if os.path.exists(path):
        with open(path, encoding="utf-8") as f:
            old = f.read()
    if old != text:
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
