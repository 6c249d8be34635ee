#!/usr/bin/env python3
"""Makes the menu's textures under Data/Textures: the space background (a
nebula and a tiling star field) and the nine-slice button and panel; the
hull plating of the ship model under Data/Models; the battle's: the sky's
cube-map strip, the star sprites of the arena plane, the explosion strip, the
exhaust flame, the laser beam, the gauge of its interface and the captain's
portrait; and the solar system's sky (a strip of six cube faces) and the
mother ship's exhaust particle. Every size (of a sky, every face's) is a
power of two; the same seed gives the same files."""

import math
import os
import random
import sys

from pngfile import write_png

SEED = 280


def clamp(value, low=0.0, high=1.0):
    return max(low, min(high, value))


def smoothstep(t):
    return t * t * (3.0 - 2.0 * t)


def value_noise(size, cells, rng):
    """A tiling field of size x size values in 0..1, bilinear between random
    values on a grid of cells x cells."""
    grid = [[rng.random() for _ in range(cells)] for _ in range(cells)]
    step = size / cells
    field = []
    for y in range(size):
        gy = y / step
        y0 = int(gy) % cells
        y1 = (y0 + 1) % cells
        ty = smoothstep(gy - int(gy))
        row0, row1 = grid[y0], grid[y1]
        for x in range(size):
            gx = x / step
            x0 = int(gx) % cells
            x1 = (x0 + 1) % cells
            tx = smoothstep(gx - int(gx))
            top = row0[x0] + (row0[x1] - row0[x0]) * tx
            bottom = row1[x0] + (row1[x1] - row1[x0]) * tx
            field.append(top + (bottom - top) * ty)
    return field


def fractal_noise(size, rng, octaves=(4, 8, 16, 32, 64)):
    total = [0.0] * (size * size)
    weight_sum = 0.0
    for level, cells in enumerate(octaves):
        weight = 0.55 ** level
        weight_sum += weight
        for i, value in enumerate(value_noise(size, cells, rng)):
            total[i] += value * weight
    return [value / weight_sum for value in total]


def add_star(image, size, x, y, radius, colour):
    """Adds a soft round star to an RGB float image, wrapping at the edges."""
    reach = int(math.ceil(radius * 3))
    for dy in range(-reach, reach + 1):
        for dx in range(-reach, reach + 1):
            glow = math.exp(-(dx * dx + dy * dy) / (2.0 * radius * radius))
            if glow < 0.01:
                continue
            i = (((y + dy) % size) * size + (x + dx) % size) * 3
            for c in range(3):
                image[i + c] += colour[c] * glow


def star_colour(rng, brightness):
    tint = rng.choice(((1.0, 1.0, 1.0), (0.8, 0.88, 1.0), (1.0, 0.93, 0.78), (0.85, 0.95, 1.0)))
    return [brightness * t for t in tint]


def nebula(size, rng):
    density = fractal_noise(size, rng)
    hue = fractal_noise(size, rng, octaves=(2, 4, 8))
    purple = (0.50, 0.16, 0.62)
    teal = (0.08, 0.42, 0.62)
    image = []
    for d, h in zip(density, hue):
        cloud = clamp((d - 0.42) * 2.6) ** 1.6
        mix = clamp((h - 0.3) * 2.5)
        for c in range(3):
            base = (0.012, 0.014, 0.045)[c]
            image.append(base + cloud * (purple[c] + (teal[c] - purple[c]) * mix))
    for _ in range(160):
        add_star(image, size, rng.randrange(size), rng.randrange(size), 0.6,
                 star_colour(rng, rng.uniform(0.15, 0.5)))
    return [clamp(value) * 255 for value in image]


def star_field(size, rng):
    image = [0.0] * (size * size * 3)
    for _ in range(70):
        add_star(image, size, rng.randrange(size), rng.randrange(size), 0.45,
                 star_colour(rng, rng.uniform(0.3, 0.8)))
    for _ in range(8):
        add_star(image, size, rng.randrange(size), rng.randrange(size), rng.uniform(0.9, 1.3),
                 star_colour(rng, rng.uniform(0.8, 1.0)))
    return [clamp(value) * 255 for value in image]


def rounded_box_distance(x, y, width, height, radius):
    """Signed distance from the pixel centre to a rounded rectangle that fills
    the image: negative inside."""
    px = abs(x + 0.5 - width / 2.0) - (width / 2.0 - radius)
    py = abs(y + 0.5 - height / 2.0) - (height / 2.0 - radius)
    outside = math.hypot(max(px, 0.0), max(py, 0.0))
    return outside + min(max(px, py), 0.0) - radius


def framed_box(width, height, radius, border, fill, edge):
    """An RGBA rounded box with an anti-aliased outline; fill(y) gives the
    RGBA inside colour of a row, edge is the RGBA outline colour."""
    pixels = []
    for y in range(height):
        inside = fill(y)
        for x in range(width):
            d = rounded_box_distance(x, y, width, height, radius)
            coverage = clamp(0.5 - d)
            outline = clamp(d + border + 0.5)
            colour = [inside[c] + (edge[c] - inside[c]) * outline for c in range(4)]
            colour[3] *= coverage
            pixels.extend(colour)
    return pixels


def button(width, height):
    # Grey, so that the interface tints each button with its own colour.
    def fill(y):
        t = y / (height - 1)
        grey = 190 - 85 * t
        return (grey, grey, grey, 255)

    return framed_box(width, height, 7, 2.0, fill, (255, 255, 255, 255))


def panel(size):
    return framed_box(size, size, 10, 2.0, lambda y: (22, 30, 52, 205), (130, 160, 220, 255))


def hull_plating(size, rng):
    """Grey plates with dark seams and a little grain on each plate."""
    plate = size // 4
    shades = [[90 + rng.randint(0, 50) for _ in range(4)] for _ in range(4)]
    pixels = []
    for y in range(size):
        for x in range(size):
            seam = x % plate in (0, plate - 1) or y % plate in (0, plate - 1)
            shade = 40 if seam else shades[y // plate][x // plate] + rng.randint(-6, 6)
            pixels.extend((shade, shade, shade + 12))
    return pixels


def sky_strip(side, rng):
    """Six square faces side by side, each a faint field of stars."""
    faces = []
    for _ in range(6):
        face = [0.0] * (side * side * 3)
        for _ in range(260):
            add_star(face, side, rng.randrange(side), rng.randrange(side), 0.5,
                     star_colour(rng, rng.uniform(0.15, 0.55)))
        faces.append(face)
    image = []
    for y in range(side):
        for face in faces:
            row = face[y * side * 3:(y + 1) * side * 3]
            image.extend(0.01 + value for value in row)
    return [clamp(value) * 255 for value in image]


def glow(size, x, y, radius):
    """0..1: a soft round spot centred at x, y."""
    return [math.exp(-((px - x) ** 2 + (py - y) ** 2) / (2.0 * radius * radius))
            for py in range(size) for px in range(size)]


def star_sprites(size):
    """Four star sprites in the quarters, white with the light as alpha."""
    half = size // 2
    shapes = ((0.22, 0.0), (0.14, 0.0), (0.1, 0.35), (0.18, 0.2))
    image = []
    for y in range(size):
        for x in range(size):
            quarter = (y // half) * 2 + x // half
            radius, spikes = shapes[quarter]
            dx = (x % half + 0.5) / half - 0.5
            dy = (y % half + 0.5) / half - 0.5
            light = math.exp(-(dx * dx + dy * dy) / (2 * radius * radius * 0.25))
            if spikes:
                light += spikes * math.exp(-abs(dx) * 40) * math.exp(-abs(dy) * 6)
                light += spikes * math.exp(-abs(dy) * 40) * math.exp(-abs(dx) * 6)
            light = clamp(light)
            image.extend((255, 255, 240, light * 255))
    return image


def explosion_strip(frame, frames):
    """A fireball that swells, turns from white through orange to red and
    fades: frames side by side, the light as alpha."""
    image = []
    for y in range(frame):
        for index in range(frames):
            age = (index + 1) / frames
            radius = 0.12 + 0.33 * age
            for x in range(frame):
                dx = (x + 0.5) / frame - 0.5
                dy = (y + 0.5) / frame - 0.5
                distance = math.sqrt(dx * dx + dy * dy)
                ring = math.exp(-((distance - radius * 0.7) ** 2) / (2 * (radius * 0.35) ** 2))
                light = clamp(ring * (1.2 - age))
                colour = (1.0, clamp(1.0 - age * 0.9), clamp(0.8 - age * 1.4))
                image.extend([c * 255 for c in colour] + [light * 255])
    return image


def flame(size):
    spot = glow(size, (size - 1) / 2, (size - 1) / 2, size / 6)
    image = []
    for light in spot:
        image.extend((255, 150 + 100 * light, 60 + 150 * light, light * 255))
    return image


def beam(width, length):
    """Across the width, the first texture coordinate: a white core in a blue
    edge; along the length the same everywhere."""
    image = []
    for _ in range(length):
        for x in range(width):
            across = abs((x + 0.5) / width - 0.5) * 2
            core = clamp(1.0 - across * 2.2)
            edge = clamp(1.0 - across) ** 1.5
            image.extend((120 + 135 * core, 170 + 85 * core, 255, edge * 255))
    return image


def gauge(width, height):
    """A white bar, lighter along its top edge; the interface tints it."""
    image = []
    for y in range(height):
        light = 0.75 + 0.25 * (1.0 - y / (height - 1))
        image.extend([light * 255] * 3 * width)
    return image


def captain(size):
    """The Velmorian captain's portrait: a helmeted head with a glowing visor
    on a dark field."""
    image = []
    for y in range(size):
        for x in range(size):
            u = (x + 0.5) / size - 0.5
            v = (y + 0.5) / size - 0.5
            colour = (0.05 + 0.1 * (0.5 - v), 0.08, 0.16 + 0.1 * (0.5 - v))
            head = (u / 0.3) ** 2 + ((v + 0.02) / 0.36) ** 2
            if head < 1.0:
                shade = 0.45 + 0.4 * (1.0 - head)
                colour = (shade * 0.55, shade * 0.6, shade * 0.7)
                if abs(v + 0.04) < 0.07 and abs(u) < 0.22:
                    colour = (0.3, 0.95, 0.85)
            elif v > 0.3 and abs(u) < 0.42 - (0.5 - v):
                colour = (0.35, 0.3, 0.5)
            image.extend(clamp(c) * 255 for c in colour)
    return image


def solar_sky(face, rng):
    """Six star fields side by side, each with a faint glow of its own, as
    the strip of a cube map."""
    faces = []
    for index in range(6):
        stars = star_field(face, rng)
        glow = (0.0, 6.0 + 3.0 * (index % 3), 14.0 + 4.0 * (index % 2))
        faces.append([value + glow[i % 3] for i, value in enumerate(stars)])
    pixels = []
    for y in range(face):
        for index in range(6):
            start = y * face * 3
            pixels.extend(faces[index][start:start + face * 3])
    return pixels


def particle(size):
    """A soft red spark that fades to nothing at its rim."""
    pixels = []
    for y in range(size):
        for x in range(size):
            d = math.hypot(x + 0.5 - size / 2.0, y + 0.5 - size / 2.0) / (size / 2.0)
            glow = clamp(1.0 - d) ** 1.5
            pixels.extend((255, 90 + 120 * glow, 40 + 60 * glow, 255 * glow))
    return pixels


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    rng = random.Random(SEED)
    textures = (
        ("Textures/Nebula.png", 512, 512, 3, lambda: nebula(512, rng)),
        ("Textures/Stars.png", 256, 256, 3, lambda: star_field(256, rng)),
        ("Textures/Button.png", 64, 32, 4, lambda: button(64, 32)),
        ("Textures/Panel.png", 64, 64, 4, lambda: panel(64)),
        ("Models/Hull.png", 64, 64, 3, lambda: hull_plating(64, rng)),
        ("Textures/SkyStrip.png", 1536, 256, 3, lambda: sky_strip(256, rng)),
        ("Textures/StarSprites.png", 64, 64, 4, lambda: star_sprites(64)),
        ("Textures/Explosion.png", 512, 64, 4, lambda: explosion_strip(64, 8)),
        ("Textures/Flame.png", 32, 32, 4, lambda: flame(32)),
        ("Textures/Beam.png", 16, 32, 4, lambda: beam(16, 32)),
        ("Textures/Gauge.png", 16, 8, 3, lambda: gauge(16, 8)),
        ("Textures/Captain.png", 64, 64, 3, lambda: captain(64)),
        # A generator of their own, so that the files above stay as they are.
        ("Textures/SolarSky.png", 6 * 256, 256, 3,
         lambda: solar_sky(256, random.Random(SEED + 1))),
        ("Textures/RedParticle.png", 32, 32, 4, lambda: particle(32)),
    )
    for name, width, height, channels, make in textures:
        path = os.path.join(root, "Data", name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_png(path, width, height, channels, make())
        print("Made Data/" + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
