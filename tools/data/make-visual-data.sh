#!/usr/bin/env bash
# Regenerates every picture, font, menu and text file of the game's data that is made from
# source here (everything in data/ except the sounds, the music, sound.ini and the levels).
# Needs Debian's python3 with python3-pil and python3-numpy, librsvg2-bin (rsvg-convert) and
# fonts-linuxlibertine; none of them is needed to build or play.
set -euo pipefail
cd "$(dirname "$0")/../.."
data=data
py=/usr/bin/python3
tools=tools/data

$py $tools/art/make_shapes.py "$data"
$py $tools/art/check_shapes.py "$data"
$py $tools/art/make_graphics.py "$data"
$py $tools/art/make_menu_art.py "$data"
$py $tools/fonts/make_fonts.py "$data"
$py $tools/text/make_language.py "$data"
$py $tools/menus/make_menus.py "$data"
$py $tools/sheet/make_contact_sheet.py "$data" docs/data-contact-sheet.png
