"""Makes the pictures that the menu screens and the play screen's frame use: title, panels,
buttons, check boxes, sliders, the stage map and its medallions, the status panel frame and the
tutorial's hint labels.

Usage: make_menu_art.py DATA_FOLDER"""

import math
import os
import sys

import numpy as np
from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from artkit import palette as C  # noqa: E402
from artkit import render, textures  # noqa: E402
from artkit.drawing import Drawing, circle, path  # noqa: E402
from art.make_graphics import engraving, lit_svg, stamp  # noqa: E402
from art.shape_drawings import SHAPES  # noqa: E402
from text.english import HINTS  # noqa: E402

FONT = "Linux Libertine O"
SHAPE_BODIES = dict(SHAPES)


def svg_image(width, height, body, scale=1):
    doc = render.svg_document(width * scale, height * scale, body, f"0 0 {width} {height}")
    image = render.render_svg(doc, width * scale, height * scale)
    return render.downscale(image, width, height) if scale != 1 else image


BRASS_GRADIENT = (
    '<linearGradient id="brass" x1="0" y1="0" x2="1" y2="1">'
    f'<stop offset="0" stop-color="{C.BRASS_LIGHT}"/><stop offset="0.45" stop-color="{C.BRASS}"/>'
    f'<stop offset="1" stop-color="{C.BRASS_DARK}"/></linearGradient>'
)


def title():
    w, h = 540, 150
    text = (
        f'<text x="{w / 2}" y="104" font-family="{FONT}" font-weight="bold" font-size="112" '
        f'text-anchor="middle" letter-spacing="2" fill="url(#brass)" stroke="{C.INK}" '
        f'stroke-width="6" paint-order="stroke" stroke-linejoin="round">Quillory</text>'
    )
    shadow = text.replace('fill="url(#brass)"', 'fill="#000"').replace(
        f'stroke="{C.INK}"', 'stroke="#000"').replace(f'x="{w / 2}" y="104"', f'x="{w / 2 + 4}" y="108"')
    flourish = (
        f'<path d="M80,128 C180,140 360,140 460,126" fill="none" stroke="{C.INK}" stroke-width="7" '
        'stroke-linecap="round"/>'
        f'<path d="M80,128 C180,140 360,140 460,126" fill="none" stroke="{C.BRASS}" stroke-width="3" '
        'stroke-linecap="round"/>'
    )
    body = (f"<defs>{BRASS_GRADIENT}<filter id='blur'><feGaussianBlur stdDeviation='3'/></filter></defs>"
            f"<g opacity='0.55' filter='url(#blur)'>{shadow}</g>{flourish}{text}")
    image = svg_image(w, h, body, scale=2)
    return render.light_from_top_left(image, strength=0.6, rim=2)


def wood_panel(width, height, frame=12, seed=1):
    """A dark walnut panel in a brass frame with rivets at the corners."""
    rgb = textures.wood(width, height, "#1e130b", "#3e2717", seed=seed)
    rgb = textures.vignette(rgb, strength=0.35, light_x=0.3, light_y=0.2)
    inner = textures.to_image(rgb)
    r = 14
    frame_svg = (
        f"<defs>{BRASS_GRADIENT}</defs>"
        f'<rect x="{frame / 2 + 1}" y="{frame / 2 + 1}" width="{width - frame - 2}" '
        f'height="{height - frame - 2}" rx="{r}" fill="none" stroke="{C.INK}" stroke-width="{frame + 3}"/>'
        f'<rect x="{frame / 2 + 1}" y="{frame / 2 + 1}" width="{width - frame - 2}" '
        f'height="{height - frame - 2}" rx="{r}" fill="none" stroke="url(#brass)" stroke-width="{frame - 1}"/>'
        f'<rect x="{frame + 3}" y="{frame + 3}" width="{width - 2 * frame - 6}" '
        f'height="{height - 2 * frame - 6}" rx="{r - 6}" fill="none" stroke="{C.BRASS_DARK}" '
        f'stroke-width="1.5" opacity="0.8"/>'
    )
    for cx, cy in ((frame, frame), (width - frame, frame), (frame, height - frame),
                   (width - frame, height - frame)):
        frame_svg += (f'<circle cx="{cx}" cy="{cy}" r="5.5" fill="{C.BRASS_LIGHT}" stroke="{C.INK}" '
                      f'stroke-width="1.5"/>')
    mask_svg = (f'<rect x="1" y="1" width="{width - 2}" height="{height - 2}" rx="{r + frame / 2}" '
                'fill="#fff"/>')
    outline = svg_image(width, height, frame_svg)
    shape = svg_image(width, height, mask_svg).split()[3]
    # inner shadow under the frame's top-left edge
    a = np.asarray(shape).astype(np.float32) / 255
    shade = render.blur(render.shift(1 - a, 6, 6) * a, 6)
    base = render.to_array(inner)
    base[:, :, :3] *= (1 - 0.6 * shade)[:, :, None]
    base[:, :, 3] = a * 0.96
    panel = Image.alpha_composite(render.from_array(base), outline)
    return panel


def button(width, height, hover, seed):
    """A walnut plaque in a brass rim; hovered, the rim brightens and the wood glows warm."""
    rgb = textures.wood(width, height, "#2a190d" if not hover else "#4a2c14",
                        "#5a3a22" if not hover else "#8a5a30", seed=seed)
    ys = np.linspace(0, 1, height, dtype=np.float32)
    rgb = rgb * (1.15 - 0.35 * ys)[:, None, None]
    r = height / 2 - 2
    shape_svg = f'<rect x="2" y="2" width="{width - 4}" height="{height - 4}" rx="{r}" fill="#fff"/>'
    rim = C.AMBER_LIGHT if hover else C.BRASS
    rim_svg = (
        f'<rect x="2.5" y="2.5" width="{width - 5}" height="{height - 5}" rx="{r}" fill="none" '
        f'stroke="{C.INK}" stroke-width="5"/>'
        f'<rect x="3" y="3" width="{width - 6}" height="{height - 6}" rx="{r - 0.5}" fill="none" '
        f'stroke="{rim}" stroke-width="2.6"/>'
        f'<rect x="8" y="5.5" width="{width - 16}" height="{(height - 11) * 0.38:.1f}" rx="{r * 0.6:.1f}" '
        f'fill="#fff" opacity="{0.16 if hover else 0.09}"/>'
    )
    alpha = np.asarray(svg_image(width, height, shape_svg, 2).split()[3]).astype(np.float32) / 255
    plate = textures.to_image(np.clip(rgb, 0, 1), alpha)
    return Image.alpha_composite(plate, svg_image(width, height, rim_svg, 2))


def round_button(size, hover, glyph):
    d = Drawing()
    d.fill(circle(50, 50, 44), C.AMBER_LIGHT if hover else C.BRASS)
    d.fill(circle(50, 50, 32), C.WALNUT_LIGHT if hover else C.WALNUT)
    if glyph == "left":
        d.fill(path("M62,30 L34,50 L62,70 Z"), C.AMBER_LIGHT if hover else C.BRASS_LIGHT)
    elif glyph == "right":
        d.fill(path("M38,30 L66,50 L38,70 Z"), C.AMBER_LIGHT if hover else C.BRASS_LIGHT)
    return lit_svg(d.svg(), size, size, "0 0 100 100", strength=1.1, shadow=False)


def check_box(checked, hover):
    d = Drawing()
    d.fill('<rect x="8" y="8" width="84" height="84" rx="14" fill="FILL"/>',
           C.AMBER_LIGHT if hover else C.BRASS)
    d.fill('<rect x="20" y="20" width="60" height="60" rx="8" fill="FILL"/>', C.WALNUT_DARK)
    if checked:
        d.line("M30,52 L45,68 L74,30", 11, C.LEAF if not hover else C.MOSS_LIGHT)
    return lit_svg(d.svg(), 34, 34, "0 0 100 100", strength=1.1, shadow=False)


def slider_bar(hover):
    w, h = 240, 20
    body = (
        f"<defs>{BRASS_GRADIENT}</defs>"
        f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="9" fill="url(#brass)" '
        f'stroke="{C.INK}" stroke-width="1.6"/>'
        f'<rect x="6" y="6" width="{w - 12}" height="{h - 12}" rx="4" '
        f'fill="{"#3a2616" if hover else C.WALNUT_DARK}"/>'
    )
    for k in range(11):
        x = 6 + (w - 12) * k / 10
        body += f'<rect x="{x - 0.6:.1f}" y="8" width="1.2" height="4" fill="{C.BRASS_DARK}"/>'
    return svg_image(w, h, body, 2)


def slider_thumb(hover):
    d = Drawing()
    d.fill('<rect x="14" y="6" width="42" height="88" rx="12" fill="FILL"/>',
           C.AMBER_LIGHT if hover else C.BRASS)
    d.detail(f'<path d="M26,30 L44,30 M26,50 L44,50 M26,70 L44,70" stroke="{C.BRASS_DARK}" '
             'stroke-width="4" stroke-linecap="round"/>')
    return lit_svg(d.svg(), 24, 34, "0 0 70 100", strength=1.2, shadow=True)


# ---------------------------------------------------------------- stage map

STAGE_POSITIONS = [(0.15, 0.74), (0.30, 0.50), (0.45, 0.72), (0.58, 0.45), (0.73, 0.67),
                   (0.85, 0.42), (0.70, 0.22)]
STAGE_COLOURS = [C.MOSS, C.SLATE, C.LEAF_DARK, C.OCHRE, C.INDIGO, C.TEAL, C.RUST]
MEDALLION = 80


def stage_map():
    rgb = textures.parchment(800, 600, "#e8d9b0", seed=71, mottling=0.14)
    for name, size, angle, x, y in (("nautilus", 200, 10, 560, 400), ("fern", 260, -10, 10, 20),
                                    ("oak_leaf", 160, 30, 250, 250), ("crab", 170, 0, 40, 380),
                                    ("dragonfly", 150, 20, 420, 20), ("magnifier", 170, -20, 620, 120)):
        line_rgb, alpha = engraving(name, size, angle, C.WALNUT, 0.14)
        stamp(rgb, line_rgb, alpha, x, y)
    rgb = textures.vignette(rgb, strength=0.45, light_x=0.35, light_y=0.3)
    base = textures.to_image(rgb)
    points = [(x * 800, y * 600) for x, y in STAGE_POSITIONS]
    route = "M" + " L".join(f"{x:.0f},{y:.0f}" for x, y in points)
    compass = ("<g transform='translate(720 520)'>"
               f"<circle r='46' fill='none' stroke='{C.WALNUT}' stroke-width='2'/>"
               f"<circle r='38' fill='none' stroke='{C.WALNUT}' stroke-width='1' stroke-dasharray='3 4'/>"
               f"<path d='M0,-44 L8,0 L0,44 L-8,0 Z' fill='{C.WALNUT}' opacity='0.8'/>"
               f"<path d='M-44,0 L0,8 L44,0 L0,-8 Z' fill='{C.WALNUT_LIGHT}' opacity='0.7'/>"
               f"<text y='-52' font-family='{FONT}' font-weight='bold' font-size='18' "
               f"text-anchor='middle' fill='{C.WALNUT}'>N</text></g>")
    frame = (f'<rect x="8" y="8" width="784" height="584" fill="none" stroke="{C.WALNUT}" stroke-width="3"/>'
             f'<rect x="16" y="16" width="768" height="568" fill="none" stroke="{C.WALNUT}" '
             'stroke-width="1.2"/>')
    overlay = svg_image(800, 600, (
        f'<path d="{route}" fill="none" stroke="{C.RUST_DARK}" stroke-width="4" '
        f'stroke-dasharray="2 12" stroke-linecap="round" opacity="0.85"/>' + compass + frame))
    return Image.alpha_composite(base, overlay).convert("RGB")


def medallion(stage, hover):
    """A stage's medallion: a brass ring round the object whose sound the map plays for it
    (catalogue entry stage + 3)."""
    name = SHAPES[stage + 3][0]
    ring = C.AMBER_LIGHT if hover else C.BRASS
    d = Drawing()
    d.fill(circle(50, 50, 46), ring)
    d.fill(circle(50, 50, 37), STAGE_COLOURS[stage - 1])
    inner = f'<g transform="translate(50 50) scale(0.6) translate(-50 -50)">{SHAPE_BODIES[name]()}</g>'
    beads = "".join(f'<circle cx="{50 + 41.5 * math.cos(k * math.pi / 6):.2f}" '
                    f'cy="{50 + 41.5 * math.sin(k * math.pi / 6):.2f}" r="1.7" fill="{C.BRASS_DARK}"/>'
                    for k in range(12))
    glow = (f'<circle cx="50" cy="50" r="37" fill="#fff2c0" opacity="0.25"/>' if hover else "")
    return lit_svg(d.svg() + beads + glow + inner, MEDALLION, MEDALLION, "0 0 100 100", strength=1.1)


def locked():
    """Laid over a stage that is not open yet: a smoky veil and a padlock."""
    d = Drawing()
    d.fill('<rect x="34" y="46" width="32" height="26" rx="4" fill="FILL"/>', C.PEWTER)
    d.line("M40,46 L40,38 C40,26 60,26 60,38 L60,46", 5, C.PEWTER)
    d.detail(f'<circle cx="50" cy="57" r="3.5" fill="{C.INK}"/><path d="M50,58 L50,66" '
             f'stroke="{C.INK}" stroke-width="3"/>')
    veil = '<circle cx="50" cy="50" r="47" fill="#1a1410" opacity="0.62"/>'
    return lit_svg(veil + d.svg(), MEDALLION, MEDALLION, "0 0 100 100", strength=1.0, shadow=False)


# ---------------------------------------------------------------- play screen frame

PLAQUES = [0.22, 0.38, 0.54]  # score, level, time: where menu-ingame puts its numbers


def status_border():
    """The status panel (the left fifth of the play screen) and a thin frame round the field; the
    play area and the conveyor's bar stay transparent."""
    w, h = 800, 600
    rgb = textures.wood(w, h, "#1e120a", "#4a2f1c", seed=91, vertical=True)
    rgb = textures.vignette(rgb, strength=0.4, light_x=0.1, light_y=0.2)
    alpha = np.zeros((h, w), dtype=np.float32)
    alpha[:, :160] = 1.0
    alpha[:6, :] = 1.0
    alpha[:, 794:] = 1.0
    board = textures.to_image(rgb, alpha)
    body = f"<defs>{BRASS_GRADIENT}</defs>"
    body += (f'<path d="M160,0 L160,600" stroke="{C.INK}" stroke-width="6"/>'
             f'<path d="M158,0 L158,600" stroke="url(#brass)" stroke-width="3"/>'
             f'<path d="M160,6 L794,6" stroke="{C.BRASS_DARK}" stroke-width="2"/>'
             f'<path d="M794,6 L794,600" stroke="{C.BRASS_DARK}" stroke-width="2"/>')
    for y in PLAQUES:
        cy = y * 600 + 12
        body += (f'<rect x="14" y="{cy - 24}" width="132" height="46" rx="9" fill="#140c06" '
                 f'stroke="{C.BRASS}" stroke-width="2.4"/>'
                 f'<rect x="17" y="{cy - 21}" width="126" height="40" rx="7" fill="none" '
                 f'stroke="#000" stroke-width="2" opacity="0.5"/>')
    # The meter's recess and a small quill emblem at the top.
    body += (f'<rect x="14" y="{0.68 * 600 - 17}" width="132" height="34" rx="9" fill="#140c06" '
             f'stroke="{C.BRASS}" stroke-width="2.4"/>')
    overlay = svg_image(w, h, body, 1)
    framed = Image.alpha_composite(board, overlay)
    name = title().resize((146, 41), Image.LANCZOS)
    framed.alpha_composite(name, (7, 22))
    return framed


def slot():
    """A recessed card for one picture of the collection on the game-complete screen."""
    rgb = textures.parchment(75, 75, C.PARCHMENT_MID, seed=61, mottling=0.06)
    alpha = np.ones((75, 75), dtype=np.float32)
    a = np.zeros((75, 75), dtype=np.float32)
    a[3:72, 3:72] = 1
    shade = render.blur(render.shift(1 - a, 4, 4) * a, 3)
    rgb = rgb * (1 - 0.5 * shade)[:, :, None]
    rgb[:3, :] = rgb[:, :3] = textures.hex_rgb(C.BRASS_DARK)
    rgb[72:, :] = rgb[:, 72:] = textures.hex_rgb(C.BRASS_LIGHT)
    return textures.to_image(np.clip(rgb, 0, 1), alpha)


def hint(text):
    """A tutorial label: a parchment card with a pointer downwards."""
    lines = text.split("\n")
    width = 270 if len(lines) == 1 else 200
    height = 80 if len(lines) == 1 else 100
    card = (f'<path d="M8,6 L{width - 8},6 Q{width - 2},6 {width - 2},12 L{width - 2},{height - 24} '
            f'Q{width - 2},{height - 18} {width - 8},{height - 18} L{width / 2 + 12},{height - 18} '
            f'L{width / 2},{height - 3} L{width / 2 - 12},{height - 18} L8,{height - 18} '
            f'Q2,{height - 18} 2,{height - 24} L2,12 Q2,6 8,6 Z" fill="{C.PARCHMENT}" '
            f'stroke="{C.INK}" stroke-width="3" stroke-linejoin="round"/>')
    body = card
    for i, line in enumerate(lines):
        y = (6 + height - 18) / 2 + 7 + (i - (len(lines) - 1) / 2) * 24
        body += (f'<text x="{width / 2}" y="{y}" font-family="{FONT}" font-weight="bold" '
                 f'font-size="21" text-anchor="middle" fill="{C.INK}">{line}</text>')
    image = svg_image(width, height, body, 2)
    return render.drop_shadow(image, offset=3, radius=2, opacity=0.4)


def main():
    data = sys.argv[1]
    g = os.path.join(data, "Graphics")
    lang = os.path.join(data, "English")
    render.save_png(title(), os.path.join(g, "title.png"))
    render.save_png(wood_panel(560, 470, seed=3), os.path.join(g, "panel_large.png"))
    render.save_png(wood_panel(460, 270, seed=5), os.path.join(g, "panel_small.png"))
    render.save_png(wood_panel(460, 360, seed=9), os.path.join(g, "panel_medium.png"))
    render.save_png(wood_panel(300, 330, frame=10, seed=7), os.path.join(g, "panel_info.png"))
    for name, (w, h) in {"btn": (220, 44), "btn_large": (260, 54), "btn_small": (150, 40)}.items():
        render.save_png(button(w, h, False, 21), os.path.join(g, f"{name}.png"))
        render.save_png(button(w, h, True, 21), os.path.join(g, f"{name}_over.png"))
    for glyph in ("left", "right"):
        render.save_png(round_button(40, False, glyph), os.path.join(g, f"arrow_{glyph}.png"))
        render.save_png(round_button(40, True, glyph), os.path.join(g, f"arrow_{glyph}_over.png"))
    render.save_png(check_box(False, False), os.path.join(g, "check.png"))
    render.save_png(check_box(False, True), os.path.join(g, "check_over.png"))
    render.save_png(check_box(True, False), os.path.join(g, "check_on.png"))
    render.save_png(check_box(True, True), os.path.join(g, "check_on_over.png"))
    render.save_png(slider_bar(False), os.path.join(g, "slider_bar.png"))
    render.save_png(slider_bar(True), os.path.join(g, "slider_bar_over.png"))
    render.save_png(slider_thumb(False), os.path.join(g, "slider_thumb.png"))
    render.save_png(slider_thumb(True), os.path.join(g, "slider_thumb_over.png"))
    render.save_jpg(stage_map(), os.path.join(g, "map.jpg"), quality=90)
    for stage in range(1, 8):
        render.save_png(medallion(stage, False), os.path.join(g, f"stage{stage}.png"))
        render.save_png(medallion(stage, True), os.path.join(g, f"stage{stage}_over.png"))
    render.save_png(locked(), os.path.join(g, "grey.png"))
    render.save_png(slot(), os.path.join(g, "slot.png"))
    border = status_border()
    render.save_png(border, os.path.join(g, "status-border.png"))
    render.save_png(border, os.path.join(lang, "status-border.png"))
    for i, text in enumerate(HINTS, start=1):
        render.save_png(hint(text), os.path.join(lang, f"hint{i}.png"))


if __name__ == "__main__":
    main()
