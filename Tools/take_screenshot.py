#!/usr/bin/env python3
"""Takes the README's pictures again, of the game at 640x480 under a virtual
display: the main menu with the pointer over "Start game"
(Docs/MainMenu.png); the solar system it opens (Docs/SolarSystem.png); and,
after a flight straight ahead into a planet's close view and on into its
orbit, the conversation there with its options (Docs/Conversation.png)."""

import os
import subprocess
import sys

import gamerun

DOCS = os.path.join(gamerun.ROOT, "Docs")
# The centre of the view, which a planet's close view fills with the planet,
# and a point of the conversation's first option button, both at 640x480.
CENTRE = (320, 240)
FIRST_OPTION = (70, 365)


def is_blue(colour):
    red, green, blue = colour
    return blue > red + 40 and blue > green + 40


def shows_planet_view(picture):
    x, y = CENTRE
    return is_blue(gamerun.pixel(picture, x - 10, y)) and is_blue(gamerun.pixel(picture, x + 10, y))


def shows_system(picture):
    blue = sum(is_blue(gamerun.pixel(picture, x, y))
               for y in range(100, 360, 4) for x in range(80, 560, 4))
    return blue > 100 and not is_blue(gamerun.pixel(picture, *CENTRE))


def shows_options(picture):
    return is_blue(gamerun.pixel(picture, *FIRST_OPTION))


def key(display, action, name):
    subprocess.run(["xdotool", action, name], env=dict(os.environ, DISPLAY=display), check=True,
                   timeout=gamerun.TIMEOUT)


def photograph(display, window, name):
    subprocess.run(["import", "-window", str(window), "-define",
                    "png:exclude-chunks=date,time", os.path.join(DOCS, name)],
                   env=dict(os.environ, DISPLAY=display), check=True, timeout=gamerun.TIMEOUT)
    print("Wrote Docs/" + name)


def fly_until(display, window, test, what):
    """Holds the thrust key until a picture passes the test."""
    key(display, "keydown", "Up")
    try:
        gamerun.wait_for_picture(display, window, test, what)
    finally:
        key(display, "keyup", "Up")


def main():
    gamerun.build_game()
    os.makedirs(DOCS, exist_ok=True)
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
            photograph(display, window, "MainMenu.png")

            gamerun.click(display, window, width // 2, y)
            gamerun.wait_for_picture(display, window, shows_system, "the solar system")
            photograph(display, window, "SolarSystem.png")

            fly_until(display, window, shows_planet_view, "a planet's close view")
            fly_until(display, window, shows_options, "the conversation's options")
            photograph(display, window, "Conversation.png")
        finally:
            gamerun.stop_game(game)
    return 0


if __name__ == "__main__":
    sys.exit(main())
