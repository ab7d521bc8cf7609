"""Wiring diagram window: cover and pages 1..4."""

from helpkit import (
    CODE_LINE, DANGER_BG, Flow, INK, MUTED, NAVY, NAVY_DARK, NAVY_LIGHT, NOTE_BG, ORANGE,
    ORANGE_DARK, Page, RED, label,
)
from figures import GRADIENTS, socket_icon
from schem import (
    cap_v, coil_v, diode_v, dot, ground, hwire_hop, npn, resistor_h, terminal, wire,
)

TITLE = "Quorvale Automation- Wiring Diagram for KAVOxp H1.10"
LIVE = "#8b4513"
NEUTRAL = "#1c64c8"
EARTH = "#2f9e44"
EARTH2 = "#f2c200"
V12 = "#c2410c"   # +12 V wires
LOGIC = "#1d4ed8"  # data lines
GNDC = "#1c1f24"


def w_page(name, w, h, title, subtitle, n, band=56, title_size=21, footer=True):
    p = Page(name, w, h, title, subtitle, tag="Wiring  %d / 4" % n,
             footer_right=("Wiring Diagram - page %d of 4" % n) if footer else None,
             band=band, title_size=title_size)
    p.defs.append(GRADIENTS)
    return p


def block(x, y, w, h, title, lines, fill="#ffffff", edge=NAVY, tfill=NAVY):
    o = ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="7" fill="%s" stroke="%s" stroke-width="1.6"/>'
         % (x, y, w, h, fill, edge))
    o += label(x + w / 2, y + 19, title, 13.5, tfill, "bold", "middle")
    for i, t in enumerate(lines):
        o += label(x + w / 2, y + 37 + i * 15.5, t, 12, INK, None, "middle")
    return o


def arrow(x1, y1, x2, y2, color=NAVY, width=2.2, marker="arrow"):
    return ('<path d="M%.1f %.1f L%.1f %.1f" stroke="%s" stroke-width="%.1f" marker-end="url(#%s)"/>'
            % (x1, y1, x2, y2, color, width, marker))


def earth_wire(*pts, width=3):
    return wire(*pts, color=EARTH, width=width) + wire(*pts, color=EARTH2, width=width, dash="6 6")


# ------------------------------------------------------------------ cover
def cover():
    W, H = 584, 478
    p = Page("wiring_cover", W, H, TITLE, band=92)
    p.draw_title = False
    p.defs.append(GRADIENTS)
    p.add(label(W / 2, 38, "Quorvale Automation-", 19, ORANGE, "bold", "middle"))
    p.add(label(W / 2, 72, "Wiring Diagram for KAVOxp H1.10", 25, "#ffffff", "bold", "middle"))

    # zones
    p.add('<rect x="12" y="108" width="392" height="176" rx="8" fill="#eef4fb" stroke="%s" stroke-dasharray="6 4"/>' % NAVY_LIGHT)
    p.add(label(22, 125, "LOW VOLTAGE: PC logic, 12 V relay supply", 12, NAVY, "bold"))
    p.add('<rect x="412" y="108" width="160" height="176" rx="8" fill="%s" stroke="%s" stroke-dasharray="6 4"/>' % (DANGER_BG, RED))
    p.add(label(492, 125, "MAINS 230 / 120 V AC", 12, RED, "bold", "middle"))

    by, bh = 140, 96
    p.add(block(22, by, 104, bh, "PC", ["LPT1, 0x378", "DB-25 female", "(page 1)"]))
    p.add(arrow(126, by + bh / 2, 146, by + bh / 2))
    p.add(block(148, by, 104, bh, "Cable", ["DB-25 male", "pins 2-5: data", "18-25: GND"]))
    p.add(arrow(252, by + bh / 2, 272, by + bh / 2))
    p.add(block(274, by, 122, bh, "Relay board", ["ULN2003 driver", "4 relays, 12 V", "(pages 2, 3)"]))
    # 12 V supply feeding the board
    p.add(block(274, by + bh + 18 - 0, 122, 30, "", []))
    p.add(label(335, by + bh + 38, "12 V DC supply", 12.5, NAVY, "bold", "middle"))
    p.add(arrow(335, by + bh + 18, 335, by + bh + 2))
    # contacts to appliances
    for i in range(4):
        yy = by + 14 + i * 22
        p.add(arrow(396, yy + 8, 440, yy + 8, LIVE, 2, "arrowO"))
        p.add(socket_icon(444, yy - 2, 0.66))
        p.add(label(472, yy + 13, "Appliance %d" % (i + 1), 12, INK))
    p.add(label(492, by + bh + 38, "(page 4)", 12, MUTED, None, "middle"))

    # safety box
    f = Flow(p, 12, 298, 560, 448, size=13.5)
    f.box("MAINS SAFETY", [
        ("*", [
            "The relay contacts and appliances carry **mains voltage, which can kill**.",
            "Have the mains side wired by a **qualified electrician**, to local rules.",
            "**Isolate before any work**: unplug the mains and the relay supply.",
            "Use relays rated for the load and a closed, **insulated enclosure**.",
            "Keep the low-voltage wiring apart from the mains wiring.",
        ]),
    ], kind="danger", title_size=15, after=0)
    p.add(label(W / 2, H - 12, "1 Port pin-out   2 One channel   3 Complete board   4 Mains side",
                12.5, NAVY, "bold", "middle"))

    desc = [
        "Overview block diagram. Low voltage side (PC logic, 12 V relay supply): "
        "PC (LPT1, 0x378, DB-25 female, page 1) -> cable (DB-25 male; pins 2-5 data, 18-25 GND) "
        "-> relay board (ULN2003 driver, 4 relays, 12 V, pages 2 and 3), powered by a 12 V DC supply. "
        "Mains side (230 / 120 V AC): the relay contacts switch appliances 1 to 4 (page 4).",
    ]
    # the box text was recorded by Flow; put the diagram text before it
    i = p.desc.index("MAINS SAFETY")
    p.desc[i:i] = desc + [""]
    p.say("Pages: 1 Port pin-out, 2 One channel, 3 Complete board, 4 Mains side.")
    return p


# ------------------------------------------------------------------ page 1
def page1():
    W, H = 600, 450
    p = w_page("wiring_page1", W, H, "Parallel port pin-out (DB-25)",
               "The PC's socket (female), seen from the front", 1)
    cx, top, bot = 300, 142, 176
    pitch = 32
    # shell
    p.add('<rect x="%d" y="%d" width="%d" height="%d" rx="10" fill="url(#metal)" stroke="#4b5563" stroke-width="1.5"/>'
          % (cx - 262, top - 50, 524, 134))
    for sx in (cx - 242, cx + 242):
        p.add('<circle cx="%d" cy="%d" r="9" fill="#ffffff" stroke="#4b5563" stroke-width="1.5"/>' % (sx, (top + bot) / 2))
        p.add('<circle cx="%d" cy="%d" r="4.5" fill="#6b7280"/>' % (sx, (top + bot) / 2))
    # D-shaped insulator: wide at the top
    p.add('<path d="M%d %d H%d L%d %d H%d Z" fill="#2d3540" stroke="#111827" stroke-width="2" stroke-linejoin="round"/>'
          % (cx - 222, top - 22, cx + 222, cx + 200, bot + 22, cx - 200))

    def pos(n):
        if n <= 13:
            return cx + (7 - n) * pitch, top
        return cx + (20 - n) * pitch - pitch / 2, bot

    for n in range(1, 26):
        x, y = pos(n)
        if 2 <= n <= 5:
            fill, ink = ORANGE, NAVY_DARK
        elif n >= 18:
            fill, ink = "#3b82c4", "#ffffff"
        else:
            fill, ink = "#d1d5db", "#374151"
        p.add('<circle cx="%.1f" cy="%.1f" r="12.5" fill="%s" stroke="#0b0f14" stroke-width="1"/>' % (x, y, fill))
        p.add(label(x, y + 4.3, str(n), 12, ink, "bold", "middle"))
    # channel labels above pins 2..5
    for i, n in enumerate(range(2, 6)):
        x, y = pos(n)
        p.add(label(x, top - 58, "CH%d" % (i + 1), 13, ORANGE_DARK, "bold", "middle"))
        p.add(label(x, top - 43, "D%d" % i, 12, INK, "bold", "middle"))
        p.add(wire((x, top - 38), (x, top - 14), color=ORANGE_DARK, width=1.4))
    # ground bracket under pins 18..25
    a, _ = pos(25)
    b, _ = pos(18)
    yb = bot + 46
    p.add(wire((a, yb - 8), (a, yb), (b, yb), (b, yb - 8), color="#3b82c4", width=1.6))
    p.add(label((a + b) / 2, yb + 17, "GND, pins 18-25: join to the board's 0 V", 12.5, "#1e5a96", "bold", "middle"))

    # table
    ty = 268
    rows = [
        ("Pin", "Signal", "Connect to"),
        ("2", "D0", "channel 1 input"),
        ("3", "D1", "channel 2 input"),
        ("4", "D2", "channel 3 input"),
        ("5", "D3", "channel 4 input"),
        ("18-25", "GND", "board ground (0 V)"),
        ("1, 6-17", "-", "not used, leave open"),
    ]
    colx = (24, 88, 146)
    tw = 296
    rh = 20
    p.add('<rect x="16" y="%d" width="%d" height="%d" rx="5" fill="#ffffff" stroke="%s"/>' % (ty, tw, rh * len(rows) + 4, CODE_LINE))
    p.add('<rect x="16" y="%d" width="%d" height="%d" rx="5" fill="%s"/>' % (ty, tw, rh + 2, NAVY))
    for i, r in enumerate(rows):
        yy = ty + 15.5 + i * rh
        for j, t in enumerate(r):
            if i == 0:
                p.add(label(colx[j], yy, t, 12.5, "#ffffff", "bold"))
            else:
                bold = "bold" if j < 2 else None
                ink = ORANGE_DARK if 1 <= i <= 4 and j < 2 else ("#1e5a96" if i == 5 and j < 2 else INK)
                p.add(label(colx[j], yy, t, 12.5, ink, bold))
        if i > 0:
            p.add('<line x1="20" x2="%d" y1="%.1f" y2="%.1f" stroke="#e5e7eb"/>' % (tw + 12, ty + i * rh + 1.5, ty + i * rh + 1.5))
    f = Flow(p, 328, ty - 4, 256, 420, size=12.5)
    f.bullets([
        "Pin 1 is at the top right when you look into the PC's socket.",
        "The cable's male plug, seen from its solder side, has the same layout.",
        "Use a straight-through DB-25 cable (all 25 wires).",
        "Data lines give only 3.3-5 V and a few mA: always use the driver stage (page 2).",
    ], after=0, gap=1)

    p.say("Drawing: the PC's DB-25 female socket seen from the front. Top row, right to left: "
          "pins 1 to 13; bottom row, right to left: pins 14 to 25. Pins 2, 3, 4, 5 are marked "
          "D0, D1, D2, D3 = CH1, CH2, CH3, CH4. Pins 18 to 25 are marked GND: join to the board's 0 V. "
          "All other pins are not used.")
    # move the drawing description before the table text recorded by Flow
    d = p.desc.pop()
    i = p.desc.index("- Pin 1 is at the top right when you look into the PC's socket.")
    p.desc[i:i] = [d, "", "Pin | Signal | Connect to"] + ["%s | %s | %s" % r for r in rows[1:]] + [""]
    return p


# ------------------------------------------------------------------ page 2 (BMP, 343x344)
def page2():
    W, H = 343, 344
    p = Page("wiring_page2", W, H, "One channel: driver stage", band=40, title_size=15,
             tag="2 / 4", footer_right=None)
    p.defs.append(GRADIENTS)
    rail, gnd = 68, 262
    xin, xc, xd, xs = 16, 184, 242, 318
    yb = 196
    # +12 V rail and GND rail
    p.add(wire((xc - 40, rail), (xs, rail), color=V12, width=2.2))
    p.add(label(xc - 44, rail + 4.5, "+12 V", 13, V12, "bold", "end"))
    p.add(wire((xin, gnd), (xs, gnd), color=GNDC, width=2.2))
    # coil and flyback diode
    p.add(coil_v(xc, rail, 150, w=22, h=42))
    p.add(label(xc - 18, 100, "K1", 13, NAVY, "bold", "end"))
    p.add(label(xc - 18, 115, "relay coil", 12, INK, None, "end"))
    p.add(label(xc - 18, 129, "12 V", 12, INK, None, "end"))
    p.add(diode_v(xd, rail, 150, up=True, color=ORANGE_DARK))
    p.add(wire((xd, 150), (xc, 150)))
    p.add(dot(xc, rail, V12) + dot(xd, rail, V12) + dot(xc, 150))
    p.add(label(xd + 14, 98, "D1", 13, ORANGE_DARK, "bold"))
    p.add(label(xd + 14, 113, "1N4148", 12, INK))
    p.add(label(xd + 14, 127, "1N4007", 12, INK))
    # transistor
    svg, pins = npn(xc - 7, yb)
    p.add(svg)
    p.add(wire((xc, 150), pins["c"]))
    p.add(wire(pins["e"], (xc, gnd)))
    p.add(dot(xc, gnd))
    p.add(label(xc + 26, yb - 6, "Q1", 13, NAVY, "bold"))
    p.add(label(xc + 26, yb + 9, "BC547 or", 12, INK))
    p.add(label(xc + 26, yb + 23, "2N2222", 12, INK))
    # input and base resistor
    p.add(terminal(xin, yb, LOGIC))
    p.add(resistor_h(xin + 4, pins["b"][0], yb, color=LOGIC))
    rm = (xin + 4 + pins["b"][0]) / 2
    p.add(label(xin - 4, yb - 14, "PC data D0 (pin 2)", 12, LOGIC, "bold"))
    p.add(label(rm, yb + 22, "R1", 13, NAVY, "bold", "middle"))
    p.add(label(rm, yb + 37, "2.2k - 4.7k", 12, INK, None, "middle"))
    # supply on the right
    sy = 144
    p.add(wire((xs, rail), (xs, sy - 12), color=V12, width=2.2) + wire((xs, sy + 12), (xs, gnd), color=GNDC, width=2.2))
    p.add('<circle cx="%d" cy="%d" r="12" fill="#ffffff" stroke="%s" stroke-width="1.8"/>' % (xs, sy, INK))
    p.add(label(xs, sy - 1, "+", 12, V12, "bold", "middle"))
    p.add('<path d="M%d %d h6" stroke="%s" stroke-width="1.6"/>' % (xs - 3, sy + 6, INK))
    p.add(label(xs + 14, 210, "12 V DC supply", 12, INK, "bold", "middle",
                extra=' transform="rotate(-90 %d 210)"' % (xs + 14)))
    p.add(dot(xs, rail, V12) + dot(xs, gnd))
    p.add(terminal(xin, gnd))
    p.add(ground(xin + 46, gnd))
    # captions
    p.add(label(xin - 4, gnd - 10, "PC GND (pins 18-25)", 12, INK, "bold"))
    p.add(label(xin - 4, gnd + 30, "Common 0 V: the supply minus is joined", 12, INK, "bold"))
    p.add(label(xin - 4, gnd + 44, "to the PC ground.", 12, INK, "bold"))
    p.add(label(xin - 4, gnd + 62, "ULN2003/ULN2803: one channel replaces R1,", 12, MUTED))
    p.add(label(xin - 4, gnd + 76, "Q1 and D1 (its COM pin to +12 V).", 12, MUTED))
    p.say("Schematic of one channel. The PC data line D0 (pin 2) goes through the base resistor "
          "R1 (2.2k to 4.7k) to the base of the NPN transistor Q1 (BC547 or 2N2222). "
          "The emitter of Q1 goes to 0 V. The collector of Q1 goes to one end of the relay coil K1 "
          "(12 V); the other end of the coil goes to +12 V. The flyback diode D1 (1N4148 or 1N4007) "
          "is across the coil: anode to the collector, cathode (bar) to +12 V. "
          "A separate 12 V DC supply feeds the +12 V line.")
    p.say("")
    p.say("PC GND (pins 18-25) is on the 0 V line.")
    p.say("Common 0 V: the supply minus is joined to the PC ground.")
    p.say("ULN2003/ULN2803: one channel replaces R1, Q1 and D1 (its COM pin to +12 V).")
    p.say("")
    p.say("Wiring Diagram - page 2 of 4")
    return p


# ------------------------------------------------------------------ page 3
def page3():
    W, H = 703, 596
    p = w_page("wiring_page3", W, H, "The complete 4-channel board",
               "DB-25 cable, ULN2003 driver, four relays, 12 V supply, common ground", 3)
    gy = 548        # ground rail
    bus = 404       # +12 V bus (vertical)
    pin_y = [128 + i * 28 for i in range(8)]  # U1 pins 1..8 (left), 16..9 (right)
    ux1, ux2 = 222, 310  # chip body

    # DB-25 block
    p.add('<rect x="18" y="100" width="92" height="208" rx="6" fill="%s" stroke="%s" stroke-width="1.5"/>' % (NOTE_BG, NAVY))
    p.add(label(64, 92, "From the PC", 12.5, NAVY, "bold", "middle"))
    p.add(label(64, 120, "DB-25 plug", 12, NAVY, "bold", "middle"))
    pin_rows = [("2", "D0"), ("3", "D1"), ("4", "D2"), ("5", "D3")]
    for i, (n, d) in enumerate(pin_rows):
        y = pin_y[i] + 24
        p.add(label(26, y + 4.5, "pin %s" % n, 12, INK))
        p.add(label(96, y + 4.5, d, 12, LOGIC, "bold", "end"))
        p.add(terminal(110, y, LOGIC, 3.5))
    gyrow = 286
    p.add(label(26, gyrow + 4.5, "18-25", 12, INK))
    p.add(label(96, gyrow + 4.5, "GND", 12, INK, "bold", "end"))
    p.add(terminal(110, gyrow, GNDC, 3.5))
    p.add(wire((114, gyrow), (140, gyrow), (140, gy)))
    p.add(dot(140, gy))

    # U1 ULN2003A
    top, bottom = pin_y[0] - 20, pin_y[7] + 20
    p.add('<rect x="%d" y="%d" width="%d" height="%d" rx="4" fill="#1f2937" stroke="#000"/>' % (ux1, top, ux2 - ux1, bottom - top))
    p.add('<path d="M%d %d a9 9 0 0 0 18 0" fill="#374151"/>' % ((ux1 + ux2) / 2 - 9, top))
    p.add(label((ux1 + ux2) / 2, top - 8, "U1 ULN2003A", 13, NAVY, "bold", "middle"))
    left = ["1B", "2B", "3B", "4B", "5B", "6B", "7B", "GND"]
    right = ["1C", "2C", "3C", "4C", "5C", "6C", "7C", "COM"]
    for i in range(8):
        y = pin_y[i]
        p.add(wire((ux1 - 14, y), (ux1, y), color="#6b7280", width=2.5))
        p.add(wire((ux2, y), (ux2 + 14, y), color="#6b7280", width=2.5))
        p.add(label(ux1 + 6, y + 4.5, left[i], 12, "#ffffff", "bold"))
        p.add(label(ux2 - 6, y + 4.5, right[i], 12, "#ffffff", "bold", "end"))
        p.add(label(ux1 - 16, y - 4, str(i + 1), 12, MUTED, None, "end"))
        p.add(label(ux2 + 16, y - 4, str(16 - i), 12, MUTED))
    # data lines DB-25 -> U1 inputs
    for i in range(4):
        ys = pin_y[i] + 24
        xm = 170 - i * 10
        p.add(wire((113.5, ys), (xm, ys), (xm, pin_y[i]), (ux1 - 14, pin_y[i]), color=LOGIC))
    # U1 GND (pin 8) to the ground rail
    p.add(wire((ux1 - 14, pin_y[7]), (ux1 - 24, pin_y[7]), (ux1 - 24, gy)))
    p.add(dot(ux1 - 24, gy))

    # relays K1..K4
    rx1, rx2 = 432, 560
    rtop = [96 + k * 98 for k in range(4)]
    vx = [392, 378, 364, 350]  # vertical runs of outputs 1..4
    for k in range(4):
        t = rtop[k]
        a1, a2 = t + 16, t + 67
        p.add('<rect x="%d" y="%d" width="%d" height="79" rx="6" fill="#f4f7fc" stroke="%s" '
              'stroke-width="1.4" stroke-dasharray="5 3"/>' % (rx1, t, rx2 - rx1, NAVY_LIGHT))
        p.add(label(rx1 + 4, t - 5, "K%d (12 V coil)" % (k + 1), 12, NAVY, "bold"))
        cxk = rx1 + 24
        p.add(wire((bus, a1), (cxk, a1), color=V12) + coil_v(cxk, a1, a2, w=20, h=34) + wire((cxk, a2), (rx1, a2)))
        # changeover contact, drawn at rest: COM touches NC
        ync, ycom, yno = t + 20, t + 42, t + 64
        xc_, xpiv = rx1 + 70, rx1 + 104
        p.add(terminal(xc_, ync, INK, 3) + terminal(xc_, yno, INK, 3) + terminal(xpiv, ycom, INK, 3))
        p.add(wire((xpiv - 3, ycom - 1), (xc_ + 2, ync + 3), width=2.2))
        link_y = (ync + ycom) / 2 + 1
        p.add(wire((cxk + 10, link_y), ((xc_ + xpiv) / 2 - 2, link_y), color="#6b7280", width=1.2, dash="3 3"))
        tx = rx2 + 30
        for nm, (x0, y0) in (("NC", (xc_, ync)), ("COM", (xpiv, ycom)), ("NO", (xc_, yno))):
            p.add(wire((x0 + 3, y0), (tx, y0), color=LIVE, width=1.8))
            p.add('<rect x="%d" y="%d" width="22" height="18" rx="2" fill="#1e8fa3" stroke="#0d5663"/>' % (tx, y0 - 9))
            p.add('<circle cx="%d" cy="%d" r="5" fill="#cfd6dd" stroke="#5b6570"/>' % (tx + 11, y0))
            p.add(label(tx + 28, y0 + 4.5, nm, 12, INK, "bold"))
        p.add(label(tx + 34, t - 5, "CH%d" % (k + 1), 12.5, LIVE, "bold", "middle"))
        p.add(dot(bus, a1, V12))
        # output k of U1 to the coil's low end, hopping over the +12 V bus
        yk = pin_y[k]
        p.add(wire((ux2 + 14, yk), (vx[k], yk), (vx[k], a2)))
        p.add(hwire_hop(vx[k], rx1, a2, [bus]))
    # +12 V bus
    ycom = 470
    p.add(wire((bus, rtop[0] + 16), (bus, 500), color=V12, width=2.2))
    p.add(label(bus - 6, rtop[0] + 4, "+12 V", 13, V12, "bold", "end"))
    # COM (pin 9) to +12 V
    p.add(wire((ux2 + 14, pin_y[7]), (ux2 + 26, pin_y[7]), (ux2 + 26, ycom), (bus, ycom), color=V12))
    p.add(dot(bus, ycom, V12))
    # C1
    cxp = 376
    p.add(dot(cxp, ycom, V12))
    p.add(cap_v(cxp, ycom, gy))
    p.add(label(cxp - 22, 514, "C1 100 \u00b5F", 12, INK, "bold", "end"))
    p.add(label(cxp - 22, 528, "25 V", 12, INK, None, "end"))
    p.add(dot(cxp, gy))
    # power supply
    px, pyy = 420, 484
    p.add('<rect x="%d" y="%d" width="84" height="46" rx="5" fill="#fff7ed" stroke="%s" stroke-width="1.5"/>' % (px, pyy, V12))
    p.add(label(px + 42, pyy + 19, "12 V DC", 12.5, V12, "bold", "middle"))
    p.add(label(px + 42, pyy + 35, "\u2265 500 mA", 12, INK, None, "middle"))
    p.add(wire((bus, 500), (px, 500), color=V12, width=2.2))
    p.add(label(px + 4, 498, "+", 12, V12, "bold"))
    p.add(wire((px + 42, pyy + 46), (px + 42, gy)))
    p.add(label(px + 48, pyy + 58, "\u2212", 13, INK, "bold"))
    p.add(dot(px + 42, gy))
    # ground rail
    p.add(wire((140, gy), (px + 42, gy), width=2.2))
    p.add(ground(280, gy))
    p.add(label(150, gy - 6, "common ground (0 V)", 12, INK, "bold"))

    # notes
    n = Flow(p, 18, 322, 112, 530, size=12)
    n.para("U1 pins 5-7 and 10-12: not connected.", size=12, fill=MUTED, after=4, say=False)
    n.para("COM (pin 9) to +12 V: the flyback diodes are inside U1.", size=12, fill=MUTED, after=0, say=False)
    f = Flow(p, 520, 482, 172, 566, size=12)
    f.para("Relays: 12 V coil, contacts rated for the load (e.g. 10 A 250 V AC). "
           "Contacts to the mains side: **page 4**.", size=12, after=0, say=False)

    p.say("Schematic. From the PC, DB-25 plug: pin 2 D0, pin 3 D1, pin 4 D2, pin 5 D3 go to the inputs "
          "1B, 2B, 3B, 4B (pins 1 to 4) of U1, a ULN2003A. DB-25 pins 18-25 (GND) go to the common "
          "ground (0 V). U1 pin 8 (GND) goes to the common ground. U1 outputs 1C, 2C, 3C, 4C "
          "(pins 16, 15, 14, 13) go to one end of the coils of relays K1, K2, K3, K4 (12 V coils); "
          "the other coil ends go to the +12 V line. U1 pin 9 (COM) goes to +12 V. "
          "C1, 100 uF 25 V, sits between +12 V and the common ground. A 12 V DC supply of at least "
          "500 mA feeds +12 V; its minus goes to the common ground. The contacts NC, COM and NO of "
          "each relay go to a terminal block marked CH1 to CH4.")
    p.say("")
    p.say("U1 pins 5-7 and 10-12: not connected.")
    p.say("COM (pin 9) to +12 V: the flyback diodes are inside U1.")
    p.say("Relays: 12 V coil, contacts rated for the load (e.g. 10 A 250 V AC). "
          "Contacts to the mains side: page 4.")
    return p


# ------------------------------------------------------------------ page 4
def page4():
    W, H = 495, 519
    p = w_page("wiring_page4", W, H, "Mains side: one appliance",
               "Relay contact switches the live conductor", 4, title_size=19)
    # enclosure
    p.add('<rect x="62" y="76" width="238" height="186" rx="10" fill="#f3f4f6" stroke="#6b7280" stroke-width="1.6" stroke-dasharray="7 4"/>')
    p.add(label(181, 254, "insulated enclosure", 12, MUTED, "bold", "middle"))
    # incoming mains
    yl, yn, ye = 118, 180, 218
    p.add(label(8, 88, "Mains", 12.5, INK, "bold"))
    for y, t, c in ((yl, "L", LIVE), (yn, "N", NEUTRAL), (ye, "PE", EARTH)):
        p.add(terminal(30, y, c, 5))
        p.add(label(22, y + 4.5, t, 12, c, "bold", "end"))
    # fuse in L
    p.add(wire((35, yl), (96, yl), color=LIVE, width=3))
    p.add('<rect x="96" y="%d" width="40" height="14" rx="2" fill="#ffffff" stroke="%s" stroke-width="2"/>' % (yl - 7, LIVE))
    p.add(wire((96, yl), (136, yl), color=LIVE, width=1.4))
    p.add(label(116, yl - 14, "F1 fuse", 12, INK, "bold", "middle"))
    p.add(wire((136, yl), (170, yl), color=LIVE, width=3))
    # relay contact COM -> NO
    p.add(terminal(174, yl, INK, 4))
    p.add(wire((177, yl - 2), (215, yl - 27), width=2.6))
    p.add(terminal(218, yl, INK, 4))
    p.add(terminal(218, yl - 30, INK, 4))
    p.add(label(174, yl + 20, "COM", 12, INK, "bold", "middle"))
    p.add(label(222, yl + 20, "NO", 12, INK, "bold", "middle"))
    p.add(label(232, yl - 26, "NC (unused)", 12, MUTED))
    # relay coil indication
    p.add('<rect x="156" y="140" width="80" height="24" rx="4" fill="#ffffff" stroke="%s" stroke-dasharray="4 3"/>' % NAVY_LIGHT)
    p.add(label(196, 157, "K1 coil", 12, NAVY, "bold", "middle"))
    p.add(wire((196, 140), (196, yl - 12), color="#6b7280", width=1.2, dash="3 3"))
    # outputs to appliance
    p.add(wire((222, yl), (370, yl), color=LIVE, width=3))
    p.add(wire((35, yn), (370, yn), color=NEUTRAL, width=3))
    p.add(earth_wire((35, ye), (370, ye)))
    # earth to enclosure metal parts (if any)
    p.add(dot(100, ye, EARTH, 4))
    p.add(earth_wire((100, ye), (100, 238), width=2.2))
    p.add(label(108, 240, "to any metal parts", 12, INK))
    # appliance
    p.add('<rect x="370" y="94" width="110" height="150" rx="8" fill="#ffffff" stroke="%s" stroke-width="1.6"/>' % NAVY)
    p.add(label(425, 86, "Appliance", 12.5, NAVY, "bold", "middle"))
    for y, t, c in ((yl, "L", LIVE), (yn, "N", NEUTRAL), (ye, "PE", EARTH)):
        p.add(terminal(370, y, c, 5))
        p.add(label(384, y + 4.5, t, 12, c, "bold"))
    # load symbol: lamp
    p.add('<circle cx="444" cy="150" r="16" fill="#fff9db" stroke="%s" stroke-width="1.8"/>' % INK)
    p.add('<path d="M432.7 138.7 L455.3 161.3 M455.3 138.7 L432.7 161.3" stroke="%s" stroke-width="1.8"/>' % INK)
    p.add(label(412, 152, "load", 12, MUTED, None, "end"))
    p.add(label(12, 282, "L live, brown  \u00b7  N neutral, blue  \u00b7  PE earth, green/yellow", 12, INK))
    p.add(label(12, 297, "(US: hot black, neutral white, ground green)", 12, MUTED))

    p.say("Diagram: Mains L (live, brown), N (neutral, blue), PE (earth, green/yellow). "
          "L goes through the fuse F1 to the COM contact of relay K1; the NO contact goes to the "
          "appliance's L. The NC contact is unused. N goes directly to the appliance's N, PE "
          "directly to the appliance's PE and to any metal parts of the enclosure. "
          "Fuse and relay sit in an insulated enclosure. The K1 coil is driven by the board (page 3).")
    p.say("L live, brown; N neutral, blue; PE earth, green/yellow (US: hot black, neutral white, ground green).")
    p.say("")

    f = Flow(p, 12, 308, 471, 492, size=12.5)
    f.box("DANGER: MAINS VOLTAGE CAN KILL", [
        ("*", [
            "Mains wiring only by a **qualified electrician**, to local rules.",
            "**Isolate before any work**: unplug the mains and the relay supply, then check that it is dead.",
            "Relay contacts rated above the appliance's current (e.g. 10 A 250 V AC); "
            "fuse no larger than that rating.",
            "Switch the live (L) only; never switch or break the earth.",
            "Closed, **insulated enclosure** with cable strain relief; keep mains wires apart from the 12 V side.",
        ]),
    ], kind="danger", title_size=14, after=0)
    return p


def build():
    return [cover(), page1(), page2(), page3(), page4()]
