#!/usr/bin/env python3
"""Turns a pixel source of ui/resources/art/ into a 16-colour BMP or ICO file
(an icon in its own size and in the sizes of denser displays).

    pixelart.py SOURCE.txt OUTPUT.bmp|OUTPUT.ico

A source is text: lines starting with '#' are comments; then the legend,
one line per colour, "CHAR RRGGBB" (or "CHAR none" for see-through pixels of
an icon); then a line "pixels" and the picture, one character per pixel, top
row first. At most 16 colours. A glyph bitmap is drawn with the colour of its
lower-left pixel as see-through, so that pixel's character marks the
background of every image in it.
"""
import struct
import sys


def read_source(path):
    legend, rows, in_pixels = {}, [], False
    with open(path, encoding="ascii") as source:
        for number, raw in enumerate(source, 1):
            line = raw.rstrip("\r\n")
            if in_pixels:
                if line:
                    rows.append(line)
                continue
            if not line.strip() or line.startswith("#"):
                continue
            if line.strip() == "pixels":
                in_pixels = True
                continue
            char, _, colour = line.partition(" ")
            colour = colour.strip()
            if len(char) != 1 or not (colour == "none" or (len(colour) == 6 and int(colour, 16) >= 0)):
                raise SystemExit(f"{path}:{number}: a legend line is 'CHAR RRGGBB' or 'CHAR none'")
            legend[char] = None if colour == "none" else int(colour, 16)
    if not rows:
        raise SystemExit(f"{path}: no pixels")
    width = len(rows[0])
    for y, row in enumerate(rows):
        if len(row) != width:
            raise SystemExit(f"{path}: row {y} is {len(row)} pixels wide, the first {width}")
        for char in row:
            if char not in legend:
                raise SystemExit(f"{path}: row {y} uses '{char}', which the legend lacks")
    return legend, rows


def palette_of(legend, need_black):
    colours = sorted({c for c in legend.values() if c is not None})
    if need_black and 0 not in colours:
        colours.insert(0, 0)
    if len(colours) > 16:
        raise SystemExit(f"{len(colours)} colours; 16 at most")
    return colours + [0] * (16 - len(colours))


def nibble_rows(legend, rows, palette):
    """4-bit pixel rows, bottom row first, each padded to 4 bytes."""
    index = {char: palette.index(colour if colour is not None else 0) for char, colour in legend.items()}
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for x in range(0, len(row), 2):
            high = index[row[x]]
            low = index[row[x + 1]] if x + 1 < len(row) else 0
            line.append(high << 4 | low)
        out += line + bytes(-len(line) % 4)
    return bytes(out)


def mask_rows(legend, rows):
    """1-bit see-through mask, bottom row first, each padded to 4 bytes."""
    out = bytearray()
    for row in reversed(rows):
        line = bytearray((len(row) + 7) // 8)
        for x, char in enumerate(row):
            if legend[char] is None:
                line[x // 8] |= 0x80 >> (x % 8)
        out += line + bytes(-len(line) % 4)
    return bytes(out)


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", c & 0xFF, c >> 8 & 0xFF, c >> 16, 0) for c in palette)


def bitmap(legend, rows):
    if None in legend.values():
        raise SystemExit("a bitmap has no see-through colour: its lower-left pixel's colour is")
    palette = palette_of(legend, need_black=False)
    pixels = nibble_rows(legend, rows, palette)
    body = info_header(len(rows[0]), len(rows), len(pixels)) + palette_bytes(palette) + pixels
    offset = 14 + 40 + 64
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, offset) + body


# The icon's sizes besides its own: those of the program's icon at 125, 150
# and 200 % display density, each picture scaled from the source by repeating
# pixels (the nearest source pixel), so that no system has to stretch it.
ICON_SIZES = (40, 48, 64)


def nearest(rows, size):
    """The picture `size` pixels square, each pixel the nearest source pixel."""
    height, width = len(rows), len(rows[0])
    return ["".join(rows[y * height // size][x * width // size] for x in range(size)) for y in range(size)]


def icon_image(legend, rows, palette):
    width, height = len(rows[0]), len(rows)
    pixels = nibble_rows(legend, rows, palette)
    mask = mask_rows(legend, rows)
    return width, height, info_header(width, height * 2, len(pixels) + len(mask)) + palette_bytes(palette) + pixels + mask


def icon(legend, rows):
    palette = palette_of(legend, need_black=True)
    pictures = [rows] + [nearest(rows, size) for size in ICON_SIZES if size != len(rows)]
    images = [icon_image(legend, picture, palette) for picture in pictures]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for width, height, image in images:
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(image), offset + len(bodies))
        bodies += image
    return directory + entries + bodies


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    source, output = sys.argv[1], sys.argv[2]
    legend, rows = read_source(source)
    data = icon(legend, rows) if output.lower().endswith(".ico") else bitmap(legend, rows)
    with open(output, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
