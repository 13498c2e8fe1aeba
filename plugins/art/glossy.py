"""The Glossy theme's toolbar strips: coloured, shaded 16 x 16 icons on the
magenta mask colour, 256 colours.

draw(set): set 0 the main toolbar (ten images: open, playlist, previous
file, next file, repeat playlist, zoom in, zoom out, full screen, always on
top, options), 1 the play bar (nine: play, pause, stop, previous frame, next
frame, backward, forward, repeat, mute), 2 the playlist toolbar (nine: open
list, save list, clear list, add files, remove from list, move up, move down,
move to top, move to bottom).

Every icon is a stack of shapes given by signed distances (negative inside),
each painted with a vertical gradient and a gloss on its upper half and
edged with a darker line. Every pixel is sampled 4 x 4 times; a pixel less
than half covered is transparent, a partly covered one is blended toward the
grey of a toolbar so that the edges look smooth on it.
"""
import math

SIZE = 16
SAMPLES = 4
MASK = (255, 0, 255)
FACE = (212, 208, 200)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

GREEN = (40, 165, 55)
BLUE = (45, 110, 215)
RED = (215, 40, 35)
AMBER = (225, 160, 30)
YELLOW = (250, 205, 75)
PAPER = (250, 250, 252)
SILVER = (175, 180, 190)
NAVY = (35, 55, 120)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Shapes: functions of a point giving its signed distance to the outline.

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - radius
    return distance


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def stroke(ax, ay, bx, by, width):
    return lambda x, y: segment_distance(x, y, ax, ay, bx, by) - width / 2


def polygon(points):
    def distance(x, y):
        nearest = float("inf")
        inside = False
        for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
            nearest = min(nearest, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / (by - ay) + ax:
                inside = not inside
        return -nearest if inside else nearest
    return distance


def arc(cx, cy, r, width, start, end):
    """A band along a circle from angle start to end (degrees, clockwise on
    the screen, 0 pointing right), with round ends."""
    ends = [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
            for a in (start, end)]

    def distance(x, y):
        angle = math.degrees(math.atan2(y - cy, x - cx))
        if (angle - start) % 360 <= (end - start) % 360:
            return abs(math.hypot(x - cx, y - cy) - r) - width / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - width / 2
    return distance


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def mirrored(points):
    return [(SIZE - x, y) for x, y in points]


def flipped(points):
    return [(x, SIZE - y) for x, y in points]


def arrow_head(cx, cy, r, angle, length, width):
    """A triangle at the point of a circle at `angle`, pointing clockwise."""
    a = math.radians(angle)
    px, py = cx + r * math.cos(a), cy + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    half = width / 2
    return polygon([(px + nx * half, py + ny * half), (px + tx * length, py + ty * length),
                    (px - nx * half, py - ny * half)])


# Paints: a colour for every point of a shape.

def glossy(colour, top, bottom, shine=0.45):
    """Light at the top, the colour in the middle, darker below, with a
    brighter band over the upper half as on a polished surface."""
    light, dark = mix(colour, WHITE, 0.55), mix(colour, BLACK, 0.3)

    def paint(x, y):
        t = max(0.0, min(1.0, (y - top) / max(bottom - top, 1e-6)))
        if t < 0.5:
            return mix(mix(light, colour, t * 2), WHITE, shine * (0.5 - t))
        return mix(colour, dark, (t - 0.5) * 2)
    return paint


def flat(colour):
    return lambda x, y: colour


class Layer:
    def __init__(self, shape, paint, edge=None, edge_width=0.9):
        self.shape, self.paint, self.edge, self.edge_width = shape, paint, edge, edge_width


def shaded(shape, colour, top, bottom, edge_darkness=0.5, shine=0.45):
    return Layer(shape, glossy(colour, top, bottom, shine), mix(colour, BLACK, edge_darkness))


def render(layers):
    """The icon's rows: the topmost layer under each sample gives its colour."""
    rows = []
    count = SAMPLES * SAMPLES
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            total = [0.0, 0.0, 0.0]
            covered = 0
            for j in range(SAMPLES):
                for i in range(SAMPLES):
                    px, py = x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES
                    for layer in reversed(layers):
                        d = layer.shape(px, py)
                        if d < 0:
                            edge = layer.edge is not None and d > -layer.edge_width
                            colour = layer.edge if edge else layer.paint(px, py)
                            covered += 1
                            for k in range(3):
                                total[k] += colour[k]
                            break
            if covered * 2 < count:
                row.append(MASK)
            else:
                for k in range(3):
                    total[k] += FACE[k] * (count - covered)
                row.append(tuple(int(round(t / count)) for t in total))
        rows.append(row)
    return rows


# The pieces the icons share.

def button(colour):
    """A round polished button filling the image."""
    return shaded(circle(8, 8, 7.2), colour, 0.8, 15.2, shine=0.6)


def symbol(shape):
    """A white sign on a button, faintly shaded."""
    return Layer(shape, glossy((235, 238, 242), 3, 13, shine=0.3), None)


def open_folder():
    return [
        shaded(polygon([(1, 3), (6, 3), (7.5, 4.6), (13.5, 4.6), (13.5, 13), (1, 13)]),
               AMBER, 3, 13),
        Layer(box(3, 5.8, 12, 10), flat(PAPER), (150, 150, 160)),
        shaded(polygon([(3.8, 7.6), (15.5, 7.6), (12.8, 14), (0.7, 14)]), YELLOW, 7.6, 14,
               edge_darkness=0.45),
    ]


def sheet(left=3, top=1, right=13, bottom=15, fold=3):
    """A page, with its upper right corner folded over unless fold is 0."""
    page = Layer(polygon([(left, top), (right - fold, top), (right, top + fold), (right, bottom),
                          (left, bottom)]),
                 glossy(PAPER, top, bottom, shine=0.1), (110, 120, 140))
    if fold == 0:
        return [page]
    corner = Layer(polygon([(right - fold, top), (right - fold, top + fold), (right, top + fold)]),
                   flat((205, 210, 220)), (110, 120, 140))
    return [page, corner]


def window(x0, y0, x1, y1, title_colour):
    return [
        Layer(box(x0, y0, x1, y1, 0.8), flat((240, 244, 250)), (60, 70, 90)),
        shaded(box(x0 + 0.6, y0 + 0.6, x1 - 0.6, y0 + 3.6, 0.3), title_colour, y0, y0 + 3.6,
               edge_darkness=0.2),
    ]


def magnifier(sign):
    return [
        shaded(stroke(10.6, 10.6, 14.2, 14.2, 3.2), (95, 70, 45), 10, 15),
        shaded(circle(6.5, 6.5, 5.8), SILVER, 0.7, 12.3, edge_darkness=0.55),
        Layer(circle(6.5, 6.5, 4.3), glossy((185, 220, 250), 2.2, 10.8, shine=0.7), None),
        shaded(sign, NAVY, 5, 8, edge_darkness=0.2, shine=0.2),
    ]


def chasing_arrows(colour):
    c, r, w = 8, 5, 2.2
    return [
        shaded(union(arc(c, c, r, w, 200, 305), arrow_head(c, c, r, 305, 4.2, 6.4)),
               colour, 1, 9),
        shaded(union(arc(c, c, r, w, 20, 125), arrow_head(c, c, r, 125, 4.2, 6.4)),
               colour, 7, 15),
    ]


LEFT_ARROW = [(3.3, 8), (8, 3.6), (8, 6.3), (12.5, 6.3), (12.5, 9.7), (8, 9.7), (8, 12.4)]
UP_ARROW = [(8, 1.2), (14.6, 7.8), (10.6, 7.8), (10.6, 14.6), (5.4, 14.6), (5.4, 7.8),
            (1.4, 7.8)]
SHORT_UP_ARROW = [(8, 5), (13.6, 10), (10.4, 10), (10.4, 14.8), (5.6, 14.8), (5.6, 10), (2.4, 10)]


def four_way(cx, cy, arm, shaft, head, head_length):
    """Four arrows from a centre, as one outline taken clockwise from the top."""
    points = []
    ux, uy = 0.0, -1.0
    for _ in range(4):
        vx, vy = -uy, ux
        base = arm - head_length
        for along, across in ((base, -shaft), (base, -head), (arm, 0), (base, head),
                              (base, shaft), (shaft, shaft)):
            points.append((cx + ux * along + vx * across, cy + uy * along + vy * across))
        ux, uy = vx, vy
    return polygon(points)


def triangle_right(x0, x1, cy, half):
    """Pointing right: the base at x0, the tip at x1."""
    return polygon([(x0, cy - half), (x1, cy), (x0, cy + half)])


def triangle_left(x0, x1, cy, half):
    """Pointing left: the tip at x0, the base at x1."""
    return polygon([(x1, cy - half), (x0, cy), (x1, cy + half)])


def main_toolbar():
    lines = [Layer(box(5, y, x1, y + 1.2), flat(BLUE)) for y, x1 in ((6, 11), (8.5, 11), (11, 9))]
    checks = []
    for y in (4.3, 8, 11.7):
        checks += [Layer(box(4.5, y - 1, 6.9, y + 1.4), flat(WHITE), (90, 100, 120)),
                   Layer(stroke(4.9, y + 0.1, 5.6, y + 0.9, 0.8), flat(GREEN)),
                   Layer(stroke(5.6, y + 0.9, 7.3, y - 1.3, 0.8), flat(GREEN)),
                   Layer(box(8, y - 0.1, 11.5, y + 0.9), flat((120, 130, 150)))]
    plus = union(box(3.7, 5.7, 9.3, 7.3), box(5.7, 3.7, 7.3, 9.3))
    return [
        open_folder(),
        sheet() + lines,
        [button(GREEN), symbol(polygon(LEFT_ARROW))],
        [button(GREEN), symbol(polygon(mirrored(LEFT_ARROW)))],
        chasing_arrows(BLUE),
        magnifier(plus),
        magnifier(box(3.7, 5.7, 9.3, 7.3)),
        window(0.8, 1.5, 15.2, 14.5, BLUE)
        + [shaded(four_way(8, 9.5, 4.4, 0.75, 2.2, 2.2), NAVY, 5, 14, 0.2)],
        window(0.8, 0.8, 11, 10, (150, 155, 165)) + window(5, 6, 15.2, 15.2, BLUE),
        sheet(fold=0) + checks,
    ]


def play_bar():
    speaker = polygon([(1.5, 5.8), (4.5, 5.8), (8.5, 2), (8.5, 14), (4.5, 10.2), (1.5, 10.2)])
    cross = union(stroke(10.2, 6, 14.4, 10.2, 1.7), stroke(10.2, 10.2, 14.4, 6, 1.7))
    return [
        [button(GREEN), symbol(triangle_right(6, 12, 8, 3.8))],
        [button(GREEN), symbol(union(box(4.9, 4.4, 7.2, 11.6, 0.4),
                                     box(8.8, 4.4, 11.1, 11.6, 0.4)))],
        [button(RED), symbol(box(4.8, 4.8, 11.2, 11.2, 0.6))],
        [button(BLUE), symbol(union(box(3.9, 4.5, 5.7, 11.5), triangle_left(6.2, 11.8, 8, 3.5)))],
        [button(BLUE), symbol(union(triangle_right(4.2, 9.8, 8, 3.5), box(10.3, 4.5, 12.1, 11.5)))],
        [button(BLUE), symbol(union(triangle_left(3.4, 8.2, 8, 3.4),
                                    triangle_left(8, 12.8, 8, 3.4)))],
        [button(BLUE), symbol(union(triangle_right(3.4, 8.2, 8, 3.4),
                                    triangle_right(8, 12.8, 8, 3.4)))],
        [shaded(union(arc(7.6, 8.4, 4.8, 2.6, 140, 0), arrow_head(7.6, 8.4, 4.8, 0, 5, 7.4)),
                GREEN, 2, 15)],
        [shaded(speaker, (90, 120, 170), 2, 14), shaded(cross, RED, 5, 11, edge_darkness=0.3)],
    ]


def playlist_toolbar():
    small_folder = [
        shaded(polygon([(0.6, 8), (3.6, 8), (4.6, 9), (8.6, 9), (8.6, 14.6), (0.6, 14.6)]),
               AMBER, 8, 14.6),
        shaded(polygon([(2.4, 10.8), (9.6, 10.8), (8.2, 15.2), (0.4, 15.2)]), YELLOW, 10.8, 15.2,
               edge_darkness=0.45),
    ]
    disk = [
        shaded(box(1.2, 1.2, 14.8, 14.8, 1.2), BLUE, 1.2, 14.8, edge_darkness=0.55),
        Layer(box(3.6, 1.8, 12.4, 7.6, 0.4), glossy(PAPER, 1.8, 7.6, 0.1), (120, 130, 150)),
        Layer(box(4.2, 3.6, 11.8, 4.4), flat((170, 180, 200))),
        shaded(box(4.4, 9.6, 11.6, 14.8), SILVER, 9.6, 14.8),
        Layer(box(8.2, 10.6, 10, 13.8), flat((60, 65, 80))),
    ]
    cross = union(stroke(3.6, 3.6, 12.4, 12.4, 3.4), stroke(3.6, 12.4, 12.4, 3.6, 3.4))
    bar = box(2.2, 0.8, 13.8, 3.6, 0.5)
    return [
        open_folder(),
        disk,
        sheet(),
        sheet(9.4, 0.6, 15.4, 8.8, 2) + small_folder
        + [shaded(polygon([(1, 4.2), (4.6, 4.2), (4.6, 2), (8.6, 5.4), (4.6, 8.8), (4.6, 6.6),
                           (1, 6.6)]), GREEN, 2, 8.8)],
        [shaded(cross, RED, 2, 14, shine=0.5)],
        [shaded(polygon(UP_ARROW), GREEN, 1.2, 14.6)],
        [shaded(polygon(flipped(UP_ARROW)), GREEN, 1.4, 14.8)],
        [shaded(bar, NAVY, 0.8, 3.6, 0.3), shaded(polygon(SHORT_UP_ARROW), GREEN, 5, 14.8)],
        [shaded(polygon(flipped([(x, y + 0.2) for x, y in SHORT_UP_ARROW])), GREEN, 1, 11),
         shaded(box(2.2, 12.4, 13.8, 15.2, 0.5), NAVY, 12.4, 15.2, 0.3)],
    ]


def draw(image_set):
    icons = (main_toolbar, play_bar, playlist_toolbar)[image_set]()
    images = [render(layers) for layers in icons]
    rows = [sum((image[y] for image in images), []) for y in range(SIZE)]
    return SIZE * len(images), SIZE, 8, rows
