#!/bin/sh
# Re-records the end-to-end recordings of tests/shell/recordings from their input scripts, for
# when the rules, the data or the menus change on purpose and the old recordings no longer play
# the same way. Build first (./dev build), then run from anywhere:
#
#   tools/recordings/re-record.sh [path/to/quillory]
#
# A recording is refused on other data than it was made on (levels, menus, shape classes), so
# they must be made again whenever those change. Each chain of sessions shares one fresh user
# folder, as a player's restarts do, so a session starts from the files the one before it left. Review the new recordings' "check" lines
# (screen, score, level after each change) before committing them.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
game=${1:-$root/build/debug/src/shell/quillory}
recordings=$root/tests/shell/recordings
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# record FOLDER NAME [DATA]: plays NAME.script in the user folder FOLDER on the data folder DATA
# (the game's own by default), recording NAME.txt.
record() {
    SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy QUILLORY_INPUT_SCRIPT="$recordings/$2.script" \
        "$game" -changedir="${3:-$root/data}" -userdir="$work/$1" -record \
        -demofile="$recordings/$2.txt"
    if grep -q "FAILED" "$work/$1/applog.htm"; then
        echo "$2: the session failed; see $work/$1/applog.htm" >&2
        trap - EXIT
        exit 1
    fi
    echo "recorded $2"
}

# fresh FOLDER: a new user folder whose options ask for a window, as the tests' displays fit one.
fresh() {
    mkdir -p "$work/$1"
    printf '[OPTIONS]\r\nbtnFullScreen=0\r\n' >"$work/$1/config.ini"
}

fresh saves
record saves tutorial-saved
record saves continue-saved
record saves clear-scores

fresh options
record options options-changed
record options options-kept

# A short game of three levels (short-game/: the game's data with its own Levels folder).
fresh short
record short short-won-lost "$recordings/short-game"
record short short-bonus-complete "$recordings/short-game"

# A stage of seven small levels (stage-game/): Transformer through the stage map to the end, then
# Relax on the second stage.
fresh stage
record stage stage-transformer "$recordings/stage-game"
record stage stage-relax "$recordings/stage-game"
