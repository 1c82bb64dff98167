#!/usr/bin/env bash
# Regenerates the small Ogg Vorbis files the sound tests decode (needs python3 and oggenc from
# vorbis-tools). Each is a pure tone, so tests can check length and pitch after decoding.
#   tone440_mono_22050.ogg     440 Hz, mono, 22050 Hz, 11025 frames (0.5 s)
#   tone1000_stereo_44100.ogg  1000 Hz left, 500 Hz right, 44100 Hz, 22050 frames (0.5 s)
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" <<'PYTHON'
import math, struct, sys, wave
folder = sys.argv[1]

def write(name, rate, frames, tones):
    with wave.open(f"{folder}/{name}.wav", "wb") as out:
        out.setnchannels(len(tones))
        out.setsampwidth(2)
        out.setframerate(rate)
        data = bytearray()
        for i in range(frames):
            for tone in tones:
                data += struct.pack("<h", int(16000 * math.sin(2 * math.pi * tone * i / rate)))
        out.writeframes(bytes(data))

write("tone440_mono_22050", 22050, 11025, [440])
write("tone1000_stereo_44100", 44100, 22050, [1000, 500])
PYTHON

for name in tone440_mono_22050 tone1000_stereo_44100; do
  oggenc --quiet -q 2 --serial 1 -o "$name.ogg" "$work/$name.wav"
done
