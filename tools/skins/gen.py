#!/usr/bin/env python3
"""Writes the editable SVG sources of the Tolvane skins.

One parametrised description of every picture; each skin only changes
palette and badge shape.  Output: tools/skins/<Skin>/<Name>.svg, plus
Skin.ini for each skin (render.sh copies it next to the PNGs).

Run:  python3 tools/skins/gen.py [--out DIR] [Skin...]
      (writes all skins into tools/skins/, or into DIR when given)
The output is deterministic: the same input always gives the same bytes.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

# --------------------------------------------------------------------------
# small geometry helpers (angles in degrees, 0 = up, clockwise positive)
# --------------------------------------------------------------------------


def f(v):
    """Short, stable number formatting for SVG."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pt(cx, cy, r, a):
    t = math.radians(a)
    return cx + r * math.sin(t), cy - r * math.cos(t)


def arc(cx, cy, r, a0, a1):
    """Arc path from angle a0 to a1; clockwise if a1 > a0."""
    x0, y0 = pt(cx, cy, r, a0)
    x1, y1 = pt(cx, cy, r, a1)
    sweep = 1 if a1 > a0 else 0
    large = 1 if abs(a1 - a0) > 180 else 0
    return "M%s,%s A%s,%s 0 %d %d %s,%s" % (
        f(x0), f(y0), f(r), f(r), large, sweep, f(x1), f(y1))


def arrowhead(cx, cy, r, a, cw, size):
    """Filled triangle at the end of an arc at angle a, pointing along the
    direction of travel (clockwise when cw)."""
    tip_a = a + (size * 0.9 / r) * 180 / math.pi * (1 if cw else -1)
    tx, ty = pt(cx, cy, r, tip_a)
    ox, oy = pt(cx, cy, r + size * 0.75, a)
    ix, iy = pt(cx, cy, r - size * 0.75, a)
    return "M%s,%s L%s,%s L%s,%s Z" % (f(tx), f(ty), f(ox), f(oy), f(ix), f(iy))


def gear(cx, cy, r_out, r_in, r_hole, teeth):
    """Gear outline with a round hole (even-odd)."""
    pts = []
    step = 360.0 / teeth
    for i in range(teeth):
        a = i * step
        for da, rr in ((-0.30, r_in), (-0.18, r_out), (0.18, r_out), (0.30, r_in)):
            pts.append(pt(cx, cy, rr, a + da * step))
    d = "M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in pts) + " Z"
    d += " M%s,%s a%s,%s 0 1 0 %s,0 a%s,%s 0 1 0 %s,0 Z" % (
        f(cx - r_hole), f(cy), f(r_hole), f(r_hole), f(2 * r_hole),
        f(r_hole), f(r_hole), f(-2 * r_hole))
    return d


# --------------------------------------------------------------------------
# glyphs of the 100x100 state pictures, centred on (50,50)
# each returns SVG markup drawn in colour c (stroke width w)
# --------------------------------------------------------------------------


def stroke(d, c, w, extra=""):
    return ('<path d="%s" fill="none" stroke="%s" stroke-width="%s" '
            'stroke-linecap="round" stroke-linejoin="round"%s/>' % (d, c, f(w), extra))


def fill(d, c, extra=""):
    return '<path d="%s" fill="%s"%s/>' % (d, c, extra)


def g_power(c, w):
    return (stroke(arc(50, 53, 19, 38, 322), c, w) +
            stroke("M50,27 L50,50", c, w))


def g_reset(c, w):
    r = 19
    out = ""
    for a0, a1 in ((25, 145), (205, 325)):
        out += stroke(arc(50, 50, r, a0, a1), c, w)
        out += fill(arrowhead(50, 50, r, a1, True, 8.5), c,
                    ' stroke="%s" stroke-width="1.5" stroke-linejoin="round"' % c)
    return out


def g_manila(c, w):
    # small house with a door, inside a circular arrow
    house = ("M50,35 L64,48 L60,48 L60,63 L40,63 L40,48 L36,48 Z "
             "M47,63 L47,55 L53,55 L53,63 Z")
    out = fill(house, c, ' fill-rule="evenodd" stroke="%s" stroke-width="1.5" '
               'stroke-linejoin="round"' % c)
    out += stroke(arc(50, 50, 25, 40, 318), c, w * 0.8)
    out += fill(arrowhead(50, 50, 25, 318, True, 7.5), c,
                ' stroke="%s" stroke-width="1.5" stroke-linejoin="round"' % c)
    return out


def g_sleep(c, w, mask_id):
    out = ('<mask id="%s"><rect width="100" height="100" fill="#fff"/>'
           '<circle cx="60" cy="42" r="17" fill="#000"/></mask>' % mask_id)
    out += ('<circle cx="46" cy="53" r="21" fill="%s" mask="url(#%s)"/>' % (c, mask_id))
    out += stroke("M61,26 L71,26 L61,36 L71,36", c, 3.2)
    out += stroke("M72,42 L78,42 L72,48 L78,48", c, 2.6)
    return out


BT_RUNE = "M37,38 L63,61 L50,73 L50,27 L63,39 L37,62"


def g_bluetooth(c, w):
    return stroke(BT_RUNE, c, w * 0.9)


def g_bt_disc(c, w):
    rune = ('<g transform="translate(50,50) scale(0.78) translate(-50,-50)">%s</g>'
            % stroke(BT_RUNE, c, w * 1.05))
    waves = ""
    for r, sw in ((24, w * 0.6), (33, w * 0.6)):
        waves += stroke(arc(50, 50, r, 58, 122), c, sw)
        waves += stroke(arc(50, 50, r, 238, 302), c, sw)
    return rune + waves


def g_wifi(c, w):
    out = '<circle cx="50" cy="69" r="5.5" fill="%s"/>' % c
    for r in (13, 24, 35):
        out += stroke(arc(50, 69, r, -44, 44), c, w * 0.85)
    return out


def g_phone(c, w):
    # classic handset: curved handle with ear and mouth cups
    cups = ("M26,52 C26,47 31,45 36,47 L41,50 C43,51 43,54 42,56 L38,62 "
            "C36,65 31,65 28,62 C26,60 26,56 26,52 Z "
            "M74,52 C74,47 69,45 64,47 L59,50 C57,51 57,54 58,56 L62,62 "
            "C64,65 69,65 72,62 C74,60 74,56 74,52 Z")
    handle = "M31,50 C35,36 65,36 69,50"
    g = stroke(handle, c, w * 1.35) + fill(cups, c)
    return ('<g transform="translate(50,52) rotate(-14) scale(1.22) translate(-50,-50)">%s</g>'
            % g)


def g_vibro(c, w):
    body = ("M44,26 L56,26 Q61,26 61,31 L61,69 Q61,74 56,74 L44,74 Q39,74 39,69 "
            "L39,31 Q39,26 44,26 Z M43,32 L43,62 L57,62 L57,32 Z "
            "M48,68 a2,2 0 1 0 4,0 a2,2 0 1 0 -4,0 Z")
    out = fill(body, c, ' fill-rule="evenodd"')
    zl = "M33,35 L28,40 L33,45 L28,50 L33,55 L28,60 L33,65"
    zo = "M23,41 L19,45.5 L23,50 L19,54.5 L23,59"
    out += stroke(zl, c, 3.4) + stroke(zo, c, 3.0)
    out += ('<g transform="translate(100,0) scale(-1,1)">%s%s</g>'
            % (stroke(zl, c, 3.4), stroke(zo, c, 3.0)))
    return out


def g_gprs(c, w):
    out = stroke("M39,72 L39,40", c, w)
    out += fill("M28,42 L39,27 L50,42 Z", c,
                ' stroke="%s" stroke-width="2" stroke-linejoin="round"' % c)
    out += stroke("M61,28 L61,60", c, w)
    out += fill("M50,58 L61,73 L72,58 Z", c,
                ' stroke="%s" stroke-width="2" stroke-linejoin="round"' % c)
    return out


def g_3g(c, w):
    three = ("M23,33 L40,33 L31.5,46 C38,45.5 43,50 43,56.5 C43,63.5 37.5,67.5 31.5,67.5 "
             "C27,67.5 24,65.5 22,62.5")
    gg = arc(62, 50, 16, 48, -270) + " L64,50"
    return stroke(three, c, w) + stroke(gg, c, w)


def g_flight(c, w):
    plane = ("M50,21 C53,21 54.5,25 54.5,29 L54.5,43 L77,56 L77,62 L54.5,55 L54.5,68 "
             "L61,73 L61,78 L50,75 L39,78 L39,73 L45.5,68 L45.5,55 L23,62 L23,56 "
             "L45.5,43 L45.5,29 C45.5,25 47,21 50,21 Z")
    return '<g transform="rotate(45 50 50)">%s</g>' % fill(
        plane, c, ' stroke="%s" stroke-width="1" stroke-linejoin="round"' % c)


GLYPHS = {
    "Manila": g_manila,
    "Reset": g_reset,
    "Sleep": g_sleep,
    "Off": g_power,
    "Bluetooth": g_bluetooth,
    "BluetoothDis": g_bt_disc,
    "Wifi": g_wifi,
    "Phone": g_phone,
    "Vibro": g_vibro,
    "Gprs": g_gprs,
    "3g": g_3g,
    "Flight": g_flight,
}

# picture name -> (glyph, state); state is action / danger / on / off
STATE_PICTURES = [
    ("Manila", "Manila", "action"),
    ("Reset", "Reset", "action"),
    ("Sleep", "Sleep", "action"),
    ("Off", "Off", "danger"),
    ("BluetoothDis", "BluetoothDis", "on"),
]
for _t in ("Bluetooth", "Wifi", "Phone", "Vibro", "Gprs", "3g", "Flight"):
    STATE_PICTURES.append((_t + "_on", _t, "on"))
    STATE_PICTURES.append((_t + "_off", _t, "off"))


def glyph(name, c, w, uid):
    fn = GLYPHS[name]
    if fn is g_sleep:
        return fn(c, w, "m" + uid)
    return fn(c, w)


# --------------------------------------------------------------------------
# skins
# --------------------------------------------------------------------------

SKINS = {
    "Default": {
        # caption colour on the light glossy buttons: deep navy
        "font_rgb": (0x10, 0x2C, 0x54),
        "badge": "circle",
        "stroke_w": 7.0,
        "rim": "#0b2247",
        "fills": {
            "action": ("#7cc0ff", "#2f7fe0", "#0f4aa0"),
            "danger": ("#ff8f80", "#e0402e", "#9e1a10"),
            "on": ("#a6f08a", "#3fb83a", "#147a22"),
            "off": ("#eef0f3", "#c3c8cf", "#8d949e"),
        },
        "glyph": {"action": "#ffffff", "danger": "#ffffff", "on": "#ffffff",
                  "off": "#6c7580"},
        "shadow": {"action": "#0a3270", "danger": "#6e0f08", "on": "#0c5418",
                   "off": "#ffffff"},
        "slash": "#d0342a",
        "slash_edge": "#ffffff",
    },
    "Graphite": {
        # caption colour on the charcoal buttons: amber
        "font_rgb": (0xFF, 0xB4, 0x40),
        "badge": "squircle",
        "stroke_w": 6.5,
        "rim": "#0a0a0b",
        "fills": {
            "action": ("#55595f", "#34373c", "#1e2023"),
            "danger": ("#55595f", "#34373c", "#1e2023"),
            "on": ("#5a5650", "#3a3631", "#201d1a"),
            "off": ("#46494e", "#2c2e32", "#1a1b1e"),
        },
        "glyph": {"action": "#ffb83d", "danger": "#ff6a3a", "on": "#ffc24d",
                  "off": "#70747b"},
        "shadow": {"action": "#000000", "danger": "#000000", "on": "#ff8a00",
                   "off": "#000000"},
        "slash": "#8c9097",
        "slash_edge": "#1c1d20",
    },
}


def colorref(rgb):
    r, g, b = rgb
    return (b << 16) | (g << 8) | r


def svg_doc(w, h, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
            'viewBox="0 0 %d %d">\n%s\n</svg>\n' % (w, h, w, h, body))


def state_svg(skin, glyph_name, state, uid):
    s = SKINS[skin]
    hi, mid, lo = s["fills"][state]
    gc = s["glyph"][state]
    sh = s["shadow"][state]
    w = s["stroke_w"]
    out = []
    out.append('<defs>')
    out.append('<radialGradient id="bf" cx="50" cy="34" r="62" '
               'gradientUnits="userSpaceOnUse">'
               '<stop offset="0" stop-color="%s"/><stop offset="0.55" stop-color="%s"/>'
               '<stop offset="1" stop-color="%s"/></radialGradient>' % (hi, mid, lo))
    out.append('<linearGradient id="gl" x1="0" y1="0" x2="0" y2="1">'
               '<stop offset="0" stop-color="#fff" stop-opacity="0.75"/>'
               '<stop offset="1" stop-color="#fff" stop-opacity="0.05"/></linearGradient>')
    out.append('<filter id="blur" x="-20%" y="-20%" width="140%" height="140%">'
               '<feGaussianBlur stdDeviation="2.4"/></filter>')
    out.append('</defs>')
    if s["badge"] == "circle":
        # Default: glossy round badge with a dark rim
        out.append('<circle cx="50" cy="50" r="45" fill="%s"/>' % s["rim"])
        out.append('<circle cx="50" cy="50" r="42" fill="url(#bf)"/>')
        out.append('<circle cx="50" cy="50" r="41" fill="none" stroke="#ffffff" '
                   'stroke-opacity="0.35" stroke-width="1.5"/>')
        # glyph with a soft drop shadow (inside the badge, never over magenta)
        out.append('<g transform="translate(1.2,1.8)" opacity="0.55" filter="url(#blur)">%s</g>'
                   % glyph(glyph_name, sh, w, uid + "s"))
        out.append('<g>%s</g>' % glyph(glyph_name, gc, w, uid))
        out.append('<ellipse cx="50" cy="29" rx="31" ry="19" fill="url(#gl)" opacity="0.6"/>')
    else:
        # Graphite: dark rounded-square badge, amber light for on/action
        out.append('<rect x="4" y="4" width="92" height="92" rx="20" fill="%s"/>' % s["rim"])
        out.append('<rect x="6.5" y="6.5" width="87" height="87" rx="18" fill="url(#bf)"/>')
        out.append('<rect x="7.5" y="7.5" width="85" height="85" rx="17" fill="none" '
                   'stroke="#ffffff" stroke-opacity="0.16" stroke-width="1.2"/>')
        if state == "on":
            out.append('<rect x="9" y="9" width="82" height="82" rx="15.5" fill="none" '
                       'stroke="#ff9a1a" stroke-width="2.4"/>')
            out.append('<g opacity="0.85" filter="url(#blur)">%s</g>'
                       % glyph(glyph_name, sh, w + 2.5, uid + "s"))
        else:
            out.append('<g transform="translate(0,1.6)" opacity="0.7" filter="url(#blur)">%s</g>'
                       % glyph(glyph_name, sh, w, uid + "s"))
        out.append('<g>%s</g>' % glyph(glyph_name, gc, w, uid))
        out.append('<path d="M11,40 L11,24 Q11,11 24,11 L76,11 Q89,11 89,24 L89,40 '
                   'Q50,30 11,40 Z" fill="#ffffff" opacity="0.07"/>')
    if state == "off":
        # slash from top-left to bottom-right, with an edge so it reads over the glyph
        d = "M27,27 L73,73"
        out.append(stroke(d, s["slash_edge"], w + 4.5))
        out.append(stroke(d, s["slash"], w - 1.0))
    return svg_doc(100, 100, "\n".join(out))


def wallpaper_svg(skin):
    if skin == "Default":
        body = """<defs>
<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#0c2b5e"/><stop offset="0.42" stop-color="#1a58ab"/>
<stop offset="0.78" stop-color="#0f3b7c"/><stop offset="1" stop-color="#061734"/>
</linearGradient>
<radialGradient id="glow" cx="240" cy="60" r="460" gradientUnits="userSpaceOnUse">
<stop offset="0" stop-color="#9fd0ff" stop-opacity="0.35"/>
<stop offset="1" stop-color="#9fd0ff" stop-opacity="0"/>
</radialGradient>
<linearGradient id="band" x1="0" y1="0" x2="1" y2="0">
<stop offset="0" stop-color="#ffffff" stop-opacity="0"/>
<stop offset="0.5" stop-color="#ffffff" stop-opacity="0.09"/>
<stop offset="1" stop-color="#ffffff" stop-opacity="0.02"/>
</linearGradient>
</defs>
<rect width="480" height="800" fill="url(#bg)"/>
<rect width="480" height="800" fill="url(#glow)"/>
<path d="M0,520 C120,450 260,600 480,470 L480,540 C280,660 130,510 0,600 Z" fill="url(#band)"/>
<path d="M0,585 C150,520 290,680 480,560 L480,585 C300,710 140,560 0,625 Z" fill="url(#band)" opacity="0.7"/>
<path d="M0,250 C170,170 300,330 480,210 L480,232 C300,360 160,205 0,285 Z" fill="url(#band)" opacity="0.55"/>
<rect y="0" width="480" height="2" fill="#ffffff" opacity="0.18"/>"""
    else:
        body = """<defs>
<linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#232427"/><stop offset="0.5" stop-color="#2c2e32"/>
<stop offset="1" stop-color="#121315"/>
</linearGradient>
<radialGradient id="glow" cx="240" cy="-60" r="360" gradientUnits="userSpaceOnUse">
<stop offset="0" stop-color="#ff9a1a" stop-opacity="0.09"/>
<stop offset="1" stop-color="#ff9a1a" stop-opacity="0"/>
</radialGradient>
<radialGradient id="glow2" cx="240" cy="860" r="380" gradientUnits="userSpaceOnUse">
<stop offset="0" stop-color="#ff7a00" stop-opacity="0.06"/>
<stop offset="1" stop-color="#ff7a00" stop-opacity="0"/>
</radialGradient>
<pattern id="lines" width="6" height="6" patternUnits="userSpaceOnUse" patternTransform="rotate(45)">
<rect width="6" height="3" fill="#ffffff" opacity="0.022"/>
</pattern>
</defs>
<rect width="480" height="800" fill="url(#bg)"/>
<rect width="480" height="800" fill="url(#lines)"/>
<rect width="480" height="800" fill="url(#glow)"/>
<rect width="480" height="800" fill="url(#glow2)"/>
<rect y="0" width="480" height="2" fill="#ffb440" opacity="0.55"/>
<rect y="798" width="480" height="2" fill="#ffb440" opacity="0.25"/>"""
    return svg_doc(480, 800, body)


def button_svg(skin):
    if skin == "Default":
        body = """<defs>
<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#ffffff"/><stop offset="0.47" stop-color="#e8eff8"/>
<stop offset="0.53" stop-color="#d3e1f2"/><stop offset="1" stop-color="#eaf2fb"/>
</linearGradient>
<linearGradient id="well" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#e4ecf6"/><stop offset="0.5" stop-color="#d6e2f0"/>
<stop offset="1" stop-color="#e2eaf5"/>
</linearGradient>
</defs>
<rect width="350" height="100" fill="#0b2247"/>
<rect x="1" y="1" width="348" height="98" fill="#7f9cc4"/>
<rect x="2" y="2" width="346" height="96" fill="url(#face)"/>
<rect x="2" y="2" width="98" height="96" fill="url(#well)"/>
<rect x="100" y="8" width="1" height="84" fill="#a9bcd6"/>
<rect x="101" y="8" width="1" height="84" fill="#ffffff"/>
<rect x="2" y="2" width="346" height="1" fill="#ffffff"/>
<rect x="2" y="97" width="346" height="1" fill="#b6c8e0"/>"""
    else:
        body = """<defs>
<linearGradient id="face" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#44474d"/><stop offset="0.48" stop-color="#303237"/>
<stop offset="0.52" stop-color="#27292d"/><stop offset="1" stop-color="#2e3034"/>
</linearGradient>
<linearGradient id="well" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#2a2c30"/><stop offset="1" stop-color="#222327"/>
</linearGradient>
</defs>
<rect width="350" height="100" fill="#08090a"/>
<rect x="1" y="1" width="348" height="98" fill="url(#face)"/>
<rect x="1" y="1" width="100" height="98" fill="url(#well)"/>
<rect x="1" y="1" width="4" height="98" fill="#ff9a1a"/>
<rect x="5" y="1" width="1" height="98" fill="#000000" opacity="0.45"/>
<rect x="101" y="8" width="1" height="84" fill="#16171a"/>
<rect x="102" y="8" width="1" height="84" fill="#4a4d53"/>
<rect x="5" y="1" width="344" height="1" fill="#62666e"/>
<rect x="1" y="98" width="348" height="1" fill="#1a1b1e"/>"""
    return svg_doc(350, 100, body)


def small_svg(skin, kind):
    """40x40 Exit / Settings tiles (opaque, full-bleed)."""
    if skin == "Default":
        tile = """<defs><linearGradient id="t" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#ffffff"/><stop offset="0.47" stop-color="#e8eff8"/>
<stop offset="0.53" stop-color="#d3e1f2"/><stop offset="1" stop-color="#eaf2fb"/>
</linearGradient></defs>
<rect width="40" height="40" fill="#0b2247"/>
<rect x="1" y="1" width="38" height="38" fill="#7f9cc4"/>
<rect x="2" y="2" width="36" height="36" fill="url(#t)"/>"""
        xc, gc = "#c8281e", "#1b3f73"
    else:
        tile = """<defs><linearGradient id="t" x1="0" y1="0" x2="0" y2="1">
<stop offset="0" stop-color="#44474d"/><stop offset="0.48" stop-color="#303237"/>
<stop offset="0.52" stop-color="#27292d"/><stop offset="1" stop-color="#2e3034"/>
</linearGradient></defs>
<rect width="40" height="40" fill="#08090a"/>
<rect x="1" y="1" width="38" height="38" fill="url(#t)"/>
<rect x="1" y="1" width="38" height="1" fill="#62666e"/>"""
        xc, gc = "#ffb440", "#ffb440"
    if kind == "Exit":
        glyph_ = ('<path d="M12.5,12.5 L27.5,27.5 M27.5,12.5 L12.5,27.5" fill="none" '
                  'stroke="%s" stroke-width="4.6" stroke-linecap="round"/>' % xc)
    else:
        glyph_ = '<path d="%s" fill="%s" fill-rule="evenodd"/>' % (
            gear(20, 20, 14, 10.2, 4.6, 8), gc)
    return svg_doc(40, 40, tile + "\n" + glyph_)


def skin_ini(skin):
    s = SKINS[skin]
    r, g, b = s["font_rgb"]
    lines = ["[Settings]", "FontName = Tahoma", "FontSize = 8",  # points: 21 pixels on the phone's 192-dot screen
             "Red = %d" % r, "Green = %d" % g, "Blue = %d" % b, "Bold = 1"]
    return "".join(l + "\r\n" for l in lines)


def write(path, text):
    data = text.encode("utf-8")
    old = None
    if os.path.exists(path):
        with open(path, "rb") as fh:
            old = fh.read()
    if old != data:
        with open(path, "wb") as fh:
            fh.write(data)


def main(argv):
    args = argv[1:]
    base = HERE
    if len(args) >= 2 and args[0] == "--out":
        base = args[1]
        args = args[2:]
    skins = args or sorted(SKINS)
    for skin in skins:
        if skin not in SKINS:
            print("gen.py: unknown skin %s" % skin, file=sys.stderr)
            return 2
        d = os.path.join(base, skin)
        os.makedirs(d, exist_ok=True)
        write(os.path.join(d, "Wallpaper.svg"), wallpaper_svg(skin))
        write(os.path.join(d, "Button.svg"), button_svg(skin))
        write(os.path.join(d, "Exit.svg"), small_svg(skin, "Exit"))
        write(os.path.join(d, "Settings.svg"), small_svg(skin, "Settings"))
        for i, (name, g, state) in enumerate(STATE_PICTURES):
            write(os.path.join(d, name + ".svg"), state_svg(skin, g, state, "%d" % i))
        write(os.path.join(d, "Skin.ini"), skin_ini(skin))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
