#!/usr/bin/env python3
"""Writes tests/data/demo_tour.input: a minute of scripted input that takes the demo
characters (characters/Hopper and characters/Walker) through everything they can do,
on an 800 x 600 virtual desktop with random seed 11. The test suite replays it and
fails when a function, balloon function or hit event is never reached; the showcase
recording replays it too.

It plays the user step by step: each step runs `zelvotta-tool run` on the input so far
to find where the characters are, then adds its commands (runs are repeatable, so
what a step sees is what the replay does). Run it again after changing the characters:

    python3 scripts/make_demo_tour.py [build/default/zelvotta-tool]

The showcase animation plays the same tour with the characters at twice their size on
a larger desktop: `--scale 2 --screen 1280x720 --out FILE` writes that one (the runs
then start from an app.cfg with that display scale, written into Params).
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SEED, FRAMES = "11", 1900
OUT = os.path.join(ROOT, "tests", "data", "demo_tour.input")
# Points on the characters at 100 %, from their windows' top-left corners: Walker's body
# and head, Hopper's body and the middle of its head; Hopper's window is 160 wide.
WALKER_BODY, WALKER_HEAD = (72, 60), (72, 26)
HOPPER_BODY, HOPPER_HEAD, HOPPER_WIDTH = (80, 72), (62, 36), 160
# The display scales app.cfg names by menu command.
SCALE_IDS = {1: 32782, 1.5: 32780, 2: 32778}

# Command ids of the menus.
CUSTOM_ITEM, HIDE_ITEM, FIRST_CHARACTER_ENTRY, EXIT = 32814, 32816, 32817, 32772


class Tour:
    def __init__(self, tool, app, screen, scale):
        self.tool, self.app, self.commands = tool, app, []
        self.screen, self.scale = screen, scale
        self.width, self.height = (int(n) for n in screen.split("x"))

    def at(self, record, point):
        """The desktop point of `point` (unscaled, from the top-left) on a character."""
        return f"{record['x'] + round(point[0] * self.scale)} {record['y'] + round(point[1] * self.scale)}"

    def away(self):
        """A point on the desktop, away from both characters."""
        return f"move {self.width // 2} {self.height // 6}"

    def add(self, frame, text):
        self.commands.append((frame, len(self.commands), text))

    def text(self):
        return "".join(f"{frame} {text}\n" for frame, _, text in sorted(self.commands))

    def run(self, frames):
        """The trace of a run of the input so far, from a fresh start."""
        params = os.path.join(self.app, "Params")
        shutil.rmtree(params, ignore_errors=True)
        if self.scale != 1:
            os.makedirs(params)
            with open(os.path.join(params, "app.cfg"), "w") as out:
                out.write(f"ScaleID={SCALE_IDS[self.scale]}\n")
        folder = tempfile.mkdtemp()
        try:
            with open(os.path.join(folder, "input"), "w") as out:
                out.write(self.text())
            trace = os.path.join(folder, "trace.jsonl")
            subprocess.run([self.tool, "run", "--app-dir", self.app, "--screen", self.screen, "--seed", SEED,
                            "--frames", str(frames), "--positions", "--trace", trace,
                            "--input", os.path.join(folder, "input")], check=True, stderr=subprocess.DEVNULL)
            with open(trace) as lines:
                return [json.loads(line) for line in lines]
        finally:
            shutil.rmtree(folder)
            shutil.rmtree(params, ignore_errors=True)

    def where(self, chara, frame):
        """Where `chara` is when the commands of `frame` run (after the previous frame)."""
        for record in self.run(frame):
            if record["event"] == "position" and record["chara"] == chara and record["frame"] == frame - 1:
                return record
        raise SystemExit(f"make_demo_tour: {chara} has no position at frame {frame - 1}")


def walking_left(record):
    return record["function"] in ("goLeft", "appear")


def plan(tour):
    # A calm machine, and a clock that strikes noon fifty seconds in.
    tour.add(0, "cpu 10")
    tour.add(0, "clock 2026-12-24 11:59:10")

    # Click Walker's body: it greets.
    w = tour.where("Walker", 60)
    tour.add(60, f"move {tour.at(w, WALKER_BODY)}")
    tour.add(60, "ldown")
    tour.add(61, "lup")
    tour.add(62, tour.away())

    # Stroke Hopper's head as it walks: the pointer follows it to a new place each frame.
    trace = tour.run(175)
    hopper = {r["frame"]: r for r in trace if r["event"] == "position" and r["chara"] == "Hopper"}
    for i in range(22):
        h = hopper[150 + i - 1]
        tour.add(150 + i, f"move {tour.at(h, (HOPPER_HEAD[0] + (i * 7) % 13, HOPPER_HEAD[1] + (i * 5) % 8))}")
    tour.add(172, tour.away())

    # Rest the pointer on Walker's head: it looks up.
    w = tour.where("Walker", 200)
    step = -3 if walking_left(w) else 3
    tour.add(200, f"move {tour.at(w, (WALKER_HEAD[0] + step, WALKER_HEAD[1]))}")
    tour.add(204, tour.away())

    # A busy machine for a while: Walker sweats.
    tour.add(240, "cpu 95")
    tour.add(700, "cpu 10")

    # Hopper's menu: it wonders while the menu is open, then dances from the custom item.
    h = tour.where("Hopper", 330)
    tour.add(330, f"move {tour.at(h, HOPPER_BODY)}")
    tour.add(330, "rdown")
    tour.add(331, "rup")
    tour.add(336, f"menu {CUSTOM_ITEM}")
    tour.add(337, tour.away())

    # Hide Hopper from its menu, then show it again from the notification menu.
    h = tour.where("Hopper", 560)
    tour.add(560, f"move {tour.at(h, HOPPER_BODY)}")
    tour.add(560, "rdown")
    tour.add(561, "rup")
    tour.add(564, f"menu {HIDE_ITEM}")
    tour.add(565, tour.away())
    tour.add(620, "tray right")
    tour.add(624, f"menu {FIRST_CHARACTER_ENTRY}")

    # Carry Hopper down to the bottom shelf, in Walker's way: once while Walker walks
    # left, once while it walks right, so they meet both ways.
    def carry(frame):
        h, w = tour.where("Hopper", frame), tour.where("Walker", frame)
        ahead = round(190 * tour.scale) * (-1 if walking_left(w) else 1)
        x = min(max(w["x"] + ahead, 0), tour.width - round(HOPPER_WIDTH * tour.scale)) + round(HOPPER_BODY[0] * tour.scale)
        start = round(h["x"] + HOPPER_BODY[0] * tour.scale)
        tour.add(frame, f"move {tour.at(h, HOPPER_BODY)}")
        tour.add(frame, "ldown")
        tour.add(frame + 4, f"move {(start + x) // 2} {tour.height * 3 // 4}")
        tour.add(frame + 8, f"move {x} {tour.height - 10}")
        tour.add(frame + 10, "lup")
        tour.add(frame + 11, tour.away())
        return walking_left(w)

    # The end of the program: both play their exit.
    tour.add(1780, f"command {EXIT}")

    first_left = carry(720)
    # The second carry: the first time Walker walks the other way after which the whole
    # tour reaches everything the characters declare (what Hopper picks at the edges
    # afterwards depends on when it is dropped). At a larger scale the desktop may hold
    # fewer shelves than the climbs and dives need: there the first such time will do.
    declared = declared_names()
    for frame in range(1100, 1500, 20):
        if walking_left(tour.where("Walker", frame)) == first_left or \
                walking_left(tour.where("Walker", frame + 30)) == first_left:
            continue
        kept = len(tour.commands)
        carry(frame)
        missing = declared - reached_names(tour.run(FRAMES)) if tour.scale == 1 else set()
        if not missing:
            return
        del tour.commands[kept:]
    raise SystemExit(f"make_demo_tour: no second carry reaches everything; last missing: {sorted(missing)}")


def declared_names():
    """What the characters' scripts declare, as the test names it: "Hopper function
    dropDown", "Walker balloon hello", "Hopper hit tickle"."""
    kinds = {"<FUNC_ORDER_REG>": "function", "<FUNC_BALLOON_ORDER_REG>": "balloon", "<FUNC_HIT_EVENT_REG>": "hit"}
    names = set()
    for chara in os.listdir(os.path.join(ROOT, "characters")):
        scripts = os.path.join(ROOT, "characters", chara, "Scripts")
        for file in sorted(os.listdir(scripts)):
            kind = ""
            with open(os.path.join(scripts, file), encoding="utf-8") as lines:
                for line in lines:
                    line = line.split("##")[0].strip()
                    if line.startswith("<FUNC_"):
                        kind = kinds.get(line[:line.find(">") + 1], "")
                    elif kind and re.match(r"FuncName\s*=", line):
                        names.add(f"{chara} {kind} {line.split('=', 1)[1].strip()}")
    return names


def reached_names(trace):
    names = set()
    for record in trace:
        if record["event"] in ("function", "balloon"):
            names.add(f"{record['chara']} {record['event']} {record['function']}")
        elif record["event"] == "hit":
            names.add(f"{record['chara']} hit {record['name']}")
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool", nargs="?", default=os.path.join(ROOT, "build", "default", "zelvotta-tool"))
    parser.add_argument("--scale", type=float, default=1, choices=sorted(SCALE_IDS))
    parser.add_argument("--screen", default="800x600")
    parser.add_argument("--out", default=OUT)
    options = parser.parse_args()
    scale = int(options.scale) if float(options.scale).is_integer() else options.scale
    app = tempfile.mkdtemp()
    try:
        shutil.copytree(os.path.join(ROOT, "characters"), os.path.join(app, "Characters"))
        tour = Tour(options.tool, app, options.screen, scale)
        plan(tour)
        scaled = f" at display scale {scale:g} (ScaleID={SCALE_IDS[scale]} in app.cfg)" if scale != 1 else ""
        header = (f"# The demo characters' tour{scaled}: replayed by the test suite and the showcase recording with\n"
                  f"#   zelvotta-tool run --screen {options.screen} --seed {SEED} --frames {FRAMES} --input demo_tour.input\n"
                  "# Made by scripts/make_demo_tour.py; run it again after changing the demo characters.\n")
        with open(options.out, "w") as out:
            out.write(header + tour.text())
        print(options.out)
    finally:
        shutil.rmtree(app)


if __name__ == "__main__":
    main()
