"""Schematic symbols (IEC style) for the wiring pages. All functions return
SVG fragments in page coordinates."""

from helpkit import label

WIRE = "#1c1f24"
SW = 1.8  # wire stroke width


def wire(*pts, color=WIRE, width=SW, dash=None):
    d = "M" + " L".join("%.1f %.1f" % p for p in pts)
    da = ' stroke-dasharray="%s"' % dash if dash else ""
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%.1f" stroke-linejoin="round" '
            'stroke-linecap="round"%s/>' % (d, color, width, da))


def hwire_hop(x1, x2, y, hops, color=WIRE, width=SW, r=5):
    """Horizontal wire from x1 to x2 (x1 < x2) that hops over vertical wires
    at the x positions in `hops`."""
    d = "M%.1f %.1f" % (x1, y)
    for hx in sorted(hops):
        d += " L%.1f %.1f A%.1f %.1f 0 0 1 %.1f %.1f" % (hx - r, y, r, r, hx + r, y)
    d += " L%.1f %.1f" % (x2, y)
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%.1f" stroke-linecap="round"/>'
            % (d, color, width))


def dot(x, y, color=WIRE, r=3.2):
    return '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s"/>' % (x, y, r, color)


def terminal(x, y, color=WIRE, r=4):
    return ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffffff" stroke="%s" stroke-width="1.6"/>'
            % (x, y, r, color))


def resistor_h(x1, x2, y, color=WIRE):
    """Horizontal IEC resistor (box) between x1 and x2, leads included."""
    mid = (x1 + x2) / 2
    return (wire((x1, y), (mid - 18, y), color=color) + wire((mid + 18, y), (x2, y), color=color)
            + '<rect x="%.1f" y="%.1f" width="36" height="12" fill="#ffffff" stroke="%s" stroke-width="%.1f"/>'
            % (mid - 18, y - 6, color, SW))


def coil_v(x, y1, y2, w=22, h=40, color=WIRE, fill="#ffffff"):
    """Vertical relay coil (IEC box) on wire x between y1 and y2."""
    mid = (y1 + y2) / 2
    return (wire((x, y1), (x, mid - h / 2), color=color) + wire((x, mid + h / 2), (x, y2), color=color)
            + '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="%s" stroke="%s" stroke-width="%.1f"/>'
            % (x - w / 2, mid - h / 2, w, h, fill, color, SW))


def diode_v(x, y1, y2, up=True, color=WIRE, s=10):
    """Vertical diode on wire x between y1 (top) and y2 (bottom).
    up=True: anode at the bottom, cathode (bar) at the top."""
    mid = (y1 + y2) / 2
    if up:
        tri = "M%.1f %.1f L%.1f %.1f L%.1f %.1f Z" % (x - s, mid + s * 0.8, x + s, mid + s * 0.8, x, mid - s * 0.8)
        bar = (x - s, mid - s * 0.8, x + s, mid - s * 0.8)
    else:
        tri = "M%.1f %.1f L%.1f %.1f L%.1f %.1f Z" % (x - s, mid - s * 0.8, x + s, mid - s * 0.8, x, mid + s * 0.8)
        bar = (x - s, mid + s * 0.8, x + s, mid + s * 0.8)
    return (wire((x, y1), (x, y2), color=color)
            + '<path d="%s" fill="%s" stroke="%s" stroke-width="1.4" stroke-linejoin="round"/>' % (tri, color, color)
            + '<path d="M%.1f %.1f L%.1f %.1f" stroke="%s" stroke-width="2.4"/>' % (bar + (color,)))


def npn(x, y, color=WIRE, r=19):
    """NPN transistor, circle centred at (x, y). Returns (svg, pins) where
    pins = dict(b=(x,y), c=(x,y), e=(x,y)) are the lead ends."""
    bx = x - 7
    svg = ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffffff" stroke="%s" stroke-width="1.6"/>' % (x, y, r, color)
           + '<path d="M%.1f %.1f L%.1f %.1f" stroke="%s" stroke-width="3"/>' % (bx, y - 11, bx, y + 11, color)
           + wire((x - r - 8, y), (bx, y), color=color)
           + wire((bx, y - 5), (x + 7, y - 14), (x + 7, y - r - 8), color=color)
           + wire((bx, y + 5), (x + 7, y + 14), (x + 7, y + r + 8), color=color))
    # emitter arrow (pointing out, towards the emitter lead)
    ax, ay = x + 5.2, y + 12.9
    svg += ('<path d="M%.1f %.1f L%.1f %.1f L%.1f %.1f Z" fill="%s"/>'
            % (ax + 1.5, ay + 1.2, ax - 6.5, ay - 0.6, ax - 2.2, ay - 6.2, color))
    pins = {"b": (x - r - 8, y), "c": (x + 7, y - r - 8), "e": (x + 7, y + r + 8)}
    return svg, pins


def ground(x, y, color=WIRE):
    return ('<path d="M%.1f %.1f v8 M%.1f %.1f h20 M%.1f %.1f h12 M%.1f %.1f h4" stroke="%s" stroke-width="1.8"/>'
            % (x, y, x - 10, y + 8, x - 6, y + 12, x - 2, y + 16, color))


def cap_v(x, y1, y2, polar=True, color=WIRE):
    mid = (y1 + y2) / 2
    s = (wire((x, y1), (x, mid - 4), color=color) + wire((x, mid + 4), (x, y2), color=color)
         + '<path d="M%.1f %.1f h24" stroke="%s" stroke-width="2.6"/>' % (x - 12, mid - 4, color))
    if polar:
        s += ('<rect x="%.1f" y="%.1f" width="24" height="4" fill="%s"/>' % (x - 12, mid + 3, color)
              + label(x - 18, mid - 6, "+", 12, color, "bold", "middle"))
    else:
        s += '<path d="M%.1f %.1f h24" stroke="%s" stroke-width="2.6"/>' % (x - 12, mid + 4, color)
    return s
