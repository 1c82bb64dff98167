#!/usr/bin/env bash
# Regenerates data/Levels/level_1.xml .. level_40.xml and tools/data/levels/level_report.txt
# from the level table, after checking that every level can be won (about a minute).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exec python3 "$here/levels/make_levels.py" "$here/../../data/Levels"
