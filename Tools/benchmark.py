#!/usr/bin/env python3
"""Measures the game over several runs under a virtual display: the time from
the start of the process to the first drawn frame of the menu and the mean
frame time of the menu, with "useDelay" and vertical retrace off; and for each
game mode, opened from the menu in a process of its own ("Start game" for the
solar system, "Battle" for the battle: two ships, five asteroids, the planet,
shadows on), the time from the click to its first drawn frame and its mean
frame time once its objects have joined. The frames are timed by
Tools/frameprobe.c, preloaded into the game. The game is built twice, with the
checking allocator (as run.sh builds it) and without, and the runs of the two
alternate, so that both see the same machine.

    Tools/benchmark.py [--runs N] [--frames N]"""

import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

import gamerun

# Name, build folder and CMake options of each build measured.
BUILDS = [
    ("with the checking allocator", gamerun.BUILD, ()),
    ("without it", os.path.join(gamerun.ROOT, "build", "benchmark-unchecked"),
     ("-DZEV_CHECKED_ALLOCATOR=OFF",)),
]

SETTINGS = """<?xml version="1.0" ?>
<Settings>
    <Display>
        <Option waitVerticalRetrace="false" />
    </Display>
    <Other>
        <Option useDelay="false" />
    </Other>
</Settings>
"""


def build_probe(folder):
    probe = os.path.join(folder, "frameprobe.so")
    subprocess.run(["cc", "-O2", "-shared", "-fPIC", "-o", probe,
                    os.path.join(gamerun.ROOT, "Tools", "frameprobe.c"), "-ldl", "-lGL"],
                   check=True)
    return probe


def reports(output, count):
    """The probe's first count lines, once it has written them."""
    if not os.path.exists(output):
        return None
    with open(output) as file:
        lines = file.read().splitlines()
    return lines if len(lines) >= count else None


# Each game mode measured: its name and the place of its button in the menu.
MODES = [
    ("Solar system", lambda width, height: (width // 2, gamerun.start_button_swatch(width, height)[1])),
    ("Battle", gamerun.battle_button),
]


def measure(game, display, probe, frames, output, button):
    """One run: seconds from the start to the first menu frame, the mean
    seconds per frame of the menu, seconds from the click on the button to
    the game mode's first frame, and its mean seconds per frame."""
    with gamerun.run_directory(SETTINGS) as directory:
        environment = gamerun.game_environment(display, LD_PRELOAD=probe,
                                               FRAMEPROBE_FRAMES=str(frames),
                                               FRAMEPROBE_OUTPUT=output)
        if os.path.exists(output):
            os.remove(output)
        start = time.monotonic()
        process = gamerun.start_game(directory, environment, game)
        try:
            window = gamerun.find_window(display)
            gamerun.wait_for(lambda: reports(output, 1), "the probe's report of the menu")
            clicked = gamerun.click(display, window, *button(640, 480))
            lines = gamerun.wait_for(lambda: reports(output, 2),
                                     "the probe's report of the game mode")
        finally:
            gamerun.stop_game(process)
    menu, mode = ([float(value) for value in line.split()] for line in lines[:2])
    return menu[0] - start, menu[2] / menu[1], mode[0] - clicked, mode[2] / mode[1]


def describe(values, unit_scale=1000.0):
    scaled = [value * unit_scale for value in values]
    return "mean %.2f ms, min %.2f, max %.2f" % (statistics.mean(scaled), min(scaled), max(scaled))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--frames", type=int, default=1000)
    arguments = parser.parse_args()

    games = [gamerun.build_game(build, options) for _, build, options in BUILDS]
    starts = [[] for _ in BUILDS]
    frame_times = [[] for _ in BUILDS]
    mode_starts = [[[] for _ in BUILDS] for _ in MODES]
    mode_frame_times = [[[] for _ in BUILDS] for _ in MODES]
    with tempfile.TemporaryDirectory(prefix="zev-benchmark-") as folder, \
            gamerun.virtual_display() as display:
        probe = build_probe(folder)
        for run in range(arguments.runs):
            for index, (name, _, _) in enumerate(BUILDS):
                for mode, (mode_name, button) in enumerate(MODES):
                    start, frame_time, mode_start, mode_frame_time = measure(
                        games[index], display, probe, arguments.frames,
                        os.path.join(folder, "report"), button)
                    starts[index].append(start)
                    frame_times[index].append(frame_time)
                    mode_starts[mode][index].append(mode_start)
                    mode_frame_times[mode][index].append(mode_frame_time)
                    print("run %d %s: first menu frame after %.1f ms, mean frame %.3f ms; "
                          "%s: first frame %.1f ms after the click, mean frame %.3f ms"
                          % (run + 1, name, start * 1000, frame_time * 1000, mode_name.lower(),
                             mode_start * 1000, mode_frame_time * 1000))
    for index, (name, _, _) in enumerate(BUILDS):
        menu_time = statistics.mean(frame_times[index])
        print("%s:" % name.capitalize())
        print("  Start to first menu frame: " + describe(starts[index]))
        print("  Menu frame time (%d frames a run): %s (%.0f frames a second)"
              % (arguments.frames, describe(frame_times[index]), 1.0 / menu_time))
        for mode, (mode_name, _) in enumerate(MODES):
            times = mode_frame_times[mode][index]
            print("  Click to first %s frame: %s" % (mode_name.lower(),
                                                    describe(mode_starts[mode][index])))
            print("  %s frame time (%d frames a run): %s (%.1f times the menu's)"
                  % (mode_name, arguments.frames, describe(times),
                     statistics.mean(times) / menu_time))
    return 0


if __name__ == "__main__":
    sys.exit(main())
