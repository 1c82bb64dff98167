#!/usr/bin/env python3
"""Writes data/Sound/*.ogg and data/sound.ini from the table in sounds.py.

  make_sounds.py DATA_FOLDER

Each sound is synthesised, trimmed, freed of DC, faded at both ends, brought to its loudness
class and encoded as mono Ogg Vorbis at 44100 Hz (with a fixed stream serial, so that the same
sources give the same files).
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import synth  # noqa: E402
from sounds import EVENTS, MENU_SOUNDS  # noqa: E402

QUALITY = "4"
SERIAL = "20261206"

INI_HEAD = """; Quillory's sound events. Each section is an event the game fires by name; fileN (from
; file0, without gaps) are its variations, of which each play picks one at random; volume is
; the event's level (1 = as recorded). Made by tools/data/make-audio-data.sh: edit the sources
; there, not this file.
"""


def render(stem, maker, loudness, work, out_folder):
    samples = synth.normalise(synth.finish(maker()), loudness)
    wav = os.path.join(work, stem + ".wav")
    synth.write_wav(wav, samples)
    ogg = os.path.join(out_folder, stem + ".ogg")
    subprocess.run(["oggenc", "-Q", "-q", QUALITY, "-s", SERIAL, "-o", ogg, wav], check=True)


def sound_ini():
    lines = INI_HEAD.split("\n")[:-1]
    for event, files in EVENTS:
        lines.append("")
        lines.append("[%s]" % event)
        lines.append("volume=1.0")
        for n, (stem, _, _) in enumerate(files):
            lines.append("file%d=Sound\\%s.ogg" % (n, stem))
    return "\r\n".join(lines) + "\r\n"


def main(arguments):
    if len(arguments) != 1:
        print(__doc__)
        return 2
    data = arguments[0]
    folder = os.path.join(data, "Sound")
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        if old.endswith(".ogg") or old.endswith(".wav"):
            os.remove(os.path.join(folder, old))
    with tempfile.TemporaryDirectory() as work:
        for _, files in EVENTS:
            for stem, maker, loudness in files:
                render(stem, maker, loudness, work, folder)
        for stem, maker, loudness in MENU_SOUNDS:
            render(stem, maker, loudness, work, folder)
    with open(os.path.join(data, "sound.ini"), "w", newline="") as f:
        f.write(sound_ini())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
