"""The idle picture shown in an empty canvas: on black, a round grey button
with a blue play triangle at the left and the name "Zephlo" in light blue
letters at the right.

draw(): 160 x 60 pixels, 256 colours. Edges are smoothed by sampling every
pixel 4 x 4 times; shades are rounded as finely as one 256-colour palette
allows.
"""
import math

WIDTH, HEIGHT = 160, 60
SAMPLES = 4
BLACK = (0, 0, 0)

BUTTON_CENTRE = (30.0, 30.0)
BUTTON_RADIUS = 23.0
RIM_WIDTH = 2.2

# The letters: strokes of a round pen, in pixels. The baseline, the height of
# the capital and of the small letters and the depth of the descender.
BASELINE = 39.0
CAP = 22.0
X_HEIGHT = 15.0
DESCENT = 7.0
PEN = 3.4
TEXT_TOP = (150, 215, 255)
TEXT_BOTTOM = (80, 160, 245)


def arc(cx, cy, rx, ry, start, end, steps=48):
    """Points of an elliptic arc, angles in degrees, y downwards."""
    points = []
    for i in range(steps + 1):
        a = math.radians(start + (end - start) * i / steps)
        points.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return points


def letter_strokes(x):
    """The polylines of "Zephlo" with its left edge at x."""
    top, small = BASELINE - CAP, BASELINE - X_HEIGHT
    bowl = X_HEIGHT / 2
    mid = BASELINE - bowl
    strokes = []
    # Z
    w = 13.0
    strokes.append([(x, top), (x + w, top), (x, BASELINE), (x + w, BASELINE)])
    x += w + 5
    # e: a bar across the middle and a bowl open at the lower right
    strokes.append([(x, mid), (x + 2 * bowl - 1, mid)])
    strokes.append(arc(x + bowl - 0.5, mid, bowl - 0.5, bowl, 0, -320))
    x += 2 * bowl + 3.5
    # p: a stem reaching below the line and a round bowl
    strokes.append([(x, small), (x, BASELINE + DESCENT)])
    strokes.append(arc(x + bowl - 1, mid, bowl, bowl, 0, 360))
    x += 2 * bowl + 3.5
    # h: a tall stem and an arch
    strokes.append([(x, top), (x, BASELINE)])
    strokes.append([(x, mid)] + arc(x + bowl - 1, mid, bowl - 1, bowl - 1.5, 180, 360)
                   + [(x + 2 * bowl - 2, BASELINE)])
    x += 2 * bowl + 3.5
    # l
    strokes.append([(x, top), (x, BASELINE)])
    x += 5.5
    # o
    strokes.append(arc(x + bowl, mid, bowl, bowl, 0, 360))
    return strokes


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def make_text_test():
    """A test for "inside a letter"; segments are looked up by pixel column."""
    segments = []
    for line in letter_strokes(62.0):
        segments.extend(zip(line, line[1:]))
    columns = {}
    for a, b in segments:
        first = int(math.floor(min(a[0], b[0]) - PEN))
        last = int(math.ceil(max(a[0], b[0]) + PEN))
        for column in range(first, last + 1):
            columns.setdefault(column, []).append((a, b))

    def inside(px, py):
        return any(segment_distance(px, py, a[0], a[1], b[0], b[1]) <= PEN / 2
                   for a, b in columns.get(int(px), ()))
    return inside


def inside_triangle(px, py):
    cx, cy = BUTTON_CENTRE
    left, right = cx - 7.0, cx + 11.0
    if px < left or px > right:
        return False
    half = 12.0 * (right - px) / (right - left)
    return cy - half <= py <= cy + half


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded(rows, levels):
    """Every colour rounded to a grid of levels + 1 steps per channel."""
    return [[tuple(int(round(c / 255 * levels) * 255 / levels) for c in pixel)
             for pixel in row] for row in rows]


def fit_palette(rows):
    """The finest rounding whose colours fit one 256-colour palette."""
    for levels in (255, 128, 96, 64, 48, 32, 24, 16, 8):
        result = rounded(rows, levels)
        if len({pixel for row in result for pixel in row}) <= 256:
            return result
    return rounded(rows, 4)


def button_colour(px, py):
    """Grey, lit from the upper left; a darker rim; the triangle in blue."""
    cx, cy = BUTTON_CENTRE
    distance = math.hypot(px - cx, py - cy)
    if distance > BUTTON_RADIUS:
        return None
    light = math.hypot(px - (cx - 9), py - (cy - 9)) / (BUTTON_RADIUS * 1.9)
    light = max(0.0, min(1.0, 1.0 - light))
    if distance > BUTTON_RADIUS - RIM_WIDTH:
        return mix((70, 70, 70), (150, 150, 150), light)
    if inside_triangle(px, py):
        return mix((20, 70, 200), (90, 160, 255), light)
    return mix((110, 110, 110), (228, 228, 228), light)


def draw():
    in_text = make_text_test()
    rows = []
    for y in range(HEIGHT):
        row = []
        for x in range(WIDTH):
            total = [0.0, 0.0, 0.0]
            for j in range(SAMPLES):
                for i in range(SAMPLES):
                    px, py = x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES
                    colour = button_colour(px, py) if px < 60 else None
                    if colour is None and px >= 60 and in_text(px, py):
                        shade = (py - (BASELINE - CAP)) / (CAP + DESCENT)
                        colour = mix(TEXT_TOP, TEXT_BOTTOM, max(0.0, min(1.0, shade)))
                    for k in range(3):
                        total[k] += (colour or BLACK)[k]
            count = SAMPLES * SAMPLES
            row.append(tuple(t / count for t in total))
        rows.append(row)
    return WIDTH, HEIGHT, 8, fit_palette(rows)
