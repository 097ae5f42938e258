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
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCREEN, SEED, FRAMES = "800x600", "11", 1900
OUT = os.path.join(ROOT, "tests", "data", "demo_tour.input")
AWAY = "move 400 100"  # a point on the desktop, away from both characters

# Command ids of the menus.
CUSTOM_ITEM, HIDE_ITEM, FIRST_CHARACTER_ENTRY, EXIT = 32814, 32816, 32817, 32772


class Tour:
    def __init__(self, tool, app):
        self.tool, self.app, self.commands = tool, app, []

    def add(self, frame, text):
        self.commands.append((frame, len(self.commands), text))

    def text(self):
        return "".join(f"{frame} {text}\n" for frame, _, text in sorted(self.commands))

    def run(self, frames):
        """The trace of a run of the input so far, from a fresh start."""
        params = os.path.join(self.app, "Params")
        shutil.rmtree(params, ignore_errors=True)
        folder = tempfile.mkdtemp()
        try:
            with open(os.path.join(folder, "input"), "w") as out:
                out.write(self.text())
            trace = os.path.join(folder, "trace.jsonl")
            subprocess.run([self.tool, "run", "--app-dir", self.app, "--screen", SCREEN, "--seed", SEED,
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
    tour.add(60, f"move {w['x'] + 14} {w['y'] + 13}")
    tour.add(60, "ldown")
    tour.add(61, "lup")
    tour.add(62, AWAY)

    # Stroke Hopper's head as it walks: the pointer follows it to a new place each frame.
    trace = tour.run(175)
    hopper = {r["frame"]: r for r in trace if r["event"] == "position" and r["chara"] == "Hopper"}
    for i in range(22):
        h = hopper[150 + i - 1]
        tour.add(150 + i, f"move {h['x'] + 18 + (i * 7) % 13} {h['y'] + 14 + (i * 5) % 8}")
    tour.add(172, AWAY)

    # Rest the pointer on Walker's head: it looks up.
    w = tour.where("Walker", 200)
    step = -2 if walking_left(w) else 2
    tour.add(200, f"move {w['x'] + 16 + step} {w['y'] + 5}")
    tour.add(204, AWAY)

    # A busy machine for a while: Walker sweats.
    tour.add(240, "cpu 95")
    tour.add(520, "cpu 10")

    # Hopper's menu: it wonders while the menu is open, then dances from the custom item.
    h = tour.where("Hopper", 330)
    tour.add(330, f"move {h['x'] + 24} {h['y'] + 30}")
    tour.add(330, "rdown")
    tour.add(331, "rup")
    tour.add(336, f"menu {CUSTOM_ITEM}")
    tour.add(337, AWAY)

    # Hide Hopper from its menu, then show it again from the notification menu.
    h = tour.where("Hopper", 560)
    tour.add(560, f"move {h['x'] + 24} {h['y'] + 30}")
    tour.add(560, "rdown")
    tour.add(561, "rup")
    tour.add(564, f"menu {HIDE_ITEM}")
    tour.add(565, AWAY)
    tour.add(620, "tray right")
    tour.add(624, f"menu {FIRST_CHARACTER_ENTRY}")

    # Carry Hopper down to the bottom shelf, in Walker's way: once while Walker walks
    # left, once while it walks right, so they meet both ways.
    def carry(frame):
        h, w = tour.where("Hopper", frame), tour.where("Walker", frame)
        x = min(max(w["x"] + (-100 if walking_left(w) else 100), 0), 752) + 24
        tour.add(frame, f"move {h['x'] + 24} {h['y'] + 30}")
        tour.add(frame, "ldown")
        tour.add(frame + 4, f"move {(h['x'] + 24 + x) // 2} 450")
        tour.add(frame + 8, f"move {x} 590")
        tour.add(frame + 10, "lup")
        tour.add(frame + 11, AWAY)
        return walking_left(w)

    first_left = carry(720)
    frame = 1100
    while walking_left(tour.where("Walker", frame)) == first_left or \
            walking_left(tour.where("Walker", frame + 30)) == first_left:
        frame += 20
    carry(frame)

    # The end of the program: both play their exit.
    tour.add(1780, f"command {EXIT}")


def main():
    tool = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "default", "zelvotta-tool")
    app = tempfile.mkdtemp()
    try:
        shutil.copytree(os.path.join(ROOT, "characters"), os.path.join(app, "Characters"))
        tour = Tour(tool, app)
        plan(tour)
        header = ("# The demo characters' tour: replayed by the test suite and the showcase recording with\n"
                  f"#   zelvotta-tool run --screen {SCREEN} --seed {SEED} --frames {FRAMES} --input demo_tour.input\n"
                  "# Made by scripts/make_demo_tour.py; run it again after changing the demo characters.\n")
        with open(OUT, "w") as out:
            out.write(header + tour.text())
        print(OUT)
    finally:
        shutil.rmtree(app)


if __name__ == "__main__":
    main()
