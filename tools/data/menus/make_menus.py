"""Writes the 18 menu screens of "Menu/". Every control's size is taken from its picture, so a
button's hit box always matches what is drawn.

Usage: make_menus.py DATA_FOLDER"""

import os
import sys
from xml.sax.saxutils import quoteattr

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from art.make_menu_art import STAGE_POSITIONS  # noqa: E402
from text.english import MENU_TEXTS  # noqa: E402

W, H = 800.0, 600.0
CLICK_SOUND = "Sound\\menu_click.ogg"
HOVER_SOUND = "Sound\\menu_hover.ogg"
FONT = "English\\font01.png"
FONT_HOVER = "English\\font02.png"
FONT_HEADING = "English\\font03.png"

DATA = None  # set by main(): the data folder, to measure pictures


def size_of(image):
    with Image.open(os.path.join(DATA, *image.split("\\"))) as picture:
        return picture.size[0] / W, picture.size[1] / H


def num(value):
    return f"{value:.4f}".rstrip("0").rstrip(".") if value else "0"


def element(tag, **attributes):
    parts = " ".join(f"{key}={quoteattr(str(value))}" for key, value in attributes.items())
    return f"  <{tag} {parts}/>"


class Screen:
    def __init__(self, bg=None, xc=0.5, yc=0.5, width=None, height=None):
        self.attributes = {}
        if bg:
            bw, bh = size_of(bg) if width is None else (width, height)
            self.attributes.update(xc=num(xc), yc=num(yc), width=num(bw), height=num(bh), bgImage=bg)
        self.attributes.update(clickSound=CLICK_SOUND, overSound=HOVER_SOUND, buttonFont=FONT,
                               buttonOverFont=FONT_HOVER)
        self.buttons, self.sliders, self.images, self.texts = [], [], [], []

    def button(self, name, action, x, y, text="", image="Graphics\\btn", align=None, check=False):
        out, over = f"{image}.png", f"{image}_over.png"
        bw, bh = size_of(out)
        attributes = dict(name=name)
        if text:
            attributes["text"] = text
        if align:
            attributes["align"] = align
        attributes.update(stretch="no", xc=num(x), yc=num(y), width=num(bw), height=num(bh),
                          outImg=out, overImg=over)
        if check:
            attributes.update(outImgChecked=f"{image}_on.png", overImgChecked=f"{image}_on_over.png")
        attributes["action"] = action
        self.buttons.append(element("Button", **attributes))

    def slider(self, name, action, x, y):
        self.sliders.append(element(
            "Slider", name=name, xc=num(x), yc=num(y), outSliderImg="Graphics\\slider_bar.png",
            overSliderImg="Graphics\\slider_bar_over.png", outThumbImg="Graphics\\slider_thumb.png",
            overThumbImg="Graphics\\slider_thumb_over.png", action=action))

    def image(self, img, x, y):
        iw, ih = size_of(img)
        self.images.append(element("Image", stretch="no", xc=num(x), yc=num(y), width=num(iw),
                                   height=num(ih), img=img))

    def text(self, text, x, y, size=0.05, name=None, align=None, font=None, natural=False):
        attributes = {}
        if natural:
            attributes["stretch"] = "no"
        if name:
            attributes["name"] = name
        attributes["text"] = text
        if align:
            attributes["align"] = align
        attributes.update(xc=num(x), yc=num(y), size=num(size))
        if font:
            attributes["font"] = font
        self.texts.append(element("Text", **attributes))

    def heading(self, text, x, y, size=0.09):
        self.text(text, x, y, size, font=FONT_HEADING)

    def xml(self, comment):
        lines = ['<?xml version="1.0" encoding="UTF-8"?>', f"<!-- {comment} -->",
                 "<Screen " + " ".join(f"{k}={quoteattr(v)}" for k, v in self.attributes.items()) + ">"]
        lines += self.images + self.texts + self.buttons + self.sliders
        lines += ["</Screen>", ""]
        return "\n".join(lines)


def main_menu():
    s = Screen()
    s.image("Graphics\\title.png", 0.5, 0.14)
    s.heading("TxtSubtitle", 0.5, 0.272, 0.06)
    s.button("btnClassicGame", "procClassicGame", 0.27, 0.40, "BtnClassic", "Graphics\\btn_large")
    s.button("btnTransformerGame", "procTransformerGame", 0.27, 0.50, "BtnTransformer",
             "Graphics\\btn_large")
    s.button("btnRelaxGame", "procRelaxGame", 0.27, 0.60, "BtnRelax", "Graphics\\btn_large")
    s.button("btnInstructions", "procInstructions", 0.27, 0.70, "BtnInstructions")
    s.button("btnOptions", "procOptions", 0.27, 0.775, "BtnOptions")
    s.button("btnHighScores", "procHighScores", 0.27, 0.85, "BtnHighScores")
    s.button("btnExit", "procExit", 0.27, 0.925, "BtnExit")
    return s, "The main menu: the three modes and the other screens"


def info_panel(mode, samples):
    s = Screen("Graphics\\panel_info.png", 0.70, 0.615)
    s.heading(f"Info{mode}Title", 0.70, 0.40, 0.08)
    for i in range(5):
        s.text(f"Info{mode}{i + 1}", 0.70, 0.485 + i * 0.05, 0.05)
    for i, picture in enumerate(samples):
        x = 0.70 + (i - (len(samples) - 1) / 2) * 0.1
        s.image("Graphics\\slot.png", x, 0.785)
        s.image(f"Graphics\\Shapes\\{picture}.png", x, 0.785)
    return s


def in_game():
    s = Screen()
    for label, number, y in (("TxtHudScore", "txtScoreNum", 0.22), ("TxtHudLevel", "txtLevelNum", 0.38),
                             ("TxtHudTime", "txtTimeNum", 0.54)):
        s.text(label, 0.1, y - 0.05, 0.048, font=FONT_HEADING)
        s.text("0", 0.1, y + 0.02, 0.07, name=number)
    s.text("TxtHudMeter", 0.1, 0.628, 0.048, font=FONT_HEADING)
    s.text("", 0.1, 0.68, 0.05, name="txtMeterBar")
    s.button("btnMenu", "procMenu", 0.1, 0.79, "BtnMenu", "Graphics\\btn_small")
    s.button("btnDiscard", "procDiscard", 0.1, 0.875, "BtnDiscard", "Graphics\\btn_small")
    return s, "The play screen's status panel: score, level, time, the meter and two buttons"


def pause():
    s = Screen("Graphics\\panel_small.png")
    s.heading("TxtPaused", 0.5, 0.335)
    s.button("btnResume", "procResume", 0.5, 0.43, "BtnResume")
    s.button("btnOptions", "procOptions", 0.5, 0.52, "BtnOptions")
    s.button("btnEnd", "procEnd", 0.5, 0.61, "BtnEndGame")
    return s, "The pause menu over the play screen"


def options():
    s = Screen("Graphics\\panel_large.png")
    s.heading("TxtOptions", 0.5, 0.18)
    s.text("TxtMusic", 0.22, 0.30, 0.06, align="left")
    s.slider("MusicVolume", "procMusicMode", 0.62, 0.30)
    s.text("TxtSound", 0.22, 0.40, 0.06, align="left")
    s.slider("SfxVolume", "procSoundMode", 0.62, 0.40)
    s.button("btnFullScreen", "procFullScreenMode", 0.25, 0.515, "TxtFullScreen", "Graphics\\check",
             align="left", check=True)
    s.button("btn3DHardware", "proc3DHardware", 0.25, 0.605, "TxtHardware", "Graphics\\check",
             align="left", check=True)
    s.button("btnCredits", "procCredits", 0.5, 0.73, "BtnCredits")
    s.button("btnClose", "procClose", 0.5, 0.82, "BtnClose")
    return s, "Options: music and sound volumes, full screen, hardware acceleration"


def stage_map():
    s = Screen("Graphics\\map.jpg")
    s.heading("TxtMapTitle", 0.5, 0.075)
    # Button k is stage k's medallion: the game moves its marker to button number stage.
    s.button("btnStart", "procStart", 0.5, 0.92, "BtnStart")
    for stage, (x, y) in enumerate(STAGE_POSITIONS, start=1):
        s.button(f"btnStage{stage}", f"procStage{stage}", x, y, image=f"Graphics\\stage{stage}")
        s.text(f"TxtStage{stage}", x, y + 0.115, 0.045)
    return s, "The stage map: the start button first, then stages 1 to 7 in order"


def high_scores():
    s = Screen("Graphics\\panel_large.png")
    s.heading("TxtHighScores", 0.5, 0.17)
    s.text("", 0.5, 0.245, 0.055, name="txtGameType", font=FONT_HOVER)
    s.button("btnPrevious", "procPrevious", 0.30, 0.245, image="Graphics\\arrow_left")
    s.button("btnNext", "procNext", 0.70, 0.245, image="Graphics\\arrow_right")
    # The table is drawn from y 0.29 down to 0.74 by the game: nothing else goes there.
    s.button("btnClear", "procClear", 0.38, 0.83, "BtnClear", "Graphics\\btn_small")
    s.button("btnClose", "procClose", 0.62, 0.83, "BtnClose", "Graphics\\btn_small")
    return s, "High scores: the game draws the table between the mode's name and the buttons"


def game_over():
    s = Screen("Graphics\\panel_small.png")
    s.heading("TxtGameOver", 0.5, 0.335)
    s.text("TxtGameOver1", 0.5, 0.42, 0.055)
    s.text("TxtGameOver2", 0.5, 0.475, 0.055)
    s.button("btnContinue", "procContinue", 0.37, 0.605, "BtnTryAgain", "Graphics\\btn_small")
    s.button("btnExit", "procExit", 0.63, 0.605, "BtnExit", "Graphics\\btn_small")
    return s, "Game over: try the level again or leave"


def game_complete():
    s = Screen("Graphics\\panel_large.png", 0.49, 0.5)
    s.heading("TxtComplete", 0.49, 0.19)
    s.text("TxtComplete1", 0.49, 0.285, 0.05)
    # The game reveals catalogue entries 0 to 14 on these cards, in a 5 x 3 grid.
    for i in range(15):
        s.image("Graphics\\slot.png", (i % 5) * 0.0890625 + 0.31, (i // 5) * 0.11875 + 0.44)
    s.button("btnMenu", "procMenu", 0.49, 0.82, "BtnMenu")
    return s, "Game complete: the collection is revealed on the cards"


def clear_confirmation():
    s = Screen("Graphics\\panel_small.png")
    s.heading("TxtClearQuestion", 0.5, 0.37, 0.075)
    s.text("TxtClearNote", 0.5, 0.455, 0.05)
    s.button("btnYes", "procYes", 0.38, 0.6, "BtnYes", "Graphics\\btn_small")
    s.button("btnNo", "procNo", 0.62, 0.6, "BtnNo", "Graphics\\btn_small")
    return s, "Asks before every high-score table is emptied"


def continue_confirmation():
    s = Screen("Graphics\\panel_medium.png")
    s.heading("TxtContinueQuestion", 0.5, 0.285, 0.068)
    s.text("", 0.5, 0.37, 0.055, name="txtLevelNum")
    s.text("", 0.5, 0.425, 0.055, name="txtScoreNum")
    s.button("btnLoad", "procLoad", 0.5, 0.53, "BtnLoad")
    s.button("btnNew", "procNew", 0.5, 0.615, "BtnNew")
    s.button("btnCancel", "procCancel", 0.5, 0.70, "BtnCancel")
    return s, "Offers the saved game of the chosen mode"


def instructions_page(page):
    s = Screen("Graphics\\panel_large.png")
    s.heading("TxtHowToPlay", 0.5, 0.165)
    s.text(f"TxtPage{page}", 0.5, 0.228, 0.04, font=FONT_HEADING)
    if page == 1:
        for i in range(7):
            s.text(f"Ins1Line{i + 1}", 0.5, 0.29 + i * 0.056, 0.045)
        s.image("Graphics\\slot.png", 0.39, 0.72)
        s.image("Graphics\\Shapes\\snail_0.png", 0.39, 0.72)
        s.image("Graphics\\arrow_right.png", 0.5, 0.72)
        s.image("Graphics\\slot.png", 0.61, 0.72)
        s.image("Graphics\\Shapes\\snail_0_mask.png", 0.61, 0.72)
        s.button("btnClose", "procClose", 0.38, 0.83, "BtnClose", "Graphics\\btn_small")
        s.button("btnNext", "procNext", 0.62, 0.83, "BtnNext", "Graphics\\btn_small")
    elif page == 2:
        s.heading("Ins2Title", 0.5, 0.285, 0.06)
        s.text("Ins2Line1", 0.5, 0.34, 0.045)
        s.text("Ins2Line2", 0.5, 0.39, 0.045)
        for i in range(3):
            x = 0.3 + i * 0.2
            s.image(f"Graphics\\qy_bonus0{i + 1}.png", x, 0.48)
            s.text(f"Ins2Bonus{i + 1}", x, 0.565, 0.04)
        s.text("Ins2Line3", 0.5, 0.625, 0.045)
        s.text("Ins2Line4", 0.5, 0.675, 0.045)
        s.text("Ins2Line5", 0.5, 0.735, 0.045)
        s.button("btnPrevious", "procPrevious", 0.29, 0.83, "BtnPrevious", "Graphics\\btn_small")
        s.button("btnClose", "procClose", 0.5, 0.83, "BtnClose", "Graphics\\btn_small")
        s.button("btnNext", "procNext", 0.71, 0.83, "BtnNext", "Graphics\\btn_small")
    else:
        s.heading("Ins3Title", 0.5, 0.285, 0.06)
        for i in range(7):
            s.text(f"Ins3Line{i + 1}", 0.5, 0.34 + i * 0.051, 0.045)
        for v in range(4):
            s.image(f"Graphics\\Shapes\\key_{v}.png", 0.365 + v * 0.09, 0.715)
        s.button("btnPrevious", "procPrevious", 0.38, 0.83, "BtnPrevious", "Graphics\\btn_small")
        s.button("btnClose", "procClose", 0.62, 0.83, "BtnClose", "Graphics\\btn_small")
    return s, f"How to play, page {page} of 3"


def credits():
    s = Screen("Graphics\\panel_large.png")
    s.heading("TxtCredits", 0.5, 0.17)
    for i in range(7):
        s.text(f"Cred{i + 1}", 0.5, 0.29 + i * 0.06 + (0.03 if i >= 3 else 0), 0.048)
    s.button("btnOk", "procOk", 0.5, 0.82, "BtnOk", "Graphics\\btn_small")
    return s, "Credits"


def intro():
    s = Screen("Graphics\\back_menu.jpg", width=1.0, height=1.0)
    s.image("Graphics\\title.png", 0.5, 0.36)
    s.heading("TxtSubtitle", 0.5, 0.5, 0.07)
    s.text("TxtLoading", 0.5, 0.67, 0.05)
    return s, "The loading screen; the game draws its gauge at (0.5, 0.75) over it"


def screens():
    yield "menu-main.xml", main_menu()
    yield "menu-game-over.xml", game_over()
    yield "menu-highscores.xml", high_scores()
    yield "menu-ingame.xml", in_game()
    yield "menu-pause.xml", pause()
    yield "menu-options.xml", options()
    yield "menu-map.xml", stage_map()
    yield "menu-info-classic.xml", (info_panel("Classic", ["acorn_0_mask", "acorn_0"]),
                                    "Shown beside the main menu while Classic is hovered")
    yield "menu-info-relax.xml", (info_panel("Relax", ["snail_0"]),
                                  "Loaded with the others; the game keeps it hidden")
    yield "menu-info-transformer.xml", (info_panel("Transformer", ["key_0", "key_1", "key_2"]),
                                        "Shown beside the main menu while Transformer is hovered")
    yield "menu-clear-confirmation.xml", clear_confirmation()
    yield "menu-continue-confirmation.xml", continue_confirmation()
    yield "menu-game-complete.xml", game_complete()
    for page, name in ((1, "menu-instructions.xml"), (2, "menu-instructions2.xml"),
                       (3, "menu-instructions3.xml")):
        yield name, instructions_page(page)
    yield "menu-intro.xml", intro()
    yield "menu-credits.xml", credits()


def main():
    global DATA
    DATA = sys.argv[1]
    folder = os.path.join(DATA, "Menu")
    os.makedirs(folder, exist_ok=True)
    for name, (screen, comment) in screens():
        with open(os.path.join(folder, name), "w", newline="\r\n") as out:
            out.write(screen.xml(comment + ". Generated by tools/data/menus/make_menus.py"))
    missing = set()
    for name, (screen, _) in screens():
        for line in screen.texts + screen.buttons:
            if ' text="' in line:
                key = line.split(' text="')[1].split('"')[0]
                if key and key != "0" and key not in MENU_TEXTS:
                    missing.add(key)
    if missing:
        sys.exit(f"menu texts without an English text: {sorted(missing)}")


if __name__ == "__main__":
    main()
