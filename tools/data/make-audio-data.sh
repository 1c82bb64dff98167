#!/usr/bin/env bash
# Regenerates the game's sounds: data/Sound/*.ogg, data/sound.ini and data/Music/theme1.ogg,
# then measures what was written (tools/data/audio/audio_report.txt).
# Needs python3 with numpy, oggenc and oggdec (Debian: python3-numpy, vorbis-tools).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
data="$here/../../data"
python=python3
if ! "$python" -c 'import numpy' 2>/dev/null; then
  python=/usr/bin/python3 # the system's python, where python3-numpy installs
fi
"$python" "$here/audio/make_sounds.py" "$data"
"$python" "$here/audio/make_music.py" "$data"
"$python" "$here/audio/check_audio.py" "$data" >/dev/null
echo "sounds, sound.ini and music written; measurements in tools/data/audio/audio_report.txt"
