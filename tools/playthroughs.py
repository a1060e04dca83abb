#!/usr/bin/env python3
"""Writes the two scripted playthroughs of level1, the game's regression suite.

    python3 tools/playthroughs.py tests/e2e/playthrough

The game runs them with --headless --fixed-dt 0.016666668 --seed 7 --scene level1 --input
FILE. Each script is planned as legs of axis-aligned walks between corridor centres: the
player's speed and the frame time are fixed, so a walk of d units is d / speed * 60 frames
of one held key. The first step of every leg carries a "note" saying what it does (the game
ignores keys it does not know). Regenerating gives the same bytes.

Tiles are 64 units and the map is centred at the origin: column i lies at x = 64 i - 2016,
row j (counted from the top) at y = 1376 - 64 j.
"""

import json
import sys
from pathlib import Path

FPS = 60
WALK = 400.0  # units a second
SPRINT = WALK * 1.3
SCREEN_CENTRE = (960, 540)

# Key codes of the bindings in Data/Data/dat_input.json; 0 is the left mouse button.
KEY = {"W": 87, "A": 65, "S": 83, "D": 68, "SHIFT": 340, "E": 69, "SPACE": 32, "TRAPS": 49, "MOUSE": 0}
DIRECTION = {(0, 1): "W", (0, -1): "S", (-1, 0): "A", (1, 0): "D"}


class Script:
    """Input events by frame, with the player's planned position."""

    def __init__(self, start):
        self.frame = 2
        self.at = start
        self.steps = {}

    def _step(self, frame):
        return self.steps.setdefault(frame, {"frame": frame})

    def note(self, text):
        """Opens a leg: its first step says what it does (a step may hold only a note)."""
        self.steps[self.frame] = {"note": text, **self._step(self.frame)}

    def press(self, *keys):
        self._step(self.frame).setdefault("press", []).extend(KEY[k] for k in keys)

    def release(self, *keys):
        self._step(self.frame).setdefault("release", []).extend(KEY[k] for k in keys)

    def cursor(self, dx, dy):
        """Puts the cursor dx, dy window pixels from the centre (y up, like the world)."""
        self._step(self.frame)["cursor"] = {"x": SCREEN_CENTRE[0] + dx, "y": SCREEN_CENTRE[1] - dy}

    def wait(self, seconds):
        self.frame += round(seconds * FPS)

    def tap(self, key):
        self.press(key)
        self.frame += 2
        self.release(key)
        self.frame += 1

    def hold(self, key, seconds):
        self.press(key)
        self.wait(seconds)
        self.release(key)
        self.frame += 1

    def walk_to(self, x, y, sprint=False):
        """One straight, axis-aligned walk from the planned position."""
        dx, dy = x - self.at[0], y - self.at[1]
        if dx and dy:
            raise ValueError("walk_to %s from %s is not along an axis" % ((x, y), self.at))
        distance = abs(dx) + abs(dy)
        if distance == 0:
            return
        key = DIRECTION[((dx > 0) - (dx < 0), (dy > 0) - (dy < 0))]
        frames = round(distance / (SPRINT if sprint else WALK) * FPS)
        keys = ("SHIFT", key) if sprint else (key,)
        self.press(*keys)
        self.frame += frames
        self.release(*keys)
        self.frame += 1
        self.at = (x, y)

    def route(self, points, sprint=False):
        for x, y in points:
            self.walk_to(x, y, sprint)

    def place_trap(self, dx, dy):
        """Selects the trap slot, aims dx, dy pixels away and holds the button past the
        one second it takes; the trap lands up to 220 units toward the cursor."""
        self.cursor(dx, dy)
        self.tap("TRAPS")
        self.hold("MOUSE", 1.1)
        self.tap("TRAPS")

    def collect(self, seconds=3.0):
        """Holds interact beside an object a little longer than it takes."""
        self.hold("E", seconds + 0.1)

    def text(self):
        lines = []
        for frame in sorted(self.steps):
            lines.append("  " + json.dumps(self.steps[frame]))
        return "[\n" + ",\n".join(lines) + "\n]\n"


START = (-1120, -864)


def opening():
    """Both scripts end the tour and take object 1 in the entrance."""
    s = Script(START)
    s.note("end the camera tour with a key")
    s.cursor(0, 300)
    s.tap("SPACE")
    s.note("object 1, in the entrance: walk up beside it and hold E")
    s.walk_to(-1120, -704)
    s.collect()
    return s


def win():
    s = opening()

    s.note("object 2, in the library: sprint up the west corridor, right of the glue")
    s.route([(-1240, -704), (-1240, 700)], sprint=True)
    s.note("a bear trap behind, in the mouth of the corridor")
    s.place_trap(0, -400)
    s.note("on to the object, hold E")
    s.route([(-1240, 1056), (-1200, 1056)])
    s.collect()

    s.note("object 3, in the kitchen: east along the corridors, past the study's table")
    s.route([(-1200, 928), (928, 928)], sprint=True)
    s.note("a bear trap behind, in the corridor from the study")
    s.place_trap(-400, 0)
    s.note("on to the object, hold E")
    s.route([(1632, 928), (1632, 960)])
    s.collect()

    s.note("object 4, in the cellar: down into the bedroom")
    s.route([(1376, 960), (1376, 200)], sprint=True)
    s.note("a bear trap behind, in the corridor from the kitchen")
    s.place_trap(0, 400)
    s.note("round the cellar wall to the object, hold E")
    s.route([(1376, -672), (1632, -672), (1632, -900)], sprint=True)
    s.collect()

    s.note("the monster is frenzied: run west along the passage, up into the hall")
    s.route([(1632, -864), (-16, -864), (-16, 300)], sprint=True)
    s.note("beside the flash camera, flash until the monster is in the hall")
    s.walk_to(-320, 300)
    for _ in range(30):
        s.tap("E")
        s.wait(0.2)
    return s


def lose():
    s = opening()
    s.note("stand still: the monster comes out of the passage and grabs the player")
    s.wait(2.5)
    s.note("struggle too little, two pairs of A and D, then give up: the player dies")
    for _ in range(2):
        for key in ("A", "D"):
            s.tap(key)
            s.wait(0.12)
    s.wait(5)
    s.tap("SPACE")
    return s


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: playthroughs.py OUT_FOLDER")
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, plan in (("win", win), ("lose", lose)):
        (out / (name + ".json")).write_text(plan().text())


if __name__ == "__main__":
    main()
