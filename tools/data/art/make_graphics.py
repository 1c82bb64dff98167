"""Makes the play screen's pictures in "Graphics/": backgrounds, the six lines, the conveyor bar,
bonus pictures, gauges, digits, particles, effect sprites, the bug and the butterflies.

Usage: make_graphics.py DATA_FOLDER"""

import math
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from artkit import palette as C  # noqa: E402
from artkit import render, textures  # noqa: E402
from artkit.drawing import Drawing, circle, ellipse, ink, path, polygon  # noqa: E402
from art.shape_drawings import SHAPES  # noqa: E402

SHAPE_BODIES = dict(SHAPES)
FONT_FAMILY = "Linux Libertine O"


def lit_svg(svg_body, width, height, view_box, scale=4, strength=1.0, shadow=True):
    """Renders an ink drawing large, lights it from the top left, reduces it to size."""
    big = render.render_svg(
        render.svg_document(width * scale, height * scale, svg_body, view_box), width * scale,
        height * scale)
    big = render.light_from_top_left(big, strength=strength, rim=scale * 2)
    if shadow:
        big = render.drop_shadow(big, offset=scale * 2, radius=scale * 1.5, opacity=0.35)
    return render.downscale(big, width, height)


def engraving(name, size, angle, colour, opacity):
    """A large, faint line engraving of one of the cabinet's objects, for backgrounds."""
    body = SHAPE_BODIES[name]()
    svg = render.svg_document(size, size, f'<g transform="rotate({angle} 50 50)">{body}</g>',
                              "0 0 100 100")
    alpha = render.to_array(render.render_svg(svg, size, size))[:, :, 3]
    edge = np.clip(alpha - render.blur(alpha, 1.2) * 0.0, 0, 1)
    inner = np.asarray(Image.fromarray((alpha * 255).astype(np.uint8)).filter(
        __import__("PIL.ImageFilter", fromlist=["MinFilter"]).MinFilter(5))).astype(np.float32) / 255
    line = np.clip(edge - inner, 0, 1)
    rgb = np.ones((size, size, 3), dtype=np.float32) * textures.hex_rgb(colour)
    fill = alpha * 0.25 + line
    return rgb, np.clip(fill, 0, 1) * opacity


def stamp(canvas, rgb, alpha, x, y):
    """Blends a picture into an RGB canvas (float arrays), clipped to the canvas."""
    h, w = alpha.shape
    ch, cw = canvas.shape[:2]
    x0, y0 = max(0, x), max(0, y)
    x1, y1 = min(cw, x + w), min(ch, y + h)
    if x0 >= x1 or y0 >= y1:
        return
    a = alpha[y0 - y : y1 - y, x0 - x : x1 - x][:, :, None]
    canvas[y0:y1, x0:x1] = canvas[y0:y1, x0:x1] * (1 - a) + rgb[y0 - y : y1 - y, x0 - x : x1 - x] * a


# ---------------------------------------------------------------- backgrounds

def back_menu():
    rgb = textures.wood(800, 600, "#24160d", "#4a2f1c", seed=11, vertical=True)
    # board seams every 100 pixels
    for x in range(0, 800, 100):
        rgb[:, x : x + 2] *= 0.55
        rgb[:, x + 2 : x + 3] = np.minimum(1, rgb[:, x + 2 : x + 3] * 1.25)
    placements = [("fern", 300, -20, 20, 330), ("nautilus", 220, 15, 600, 40),
                  ("pocketwatch", 170, 10, 640, 380), ("dragonfly", 200, 30, 40, 20),
                  ("oak_leaf", 180, 40, 560, 250), ("key", 160, -10, 250, 470)]
    for name, size, angle, x, y in placements:
        line_rgb, alpha = engraving(name, size, angle, C.BRASS_LIGHT, 0.10)
        stamp(rgb, line_rgb, alpha, x, y)
    rgb = textures.vignette(rgb, strength=0.55)
    return textures.to_image(rgb)


STAGE_SCENES = [
    # (paper colour, engraving colour, the objects engraved)
    ("#e7ddb2", "#5e7f34", ["oak_leaf", "acorn", "fern", "tulip", "snail", "bellflower"]),
    ("#d9e2dc", "#2f4760", ["nautilus", "crab", "seahorse", "feather", "quill", "dragonfly"]),
    ("#d3d9b4", "#3f5a22", ["fern", "mushroom", "pinecone", "beetle", "frog", "oak_leaf"]),
    ("#ecd6a6", "#8f5a24", ["lizard", "thistle", "key", "magnifier", "moth", "cherries"]),
    ("#c9c2da", "#3a3a78", ["moth", "pocketwatch", "inkpot", "bellflower", "dragonfly", "quill"]),
]


def back_game(index):
    paper, ink_colour, names = STAGE_SCENES[index]
    rgb = textures.parchment(688, 516, paper, seed=100 + index, mottling=0.12)
    rng = np.random.default_rng(200 + index)
    spots = [(20, 30), (250, 10), (470, 60), (60, 280), (330, 250), (520, 330)]
    for (x, y), name in zip(spots, names):
        size = int(rng.integers(170, 230))
        line_rgb, alpha = engraving(name, size, int(rng.integers(-40, 40)), ink_colour, 0.20)
        stamp(rgb, line_rgb, alpha, x, y)
    rgb = textures.vignette(rgb, strength=0.30, light_x=0.3, light_y=0.2)
    return textures.to_image(rgb)


# ---------------------------------------------------------------- play field

LINE_TINTS = ["#e9e4c8", "#eadcc0", "#ead6cf", "#d9e5dd", "#dfdbea", "#ece0b8"]
LINE_W, LINE_H = 89, 95  # lines stand 95 pixels apart; one tile per row of cells


def line_tile(index):
    """One tile of a play line: a tinted card strip with lit left and shaded right rails, which
    stacks seamlessly in y."""
    rgb = textures.parchment(LINE_W, LINE_H, LINE_TINTS[index], seed=300 + index, mottling=0.05)
    xs = np.arange(LINE_W, dtype=np.float32) / (LINE_W - 1)
    across = 1.04 - 0.10 * xs  # lit from the left
    rgb = rgb * across[None, :, None]
    alpha = np.ones((LINE_H, LINE_W), dtype=np.float32) * 0.93
    brass_dark, brass_light = textures.hex_rgb(C.BRASS_DARK), textures.hex_rgb(C.BRASS_LIGHT)
    rgb[:, 0:3] = brass_light * 0.9
    rgb[:, 3:4] = textures.hex_rgb(C.INK_SOFT)
    rgb[:, LINE_W - 4 : LINE_W - 1] = brass_dark
    rgb[:, LINE_W - 1 :] = textures.hex_rgb(C.INK)
    rgb[:, LINE_W - 5 : LINE_W - 4] = textures.hex_rgb(C.INK_SOFT)
    alpha[:, 0:4] = 1.0
    alpha[:, LINE_W - 5 :] = 1.0
    return textures.to_image(np.clip(rgb, 0, 1), alpha)


def line_glow():
    """Drawn additively over a line while it vanishes: a warm light strongest at the middle."""
    xs = np.abs(np.arange(LINE_W, dtype=np.float32) / (LINE_W - 1) - 0.5) * 2
    strength = (1 - xs ** 2) * 0.8
    rgb = np.ones((LINE_H, LINE_W, 3), dtype=np.float32) * np.array([1.0, 0.82, 0.45])
    rgb *= strength[None, :, None]
    return textures.to_image(rgb, np.ones((LINE_H, LINE_W), dtype=np.float32))


def bottom_bar():
    """The conveyor's shelf: a walnut board with a brass rail and a felt belt in a groove."""
    w, h = 656, 102
    rgb = textures.wood(w, h, "#2c1b10", "#5a3a22", seed=41)
    top = textures.hex_rgb(C.BRASS_LIGHT), textures.hex_rgb(C.BRASS_DARK)
    for y in range(0, 8):
        rgb[y] = top[0] + (top[1] - top[0]) * (y / 7)
    rgb[8:10] = textures.hex_rgb(C.INK)
    belt = textures.parchment(w, 80, "#3f5a3a", seed=42, mottling=0.2)
    rgb[14:88] = belt[:74]
    ys = np.arange(14, 88)
    shade = 0.75 + 0.35 * np.sin((ys - 14) / 74 * math.pi)
    rgb[14:88] *= shade[:, None, None]
    rgb[12:14] = textures.hex_rgb(C.INK)
    rgb[88:90] = textures.hex_rgb(C.BRASS_DARK)
    for x in range(0, w, 24):  # belt seams
        rgb[14:88, x : x + 1] *= 0.7
    for x in (20, w - 20):
        for y in (95,):
            yy, xx = np.mgrid[-4:5, -4:5]
            disc = (xx ** 2 + yy ** 2) <= 16
            patch = rgb[y - 4 : y + 5, x - 4 : x + 5]
            patch[disc] = textures.hex_rgb(C.BRASS)
    rgb = textures.vignette(rgb, strength=0.2, light_x=0.2, light_y=0.0)
    return textures.to_image(np.clip(rgb, 0, 1))


def bonus_picture(kind):
    """The three bonus pictures: brass medallions that fit any cell. 1 fills one cell, 2 a whole
    line, 3 the neighbourhood."""
    d = Drawing()
    d.fill(circle(50, 50, 40), C.BRASS)
    d.fill(circle(50, 50, 31), [C.TEAL, C.RUST, C.PLUM][kind - 1])
    if kind == 1:
        star = []
        for i in range(10):
            r = 24 if i % 2 == 0 else 10
            a = -math.pi / 2 + i * math.pi / 5
            star.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
        d.fill(polygon(star), C.AMBER_LIGHT)
    elif kind == 2:
        d.fill(polygon([(50, 20), (62, 34), (55, 34), (55, 66), (62, 66), (50, 80), (38, 66),
                        (45, 66), (45, 34), (38, 34)]), C.AMBER_LIGHT)
    else:
        for a in range(6):
            ang = a * math.pi / 3
            d.fill(circle(50 + 17 * math.cos(ang), 50 + 17 * math.sin(ang), 6.5), C.AMBER_LIGHT)
        d.fill(circle(50, 50, 8.5), C.AMBER_LIGHT)
    beads = "".join(
        f'<circle cx="{50 + 35.5 * math.cos(k * math.pi / 8):.2f}" '
        f'cy="{50 + 35.5 * math.sin(k * math.pi / 8):.2f}" r="1.5" fill="{C.BRASS_DARK}"/>'
        for k in range(16))
    d.detail(beads)
    return lit_svg(d.svg(), 71, 71, "0 0 100 100", strength=1.3)


def gauge(width, height, full, radius):
    """A brass-framed glass tube; the full one holds a green-gold liquid."""
    inner = (f'<rect x="4" y="4" width="{width - 8}" height="{height - 8}" rx="{radius - 3}" '
             f'fill="{"url(#liquid)" if full else "#1c130c"}"/>')
    shine = (f'<rect x="8" y="6" width="{width - 16}" height="{max(2, (height - 12) * 0.3):.1f}" '
             f'rx="2" fill="#ffffff" opacity="{0.45 if full else 0.12}"/>')
    body = (
        '<defs><linearGradient id="frame" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{C.BRASS_LIGHT}"/><stop offset="1" stop-color="{C.BRASS_DARK}"/>'
        '</linearGradient><linearGradient id="liquid" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{C.AMBER_LIGHT}"/><stop offset="0.5" stop-color="{C.OLIVE}"/>'
        f'<stop offset="1" stop-color="{C.MOSS_DARK}"/></linearGradient></defs>'
        f'<rect x="1" y="1" width="{width - 2}" height="{height - 2}" rx="{radius}" fill="url(#frame)" '
        f'stroke="{C.INK}" stroke-width="1.6"/>' + inner + shine
    )
    return render.render_svg(render.svg_document(width, height, body), width, height)


def round_time():
    """The glow behind the time when fewer than ten seconds are left."""
    w, h = 128, 64
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32)
    d = np.sqrt(((xs - w / 2) / (w / 2)) ** 2 + ((ys - h / 2) / (h / 2)) ** 2)
    alpha = np.clip(1 - d, 0, 1) ** 1.3 * 0.9
    rgb = np.ones((h, w, 3), dtype=np.float32) * np.array([0.86, 0.2, 0.12])
    rgb[:, :, 1] += (1 - d.clip(0, 1)) * 0.35
    return textures.to_image(np.clip(rgb, 0, 1), alpha)


def digits():
    """Ten equal cells "0123456789" in the game's serif, gold with a dark outline."""
    cell_w, cell_h = 30, 42
    body = "".join(
        f'<text x="{i * cell_w + cell_w / 2}" y="34" font-family="{FONT_FAMILY}" font-weight="bold" '
        f'font-size="38" text-anchor="middle" fill="{C.AMBER_LIGHT}" stroke="{C.INK}" '
        f'stroke-width="3.2" paint-order="stroke" stroke-linejoin="round">{i}</text>'
        for i in range(10))
    return render.render_svg(render.svg_document(cell_w * 10, cell_h, body), cell_w * 10, cell_h)


def sparkle(size, colour, points, inner, glow_colour):
    star = []
    for i in range(points * 2):
        r = 0.46 if i % 2 == 0 else inner
        a = -math.pi / 2 + i * math.pi / points
        star.append((50 + 100 * r * math.cos(a), 50 + 100 * r * math.sin(a)))
    pts = " ".join(f"{x:.2f},{y:.2f}" for x, y in star)
    body = (
        '<defs><radialGradient id="g"><stop offset="0" stop-color="' + glow_colour +
        '" stop-opacity="0.9"/><stop offset="1" stop-color="' + glow_colour +
        '" stop-opacity="0"/></radialGradient></defs>'
        '<circle cx="50" cy="50" r="48" fill="url(#g)"/>'
        f'<polygon points="{pts}" fill="{colour}"/>'
        '<circle cx="50" cy="50" r="6" fill="#ffffff" opacity="0.9"/>'
    )
    return render.render_svg(render.svg_document(size, size, body, "0 0 100 100"), size, size)


def petal(size, colour, glow):
    body = (
        '<defs><radialGradient id="g"><stop offset="0" stop-color="' + glow +
        '" stop-opacity="0.7"/><stop offset="1" stop-color="' + glow + '" stop-opacity="0"/>'
        '</radialGradient></defs><circle cx="50" cy="50" r="48" fill="url(#g)"/>'
        f'<path d="M50,18 C66,30 66,62 50,82 C34,62 34,30 50,18 Z" fill="{colour}" '
        f'stroke="{C.INK}" stroke-width="3"/>'
        f'<path d="M50,28 L50,72" stroke="{C.INK}" stroke-width="1.6" opacity="0.5"/>'
    )
    return render.render_svg(render.svg_document(size, size, body, "0 0 100 100"), size, size)


def star_rotation():
    """Nine frames (3 x 3) of a gold star that turns, swells and fades into sparks."""
    cell = 64
    sheet = Image.new("RGBA", (cell * 3, cell * 3), (0, 0, 0, 0))
    for frame in range(9):
        t = frame / 8
        angle = t * 144
        scale = 0.55 + 0.45 * math.sin(t * math.pi * 0.9 + 0.2)
        opacity = 1.0 if t < 0.7 else 1.0 - (t - 0.7) / 0.3 * 0.8
        star = []
        for i in range(10):
            r = (40 if i % 2 == 0 else 17) * scale
            a = -math.pi / 2 + i * math.pi / 5
            star.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
        pts = " ".join(f"{x:.2f},{y:.2f}" for x, y in star)
        sparks = "".join(
            f'<circle cx="{50 + (20 + 28 * t) * math.cos(k * math.pi / 3 + t * 2):.1f}" '
            f'cy="{50 + (20 + 28 * t) * math.sin(k * math.pi / 3 + t * 2):.1f}" r="{3.5 * (1 - t) + 1:.1f}" '
            f'fill="{C.AMBER_LIGHT}"/>' for k in range(6))
        body = (f'<g opacity="{opacity:.2f}">{sparks}<polygon points="{pts}" fill="{C.AMBER}" '
                f'stroke="{C.BRASS_DARK}" stroke-width="3" stroke-linejoin="round" '
                f'transform="rotate({angle:.1f} 50 50)"/>'
                f'<circle cx="50" cy="50" r="{7 * scale:.1f}" fill="#fff6d0"/></g>')
        img = render.render_svg(render.svg_document(cell, cell, body, "0 0 100 100"), cell, cell)
        sheet.alpha_composite(img, ((frame % 3) * cell, (frame // 3) * cell))
    return sheet


def chomp():
    """The game-complete reveal: a ring of brass teeth bursting open around a bright centre."""
    teeth = []
    for i in range(24):
        r = 46 if i % 2 == 0 else 34
        a = i * math.pi / 12
        teeth.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
    pts = " ".join(f"{x:.2f},{y:.2f}" for x, y in teeth)
    body = (
        '<defs><radialGradient id="g"><stop offset="0" stop-color="#fff6d0" stop-opacity="1"/>'
        f'<stop offset="0.7" stop-color="{C.AMBER_LIGHT}" stop-opacity="0.6"/>'
        f'<stop offset="1" stop-color="{C.AMBER}" stop-opacity="0"/></radialGradient></defs>'
        f'<polygon points="{pts}" fill="none" stroke="{C.BRASS}" stroke-width="4" '
        'stroke-linejoin="round"/><circle cx="50" cy="50" r="34" fill="url(#g)"/>'
    )
    return render.render_svg(render.svg_document(71, 71, body, "0 0 100 100"), 71, 71)


def small_star():
    star = []
    for i in range(10):
        r = 46 if i % 2 == 0 else 20
        a = -math.pi / 2 + i * math.pi / 5
        star.append((50 + r * math.cos(a), 50 + r * math.sin(a)))
    d = Drawing().fill(polygon(star), C.AMBER_LIGHT)
    return lit_svg(d.svg(), 29, 29, "0 0 100 100", shadow=False)


def arrow():
    d = Drawing().fill(polygon([(38, 6), (62, 6), (62, 52), (80, 52), (50, 94), (20, 52), (38, 52)]),
                       C.BRASS)
    d.detail(ink("M44,12 L44,56", 2.4, C.BRASS_LIGHT, 0.9))
    return lit_svg(d.svg(), 36, 48, "0 0 75 100", strength=1.2)


# ---------------------------------------------------------------- creatures

def bug_frame(frame):
    """The bug that eats filled cells: a rust-red ladybird walking to the right."""
    d = Drawing()
    phase = frame / 6 * 2 * math.pi
    for i, x in enumerate((40, 52, 64)):
        swing = 7 * math.sin(phase + i * 2.1)
        d.line(f"M{x},46 L{x + swing - 4},28 L{x + swing - 8},18", 2.6, C.INK_SOFT)
        d.line(f"M{x},54 L{x - swing - 4},72 L{x - swing - 8},82", 2.6, C.INK_SOFT)
    d.line("M80,44 Q88,36 92,30", 2.0, C.INK_SOFT)
    d.line("M80,56 Q88,64 92,70", 2.0, C.INK_SOFT)
    d.fill(ellipse(78, 50, 9, 10), C.INK_SOFT)
    d.fill(ellipse(50, 50, 28, 22), C.VERMILION)
    d.detail(ink("M22,50 L78,50", 1.8, C.INK))
    d.detail("".join(f'<circle cx="{x}" cy="{y}" r="{r}" fill="{C.INK}"/>'
                     for x, y, r in ((40, 40, 4.2), (60, 38, 3.6), (38, 60, 3.6), (58, 62, 4.2), (28, 50, 3))))
    return d.svg()


def sheet(frames, cell_w, cell_h, view_box):
    out = Image.new("RGBA", (cell_w * len(frames), cell_h), (0, 0, 0, 0))
    for i, svg_body in enumerate(frames):
        out.alpha_composite(lit_svg(svg_body, cell_w, cell_h, view_box, strength=1.2), (i * cell_w, 0))
    return out


BUTTERFLY_COLOURS = [(C.OCHRE, C.AMBER_LIGHT), (C.SLATE, C.SLATE_LIGHT), (C.ROSE, C.ROSE_LIGHT),
                     (C.OLIVE, C.PARCHMENT)]


def butterfly_frame(kind, frame, facing_right):
    """A butterfly seen from above, flying towards the right (or left); its wings beat over
    the six frames."""
    fore, hind = BUTTERFLY_COLOURS[kind]
    open_ = 0.25 + 0.75 * abs(math.cos(frame / 6 * math.pi))
    d = Drawing()
    for side in (1, -1):
        upper = (f"M52,50 C{52 - 6},{50 - side * 38 * open_} {52 + 22},{50 - side * 44 * open_} "
                 f"{52 + 26},{50 - side * 20 * open_} C{52 + 20},{50 - side * 8 * open_} 56,50 52,50 Z")
        lower = (f"M48,50 C{48 - 26},{50 - side * 34 * open_} {48 - 32},{50 - side * 14 * open_} "
                 f"{48 - 20},{50 - side * 6 * open_} C{48 - 12},{50 - side * 2} 46,50 48,50 Z")
        d.fill(path(lower), hind)
        d.fill(path(upper), fore)
    d.fill(ellipse(50, 50, 18, 4), C.INK_SOFT)
    d.line("M66,48 Q76,42 80,36", 1.6, C.INK_SOFT)
    d.line("M66,52 Q76,58 80,64", 1.6, C.INK_SOFT)
    body = f'<g transform="translate(50 50) scale(1.12) translate(-50 -50)">{d.svg()}</g>'
    if not facing_right:
        body = f'<g transform="translate(100 0) scale(-1 1)">{body}</g>'
    return body


# ---------------------------------------------------------------- output

def main():
    data = sys.argv[1]
    g = os.path.join(data, "Graphics")
    render.save_jpg(back_menu(), os.path.join(g, "back_menu.jpg"), quality=88)
    for i in range(5):
        render.save_jpg(back_game(i), os.path.join(g, f"back_game0{i + 1}.jpg"), quality=88)
    for i in range(6):
        render.save_png(line_tile(i), os.path.join(g, f"line{i + 1}.png"))
    render.save_png(line_glow(), os.path.join(g, "line_a.png"))
    render.save_jpg(bottom_bar(), os.path.join(g, "qy_bottom_bar.jpg"), quality=90)
    for kind in (1, 2, 3):
        render.save_png(bonus_picture(kind), os.path.join(g, f"qy_bonus0{kind}.png"))
    render.save_png(gauge(124, 22, False, 10), os.path.join(g, "progress-empty.png"))
    render.save_png(gauge(124, 22, True, 10), os.path.join(g, "progress-full.png"))
    render.save_png(gauge(200, 30, False, 14), os.path.join(g, "loading_empty.png"))
    render.save_png(gauge(200, 30, True, 14), os.path.join(g, "loading_full.png"))
    render.save_png(round_time(), os.path.join(g, "round_time.png"))
    render.save_png(digits(), os.path.join(g, "digits.png"))
    render.save_png(sparkle(64, C.AMBER_LIGHT, 4, 0.10, C.AMBER), os.path.join(g, "particleq.png"))
    render.save_png(sparkle(64, C.TEAL_LIGHT, 6, 0.16, C.TEAL), os.path.join(g, "particleq2.png"))
    render.save_png(petal(64, C.ROSE_LIGHT, C.ROSE), os.path.join(g, "particle1.png"))
    render.save_png(sparkle(64, C.BRASS_LIGHT, 5, 0.2, C.AMBER_LIGHT), os.path.join(g, "particle2.png"))
    render.save_png(star_rotation(), os.path.join(g, "star-rotation.png"))
    render.save_png(chomp(), os.path.join(g, "qy_effect_chomp.png"))
    render.save_png(small_star(), os.path.join(g, "qy_effect_star.png"))
    render.save_png(arrow(), os.path.join(g, "arrow.png"))
    render.save_png(sheet([bug_frame(f) for f in range(6)], 58, 58, "0 0 100 100"),
                    os.path.join(g, "bug_right.png"))
    for kind in range(4):
        for facing, suffix in ((False, "left"), (True, "right")):
            frames = [butterfly_frame(kind, f, facing) for f in range(6)]
            render.save_png(sheet(frames, 38, 38, "0 0 100 100"),
                            os.path.join(g, f"butterfly_anim{kind + 1}_{suffix}.png"))


if __name__ == "__main__":
    main()
