#!/usr/bin/env python3
"""Measures the game over several runs under a virtual display: the time from
the start of the process to the first drawn frame of the menu, and the mean
frame time of the menu with "useDelay" and vertical retrace off; then, in a
second process of the same run, the time from the click on "Battle" to the
first drawn frame of the battle and the battle's mean frame time (two ships,
five asteroids, the planet, shadows on) once its objects have joined. The
frames are timed by Tools/frameprobe.c, preloaded into the game. The game is
built twice, with the checking allocator (as run.sh builds it) and without,
and the runs of the two alternate, so that both see the same machine.

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


def measure(game, display, probe, frames, output, scene="menu"):
    """One run of the scene: seconds from the start of the process (the menu)
    or from the click on "Battle" (the battle) to the scene's first frame,
    and its mean seconds per frame."""
    with gamerun.run_directory(SETTINGS) as directory:
        environment = gamerun.game_environment(display, LD_PRELOAD=probe,
                                               FRAMEPROBE_FRAMES=str(frames),
                                               FRAMEPROBE_OUTPUT=output,
                                               FRAMEPROBE_SCENE=scene)
        if os.path.exists(output):
            os.remove(output)
        start = time.monotonic()
        process = gamerun.start_game(directory, environment, game)
        try:
            if scene == "battle":
                start = click_battle(display)
            gamerun.wait_for(lambda: os.path.exists(output) and os.path.getsize(output) > 0,
                             "the probe's report")
        finally:
            gamerun.stop_game(process)
    with open(output) as file:
        first, counted, seconds = file.read().split()
    return float(first) - start, float(seconds) / int(counted)


def click_battle(display):
    """Clicks "Battle" once the menu shows; returns the time of the click."""
    window = gamerun.find_window(display)
    width, height, _ = gamerun.wait_for_picture(display, window, gamerun.shows_start_button,
                                                "the menu")
    return gamerun.click_battle(display, window, width, height)


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
    battle_starts = [[] for _ in BUILDS]
    battle_frame_times = [[] for _ in BUILDS]
    with tempfile.TemporaryDirectory(prefix="zev-benchmark-") as folder, \
            gamerun.virtual_display() as display:
        probe = build_probe(folder)
        for run in range(arguments.runs):
            for index, (name, _, _) in enumerate(BUILDS):
                start, frame_time = measure(games[index], display, probe, arguments.frames,
                                            os.path.join(folder, "report"))
                starts[index].append(start)
                frame_times[index].append(frame_time)
                print("run %d %s: first menu frame after %.1f ms, mean frame %.3f ms"
                      % (run + 1, name, start * 1000, frame_time * 1000))
                start, frame_time = measure(games[index], display, probe, arguments.frames,
                                            os.path.join(folder, "report"), "battle")
                battle_starts[index].append(start)
                battle_frame_times[index].append(frame_time)
                print("run %d %s: first battle frame %.1f ms after the click, mean frame %.3f ms"
                      % (run + 1, name, start * 1000, frame_time * 1000))
    for index, (name, _, _) in enumerate(BUILDS):
        print("%s:" % name.capitalize())
        print("  Start to first menu frame: " + describe(starts[index]))
        print("  Menu frame time (%d frames a run): %s (%.0f frames a second)"
              % (arguments.frames, describe(frame_times[index]),
                 1.0 / statistics.mean(frame_times[index])))
        print("  Click on Battle to first battle frame: " + describe(battle_starts[index]))
        print("  Battle frame time (%d frames a run): %s (%.1f times the menu's)"
              % (arguments.frames, describe(battle_frame_times[index]),
                 statistics.mean(battle_frame_times[index]) / statistics.mean(frame_times[index])))
    return 0


if __name__ == "__main__":
    sys.exit(main())
