"""Walker's pictures: a small blue round bird on two legs.

walker.png holds 32 x 32 cells in a row: walk1, walk2, jump, sit, worried, bow, happy,
lookup. The layers: sweat.png (two 12 x 12 cells of falling drops, drawn when the
machine is busy) and riceball.png (12 x 12, its lunch). balloon.png is its 160 x 48
speech box with a tail; star.png (12 x 12) sparkles in the corner of its balloon."""
import math

from raster import Sheet, ellipse, limb, polygon, rounded_rect

CELL = 32
POSES = ["walk1", "walk2", "jump", "sit", "worried", "bow", "happy", "lookup"]
BODY = (72, 148, 220)
BELLY = (200, 228, 250)
DEEP = (38, 88, 160)
BEAK = (250, 180, 40)
DARK = (24, 24, 32)
WHITE = (255, 255, 255)
BLUSH = (245, 130, 150)
DROP = (110, 190, 250)


def cell_shapes(pose):
    lean = {"bow": 3, "jump": 0}.get(pose, 0)
    cy = {"sit": 16, "jump": 12, "bow": 15}.get(pose, 13)
    legs = {
        "walk1": [limb(12, 24, 10, 30, 3), limb(20, 24, 22, 30, 3)],
        "walk2": [limb(13, 24, 15, 30, 3), limb(19, 24, 17, 30, 3)],
        "jump": [limb(12, 23, 9, 26, 3), limb(20, 23, 23, 26, 3)],
        "sit": [limb(11, 27, 6, 30, 3), limb(21, 27, 26, 30, 3)],
        "worried": [limb(13, 24, 12, 30, 3), limb(19, 24, 20, 30, 3)],
        "bow": [limb(13, 25, 12, 30, 3), limb(19, 25, 20, 30, 3)],
        "happy": [limb(13, 24, 11, 30, 3), limb(19, 24, 21, 30, 3)],
        "lookup": [limb(13, 24, 12, 30, 3), limb(19, 24, 20, 30, 3)],
    }[pose]
    shapes = [(s, DEEP) for s in legs]
    wing_up = pose in ("jump", "happy")
    shapes += [
        (ellipse(16 - lean, cy, 11, 11), BODY),
        (ellipse(16 - lean, cy + 4, 6.5, 6), BELLY),
        (limb(6 - lean, cy + 1, 3 - lean, cy - 5 if wing_up else cy + 5, 3), DEEP),
        (limb(26 - lean, cy + 1, 29 - lean, cy - 5 if wing_up else cy + 5, 3), DEEP),
        (limb(15 - lean, cy - 11, 18 - lean, cy - 14, 2), DEEP),  # a tuft
    ]
    beak_y = cy - 1 + (2 if pose == "bow" else 0)
    shapes.append((polygon([(10 - lean, beak_y), (4 - lean, beak_y + 1.5), (10 - lean, beak_y + 3)]), BEAK))
    eye_y = cy - 4 - (1.5 if pose == "lookup" else 0)
    if pose == "happy":
        shapes.append((lambda x, y: abs(math.hypot(x - 13, y - eye_y - 1.5) - 2.2) <= 0.6 and y <= eye_y + 0.8, DARK))
        shapes.append((ellipse(20, cy + 1, 2.2, 1.3), BLUSH))
    elif pose == "bow":
        shapes.append((limb(11 - lean, eye_y + 1, 15 - lean, eye_y + 1, 1.2), DARK))
    else:
        shapes += [(ellipse(13 - lean, eye_y, 2.6, 2.8), WHITE), (ellipse(12.4 - lean, eye_y + 0.3, 1.3, 1.6), DARK)]
    if pose == "worried":
        shapes.append((limb(10, eye_y - 4, 15, eye_y - 3, 1.2), DARK))
    return shapes


def draw_sheet():
    sheet = Sheet(CELL * len(POSES), CELL)
    for index, pose in enumerate(POSES):
        sheet.draw(index * CELL, 0, CELL, CELL, cell_shapes(pose))
    return sheet


def drop(x, y):
    return [(ellipse(x, y + 1.5, 2, 2.2), DROP), (polygon([(x - 1.9, y + 1.2), (x, y - 2.5), (x + 1.9, y + 1.2)]), DROP)]


def draw_sweat():
    sheet = Sheet(24, 12)
    sheet.draw(0, 0, 12, 12, drop(4, 4) + drop(9, 7))
    sheet.draw(12, 0, 12, 12, drop(4, 7) + drop(9, 4))
    return sheet


def draw_riceball():
    sheet = Sheet(12, 12)
    sheet.draw(0, 0, 12, 12, [(polygon([(6, 1), (11.5, 10.5), (0.5, 10.5)]), (250, 250, 250)),
                              (rounded_rect(3, 7, 9, 11.5, 1), DARK)])
    return sheet


def draw_star():
    sheet = Sheet(12, 12)
    points = []
    for i in range(10):
        angle = -math.pi / 2 + i * math.pi / 5
        radius = 5.5 if i % 2 == 0 else 2.4
        points.append((6 + radius * math.cos(angle), 6 + radius * math.sin(angle)))
    sheet.draw(0, 0, 12, 12, [(polygon(points), (250, 200, 40))])
    return sheet


BALLOON_W, BALLOON_H = 160, 48


def draw_balloon():
    sheet = Sheet(BALLOON_W, BALLOON_H)
    box = rounded_rect(0, 0, BALLOON_W, 40, 8)
    inner = rounded_rect(2, 2, BALLOON_W - 2, 38, 6)
    tail = polygon([(72, 36), (88, 36), (80, BALLOON_H - 0.5)])
    inner_tail = polygon([(74.5, 36), (85.5, 36), (80, BALLOON_H - 3.5)])
    sheet.draw(0, 0, BALLOON_W, BALLOON_H, [(box, DEEP), (tail, DEEP), (inner, (246, 250, 255)),
                                            (inner_tail, (246, 250, 255))])
    return sheet
