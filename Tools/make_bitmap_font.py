#!/usr/bin/env python3
"""Makes a bitmap font from a TrueType font with ImageMagick: a power-of-two
atlas of white glyphs on black (the game uploads it as intensity) and its
definition file, one "character" per printable ASCII character, each with the
glyph's "Area" in the atlas, the question mark as the default.

    make_bitmap_font.py FONT.ttf PIXELS ATLAS_WIDTH OUTPUT_BASE

writes OUTPUT_BASE.png and OUTPUT_BASE.xml."""

import os
import re
import subprocess
import sys
from xml.sax.saxutils import quoteattr

FIRST = 32
LAST = 126
DEFAULT = "?"
# Blank pixels around each glyph, so that linear filtering never picks up a
# neighbour.
PADDING = 1

METRICS = re.compile(r"Metrics: text: (.*?); width: [-\d.]+; height: [-\d.]+; "
                     r"ascent: ([-\d.]+); descent: ([-\d.]+);.*origin: ([-\d.]+),")


def escape(character):
    """The text as ImageMagick's label and annotate read it."""
    return {"%": "%%", "\\": "\\\\", "@": "\\@"}.get(character, character)


def measure(font, pixels, characters):
    """Advance, ascent and descent of each character, in pixels. A label of
    a lone space is refused, so the space is what it adds between two x."""
    texts = [c for c in characters if c != " "] + ["xx", "x x"]
    command = ["convert", "-debug", "annotate", "-font", font, "-pointsize", str(pixels)]
    command += ["label:" + escape(text) for text in texts] + ["null:"]
    log = subprocess.run(command, capture_output=True, text=True, check=True).stderr
    found = {}
    for text, ascent, descent, advance in METRICS.findall(log):
        found.setdefault(text, (float(advance), float(ascent), float(descent)))
    missing = [text for text in texts if text not in found]
    if missing:
        raise RuntimeError("No metrics for %r" % missing)
    advance, ascent, descent = found["x x"]
    found[" "] = (advance - found["xx"][0], ascent, descent)
    return [found[c] for c in characters]


def next_power_of_two(value):
    size = 1
    while size < value:
        size *= 2
    return size


def layout(characters, metrics, atlas_width):
    """Packs the glyph cells row by row; returns the areas (x, y, w, h), the
    baseline within a cell and the atlas height."""
    ascent = max(m[1] for m in metrics)
    descent = min(m[2] for m in metrics)
    height = int(round(ascent - descent))
    areas = []
    x = y = PADDING
    for advance, _, _ in metrics:
        width = max(1, int(round(advance)))
        if x + width + PADDING > atlas_width:
            x = PADDING
            y += height + PADDING
        areas.append((x, y, width, height))
        x += width + PADDING
    return areas, int(round(ascent)), next_power_of_two(y + height + PADDING)


def render(font, pixels, characters, areas, baseline, size, path):
    command = ["convert", "-size", "%dx%d" % size, "xc:black", "-font", font,
               "-pointsize", str(pixels), "-fill", "white"]
    for character, (x, y, _, _) in zip(characters, areas):
        if character != " ":
            command += ["-annotate", "+%d+%d" % (x, y + baseline), escape(character)]
    # Without the date chunks the same font gives the same file.
    command += ["-colorspace", "Gray", "-depth", "8", "-define", "png:exclude-chunks=date,time",
                "PNG24:" + path]
    subprocess.run(command, check=True)


def write_definition(path, atlas, characters, areas):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<!-- Made by Tools/make_bitmap_font.py; make it again rather than edit it. -->',
             '<Font file=%s firstAsciiChar=%s onlyUpperCase="false">'
             % (quoteattr(atlas), quoteattr(chr(FIRST)))]
    for character, (x, y, w, h) in zip(characters, areas):
        default = ' default="true"' if character == DEFAULT else ""
        lines.append('    <character char=%s%s><Area x="%d" y="%d" w="%d" h="%d"/></character>'
                     % (quoteattr(character), default, x, y, w, h))
    lines.append("</Font>")
    with open(path, "w", encoding="utf-8") as file:
        file.write("\n".join(lines) + "\n")


def main(arguments):
    if len(arguments) != 4:
        sys.stderr.write(__doc__)
        return 2
    font, pixels, atlas_width, base = arguments[0], int(arguments[1]), int(arguments[2]), arguments[3]
    characters = [chr(code) for code in range(FIRST, LAST + 1)]
    metrics = measure(font, pixels, characters)
    areas, baseline, atlas_height = layout(characters, metrics, atlas_width)
    render(font, pixels, characters, areas, baseline, (atlas_width, atlas_height), base + ".png")
    write_definition(base + ".xml", os.path.basename(base) + ".png", characters, areas)
    print("Made %s.png (%dx%d) and %s.xml" % (base, atlas_width, atlas_height, base))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
