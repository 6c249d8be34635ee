#!/usr/bin/env python3
"""Makes the sound samples under Data/Sounds as 16-bit mono WAV files: the
menu's "Menu movement" (a short rising blip for the pointer entering a
button) and "Menu select" (a two-note chime for a click), and the battle's
shot (a falling zap) and laser (a short buzzing sweep)."""

import math
import os
import struct
import sys
import wave

RATE = 22050


def tone(start_hz, end_hz, seconds, decay, volume):
    """A sine sweep with a 3 ms attack and an exponential decay; samples in
    -1..1, with a little of the second harmonic for colour."""
    count = int(RATE * seconds)
    samples = []
    phase = 0.0
    for i in range(count):
        t = i / RATE
        frequency = start_hz + (end_hz - start_hz) * i / count
        phase += 2.0 * math.pi * frequency / RATE
        envelope = min(1.0, t / 0.003) * math.exp(-t * decay)
        # The last 5 ms fade to silence so that the sample ends without a click.
        envelope *= min(1.0, (count - i) / (RATE * 0.005))
        samples.append(volume * envelope * (math.sin(phase) + 0.25 * math.sin(2.0 * phase)))
    return samples


def mix(*parts):
    """Sums parts given as (offset in seconds, samples)."""
    length = max(int(offset * RATE) + len(samples) for offset, samples in parts)
    out = [0.0] * length
    for offset, samples in parts:
        start = int(offset * RATE)
        for i, value in enumerate(samples):
            out[start + i] += value
    return out


def write_wav(path, samples):
    with wave.open(path, "wb") as file:
        file.setnchannels(1)
        file.setsampwidth(2)
        file.setframerate(RATE)
        file.writeframes(b"".join(
            struct.pack("<h", int(max(-1.0, min(1.0, value)) * 32767)) for value in samples))


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    folder = os.path.join(root, "Data", "Sounds")
    os.makedirs(folder, exist_ok=True)
    sounds = (
        ("MenuMovement.wav", tone(900.0, 1400.0, 0.06, 45.0, 0.35)),
        ("MenuSelect.wav", mix((0.0, tone(660.0, 660.0, 0.12, 22.0, 0.4)),
                               (0.07, tone(990.0, 990.0, 0.16, 18.0, 0.4)))),
        ("Shot.wav", tone(1600.0, 300.0, 0.14, 20.0, 0.35)),
        ("Laser.wav", mix((0.0, tone(2400.0, 1800.0, 0.1, 25.0, 0.25)),
                          (0.0, tone(2430.0, 1830.0, 0.1, 25.0, 0.25)))),
    )
    for name, samples in sounds:
        write_wav(os.path.join(folder, name), samples)
        print("Made Data/Sounds/" + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
