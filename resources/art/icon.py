"""The program icon: a round blue button with a white play triangle.

draw(size, depth): size 16, 32 or 48 pixels; depth 4 (16 colours, flat
shading) or 8 (256 colours, a soft gradient). Magenta is transparent.
"""
import math

TRANSPARENT = (255, 0, 255)
RIM = (16, 40, 96)
WHITE = (255, 255, 255)


def button_colour(distance, depth):
    """Lighter towards the upper left, as if lit from there."""
    light = max(0.0, min(1.0, 1.0 - distance))
    if depth == 4:
        return (0, 0, 255) if light > 0.45 else (0, 0, 128)
    return (int(40 + 100 * light), int(90 + 120 * light), int(170 + 85 * light))


def inside_triangle(x, y, size):
    left, right = size * 0.38, size * 0.74
    top, bottom, middle = size * 0.28, size * 0.72, size * 0.5
    if x < left or x > right:
        return False
    half = (bottom - top) / 2 * (right - x) / (right - left)
    return middle - half <= y <= middle + half


def draw(size, depth):
    centre = (size - 1) / 2
    radius = size / 2 - 0.5
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            distance = math.hypot(x - centre, y - centre)
            if distance > radius:
                row.append(TRANSPARENT)
            elif distance > radius - max(1.0, size / 24):
                row.append(RIM if depth == 8 else (0, 0, 0))
            elif inside_triangle(x + 0.5, y + 0.5, size):
                row.append(WHITE)
            else:
                lit = math.hypot(x - size * 0.3, y - size * 0.3) / size
                row.append(button_colour(lit * 1.6, depth))
        rows.append(row)
    return size, size, depth, rows
