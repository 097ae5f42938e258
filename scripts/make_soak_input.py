#!/usr/bin/env python3
"""Writes a random input script for a long headless run (zelvotta-tool run --input):
a first minute that picks every setting once, then a user who wanders over the desktop, clicks, drags, strokes, opens the menus and picks
what is in them (settings, hiding and showing, the custom item, mute, about boxes, the
move-range window), and a machine whose load and clock change. The same seed gives the
same file. The exit items are never chosen: the run ends at its frame limit.

    python3 scripts/make_soak_input.py SEED FRAMES [WIDTH HEIGHT] > soak.input
"""
import random
import sys

# Menu command ids.
SETTINGS = ([32778, 32779, 32780, 32781, 32782, 32783, 32784] + list(range(32787, 32797)) +
            [32879, 32811, 32812, 32884, 32885])
CHARACTER_ITEMS = [32814, 32816, 32883]
CHARACTER_ENTRIES = list(range(32817, 32832))
ABOUT, CHARACTER_ABOUT, MOVE_RANGE = 104, 157, 32881


def main():
    seed, frames = int(sys.argv[1]), int(sys.argv[2])
    width, height = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (1920, 1080)
    rng = random.Random(seed)
    out = [f"# soak input: seed {seed}, {frames} frames, {width}x{height}"]
    frame = 1

    def at(f, text):
        out.append(f"{f} {text}")

    # The first minute visits every setting once from the tray's menu (each scale
    # among them), so every window has been at its largest before the check of the
    # resident memory starts; the random user comes after.
    for item in SETTINGS:
        at(frame, "tray right")
        at(frame + 2, f"menu {item}")
        frame += 75

    def near_a_line():
        # Characters stand on lines up from the bottom; aim where their bodies are.
        line_bottom = height - 240 * rng.randrange(0, max(1, height // 240))
        return rng.randrange(0, width), max(0, line_bottom - rng.randrange(4, 40))

    while frame < frames - 60:
        action = rng.choices(["wander", "click", "drag", "stroke", "menu", "tray", "machine", "dialog", "area"],
                             [30, 20, 12, 10, 12, 6, 6, 2, 2])[0]
        if action == "wander":
            for _ in range(rng.randrange(3, 15)):
                at(frame, "move %d %d" % (rng.randrange(width), rng.randrange(height)))
                frame += rng.randrange(1, 4)
        elif action == "click":
            at(frame, "move %d %d" % near_a_line())
            at(frame, "ldown")
            frame += rng.randrange(1, 4)
            at(frame, "lup")
        elif action == "drag":
            at(frame, "move %d %d" % near_a_line())
            at(frame, "ldown")
            for _ in range(rng.randrange(2, 10)):
                frame += rng.randrange(1, 4)
                at(frame, "move %d %d" % (rng.randrange(width), rng.randrange(height)))
            frame += 1
            at(frame, "lup")
        elif action == "stroke":
            x, y = near_a_line()
            for _ in range(rng.randrange(10, 25)):
                at(frame, "move %d %d" % (x + rng.randrange(-12, 13), y + rng.randrange(-12, 13)))
                frame += 1
        elif action == "menu":
            at(frame, "move %d %d" % near_a_line())
            at(frame, "rdown")
            at(frame + 1, "rup")
            frame += rng.randrange(2, 30)
            if rng.random() < 0.2:
                at(frame, "menu-close")
            else:
                item = rng.choice(SETTINGS + CHARACTER_ITEMS * 3 + [CHARACTER_ABOUT])
                at(frame, f"menu {item}")
                if item == CHARACTER_ABOUT:
                    frame += rng.randrange(5, 40)
                    at(frame, "dialog-ok")
        elif action == "tray":
            at(frame, "tray right")
            frame += rng.randrange(2, 20)
            if rng.random() < 0.2:
                at(frame, "menu-close")
            else:
                at(frame, "menu %d" % rng.choice(CHARACTER_ENTRIES + SETTINGS))
        elif action == "machine":
            if rng.random() < 0.7:
                at(frame, "cpu %d" % rng.randrange(0, 101))
            else:
                at(frame, "clock 2026-%02d-%02d %02d:%02d:%02d" % (rng.randrange(1, 13), rng.randrange(1, 29),
                                                                  rng.randrange(24), rng.randrange(60),
                                                                  rng.randrange(60)))
        elif action == "dialog":
            at(frame, f"command {ABOUT}")
            frame += rng.randrange(5, 60)
            if rng.random() < 0.3:
                at(frame, "dialog-link")
            at(frame, "dialog-ok")
        elif action == "area":
            at(frame, f"command {MOVE_RANGE}")
            frame += rng.randrange(5, 30)
            at(frame, "area-size %d %d %d %d" % (rng.randrange(0, width // 3), rng.randrange(0, height // 3),
                                                   rng.randrange(width // 2, width), rng.randrange(height // 2, height)))
            frame += rng.randrange(2, 20)
            at(frame, "area-button %d" % rng.choice([0, 1, 1, 2]))
        frame += rng.randrange(1, 60)
    print("\n".join(out))


if __name__ == "__main__":
    main()
