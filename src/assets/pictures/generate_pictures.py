#!/usr/bin/python3
"""Draws the six pictures the saver embeds and writes them next to this script.

Run with Debian's /usr/bin/python3 (python3-pil, python3-qrcode, fonts-ebgaramond,
fonts-inter). The output is deterministic: running it again gives the same bytes.
An optional argument names another output folder (the picture check uses it).
"""

import io
import math
import struct
import sys
import zlib
from dataclasses import dataclass
from pathlib import Path

import qrcode
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

# Brand palette.
INK = (10, 13, 19)
GOLD = (201, 167, 94)
LIGHT_GOLD = (228, 201, 135)
WARM_WHITE = (244, 236, 220)
GREY = (152, 156, 164)
PANEL = (247, 243, 235)
PANEL_STRIPE = (242, 237, 227)
PANEL_INK = (22, 27, 36)
PANEL_MUTED = (98, 102, 112)
DEEP_GOLD = (150, 112, 44)  # gold that still reads on the light help card
TILE = (255, 255, 255)
TILE_EDGE = (226, 216, 194)
QR_INK = (14, 18, 26)

# Facets of the tooth mark: (light, deep) ends of each facet's gradient.
TEAL = ((92, 214, 196), (22, 128, 132))
BLUE = ((112, 164, 242), (38, 78, 176))
FACET_GOLD = ((240, 212, 140), (176, 134, 56))
ROSE = ((240, 160, 164), (176, 82, 106))

SERIF_DIR = Path("/usr/share/fonts/opentype/ebgaramond")
SANS_DIR = Path("/usr/share/fonts/opentype/inter")

SUPPORT_URL = "https://www.orvane.example/support"
SUPPORT_PHONE = "+1 800 555 0199"
SUPPORT_EMAIL = "support@orvane.example"
WEB_ADDRESS = "WWW.ORVANE.EXAMPLE"

GROUND_GROWTH = 4  # pixels of element colour kept around every element
SUPERSAMPLE = 4  # shapes are drawn this much larger, then box-filtered down
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


# ---------------------------------------------------------------- fonts


def serif(size, italic=False):
    name = "EBGaramond12-Italic.otf" if italic else "EBGaramond12-Regular.otf"
    return ImageFont.truetype(str(SERIF_DIR / name), size, layout_engine=ImageFont.Layout.RAQM)


def sans(weight, size):
    return ImageFont.truetype(str(SANS_DIR / f"Inter-{weight}.otf"), size,
                              layout_engine=ImageFont.Layout.RAQM)


# ---------------------------------------------------------------- boards
#
# A board is the picture being drawn, in straight (unpremultiplied) alpha, plus a
# colour ground: the colour that pixels which stay fully transparent will carry.
# Each painted element also paints a slightly grown copy of itself into the ground,
# so a straight-alpha filter that samples next to an edge finds the element's own
# colour instead of a dark fringe.


@dataclass
class Board:
    pixels: Image.Image
    ground: Image.Image


def new_board(size, ground_colour):
    return Board(Image.new("RGBA", size, ground_colour + (0,)), Image.new("RGB", size, ground_colour))


def paint(board, coverage, fill):
    """Composites fill (a colour or an RGB picture) through an L coverage mask."""
    if isinstance(fill, tuple):
        layer = Image.new("RGBA", board.pixels.size, fill + (0,))
    else:
        layer = fill.convert("RGBA")
    layer.putalpha(coverage)
    board.pixels.alpha_composite(layer)
    box = coverage.getbbox()
    if box is None:
        return
    margin = GROUND_GROWTH
    box = (max(box[0] - margin, 0), max(box[1] - margin, 0),
           min(box[2] + margin, coverage.width), min(box[3] + margin, coverage.height))
    grown = coverage.crop(box).filter(ImageFilter.MaxFilter(2 * margin + 1)).point(lambda v: 255 if v else 0)
    source = Image.new("RGB", grown.size, fill) if isinstance(fill, tuple) else fill.convert("RGB").crop(box)
    board.ground.paste(source, box[:2], grown)


def finish(board):
    """The final RGBA picture: transparent pixels take the ground's colour."""
    transparent = board.pixels.getchannel("A").point(lambda v: 255 if v == 0 else 0)
    result = board.pixels.copy()
    ground = board.ground.convert("RGBA")
    ground.putalpha(0)
    result.paste(ground, (0, 0), transparent)
    return result


def blank_mask(size):
    return Image.new("L", size, 0)


def shrink(mask):
    """Box-filters a supersampled mask down to the picture's own pixels."""
    return mask.reduce(SUPERSAMPLE)


# ---------------------------------------------------------------- text


def tracked_width(text, font, tracking):
    """Width of text set with extra space after every character but the last."""
    if tracking == 0:
        return font.getlength(text)
    return sum(font.getlength(ch) for ch in text) + tracking * (len(text) - 1)


def text_mask(size, x, baseline, text, font, tracking=0.0):
    """Coverage of one run of text, left end at x, on the given baseline."""
    mask = blank_mask(size)
    draw = ImageDraw.Draw(mask)
    if tracking == 0:
        draw.text((x, baseline), text, font=font, fill=255, anchor="ls")
        return mask
    for ch in text:
        draw.text((round(x), baseline), ch, font=font, fill=255, anchor="ls")
        x += font.getlength(ch) + tracking
    return mask


def draw_runs(board, x, baseline, runs, font, tracking=0.0):
    """Draws (text, colour) runs one after the other on one line; returns the end x."""
    for index, (text, colour) in enumerate(runs):
        paint(board, text_mask(board.pixels.size, x, baseline, text, font, tracking), colour)
        x += tracked_width(text, font, tracking)
        if index + 1 < len(runs):
            x += tracking
    return x


def runs_width(runs, font, tracking=0.0):
    return sum(tracked_width(t, font, tracking) for t, _ in runs) + tracking * (len(runs) - 1)


# ---------------------------------------------------------------- shapes


def rect_mask(size, box):
    """Anti-aliased coverage of an axis-aligned rectangle with fractional edges."""
    mask = blank_mask((size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE))
    ImageDraw.Draw(mask).rectangle([round(v * SUPERSAMPLE) for v in box[:2]] +
                                   [round(v * SUPERSAMPLE) - 1 for v in box[2:]], fill=255)
    return shrink(mask)


def rounded_rect_mask(size, box, radius):
    mask = blank_mask((size[0] * SUPERSAMPLE, size[1] * SUPERSAMPLE))
    ImageDraw.Draw(mask).rounded_rectangle(
        [round(v * SUPERSAMPLE) for v in box[:2]] + [round(v * SUPERSAMPLE) - 1 for v in box[2:]],
        radius=round(radius * SUPERSAMPLE), fill=255)
    return shrink(mask)


def linear_fill(size, start_colour, end_colour, start, end):
    """RGB picture with a linear gradient from start (point) to end (point)."""
    width, height = size
    dx, dy = end[0] - start[0], end[1] - start[1]
    length2 = dx * dx + dy * dy
    ramp = []
    for y in range(height):
        for x in range(width):
            t = ((x + 0.5 - start[0]) * dx + (y + 0.5 - start[1]) * dy) / length2
            ramp.append(round(255 * min(max(t, 0.0), 1.0)))
    mask = Image.new("L", size)
    mask.putdata(ramp)
    return Image.composite(Image.new("RGB", size, end_colour), Image.new("RGB", size, start_colour), mask)


def bezier_path(start, segments, steps=40):
    """Polyline through cubic Bezier segments given as (control1, control2, end)."""
    points = [start]
    for c1, c2, end in segments:
        p0 = points[-1]
        for i in range(1, steps + 1):
            t = i / steps
            u = 1 - t
            points.append((u * u * u * p0[0] + 3 * u * u * t * c1[0] + 3 * u * t * t * c2[0] + t * t * t * end[0],
                           u * u * u * p0[1] + 3 * u * u * t * c1[1] + 3 * u * t * t * c2[1] + t * t * t * end[1]))
    return points


# ---------------------------------------------------------------- the mark
#
# A molar in four facets (teal and gold crown, blue and rose roots) inside a
# tilted light-gold orbit, the scanner's path around the tooth. Geometry is in
# unit coordinates of a square box. The orbit's far half passes behind the tooth;
# its near half runs through a channel cut across the tooth, which also parts the
# crown from the roots.

TOOTH_START = (0.50, 0.15)
TOOTH_RIGHT_HALF = [
    ((0.54, 0.09), (0.61, 0.05), (0.68, 0.05)),        # right cusp
    ((0.78, 0.05), (0.82, 0.12), (0.82, 0.23)),        # right crown side
    ((0.82, 0.33), (0.774, 0.405), (0.76, 0.47)),       # neck
    ((0.732, 0.60), (0.72, 0.80), (0.665, 0.915)),     # root, outer side
    ((0.64, 0.965), (0.59, 0.96), (0.585, 0.90)),      # root tip
    ((0.575, 0.80), (0.56, 0.63), (0.50, 0.62)),       # root, inner side up to the fork
]


def tooth_outline():
    """Closed outline: the right half as drawn, then its mirror image back up the left."""
    right = TOOTH_RIGHT_HALF
    mirror = lambda p: (1.0 - p[0], p[1])
    left = []
    ends = [TOOTH_START] + [segment[2] for segment in right]
    for index in range(len(right) - 1, -1, -1):
        c1, c2, _ = right[index]
        left.append((mirror(c2), mirror(c1), mirror(ends[index])))
    return bezier_path(TOOTH_START, right + left)


# The tooth splits down the middle along a slightly slanted cut.
# Each facet: side, part, gradient colours, gradient ends.
MIDDLE_CUT = ((0.485, -0.5), (0.515, 1.5))
FACETS = [
    ("left", "crown", TEAL, (0.22, 0.08), (0.50, 0.55)),
    ("right", "crown", FACET_GOLD, (0.66, 0.04), (0.62, 0.56)),
    ("left", "root", BLUE, (0.30, 0.52), (0.38, 0.95)),
    ("right", "root", ROSE, (0.70, 0.50), (0.62, 0.95)),
]
FACET_GAP = 0.016
RING_CENTRE = (0.50, 0.41)
RING_RADII = (0.47, 0.15)
RING_TILT = -0.26  # radians
RING_WIDTH = 0.024
RING_COLOURS = (LIGHT_GOLD, GOLD)


def ellipse_points(scale, radius_x, radius_y, steps=720):
    """The tilted ring ellipse with the given radii, in pixels of a scale-sized box."""
    cos_t, sin_t = math.cos(RING_TILT), math.sin(RING_TILT)
    points = []
    for i in range(steps):
        a = 2 * math.pi * i / steps
        ex, ey = radius_x * math.cos(a), radius_y * math.sin(a)
        points.append((scale * (RING_CENTRE[0] + ex * cos_t - ey * sin_t),
                       scale * (RING_CENTRE[1] + ex * sin_t + ey * cos_t)))
    return points


def ring_band(scale, width):
    """Coverage of the ring as a band of the given width (unit coordinates)."""
    band = blank_mask((scale, scale))
    draw = ImageDraw.Draw(band)
    draw.polygon(ellipse_points(scale, RING_RADII[0] + width / 2, RING_RADII[1] + width / 2), fill=255)
    draw.polygon(ellipse_points(scale, RING_RADII[0] - width / 2, RING_RADII[1] - width / 2), fill=0)
    return band


def front_half(scale):
    """The side of the ring's long axis that faces the viewer (below it on screen)."""
    cos_t, sin_t = math.cos(RING_TILT), math.sin(RING_TILT)
    cx, cy, far = RING_CENTRE[0] * scale, RING_CENTRE[1] * scale, 2 * scale
    half = blank_mask((scale, scale))
    ImageDraw.Draw(half).polygon(
        [(cx - far * cos_t, cy - far * sin_t), (cx + far * cos_t, cy + far * sin_t),
         (cx + far * cos_t - far * sin_t, cy + far * sin_t + far * cos_t),
         (cx - far * cos_t - far * sin_t, cy - far * sin_t + far * cos_t)], fill=255)
    return half


def mark_layers(box):
    """Coverage masks and fills of the mark in a box of box x box pixels, back to front."""
    big = box * SUPERSAMPLE
    to_pixels = lambda points: [(x * big, y * big) for x, y in points]

    outline = to_pixels(tooth_outline())
    tooth = blank_mask((big, big))
    ImageDraw.Draw(tooth).polygon(outline, fill=255)
    front = front_half(big)
    # The ring is drawn first, in one piece. Behind the tooth it disappears, with
    # a little air around the tooth; in front it shows through a channel cut in the tooth.
    tooth_halo = tooth.copy()
    ImageDraw.Draw(tooth_halo).line(outline + outline[:1], fill=255, width=2 * round(RING_WIDTH * big), joint="curve")
    ring = ImageChops.subtract(ring_band(big, RING_WIDTH), ImageChops.subtract(tooth_halo, front))
    tooth = ImageChops.subtract(tooth, ImageChops.multiply(ring_band(big, RING_WIDTH * 3), front))

    inside_ring = blank_mask((big, big))
    ImageDraw.Draw(inside_ring).polygon(ellipse_points(big, *RING_RADII), fill=255)
    roots = ImageChops.subtract(front, inside_ring)
    parts = {"root": roots, "crown": ImageChops.invert(roots)}
    (top_x, top_y), (bottom_x, bottom_y) = MIDDLE_CUT
    sides = {}
    for side, far_x in (("left", -1.0), ("right", 2.0)):
        region = blank_mask((big, big))
        draw = ImageDraw.Draw(region)
        draw.polygon(to_pixels([(top_x, top_y), (far_x, top_y), (far_x, bottom_y), (bottom_x, bottom_y)]), fill=255)
        draw.line(to_pixels(MIDDLE_CUT), fill=0, width=round(FACET_GAP * big))
        sides[side] = region

    ring_fill = linear_fill((box, box), RING_COLOURS[0], RING_COLOURS[1], (0.1 * box, 0.3 * box), (0.9 * box, 0.8 * box))
    layers = [(shrink(ring), ring_fill)]
    for side, part, colours, start, end in FACETS:
        facet = ImageChops.multiply(ImageChops.multiply(tooth, sides[side]), parts[part])
        fill = linear_fill((box, box), colours[0], colours[1], (start[0] * box, start[1] * box), (end[0] * box, end[1] * box))
        layers.append((shrink(facet), fill))
    return layers


def draw_mark(board, left, top, box):
    size = board.pixels.size
    for coverage, fill in mark_layers(box):
        full_mask = blank_mask(size)
        full_mask.paste(coverage, (left, top))
        full_fill = Image.new("RGB", size, fill.getpixel((box // 2, box // 2)))
        full_fill.paste(fill, (left, top))
        paint(board, full_mask, full_fill)


def draw_lockup(board, left, top, mark_box, word_font, gap):
    """The mark with the wordmark "Orvane" to its right, centred on the mark."""
    draw_mark(board, left, top, mark_box)
    x_height = -word_font.getbbox("x", anchor="ls")[1]
    baseline = round(top + mark_box * 0.52 + x_height / 2)
    draw_runs(board, left + mark_box + gap, baseline, [("Orvane", WARM_WHITE)], word_font)


def lockup_width(mark_box, word_font, gap):
    return mark_box + gap + word_font.getlength("Orvane")


# ---------------------------------------------------------------- pictures


def make_background():
    """Blue-black field, charcoal towards the middle, darkest in the corners.

    A 4x4 ordered dither breaks the banding of the slow gradient; unlike random
    noise it repeats, so the PNG stays small.
    """
    width, height = 1920, 1080
    centre_x, centre_y = 0.5 * width, 0.44 * height
    radius_x, radius_y = 0.62 * width, 0.80 * height
    middle, field, corner = (38, 42, 50), (14, 18, 26), (4, 6, 10)

    def shade(r2):
        r = math.sqrt(r2)
        inner = min(r / 0.78, 1.0)
        inner = inner * inner * (3 - 2 * inner)
        outer = min(max((r - 0.55) / 0.80, 0.0), 1.0)
        outer = outer * outer * (3 - 2 * outer)
        return [middle[i] + (field[i] - middle[i]) * inner + (corner[i] - field[i]) * outer for i in range(3)]

    steps = 8192
    max_r2 = (centre_x / radius_x) ** 2 + ((height - centre_y) / radius_y) ** 2 + 0.01
    table = [shade(i * max_r2 / (steps - 1)) for i in range(steps)]
    to_index = (steps - 1) / max_r2
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    column_r2 = [((x + 0.5 - centre_x) / radius_x) ** 2 for x in range(width)]
    data = bytearray(width * height * 3)
    at = 0
    for y in range(height):
        row_r2 = ((y + 0.5 - centre_y) / radius_y) ** 2
        thresholds = [(v + 0.5) / 16 for v in bayer[y & 3]]
        for x in range(width):
            colour = table[int((column_r2[x] + row_r2) * to_index)]
            d = thresholds[x & 3]
            data[at] = int(colour[0] + d)
            data[at + 1] = int(colour[1] + d)
            data[at + 2] = int(colour[2] + d)
            at += 3
    return Image.frombytes("RGB", (width, height), bytes(data))


def make_combined_card():
    size = (1800, 786)
    board = new_board(size, WARM_WHITE)
    word_font = serif(204)
    mark_box, gap = 330, 40
    left = round((size[0] - lockup_width(mark_box, word_font, gap)) / 2)
    draw_lockup(board, left, 40, mark_box, word_font, gap)

    paint(board, rect_mask(size, (size[0] / 2 - 72, 436, size[0] / 2 + 72, 440)), GOLD)

    caps = sans("Medium", 34)
    tracking = 0.30 * 34
    runs = [("DENTAL IMAGING", GOLD), (" · CONE-BEAM CT", WARM_WHITE)]
    draw_runs(board, round((size[0] - runs_width(runs, caps, tracking)) / 2), 524, runs, caps, tracking)

    line_font = serif(100)
    runs = [("Precision you can see, ", WARM_WHITE), ("care you can feel.", LIGHT_GOLD)]
    draw_runs(board, round((size[0] - runs_width(runs, line_font)) / 2), 706, runs, line_font)
    return finish(board)


def make_tagline():
    size = (1440, 272)
    board = new_board(size, WARM_WHITE)
    paint(board, rect_mask(size, (2, 4, 98, 8)), GOLD)
    caps = sans("Medium", 27)
    tracking = 0.28 * 27
    draw_runs(board, 2, 58, [("CONE-BEAM CT", GOLD), (" · SERVICE & SUPPORT", WARM_WHITE)], caps, tracking)
    line_font = serif(82)
    draw_runs(board, 0, 156, [("Every detail, in three dimensions.", WARM_WHITE)], line_font)
    draw_runs(board, 0, 244, [("And people who answer when you call.", LIGHT_GOLD)], line_font)
    return finish(board)


def make_logo():
    size = (660, 252)
    board = new_board(size, WARM_WHITE)
    mark_box, gap = 240, 22
    word_size = 200
    while lockup_width(mark_box, serif(word_size), gap) > size[0] - 6:
        word_size -= 1
    draw_lockup(board, 0, 6, mark_box, serif(word_size), gap)
    return finish(board)


def make_wordmark():
    size = (234, 36)
    board = new_board(size, GREY)
    font = sans("SemiBold", 15)
    # Widely spaced: the width the letters leave free goes into the gaps between them.
    letters = sum(font.getlength(ch) for ch in WEB_ADDRESS)
    tracking = (size[0] - 2 - letters) / (len(WEB_ADDRESS) - 1)
    cap_height = -font.getbbox("H", anchor="ls")[1]
    draw_runs(board, 1, round((size[1] + cap_height) / 2), [(WEB_ADDRESS, GREY)], font, tracking)
    return finish(board)


def qr_matrix():
    code = qrcode.QRCode(error_correction=qrcode.constants.ERROR_CORRECT_M, box_size=1, border=0)
    code.add_data(SUPPORT_URL)
    code.make(fit=True)
    return code.get_matrix()


def stripes_mask(size, period, width):
    """Soft-edged diagonal stripes rising to the right."""
    row = []
    for y in range(size[1]):
        for x in range(size[0]):
            phase = (x + y) % period
            edge = min(phase, width - phase) if phase < width else 0
            row.append(min(255, round(edge * 255 / 1.5)))
    mask = Image.new("L", size)
    mask.putdata(row)
    return mask


def make_help_card():
    size = (1082, 496)
    board = new_board(size, PANEL)
    panel = rounded_rect_mask(size, (0, 0, size[0], size[1]), 30)
    paint(board, panel, PANEL)
    paint(board, ImageChops.multiply(panel, stripes_mask(size, 34, 14)), PANEL_STRIPE)
    inner = rounded_rect_mask(size, (3, 3, size[0] - 3, size[1] - 3), 27)
    paint(board, ImageChops.subtract(panel, inner), GOLD)

    # QR code on a white tile, modules of 8 pixels with a four-module quiet zone.
    matrix = qr_matrix()
    module = 8
    tile_left, tile_top = 52, 50
    tile_size = (len(matrix) + 8) * module
    tile_box = (tile_left, tile_top, tile_left + tile_size, tile_top + tile_size)
    paint(board, rounded_rect_mask(size, tile_box, 18), TILE_EDGE)
    paint(board, rounded_rect_mask(size, (tile_box[0] + 2, tile_box[1] + 2, tile_box[2] - 2, tile_box[3] - 2), 16), TILE)
    modules = blank_mask(size)
    draw = ImageDraw.Draw(modules)
    for row, cells in enumerate(matrix):
        for column, dark in enumerate(cells):
            if dark:
                x = tile_left + (column + 4) * module
                y = tile_top + (row + 4) * module
                draw.rectangle([x, y, x + module - 1, y + module - 1], fill=255)
    paint(board, modules, QR_INK)

    centre_x = tile_left + tile_size / 2
    caption = sans("SemiBold", 25)
    width = runs_width([("Scan for support", PANEL_INK)], caption)
    draw_runs(board, round(centre_x - width / 2), tile_box[3] + 48, [("Scan for support", PANEL_INK)], caption)
    link = sans("Regular", 22)
    width = runs_width([("orvane.example/support", DEEP_GOLD)], link)
    draw_runs(board, round(centre_x - width / 2), tile_box[3] + 84, [("orvane.example/support", DEEP_GOLD)], link)

    # The contact column.
    left = tile_box[2] + 74
    label = sans("SemiBold", 22)
    draw_runs(board, left, 84, [("ORVANE SUPPORT", DEEP_GOLD)], label, 0.24 * 22)
    draw_runs(board, left - 2, 152, [("Need help?", PANEL_INK)], serif(66))
    draw_runs(board, left - 3, 244, [(SUPPORT_PHONE, DEEP_GOLD)], sans("Medium", 66))
    draw_runs(board, left, 300, [(SUPPORT_EMAIL, PANEL_INK)], sans("Regular", 32))
    paint(board, rect_mask(size, (left, 336, left + 64, 339)), GOLD)
    notes = sans("Regular", 25)
    draw_runs(board, left, 386, [("Mon–Fri, 8 am – 6 pm", PANEL_MUTED)], notes)
    draw_runs(board, left, 424, [("Remote help for your imaging software", PANEL_MUTED)], notes)
    return finish(board)


# ---------------------------------------------------------------- PNG output


def png_chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png_bytes(image):
    """PNG with only IHDR, one IDAT and IEND: Pillow filters and compresses
    (level 9), then every other chunk is dropped and the IDATs are joined."""
    encoded = io.BytesIO()
    image.save(encoded, "PNG", optimize=True)
    data = encoded.getvalue()
    header, parts, at = None, [], len(PNG_SIGNATURE)
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            header = body
        elif kind == b"IDAT":
            parts.append(body)
    return PNG_SIGNATURE + png_chunk(b"IHDR", header) + png_chunk(b"IDAT", b"".join(parts)) + png_chunk(b"IEND", b"")


PICTURES = [
    ("background.png", make_background),
    ("combined-card.png", make_combined_card),
    ("help-card.png", make_help_card),
    ("wordmark.png", make_wordmark),
    ("logo.png", make_logo),
    ("tagline.png", make_tagline),
]


def main(arguments):
    folder = Path(arguments[1]) if len(arguments) > 1 else Path(__file__).resolve().parent
    folder.mkdir(parents=True, exist_ok=True)
    for name, make in PICTURES:
        (folder / name).write_bytes(png_bytes(make()))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
