"""Every sound effect of Quillory: how it is made, which event plays it, how loud it is.

Tonal sounds keep to D major (the key of the title music); the drop and its run bonuses climb
the D major pentatonic scale, so a run of one class plays a rising tune.
Loudness is the short-term RMS (the loudest 100 ms) in dB below full scale.
"""

import numpy as np

import synth as s
from synth import midi_hz as hz

# Loudness classes (dBFS, loudest 100 ms).
QUIET_UI = -30.0  # hovering over a button: heard, never noticed
UI = -23.0  # clicks, taking and turning pictures, the clock's ticks
ACTION = -20.0  # drops, class sounds, line removal, bonus events
FANFARE = -18.0  # level and game endings


# -- game events --------------------------------------------------------------------------------


def take_shape(variant):
    lo, hi, tick = [(1500, 4200, 2200), (1900, 5200, 2550)][variant]
    lift = s.sweep_noise(0.09, lo, hi, 0.35, seed=10 + variant) * s.adsr(0.09, 0.02, 0.05)
    return s.mix((lift, 0, 0.6), (s.woodblock(tick, 0.08), 0.012, 0.35))


def place_shape(note, variant):
    tone = s.marimba(hz(note), 1.0, hardness=0.55 + 0.1 * variant, seed=20 + variant)
    thump = s.woodblock(180 + 20 * variant, 0.12)
    return s.add_reverb(s.mix((tone, 0, 1.0), (thump, 0, 0.35)), wet=0.12, duration=0.8)


# The run ladder: D major pentatonic from E5 up to F#6.
BONUS_NOTES = [76, 78, 81, 83, 86, 88, 90]


def place_shape_bonus(step):
    note = BONUS_NOTES[step - 1]
    sparkle = 0.2 + 0.05 * step
    tone = s.mix((s.marimba(hz(note), 1.0, hardness=0.7), 0, 1.0),
                 (s.music_box(hz(note + 12), 1.0), 0.005, sparkle))
    return s.add_reverb(tone, wet=0.16, duration=1.0)


def transform_shape(variant):
    a, b, g0, g1 = [(1800, 2150, 600, 900), (1950, 2350, 660, 1020)][variant]
    swish = s.glide(g0, g1, 0.08) * s.adsr(0.08, 0.01, 0.04) * 0.25
    return s.mix((s.woodblock(a, 0.06), 0, 0.6), (s.woodblock(b, 0.06), 0.035, 0.5),
                 (swish, 0.02, 1.0))


def drop_shape():
    whoosh = s.sweep_noise(0.34, 3200, 450, 0.3, seed=30) * s.adsr(0.34, 0.05, 0.12)
    thud = s.pluck(hz(38), 0.3, brightness=0.3) * s.decay_env(0.3, 0.08)
    return s.mix((whoosh, 0, 0.7), (thud, 0.27, 0.8))


def delete_shape():
    r = s.rng(31)
    crumple = s.silence(0.3)
    for i in range(9):
        at = r.uniform(0, 0.22)
        burst = s.noise_burst(0.035, 900, 6000, 0.008, seed=40 + i) * r.uniform(0.4, 1.0)
        crumple = s.place(crumple, burst, at)
    fall = s.glide(700, 350, 0.22) * s.adsr(0.22, 0.01, 0.08) * 0.3
    return s.mix((crumple, 0, 0.8), (fall, 0.05, 1.0))


def shape_clear():
    track = s.silence(0.6)
    for i, at in enumerate([0.0, 0.13, 0.26]):
        crunch = s.noise_burst(0.07, 500, 3200, 0.02, seed=50 + i)
        nom = s.glide(230, 160, 0.08) * s.decay_env(0.08, 0.03)
        track = s.place(track, s.mix((crunch, 0, 0.7), (nom, 0, 0.5)), at)
    sad = s.mix((s.marimba(hz(69), 0.6), 0, 0.6), (s.marimba(hz(65), 0.8), 0.14, 0.6))
    return s.add_reverb(s.place(track, sad, 0.36), wet=0.1, duration=0.6)


def shape_panel(rising):
    lo, hi = (400, 2600) if rising else (2600, 400)
    whoosh = s.sweep_noise(0.5, lo, hi, 0.3, seed=60 + rising) * s.adsr(0.5, 0.15, 0.15)
    note = s.kalimba(hz(74 if rising else 69), 0.8)
    return s.add_reverb(s.mix((whoosh, 0, 0.55), (note, 0.42 if rising else 0.0, 0.5)),
                        wet=0.12, duration=0.8)


def fill_area():
    parts = [(s.music_box(hz(n), 1.0), 0.045 * i, 0.55) for i, n in enumerate([86, 90, 93, 98])]
    shimmer = s.noise_burst(0.7, 5000, 12000, 0.25, seed=70) * 0.12
    parts += [(s.bell(hz(86), 1.2), 0.0, 0.35), (shimmer, 0.0, 1.0)]
    return s.add_reverb(s.mix(*parts), wet=0.2, duration=1.0)


def remove_line(variant):
    chord = [[74, 78, 81], [69, 74, 78]][variant]
    sweep = s.sweep_noise(0.4, 700, 5200, 0.25, seed=80 + variant) * s.adsr(0.4, 0.25, 0.1)
    parts = [(sweep, 0, 0.5)]
    parts += [(s.marimba(hz(n), 1.1, hardness=0.6), 0.3 + 0.015 * i, 0.45)
              for i, n in enumerate(chord)]
    parts += [(s.bell(hz(chord[-1] + 12), 1.0, brightness=0.6), 0.3, 0.2)]
    return s.add_reverb(s.mix(*parts), wet=0.15, duration=0.9)


def timeout():
    return s.mix((s.woodblock(1400, 0.1), 0, 0.8), (s.glass(hz(93), 0.25), 0.002, 0.18))


def no_bonus():
    first = s.flute(hz(69), 0.32)
    bent = s.flute(hz(65), 0.6) * 1.0
    return s.add_reverb(s.mix((first, 0, 0.8), (bent, 0.3, 0.8),
                              (s.kalimba(hz(57), 0.9), 0.3, 0.35)), wet=0.2, duration=1.0)


def bug_alarm():
    t = s.seconds(0.32)
    buzz = np.sign(np.sin(2 * np.pi * 175 * t)) * (0.5 + 0.5 * np.sin(2 * np.pi * 31 * t))
    buzz = s.one_pole_lowpass(buzz, 1200) * s.adsr(0.32, 0.03, 0.06)
    return s.add_reverb(s.mix((buzz, 0, 0.5), (s.glass(hz(88), 0.6), 0.22, 0.6),
                              (s.glass(hz(81), 0.7), 0.38, 0.6)), wet=0.12, duration=0.7)


def level_complete():
    notes = [74, 78, 81, 86]
    parts = [(s.marimba(hz(n), 1.0, hardness=0.7), 0.12 * i, 0.6) for i, n in enumerate(notes)]
    parts += [(s.music_box(hz(n), 1.6), 0.5, 0.35) for n in (74, 78, 81, 86)]
    parts += [(s.pad([hz(50), hz(62), hz(66), hz(69)], 1.4), 0.45, 0.35),
              (s.bell(hz(86), 1.5), 0.5, 0.3)]
    return s.add_reverb(s.mix(*parts), wet=0.2, duration=1.2)


def bonus_level_complete():
    notes = [74, 78, 81, 86, 90, 93]
    parts = [(s.marimba(hz(n), 1.0, hardness=0.7), 0.09 * i, 0.55) for i, n in enumerate(notes)]
    parts += [(s.music_box(hz(n), 1.8), 0.6, 0.3) for n in (74, 81, 86, 90, 98)]
    parts += [(s.pad([hz(50), hz(57), hz(62), hz(66), hz(69)], 1.7), 0.55, 0.35),
              (s.bell(hz(86), 1.8), 0.6, 0.3), (s.bell(hz(93), 1.6), 0.75, 0.2),
              (s.noise_burst(1.2, 6000, 13000, 0.4, seed=90), 0.6, 0.08)]
    return s.add_reverb(s.mix(*parts), wet=0.22, duration=1.4)


def game_over():
    line = [(74, 0.0, 0.4), (69, 0.4, 0.4), (65, 0.8, 0.4), (62, 1.2, 1.1)]
    parts = [(s.flute(hz(n), d + 0.05, seed=100 + i), at, 0.6) for i, (n, at, d) in
             enumerate(line)]
    parts += [(s.pad([hz(50), hz(57), hz(62), hz(65)], 2.3), 0.0, 0.3),
              (s.pluck(hz(38), 1.6, brightness=0.3), 1.2, 0.45)]
    return s.add_reverb(s.mix(*parts), wet=0.25, duration=1.4)


def game_complete():
    parts = []
    for i, n in enumerate([62, 66, 69, 74, 78, 81, 86]):
        parts.append((s.marimba(hz(n), 1.0, hardness=0.7), 0.08 * i, 0.5))
    chords = [(0.6, [55, 59, 62, 67]), (1.2, [57, 61, 64, 69]), (1.8, [50, 62, 66, 69, 74])]
    for at, chord in chords:
        length = 1.6 if at == 1.8 else 0.7
        parts.append((s.pad([hz(n) for n in chord], length), at, 0.35))
        parts += [(s.music_box(hz(n + 12), length + 0.4), at, 0.22) for n in chord[1:]]
    parts += [(s.bell(hz(86), 2.0), 1.8, 0.35), (s.bell(hz(93), 1.8), 1.95, 0.25),
              (s.bell(hz(98), 1.6), 2.1, 0.18),
              (s.pluck(hz(38), 1.8, brightness=0.4), 1.8, 0.5)]
    return s.add_reverb(s.mix(*parts), wet=0.25, duration=1.5)


def level_start():
    return s.add_reverb(s.mix((s.bell(hz(69), 1.0), 0, 0.6), (s.bell(hz(74), 1.2), 0.22, 0.7),
                              (s.kalimba(hz(62), 1.0), 0.22, 0.3)), wet=0.2, duration=1.0)


def emit_scores():
    rise = s.glide(800, 2400, 0.25) * s.adsr(0.25, 0.03, 0.08) * 0.35
    air = s.sweep_noise(0.25, 2000, 8000, 0.3, seed=110) * s.adsr(0.25, 0.05, 0.1) * 0.3
    return s.add_reverb(s.mix((rise, 0, 1.0), (air, 0, 1.0), (s.music_box(hz(93), 0.6), 0.22, 0.5)),
                        wet=0.15, duration=0.6)


def collect_scores(variant):
    a, b = [(95, 100), (93, 98)][variant]
    return s.add_reverb(s.mix((s.bell(hz(a), 0.7, brightness=0.8), 0, 0.7),
                              (s.glass(hz(b), 0.5), 0.035, 0.45)), wet=0.12, duration=0.6)


def shape_chomp():
    parts = []
    for i, at in enumerate([0.0, 0.08]):
        parts.append((s.noise_burst(0.06, 400, 2800, 0.018, seed=120 + i), at, 0.6))
    gulp = s.glide(320, 150, 0.1) * s.decay_env(0.1, 0.04)
    parts += [(gulp, 0.02, 0.5), (s.marimba(hz(74), 0.5, hardness=0.8), 0.16, 0.5)]
    return s.add_reverb(s.mix(*parts), wet=0.1, duration=0.5)


def menu_click():
    return s.mix((s.woodblock(1250, 0.08), 0, 0.7), (s.marimba(hz(81), 0.25, hardness=0.8),
                                                      0.002, 0.4))


def menu_hover():
    return s.glass(hz(102), 0.09) * s.decay_env(0.09, 0.03)


# -- the shape classes --------------------------------------------------------------------------


def quill():
    track = s.silence(0.55)
    r = s.rng(200)
    for i, (at, length) in enumerate([(0.0, 0.09), (0.12, 0.07), (0.22, 0.11)]):
        t = s.seconds(length)
        scratch = s.bandpass_noise(length, 2500, 7500, 201 + i)
        scratch *= 0.6 + 0.4 * np.sin(2 * np.pi * r.uniform(45, 70) * t)
        track = s.place(track, scratch * s.adsr(length, 0.01, 0.03), at)
    return s.mix((track, 0, 0.6), (s.woodblock(2600, 0.06), 0.4, 0.35))


def feather():
    air = s.sweep_noise(0.55, 600, 1700, 0.45, seed=210) * s.adsr(0.55, 0.18, 0.25)
    return s.add_reverb(s.mix((air, 0, 0.8), (s.flute(hz(86), 0.5, seed=211), 0.08, 0.12)),
                        wet=0.2, duration=0.8)


def oak_leaf():
    track = s.silence(0.45)
    r = s.rng(220)
    for i in range(40):
        at = 0.4 * (r.uniform(0, 1) ** 1.3)
        crackle = s.noise_burst(0.012, 2000, 9000, 0.003, seed=221 + i) * r.uniform(0.3, 1.0)
        track = s.place(track, crackle, at)
    swell = s.adsr(len(track) / s.RATE, 0.08, 0.2)
    return track * swell


def fern():
    parts = [(s.kalimba(hz(n), 0.9), 0.07 * i, 0.5) for i, n in enumerate([74, 76, 78, 81])]
    return s.add_reverb(s.mix(*parts), wet=0.22, duration=0.9)


def acorn():
    return s.add_reverb(s.mix((s.woodblock(720, 0.15), 0, 0.8), (s.woodblock(900, 0.15), 0.11, 0.7),
                              (s.woodblock(900, 0.12), 0.22, 0.35)), wet=0.12, duration=0.6)


def snail():
    t = s.seconds(0.7)
    f = 300 + 150 * np.sin(np.pi * t / 0.7) + 8 * np.sin(2 * np.pi * 6 * t)
    phase = 2 * np.pi * np.cumsum(f) / s.RATE
    tone = (np.sin(phase) + 0.2 * np.sin(2 * phase)) * s.adsr(0.7, 0.08, 0.2)
    return s.add_reverb(tone * 0.7, wet=0.15, duration=0.7)


def beetle():
    track = s.silence(0.45)
    for i in range(10):
        track = s.place(track, s.woodblock(2500 + 150 * (i % 2), 0.03), 0.028 * i)
    t = s.seconds(0.3)
    buzz = s.one_pole_lowpass(np.sign(np.sin(2 * np.pi * 140 * t)), 900) * s.adsr(0.3, 0.02, 0.1)
    return s.mix((track, 0, 0.5), (buzz, 0.0, 0.25))


def key():
    return s.add_reverb(s.mix((s.bell(2200, 0.5, brightness=1.2), 0, 0.5),
                              (s.bell(2900, 0.5, brightness=1.2), 0.07, 0.45),
                              (s.bell(2500, 0.5, brightness=1.2), 0.16, 0.35)),
                        wet=0.12, duration=0.6)


def seahorse():
    track = s.silence(0.5)
    for i, (f, at) in enumerate([(520, 0.0), (700, 0.07), (610, 0.15), (860, 0.22), (1050, 0.3)]):
        blip = s.glide(f, f * 1.7, 0.05) * s.decay_env(0.05, 0.018)
        track = s.place(track, blip, at)
    return s.add_reverb(track * 0.7, wet=0.2, duration=0.7)


def nautilus():
    ocean = (s.bandpass_noise(0.9, 300, 420, 240) + 0.6 * s.bandpass_noise(0.9, 640, 800, 241))
    ocean *= s.adsr(0.9, 0.3, 0.4)
    return s.add_reverb(s.mix((ocean, 0, 0.5), (s.bell(hz(62), 1.0, brightness=0.5), 0.15, 0.4)),
                        wet=0.25, duration=1.0)


def mushroom():
    pop = s.glide(200, 620, 0.07) * s.decay_env(0.07, 0.04)
    return s.add_reverb(s.mix((pop, 0, 0.7), (s.marimba(hz(79), 0.5), 0.05, 0.5),
                              (s.noise_burst(0.02, 300, 2000, 0.005, seed=250), 0, 0.3)),
                        wet=0.15, duration=0.6)


def moth():
    t = s.seconds(0.5)
    wings = s.bandpass_noise(0.5, 300, 1500, 260)
    wings *= np.clip(np.sin(2 * np.pi * 22 * t), 0, 1) ** 2
    return wings * s.adsr(0.5, 0.08, 0.15) * 0.8


def pinecone():
    track = s.silence(0.4)
    r = s.rng(270)
    at = 0.0
    for i in range(8):
        track = s.place(track, s.woodblock(r.uniform(1000, 1800), 0.05) * (1 - i * 0.08), at)
        at += 0.06 * (0.85 ** i)
    return track * 0.7


def magnifier():
    gleam = s.sweep_noise(0.2, 4000, 10000, 0.2, seed=280) * s.adsr(0.2, 0.05, 0.1) * 0.1
    return s.add_reverb(s.mix((s.glass(1760, 0.8), 0, 0.55), (s.glass(2637, 0.7), 0.06, 0.4),
                              (gleam, 0, 1.0)), wet=0.15, duration=0.8)


def inkpot():
    def drip(f):
        return s.glide(f, f * 3, 0.05) * s.decay_env(0.06, 0.02)[:int(0.05 * s.RATE)]
    return s.add_reverb(s.mix((drip(400), 0, 0.7), (drip(520), 0.18, 0.45)), wet=0.25,
                        duration=0.7)


def pocketwatch():
    parts = [(s.woodblock(3000 if i % 2 == 0 else 2600, 0.05), 0.15 * i, 0.55) for i in range(3)]
    parts.append((s.bell(hz(88), 0.8, brightness=0.6), 0.45, 0.3))
    return s.add_reverb(s.mix(*parts), wet=0.12, duration=0.7)


def cherries():
    def boing(n):
        base = s.kalimba(hz(n), 0.6)
        return base
    return s.add_reverb(s.mix((boing(78), 0, 0.6), (boing(81), 0.14, 0.6)), wet=0.15,
                        duration=0.7)


def bellflower():
    return s.add_reverb(s.mix((s.bell(hz(86), 1.0), 0, 0.6), (s.bell(hz(93), 0.9), 0.1, 0.35)),
                        wet=0.2, duration=1.0)


def thistle():
    track = s.silence(0.4)
    r = s.rng(300)
    for i in range(9):
        ping = s.glass(r.uniform(3000, 6000), 0.12) * s.decay_env(0.12, 0.03)
        track = s.place(track, ping * r.uniform(0.4, 0.9), 0.035 * i + r.uniform(0, 0.01))
    return s.add_reverb(track * 0.6, wet=0.15, duration=0.5)


def frog():
    def croak(f0, length):
        t = s.seconds(length)
        out = np.zeros(len(t))
        for k in range(1, 40):
            fk = f0 * k
            weight = np.exp(-((fk - 600) / 180) ** 2) + 0.7 * np.exp(-((fk - 1150) / 220) ** 2)
            out += weight * np.sin(2 * np.pi * fk * t)
        return out * s.adsr(length, 0.01, 0.03) * (0.7 + 0.3 * np.sin(2 * np.pi * 30 * t))
    return s.add_reverb(s.mix((croak(120, 0.1), 0, 0.5), (croak(135, 0.12), 0.16, 0.5)),
                        wet=0.15, duration=0.6)


def lizard():
    track = s.silence(0.4)
    r = s.rng(310)
    for i in range(16):
        tick = s.noise_burst(0.01, 3000, 7000, 0.002, seed=311 + i) * r.uniform(0.4, 0.9)
        track = s.place(track, tick, 0.022 * i)
    swish = s.sweep_noise(0.36, 1200, 3000, 0.3, seed=330) * s.adsr(0.36, 0.05, 0.1) * 0.2
    return s.mix((track, 0, 0.8), (swish, 0, 1.0))


def crab():
    def clack(f, seed):
        return s.mix((s.woodblock(f, 0.06), 0, 0.8),
                     (s.noise_burst(0.03, 1500, 6000, 0.006, seed=seed), 0, 0.4))
    return s.mix((clack(1100, 340), 0, 0.8), (clack(1250, 341), 0.12, 0.8),
                 (clack(1150, 342), 0.3, 0.6))


def dragonfly():
    t = s.seconds(0.6)
    f = 200 + 40 * np.sin(np.pi * t / 0.6) - 25 * t
    phase = 2 * np.pi * np.cumsum(f) / s.RATE
    hum = sum(np.sin(k * phase) / k for k in range(1, 8))
    hum *= 0.6 + 0.4 * np.sin(2 * np.pi * 45 * t)
    return s.one_pole_lowpass(hum, 2500) * s.adsr(0.6, 0.1, 0.2) * 0.5


def tulip():
    parts = [(s.kalimba(hz(n), 0.9), 0.08 * i, 0.45) for i, n in enumerate([69, 74, 78, 81])]
    parts.append((s.pad([hz(62), hz(69), hz(74)], 0.8), 0.0, 0.25))
    return s.add_reverb(s.mix(*parts), wet=0.2, duration=0.9)


# -- the table ------------------------------------------------------------------------------------

# Class events in catalogue order: "class_" + name.
CLASSES = [
    ("quill", quill), ("feather", feather), ("oak_leaf", oak_leaf), ("fern", fern),
    ("acorn", acorn), ("snail", snail), ("beetle", beetle), ("key", key),
    ("seahorse", seahorse), ("nautilus", nautilus), ("mushroom", mushroom), ("moth", moth),
    ("pinecone", pinecone), ("magnifier", magnifier), ("inkpot", inkpot),
    ("pocketwatch", pocketwatch), ("cherries", cherries), ("bellflower", bellflower),
    ("thistle", thistle), ("frog", frog), ("lizard", lizard), ("crab", crab),
    ("dragonfly", dragonfly), ("tulip", tulip),
]

# Each event: (event name, [(file stem, maker, loudness)] in file0.. order).
EVENTS = [
    ("take_shape", [("take_shape_a", lambda: take_shape(0), UI),
                    ("take_shape_b", lambda: take_shape(1), UI)]),
    ("place_shape", [("place_shape_a", lambda: place_shape(74, 0), ACTION),
                     ("place_shape_b", lambda: place_shape(71, 1), ACTION),
                     ("place_shape_c", lambda: place_shape(69, 2), ACTION)]),
] + [
    ("place_shape_bonus_%d" % n, [("place_shape_bonus_%d" % n,
                                   (lambda n=n: place_shape_bonus(n)), ACTION)])
    for n in range(1, 8)
] + [
    ("transform_shape", [("transform_shape_a", lambda: transform_shape(0), UI),
                         ("transform_shape_b", lambda: transform_shape(1), UI)]),
    ("drop_shape", [("drop_shape", drop_shape, UI)]),
    ("delete_shape", [("delete_shape", delete_shape, UI)]),
    ("shape_clear", [("shape_clear", shape_clear, ACTION)]),
    ("shape_panel_in", [("shape_panel_in", lambda: shape_panel(True), UI)]),
    ("shape_panel_out", [("shape_panel_out", lambda: shape_panel(False), UI)]),
    ("fill_area", [("fill_area", fill_area, ACTION)]),
    ("remove_line", [("remove_line_a", lambda: remove_line(0), ACTION),
                     ("remove_line_b", lambda: remove_line(1), ACTION)]),
    ("timeout", [("timeout", timeout, UI)]),
    ("no_bonus", [("no_bonus", no_bonus, ACTION)]),
    ("bug_alarm", [("bug_alarm", bug_alarm, ACTION)]),
    ("level_complete", [("level_complete", level_complete, FANFARE)]),
    ("bonus_level_complete", [("bonus_level_complete", bonus_level_complete, FANFARE)]),
    ("game_over", [("game_over", game_over, FANFARE)]),
    ("game_complete", [("game_complete", game_complete, FANFARE)]),
    ("level_start", [("level_start", level_start, ACTION)]),
    ("emit_scores", [("emit_scores", emit_scores, UI)]),
    ("collect_scores", [("collect_scores_a", lambda: collect_scores(0), ACTION),
                        ("collect_scores_b", lambda: collect_scores(1), ACTION)]),
    ("shape_chomp", [("shape_chomp", shape_chomp, ACTION)]),
] + [
    ("class_" + name, [("class_" + name, maker, ACTION)]) for name, maker in CLASSES
]

# Sounds the menus play by file name ("clickSound", "overSound"), not through events.
MENU_SOUNDS = [("menu_click", menu_click, UI), ("menu_hover", menu_hover, QUIET_UI)]
