"""Operation guide: cover and pages 1..3."""

from helpkit import (
    CODE_LINE, Flow, GREEN, INK, MONO, MUTED, NAVY, NAVY_DARK, NAVY_LIGHT, ORANGE,
    ORANGE_DARK, Page, RED, label, text_width,
)
from figures import (
    APPLIANCES, APPLIANCE_NAMES, GRADIENTS, button, clock, face, panel, relay_board,
    small_button, warn_dot,
)

PRODUCT = "Quorvale Automation KAVO H1.10xp"
GUIDE = "Instalation & Operartion Guide.."


def og_page(name, w, title, subtitle, n):
    p = Page(name, w, 637, title, subtitle, tag="Operation Guide  %d / 3" % n,
             footer_right="Operation Guide - page %d of 3" % n)
    p.defs.append(GRADIENTS)
    return p


# ------------------------------------------------------------------ cover
def cover():
    W, H = 694, 637
    p = Page("og_cover", W, H, GUIDE, PRODUCT, band=124)
    p.draw_title = False
    p.defs.append(GRADIENTS)
    p.add(label(W / 2, 56, GUIDE, 31, "#ffffff", "bold", "middle"))
    p.add(label(W / 2, 96, PRODUCT, 22, ORANGE, "bold", "middle"))

    # monitor showing the panel
    mx, my = 22, 150
    p.add('<rect x="%d" y="%d" width="322" height="222" rx="10" fill="#1f2937" stroke="#0b1220" stroke-width="2"/>' % (mx, my))
    p.add('<rect x="%d" y="%d" width="302" height="202" rx="3" fill="#dfe8f3"/>' % (mx + 10, my + 10))
    p.add('<path d="M%d %d h60 l12 34 h-84 z" fill="#374151"/>' % (mx + 131, my + 222))
    p.add('<rect x="%d" y="%d" width="120" height="8" rx="3" fill="#1f2937"/>' % (mx + 101, my + 254))
    p.add(panel(mx + 11, my + 14, 1.0))
    p.add(label(mx + 161, my + 282, "The control panel on your Linux PC (LPT1, 0x378)", 12.5, MUTED, None, "middle"))

    # cable from PC to the board
    bx, by = 404, 176
    p.add('<path d="M%d %d C %d %d, %d %d, %d %d" fill="none" stroke="#4b5563" stroke-width="7" stroke-linecap="round"/>'
          % (mx + 322, my + 150, mx + 372, my + 150, bx - 60, by + 80, bx - 14, by + 80))
    p.add('<path d="M%d %d C %d %d, %d %d, %d %d" fill="none" stroke="#9ca3af" stroke-width="2"/>'
          % (mx + 322, my + 148, mx + 372, my + 148, bx - 60, by + 78, bx - 14, by + 78))
    p.add(label(371, 232, "DB-25", 12.5, NAVY, "bold", "middle"))
    p.add(label(371, 248, "cable", 12.5, NAVY, "bold", "middle"))
    p.add(relay_board(bx, by, 1.0))
    p.add(label(bx + 135, by - 10, "Four-channel relay board", 12.5, MUTED, None, "middle"))

    # appliances under the board, wired from the terminals
    ay = 424
    for i, (draw, name) in enumerate(zip(APPLIANCES, APPLIANCE_NAMES)):
        ax = 392 + i * 76
        p.add('<rect x="%d" y="%d" width="64" height="72" rx="8" fill="#ffffff" stroke="%s"/>' % (ax - 32, ay - 30, CODE_LINE))
        p.add(draw(ax, ay, 1.0) if name != "Lamp" else draw(ax, ay - 2, 1.0, lit=True))
        p.add(label(ax, ay + 35, "%d  %s" % (i + 1, name), 12.5, INK, "bold", "middle"))
    p.add('<path d="M%d %d V%d H%d M%d %d V%d" fill="none" stroke="#8a5a2b" stroke-width="2.5"/>'
          % (bx + 245, by + 170, 378, 392, bx + 245, 378, 386))
    for i in range(4):
        ax = 392 + i * 76
        p.add('<path d="M%d 378 V%d" stroke="#8a5a2b" stroke-width="2.5" marker-end="url(#arrowO)"/>' % (ax, 392))
    p.add('<path d="M392 378 H%d" stroke="#8a5a2b" stroke-width="2.5"/>' % (392 + 3 * 76))
    p.add(label(bx + 150, 372, "mains", 12, "#8a5a2b", "bold", "end"))

    # contents
    cy = 486
    p.add('<rect x="22" y="%d" width="650" height="84" rx="8" fill="#ffffff" stroke="%s"/>' % (cy, CODE_LINE))
    p.add(label(38, cy + 22, "In this guide", 14, NAVY, "bold"))
    items = [
        ("1", "Installing and running on Linux"),
        ("2", "The main window, control by control"),
        ("3", "Timer mode, skins, plain view and exit"),
    ]
    for i, (n, t) in enumerate(items):
        yy = cy + 44 + i * 17 if i < 2 else cy + 44 + 17 * 2
        xx = 38 if i < 2 else 38
        p.add('<circle cx="%d" cy="%d" r="8" fill="%s"/>' % (xx + 6, yy - 4.5, ORANGE))
        p.add(label(xx + 6, yy, n, 12, NAVY_DARK, "bold", "middle"))
        p.add(label(xx + 20, yy, "Page %s - %s" % (n, t), 13, INK))
    # Press 1
    px, py = 410, cy + 26
    p.add('<rect x="%d" y="%d" width="246" height="46" rx="23" fill="%s"/>' % (px, py, NAVY))
    p.add('<rect x="%d" y="%d" width="32" height="32" rx="5" fill="#f8f9fa" stroke="%s" stroke-width="2"/>' % (px + 14, py + 7, ORANGE))
    p.add(label(px + 30, py + 30, "1", 19, NAVY_DARK, "bold", "middle", MONO))
    p.add(label(px + 58, py + 29, "Press 1 to begin", 18, "#ffffff", "bold"))

    p.add(label(W / 2, H - 34, "Switches four mains appliances through a relay board on the PC's parallel port.",
                12.5, MUTED, None, "middle"))
    p.add(label(W / 2, H - 15, "Mains wiring must be done by a qualified electrician - see the Wiring Diagram.",
                12.5, RED, "bold", "middle"))

    p.say("Illustration: a PC screen showing the control panel (clock, four channel buttons 1 to 4, "
          "All On, All Off, Timer Mode, Wiring, Operation Guide), joined by a DB-25 cable "
          "(LPT1, 0x378) to a four-channel relay board, which switches four appliances: "
          "1 Lamp, 2 Fan, 3 Heater, 4 Pump.")
    p.say("")
    p.say("In this guide:")
    for n, t in items:
        p.say("Page %s - %s" % (n, t))
    p.say("")
    p.say("Press 1 to begin")
    p.say("")
    p.say("Switches four mains appliances through a relay board on the PC's parallel port.")
    p.say("Mains wiring must be done by a qualified electrician - see the Wiring Diagram.")
    return p


# ------------------------------------------------------------------ page 1
def page1():
    p = og_page("og_page1", 628, "Installing and running on Linux",
                "Build, connect the relay board, give the program the parallel port", 1)
    f = Flow(p, 22, 70, 584, 606, size=13)
    f.heading("Build and start", num=1)
    f.code([
        "scripts/run-panel.sh     # installs, builds, starts",
        "build/app/kavo-panel     # later starts",
    ], after=5)
    f.para("Run the built program as your normal user (no sudo). "
           "**At start all four outputs are switched off.**", after=6)

    f.heading("Connect the relay board", num=2)
    f.para("Plug the board's DB-25 cable into the PC's parallel port. The program writes to the "
           "first port, LPT1 (data register `0x378`), through `/dev/parport0`: data bits D0..D3 "
           "(pins 2..5) drive channels 1..4, pins 18..25 are ground. A built-in port or a PCI/PCIe "
           "parallel card works; a USB printer cable does not.", after=6)

    f.heading("Load the ppdev driver", num=3)
    f.code([
        "sudo modprobe ppdev                       # now",
        "echo ppdev | sudo tee /etc/modules-load.d/ppdev.conf   # at boot",
        "ls -l /dev/parport0                       # check",
    ], after=6)

    top = f.y
    left = Flow(p, 22, top, 284, 606, size=13)
    left.heading("Allow your user", num=4)
    left.code(["sudo adduser $USER lp"], after=4)
    left.para("/dev/parport0 belongs to group `lp`. **Log out and log in again** so that the new "
              "group counts (`groups` lists lp).", after=6)
    right = Flow(p, 322, top, 284, 606, size=13)
    right.heading("Free the port", num=5)
    right.code(["sudo rmmod lp"], after=4)
    right.para("The `lp` printer driver can hold the port. If it is back after a reboot, "
               "remove the line `lp` from /etc/modules.", after=6)
    f.y = max(left.y, right.y) + 1

    # the warning dot
    y0 = f.y
    p.add('<rect x="22" y="%.1f" width="584" height="%.1f" rx="6" fill="#fff3d4" stroke="%s" stroke-width="1.2"/>'
          % (y0, 604 - y0, ORANGE_DARK))
    p.add(warn_dot(42, y0 + 16, 7))
    g = Flow(p, 58, y0 + 4, 538, 606, size=13)
    g.para("**The small warning dot** on the main window means **writes to the relay board are failing**. Hover the "
           "mouse over it for the reason; the program also prints the reason on stderr (start it "
           "from a terminal to see it). After fixing, the next switch tries again.", after=3)
    g.bullets([
        "\"No such file or directory\": step 3 (no ppdev, or no port)",
        "\"Permission denied\": step 4 (not in group lp yet)",
        "\"Device or resource busy\": step 5 (lp holds the port)",
    ], after=0, gap=0)
    return p


# ------------------------------------------------------------------ page 2
def page2():
    W = 694
    p = og_page("og_page2", W, "The main window, control by control",
                "Buttons, clock, moving the window, menu and shortcuts", 2)
    x0, gx, tx = 20, 20, 138
    y = 70
    rows = []

    def row(height, glyph, markup):
        nonlocal y
        f = Flow(p, tx, y, W - tx - 20, 606, size=13)
        if isinstance(markup, list):
            f.bullets(markup, after=0, gap=0)
        else:
            f.para(markup, after=0)
        h = max(height, f.y - y)
        p.add(glyph(y, h))
        y += h + 5
        p.add('<line x1="%d" x2="%d" y1="%.1f" y2="%.1f" stroke="%s"/>' % (x0, W - 20, y - 2.5, y - 2.5, "#e1e6ee"))

    def g_faces(y, h):
        return face(gx + 24, y + h / 2, 21, True) + face(gx + 76, y + h / 2, 21, False)

    row(56, g_faces,
        "**Channel buttons 1..4** - one per appliance. While a channel is **off**, its button shows "
        "the **ON** face: click it to switch the channel on. While the channel is **on**, the button "
        "shows the **OFF** face: click it to switch the channel off.")

    def g_all(y, h):
        return button(gx, y + h / 2 - 21.5, 106, 20, "All On") + button(gx, y + h / 2 + 1.5, 106, 20, "All Off")

    row(44, g_all, "**\"All On\" / \"All Off\"** - switch all four channels on, or all off, at once.")

    def g_timer(y, h):
        return button(gx, y + h / 2 - 21.5, 106, 20, "Timer Mode", 12) + button(gx, y + h / 2 + 1.5, 106, 20, "Simple Mode", 12)

    row(44, g_timer, "**\"Timer Mode\"** shows the timer panel, one time row per channel (page 3); "
                     "**\"Simple Mode\"** hides it again. Keys: Ctrl+T shows it, Ctrl+S hides it.")

    def g_help(y, h):
        return button(gx, y + h / 2 - 21.5, 106, 20, "Wiring") + button(gx, y + h / 2 + 1.5, 106, 20, "Operation Guide", 12)

    row(44, g_help, "**\"Wiring\"** opens the wiring diagram of the relay board; **\"Operation Guide\"** "
                    "opens this guide.")

    def g_small(y, h):
        return "".join(small_button(gx + i * 25, y + h / 2 - 10, 21, t, 12) for i, t in enumerate(["XP", "?", "_", "X"]))

    row(66, g_small, [
        "**\"XP\"** - plain view: an ordinary rectangular window without skin (page 3)",
        "**\"?\"** - the About window",
        "**\"_\"** - minimise the window (timer rows keep working)",
        "**\"X\"** - exit: switches **ALL outputs off**, then quits",
    ])

    def g_clock(y, h):
        return clock(gx, y + h / 2 - 13, 106, 26, "18:00:00", 15)

    row(40, g_clock, "**Clock** - the current time of day; timer rows fire when it reaches their time.")

    def g_drag(y, h):
        cx, cy = gx + 53, y + h / 2
        s = ('<g fill="%s">' % NAVY)
        for a in (0, 90, 180, 270):
            s += '<path d="M%.1f %.1f l-6 9 h4 v8 h4 v-8 h4 z" transform="rotate(%d %.1f %.1f)"/>' % (cx, cy - 19, a, cx, cy)
        return s + '<circle cx="%.1f" cy="%.1f" r="3" /></g>' % (cx, cy)

    row(40, g_drag, "**Moving the window** - press the left mouse button anywhere on the panel's surface "
                    "(not on a control) and drag.")

    # menu
    y += 2
    mx, my = 20, y + 4
    items = [("Schduler", "\u25b8"), ("Emergency Mode", "\u25b8"), ("Skin", "\u25b8"), ("Help", "\u25b8"), ("Exit", "")]
    mw, ih = 150, 22
    p.add('<rect x="%d" y="%d" width="%d" height="%d" fill="#000" opacity="0.2"/>' % (mx + 3, my + 3, mw, ih * 5 + 6))
    p.add('<rect x="%d" y="%d" width="%d" height="%d" fill="#f8f9fa" stroke="#6b7685"/>' % (mx, my, mw, ih * 5 + 6))
    for i, (t, arrow) in enumerate(items):
        iy = my + 3 + i * ih
        if i == 1:
            p.add('<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>' % (mx + 2, iy, mw - 4, ih, NAVY_LIGHT))
        fill = "#ffffff" if i == 1 else INK
        p.add(label(mx + 12, iy + 15.5, t, 13, fill))
        if arrow:
            p.add(label(mx + mw - 14, iy + 15.5, arrow, 12, fill, anchor="middle"))
    sx, sy, sw = mx + mw - 4, my + 3 + ih - 2, 150
    p.add('<rect x="%d" y="%d" width="%d" height="%d" fill="#000" opacity="0.2"/>' % (sx + 3, sy + 3, sw, ih * 2 + 6))
    p.add('<rect x="%d" y="%d" width="%d" height="%d" fill="#f8f9fa" stroke="#6b7685"/>' % (sx, sy, sw, ih * 2 + 6))
    for i, (t, k) in enumerate([("ALL ON", "Ctrl+A"), ("ALL OFF", "Ctrl+O")]):
        iy = sy + 3 + i * ih
        p.add(label(sx + 10, iy + 15.5, t, 13, INK))
        p.add(label(sx + sw - 10, iy + 15.5, k, 12.5, MUTED, anchor="end"))
    p.add(label(mx, my + ih * 5 + 26, "Right-click on the panel", 12.5, MUTED))

    f = Flow(p, 336, y, W - 336 - 20, 606, size=13)
    f.para("**The menu** - right-click anywhere on the panel, or press **F10** or the **Menu** key:", after=1)
    f.bullets([
        "**Schduler** - timer panel (Ctrl+T / Ctrl+S)",
        "**Emergency Mode** - \"ALL ON\", \"ALL OFF\"",
        "**Skin** - the look of the panel (page 3)",
        "**Help** - guide, wiring diagram, About",
        "**Exit** - like \"X\": ALL outputs off, quit",
    ], after=3, gap=0)
    f.para("**Keys:** Ctrl+A ALL ON, Ctrl+O ALL OFF, Ctrl+T timer panel, Ctrl+S hide it, "
           "F10 or Menu key: the menu.", after=0)

    p.say("")
    p.say("Picture of the menu: Schduler, Emergency Mode (open, with ALL ON Ctrl+A and ALL OFF Ctrl+O), "
          "Skin, Help, Exit.")
    return p


# ------------------------------------------------------------------ page 3
def page3():
    W = 628
    p = og_page("og_page3", W, "Timer mode, skins, plain view, exit",
                "Switching at a time of day, changing the look, leaving safely", 3)
    f = Flow(p, 22, 70, 584, 606, size=13)
    f.heading("Timer mode (Ctrl+T)")
    # picture of the rows, on the right
    rx, ry = 392, f.y + 2
    rows = [
        ("1", "18:00:00", "armed"),
        ("2", "hh:mm:ss", "idle"),
        ("3", "6 pm", "refused"),
        ("4", "06:30:00", "armed"),
    ]
    p.add('<rect x="%d" y="%.1f" width="214" height="142" rx="6" fill="#ffffff" stroke="%s"/>' % (rx, ry, CODE_LINE))
    for i, (n, t, st) in enumerate(rows):
        yy = ry + 10 + i * 32
        p.add(label(rx + 14, yy + 17, n, 13, NAVY, "bold"))
        col = {"armed": GREEN, "idle": RED, "refused": INK}[st]
        bg = {"armed": "#e3f6e8", "idle": "#ffffff", "refused": "#ffffff"}[st]
        p.add('<rect x="%d" y="%.1f" width="96" height="24" rx="2" fill="%s" stroke="%s" stroke-width="1.4"/>'
              % (rx + 30, yy, bg, col))
        p.add(label(rx + 78, yy + 17, t, 13.5, col, "bold", "middle", MONO))
        bx = rx + 134
        p.add('<rect x="%d" y="%.1f" width="18" height="18" rx="2" fill="%s" stroke="%s" stroke-width="1.4"/>'
              % (bx, yy + 3, "#1e8a3a" if st == "armed" else "#ffffff", "#1e8a3a" if st == "armed" else "#6b7685"))
        if st == "armed":
            p.add('<path d="M%d %.1f l4 4 l8 -9" fill="none" stroke="#ffffff" stroke-width="2.4"/>' % (bx + 4, yy + 12))
        note = {"armed": "armed", "idle": "free", "refused": "beep!"}[st]
        p.add(label(bx + 24, yy + 17, note, 12, col if st != "refused" else ORANGE_DARK, "bold"))
    p.say("Picture of the timer rows: row 1 armed at 18:00:00 (green, box ticked); row 2 free, "
          "showing red hh:mm:ss; row 3 with the text \"6 pm\" refused with a beep, box clear; "
          "row 4 armed at 06:30:00.")

    s = Flow(p, 22, f.y, 356, 606, size=13)
    s.bullets([
        "Type a time of day as **HH:MM:SS**, 24-hour form with leading zeros: 6 am = `06:00:00`, "
        "6 pm = `18:00:00`.",
        "Tick the row's box to arm it: the row turns **green** and is locked.",
        "A text that is not a valid time is refused with a **beep**; the box stays clear.",
    ], bullet="\u25b8", gap=2, after=4)
    f.y = max(s.y, ry + 150)
    f.bullets([
        "At that time the channel **toggles once** (on if it was off, off if it was on), without a "
        "beep, and the row returns to red \"hh:mm:ss\", ready for the next time.",
        "Rows keep working with the timer panel hidden (Simple Mode, Ctrl+S) or the window "
        "minimised - but only while the program runs.",
        "Each row switches once. To switch back later (e.g. lamp on at `18:00:00`, off at "
        "`23:00:00`), type the next time and arm the row again after it has fired.",
    ], bullet="\u25b8", gap=2, after=6)

    f.heading("Skins")
    f.para("Menu > Skin changes the picture and shape of the panel:", after=4)
    skins = ["Acqa", "Nature", "Gold", "Purple", "Sea Beach", "Bird", "Lily", "Sky"]
    x = 22
    for sk in skins:
        w = text_width(sk, 13, "b") + 20
        p.add('<rect x="%.1f" y="%.1f" width="%.1f" height="24" rx="12" fill="%s"/>' % (x, f.y, w, NAVY))
        p.add(label(x + w / 2, f.y + 17, sk, 13, "#ffffff", "bold", "middle"))
        x += w + 8
    p.say(", ".join(skins))
    f.y += 34

    f.heading("Plain view (\"XP\")")
    f.para("\"XP\" shows the panel as a plain rectangular window without the skin picture. "
           "Choosing any skin brings the shape back.", after=8)

    f.heading("Leaving the program")
    f.box(None, [
        "**\"X\" or \"Exit\"** switch **ALL outputs off** and quit.",
        "Closing the window any other way (window manager, log-off) **leaves the outputs as they "
        "are** - appliances that are on stay on.",
    ], kind="warn", after=0)
    return p


def build():
    return [cover(), page1(), page2(), page3()]
