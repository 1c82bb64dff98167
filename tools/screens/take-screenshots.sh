#!/usr/bin/env bash
# Takes a picture of every screen state of the real program under Xvfb into docs/screens/:
#   tools/screens/take-screenshots.sh [path to the quillory program]
# Needs Xvfb (apt-get install xvfb). Runs in a fresh temporary user folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
top=$(pwd)
program=${1:-build/debug/src/shell/quillory}
out="$top/docs/screens"
user=$(mktemp -d)
trap 'rm -rf "$user"' EXIT
mkdir -p "$out"
printf '[OPTIONS]\r\nbtnFullScreen=0\r\n' >"$user/config.ini"
sed "s|@/|$out/|" tools/screens/screens.script >"$user/script.txt"
SDL_AUDIODRIVER=dummy QUILLORY_INPUT_SCRIPT="$user/script.txt" \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  "$program" -changedir="$top/data" -userdir="$user"
if grep -q "Script FAILED" "$user/applog.htm"; then
  grep "Script FAILED" "$user/applog.htm" >&2
  exit 1
fi
ls "$out"
