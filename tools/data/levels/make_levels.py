#!/usr/bin/env python3
"""Writes data/Levels/level_1.xml .. level_40.xml from level_table.py.

Before writing anything it checks every row against the game's limits and plays every level
with the modelled players of levelsim.py; a normal level that a good player cannot win in
Transformer mode without any bonus picture, with some time to spare, stops the run.
The measured figures go to level_report.txt beside this file.

  make_levels.py OUTPUT_FOLDER          check, write the level files and the report
  make_levels.py --suggest              print a levelTime for each level from the model
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import levelsim  # noqa: E402
from level_table import CATALOGUE, LEVELS  # noqa: E402

SEEDS = range(20)
# The clock must give the good player's worst checked game at least this much more time.
REQUIRED_SPARE = 1.08
MAX_CLASSES_IN_LIST = 15
MAX_CELLS = 180


def check_row(number, row):
    names = row["classes"].split(",")
    problems = []
    if len(names) != len(set(names)):
        problems.append("a class is named twice")
    for name in names:
        if name not in CATALOGUE:
            problems.append("unknown class " + name)
    if not 3 <= len(names) <= MAX_CLASSES_IN_LIST:
        problems.append("class count outside 3..15")
    if not 7 <= row["cells"] <= 30 or 6 * row["cells"] > MAX_CELLS:
        problems.append("cells per line outside 7..30")
    if row["bonus"] != (number % 6 == 0 or number == len(LEVELS)):
        problems.append("bonus levels are the last of each stage")
    if number == 1 and names[0] != CATALOGUE[0]:
        problems.append("the tutorial needs catalogue entry 0 as the first class")
    for key in ("any", "band", "area"):
        if not 0 <= row[key] <= 1:
            problems.append(key + " is not a chance")
    if row["time"] <= 0 or row["speed"] <= 0 or row["bug"] < 0:
        problems.append("time, speed and bug interval must be positive")
    return problems


def model_level(row, with_bonuses):
    return levelsim.Level(
        level_time=row["time"], class_count=len(row["classes"].split(",")),
        cells_per_line=row["cells"], line_speed=row["speed"], bug_range=row["bug"],
        any_p=row["any"] if with_bonuses else 0, band_p=row["band"] if with_bonuses else 0,
        area_p=row["area"] if with_bonuses else 0, bonus_level=row["bonus"])


def worst(times):
    return times[-1]


def median(times):
    return times[len(times) // 2]


def win_share(times, limit):
    return sum(1 for t in times if t <= limit) / len(times)


def measure(row):
    plain, lucky = model_level(row, False), model_level(row, True)
    return {
        "good_classic": levelsim.finishing_times(plain, levelsim.GOOD, False, SEEDS),
        "good_transformer": levelsim.finishing_times(plain, levelsim.GOOD, True, SEEDS),
        "good_transformer_bonus": levelsim.finishing_times(lucky, levelsim.GOOD, True, SEEDS),
        "casual_classic_bonus": levelsim.finishing_times(lucky, levelsim.CASUAL, False, SEEDS),
        "casual_transformer_bonus": levelsim.finishing_times(lucky, levelsim.CASUAL, True,
                                                             SEEDS),
    }


def number_text(value):
    text = ("%.4f" % value).rstrip("0").rstrip(".")
    return text if text else "0"


def level_xml(row):
    names = row["classes"].split(",")
    cells = 6 * row["cells"]
    attributes = [
        ("newShapeTime", number_text(round(row["time"] / cells, 2))),
        ("levelTime", number_text(row["time"])),
        ("shapeClassCount", str(len(names))),
        ("bonusLevel", "true" if row["bonus"] else "false"),
        ("shapeClassList", ",".join(names)),
        ("lineSpeed", number_text(row["speed"])),
        ("fBugAppearanceRange", number_text(row["bug"])),
        ("lineShapeCount", str(row["cells"])),
        ("fBonusAnyShapeP", number_text(row["any"])),
        ("fBonusBandP", number_text(row["band"])),
        ("fBonusAreaP", number_text(row["area"])),
    ]
    lines = ['<?xml version="1.0" encoding="UTF-8"?>', "<LevelMap"]
    lines += ['    %s="%s"' % pair for pair in attributes]
    lines[-1] += " />"
    return "\n".join(lines) + "\n"


def seconds(value):
    return "  --" if math.isinf(value) else "%4.0f" % value


def report_line(number, row, m):
    cells = 6 * row["cells"]
    kind = "bonus" if row["bonus"] else "     "
    limit = math.inf if row["bonus"] else row["time"]
    line = "%2d %s %2d %3d %.3f %4d %3d %.2f/s" % (
        number, kind, len(row["classes"].split(",")), cells, row["speed"], row["bug"],
        row["time"], cells / row["time"])
    line += " | %s %s %s | %3.0f%% %3.0f%%" % (
        seconds(worst(m["good_classic"])), seconds(worst(m["good_transformer"])),
        seconds(median(m["good_transformer_bonus"])),
        100 * win_share(m["casual_classic_bonus"], limit),
        100 * win_share(m["casual_transformer_bonus"], limit))
    return line


REPORT_HEAD = """Levels as played by the models of levelsim.py (%d games per figure; made by make_levels.py).
good C / good T: worst finishing time of a good player without bonus pictures, Classic / Transformer
good T+b: median time of a good Transformer player with the level's bonus chances
casual C / casual T: share of games a casual player wins with bonuses, Classic / Transformer
(bonus levels cannot be lost; their times say how long they last)

 # kind  cl cells speed bug time asked  | good C good T good T+b | casual C casual T
""" % len(SEEDS)


def main(arguments):
    suggest = arguments[:1] == ["--suggest"]
    if not suggest and len(arguments) != 1:
        print(__doc__)
        return 2
    failures = []
    report = [REPORT_HEAD]
    for number, row in enumerate(LEVELS, start=1):
        for problem in check_row(number, row):
            failures.append("level %d: %s" % (number, problem))
        m = measure(row)
        need = worst(m["good_transformer"])
        if suggest:
            print("level %2d: good Transformer worst %.0f s, asks %d s" %
                  (number, need, 5 * math.ceil(need * 1.3 / 5)))
            continue
        if math.isinf(need) or math.isinf(worst(m["good_classic"])):
            failures.append("level %d: the good player never finishes" % number)
        elif not row["bonus"] and need * REQUIRED_SPARE > row["time"]:
            failures.append("level %d: %d s is too little for a good Transformer player (%.0f s)"
                            % (number, row["time"], need))
        report.append(report_line(number, row, m) + "\n")
        print(report[-1], end="", flush=True)
    if suggest:
        return 0
    if len(LEVELS) != 40:
        failures.append("the game has 40 levels")
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    folder = arguments[0]
    os.makedirs(folder, exist_ok=True)
    for number, row in enumerate(LEVELS, start=1):
        with open(os.path.join(folder, "level_%d.xml" % number), "w", newline="\n") as f:
            f.write(level_xml(row))
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "level_report.txt"), "w") as f:
        f.write("".join(report))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
