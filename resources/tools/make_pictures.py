#!/usr/bin/env python3
"""Builds the program's pictures (BMP strips, icons) from readable sources.

Text art (*.art): a header, a palette and one or more images drawn with one
character per pixel. Images of a strip are laid side by side, left to right.

    size 16 15            width and height of every image
    depth 4               bits per pixel of the BMP written (4 or 8)
    colour . FF00FF       a character and the RGB it stands for
    image play            starts an image; the next <height> lines are its rows

Python drawings (*.py) define draw(*numbers) -> (width, height, depth, rows
of RGB tuples); the numbers follow the path, separated by ':' (icon.py:48:8).
A drawing with more colours than its depth holds is reduced by median cut;
the mask colour magenta is kept exact.

Usage: make_pictures.py OUTPUT_FILE SOURCE [SOURCE ...]
The output kind is taken from its extension: .bmp (one source) or .ico (one
source per image of the icon group).
"""
import importlib.util
import struct
import sys


def fail(message):
    sys.stderr.write(f"make_pictures: {message}\n")
    sys.exit(1)


def read_art(path):
    width = height = None
    depth = 4
    palette = {}
    images = []
    current = None
    with open(path, encoding="utf-8") as source:
        lines = source.read().splitlines()
    for number, line in enumerate(lines, 1):
        if current is not None and len(current) < height:
            if len(line) != width:
                fail(f"{path}:{number}: row of {len(line)} pixels, expected {width}")
            row = []
            for ch in line:
                if ch not in palette:
                    fail(f"{path}:{number}: '{ch}' is not in the palette")
                row.append(palette[ch])
            current.append(row)
            continue
        words = line.split()
        if not words or words[0].startswith("#"):
            continue
        if words[0] == "size":
            width, height = int(words[1]), int(words[2])
        elif words[0] == "depth":
            depth = int(words[1])
        elif words[0] == "colour":
            value = int(words[2], 16)
            palette[words[1]] = ((value >> 16) & 255, (value >> 8) & 255, value & 255)
        elif words[0] == "image":
            current = []
            images.append(current)
        else:
            fail(f"{path}:{number}: unknown line '{line}'")
    if not images or any(len(image) != height for image in images):
        fail(f"{path}: incomplete image")
    rows = []
    for y in range(height):
        row = []
        for image in images:
            row.extend(image[y])
        rows.append(row)
    return width * len(images), height, depth, rows


def run_drawing(path, arguments):
    module_spec = importlib.util.spec_from_file_location("drawing", path)
    module = importlib.util.module_from_spec(module_spec)
    module_spec.loader.exec_module(module)
    return module.draw(*(int(a) for a in arguments))


MASK = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)


def median_cut(histogram, count):
    """Splits the colours (a colour -> pixel count map) into at most `count`
    boxes, each time halving the most populous box that can be split along
    its widest channel at the pixels' median; returns {colour: box mean}."""
    boxes = [list(histogram)]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(b) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: sum(histogram[c] for c in b))
        boxes.remove(box)
        channel = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box.sort(key=lambda c: c[channel])
        half = sum(histogram[c] for c in box) / 2
        seen = 0
        for cut, colour in enumerate(box[:-1], 1):
            seen += histogram[colour]
            if seen >= half:
                break
        boxes += [box[:cut], box[cut:]]
    mapping = {}
    for box in boxes:
        weight = sum(histogram[c] for c in box)
        mean = tuple(round(sum(c[k] * histogram[c] for c in box) / weight) for k in range(3))
        if mean == MASK:
            mean = (254, 0, 254)
        for colour in box:
            mapping[colour] = mean
    return mapping


def reduce_colours(rows, depth):
    """Black, white and the mask colour stay; the other colours share the
    rest of the palette."""
    histogram = {}
    for row in rows:
        for pixel in row:
            if pixel not in (MASK, BLACK, WHITE):
                histogram[pixel] = histogram.get(pixel, 0) + 1
    room = (1 << depth) - 2 - (1 if any(MASK in row for row in rows) else 0)
    if len(histogram) <= room:
        return rows
    mapping = median_cut(histogram, room)
    return [[mapping.get(pixel, pixel) for pixel in row] for row in rows]


def load(source):
    """A source is a path, for drawings followed by ':'-separated numbers."""
    path, *arguments = source.split(":")
    if path.endswith(".art"):
        return read_art(path)
    if path.endswith(".py"):
        width, height, depth, rows = run_drawing(path, arguments)
        return width, height, depth, reduce_colours(rows, depth)
    fail(f"{path}: unknown source kind")


def make_palette(rows, depth):
    """Black first and white last, as in the system palette: an image list
    cuts a strip's background out by raster operations on palette indices
    (the pixels AND NOT the index of black), which keep the colours only
    with black at index 0 and white at the last index."""
    size = 1 << depth
    colours = []
    for row in rows:
        for pixel in row:
            if pixel not in colours and pixel not in (BLACK, WHITE):
                colours.append(pixel)
    if len(colours) > size - 2:
        fail(f"{len(colours)} colours besides black and white do not fit {depth} bits per pixel")
    return [BLACK] + colours + [BLACK] * (size - 2 - len(colours)) + [WHITE]


def pack_rows(rows, depth, colours):
    """Bottom-up rows of palette indices, each padded to 4 bytes."""
    index = {}
    for i, colour in enumerate(colours):
        index.setdefault(colour, i)
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if depth == 8:
            line.extend(index[p] for p in row)
        else:
            for x in range(0, len(row), 2):
                high = index[row[x]]
                low = index[row[x + 1]] if x + 1 < len(row) else 0
                line.append(high << 4 | low)
        while len(line) % 4:
            line.append(0)
        data.extend(line)
    return bytes(data)


def dib(width, height, depth, rows, mask=None):
    colours = make_palette(rows, depth)
    pixels = pack_rows(rows, depth, colours)
    header_height = height * 2 if mask is not None else height
    header = struct.pack("<IiiHHIIiiII", 40, width, header_height, 1, depth, 0,
                         len(pixels), 0, 0, len(colours), 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in colours)
    if mask is None:
        return header + palette + pixels
    mask_bytes = bytearray()
    for row in reversed(mask):
        line = bytearray()
        for x in range(0, width, 8):
            byte = 0
            for bit in range(8):
                if x + bit < width and row[x + bit]:
                    byte |= 0x80 >> bit
            line.append(byte)
        while len(line) % 4:
            line.append(0)
        mask_bytes.extend(line)
    return header + palette + pixels + bytes(mask_bytes)


def write_bmp(output, source):
    width, height, depth, rows = load(source)
    body = dib(width, height, depth, rows)
    offset = 14 + 40 + 4 * (1 << depth)
    with open(output, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, offset))
        out.write(body)


def write_ico(output, sources):
    """Every source is an image; the transparent colour is magenta."""
    entries = []
    for source in sources:
        width, height, depth, rows = load(source)
        mask = [[1 if p == MASK else 0 for p in row] for row in rows]
        rows = [[BLACK if p == MASK else p for p in row] for row in rows]
        entries.append((width, height, depth, dib(width, height, depth, rows, mask)))
    offset = 6 + 16 * len(entries)
    with open(output, "wb") as out:
        out.write(struct.pack("<HHH", 0, 1, len(entries)))
        for width, height, depth, body in entries:
            colours = 0 if depth >= 8 else 1 << depth
            out.write(struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1,
                                  depth, len(body), offset))
            offset += len(body)
        for entry in entries:
            out.write(entry[3])


def main():
    if len(sys.argv) < 3:
        fail("usage: make_pictures.py OUTPUT SOURCE [SOURCE ...]")
    output, sources = sys.argv[1], sys.argv[2:]
    if output.endswith(".bmp"):
        write_bmp(output, sources[0])
    elif output.endswith(".ico"):
        write_ico(output, sources)
    else:
        fail(f"{output}: unknown output kind")


if __name__ == "__main__":
    main()
