"""A small stand-in for the game's drawing, used to look at the data before the game can show it:
the sprite manager's placement rules, the symbol font's text layout and the menu screens' drawing
order, written after the game's own rules (positions are centres, in fractions of 800 x 600).

It is a preview tool only; the game's C++ code is what counts."""

import math
import os
import random
import xml.etree.ElementTree as ET

from PIL import Image

W, H = 800, 600


def read_language(data):
    values = {}
    section = None
    with open(os.path.join(data, "language.ini"), encoding="latin-1") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                section = line[1 : line.rindex("]")].strip().upper()
                continue
            if section == "ENGLISH" and "=" in line:
                key, value = line.split("=", 1)
                key, value = key.strip().lower(), value.strip()
                if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
                    value = value[1:-1]
                values.setdefault(key, value)
    return values


class Canvas:
    def __init__(self, data):
        self.data = data
        self.image = Image.new("RGBA", (W, H), (0, 0, 0, 255))
        self.cache = {}
        self.language = read_language(data)
        self.symbols = self.language["symbollist"]
        self.columns = int(self.language["symbols_in_row"])
        self.rows = int(self.language["symbols_in_col"])
        self.widths = []
        for r in range(1, self.rows + 1):
            self.widths += [float(v) * 0.0625 for v in self.language[f"line{r:02d}_width"].split(",")]
        self.font_name = "English\\font01.png"

    def texture(self, name):
        if name not in self.cache:
            path = os.path.join(self.data, *name.split("\\"))
            self.cache[name] = Image.open(path).convert("RGBA") if os.path.exists(path) else None
        return self.cache[name]

    def sprite(self, name_or_image, x, y, w, h, src=(0, 0, 1, 1), flags=1, alpha=1.0, angle=0.0):
        image = self.texture(name_or_image) if isinstance(name_or_image, str) else name_or_image
        if image is None:
            return
        iw, ih = image.size
        sx0, sy0, sx1, sy1 = src
        if flags & 8:
            pw, ph = (sx1 - sx0) * iw, (sy1 - sy0) * ih
        else:
            pw, ph = w * W, h * H
        if pw < 1 or ph < 1:
            return
        box = (int(sx0 * iw), int(sy0 * ih), max(int(sx0 * iw) + 1, int(sx1 * iw)),
               max(int(sy0 * ih) + 1, int(sy1 * ih)))
        part = image.crop(box)
        if part.size != (int(pw), int(ph)):
            part = part.resize((max(1, int(pw)), max(1, int(ph))), Image.BILINEAR)
        if angle:
            part = part.rotate(-math.degrees(angle), expand=False)
        if alpha < 1.0:
            a = part.split()[3].point(lambda v: int(v * alpha))
            part.putalpha(a)
        left, top = int(x * W - pw / 2), int(y * H - ph / 2)
        if flags & 2:
            base = self.image.crop((left, top, left + part.size[0], top + part.size[1]))
            import numpy as np
            b = np.asarray(base).astype(np.int32)
            p = np.asarray(part).astype(np.int32)
            b[:, :, :3] = np.minimum(255, b[:, :, :3] + p[:, :, :3] * p[:, :, 3:4] // 255)
            self.image.paste(Image.fromarray(b.astype("uint8"), "RGBA"), (left, top))
        else:
            self.image.alpha_composite(part, (left, top)) if left >= 0 and top >= 0 else \
                self._composite_clipped(part, left, top)

    def _composite_clipped(self, part, left, top):
        crop_l, crop_t = max(0, -left), max(0, -top)
        if crop_l >= part.size[0] or crop_t >= part.size[1]:
            return
        self.image.alpha_composite(part.crop((crop_l, crop_t, part.size[0], part.size[1])),
                                   (left + crop_l, top + crop_t))

    def text(self, x, y, size, flags, text, alpha=1.0):
        t = self.language.get(text.lower(), "") or text
        if ".png" in t or ".tga" in t:
            image = self.texture(t)
            if image is None:
                return
            iw, ih = image.size
            w = size * (iw / ih) * (H / W) if not flags & 0x10 else iw / W
            hh = size if not flags & 0x10 else ih / H
            left = x - w / 2 if flags & 1 else (x - w if flags & 2 else x)
            self.sprite(image, left + w / 2, y, w, hh, flags=9 if flags & 0x10 else 1, alpha=alpha)
            return
        font = self.texture(self.font_name)
        if font is None:
            return
        cell_w = font.size[0] / self.columns / W
        cell_h = font.size[1] / self.rows / H
        width = cell_w if flags & 0x10 else cell_w * size / cell_h
        height = cell_h if flags & 0x10 else size
        advances = []
        for ch in t:
            i = self.symbols.find(ch)
            advances.append(self.widths[i] * width if i >= 0 else width * 0.5)
        total = sum(advances)
        pen = x - total / 2 if flags & 1 else (x - total if flags & 2 else x)
        for ch, adv in zip(t, advances):
            i = self.symbols.find(ch)
            if i >= 0:
                c, r = i % self.columns, i // self.columns
                src = (c / self.columns, (r + 0.08) / self.rows, (c + 1 - 0.06) / self.columns,
                       (r + 1) / self.rows)
                self.sprite(font, pen + adv / 2, y, width, height, src,
                            flags=8 if flags & 0x10 else 0, alpha=alpha)
            pen += adv


class Menu:
    def __init__(self, data, name):
        self.root = ET.parse(os.path.join(data, "Menu", name)).getroot()

    def controls(self, tag):
        return [c.attrib for c in self.root if c.tag == tag]


def num(attributes, key):
    try:
        return float(attributes.get(key, "0"))
    except ValueError:
        return 0.0


def draw_menu(canvas, menu, alpha=1.0, hover=(), checked=(), texts=None, slider_value=0.75):
    s = menu.root.attrib
    if s.get("bgImage"):
        canvas.sprite(s["bgImage"], num(s, "xc"), num(s, "yc"), num(s, "width"), num(s, "height"),
                      flags=1, alpha=alpha)
    for im in menu.controls("Image"):
        canvas.sprite(im.get("img", ""), num(im, "xc"), num(im, "yc"), num(im, "width"),
                      num(im, "height"), flags=9 if im.get("stretch") == "no" else 1, alpha=alpha)
    for t in menu.controls("Text"):
        value = (texts or {}).get(t.get("name"), t.get("text", ""))
        if not value:
            continue
        flags = {"left": 0, "right": 2}.get(t.get("align"), 1) + (0x10 if t.get("stretch") == "no" else 0)
        previous = canvas.font_name
        if t.get("font"):
            canvas.font_name = t["font"]
        canvas.text(num(t, "xc"), num(t, "yc"), num(t, "size"), flags, value, alpha)
        canvas.font_name = previous
    previous = canvas.font_name
    for b in menu.controls("Button"):
        is_hover, is_checked = b.get("name") in hover, b.get("name") in checked
        image = (b.get("overImgChecked") if is_hover and is_checked else b.get("outImgChecked")
                 if is_checked else b.get("overImg") if is_hover else b.get("outImg"))
        font = s.get("buttonOverFont") if (is_hover or is_checked) else s.get("buttonFont")
        if font:
            canvas.font_name = font
        width, height, size = num(b, "width"), num(b, "height"), 0.04
        if b.get("stretch") == "no":
            tex = canvas.texture(image) if image else None
            if tex is not None:
                width, height = tex.size[0] / W, tex.size[1] / H
            fnt = canvas.texture(canvas.font_name)
            size = fnt.size[1] / canvas.rows / H
            if image:
                canvas.sprite(image, num(b, "xc"), num(b, "yc"), 0, 0, flags=9, alpha=alpha)
        elif image:
            canvas.sprite(image, num(b, "xc"), num(b, "yc"), width, height, flags=1, alpha=alpha)
        if b.get("text"):
            align = b.get("align")
            x = num(b, "xc") + (width if align == "left" else -width if align == "right" else 0)
            flags = {"left": 0, "right": 2}.get(align, 1) + (0x10 if b.get("stretch") == "no" else 0)
            canvas.text(x, num(b, "yc"), size, flags, b["text"], alpha)
    canvas.font_name = previous
    for sl in menu.controls("Slider"):
        bar = canvas.texture(sl["outSliderImg"])
        canvas.sprite(bar, num(sl, "xc"), num(sl, "yc"), 0, 0, flags=9, alpha=alpha)
        bar_w = bar.size[0] / W
        canvas.sprite(sl["outThumbImg"], num(sl, "xc") - bar_w / 2 + slider_value * bar_w,
                      num(sl, "yc"), 0, 0, flags=9, alpha=alpha)


def menu_background(canvas, butterflies=True):
    canvas.sprite("Graphics\\back_menu.jpg", 0.5, 0.5, 0, 0, flags=8)
    if butterflies:
        rnd = random.Random(4)
        for i in range(8):
            kind = i % 4 + 1
            side = "left" if rnd.random() < 0.5 else "right"
            sheet = canvas.texture(f"Graphics\\butterfly_anim{kind}_{side}.png")
            frame = rnd.randrange(6)
            canvas.sprite(sheet, rnd.randint(1, 9) / 10, rnd.randint(1, 9) / 10, 0, 0,
                          (frame / 6, 0, (frame + 1) / 6, 1), flags=9)


def play_screen(canvas, data, level_classes=("quill", "feather", "oak_leaf"), seed=3,
                variants=False, menu_ingame=None, held=True):
    """The play screen in the middle of a level, drawn in the game's order."""
    rnd = random.Random(seed)
    canvas.sprite("Graphics\\back_game01.jpg", 0.59, 0.44, 0.86, 0.86, flags=0)
    rows = 7
    scroll = 0.05
    period = rows * 0.15833333
    cells = []
    for line in range(6):
        x = 0.29 + line * 0.11875
        for k in range(6):
            canvas.sprite(f"Graphics\\line{line + 1}.png", x, (k + 0.65) * 0.15833333, 0, 0, flags=9)
        for row in range(rows):
            y = row * 0.15833333 - 0.0791666 + (0.08 if line % 2 == 0 else 0) + scroll
            if y > -0.0791666 + period:
                y -= period
            cls = rnd.choice(level_classes)
            v = rnd.randrange(4) if variants else 0
            filled = rnd.random() < 0.35
            cells.append((x, y, cls, v, filled))
    for x, y, cls, v, filled in cells:
        if -0.0791666 <= y <= 1.0791666:
            suffix = "" if filled else "_mask"
            canvas.sprite(f"Graphics\\Shapes\\{cls}_{v}{suffix}.png", x, y, 0, 0, flags=9)
    canvas.sprite("Graphics\\bug_right.png", 0.47, 0.62, 0, 0, (2 / 6, 0, 3 / 6, 1), flags=9)
    canvas.sprite("Graphics\\qy_bottom_bar.jpg", 0.59, 0.915, 0, 0, flags=8)
    for i in range(6):
        cls = level_classes[i % len(level_classes)]
        name = f"Graphics\\Shapes\\{cls}_0.png" if i != 3 else "Graphics\\qy_bonus02.png"
        canvas.sprite(name, 0.3 + i * 0.11875, 0.915, 0, 0, flags=9)
    canvas.sprite("English\\status-border.png", 0.5, 0.5, 0, 0, flags=9)
    menu = Menu(data, "menu-ingame.xml")
    numbers = {"txtScoreNum": "2350", "txtLevelNum": "1", "txtTimeNum": "8"}
    tx = {t.get("name"): (num(t, "xc"), num(t, "yc")) for t in menu.controls("Text") if t.get("name")}
    canvas.sprite("Graphics\\round_time.png", *tx["txtTimeNum"], 0, 0, flags=9, alpha=0.7)
    draw_menu(canvas, menu, texts=numbers)
    bar = canvas.texture("Graphics\\progress-full.png")
    bw, bh = bar.size[0] / W, bar.size[1] / H
    mx, my = tx["txtMeterBar"]
    canvas.sprite("Graphics\\progress-empty.png", mx, my, 0, 0, flags=8)
    p = 0.42
    canvas.sprite(bar, mx - bw / 2 + bw * p / 2, my, 0, 0, (0, 0, p, 1), flags=8)
    if held:
        canvas.sprite(f"Graphics\\Shapes\\{level_classes[1]}_0.png", 0.52, 0.55, 0, 0, flags=9)
    return cells
