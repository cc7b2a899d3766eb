#!/usr/bin/env python3
"""Draws Marlin's icon and writes res/marlin.ico.

A leaping marlin, white, over a deep-blue tile with a faint network of
nodes and links. Two images, 16x16 and 32x32, each 8 bits per pixel with a
256-entry palette and an AND mask (BMP-style entries, not PNG).

The 32x32 image is drawn from shapes in unit coordinates (0..1, y downwards)
with supersampling; the 16x16 one is drawn pixel by pixel (SMALL below). Both
share one palette, reduced to 255 colours by median cut if need be (entry 0
stays black, for the transparent pixels), and the file is packed by hand.
Standard library only:

    python3 tools/draw-icon.py [output.ico]
"""
import math
import os
import struct
import sys

# ---- Geometry --------------------------------------------------------------


def inside_polygon(x, y, points):
    """Even-odd rule."""
    result = False
    n = len(points)
    j = n - 1
    for i in range(n):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def segment_distance(x, y, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def rounded_square(x, y, margin, radius):
    lo, hi = margin, 1.0 - margin
    cx = min(max(x, lo + radius), hi - radius)
    cy = min(max(y, lo + radius), hi - radius)
    return math.hypot(x - cx, y - cy) <= radius and lo <= x <= hi and lo <= y <= hi


def bezier(p0, p1, p2, steps=12):
    """Points of a quadratic Bezier curve, p0 excluded."""
    out = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        out.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return out


def rotate(points, angle, centre):
    c, s = math.cos(angle), math.sin(angle)
    cx, cy = centre
    return [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c) for px, py in points]


# ---- The picture -----------------------------------------------------------

TRANSPARENT = None

SEA_TOP = (38, 132, 214)
SEA_BOTTOM = (8, 44, 112)
LINK = (70, 140, 214)
NODE = (150, 216, 255)
FISH = (246, 250, 255)
FISH_SHADE = (196, 222, 246)
SAIL = (150, 200, 244)
EYE = (10, 40, 90)


def fish_shapes():
    """The marlin as polygons in unit coordinates, nose to the right."""
    cy = 0.58
    x_tail, x_nose = 0.22, 0.76
    top, bottom = [], []
    steps = 24
    for i in range(steps + 1):
        t = i / steps
        x = x_tail + t * (x_nose - x_tail)
        # Thick behind the head, a slim stalk at the tail, pointed at the nose.
        h = 0.11 * math.sin(math.pi * (0.10 + 0.85 * t)) ** 0.9 + 0.015
        top.append((x, cy - h))
        bottom.append((x, cy + h * 0.8))
    body = top + list(reversed(bottom))
    bill = [(x_nose - 0.04, cy - 0.045), (0.98, cy - 0.03), (0.98, cy - 0.01), (x_nose - 0.04, cy + 0.03)]
    # The sail: rising steeply behind the head, its trailing edge a long
    # concave sweep down to the back of the body.
    sail_front = (0.66, cy - 0.09)
    sail_peak = (0.56, cy - 0.42)
    sail_back = (0.30, cy - 0.05)
    sail = [sail_front] + bezier(sail_front, (0.64, cy - 0.30), sail_peak) \
        + bezier(sail_peak, (0.44, cy - 0.16), sail_back)
    # Forked tail: two broad lobes from the stalk.
    base_top, base_bottom = (x_tail + 0.05, cy - 0.035), (x_tail + 0.05, cy + 0.03)
    upper_tip = (x_tail - 0.14, cy - 0.25)
    lower_tip = (x_tail - 0.14, cy + 0.23)
    notch = (x_tail - 0.05, cy)
    tail = [base_top] + bezier(base_top, (x_tail - 0.02, cy - 0.16), upper_tip) \
        + bezier(upper_tip, (x_tail - 0.11, cy - 0.05), notch) \
        + bezier(notch, (x_tail - 0.11, cy + 0.05), lower_tip) \
        + bezier(lower_tip, (x_tail - 0.02, cy + 0.15), base_bottom)
    # Pectoral fin below the body, behind the head.
    fin = [(0.63, cy + 0.06), (0.53, cy + 0.19), (0.56, cy + 0.06)]
    eye = (0.70, cy - 0.025)
    return body, bill, sail, tail, fin, eye


NODES = [(0.14, 0.16), (0.40, 0.12), (0.84, 0.16), (0.90, 0.56), (0.14, 0.86), (0.50, 0.90), (0.86, 0.86)]
LINKS = [(0, 1), (1, 2), (2, 3), (3, 6), (4, 5), (5, 6), (5, 3)]
SMALL_NODES = [0, 2, 4, 6]
SMALL_LINKS = [(0, 2), (4, 6)]


def make_scene(size):
    angle = math.radians(-12)
    centre = (0.55, 0.56)
    body, bill, sail, tail, fin, eye = fish_shapes()
    body, bill, sail, tail, fin = (rotate(p, angle, centre) for p in (body, bill, sail, tail, fin))
    eye = rotate([eye], angle, centre)[0]
    small = size <= 16
    link_width = 0.05 if small else 0.028
    node_radius = 0.06 if small else 0.045
    eye_radius = 0.0 if small else 0.026
    nodes = [NODES[i] for i in (SMALL_NODES if small else range(len(NODES)))]
    links = [(NODES[a], NODES[b]) for a, b in (SMALL_LINKS if small else LINKS)]

    def colour(x, y):
        if not rounded_square(x, y, 0.02, 0.18):
            return TRANSPARENT
        # Fish, front to back.
        if eye_radius and math.hypot(x - eye[0], y - eye[1]) <= eye_radius:
            return EYE
        if inside_polygon(x, y, bill) or inside_polygon(x, y, body) or inside_polygon(x, y, tail):
            return FISH
        if inside_polygon(x, y, fin):
            return FISH_SHADE
        if inside_polygon(x, y, sail):
            return SAIL
        # The network behind it.
        for node in nodes:
            if math.hypot(x - node[0], y - node[1]) <= node_radius:
                return NODE
        for a, b in links:
            if segment_distance(x, y, a, b) <= link_width / 2:
                return LINK
        return sea(y)

    return colour


# At 16x16 a drawing in outline would blur into a smudge, so the small image
# is drawn pixel by pixel in the same colours: ' ' transparent, '.' sea,
# 'o' node, '-' and '/' links, 'W' fish, 'w' fish in shade, 'S' sail, 'e' eye.
SMALL = [
    " .............. ",
    "................",
    "..o---------o...",
    ".............\\..",
    ".........S....o.",
    ".W......SS......",
    ".WW....SSS......",
    "..WW..SSSSW.....",
    "...WWWWWWWeWWWWW",
    "..WWWWWWWWWWW...",
    "..WW.wWWWWWW....",
    ".WW....ww.......",
    ".W.............o",
    "....o--------o/.",
    "................",
    " .............. ",
]
SMALL_COLOURS = {'o': NODE, '-': LINK, '/': LINK, '\\': LINK, 'W': FISH, 'w': FISH_SHADE, 'S': SAIL, 'e': EYE}


def sea(y):
    return tuple(round(SEA_TOP[i] + (SEA_BOTTOM[i] - SEA_TOP[i]) * y) for i in range(3))


def render_small():
    rows = []
    for py, line in enumerate(SMALL):
        assert len(line) == 16, line
        row = []
        for ch in line:
            if ch == ' ':
                row.append(None)
            elif ch == '.':
                row.append(sea((py + 0.5) / 16))
            else:
                row.append(SMALL_COLOURS[ch])
        rows.append(row)
    return rows


def render(size, samples=6):
    """Rows of pixels, each an (r, g, b) or None for transparent."""
    colour = make_scene(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            covered = []
            for sy in range(samples):
                for sx in range(samples):
                    c = colour((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c is not TRANSPARENT:
                        covered.append(c)
            # Opaque when at least half is covered; the colour is that of the
            # covered part only, so edges get no dark halo.
            if len(covered) * 2 < samples * samples:
                row.append(None)
            else:
                row.append(tuple(round(sum(c[i] for c in covered) / len(covered)) for i in range(3)))
        rows.append(row)
    return rows


# ---- Palette ---------------------------------------------------------------


def median_cut(colours, count):
    """At most count representative colours of a list of (r, g, b)."""
    boxes = [list(colours)]
    while len(boxes) < count:
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)))
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes.remove(box)
        boxes += [box[:half], box[half:]]
    return [tuple(round(sum(c[i] for c in b) / len(b)) for i in range(3)) for b in boxes if b]


def palette_for(images):
    distinct = sorted({p for rows in images for row in rows for p in row if p is not None})
    if len(distinct) <= 255:
        chosen = distinct
    else:
        all_pixels = [p for rows in images for row in rows for p in row if p is not None]
        chosen = sorted(set(median_cut(all_pixels, 255)))
    palette = [(0, 0, 0)] + [c for c in chosen if c != (0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    return palette


def nearest(palette, colour, cache):
    if colour not in cache:
        cache[colour] = min(range(1, 256), key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))
    return cache[colour]


# ---- ICO -------------------------------------------------------------------


def ico_image(rows, palette):
    size = len(rows)
    cache = {}
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    xor_stride = (size + 3) // 4 * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(0 if p is None else nearest(palette, p, cache) for p in row)
        xor += line + bytes(xor_stride - size)
        bits = bytearray(and_stride)
        for x, p in enumerate(row):
            if p is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colours + bytes(xor) + bytes(mask)


def ico_file(images):
    palette = palette_for(images)
    data = [ico_image(rows, palette) for rows in images]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, blob in zip(images, data):
        size = len(rows)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 8, len(blob), offset)
        offset += len(blob)
    return out + b''.join(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'res', 'marlin.ico')
    images = [render_small(), render(32)]
    with open(target, 'wb') as f:
        f.write(ico_file(images))


if __name__ == '__main__':
    main()
