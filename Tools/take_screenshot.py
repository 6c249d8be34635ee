#!/usr/bin/env python3
"""Takes the README's pictures, the game at 640x480 under a virtual display:
the main menu with the pointer over "Start game", Docs/MainMenu.png; and the
battle as both ships thrust and fire, Docs/Battle.png."""

import os
import subprocess
import sys

import gamerun

OUTPUT = os.path.join(gamerun.ROOT, "Docs", "MainMenu.png")
BATTLE_OUTPUT = os.path.join(gamerun.ROOT, "Docs", "Battle.png")
# At 640x480 a point near the end of ship 1's battery gauge, yellow while the
# battery is nearly full.
GAUGE_END = (170, 458)


def is_yellow(colour):
    red, green, blue = colour
    return red > blue + 40 and green > blue + 40


def photograph(display, window, path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-window", str(window), "-define", "png:exclude-chunks=date,time",
                    path], env=dict(os.environ, DISPLAY=display), check=True,
                   timeout=gamerun.TIMEOUT)
    print("Wrote " + os.path.relpath(path, gamerun.ROOT))


def take_battle(display, window, width, height):
    """Clicks "Battle" and, once the batteries show full, holds thrust and
    fire until the first ship's battery has paid for its first shot."""
    gamerun.click_battle(display, window, width, height)
    gamerun.wait_for_picture(display, window,
                             lambda picture: is_yellow(gamerun.pixel(picture, *GAUGE_END)),
                             "the battle")
    keys = ("Up", "z")
    for key in keys:
        gamerun.xdotool(display, "keydown", "--window", str(window), key)
    try:
        gamerun.wait_for_picture(display, window,
                                 lambda picture: not is_yellow(gamerun.pixel(picture, *GAUGE_END)),
                                 "the shots")
        photograph(display, window, BATTLE_OUTPUT)
    finally:
        for key in keys:
            gamerun.xdotool(display, "keyup", "--window", str(window), key)


def main():
    gamerun.build_game()
    with gamerun.virtual_display() as display, gamerun.run_directory() as directory:
        game = gamerun.start_game(directory, gamerun.game_environment(display))
        try:
            window = gamerun.find_window(display)
            menu = gamerun.wait_for_picture(display, window, gamerun.shows_start_button,
                                            "the menu")
            width, height, _ = menu
            x, y = gamerun.start_button_swatch(width, height)
            before = gamerun.pixel(menu, x, y)
            gamerun.xdotool(display, "mousemove", "--sync", "--window", str(window),
                            str(width // 2), str(y))
            gamerun.wait_for_picture(display, window,
                                     lambda picture: gamerun.pixel(picture, x, y) != before,
                                     "the highlight")
            photograph(display, window, OUTPUT)
            take_battle(display, window, width, height)
        finally:
            gamerun.stop_game(game)
    return 0


if __name__ == "__main__":
    sys.exit(main())
