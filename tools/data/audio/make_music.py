#!/usr/bin/env python3
"""Writes data/Music/theme1.ogg, Quillory's title music: a gentle 80-second loop in D major
for music box, marimba, wooden flute, kalimba, pizzicato bass, a soft pad and a shaker.

  make_music.py DATA_FOLDER

The loop is rendered on a circle: every note (and the reverb) that sounds past the end of the
last bar is folded back onto the start, so the last sample leads into the first exactly as
any sample leads into the next, and the music loops without a seam.

Form (96 beats a minute, 4/4, 32 bars of 2.5 s):
  A   bars 1-8    the tune on the music box over marimba arpeggios, bass and pad
  A'  bars 9-16   the tune on the flute, a music-box counterpoint, the shaker joins
  B   bars 17-24  a quieter middle: a flute song over kalimba, ending on A7
  A'' bars 25-32  the tune on the music box again, ending on A7, which leads back to bar 1
"""

import os
import subprocess
import sys
import tempfile

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import synth as s  # noqa: E402
from synth import midi_hz as hz  # noqa: E402

BPM = 96
BEAT = 60.0 / BPM
BAR = 4 * BEAT
BARS = 32
LENGTH = BARS * BAR
QUALITY = "4"
SERIAL = "20261207"

CHORD_TONES = {
    "D": [62, 66, 69], "Bm": [59, 62, 66], "G": [55, 59, 62], "A": [57, 61, 64],
    "A7": [57, 61, 64, 67], "F#m": [54, 57, 61], "Em": [52, 55, 59],
}
BASS_ROOT = {"D": 38, "Bm": 35, "G": 43, "A": 45, "A7": 45, "F#m": 42, "Em": 40}

A_CHORDS = [["D"], ["Bm"], ["G"], ["A"], ["D"], ["Bm"], ["Em", "A"], ["D"]]
B_CHORDS = [["G"], ["A"], ["F#m"], ["Bm"], ["G"], ["A"], ["Em"], ["A7"]]
END_CHORDS = [["D"], ["Bm"], ["G"], ["A"], ["D"], ["Bm"], ["G", "A"], ["A7"]]
CHORDS = A_CHORDS + A_CHORDS + B_CHORDS + END_CHORDS

# The tune, bar by bar: (beat, beats long, note).
TUNE = [
    [(0, 1, 78), (1, 1, 81), (2, 1.5, 86), (3.5, 0.5, 85)],
    [(0, 1.5, 83), (1.5, 0.5, 81), (2, 2, 78)],
    [(0, 1, 79), (1, 1, 83), (2, 1, 86), (3, 1, 83)],
    [(0, 3, 81), (3, 1, 76)],
    [(0, 1, 78), (1, 1, 81), (2, 1, 86), (3, 1, 88)],
    [(0, 1.5, 90), (1.5, 0.5, 88), (2, 1, 86), (3, 1, 83)],
    [(0, 1, 79), (1, 1, 83), (2, 1, 81), (3, 1, 85)],
    [(0, 3, 86)],
]
TUNE_FLUTE = TUNE[:3] + [[(0, 2, 81), (2, 1, 79), (3, 1, 76)]] + TUNE[4:7] + \
    [[(0, 2, 86), (2, 2, 74)]]
TUNE_END = TUNE[:7] + [[(0, 2, 81), (2, 1, 79), (3, 1, 76)]]
MIDDLE_SONG = [
    [(0, 2, 74), (2, 2, 71)],
    [(0, 2, 73), (2, 2, 76)],
    [(0, 3, 78), (3, 1, 76)],
    [(0, 4, 74)],
    [(0, 1, 71), (1, 1, 74), (2, 2, 79)],
    [(0, 2, 81), (2, 1, 79), (3, 1, 76)],
    [(0, 2, 79), (2, 1, 78), (3, 1, 76)],
    [(0, 2, 76), (2, 2, 73)],
]


class Loop:
    """A stereo buffer of exactly one loop; sounds that run past its end wrap to its start."""

    def __init__(self, seconds):
        self.n = int(round(seconds * s.RATE))
        self.left = np.zeros(self.n)
        self.right = np.zeros(self.n)
        self.jitter = s.rng(7)

    def add(self, sound, at, gain, pan, humanise=True):
        if humanise:
            at += self.jitter.uniform(-0.006, 0.006)
            gain *= self.jitter.uniform(0.9, 1.05)
        # constant-power pan, -1 left .. 1 right
        angle = (pan + 1) * np.pi / 4
        start = int(round(at * s.RATE)) % self.n
        for channel, weight in ((self.left, np.cos(angle)), (self.right, np.sin(angle))):
            position, rest = start, sound * gain * weight * np.sqrt(2)
            while len(rest):
                take = min(len(rest), self.n - position)
                channel[position: position + take] += rest[:take]
                rest = rest[take:]
                position = 0

    def reverb(self, wet, seconds=1.8):
        """Circular convolution with a room tail, so the reverb wraps like the notes."""
        for seed, channel in ((11, self.left), (12, self.right)):
            tail = np.zeros(self.n)
            ir = s.reverb_tail(seconds, seed=seed, brightness=2500)
            tail[: len(ir)] = ir
            wet_part = np.fft.irfft(np.fft.rfft(channel) * np.fft.rfft(tail), self.n)
            channel += wet * wet_part

    def stereo(self):
        return np.stack([self.left, self.right], axis=1)


def bar_start(bar):
    return bar * BAR


def chord_spans(bar):
    """(start, length, chord) for the one or two chords of a bar."""
    names = CHORDS[bar]
    length = BAR / len(names)
    return [(bar_start(bar) + i * length, length, name) for i, name in enumerate(names)]


def arpeggio_notes(name):
    tones = CHORD_TONES[name]
    root, third, fifth = tones[0], tones[1], tones[2]
    while root < 50:
        root, third, fifth = root + 12, third + 12, fifth + 12
    return [root, fifth, root + 12, third + 12, root + 12, fifth, third, fifth]


def play_tune(loop, tune, first_bar, instrument, gain, pan, octave=0):
    for i, bar in enumerate(tune):
        for beat, beats, note in bar:
            at = bar_start(first_bar + i) + beat * BEAT
            if instrument == "music_box":
                sound = s.music_box(hz(note), max(1.2, beats * BEAT + 0.8))
            else:
                sound = s.flute(hz(note + 12 * octave), beats * BEAT + 0.05, seed=first_bar + i)
            loop.add(sound, at, gain, pan)


def play_arpeggios(loop, bars, gain, pan):
    for bar in bars:
        for start, length, name in chord_spans(bar):
            notes = arpeggio_notes(name)[: int(round(length / (BEAT / 2)))]
            for k, note in enumerate(notes):
                accent = 1.0 if k % 2 == 0 else 0.75
                loop.add(s.marimba(hz(note), 0.9, hardness=0.35, seed=k), start + k * BEAT / 2,
                         gain * accent, pan)


def play_kalimba(loop, bars, gain, pan):
    for bar in bars:
        for start, length, name in chord_spans(bar):
            tones = [n + 12 for n in CHORD_TONES[name][:3]]
            for k in range(int(round(length / BEAT))):
                note = tones[[0, 1, 2, 1][k % 4]]
                loop.add(s.kalimba(hz(note), 1.0), start + k * BEAT, gain, pan)


def play_bass(loop, bars, gain, half_notes=False):
    for bar in bars:
        for start, length, name in chord_spans(bar):
            root = BASS_ROOT[name]
            loop.add(s.pluck(hz(root), 1.6, brightness=0.35), start, gain, 0.0)
            if length >= BAR - 1e-9:
                second = root + 7 if not half_notes else root
                loop.add(s.pluck(hz(second), 1.2, brightness=0.3),
                         start + (2 if half_notes else 3) * BEAT, gain * 0.75, 0.0)


def play_pad(loop, bars, gain):
    for bar in bars:
        for start, length, name in chord_spans(bar):
            freqs = [hz(n) for n in CHORD_TONES[name]]
            for seed, pan in ((bar * 2, -0.5), (bar * 2 + 1, 0.5)):
                loop.add(s.pad(freqs, length + 0.7, seed=seed), start, gain, pan,
                         humanise=False)


def play_counterpoint(loop, bars, gain, pan):
    """A single high chord tone at the start of each bar, like a bell in the distance."""
    for bar in bars:
        name = CHORDS[bar][0]
        note = CHORD_TONES[name][1] + 24
        loop.add(s.music_box(hz(note), 2.0), bar_start(bar) + 2 * BEAT, gain, pan)


def play_shaker(loop, bars, gain, pan):
    for bar in bars:
        for k in range(8):
            strength = 0.5 if k % 2 == 0 else 1.0
            shake = s.noise_burst(0.08, 5000, 11000, 0.02, seed=bar * 8 + k, attack=0.01)
            loop.add(shake, bar_start(bar) + k * BEAT / 2, gain * strength, pan)


def compose():
    loop = Loop(LENGTH)
    a, a2, b, a3 = range(0, 8), range(8, 16), range(16, 24), range(24, 32)
    play_tune(loop, TUNE, 0, "music_box", 0.34, 0.25)
    play_tune(loop, TUNE_FLUTE, 8, "flute", 0.3, 0.1, octave=-1)
    play_tune(loop, MIDDLE_SONG, 16, "flute", 0.27, 0.1)
    play_tune(loop, TUNE_END, 24, "music_box", 0.34, 0.25)
    play_arpeggios(loop, list(a) + list(a2) + list(a3), 0.16, -0.3)
    play_kalimba(loop, b, 0.16, -0.25)
    play_counterpoint(loop, list(a2) + list(b), 0.08, 0.45)
    play_bass(loop, list(a) + list(a2) + list(a3), 0.26)
    play_bass(loop, b, 0.23, half_notes=True)
    play_pad(loop, range(BARS), 0.11)
    play_shaker(loop, list(a2) + list(a3), 0.3, 0.4)
    loop.reverb(0.22)
    music = loop.stereo()
    music -= music.mean(axis=0)
    # A gentle level for music heard under the menus: about -19 dB RMS, peaks below -1 dB.
    rms = np.sqrt(np.mean(music ** 2))
    gain = min(10 ** (-19 / 20) / rms, 10 ** (-1 / 20) / np.max(np.abs(music)))
    return music * gain


def main(arguments):
    if len(arguments) != 1:
        print(__doc__)
        return 2
    folder = os.path.join(arguments[0], "Music")
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        wav = os.path.join(work, "theme1.wav")
        s.write_wav(wav, compose())
        subprocess.run(["oggenc", "-Q", "-q", QUALITY, "-s", SERIAL, "-o",
                        os.path.join(folder, "theme1.ogg"), wav], check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
