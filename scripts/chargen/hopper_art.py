"""Hopper's pictures: an orange round climber with a pale belly and two antennae.

hopper.png holds 48 x 48 cells in a row: walk1, walk2, climb, dangle, sit, wave,
lookup, dance1, dance2, giggle, poof1, poof2, poof3. The layers: notes.png (two 16 x 16
cells of music notes, drawn over the dance), question.png (16 x 16, over the menu
pose). The balloon: balloon.png, 176 x 60 with a tail pointing down to the character,
and clock.png, a 16 x 16 clock face drawn in the balloon that tells the time."""
import math

from raster import Sheet, ellipse, limb, polygon, ring, shifted

CELL = 48
POSES = ["walk1", "walk2", "climb", "dangle", "sit", "wave",
         "lookup", "dance1", "dance2", "giggle", "poof1", "poof2", "poof3"]
BODY = (236, 128, 48)
BELLY = (252, 210, 150)
DARK = (60, 36, 20)
WHITE = (255, 255, 255)
BLUSH = (240, 110, 120)
SMOKE = (230, 230, 236)
SMOKE_EDGE = (170, 170, 184)


def cell_shapes(pose):
    """The shapes of one cell, back to front, as (inside, colour) pairs."""
    if pose.startswith("poof"):
        return poof_shapes(int(pose[-1]))
    legs = {
        "walk1": [limb(19, 36, 15, 46, 5), limb(29, 36, 33, 46, 5)],
        "walk2": [limb(19, 36, 22, 46, 5), limb(29, 36, 26, 46, 5)],
        "climb": [limb(18, 36, 14, 44, 5), limb(30, 36, 34, 40, 5)],
        "dangle": [limb(20, 36, 19, 46, 5), limb(28, 36, 29, 46, 5)],
        "sit": [limb(17, 40, 9, 44, 5), limb(31, 40, 39, 44, 5)],
        "wave": [limb(19, 36, 17, 46, 5), limb(29, 36, 31, 46, 5)],
        "lookup": [limb(19, 36, 18, 46, 5), limb(29, 36, 30, 46, 5)],
        "dance1": [limb(19, 36, 12, 44, 5), limb(29, 36, 31, 46, 5)],
        "dance2": [limb(19, 36, 17, 46, 5), limb(29, 36, 36, 44, 5)],
        "giggle": [limb(19, 36, 17, 46, 5), limb(29, 36, 31, 46, 5)],
    }[pose]
    arms = {
        "walk1": [limb(12, 26, 8, 34, 4), limb(36, 26, 40, 32, 4)],
        "walk2": [limb(12, 26, 10, 35, 4), limb(36, 26, 38, 35, 4)],
        "climb": [limb(12, 24, 9, 12, 4), limb(36, 24, 39, 10, 4)],
        "dangle": [limb(14, 20, 10, 4, 4), limb(34, 20, 38, 4, 4)],
        "sit": [limb(12, 28, 7, 34, 4), limb(36, 28, 41, 34, 4)],
        "wave": [limb(12, 26, 8, 34, 4), limb(36, 24, 44, 10, 4)],
        "lookup": [limb(12, 26, 9, 33, 4), limb(36, 26, 39, 33, 4)],
        "dance1": [limb(12, 24, 4, 14, 4), limb(36, 26, 41, 34, 4)],
        "dance2": [limb(12, 26, 7, 34, 4), limb(36, 24, 44, 14, 4)],
        "giggle": [limb(12, 28, 17, 32, 4), limb(36, 28, 31, 32, 4)],
    }[pose]
    body_top = 12 if pose != "sit" else 16
    sway = {"dance1": -2, "dance2": 2}.get(pose, 0)
    shapes = [(s, DARK) for s in legs + arms]
    shapes += [
        (ellipse(24 + sway, body_top + 13, 13, 14), BODY),
        (ellipse(24 + sway, body_top + 17, 8, 8), BELLY),
        (limb(10 + sway, body_top + 1, 14 + sway, body_top - 7, 3), BODY),
        (limb(38 + sway, body_top + 1, 34 + sway, body_top - 7, 3), BODY),
    ]
    shapes += eyes(pose, 24 + sway, body_top)
    if pose == "wave":
        shapes.append((ellipse(24, body_top + 12, 3, 2), DARK))
    if pose in ("giggle", "dance1", "dance2"):
        shapes.append((ellipse(24 + sway, body_top + 12.5, 3.5, 2.2), DARK))
        shapes.append((ellipse(24 + sway, body_top + 11.5, 3.5, 1.4), BODY))
    if pose == "giggle":
        shapes += [(ellipse(14, body_top + 11, 2.5, 1.5), BLUSH), (ellipse(34, body_top + 11, 2.5, 1.5), BLUSH)]
    return shapes


def eyes(pose, cx, body_top):
    if pose == "giggle":  # happy, closed eyes: two little arches
        return [(shifted(arch, cx - 5, body_top + 8), DARK), (shifted(arch, cx + 5, body_top + 8), DARK)]
    look_y = -1.2 if pose == "lookup" else 0.5
    return [
        (ellipse(cx - 5, body_top + 7, 3.2, 3.6), WHITE),
        (ellipse(cx + 5, body_top + 7, 3.2, 3.6), WHITE),
        (ellipse(cx - 6, body_top + 7 + look_y, 1.6, 2.0), DARK),
        (ellipse(cx + 4, body_top + 7 + look_y, 1.6, 2.0), DARK),
    ]


def arch(x, y):
    """An upward arch 6 wide, centred on 0, 0."""
    return abs(math.hypot(x, y + 1.5) - 2.6) <= 0.7 and y <= 0.3


def poof_shapes(stage):
    """A puff of smoke that swallows Hopper (1), fills the cell (2) and thins away (3)."""
    shapes = []
    if stage == 1:
        shapes += [(ellipse(24, 32, 9, 10), BODY), (ellipse(24, 35, 5, 5), BELLY)]
    puffs = {1: [(14, 34, 7), (34, 34, 7), (24, 40, 6)],
             2: [(16, 30, 9), (32, 30, 9), (24, 22, 9), (24, 38, 8), (12, 40, 5), (36, 40, 5)],
             3: [(12, 22, 4), (36, 18, 3.5), (24, 12, 3), (30, 36, 3), (16, 38, 2.5)]}[stage]
    for x, y, r in puffs:
        shapes.append((ellipse(x, y, r + 1, r + 1), SMOKE_EDGE))
    for x, y, r in puffs:
        shapes.append((ellipse(x, y, r, r), SMOKE))
    return shapes


def draw_sheet():
    sheet = Sheet(CELL * len(POSES), CELL)
    for index, pose in enumerate(POSES):
        sheet.draw(index * CELL, 0, CELL, CELL, cell_shapes(pose))
    return sheet


NOTE = (70, 40, 160)


def note(x, y):
    """An eighth note with its head at x, y."""
    return [(ellipse(x, y, 2.6, 2.0), NOTE), (limb(x + 2.2, y, x + 2.2, y - 8, 1.3), NOTE),
            (limb(x + 2.2, y - 8, x + 5, y - 5.5, 1.3), NOTE)]


def draw_notes():
    sheet = Sheet(32, 16)
    sheet.draw(0, 0, 16, 16, note(5, 12) + note(11, 7))
    sheet.draw(16, 0, 16, 16, note(4, 9) + note(11, 13))
    return sheet


def draw_question():
    sheet = Sheet(16, 16)
    hook = lambda x, y: abs(math.hypot(x - 8, y - 5.5) - 3.5) <= 1.1 and not (x < 8 and y > 5.5)
    sheet.draw(0, 0, 16, 16, [(ellipse(8, 8, 7.5, 7.5), WHITE), (ring(8, 8, 7, 1), NOTE), (hook, NOTE),
                              (limb(8, 9, 8, 10.5, 2), NOTE), (ellipse(8, 13, 1.2, 1.2), NOTE)])
    return sheet


def draw_clock():
    sheet = Sheet(16, 16)
    sheet.draw(0, 0, 16, 16, [(ellipse(8, 8, 7.5, 7.5), DARK), (ellipse(8, 8, 6, 6), WHITE),
                              (limb(8, 8, 8, 3.5, 1.4), DARK), (limb(8, 8, 11, 9.5, 1.4), DARK)])
    return sheet


BALLOON_W, BALLOON_H, BUBBLE_H, RADIUS, BORDER = 176, 60, 48, 10, 2


def in_bubble(x, y, inset):
    """Inside the rounded box plus its tail, shrunk by `inset` pixels."""
    left, top, right, bottom = inset, inset, BALLOON_W - inset, BUBBLE_H - inset
    r = RADIUS - inset
    if left <= x <= right and top <= y <= bottom:
        cx = min(max(x, left + r), right - r)
        cy = min(max(y, top + r), bottom - r)
        if math.hypot(x - cx, y - cy) <= r:
            return True
    # The tail: a triangle from inside the box down to a point below its left part; the
    # inset one starts above the box's border, so the border opens into the tail.
    ax, ay = (30, 38) if inset == 0 else (33.5, 38)
    bx, by = (56, 38) if inset == 0 else (51, 38)
    tx, ty = (22, BALLOON_H - 0.5) if inset == 0 else (25.5, BALLOON_H - 4.5)
    return polygon([(ax, ay), (bx, by), (tx, ty)])(x, y)


def draw_balloon():
    sheet = Sheet(BALLOON_W, BALLOON_H)
    sheet.draw(0, 0, BALLOON_W, BALLOON_H, [(lambda x, y: in_bubble(x, y, 0), DARK),
                                            (lambda x, y: in_bubble(x, y, BORDER), WHITE)])
    return sheet
