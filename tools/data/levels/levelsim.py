"""Plays a level with a modelled player, to check that the level table is winnable.

The model follows the game's own rules for the field, the scroll, the conveyor, the choice of
each new shape, the bonuses, the line removal and the bug; only the player is a model: a person
who needs a fixed time to recognise a silhouette, take a picture, carry it and drop it, plus a
little more per class on the field and per right click in Transformer mode.

Numbers here are the game's: screen fractions, seconds.
"""

import math
import random

ROW_SPACING = 0.15833333
FIRST_ROW_Y = -0.0791666
EVEN_LINE_OFFSET = 0.08
LINE_SPACING = 0.11875
CELL_WIDTH = 0.0890625
CELL_HEIGHT = 0.11875
CONVEYOR_SPEED = 0.75
CONVEYOR_FIRST_X = 0.3
CONVEYOR_ENTRY_X = 1 + LINE_SPACING / 2
CONVEYOR_ISSUE_X = 1 - LINE_SPACING / 2
BUG_SPEED = 0.2
BUG_EAT_TIME = 2.0
BUG_START = (-0.1, 0.2)
BUG_EXIT = (1.1, 0.2)
VARIANTS_PER_CLASS = 4
STEP = 0.02  # seconds per simulated update

# Where a good player drops: the cursor must stay above the conveyor (y < 0.85) and the cell's
# centre must be on screen; a small margin keeps away from both edges.
REACH_TOP = 0.02
REACH_BOTTOM = 0.82


class Player:
    """How long one move takes: look, take, (turn,) carry, drop."""

    def __init__(self, name, base, per_class, per_speed, per_turn, transformer_extra, discard):
        self.name = name
        self.base = base  # seconds for a take-carry-drop with few classes
        self.per_class = per_class  # more classes on the field: longer search
        self.per_speed = per_speed  # a faster field is harder to hit: seconds per (height/s)
        self.per_turn = per_turn  # each right click in Transformer mode
        self.transformer_extra = transformer_extra  # judging the turned silhouette
        self.discard = discard  # throwing away a picture that fits nowhere

    def move_time(self, class_count, speed, turns, transformer):
        seconds = self.base + self.per_class * class_count + self.per_speed * speed
        if transformer:
            seconds += self.transformer_extra + self.per_turn * turns
        return seconds


# A good player: about 1.3 s per drop on a slow three-class field in Classic mode, 1.9 s in
# Transformer mode with one right click; 1.8 s and 2.5 s on a fast eight-class field.
GOOD = Player("good", base=0.95, per_class=0.08, per_speed=4.0, per_turn=0.25, transformer_extra=0.40,
              discard=0.5)
# A casual player: half as fast again; the early levels must be easy for them too.
CASUAL = Player("casual", base=1.45, per_class=0.12, per_speed=6.0, per_turn=0.35, transformer_extra=0.60,
                discard=0.8)


class Cell:
    __slots__ = ("line", "row", "base_y", "cls", "variant", "filled", "active")


class Level:
    def __init__(self, level_time, class_count, cells_per_line, line_speed, bug_range,
                 any_p, band_p, area_p, bonus_level):
        self.level_time = level_time
        self.class_count = class_count
        self.cells_per_line = cells_per_line
        self.line_speed = line_speed
        self.bug_range = bug_range
        self.any_p = any_p
        self.band_p = band_p
        self.area_p = area_p
        self.bonus_level = bonus_level


class Game:
    def __init__(self, level, player, transformer, seed):
        self.rng = random.Random(seed)
        self.level = level
        self.player = player
        self.transformer = transformer
        self.variants = VARIANTS_PER_CLASS if transformer else 1
        self.period = level.cells_per_line * ROW_SPACING
        self.scroll = self.rng.uniform(0, self.period)  # never reset between levels
        self.line_x = [0.29 + i * LINE_SPACING for i in range(6)]
        self.line_removed = [False] * 6
        self.lines_left = 6
        self.cells = []
        self.build_grid()
        self.conveyor = []  # [x, cls, variant, bonus]
        self.last_issued = -1
        self.now = 0.0
        self.bug = None  # dict while on screen
        self.bug_left_at = 0.0
        self.busy_until = 0.0
        self.pending = None  # (cell, bonus) to drop when the move ends
        self.bugs_eaten = 0
        self.bonuses_used = 0
        self.drops = 0

    # -- the field --------------------------------------------------------------------------

    def randint(self, lo, hi):
        return self.rng.randint(lo, hi)

    def build_grid(self):
        n = self.level.cells_per_line
        for line in range(6):
            for row in range(n):
                c = Cell()
                c.line, c.row = line, row
                c.base_y = row * ROW_SPACING + FIRST_ROW_Y + (EVEN_LINE_OFFSET if line % 2 == 0 else 0)
                c.cls = self.randint(0, self.level.class_count - 1)
                c.variant = self.randint(0, self.variants - 1)
                c.filled = False
                c.active = True
                self.cells.append(c)
        if len(self.cells) > self.level.class_count:
            chosen = []
            while len(chosen) < self.level.class_count:
                k = self.randint(0, len(self.cells) - 1)
                if k not in chosen:
                    chosen.append(k)
            for j, k in enumerate(chosen):
                self.cells[k].cls = j
                self.cells[k].variant = self.randint(0, self.variants - 1)

    def speed(self):
        return self.level.line_speed + (6 - self.lines_left) * 0.02

    def cell_y(self, c, ahead=0.0):
        y = c.base_y + ((self.scroll - self.speed() * ahead) % self.period)
        top = FIRST_ROW_Y
        while y < top:
            y += self.period
        while y > top + self.period:
            y -= self.period
        return y

    def cell_x(self, c):
        return self.line_x[c.line]

    def remove_complete_lines(self):
        complete = [not self.line_removed[i] and
                    all(c.filled for c in self.cells[i * self.level.cells_per_line:
                                                     (i + 1) * self.level.cells_per_line])
                    for i in range(6)]
        if not any(complete):
            return
        left = 0
        for i in range(6):
            if self.line_x[i] < 0.59:
                left = i
        shift = [0] * 6
        n = 0
        for i in range(left, -1, -1):
            if complete[i]:
                n += 1
            else:
                shift[i] = n
        m = 0
        for i in range(left + 1, 6):
            if complete[i]:
                m += 1
            else:
                shift[i] = -m
        for i in range(6):
            if complete[i]:
                self.line_removed[i] = True
                self.lines_left -= 1
                for c in self.cells[i * self.level.cells_per_line:
                                    (i + 1) * self.level.cells_per_line]:
                    c.active = False
            else:
                self.line_x[i] += shift[i] * LINE_SPACING

    # -- the conveyor -----------------------------------------------------------------------

    def issue_shape(self):
        bonus = 0
        if self.level.any_p > self.rng.random():
            bonus = 1
        if self.level.band_p > self.rng.random():
            bonus = 2
        if self.level.area_p > self.rng.random():
            bonus = 3
        counts = [0] * self.level.class_count
        for c in self.cells:
            if not c.filled:
                counts[c.cls] += 1
        total = sum(counts)
        pick = self.last_issued
        for _ in range(10):
            pick = self.randint(0, self.level.class_count - 1)
            r = self.rng.random()
            lo = 0.0
            for k in range(self.level.class_count):
                p = counts[k] / total if total else 0.0
                if lo <= r <= lo + p:
                    pick = k
                lo += p
            if pick != self.last_issued:
                break
        self.last_issued = pick
        variant = self.randint(0, self.variants - 1)
        self.conveyor.append([CONVEYOR_ENTRY_X, pick, variant, bonus])

    def update_conveyor(self, dt):
        if not self.conveyor or (len(self.conveyor) < 10 and self.conveyor[-1][0] < CONVEYOR_ISSUE_X):
            self.issue_shape()
        step = CONVEYOR_SPEED * dt
        for i, s in enumerate(self.conveyor):
            if i == 0:
                if s[0] > CONVEYOR_FIRST_X:
                    s[0] = max(CONVEYOR_FIRST_X, s[0] - step)
            else:
                s[0] = max(self.conveyor[i - 1][0] + LINE_SPACING, s[0] - step)

    # -- the bug ----------------------------------------------------------------------------

    def update_bug(self, dt):
        if self.bug is None:
            if self.now - self.bug_left_at > self.level.bug_range:
                c = self.cells[self.randint(0, len(self.cells) - 1)]
                if c.filled and c.active and 0.55 < self.cell_y(c) < 1.05:
                    self.bug = {"x": BUG_START[0], "y": BUG_START[1], "state": 0, "target": c}
            return
        b = self.bug
        c = b["target"]
        if b["state"] == 0:
            if not c.active:
                b["state"] = 2
            else:
                tx, ty = self.cell_x(c), self.cell_y(c)
                if abs(b["x"] - tx) < 0.025 and abs(b["y"] - ty) < 0.025:
                    b["state"], b["eat_start"] = 1, self.now
                else:
                    self.walk(b, tx, ty, dt)
        elif b["state"] == 1:
            if self.now - b["eat_start"] > BUG_EAT_TIME:
                b["state"] = 2
                if c.active and c.filled:
                    c.filled = False
                    self.bugs_eaten += 1
                    if self.pending and self.pending[0] is c:
                        pass  # the player's drop still lands: the cell is empty again
        else:
            if abs(b["x"] - BUG_EXIT[0]) < 0.025 and abs(b["y"] - BUG_EXIT[1]) < 0.025:
                self.bug = None
                self.bug_left_at = self.now
            else:
                self.walk(b, BUG_EXIT[0], BUG_EXIT[1], dt)

    @staticmethod
    def walk(b, tx, ty, dt):
        dx, dy = tx - b["x"], ty - b["y"]
        d = math.hypot(dx, dy)
        if d > 0:
            move = min(d, BUG_SPEED * dt)
            b["x"] += move * dx / d
            b["y"] += move * dy / d

    # -- the player -------------------------------------------------------------------------

    def reachable(self, c, ahead):
        if c.filled or not c.active:
            return None
        y = self.cell_y(c, ahead)
        return y if REACH_TOP <= y <= REACH_BOTTOM else None

    def bonus_value(self, bonus, target):
        if bonus == 2:
            return sum(1 for c in self.cells if c.line == target.line and c.active and not c.filled)
        if bonus == 3:
            tx, ty = self.cell_x(target), self.cell_y(target)
            return 1 + sum(1 for c in self.cells if c is not target and not c.filled and
                           abs(self.cell_x(c) - tx) < 1.9 * CELL_WIDTH and
                           abs(self.cell_y(c) - ty) < 1.9 * CELL_HEIGHT)
        return 1

    def choose_move(self):
        """The best (slot, cell, seconds) among the visible pictures, or None."""
        best = None
        empty = [c for c in self.cells if c.active and not c.filled]
        for slot, (x, cls, variant, bonus) in enumerate(self.conveyor):
            if x > 0.98:
                continue  # still entering at the right edge
            for c in empty:
                if bonus == 0 and c.cls != cls:
                    continue
                turns = 0 if bonus else (c.variant - variant) % self.variants
                seconds = self.player.move_time(self.level.class_count, self.speed(), turns,
                                                self.transformer)
                y = self.reachable(c, seconds)
                if y is None:
                    continue
                value = self.bonus_value(bonus, c) if bonus else 1
                # Quick moves first, cells about to leave the top first, big bonus fills first.
                rank = seconds + 0.6 * y - 1.5 * (value - 1)
                if best is None or rank < best[0]:
                    best = (rank, slot, c, seconds)
        return best

    def start_move(self):
        best = self.choose_move()
        if best is None:
            if len(self.conveyor) >= 7:
                # Nothing fits anywhere in reach: throw the first picture away.
                self.conveyor.pop(0)
                self.busy_until = self.now + self.player.discard
            else:
                self.busy_until = self.now + 0.1
            return
        _, slot, c, seconds = best
        shape = self.conveyor.pop(slot)
        self.pending = (c, shape[3])
        self.busy_until = self.now + seconds

    def finish_move(self):
        c, bonus = self.pending
        self.pending = None
        if c.filled or not c.active or self.cell_y(c) > 0.85 + 0.0534 or self.cell_y(c) < -0.05:
            return  # missed: the picture is lost (the model does not retry)
        c.filled = True
        self.drops += 1
        if bonus:
            self.bonuses_used += 1
        if bonus == 2:
            for other in self.cells:
                if other.line == c.line:
                    other.filled = True
        elif bonus == 3:
            tx, ty = self.cell_x(c), self.cell_y(c)
            for other in self.cells:
                if (not other.filled and abs(self.cell_x(other) - tx) < 1.9 * CELL_WIDTH and
                        abs(self.cell_y(other) - ty) < 1.9 * CELL_HEIGHT):
                    other.filled = True
        self.remove_complete_lines()

    # -- one level --------------------------------------------------------------------------

    def play(self, give_up_after=1200.0):
        """Returns the seconds the model needed to fill every cell, or None."""
        while self.now < give_up_after:
            self.now += STEP
            self.scroll = (self.scroll - self.speed() * STEP) % self.period
            self.update_conveyor(STEP)
            if self.pending and self.now >= self.busy_until:
                self.finish_move()
            if not self.pending and self.now >= self.busy_until:
                self.start_move()
            self.update_bug(STEP)
            if all(c.filled for c in self.cells):
                return self.now
        return None


def finishing_times(level, player, transformer, seeds):
    times = []
    for seed in seeds:
        t = Game(level, player, transformer, seed).play()
        times.append(t if t is not None else math.inf)
    return sorted(times)
