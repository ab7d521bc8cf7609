"""About window: dark background with a faint circuit motif, and the emblem."""

from helpkit import NAVY, NAVY_DARK, NAVY_LIGHT, ORANGE, Page
from figures import bolt


def background():
    W, H = 343, 250
    p = Page("about_background", W, H, "About background", band=0)
    p.describe = False
    p.defs.append(
        '<linearGradient id="bg" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="#081426"/><stop offset="0.6" stop-color="#0c2140"/>'
        '<stop offset="1" stop-color="#10294c"/></linearGradient>'
        '<radialGradient id="glow" cx="0.85" cy="0.15" r="0.6">'
        '<stop offset="0" stop-color="#1d3f6e" stop-opacity="0.55"/>'
        '<stop offset="1" stop-color="#1d3f6e" stop-opacity="0"/></radialGradient>')
    p.add('<rect width="%d" height="%d" fill="url(#bg)"/>' % (W, H))
    p.add('<rect width="%d" height="%d" fill="url(#glow)"/>' % (W, H))
    # circuit traces
    t = '<g fill="none" stroke="#4a7fc4" stroke-opacity="0.20" stroke-width="1.6" stroke-linejoin="round">'
    paths = [
        "M0 30 H60 L76 46 H150",
        "M0 92 H34 L52 74 H120 L136 90 H210",
        "M343 60 H290 L270 80 H230",
        "M343 120 H300 L284 136 H250 L236 150 H180",
        "M0 200 H48 L64 184 H110",
        "M150 250 V226 L166 210 H228",
        "M343 200 H312 L296 216 V250",
        "M90 0 V14 L104 28 H190 L204 14 H260",
    ]
    for d in paths:
        t += '<path d="%s"/>' % d
    t += '</g>'
    p.add(t)
    pads = [(150, 46), (210, 90), (230, 80), (180, 150), (110, 184), (228, 210), (260, 14), (60, 30)]
    p.add(''.join('<circle cx="%d" cy="%d" r="3.2" fill="none" stroke="#4a7fc4" stroke-opacity="0.3" stroke-width="1.4"/>'
                  % xy for xy in pads))
    # faint relay symbol: coil box, dashed link, changeover contact
    g = '<g stroke="#f0892b" stroke-opacity="0.16" stroke-width="2" fill="none">'
    g += '<rect x="262" y="150" width="18" height="34"/>'
    g += '<path d="M271 132 V150 M271 184 V202"/>'
    g += '<path d="M280 167 H304" stroke-dasharray="3 3"/>'
    g += '<path d="M318 146 V160 L306 178 M318 190 V204 M306 174 L306 178"/>'
    g += '<circle cx="318" cy="160" r="2.5"/><circle cx="318" cy="190" r="2.5"/>'
    g += '</g>'
    p.add(g)
    return p


def icon():
    S = 50
    p = Page("about_icon", S, S, "About icon", band=0)
    p.describe = False
    p.defs.append(
        '<linearGradient id="ib" x1="0" y1="0" x2="1" y2="1">'
        '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/></linearGradient>'
        '<linearGradient id="bolt" x1="0" y1="0" x2="0" y2="1">'
        '<stop offset="0" stop-color="#ffc14d"/><stop offset="1" stop-color="#f07a1a"/></linearGradient>'
        % (NAVY_LIGHT, NAVY_DARK))
    p.add('<rect width="50" height="50" fill="#0a1a33"/>')
    p.add('<rect x="1" y="1" width="48" height="48" rx="10" fill="url(#ib)" stroke="#081426" stroke-width="1.5"/>')
    p.add('<circle cx="25" cy="25" r="17" fill="none" stroke="%s" stroke-width="3"/>' % ORANGE)
    # four channel marks on the ring
    for x, y in ((25, 5.5), (44.5, 25), (25, 44.5), (5.5, 25)):
        p.add('<circle cx="%.1f" cy="%.1f" r="2.6" fill="#9cc3f0"/>' % (x, y))
    p.add(bolt(15, 9, 1.0, fill="url(#bolt)", stroke="#7a3300"))
    return p


def build():
    return [background(), icon()]
