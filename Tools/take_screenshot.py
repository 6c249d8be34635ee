#!/usr/bin/env python3
"""Takes the README's pictures, of the game at 640x480 under a virtual
display: the main menu with the pointer over "Start game"
(Docs/MainMenu.png); the battle as both ships thrust and fire
(Docs/Battle.png); back in the menu, the solar system that "Start game" opens
(Docs/SolarSystem.png); and, after a flight straight ahead into a planet's
close view and on into its orbit, the conversation there with its options
(Docs/Conversation.png)."""

import os
import subprocess
import sys

import gamerun
import pngfile

DOCS = os.path.join(gamerun.ROOT, "Docs")
# At 640x480: a point near the end of ship 1's battery gauge, yellow while the
# battery is nearly full; the bottom of the arena above the ships' windows,
# and the least distance between two shots there;
# the centre of the view, which a planet's close view fills with the planet;
# and a point of the conversation's first option button.
GAUGE_END = (604, 458)
ARENA_BOTTOM = 400
SHOT_GAP = 40
CENTRE = (320, 240)
FIRST_OPTION = (70, 365)


def is_yellow(colour):
    red, green, blue = colour
    return red > blue + 40 and green > blue + 40


def is_green(colour):
    red, green, blue = colour
    return green > red + 50 and green > blue + 30


def is_blue(colour):
    red, green, blue = colour
    return blue > red + 40 and blue > green + 40


def shows_shots(picture):
    """The green glow of both ships' cannon shots in the arena, as spots more
    than SHOT_GAP apart. A shot crosses the view in about 0.2 s, less than a
    picture takes: the one that passes is kept."""
    spots = []
    for y in range(0, ARENA_BOTTOM, 2):
        for x in range(0, picture[0], 2):
            if is_green(gamerun.pixel(picture, x, y)) and all(
                    abs(x - a) + abs(y - b) > SHOT_GAP for a, b in spots):
                spots.append((x, y))
    return len(spots) >= 2


def shows_planet_view(picture):
    x, y = CENTRE
    return is_blue(gamerun.pixel(picture, x - 10, y)) and is_blue(gamerun.pixel(picture, x + 10, y))


def shows_system(picture):
    blue = sum(is_blue(gamerun.pixel(picture, x, y))
               for y in range(100, 360, 4) for x in range(80, 560, 4))
    return blue > 100 and not is_blue(gamerun.pixel(picture, *CENTRE))


def shows_options(picture):
    return is_blue(gamerun.pixel(picture, *FIRST_OPTION))


def photograph(display, window, name):
    subprocess.run(["import", "-window", str(window), "-define",
                    "png:exclude-chunks=date,time", os.path.join(DOCS, name)],
                   env=dict(os.environ, DISPLAY=display), check=True, timeout=gamerun.TIMEOUT)
    print("Wrote Docs/" + name)


def hold_until(display, window, keys, test, what):
    """Holds the keys until a picture passes the test; returns it."""
    for name in keys:
        gamerun.key(display, window, "keydown", name)
    try:
        return gamerun.wait_for_picture(display, window, test, what)
    finally:
        for name in keys:
            gamerun.key(display, window, "keyup", name)


def take_battle(display, window, width, height):
    """Clicks "Battle" and, once the batteries show full, holds thrust and
    fire until a picture shows the cannons' shots, and keeps that picture;
    then leaves the battle with Escape."""
    gamerun.click(display, window, *gamerun.battle_button(width, height))
    gamerun.wait_for_picture(display, window,
                             lambda picture: is_yellow(gamerun.pixel(picture, *GAUGE_END)),
                             "the battle")
    shots = hold_until(display, window, ("Up", "z"), shows_shots, "the shots")
    pngfile.write_png(os.path.join(DOCS, "Battle.png"), shots[0], shots[1], 3, shots[2])
    print("Wrote Docs/Battle.png")
    for action in ("keydown", "keyup"):
        gamerun.key(display, window, action, "Escape")


def take_solar_system(display, window, width, height):
    """Clicks "Start game", then flies into a planet's close view and on
    into its orbit, where the conversation starts."""
    gamerun.click(display, window, width // 2, gamerun.start_button_swatch(width, height)[1])
    gamerun.wait_for_picture(display, window, shows_system, "the solar system")
    photograph(display, window, "SolarSystem.png")
    hold_until(display, window, ("Up",), shows_planet_view, "a planet's close view")
    hold_until(display, window, ("Up",), shows_options, "the conversation's options")
    photograph(display, window, "Conversation.png")


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
            gamerun.xdotool(display, "mousemove", "--sync", "--window", str(window),
                            str(width // 2), str(y))
            gamerun.wait_for_picture(display, window,
                                     lambda picture: gamerun.pixel(picture, x, y) != before,
                                     "the highlight")
            photograph(display, window, "MainMenu.png")

            take_battle(display, window, width, height)
            gamerun.wait_for_picture(display, window, gamerun.shows_start_button, "the menu")
            take_solar_system(display, window, width, height)
        finally:
            gamerun.stop_game(game)
    return 0


if __name__ == "__main__":
    sys.exit(main())
