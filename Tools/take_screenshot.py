#!/usr/bin/env python3
"""Takes the README's picture of the main menu, Docs/MainMenu.png: the game at
640x480 under a virtual display, with the pointer over "Start game"."""

import os
import subprocess
import sys

import gamerun

OUTPUT = os.path.join(gamerun.ROOT, "Docs", "MainMenu.png")


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
            subprocess.run(["xdotool", "mousemove", "--sync", "--window", str(window),
                            str(width // 2), str(y)], env=dict(os.environ, DISPLAY=display),
                           check=True, timeout=gamerun.TIMEOUT)
            gamerun.wait_for_picture(display, window,
                                     lambda picture: gamerun.pixel(picture, x, y) != before,
                                     "the highlight")
            os.makedirs(os.path.dirname(OUTPUT), exist_ok=True)
            subprocess.run(["import", "-window", str(window), "-define",
                            "png:exclude-chunks=date,time", OUTPUT],
                           env=dict(os.environ, DISPLAY=display), check=True,
                           timeout=gamerun.TIMEOUT)
        finally:
            gamerun.stop_game(game)
    print("Wrote " + os.path.relpath(OUTPUT, gamerun.ROOT))
    return 0


if __name__ == "__main__":
    sys.exit(main())
