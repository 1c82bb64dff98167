"""Renders every menu screen over what the game draws beneath it, the play screen and the loading
screen, with the stand-in drawing of emulate.py, and puts them on one contact sheet together with
all shape classes and their silhouettes.

Usage: make_contact_sheet.py DATA_FOLDER OUT.png [SCREENS_FOLDER]
SCREENS_FOLDER, when given, receives each screen at full size."""

import os
import sys

from PIL import Image, ImageDraw, ImageFont

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from sheet import emulate, shapes_sheet  # noqa: E402
from sheet.emulate import Canvas, Menu, draw_menu, menu_background, play_screen  # noqa: E402

MENU_BACKGROUND = {"menu-instructions.xml", "menu-instructions2.xml", "menu-instructions3.xml",
                   "menu-highscores.xml", "menu-options.xml", "menu-clear-confirmation.xml",
                   "menu-credits.xml", "menu-continue-confirmation.xml"}
OVER_PLAY = {"menu-pause.xml", "menu-game-over.xml", "menu-game-complete.xml"}


def high_score_rows(canvas):
    rows = [("1", "Ada", "48210"), ("2", "Charles", "41500"), ("3", "Mary", "30950"),
            ("4", "Alfred", "22400"), ("5", "Maria", "15350")]
    for r, (rank, name, score) in enumerate(rows, start=1):
        y = 0.29 + r * 0.036 * 1.25
        canvas.text(0.25, y, 0.036, 0, rank)
        canvas.text(0.3, y, 0.036, 0, name)
        canvas.text(0.65, y, 0.036, 0, score)


def render_screen(data, name):
    canvas = Canvas(data)
    if name == "tutorial":
        # Level 1's first step: the hint and the bobbing arrow over conveyor slot 4.
        play_screen(canvas, data, held=False)
        slot_x = 0.3 + 4 * 0.11875
        canvas.sprite("English\\hint1.png", slot_x, 0.915 - 0.25, 0, 0, flags=9)
        canvas.sprite("Graphics\\arrow.png", slot_x, 0.915 - 0.13, 0, 0, flags=9)
        canvas.sprite("English\\hint2.png", 0.29, 0.6 - 0.25, 0, 0, flags=9)
        return canvas.image
    menu = Menu(data, name)
    texts = {}
    hover = ()
    if name == "menu-main.xml":
        menu_background(canvas)
        draw_menu(canvas, menu, hover=("btnClassicGame",))
        draw_menu(canvas, Menu(data, "menu-info-classic.xml"))
        return canvas.image
    if name.startswith("menu-info-"):
        menu_background(canvas)
        draw_menu(canvas, Menu(data, "menu-main.xml"))
        draw_menu(canvas, menu)
        return canvas.image
    if name == "menu-ingame.xml":
        play_screen(canvas, data)
        return canvas.image
    if name in OVER_PLAY:
        play_screen(canvas, data, held=False)
        if name == "menu-pause.xml":
            hover = ("btnResume",)
        draw_menu(canvas, menu, hover=hover)
        if name == "menu-game-complete.xml":
            from art.shape_drawings import SHAPES
            for i in range(15):
                canvas.sprite(f"Graphics\\Shapes\\{SHAPES[i][0]}_0.png", (i % 5) * 0.0890625 + 0.31,
                              (i // 5) * 0.11875 + 0.44, 0, 0, flags=9)
        return canvas.image
    if name in MENU_BACKGROUND:
        menu_background(canvas)
        if name == "menu-highscores.xml":
            texts = {"txtGameType": "Classic"}
        if name == "menu-continue-confirmation.xml":
            texts = {"txtLevelNum": "Level  14", "txtScoreNum": "Score  23950"}
        checked = ("btnFullScreen",) if name == "menu-options.xml" else ()
        draw_menu(canvas, menu, texts=texts, checked=checked,
                  hover=("btnNext",) if name == "menu-instructions.xml" else ())
        if name == "menu-highscores.xml":
            high_score_rows(canvas)
        return canvas.image
    if name == "menu-map.xml":
        draw_menu(canvas, menu, hover=("btnStage2",))
        import math
        for b in menu.controls("Button")[4:]:
            canvas.sprite("Graphics\\grey.png", float(b["xc"]), float(b["yc"]), 0, 0, flags=9)
        marker = menu.controls("Button")[2]
        mx, my = float(marker["xc"]), float(marker["yc"])
        for k in range(10):
            a = k / 10 * 2 * math.pi
            canvas.sprite("Graphics\\qy_effect_star.png", mx + math.cos(a) * 0.06, my + math.sin(a) * 0.08,
                          0, 0, flags=9)
        return canvas.image
    if name == "menu-intro.xml":
        draw_menu(canvas, menu)
        bar = canvas.texture("Graphics\\loading_full.png")
        bw = bar.size[0] / emulate.W
        canvas.sprite("Graphics\\loading_empty.png", 0.5, 0.75, 0, 0, flags=8)
        canvas.sprite(bar, 0.5 - bw / 2 + bw * 0.3, 0.75, 0, 0, (0, 0, 0.6, 1), flags=8)
        return canvas.image
    raise ValueError(name)


SCREENS = ["menu-intro.xml", "menu-main.xml", "menu-info-transformer.xml", "menu-info-relax.xml",
           "menu-options.xml", "menu-highscores.xml", "menu-instructions.xml",
           "menu-instructions2.xml", "menu-instructions3.xml", "menu-credits.xml", "menu-map.xml",
           "menu-ingame.xml", "menu-pause.xml", "menu-game-over.xml", "menu-game-complete.xml",
           "menu-clear-confirmation.xml", "menu-continue-confirmation.xml", "menu-info-classic.xml",
           "tutorial"]


def main():
    data, out = sys.argv[1], sys.argv[2]
    screens_folder = sys.argv[3] if len(sys.argv) > 3 else None
    thumbs = []
    for name in SCREENS:
        image = render_screen(data, name).convert("RGB")
        if screens_folder:
            os.makedirs(screens_folder, exist_ok=True)
            image.save(os.path.join(screens_folder, name.replace(".xml", "") + ".png"))
        thumbs.append((name, image.resize((400, 300), Image.LANCZOS)))
    shapes = shapes_sheet.build(data, 1).convert("RGB")
    columns = 4
    rows = (len(thumbs) + columns - 1) // columns
    pad, label = 8, 22
    width = max(shapes.size[0], columns * (400 + pad) + pad)
    height = shapes.size[1] + rows * (300 + pad + label) + pad + 40
    sheet = Image.new("RGB", (width, height), (46, 30, 18))
    sheet.paste(shapes, (0, 0))
    draw = ImageDraw.Draw(sheet)
    font = ImageFont.truetype(shapes_sheet.FONT, 16)
    draw.text((pad, shapes.size[1] + 10), "Quillory: the 24 shape classes (four turns, pictures and "
              "silhouettes) and every menu screen, drawn with tools/data/sheet/emulate.py",
              fill=(236, 209, 138), font=font)
    top = shapes.size[1] + 40
    for i, (name, thumb) in enumerate(thumbs):
        x = pad + (i % columns) * (400 + pad)
        y = top + (i // columns) * (300 + pad + label)
        draw.text((x, y), name, fill=(236, 209, 138), font=font)
        sheet.paste(thumb, (x, y + label))
    sheet.save(out, optimize=True)


if __name__ == "__main__":
    main()
