"""Writes 8-bit RGB and RGBA PNG files with Python's standard library only."""

import struct
import zlib


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, channels, pixels):
    """Writes rows of channel values (0..255) given as one flat sequence,
    row after row; channels is 3 (RGB) or 4 (RGBA)."""
    colour_type = {3: 2, 4: 6}[channels]
    stride = width * channels
    data = bytes(max(0, min(255, int(value))) for value in pixels)
    if len(data) != stride * height:
        raise ValueError("%s: expected %d values, got %d" % (path, stride * height, len(data)))
    # Filter type 0 on every row: the files stay small enough.
    raw = b"".join(b"\x00" + data[row * stride:(row + 1) * stride] for row in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(_chunk(b"IHDR", header))
        file.write(_chunk(b"IDAT", zlib.compress(raw, 9)))
        file.write(_chunk(b"IEND", b""))
