"""Hopper's pictures: an orange round climber with a pale belly, two antennae and dark
arms and legs, facing the viewer and looking the way it walks (left; walking right
mirrors the cells).

hopper.png holds 160 x 128 cells, eight to a row (POSES gives their order): a walk
cycle of six, a turn, a climb of four, dangling, a dive of two, sitting, a landing
squash, two waves, looking up, a dance of four, two giggles and three puffs of smoke.
Hopper stands in the middle of its cell; the room either side is where its balloon
reaches, so a balloon as wide as the cell stays on the desktop wherever it walks. The
layers: notes.png (two 32 x 32 cells of music notes, drawn over the dance),
question.png (28 x 28, over the menu pose). The balloon: balloon.png, 160 x 76 with a
tail pointing down at the character, and clock.png, a 24 x 24 clock face drawn in the
balloon that tells the time."""
import math

import cairo

from paint import (Sheet, arc_line, blob, darker, ellipse_path, ground_shadow, lighter, limb, line, outline,
                   plain, polygon, rgb, shaded_fill, speech_balloon)

CELL_W, CELL_H = 160, 128
COLUMNS = 8
POSES = ["walk1", "walk2", "walk3", "walk4", "walk5", "walk6", "turn", "climb1",
         "climb2", "climb3", "climb4", "dangle", "fall1", "fall2", "sit", "land",
         "wave1", "wave2", "lookup", "dance1", "dance2", "dance3", "dance4", "giggle1",
         "giggle2", "poof1", "poof2", "poof3"]
BODY = (240, 130, 46)
BELLY = (254, 218, 160)
LIMB = (92, 54, 30)
EDGE = (70, 34, 14)
DARK = (40, 24, 16)
WHITE = (255, 255, 255)
BLUSH = (240, 100, 120)
SMOKE = (236, 236, 242)
SMOKE_EDGE = (150, 150, 170)
NOTE = (90, 50, 190)
CX, CY = CELL_W / 2, 67  # the body's centre in a cell


def cell_xy(pose):
    """Where a pose's cell starts in hopper.png."""
    index = POSES.index(pose)
    return (index % COLUMNS) * CELL_W, (index // COLUMNS) * CELL_H


def pose_values(pose):
    """Arms and legs as (shoulder/hip offset, end point) pairs from the body's centre,
    plus body offset, squash, tilt, eyes, mouth and antennae sway."""
    v = dict(dx=0.0, dy=0.0, sx=1.0, sy=1.0, tilt=0.0, look=(-3.5, 0.5), eyes="open", mouth="smile",
             arms=[(-40, 18), (40, 18)], legs=[(-14, 54), (14, 54)], sway=0.0, blush=False, shadow=True)
    if pose.startswith("walk"):
        phase = (int(pose[-1]) - 1) / 6 * 2 * math.pi
        s, c = math.sin(phase), math.cos(phase)
        v["legs"] = [(-14 - 9 * s, 54 - max(0.0, c) * 6), (14 + 9 * s, 54 - max(0.0, -c) * 6)]
        v["arms"] = [(-40 + 4 * s, 16 + 5 * s), (40 + 4 * s, 16 - 5 * s)]
        v["dy"] = -2.5 * abs(c)
        v["sway"] = 0.08 * s
    elif pose == "turn":
        v.update(look=(0, 0.5), arms=[(-42, 14), (42, 14)])
    elif pose.startswith("climb"):
        step = int(pose[-1]) - 1
        up = step % 2 == 0
        v.update(look=(0, -3), arms=[(-30, -46 if up else -34), (30, -34 if up else -46)],
                 legs=[(-18, 44 if up else 54), (18, 54 if up else 44)], dy=-2 if step in (1, 2) else 0,
                 sway=0.06 if up else -0.06, shadow=False)
    elif pose == "dangle":
        v.update(arms=[(-24, -54), (24, -54)], legs=[(-12, 58), (12, 58)], eyes="wide", mouth="o",
                 look=(0, 1), shadow=False)
    elif pose in ("fall1", "fall2"):
        first = pose == "fall1"
        v.update(arms=[(-30 if first else -22, -52), (22 if first else 30, -52)],
                 legs=[(-18, 50 if first else 56), (18, 56 if first else 50)], eyes="wide", mouth="o",
                 look=(0, 2), tilt=0.08 if first else -0.08, shadow=False)
    elif pose == "sit":
        v.update(dy=14, sy=0.94, sx=1.04, legs=[(-30, 38), (30, 38)], arms=[(-38, 22), (38, 22)])
    elif pose == "land":
        v.update(dy=18, sy=0.8, sx=1.16, legs=[(-32, 36), (32, 36)], arms=[(-46, 6), (46, 6)], eyes="closed",
                 mouth="o")
    elif pose in ("wave1", "wave2"):
        v.update(arms=[(-40, 18), (36 if pose == "wave1" else 48, -40)], mouth="open", look=(0, 0.5))
    elif pose == "lookup":
        v.update(look=(-1, -4), mouth="o", arms=[(-38, 20), (38, 20)])
    elif pose.startswith("dance"):
        step = int(pose[-1]) - 1
        left = step in (0, 1)
        high = step in (0, 3)
        v.update(mouth="open", eyes="happy", sway=-0.14 if left else 0.14, dx=-5 if left else 5,
                 dy=-3 if high else 1,
                 arms=[(-46, -30), (40, 22)] if left else [(-40, 22), (46, -30)],
                 legs=[(-24, 50), (12, 54)] if left else [(-12, 54), (24, 50)])
    elif pose in ("giggle1", "giggle2"):
        v.update(eyes="happy", mouth="open", blush=True, arms=[(-12, 12), (12, 12)],
                 dy=-3 if pose == "giggle2" else 0, sway=0.05 if pose == "giggle2" else -0.05)
    return v


def draw_limb(ctx, start, end, width):
    mid = ((start[0] + end[0]) / 2 + (end[1] - start[1]) * 0.12, (start[1] + end[1]) / 2)
    limb(ctx, LIMB, EDGE, [start, mid, end], width)


def draw_hand(ctx, x, y):
    blob(ctx, lighter(LIMB, 0.12), EDGE, x, y, 6, 6, shade=False)


def draw_foot(ctx, x, y):
    blob(ctx, lighter(LIMB, 0.08), EDGE, x - 2, y, 9, 5.5, shade=False)


def draw_face(ctx, v):
    look = v["look"]
    for side in (-1, 1):
        x, y = side * 12, -8
        if v["eyes"] == "happy":
            arc_line(ctx, DARK, x, y + 4, 6.5, math.pi * 1.15, math.pi * 1.85, 3.2)
        elif v["eyes"] == "closed":
            line(ctx, DARK, [(x - 6, y + 1), (x + 6, y + 1)], 3.2)
        else:
            size = 1.12 if v["eyes"] == "wide" else 1.0
            blob(ctx, WHITE, EDGE, x, y, 9 * size, 10.5 * size, shade=False)
            plain(ctx, DARK, x + look[0], y + 1 + look[1], 4.8, 5.6)
            plain(ctx, WHITE, x + look[0] - 1.8, y - 1.5 + look[1], 1.8, 2.1)
    cheek_alpha = 0.9 if v["blush"] else 0.55
    for side in (-1, 1):
        plain(ctx, BLUSH, side * 22, 6, 6, 3.5, alpha=cheek_alpha)
    mouth = v["mouth"]
    if mouth == "smile":
        arc_line(ctx, DARK, 0, 2, 6, math.pi * 0.2, math.pi * 0.8, 2.6)
    elif mouth == "o":
        blob(ctx, (120, 40, 30), DARK, 0, 10, 3.5, 4.2, shade=False)
    else:  # open, laughing
        ctx.new_path()
        ctx.move_to(-8, 5)
        ctx.curve_to(-6, 17, 6, 17, 8, 5)
        ctx.close_path()
        ctx.set_source_rgba(*rgb((140, 40, 40)))
        ctx.fill_preserve()
        outline(ctx, DARK, 2.2)
        plain(ctx, (240, 110, 110), 0, 12, 3.8, 2)


def draw_hopper(ctx, pose):
    v = pose_values(pose)
    cx, cy = CX + v["dx"], CY + v["dy"]
    if v["shadow"]:
        ground_shadow(ctx, CX, 121, 32)
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(v["sway"] + v["tilt"])
    # Legs and arms behind the body, then the body, then the hands in front.
    for side, (x, y) in zip((-1, 1), v["legs"]):
        draw_limb(ctx, (side * 12, 26), (x, y - 4), 6.5)
    for side, (x, y) in zip((-1, 1), v["arms"]):
        draw_limb(ctx, (side * 26, 4), (x, y), 6)
    ctx.save()
    ctx.scale(v["sx"], v["sy"])
    for side in (-1, 1):  # antennae
        tip = (side * 22 + v["sway"] * 40, -58)
        line(ctx, EDGE, [(side * 10, -30), (side * 18, -50), tip], 7)
        line(ctx, BODY, [(side * 10, -30), (side * 18, -50), tip], 3.6)
        blob(ctx, lighter(BODY, 0.2), EDGE, tip[0], tip[1], 5.5, 5.5)
    blob(ctx, BODY, EDGE, 0, 0, 36, 38)
    ellipse_path(ctx, 0, 14, 22, 20)
    shaded_fill(ctx, BELLY, 0, 14, 22, light=(-0.2, -0.6))
    ctx.new_path()
    plain(ctx, lighter(BODY, 0.65), -14, -22, 9, 5, angle=-0.6, alpha=0.6)
    draw_face(ctx, v)
    ctx.restore()
    for x, y in v["legs"]:
        draw_foot(ctx, x, y)
    for x, y in v["arms"]:
        draw_hand(ctx, x, y)
    ctx.restore()


def draw_poof(ctx, stage):
    """A puff of smoke that swallows Hopper (1), fills the cell (2) and thins away (3)."""
    if stage == 1:
        ctx.save()
        ctx.translate(CX, CY + 16)
        ctx.scale(0.7, 0.7)
        blob(ctx, BODY, EDGE, 0, 0, 36, 38)
        ctx.restore()
    puffs = {1: [(50, 92, 16), (110, 92, 16), (80, 106, 14), (80, 70, 10)],
             2: [(54, 76, 22), (106, 76, 22), (80, 52, 22), (80, 96, 20), (40, 104, 13), (120, 104, 13),
                 (80, 76, 18)],
             3: [(44, 54, 9), (118, 44, 8), (80, 30, 7), (98, 94, 7), (56, 98, 6)]}[stage]
    for x, y, r in puffs:
        ellipse_path(ctx, x, y, r, r)
        shaded_fill(ctx, SMOKE, x, y, r)
        outline(ctx, SMOKE_EDGE, 2)
    for x, y, r in puffs:  # the inner parts cover the outlines where puffs overlap
        plain(ctx, SMOKE, x, y, r - 1.6, r - 1.6)
        plain(ctx, WHITE, x - r * 0.3, y - r * 0.35, r * 0.35, r * 0.25, alpha=0.8)


def draw_sheet():
    sheet = Sheet(CELL_W, CELL_H, len(POSES), COLUMNS)
    for index, pose in enumerate(POSES):
        ctx = sheet.cell(index)
        if pose.startswith("poof"):
            draw_poof(ctx, int(pose[-1]))
        else:
            draw_hopper(ctx, pose)
    return sheet


def note(ctx, x, y, size=1.0):
    """An eighth note with its head at x, y."""
    line(ctx, NOTE, [(x + 4.5 * size, y), (x + 4.5 * size, y - 16 * size), (x + 10 * size, y - 11 * size)],
         2.2 * size)
    ellipse_path(ctx, x, y, 5.2 * size, 4 * size, -0.4)
    ctx.set_source_rgba(*rgb(NOTE))
    ctx.fill()


def draw_notes():
    sheet = Sheet(32, 32, 2)
    note(sheet.cell(0), 8, 26)
    note(sheet.cell(0), 20, 16, 0.8)
    note(sheet.cell(1), 7, 18, 0.8)
    note(sheet.cell(1), 19, 27)
    return sheet


def draw_question():
    sheet = Sheet(28, 28, 1)
    ctx = sheet.cell(0)
    blob(ctx, WHITE, NOTE, 14, 14, 12.5, 12.5, shade=False)
    ctx.new_path()
    ctx.arc(14, 10.5, 5, math.pi * 1.05, math.pi * 2.3)
    ctx.line_to(14, 16.5)
    ctx.set_source_rgba(*rgb(NOTE))
    ctx.set_line_width(3)
    ctx.stroke()
    plain(ctx, NOTE, 14, 21, 1.9, 1.9)
    return sheet


def draw_clock():
    sheet = Sheet(24, 24, 1)
    ctx = sheet.cell(0)
    ellipse_path(ctx, 12, 12, 10.5, 10.5)
    ctx.set_source_rgba(*rgb(WHITE))
    ctx.fill_preserve()
    outline(ctx, DARK, 2.4)
    for hour in range(12):
        angle = hour * math.pi / 6
        line(ctx, DARK, [(12 + 7.5 * math.sin(angle), 12 - 7.5 * math.cos(angle)),
                         (12 + 8.5 * math.sin(angle), 12 - 8.5 * math.cos(angle))], 1.2)
    line(ctx, DARK, [(12, 12), (12, 5.5)], 2)
    line(ctx, DARK, [(12, 12), (16.5, 14)], 2)
    plain(ctx, (220, 60, 40), 12, 12, 1.6, 1.6)
    return sheet


BALLOON_W, BALLOON_H, BUBBLE_H = 160, 76, 64


def draw_balloon():
    return speech_balloon(BALLOON_W, BALLOON_H, BUBBLE_H, 66, (70, BALLOON_H - 1), (255, 250, 240), EDGE)
