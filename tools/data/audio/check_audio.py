#!/usr/bin/env python3
"""Measures every sound and the music as the game will hear them (decoded from the Ogg files)
and fails when one is out of bounds. Writes audio_report.txt beside this file.

  check_audio.py DATA_FOLDER

Checked for each sound: 44100 Hz; a sensible length; no clipping (peak at most -0.5 dBFS and
no sample at full scale); no DC offset; silent first and last samples and no jump inside the
fade-in and fade-out; its loudest 100 ms within 2 dB of its loudness class; the folder within
90 files and never x.wav beside x.ogg; every sound.ini file present with its exact spelling.
For the music: stereo, 44100 Hz, 60 to 120 s, and a seamless loop (the step from the last
sample to the first no larger than the ordinary steps of the music, no change of slope or
level across the seam).
"""

import configparser
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import synth  # noqa: E402
from make_music import BAR  # noqa: E402
from sounds import EVENTS, MENU_SOUNDS  # noqa: E402

MAX_FILES = 90


def decode(path, work):
    wav = os.path.join(work, os.path.basename(path) + ".wav")
    subprocess.run(["oggdec", "-Q", "-o", wav, path], check=True)
    with wave.open(wav, "rb") as w:
        rate, channels = w.getframerate(), w.getnchannels()
        data = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
    return rate, data.reshape(-1, channels) / 32768.0


def db(x):
    return 20 * np.log10(max(x, 1e-9))


def check_sound(name, rate, pcm, loudness):
    problems = []
    x = pcm[:, 0]
    duration = len(x) / rate
    peak = np.max(np.abs(x))
    short = synth.short_term_rms(x)
    rms = np.sqrt(np.mean(x ** 2))
    dc = np.mean(x)
    head = np.max(np.abs(x[: int(0.001 * rate)]))
    tail = np.max(np.abs(x[-int(0.005 * rate):]))
    if rate != 44100:
        problems.append("rate %d" % rate)
    if pcm.shape[1] != 1:
        problems.append("not mono")
    if not 0.04 <= duration <= 6.0:
        problems.append("length %.2f s" % duration)
    if db(peak) > -0.5 or np.any(np.abs(x) >= 32767 / 32768):
        problems.append("clipping (peak %.1f dB)" % db(peak))
    if abs(dc) > 0.002:
        problems.append("DC offset %.4f" % dc)
    if abs(x[0]) > 0.01 or abs(x[-1]) > 0.01:
        problems.append("does not start and end at silence")
    if tail > 0.05:
        problems.append("no fade-out (%.3f in the last 5 ms)" % tail)
    if abs(db(short) - loudness) > 2.0:
        problems.append("loudness %.1f dB, wanted %.1f" % (db(short), loudness))
    line = "%-28s %5.2f s  peak %6.1f dB  loud %6.1f dB  rms %6.1f dB  dc %+.5f  head %.3f" % (
        name, duration, db(peak), db(short), db(rms), dc, head)
    return line, problems


def main_pitch(x, rate):
    """The strongest frequency between 150 and 2500 Hz in the first 0.4 s (the struck note)."""
    part = x[: int(0.4 * rate)] * np.hanning(min(len(x), int(0.4 * rate)))
    spectrum = np.abs(np.fft.rfft(part, 1 << 16))
    freqs = np.fft.rfftfreq(1 << 16, 1 / rate)
    band = (freqs > 150) & (freqs < 2500)
    return float(freqs[band][np.argmax(spectrum[band])])


def level_jumps(x, rate):
    """Level change (dB) from the last 50 ms before a bar line to the first 50 ms after it:
    at the loop's seam, and at every bar line inside the loop. A seamless loop changes level
    at its seam no more than the music does at its own bar lines."""
    window = int(0.05 * rate)

    def jump(at):
        before = np.take(x, range(at - window, at), mode="wrap")
        after = np.take(x, range(at, at + window), mode="wrap")
        return db(np.sqrt(np.mean(after ** 2))) - db(np.sqrt(np.mean(before ** 2)))

    bar = int(round(BAR * rate))
    return jump(0), [jump(k * bar) for k in range(1, len(x) // bar)]


def check_music(rate, pcm):
    problems = []
    duration = len(pcm) / rate
    if rate != 44100 or pcm.shape[1] != 2:
        problems.append("music is not 44100 Hz stereo")
    if not 60 <= duration <= 120:
        problems.append("music lasts %.1f s" % duration)
    peak = np.max(np.abs(pcm))
    if db(peak) > -0.5:
        problems.append("music clips")
    lines = ["theme1.ogg: %.2f s, peak %.1f dB, rms %.1f dB" % (
        duration, db(peak), db(np.sqrt(np.mean(pcm ** 2))))]
    for c in range(pcm.shape[1]):
        x = pcm[:, c]
        steps = np.abs(np.diff(x))
        typical = np.percentile(steps, 99.9)
        join = abs(x[0] - x[-1])
        slope_change = abs((x[1] - x[0]) - (x[-1] - x[-2]))
        slope_typical = np.percentile(np.abs(np.diff(x, 2)), 99.9)
        seam_jump, bar_jumps = level_jumps(x, rate)
        lines.append("  channel %d: last->first step %.5f (99.9%% of steps below %.5f), "
                     "slope change %.5f (typical %.5f), level change %+.1f dB "
                     "(at the bar lines inside: %+.1f to %+.1f dB)" % (
                         c, join, typical, slope_change, slope_typical, seam_jump,
                         min(bar_jumps), max(bar_jumps)))
        if join > typical or slope_change > slope_typical:
            problems.append("the loop has a seam in channel %d" % c)
        if not min(bar_jumps) - 1 <= seam_jump <= max(bar_jumps) + 1:
            problems.append("the level jumps across the loop in channel %d" % c)
    return lines, problems


def main(arguments):
    if len(arguments) != 1:
        print(__doc__)
        return 2
    data = arguments[0]
    folder = os.path.join(data, "Sound")
    problems = []
    on_disk = sorted(os.listdir(folder))
    if len(on_disk) > MAX_FILES:
        problems.append("Sound has %d files, more than %d" % (len(on_disk), MAX_FILES))
    stems = [os.path.splitext(f)[0] for f in on_disk]
    for stem in set(stems):
        if stems.count(stem) > 1:
            problems.append("both a .wav and a .ogg for " + stem)

    ini = configparser.ConfigParser(interpolation=None)
    ini.optionxform = str
    ini.read(os.path.join(data, "sound.ini"))
    for event, files in EVENTS:
        for n, (stem, _, _) in enumerate(files):
            value = ini.get(event, "file%d" % n, fallback="")
            if value != "Sound\\%s.ogg" % stem or stem + ".ogg" not in on_disk:
                problems.append("%s file%d: %r" % (event, n, value))

    loudness = {stem: level for _, files in EVENTS for stem, _, level in files}
    loudness.update({stem: level for stem, _, level in MENU_SOUNDS})
    report = ["Sounds as decoded from data/Sound (made by check_audio.py)", ""]
    with tempfile.TemporaryDirectory() as work:
        for file_name in on_disk:
            stem = os.path.splitext(file_name)[0]
            if stem not in loudness:
                problems.append("%s is not made by sounds.py" % file_name)
                continue
            rate, pcm = decode(os.path.join(folder, file_name), work)
            line, found = check_sound(file_name, rate, pcm, loudness[stem])
            report.append(line)
            problems += [file_name + ": " + p for p in found]
        pitches = []
        for n in range(1, 8):
            rate, pcm = decode(os.path.join(folder, "place_shape_bonus_%d.ogg" % n), work)
            pitches.append(main_pitch(pcm[:, 0], rate))
        report += ["", "place_shape_bonus_1..7 pitch: " + ", ".join("%.0f Hz" % p for p in pitches)]
        if any(b <= a for a, b in zip(pitches, pitches[1:])):
            problems.append("the run bonus sounds do not rise in pitch")
        rate, pcm = decode(os.path.join(data, "Music", "theme1.ogg"), work)
        lines, found = check_music(rate, pcm)
        report += [""] + lines
        problems += found
    report += ["", "%d files in Sound (at most %d)" % (len(on_disk), MAX_FILES)]
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "audio_report.txt"), "w") as f:
        f.write("\n".join(report) + "\n")
    print("\n".join(report))
    if problems:
        print("\n".join(problems), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
