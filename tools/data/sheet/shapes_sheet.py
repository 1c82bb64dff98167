"""A contact sheet of every shape class: its four turns in colour and as silhouettes, each on a
light card like the play field's lines, so the classes can be compared side by side.

Usage: shapes_sheet.py DATA_FOLDER OUT.png [ZOOM]"""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from art.shape_drawings import SHAPES  # noqa: E402

FONT = "/usr/share/fonts/opentype/linux-libertine/LinLibertine_RB.otf"


def build(data, zoom=1, columns=2):
    cell = 71 * zoom
    pad = 6 * zoom
    label_w = 110 * zoom
    block_w = label_w + 8 * (cell + pad) + pad * 3
    rows = (len(SHAPES) + columns - 1) // columns
    sheet = Image.new("RGBA", (block_w * columns, rows * (cell + pad) + pad), (226, 210, 168, 255))
    draw = ImageDraw.Draw(sheet)
    font = ImageFont.truetype(FONT, 16 * zoom)
    for i, (name, _) in enumerate(SHAPES):
        bx = (i // rows) * block_w
        y = pad + (i % rows) * (cell + pad)
        draw.text((bx + pad, y + cell // 2 - 10 * zoom), f"{i:2d} {name}", fill=(43, 29, 18), font=font)
        for v in range(4):
            for k, suffix in enumerate(("", "_mask")):
                x = bx + label_w + (k * 4 + v) * (cell + pad) + k * pad * 2
                card = Image.new("RGBA", (cell, cell), (239, 227, 196, 255))
                sheet.alpha_composite(card, (x, y))
                pic = Image.open(os.path.join(data, "Graphics", "Shapes", f"{name}_{v}{suffix}.png"))
                pic = pic.convert("RGBA").resize((cell, cell), Image.NEAREST)
                sheet.alpha_composite(pic, (x, y))
    return sheet


if __name__ == "__main__":
    zoom = int(sys.argv[3]) if len(sys.argv) > 3 else 1
    build(sys.argv[1], zoom).save(sys.argv[2])
