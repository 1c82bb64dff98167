"""Makes the symbol fonts of the language folder ("English/font01.png" and the further fonts the
menus use) and measures the width table that "language.ini" carries.

Every font image has the same layout: a 16 x 8 grid of 36 x 44 pixel cells holding the printable
ASCII characters from the blank to "~" in order, drawn from Linux Libertine Bold. The game reads
one width table and shares it among all font images, so the images differ only in colour.

How the game draws a cell decides where a glyph sits in it: the cell's right 6 % and top 8 % are
cut off, and the rest is drawn centred on the middle of the glyph's advance. So each glyph's
advance is centred at 0.47 of the cell width, and its ink must stay inside the kept part.

Usage: make_fonts.py DATA_FOLDER"""

import os
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

FONT_FILE = "/usr/share/fonts/opentype/linux-libertine/LinLibertine_RB.otf"  # fonts-linuxlibertine
FONT_SIZE = 28
COLUMNS, ROWS = 16, 8
CELL_W, CELL_H = 36, 44
BASELINE = 33  # cap height centred on the kept part's middle (0.54 of the cell height)
OUTLINE = 2
TRACKING = 1.0  # extra advance, for the outline
SYMBOLS = "".join(chr(c) for c in range(32, 127))

# (file name, fill, outline, glow colour or None, glow strength)
FONTS = [
    ("font01.png", (246, 239, 220), (43, 29, 18), None, 0.0),  # plain text: parchment on ink
    ("font02.png", (255, 214, 110), (58, 30, 10), (255, 170, 60), 0.55),  # hovered buttons
    ("font03.png", (226, 176, 84), (43, 29, 18), None, 0.0),  # headings: brass
]


def font():
    return ImageFont.truetype(FONT_FILE, FONT_SIZE)


def advances():
    """The advance of every symbol in pixels, as drawn (with the outline's tracking)."""
    f = font()
    return [f.getlength(ch) + TRACKING for ch in SYMBOLS]


def width_rows():
    """The "LineNN_Width" values: per row, one number per cell in sixteenths of the cell width."""
    widths = [a / CELL_W * 16 for a in advances()]
    widths += [0.0] * (COLUMNS * ROWS - len(widths))
    rows = []
    for r in range(ROWS):
        cells = widths[r * COLUMNS : (r + 1) * COLUMNS]
        rows.append(",".join(f"{w:.2f}" for w in cells))
    return rows


def glyph_origin(index, advance):
    column, row = index % COLUMNS, index // COLUMNS
    x = column * CELL_W + 0.47 * CELL_W - advance / 2
    return x, row * CELL_H + BASELINE


def check_fits():
    """Every glyph's ink, outline included, must lie in the part of its cell that is drawn."""
    f = font()
    for i, ch in enumerate(SYMBOLS):
        if ch == " ":
            continue
        x, y = glyph_origin(i, advances()[i])
        left, top, right, bottom = f.getbbox(ch, anchor="ls", stroke_width=OUTLINE)
        column, row = i % COLUMNS, i // COLUMNS
        cell_left, cell_top = column * CELL_W, row * CELL_H
        assert x + left >= cell_left, f"{ch!r} leaves its cell on the left"
        assert x + right <= cell_left + 0.94 * CELL_W, f"{ch!r} is cut on the right"
        assert y + top >= cell_top + 0.08 * CELL_H, f"{ch!r} is cut at the top"
        assert y + bottom <= cell_top + CELL_H, f"{ch!r} leaves its cell at the bottom"


def draw_font(fill, outline, glow, glow_strength):
    f = font()
    size = (COLUMNS * CELL_W, ROWS * CELL_H)
    ink = Image.new("RGBA", size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(ink)
    shadow = Image.new("L", size, 0)
    shadow_draw = ImageDraw.Draw(shadow)
    for i, ch in enumerate(SYMBOLS):
        x, y = glyph_origin(i, advances()[i])
        draw.text((x, y), ch, font=f, anchor="ls", fill=fill + (255,), stroke_width=OUTLINE,
                  stroke_fill=outline + (255,))
        shadow_draw.text((x + 1.5, y + 1.5), ch, font=f, anchor="ls", fill=150,
                         stroke_width=OUTLINE, stroke_fill=150)
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    shadow = shadow.filter(ImageFilter.GaussianBlur(1.0))
    out.paste(Image.new("RGBA", size, (20, 12, 6, 255)), (0, 0), shadow)
    if glow:
        halo = ink.split()[3].filter(ImageFilter.GaussianBlur(2.2))
        halo = halo.point(lambda v: int(v * glow_strength))
        glow_layer = Image.new("RGBA", size, glow + (255,))
        glow_layer.putalpha(halo)
        out = Image.alpha_composite(out, glow_layer)
    out = Image.alpha_composite(out, ink)
    # Nothing may bleed into the neighbouring cells' drawn parts.
    array = np.asarray(out).copy()
    for c in range(COLUMNS):
        array[:, int(c * CELL_W + 0.94 * CELL_W) : (c + 1) * CELL_W, 3] = 0
    for r in range(ROWS):
        array[r * CELL_H : int(r * CELL_H + 0.08 * CELL_H) + 1, :, 3] = 0
    return Image.fromarray(array, "RGBA")


def main():
    data = sys.argv[1]
    check_fits()
    folder = os.path.join(data, "English")
    os.makedirs(folder, exist_ok=True)
    for name, fill, outline, glow, strength in FONTS:
        draw_font(fill, outline, glow, strength).save(os.path.join(folder, name), optimize=True)


if __name__ == "__main__":
    main()
