"""The 24 objects of the cabinet, each drawn upright (variant 0) in a 100 x 100 box.

No highlight is painted into a drawing: the quarter turns would carry it round to the wrong side.
The light (top left) is added after turning, by make_shapes.py.

Every object is lopsided on purpose (a stem to one side, a claw bigger than the other, a curl),
so that its four quarter turns give four different silhouettes. The order is the catalogue's."""

import math

from artkit import palette as C
from artkit.drawing import (
    Drawing,
    circle,
    ellipse,
    ink,
    path,
    polygon,
    smooth_closed,
    smooth_open,
)


def glint(*_args):
    """Highlights come from the lighting pass after turning; see the module comment."""
    return ""


def rotate_points(points, angle_deg, cx=50, cy=50):
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + (x - cx) * ca - (y - cy) * sa, cy + (x - cx) * sa + (y - cy) * ca) for x, y in points]


def _tilted(d, angle, cx=50, cy=50):
    return f'<g transform="rotate({angle} {cx} {cy})">{d.svg()}</g>'


def quill_svg():
    d = Drawing()
    # Drawn along the x axis around (50, 50), then turned so the nib points to the bottom left.
    vane = smooth_closed(
        [(30, 50), (42, 41), (58, 37), (76, 38), (90, 44), (96, 49), (86, 54), (68, 57),
         (52, 58), (38, 55)]
    )
    d.fill(path(vane), C.IVORY)
    d.fill(path("M78,39 L91,45 L96,49 L89,53 L79,56 Z"), C.SLATE)
    d.fill(polygon([(3, 50), (14, 46.5), (18, 50), (14, 53.5)]), C.INK_SOFT)
    d.line("M14,50 L95,49", 2.2, C.BRASS_LIGHT)
    d.detail(ink("M46,45 L40,53 M62,40 L57,56 M70,39 L66,47", 1.3, C.PARCHMENT_DARK))
    d.detail(glint(60, 43, 10, 2.2, -4, 0.6))
    return _tilted(d, -45)


def feather_svg():
    d = Drawing()
    shaft = [(38, 97), (42, 80), (48, 60), (56, 40), (66, 22), (78, 6)]
    vane = smooth_closed(
        [(43, 76), (32, 66), (28, 52), (32, 38), (42, 24), (56, 12), (72, 5), (80, 6),
         (76, 18), (72, 34), (66, 48), (58, 62), (50, 72)]
    )
    d.fill(path(vane), C.SLATE_LIGHT)
    d.fill(path("M31,52 L24,50 L29,46 Z"), C.SLATE_LIGHT)
    d.line(smooth_open(shaft), 2.6, C.IVORY)
    bars = ""
    for y in (22, 34, 46, 58):
        bars += ink(f"M24,{y + 10} Q48,{y - 2} 80,{y - 14}", 3.4, C.SLATE_DARK, 0.85)
    d.detail(f'<clipPath id="fv"><path d="{vane}"/></clipPath><g clip-path="url(#fv)">{bars}</g>')
    d.detail(glint(40, 40, 7, 3, -60, 0.45))
    return _tilted(d, 0)


def oak_leaf_svg():
    d = Drawing()
    points = []
    for i in range(240):
        t = 2 * math.pi * i / 240
        base_x, base_y = 29 * math.sin(t), -44 * math.cos(t)
        lobes = 0.5 + 0.5 * abs(math.cos(4.5 * t + 0.3)) ** 0.8
        points.append((50 + base_x * lobes, 47 + base_y * (0.88 + 0.12 * lobes)))
    outline = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in points) + " Z"
    d.fill(path(outline), C.OCHRE)
    d.line("M50,84 C50,91 46,95 40,98", 3.4, C.WALNUT_LIGHT)
    veins = ink("M50,86 L50,12", 1.8, C.RUST_DARK, 0.8)
    for y, dx in ((28, 15), (42, 19), (56, 19), (70, 14)):
        veins += ink(f"M50,{y + 8} Q{50 - dx * 0.6},{y + 2} {50 - dx},{y - 2}", 1.2, C.RUST_DARK, 0.7)
        veins += ink(f"M50,{y + 12} Q{50 + dx * 0.6},{y + 6} {50 + dx},{y + 2}", 1.2, C.RUST_DARK, 0.7)
    d.detail(veins)
    d.detail(glint(40, 32, 8, 3.5, -70, 0.35))
    return _tilted(d, -28)


def fern_svg():
    d = Drawing()
    # The rachis: a curve from the bottom left that rises and curls over at the top right.
    rachis = [(24, 96), (30, 78), (38, 60), (48, 42), (60, 27), (72, 17), (80, 16), (82, 22), (77, 25)]
    leaflets = ""
    pts = [(24, 96), (30, 78), (38, 60), (48, 42), (60, 27), (70, 19)]
    for i in range(len(pts) - 1):
        for f in (0.25, 0.75):
            x = pts[i][0] + (pts[i + 1][0] - pts[i][0]) * f
            y = pts[i][1] + (pts[i + 1][1] - pts[i][1]) * f
            dx, dy = pts[i + 1][0] - pts[i][0], pts[i + 1][1] - pts[i][1]
            ang = math.degrees(math.atan2(dy, dx))
            k = i + f
            size = 15 - k * 2.3
            if size < 4:
                continue
            for side in (1, -1):
                a = ang + side * 62
                cx = x + math.cos(math.radians(a)) * size * 0.8
                cy = y + math.sin(math.radians(a)) * size * 0.8
                leaflets += ellipse(round(cx, 2), round(cy, 2), round(size, 2), round(size * 0.36, 2), round(a, 1))
    for piece in leaflets.split("/>")[:-1]:
        d.fill(piece + "/>", C.MOSS)
    d.line(smooth_open(rachis), 2.6, C.MOSS_DARK)
    d.detail(glint(34, 72, 6, 2, -60, 0.3))
    return _tilted(d, 0)


def acorn_svg():
    d = Drawing()
    d.fill(path("M30,44 C28,66 40,86 50,92 C60,86 72,66 70,44 Z"), C.TAN)
    d.fill(path("M24,46 C22,30 36,20 50,20 C64,20 78,30 76,46 C66,51 34,51 24,46 Z"), C.WALNUT)
    d.line("M52,20 C53,12 58,7 64,5", 3.6, C.WALNUT_LIGHT)
    hatch = ""
    for x in range(28, 76, 6):
        hatch += ink(f"M{x},24 L{x + 8},46", 1.0, C.WALNUT_DARK, 0.7)
        hatch += ink(f"M{x + 8},24 L{x},46", 1.0, C.WALNUT_DARK, 0.7)
    d.detail(
        '<clipPath id="cap"><path d="M24,46 C22,30 36,20 50,20 C64,20 78,30 76,46 C66,51 34,51 24,46 Z"/>'
        f'</clipPath><g clip-path="url(#cap)">{hatch}</g>'
    )
    d.detail(glint(40, 62, 4, 9, 10, 0.45))
    d.detail(ink("M50,88 L50,92", 2.0, C.WALNUT_DARK))
    return _tilted(d, -24, 50, 50)


def snail_svg():
    d = Drawing()
    d.fill(path("M8,80 C8,72 20,70 34,70 L70,68 C76,58 80,50 86,48 C92,48 95,54 92,62 "
                "C90,72 84,80 74,82 L20,84 C12,84 8,83 8,80 Z"), C.OLIVE)
    d.line("M84,50 C83,40 80,34 76,28", 2.8, C.OLIVE)
    d.line("M89,51 C91,42 92,36 92,30", 2.8, C.OLIVE)
    d.fill(circle(76, 27, 3.2), C.INK_SOFT)
    d.fill(circle(92, 29, 3.2), C.INK_SOFT)
    d.fill(circle(46, 48, 28), C.TAN)
    spiral = []
    for i in range(60):
        t = i / 59 * 3.2 * math.pi
        r = 25 * math.exp(-0.19 * t)
        spiral.append((46 + r * math.cos(t + 1.8), 48 + r * math.sin(t + 1.8)))
    d.detail(ink(smooth_open(spiral), 2.6, C.WALNUT, 0.9))
    d.detail(glint(36, 34, 9, 4, -40, 0.45))
    return d.svg()


def beetle_svg():
    d = Drawing()
    legs = [
        "M38,44 L22,38 L14,28", "M62,44 L78,38 L86,28",
        "M36,56 L20,58 L12,66", "M64,56 L80,58 L88,66",
        "M38,68 L26,78 L24,90", "M62,68 L74,78 L76,90",
    ]
    for leg in legs:
        d.line(leg, 2.8, C.INK_SOFT)
    d.line("M45,20 L40,12 L32,8", 2.2, C.INK_SOFT)
    d.line("M55,20 L60,12 L68,8", 2.2, C.INK_SOFT)
    d.fill(ellipse(50, 22, 9, 6), C.INK_SOFT)
    d.fill(path("M36,30 C36,24 64,24 64,30 L66,38 C58,41 42,41 34,38 Z"), C.INDIGO)
    d.fill(path("M34,40 C42,36 58,36 66,40 C70,60 64,84 50,90 C36,84 30,60 34,40 Z"), C.INDIGO_LIGHT)
    d.detail(ink("M50,39 L50,89", 1.6, C.INK))
    d.detail(glint(41, 54, 4, 12, 8, 0.5))
    d.detail(glint(44, 31, 5, 2, 0, 0.4))
    return d.svg()


def key_svg():
    d = Drawing()
    # Along x, then turned: bow at the bottom left, bit at the top right.
    d.fill(path("M24,46 L88,46 L88,54 L24,54 Z"), C.BRASS)
    d.fill(path("M72,54 L88,54 L88,72 L84,72 L84,64 L80,64 L80,72 L72,72 Z"), C.BRASS)
    d.fill(path("M30,42 L36,42 L36,58 L30,58 Z"), C.BRASS_DARK)
    d.fill(circle(18, 50, 15), C.BRASS)
    d.detail(f'<circle cx="18" cy="50" r="6.5" fill="none" stroke="{C.INK}" stroke-width="2.2"/>')
    d.detail(glint(14, 44, 5, 2.4, -40, 0.55))
    d.detail(ink("M40,48 L84,48", 1.6, C.BRASS_LIGHT, 0.9))
    svg = d.svg()
    # punch the hole through the bow so the background shows
    hole = '<circle cx="18" cy="50" r="5.4" fill="black"/>'
    mask = (
        '<mask id="keyhole"><rect x="-20" y="-20" width="140" height="140" fill="white"/>'
        f"{hole}</mask>"
    )
    return f'{mask}<g transform="rotate(-40 50 50)"><g mask="url(#keyhole)">{svg}</g></g>'


def seahorse_svg():
    d = Drawing()
    body = (
        "M50,10 C58,8 64,12 64,20 C64,26 60,28 62,34 C70,40 74,50 70,60 C66,70 58,72 56,80 "
        "C54,88 60,94 66,92 C71,90 70,84 66,84 C63,84 63,88 65,88 "
        "C62,92 56,90 53,86 C48,78 52,70 54,64 C56,58 50,52 46,48 C42,42 44,36 46,32 "
        "L36,32 L20,34 C16,34 16,28 20,27 L38,24 C42,16 44,12 50,10 Z"
    )
    d.fill(path(body), C.AMBER)
    d.fill(path("M66,44 C74,42 80,46 78,54 C74,54 70,52 68,50 Z"), C.AMBER_LIGHT)
    d.fill(path("M50,10 L48,2 L54,7 L57,1 L59,9 Z"), C.AMBER)
    d.fill(circle(53, 19, 3.2), C.IVORY)
    d.detail(f'<circle cx="53.6" cy="19.4" r="1.6" fill="{C.INK}"/>')
    rings = ""
    for y in (40, 47, 54, 61, 68):
        rings += ink(f"M{48 + (y - 40) * 0.3},{y} Q{60},{y - 3} {70 - (y - 40) * 0.2},{y - 2}", 1.2, C.OCHRE, 0.9)
    d.detail(rings)
    d.detail(glint(52, 42, 3, 8, 20, 0.45))
    return d.svg()


def nautilus_svg():
    d = Drawing()
    # Tentacles from the opening, to the bottom left.
    for i, (x2, y2) in enumerate(((8, 70), (10, 80), (18, 88), (28, 92))):
        d.line(f"M34,66 Q{(34 + x2) / 2 - 2},{(66 + y2) / 2 + 4} {x2},{y2}", 3.2, C.TAN)
    d.fill(path("M24,58 C22,48 30,44 36,50 L44,70 C38,74 28,70 24,58 Z"), C.RUST_LIGHT)
    outer = []
    for i in range(72):
        t = i / 71 * 2 * math.pi
        r = 36 * math.exp(-0.13 * t)
        outer.append((56 + r * math.cos(t + 2.3), 44 + r * math.sin(t + 2.3)))
    shell = smooth_closed(outer)
    d.fill(path(shell), C.IVORY)
    stripes = ""
    for k in range(7):
        a = 2.3 + k * 0.7
        r1 = 36 * math.exp(-0.13 * (k * 0.7))
        x1, y1 = 56 + r1 * math.cos(a), 44 + r1 * math.sin(a)
        x2, y2 = 56 + r1 * 0.42 * math.cos(a + 0.5), 44 + r1 * 0.42 * math.sin(a + 0.5)
        stripes += ink(f"M{x1:.1f},{y1:.1f} Q{(x1 + x2) / 2 + 4:.1f},{(y1 + y2) / 2:.1f} {x2:.1f},{y2:.1f}", 4.0, C.RUST, 0.9)
    d.detail(f'<clipPath id="shell"><path d="{shell}"/></clipPath><g clip-path="url(#shell)">{stripes}</g>')
    spiral = []
    for i in range(40):
        t = i / 39 * 1.6 * math.pi
        r = 14 * math.exp(-0.3 * t)
        spiral.append((58 + r * math.cos(t + 2.8), 46 + r * math.sin(t + 2.8)))
    d.detail(ink(smooth_open(spiral), 1.8, C.RUST_DARK))
    d.detail(glint(46, 24, 10, 3.5, -20, 0.5))
    return d.svg()


def mushroom_svg():
    d = Drawing()
    d.fill(path("M40,50 C38,64 36,78 32,90 L50,90 C48,78 50,64 54,50 Z"), C.IVORY)
    d.fill(path("M12,52 C12,26 30,12 48,12 C66,12 82,26 80,48 C62,56 30,58 12,52 Z"), C.RUST)
    d.fill(path("M70,72 C70,80 68,86 66,92 L78,92 C76,86 76,80 76,72 Z"), C.IVORY)
    d.fill(path("M60,74 C60,62 68,58 74,58 C82,58 88,64 88,72 C80,76 68,76 60,74 Z"), C.RUST_LIGHT)
    spots = "".join(
        f'<ellipse cx="{x}" cy="{y}" rx="{r}" ry="{r * 0.75}" fill="{C.IVORY}" opacity="0.95"/>'
        for x, y, r in ((30, 30, 5), (48, 22, 4), (62, 34, 5.5), (40, 44, 3.5), (70, 66, 2.6), (20, 44, 3))
    )
    d.detail(spots)
    d.detail(ink("M20,52 L22,58 M70,48 L66,55", 1.2, C.RUST_DARK, 0.7))
    d.detail(glint(30, 22, 9, 3, -30, 0.4))
    return _tilted(d, 8)


def moth_svg():
    d = Drawing()
    d.line("M46,24 C40,14 34,10 26,10", 2.2, C.WALNUT)
    d.line("M54,24 C60,14 66,10 74,10", 2.2, C.WALNUT)
    for side in (1, -1):
        def sx(x):
            return 50 + side * (x - 50)
        fore = f"M{sx(50)},34 C{sx(40)},22 {sx(18)},16 {sx(6)},26 C{sx(4)},40 {sx(20)},52 {sx(48)},50 Z"
        hind = f"M{sx(49)},48 C{sx(34)},50 {sx(18)},58 {sx(20)},74 C{sx(28)},84 {sx(42)},74 {sx(50)},60 Z"
        d.fill(path(hind), C.PLUM_LIGHT)
        d.fill(path(fore), C.PLUM)
    d.fill(ellipse(50, 48, 6, 24), C.WALNUT_LIGHT)
    d.fill(circle(50, 26, 6), C.WALNUT_LIGHT)
    spots = ""
    for side in (1, -1):
        spots += f'<circle cx="{50 + side * 24}" cy="34" r="5" fill="{C.AMBER_LIGHT}"/>'
        spots += f'<circle cx="{50 + side * 24}" cy="34" r="2.4" fill="{C.INK}"/>'
        spots += f'<circle cx="{50 + side * 32}" cy="66" r="3.2" fill="{C.PLUM_DARK}"/>'
    d.detail(spots)
    d.detail(ink("M44,54 L56,54 M44,62 L56,62", 1.0, C.WALNUT, 0.8))
    d.detail(glint(26, 24, 8, 2.5, -20, 0.4))
    return d.svg()


def pinecone_svg():
    d = Drawing()
    pts = []
    for i in range(64):
        t = 2 * math.pi * i / 64
        rx, ry = 24, 36
        bump = 1.0 + 0.09 * (1 if i % 4 < 2 else -1) * (1 if math.sin(t) != 0 else 0)
        x = 50 + rx * math.sin(t) * bump * (1.0 - 0.25 * max(0, math.cos(t)))
        y = 56 - ry * math.cos(t) * bump
        pts.append((x, y))
    body = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in pts) + " Z"
    d.fill(path(body), C.WALNUT_LIGHT)
    d.line("M50,22 C50,14 54,8 60,4", 3.4, C.WALNUT)
    d.line("M51,14 L40,6 M52,12 L44,2", 1.8, C.MOSS)
    scales = ""
    for row in range(7):
        y = 30 + row * 8
        off = 4 if row % 2 else 0
        for x in range(26 + off, 76, 8):
            scales += ink(f"M{x - 4},{y} Q{x},{y + 6} {x + 4},{y}", 1.3, C.WALNUT_DARK, 0.9)
    d.detail(f'<clipPath id="cone"><path d="{body}"/></clipPath><g clip-path="url(#cone)">{scales}</g>')
    d.detail(glint(40, 42, 4, 10, 15, 0.35))
    return _tilted(d, 30)


def magnifier_svg():
    d = Drawing()
    d.line("M56,56 L88,88", 9.0, C.WALNUT)
    d.fill(path("M52,48 L60,56 L54,62 L46,54 Z"), C.BRASS_DARK)
    d.fill(circle(36, 36, 27), C.BRASS)
    d.fill(circle(36, 36, 20.5), C.GLASS)
    d.detail(f'<path d="M22,30 A16,16 0 0 1 34,19" fill="none" stroke="#ffffff" stroke-width="3.2" stroke-linecap="round" opacity="0.85"/>')
    d.detail(ink("M84,84 L88,88", 2.0, C.WALNUT_DARK))
    d.detail(glint(22, 20, 5, 2, -45, 0.55))
    return d.svg()


def inkpot_svg():
    d = Drawing()
    d.fill(path("M70,86 C80,86 92,88 92,92 C92,96 78,96 70,94 C62,94 60,88 70,86 Z"), C.SLATE_DARK)
    d.fill(path("M18,52 C18,44 26,42 34,42 L66,42 C74,42 82,44 82,52 L82,84 C82,90 76,92 70,92 "
                "L30,92 C24,92 18,90 18,84 Z"), C.SLATE_DARK)
    d.fill(path("M36,30 L64,30 L64,42 L36,42 Z"), C.SLATE_DARK)
    d.fill(path("M32,22 L68,22 L68,31 L32,31 Z"), C.BRASS)
    d.fill(path("M66,31 C72,32 74,38 73,46 C72,52 68,52 68,46 Z"), C.INDIGO)
    d.fill(path("M28,58 L62,58 L62,78 L28,78 Z"), C.PARCHMENT)
    d.detail(ink("M33,64 L56,64 M33,70 L52,70", 1.4, C.INK_SOFT, 0.8))
    d.detail(glint(26, 56, 3, 10, 0, 0.45))
    d.detail(glint(40, 25, 6, 1.6, 0, 0.5))
    return d.svg()


def pocketwatch_svg():
    d = Drawing()
    chain = [(64, 74), (72, 79), (79, 84), (84, 89)]
    for x, y in chain:
        d.fill(ellipse(x, y, 4.2, 2.6, 40), C.PEWTER)
    d.fill(path("M78,90 L91,88 L91,93 L78,95 Z"), C.PEWTER_DARK)
    d.fill(path("M44,12 L56,12 L56,20 L44,20 Z"), C.PEWTER)
    d.detail("")
    d.fill(circle(46, 54, 34), C.PEWTER)
    d.fill(circle(46, 54, 26), C.IVORY)
    bow = f'<circle cx="50" cy="9" r="7" fill="none" stroke="{C.INK}" stroke-width="7.8"/>' \
          f'<circle cx="50" cy="9" r="7" fill="none" stroke="{C.PEWTER}" stroke-width="2.6"/>'
    ticks = ""
    for k in range(12):
        a = k * math.pi / 6
        r1, r2 = 22, 18 if k % 3 == 0 else 20
        ticks += ink(f"M{46 + r1 * math.cos(a):.1f},{54 + r1 * math.sin(a):.1f} "
                     f"L{46 + r2 * math.cos(a):.1f},{54 + r2 * math.sin(a):.1f}", 1.6, C.INK)
    ticks += ink("M46,54 L46,38", 2.2, C.INK) + ink("M46,54 L58,60", 2.2, C.INK)
    ticks += f'<circle cx="46" cy="54" r="2" fill="{C.INK}"/>'
    d.detail(ticks)
    d.detail(glint(30, 34, 8, 3, -45, 0.5))
    return f'<g transform="translate(50 51) scale(0.9) translate(-50 -50)">{bow + d.svg()}</g>'


def cherries_svg():
    d = Drawing()
    d.line("M34,66 C36,46 44,28 60,14", 2.6, C.MOSS_DARK)
    d.line("M66,74 C66,54 64,30 60,14", 2.6, C.MOSS_DARK)
    d.fill(path("M60,14 C66,4 82,2 94,10 C84,18 70,20 60,14 Z"), C.MOSS)
    d.fill(path("M56,12 L64,12 L64,18 L56,18 Z"), C.WALNUT)
    d.fill(circle(32, 76, 17), C.CRIMSON)
    d.fill(circle(66, 82, 15), C.CRIMSON)
    d.detail(ink("M62,13 Q78,8 92,10", 1.2, C.MOSS_DARK, 0.9))
    d.detail(glint(25, 69, 5, 3, -40, 0.6) + glint(60, 76, 4.4, 2.6, -40, 0.6))
    return d.svg()


def bellflower_svg():
    d = Drawing()
    d.line("M14,96 C14,60 30,20 60,14 C76,12 86,20 88,30", 2.8, C.MOSS_DARK)
    d.fill(path("M14,88 C6,80 4,70 8,62 C14,68 16,78 14,88 Z"), C.MOSS)
    d.fill(path("M16,80 C22,72 30,70 36,72 C30,80 22,82 16,80 Z"), C.MOSS)
    bells = ((88, 30, 1.0), (52, 15, 0.9), (28, 36, 0.8))
    for bx, by, s in bells:
        d.line(f"M{bx},{by} L{bx},{by + 6 * s}", 2.0, C.MOSS_DARK)
        top = by + 6 * s
        bell = (f"M{bx - 6 * s},{top + 2 * s} C{bx - 6 * s},{top - 2 * s} {bx + 6 * s},{top - 2 * s} "
                f"{bx + 6 * s},{top + 2 * s} L{bx + 9 * s},{top + 18 * s} L{bx + 12 * s},{top + 24 * s} "
                f"L{bx + 4 * s},{top + 21 * s} L{bx},{top + 25 * s} L{bx - 4 * s},{top + 21 * s} "
                f"L{bx - 12 * s},{top + 24 * s} L{bx - 9 * s},{top + 18 * s} Z")
        d.fill(path(bell), C.LAVENDER)
        d.detail(ink(f"M{bx},{top + 4 * s} L{bx},{top + 22 * s}", 1.0, C.INDIGO, 0.6))
        d.detail(glint(bx - 3 * s, top + 8 * s, 1.6 * s, 5 * s, 10, 0.45))
    return d.svg()


def thistle_svg():
    d = Drawing()
    d.line("M50,56 C50,70 46,84 40,96", 3.2, C.MOSS_DARK)
    d.fill(path("M47,76 L36,68 L34,74 L26,66 L24,72 L14,66 L20,78 L12,80 L24,84 L32,82 L44,84 Z"), C.MOSS)
    tuft = ""
    for k in range(13):
        a = math.radians(-160 + k * (140 / 12))
        x2, y2 = 50 + 22 * math.cos(a), 34 + 26 * math.sin(a)
        tuft += f"M50,36 L{x2:.1f},{y2:.1f} "
    d.line(tuft, 3.0, C.THISTLE)
    d.fill(path("M32,38 C32,32 68,32 68,38 C70,52 62,62 50,62 C38,62 30,52 32,38 Z"), C.MOSS_LIGHT)
    spikes = ""
    for x, y, dx, dy in ((32, 42, -9, -1), (68, 42, 9, -1), (35, 53, -8, 4), (65, 53, 8, 4), (44, 61, -4, 8), (56, 61, 4, 8)):
        spikes += ink(f"M{x},{y} L{x + dx},{y + dy}", 1.8, C.INK)
    d.detail(spikes)
    d.detail(ink("M36,42 L44,50 L52,42 L60,50 L64,44 M40,54 L48,48 L56,56", 1.2, C.MOSS_DARK, 0.9))
    d.detail(glint(40, 40, 4, 2, -30, 0.4))
    return d.svg()


def frog_svg():
    d = Drawing()
    d.fill(path("M30,64 C14,62 8,74 12,84 L24,82 L18,92 L30,90 L26,82 C34,80 36,74 34,68 Z"), C.LEAF)
    d.fill(path("M70,64 C86,62 92,74 88,84 L76,82 L82,92 L70,90 L74,82 C66,80 64,74 66,68 Z"), C.LEAF)
    d.fill(path("M34,44 L22,48 L14,44 L16,52 L26,54 L36,52 Z"), C.LEAF)
    d.fill(path("M66,44 L78,48 L86,44 L84,52 L74,54 L64,52 Z"), C.LEAF)
    d.fill(ellipse(50, 58, 20, 26), C.LEAF)
    d.fill(ellipse(50, 32, 17, 12), C.LEAF)
    d.fill(circle(38, 24, 7), C.LEAF)
    d.fill(circle(62, 24, 7), C.LEAF)
    d.detail(f'<circle cx="38" cy="23" r="3.6" fill="{C.AMBER}"/><circle cx="38" cy="23" r="1.8" fill="{C.INK}"/>'
             f'<circle cx="62" cy="23" r="3.6" fill="{C.AMBER}"/><circle cx="62" cy="23" r="1.8" fill="{C.INK}"/>')
    d.detail("".join(f'<ellipse cx="{x}" cy="{y}" rx="{r}" ry="{r * 0.8}" fill="{C.LEAF_DARK}"/>'
                     for x, y, r in ((44, 52, 3.4), (57, 60, 4), (47, 70, 3), (58, 74, 2.4))))
    d.detail(glint(40, 46, 4, 8, 15, 0.35))
    return d.svg()


def lizard_svg():
    d = Drawing()
    spine = [(56, 8), (54, 22), (46, 36), (42, 50), (48, 62), (58, 72), (60, 82), (52, 90), (42, 92), (36, 86)]
    d.line("M46,34 L32,30 L26,22", 3.4, C.OLIVE)
    d.line("M50,36 L64,34 L72,26", 3.4, C.OLIVE)
    d.line("M44,58 L30,62 L24,72", 3.4, C.OLIVE)
    d.line("M50,62 L64,58 L72,64", 3.4, C.OLIVE)
    d.line(smooth_open(spine[3:]), 6.0, C.OLIVE)
    d.fill(path(smooth_closed([(56, 6), (61, 14), (58, 26), (52, 40), (49, 54), (43, 60), (39, 52),
                               (42, 36), (50, 22), (51, 12)])), C.OLIVE)
    d.detail(ink(smooth_open(spine[1:7]), 1.6, C.OLIVE_DARK, 0.9))
    d.detail(f'<circle cx="54" cy="13" r="1.6" fill="{C.INK}"/><circle cx="59" cy="14" r="1.6" fill="{C.INK}"/>')
    d.detail("".join(f'<circle cx="{x}" cy="{y}" r="1.7" fill="{C.AMBER_LIGHT}"/>' for x, y in ((50, 30), (46, 42), (45, 50))))
    d.detail(glint(50, 26, 2, 6, 25, 0.35))
    return d.svg()


def crab_svg():
    d = Drawing()
    for side in (1, -1):
        for k in range(3):
            y = 56 + k * 8
            d.line(f"M{50 + side * 22},{y} L{50 + side * (34 + k * 2)},{y + 4} L{50 + side * (40 + k * 3)},{y + 16}", 3.0, C.VERMILION)
    d.line("M38,46 L28,34", 4.2, C.VERMILION)
    d.line("M62,46 L72,38", 3.4, C.VERMILION)
    # One claw much bigger than the other: a fiddler crab.
    d.fill(path("M28,36 C12,36 6,24 10,12 C14,6 24,6 28,12 L22,18 L30,22 C34,26 34,32 28,36 Z"), C.VERMILION)
    d.fill(path("M72,40 C80,42 86,36 84,30 L78,32 L80,26 C74,24 68,30 72,40 Z"), C.VERMILION)
    d.fill(path("M26,56 C24,42 36,36 50,36 C64,36 76,42 74,56 C72,68 62,74 50,74 C38,74 28,68 26,56 Z"), C.VERMILION)
    d.line("M44,38 L42,30", 2.0, C.VERMILION)
    d.line("M56,38 L58,30", 2.0, C.VERMILION)
    d.detail(f'<circle cx="42" cy="29" r="2.4" fill="{C.INK}"/><circle cx="58" cy="29" r="2.4" fill="{C.INK}"/>')
    d.detail(ink("M36,52 Q50,46 64,52", 1.3, C.RUST_DARK, 0.8))
    d.detail(glint(38, 46, 7, 3, -20, 0.4))
    return d.svg()


def dragonfly_svg():
    d = Drawing()
    wings = (
        ellipse(29, 24, 22, 5.2, 16), ellipse(71, 24, 22, 5.2, -16),
        ellipse(30, 44, 20, 5.0, -14), ellipse(70, 44, 20, 5.0, 14),
    )
    for wing in wings:
        d.fill(wing, C.TEAL_LIGHT)
    d.fill(path("M47.5,38 L52.5,38 L52,95 C52,98 48,98 48,95 Z"), C.TEAL)
    d.fill(ellipse(50, 32, 5.5, 9), C.TEAL_DARK)
    d.fill(circle(50, 19, 6.5), C.TEAL)
    d.detail(f'<circle cx="46.5" cy="18" r="2.6" fill="{C.SLATE_DARK}"/><circle cx="53.5" cy="18" r="2.6" fill="{C.SLATE_DARK}"/>')
    d.detail(ink("M48,52 L52,52 M48,62 L52,62 M48,72 L52,72 M48,82 L52,82", 1.0, C.TEAL_DARK))
    d.detail(glint(22, 21, 8, 1.4, 16, 0.6) + glint(24, 46, 7, 1.3, -14, 0.6))
    return f'<g transform="rotate(-24 50 50) translate(50 51) scale(0.88) translate(-50 -50)">{d.svg()}</g>'


def tulip_svg():
    d = Drawing()
    d.line("M50,48 C48,64 46,80 42,96", 3.2, C.MOSS_DARK)
    d.fill(path("M44,96 C36,80 40,62 58,52 C56,66 54,82 48,96 Z"), C.MOSS)
    d.fill(path("M42,92 C30,84 22,72 18,60 C30,64 40,76 44,90 Z"), C.MOSS)
    d.fill(path("M30,20 L38,32 L44,16 L50,30 L56,14 L62,30 L70,18 C74,32 72,48 58,54 C52,56 46,56 40,54 C28,48 26,32 30,20 Z"), C.ROSE)
    d.detail(ink("M44,18 C42,32 44,46 48,54 M56,16 C58,32 56,46 52,54", 1.3, C.CRIMSON, 0.75))
    d.detail(glint(36, 34, 3, 9, 10, 0.45))
    return d.svg()


SHAPES = [
    ("quill", quill_svg),
    ("feather", feather_svg),
    ("oak_leaf", oak_leaf_svg),
    ("fern", fern_svg),
    ("acorn", acorn_svg),
    ("snail", snail_svg),
    ("beetle", beetle_svg),
    ("key", key_svg),
    ("seahorse", seahorse_svg),
    ("nautilus", nautilus_svg),
    ("mushroom", mushroom_svg),
    ("moth", moth_svg),
    ("pinecone", pinecone_svg),
    ("magnifier", magnifier_svg),
    ("inkpot", inkpot_svg),
    ("pocketwatch", pocketwatch_svg),
    ("cherries", cherries_svg),
    ("bellflower", bellflower_svg),
    ("thistle", thistle_svg),
    ("frog", frog_svg),
    ("lizard", lizard_svg),
    ("crab", crab_svg),
    ("dragonfly", dragonfly_svg),
    ("tulip", tulip_svg),
]
