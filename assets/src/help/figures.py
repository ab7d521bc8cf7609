"""Drawings shared by the help pages: panel controls, the relay board and
the appliances. Each function returns an SVG fragment in page coordinates."""

from helpkit import INK, MONO, NAVY, NAVY_DARK, NAVY_LIGHT, ORANGE, label

GRADIENTS = """
<linearGradient id="btn" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#ffffff"/><stop offset="0.5" stop-color="#eef0f3"/>
  <stop offset="1" stop-color="#c9ced6"/></linearGradient>
<linearGradient id="skin" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="#1d6f86"/><stop offset="0.55" stop-color="#134a6b"/>
  <stop offset="1" stop-color="#0d2f4d"/></linearGradient>
<radialGradient id="faceOn" cx="0.4" cy="0.35" r="0.7">
  <stop offset="0" stop-color="#7be08a"/><stop offset="1" stop-color="#1e8a3a"/></radialGradient>
<radialGradient id="faceOff" cx="0.4" cy="0.35" r="0.7">
  <stop offset="0" stop-color="#ff8a7a"/><stop offset="1" stop-color="#b3261e"/></radialGradient>
<linearGradient id="pcb" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="#23794d"/><stop offset="1" stop-color="#15573a"/></linearGradient>
<linearGradient id="relay" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#3a78d0"/><stop offset="1" stop-color="#1f4f98"/></linearGradient>
<linearGradient id="metal" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#e3e6ea"/><stop offset="1" stop-color="#9aa3ad"/></linearGradient>
<linearGradient id="lcd" x1="0" y1="0" x2="0" y2="1">
  <stop offset="0" stop-color="#0b1a10"/><stop offset="1" stop-color="#16301e"/></linearGradient>
"""


def button(x, y, w, h, text, size=12.5, bold=False, fill="url(#btn)", ink=INK):
    return (
        '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="4" fill="%s" stroke="#6b7685"/>'
        % (x, y, w, h, fill)
        + label(x + w / 2, y + h / 2 + size * 0.36, text, size, ink, "bold" if bold else None, "middle")
    )


def face(cx, cy, r, on_face, number=None):
    """A channel button. on_face=True draws the ON face (shown while the
    channel is off)."""
    grad = "faceOn" if on_face else "faceOff"
    txt = "ON" if on_face else "OFF"
    out = ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#0b1b2c" opacity="0.35"/>'
           '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="url(#%s)" stroke="#0b1b2c" stroke-width="1.5"/>'
           '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="none" stroke="#ffffff" stroke-opacity="0.45" stroke-width="1.2"/>'
           % (cx + 1.5, cy + 2, r, cx, cy, r, grad, cx, cy, r - 3))
    out += label(cx, cy + r * 0.17, txt, max(12, r * 0.52), "#ffffff", "bold", "middle")
    if number is not None:
        out += label(cx, cy + r * 0.62, str(number), max(12, r * 0.36), "#ffffff", "bold", "middle",
                     extra=' fill-opacity="0.85"')
    return out


def small_button(x, y, s, text, size=12):
    return (
        '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="3" fill="url(#btn)" stroke="#6b7685"/>'
        % (x, y, s, s)
        + label(x + s / 2, y + s / 2 + size * 0.36, text, size, INK, "bold", "middle")
    )


def clock(x, y, w, h, text, size=15):
    return (
        '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="3" fill="url(#lcd)" stroke="#7f8c99"/>'
        % (x, y, w, h)
        + label(x + w / 2, y + h / 2 + size * 0.36, text, size, "#62f08a", "bold", "middle", MONO)
    )


def warn_dot(cx, cy, r=6):
    return ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#e53b2c" stroke="#7a120c" stroke-width="1"/>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffffff" opacity="0.5"/>'
            % (cx, cy, r, cx - r * 0.3, cy - r * 0.3, r * 0.28))


def panel(x, y, s=1.0, on=(True, False, False, False)):
    """Stylised control panel (not to scale), width 300*s, height 190*s."""
    def X(v):
        return x + v * s

    def Y(v):
        return y + v * s

    out = ['<g>']
    out.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#000" opacity="0.25"/>'
               % (X(5), Y(6), 300 * s, 190 * s, 26 * s))
    out.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="url(#skin)" '
               'stroke="#0a2035" stroke-width="2"/>' % (X(0), Y(0), 300 * s, 190 * s, 26 * s))
    # decorative waves of the skin
    out.append('<path d="M%.1f %.1f q%.1f %.1f %.1f 0 t%.1f 0 t%.1f 0" fill="none" stroke="#ffffff" '
               'stroke-opacity="0.12" stroke-width="%.1f"/>'
               % (X(10), Y(160), 35 * s, -18 * s, 70 * s, 70 * s, 70 * s, 6 * s))
    out.append(label(X(18), Y(26), "KAVO H1.10xp", 13 * s, "#ffffff", "bold"))
    for i, t in enumerate(["XP", "?", "_", "X"]):
        out.append(small_button(X(190 + i * 25), Y(12), 20 * s, t, 12 * s))
    out.append(clock(X(18), Y(36), 110 * s, 28 * s, "18:00:00", 15 * s))
    for i in range(4):
        out.append(face(X(48 + i * 68), Y(104), 25 * s, not on[i], i + 1))
    out.append(button(X(150), Y(38), 64 * s, 24 * s, "All On", 12 * s))
    out.append(button(X(220), Y(38), 64 * s, 24 * s, "All Off", 12 * s))
    out.append(button(X(18), Y(146), 82 * s, 24 * s, "Timer Mode", 12 * s))
    out.append(button(X(108), Y(146), 60 * s, 24 * s, "Wiring", 12 * s))
    out.append(button(X(176), Y(146), 108 * s, 24 * s, "Operation Guide", 12 * s))
    out.append('</g>')
    return "".join(out)


def relay_board(x, y, s=1.0, labels=True, on=(True, False, False, False)):
    """Stylised 4-channel relay board, 270x170 at s=1."""
    def X(v):
        return x + v * s

    def Y(v):
        return y + v * s

    o = ['<g>']
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#000" opacity="0.22"/>'
             % (X(5), Y(6), 270 * s, 170 * s, 8 * s))
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="url(#pcb)" stroke="#0e3d28" '
             'stroke-width="1.5"/>' % (X(0), Y(0), 270 * s, 170 * s, 8 * s))
    for hx, hy in ((10, 10), (260, 10), (10, 160), (260, 160)):
        o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#d9c27a" stroke="#8a7432"/>' % (X(hx), Y(hy), 4 * s))
        o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#0e3d28"/>' % (X(hx), Y(hy), 2 * s))
    # traces
    tr = 'fill="none" stroke="#6fcf97" stroke-opacity="0.55" stroke-width="%.1f"' % (1.6 * s)
    for i in range(4):
        o.append('<path d="M%.1f %.1f H%.1f V%.1f H%.1f" %s/>'
                 % (X(30), Y(60 + i * 10), X(62), Y(62 + i * 8), X(70), tr))
        o.append('<path d="M%.1f %.1f H%.1f V%.1f H%.1f" %s/>'
                 % (X(112), Y(62 + i * 8), X(120 + i * 4), Y(32 + i * 34), X(140), tr))
    # DB-25 connector on the left edge (seen from above)
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="url(#metal)" stroke="#4b5563"/>'
             % (X(-8), Y(40), 30 * s, 80 * s, 3 * s))
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#2d3540"/>'
             % (X(-2), Y(48), 12 * s, 64 * s, 2 * s))
    # ULN2003 chip
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#1b1d21" stroke="#000"/>'
             % (X(70), Y(52), 42 * s, 50 * s, 2 * s))
    for i in range(8):
        for side in (0, 1):
            o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" fill="#c9ced6"/>'
                     % (X(66 + side * 46), Y(55 + i * 6), 4 * s, 3 * s))
    o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#3a3d44"/>' % (X(91), Y(57), 2.5 * s))
    if labels:
        o.append(label(X(91), Y(120), "ULN2003A", 12 * s, "#ffffff", "bold", "middle"))
    # relays
    for i in range(4):
        ry = 14 + i * 37
        o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="url(#relay)" stroke="#0f2f63"/>'
                 % (X(140), Y(ry), 72 * s, 32 * s, 3 * s))
        if labels:
            o.append(label(X(176), Y(ry + 21), "RELAY %d" % (i + 1), 12 * s, "#ffffff", "bold", "middle"))
        # LED
        o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s" stroke="#5a0d08"/>'
                 % (X(126), Y(ry + 16), 3.5 * s, "#ff4b3a" if on[i] else "#6b1d17"))
        # terminal block
        o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#1e8fa3" stroke="#0d5663"/>'
                 % (X(226), Y(ry + 2), 38 * s, 28 * s, 2 * s))
        for k in range(3):
            o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#cfd6dd" stroke="#5b6570"/>'
                     % (X(233 + k * 12), Y(ry + 16), 3.8 * s))
            o.append('<path d="M%.1f %.1f h%.1f" stroke="#5b6570" stroke-width="%.1f"/>'
                     % (X(230.5 + k * 12), Y(ry + 16), 5 * s, 1.2 * s))
    # power jack
    o.append('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#222" stroke="#000"/>'
             % (X(30), Y(140), 30 * s, 22 * s, 3 * s))
    o.append('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#666"/>' % (X(45), Y(151), 5 * s))
    if labels:
        o.append(label(X(66), Y(156), "12 V DC", 12 * s, "#ffffff", "bold"))
    o.append('</g>')
    return "".join(o)


def bulb(cx, cy, s=1.0, lit=True):
    glow = ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#ffe066" opacity="0.35"/>' % (cx, cy - 4 * s, 22 * s)) if lit else ""
    return (glow +
            '<path d="M%.1f %.1f a%.1f %.1f 0 1 1 %.1f 0 c0 %.1f %.1f %.1f %.1f %.1f h%.1f c0 %.1f %.1f %.1f %.1f %.1f z" '
            'fill="%s" stroke="#6b5a1e" stroke-width="1.5"/>'
            % (cx - 8 * s, cy + 6 * s, 14 * s, 14 * s, 16 * s, -6 * s, -4 * s, -8 * s, -4 * s, -12 * s,
               -8 * s, 4 * s, -4 * s, 6 * s, -4 * s, 12 * s, "#ffd43b" if lit else "#e9ecef")
            + '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#8d99a6" stroke="#4b5563"/>'
            % (cx - 6 * s, cy + 7 * s, 12 * s, 9 * s, 2 * s))


def fan(cx, cy, s=1.0):
    o = '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#eef4fb" stroke="%s" stroke-width="1.5"/>' % (cx, cy, 17 * s, NAVY)
    for a in (0, 120, 240):
        o += ('<path d="M%.1f %.1f q%.1f %.1f %.1f %.1f q%.1f %.1f %.1f %.1f z" fill="%s" '
              'transform="rotate(%d %.1f %.1f)"/>'
              % (cx, cy, -2 * s, -12 * s, 8 * s, -14 * s, 2 * s, 8 * s, -8 * s, 14 * s, NAVY_LIGHT, a, cx, cy))
    o += '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="%s"/>' % (cx, cy, 3 * s, NAVY_DARK)
    return o


def heater(cx, cy, s=1.0):
    o = '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#f1f3f5" stroke="%s" stroke-width="1.5"/>' % (
        cx - 18 * s, cy - 14 * s, 36 * s, 28 * s, 3 * s, "#495057")
    for i in range(5):
        o += '<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#ced4da"/>' % (
            cx - 15 * s + i * 6.4 * s, cy - 11 * s, 4.4 * s, 22 * s, 2 * s)
    for i in range(3):
        o += ('<path d="M%.1f %.1f q%.1f %.1f 0 %.1f t0 %.1f" fill="none" stroke="#e8590c" stroke-width="%.1f"/>'
              % (cx - 8 * s + i * 8 * s, cy - 17 * s, 3 * s, -3 * s, -6 * s, -6 * s, 1.5 * s))
    return o


def pump(cx, cy, s=1.0):
    o = ('<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#e7f5ff" stroke="#1864ab" stroke-width="1.5"/>'
         % (cx, cy, 17 * s))
    o += ('<path d="M%.1f %.1f C%.1f %.1f %.1f %.1f %.1f %.1f A%.1f %.1f 0 0 1 %.1f %.1f '
          'C%.1f %.1f %.1f %.1f %.1f %.1f Z" fill="#339af0"/>'
          % (cx, cy - 12 * s,
             cx + 3 * s, cy - 6 * s, cx + 8 * s, cy - 1 * s, cx + 8 * s, cy + 3 * s,
             8 * s, 8 * s, cx - 8 * s, cy + 3 * s,
             cx - 8 * s, cy - 1 * s, cx - 3 * s, cy - 6 * s, cx, cy - 12 * s))
    o += ('<path d="M%.1f %.1f a%.1f %.1f 0 0 0 %.1f %.1f" fill="none" stroke="#ffffff" stroke-width="%.1f" '
          'stroke-linecap="round"/>' % (cx - 4 * s, cy + 3 * s, 4 * s, 4 * s, 4 * s, 4 * s, 1.6 * s))
    return o


APPLIANCES = (bulb, fan, heater, pump)
APPLIANCE_NAMES = ("Lamp", "Fan", "Heater", "Pump")


def socket_icon(x, y, s=1.0):
    """Mains socket outlet icon, 30x30 at s=1."""
    return ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="%.1f" fill="#ffffff" stroke="#495057" stroke-width="1.5"/>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#f1f3f5" stroke="#868e96"/>'
            '<circle cx="%.1f" cy="%.1f" r="%.1f" fill="#343a40"/><circle cx="%.1f" cy="%.1f" r="%.1f" fill="#343a40"/>'
            % (x, y, 30 * s, 30 * s, 5 * s, x + 15 * s, y + 15 * s, 11 * s,
               x + 10.5 * s, y + 15 * s, 2 * s, x + 19.5 * s, y + 15 * s, 2 * s))


def bolt(x, y, s=1.0, fill=ORANGE, stroke=None):
    """Lightning bolt, about 20x32 at s=1, top-left at (x, y)."""
    st = ' stroke="%s" stroke-width="%.1f" stroke-linejoin="round"' % (stroke, 1.2 * s) if stroke else ""
    return ('<path d="M%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f L%.1f %.1f Z" fill="%s"%s/>'
            % (x + 12 * s, y, x, y + 18 * s, x + 8 * s, y + 18 * s, x + 5 * s, y + 32 * s,
               x + 20 * s, y + 12 * s, x + 11 * s, y + 12 * s, fill, st))
