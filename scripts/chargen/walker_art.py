"""Walker's pictures: a round blue bird on two orange legs, seen from its left side.

walker.png holds 144 x 112 cells, eight to a row (POSES gives their order): a walk cycle
of six, a front view for turning round, a crouch and a leap for hopping, sitting (its
lunch), worried, a bow, two happy bounces and looking up. The bird stands in the middle
of its cell; the room either side is where its balloon reaches, so a balloon as wide as
the cell stays on the desktop wherever Walker walks. The layers: sweat.png (two 24 x 24
cells of falling drops, drawn when the machine is busy) and riceball.png (24 x 24, its
lunch). balloon.png is its 144 x 64 speech box with a tail; star.png (16 x 16) sparkles
in the corner of its balloon."""
import math

import cairo

from paint import (Sheet, arc_line, blob, darker, ground_shadow, lighter, limb, line, plain, polygon,
                   rgb, speech_balloon)

CELL_W, CELL_H = 144, 112
COLUMNS = 8
POSES = ["walk1", "walk2", "walk3", "walk4", "walk5", "walk6", "turn", "crouch",
         "leap", "sit", "worried", "bow", "happy1", "happy2", "lookup"]
BODY = (72, 148, 220)
BELLY = (214, 236, 252)
WING = (44, 104, 184)
EDGE = (22, 40, 84)
BEAK = (250, 176, 40)
LEG = (236, 140, 40)
DARK = (24, 24, 36)
WHITE = (255, 255, 255)
BLUSH = (245, 130, 150)
DROP = (110, 190, 250)


def cell_xy(pose):
    """Where a pose's cell starts in walker.png."""
    index = POSES.index(pose)
    return (index % COLUMNS) * CELL_W, (index // COLUMNS) * CELL_H


def pose_values(pose):
    """The pose as numbers: body centre offset, squash, tilt, feet, wings, eyes, beak."""
    v = dict(dx=0.0, dy=0.0, sx=1.0, sy=1.0, tilt=0.0, wing=0.35, far_wing=None,
             feet=[(-9, 0, 0), (9, 0, 0)], eyes="open", look=(0, 0), beak_open=0.0, front=False)
    if pose.startswith("walk"):
        phase = (int(pose[-1]) - 1) / 6 * 2 * math.pi
        v["feet"] = [(-9 - 12 * math.sin(phase), max(0.0, math.cos(phase)) * 6, 0),
                     (9 + 12 * math.sin(phase), max(0.0, -math.cos(phase)) * 6, 0)]
        v["dy"] = -2.5 * abs(math.cos(phase))
        v["wing"] = 0.35 + 0.18 * math.sin(phase)
        v["tilt"] = -0.04
    elif pose == "turn":
        v["front"] = True
    elif pose == "crouch":
        v.update(dy=7, sx=1.1, sy=0.86, feet=[(-12, 0, 6), (10, 0, 6)], wing=0.6)
    elif pose == "leap":
        v.update(dy=-6, sx=0.92, sy=1.08, feet=[(2, 10, -8), (16, 8, -8)], wing=-0.9, far_wing=-1.1, tilt=-0.12)
    elif pose == "sit":
        v.update(dy=12, sx=1.06, sy=0.92, feet=[(-26, 14, 0), (-12, 16, 0)], wing=0.9, look=(-1, 1))
    elif pose == "worried":
        v.update(eyes="worried", wing=0.1, dy=1, look=(1, 0))
    elif pose == "bow":
        v.update(tilt=-0.45, dy=4, dx=-4, eyes="closed", wing=0.7)
    elif pose in ("happy1", "happy2"):
        up = pose == "happy1"
        v.update(eyes="happy", beak_open=1.0, wing=-0.7 if up else 0.2, far_wing=-0.9 if up else 0.1,
                 dy=-5 if up else 0, feet=[(-9, 6 if up else 0, 0), (9, 6 if up else 0, 0)])
    elif pose == "lookup":
        v.update(look=(-1, -3.5), tilt=0.16, wing=0.45)
    return v


def draw_foot(ctx, hip, foot_x, lift, bend):
    ground = 104 - lift
    knee = ((hip[0] + foot_x) / 2 + bend, (hip[1] + ground) / 2 - abs(bend) * 0.3)
    limb(ctx, LEG, darker(LEG, 0.55), [hip, knee, (foot_x, ground)], 4.2)
    for toe in (-8, -3, 3):
        line(ctx, darker(LEG, 0.55), [(foot_x, ground), (foot_x + toe, ground + 3)], 5.4)
        line(ctx, LEG, [(foot_x, ground), (foot_x + toe, ground + 3)], 2.6)


def wing_shape(ctx, cx, cy, angle, colour):
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(angle)
    ctx.new_path()
    ctx.move_to(0, -4)
    ctx.curve_to(14, -10, 30, -4, 34, 8)
    ctx.curve_to(22, 12, 8, 12, 0, 8)
    ctx.close_path()
    ctx.restore()
    gradient = cairo.LinearGradient(cx, cy - 10, cx, cy + 14)
    gradient.add_color_stop_rgba(0, *rgb(lighter(colour, 0.25)))
    gradient.add_color_stop_rgba(1, *rgb(darker(colour, 0.2)))
    ctx.set_source(gradient)
    ctx.fill_preserve()
    ctx.set_source_rgba(*rgb(EDGE))
    ctx.set_line_width(2.4)
    ctx.stroke()


def draw_eye(ctx, x, y, mode, look):
    if mode == "happy":
        arc_line(ctx, DARK, x, y + 3, 6, math.pi * 1.15, math.pi * 1.85, 3)
        return
    if mode == "closed":
        arc_line(ctx, DARK, x, y - 1, 6, math.pi * 0.2, math.pi * 0.8, 3)
        return
    blob(ctx, WHITE, EDGE, x, y, 8.5, 10, shade=False)
    plain(ctx, DARK, x - 2.5 + look[0], y + 1 + look[1], 4.6, 5.4)
    plain(ctx, WHITE, x - 4 + look[0], y - 1.5 + look[1], 1.7, 1.9)
    if mode == "worried":
        line(ctx, EDGE, [(x - 9, y - 16), (x + 6, y - 12)], 3)


def draw_side(ctx, v):
    """The bird from its left side, body centred on 0, 0 of the context."""
    if v["far_wing"] is not None:
        wing_shape(ctx, 8, -6, v["far_wing"] - 0.2, darker(WING, 0.2))
    # Tail feathers behind the body.
    polygon(ctx, [(28, 4), (46, -6), (44, 4), (50, 6), (30, 14)], darker(BODY, 0.1), EDGE, 2.4)
    blob(ctx, BODY, EDGE, 0, 0, 36, 34)
    plain(ctx, BELLY, -9, 11, 22, 19)
    plain(ctx, lighter(BODY, 0.6), -14, -18, 9, 5, angle=-0.5, alpha=0.55)
    # The tuft: three curled feathers.
    for angle, length in ((-0.5, 13), (-0.1, 16), (0.35, 12)):
        tip = (-2 + math.sin(angle) * length, -32 - math.cos(angle) * length)
        limb(ctx, BODY, EDGE, [(-2, -30), ((tip[0] - 2), tip[1] + 5), tip], 3.2)
    draw_eye(ctx, -17, -10, v["eyes"], v["look"])
    if v["eyes"] not in ("happy",):
        plain(ctx, BLUSH, -6, 6, 5, 3, alpha=0.75)
    else:
        plain(ctx, BLUSH, -6, 4, 6, 3.4, alpha=0.85)
    # The beak, upper and lower halves; open, the lower one drops.
    gap = 5 * v["beak_open"]
    polygon(ctx, [(-33, -6), (-52, -1), (-33, 3)], BEAK, darker(BEAK, 0.5), 2.2)
    polygon(ctx, [(-33, 2), (-47, 4 + gap), (-32, 8 + gap * 0.4)], darker(BEAK, 0.12), darker(BEAK, 0.5), 2.2)
    wing_shape(ctx, 4, 2, v["wing"], WING)


def draw_front(ctx):
    """The bird facing the viewer, halfway through a turn."""
    for side in (-1, 1):
        wing_shape(ctx, side * 28, 0, math.pi / 2 - side * 1.1 if side > 0 else math.pi / 2 + 1.1, WING)
    blob(ctx, BODY, EDGE, 0, 0, 35, 34)
    plain(ctx, BELLY, 0, 11, 21, 19)
    plain(ctx, lighter(BODY, 0.6), -12, -18, 9, 5, angle=-0.5, alpha=0.55)
    for angle, length in ((-0.45, 13), (0.0, 16), (0.45, 13)):
        tip = (math.sin(angle) * length, -32 - math.cos(angle) * length)
        limb(ctx, BODY, EDGE, [(0, -30), (tip[0], tip[1] + 5), tip], 3.2)
    for side in (-1, 1):
        draw_eye(ctx, side * 12, -10, "open", (2.5 if side < 0 else 2.5, 0))
        plain(ctx, BLUSH, side * 20, 5, 5, 3, alpha=0.75)
    polygon(ctx, [(-7, -1), (0, -5), (7, -1), (0, 9)], BEAK, darker(BEAK, 0.5), 2.2)


def draw_pose(ctx, pose):
    v = pose_values(pose)
    cx, cy = CELL_W / 2 + v["dx"], 60 + v["dy"]
    ground_shadow(ctx, CELL_W / 2, 106, 30)
    if not v["front"]:
        for index, (offset, lift, bend) in enumerate(v["feet"]):
            hip = (cx + (-8 if index == 0 else 6), cy + 26)
            draw_foot(ctx, hip, CELL_W / 2 + offset, lift, bend)
    else:
        for offset in (-10, 10):
            draw_foot(ctx, (cx + offset, cy + 26), cx + offset * 1.2, 0, 0)
    ctx.save()
    ctx.translate(cx, cy)
    ctx.rotate(v["tilt"])
    ctx.scale(v["sx"], v["sy"])
    if v["front"]:
        draw_front(ctx)
    else:
        draw_side(ctx, v)
    ctx.restore()


def draw_sheet():
    sheet = Sheet(CELL_W, CELL_H, len(POSES), COLUMNS)
    for index, pose in enumerate(POSES):
        draw_pose(sheet.cell(index), pose)
    return sheet


def drop(ctx, x, y, size=1.0):
    ctx.new_path()
    ctx.move_to(x, y - 7 * size)
    ctx.curve_to(x + 5 * size, y, x + 5 * size, y + 5 * size, x, y + 5 * size)
    ctx.curve_to(x - 5 * size, y + 5 * size, x - 5 * size, y, x, y - 7 * size)
    ctx.close_path()
    gradient = cairo.LinearGradient(x - 4, y - 6, x + 4, y + 5)
    gradient.add_color_stop_rgba(0, *rgb(lighter(DROP, 0.5)))
    gradient.add_color_stop_rgba(1, *rgb(DROP))
    ctx.set_source(gradient)
    ctx.fill_preserve()
    ctx.set_source_rgba(*rgb(darker(DROP, 0.45)))
    ctx.set_line_width(1.6)
    ctx.stroke()
    plain(ctx, WHITE, x - 1.5 * size, y + 0.5 * size, 1.2 * size, 1.8 * size, alpha=0.9)


def draw_sweat():
    sheet = Sheet(24, 24, 2)
    drop(sheet.cell(0), 7, 8)
    drop(sheet.cell(0), 17, 15, 0.8)
    drop(sheet.cell(1), 7, 15)
    drop(sheet.cell(1), 17, 8, 0.8)
    return sheet


def draw_riceball():
    sheet = Sheet(24, 24, 1)
    ctx = sheet.cell(0)
    ctx.new_path()
    ctx.move_to(12, 2)
    ctx.curve_to(16, 2, 23, 15, 22, 19)
    ctx.curve_to(21, 23, 3, 23, 2, 19)
    ctx.curve_to(1, 15, 8, 2, 12, 2)
    ctx.close_path()
    ctx.set_source_rgba(*rgb((252, 252, 248)))
    ctx.fill_preserve()
    ctx.set_source_rgba(*rgb((120, 120, 130)))
    ctx.set_line_width(1.6)
    ctx.stroke()
    ctx.rectangle(6.5, 14, 11, 9)
    ctx.set_source_rgba(*rgb((30, 48, 36)))
    ctx.fill()
    return sheet


def draw_star():
    sheet = Sheet(16, 16, 1)
    ctx = sheet.cell(0)
    points = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        radius = 7.2 if i % 2 == 0 else 3.1
        points.append((8 + radius * math.cos(angle), 8.4 + radius * math.sin(angle)))
    polygon(ctx, points, (250, 204, 40), (196, 130, 20), 1.4)
    return sheet


BALLOON_W, BALLOON_H, BUBBLE_H = 144, 64, 54


def draw_balloon():
    return speech_balloon(BALLOON_W, BALLOON_H, BUBBLE_H, 60, (58, BALLOON_H - 1), (238, 246, 255), EDGE)
