"""Runs the game under a virtual X display of its own, for the scripts that
measure it and photograph it (Tools/benchmark.py, Tools/take_screenshot.py)."""

import contextlib
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
BUILD = os.path.join(ROOT, "build", "run")
GAME = os.path.join(BUILD, "zev")
WINDOW_TITLE = "^ZEV - Quillmere$"
TIMEOUT = 120.0
PR_SET_PDEATHSIG = 1
LIBC = ctypes.CDLL(None, use_errno=True)


def die_with_parent():
    """Run in the child before exec: the system kills it when this script
    dies, also by a signal, so no game or server outlives the script."""
    if LIBC.prctl(PR_SET_PDEATHSIG, signal.SIGKILL) != 0:
        raise OSError(ctypes.get_errno(), "prctl(PR_SET_PDEATHSIG) failed")


def build_game(build=BUILD, options=()):
    """Installs what is missing and builds the game as run.sh does, in the
    given build folder with more CMake options; returns the executable."""
    subprocess.run([os.path.join(ROOT, "Tools", "setup.sh")], check=True)
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo", *options], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "zev"], check=True)
    return os.path.join(build, "zev")


@contextlib.contextmanager
def virtual_display(screen="1024x768x24"):
    """An Xvfb on a free display number; yields the value of DISPLAY. Without
    -noreset it would refuse connections for a moment after each last client
    has gone, and SDL opens the display twice at start."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                              stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
    os.close(write_end)
    try:
        with os.fdopen(read_end) as numbers:
            number = numbers.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        yield ":" + number
    finally:
        server.terminate()
        server.wait()


@contextlib.contextmanager
def run_directory(settings=None):
    """A working directory that sees the repository's Data/ and holds the
    given settings.xml text, or none."""
    directory = tempfile.mkdtemp(prefix="zev-run-")
    try:
        os.symlink(os.path.join(ROOT, "Data"), os.path.join(directory, "Data"))
        if settings is not None:
            with open(os.path.join(directory, "settings.xml"), "w") as file:
                file.write(settings)
        yield directory
    finally:
        shutil.rmtree(directory)


def game_environment(display, **extra):
    environment = dict(os.environ, DISPLAY=display, SDL_VIDEODRIVER="x11",
                       SDL_AUDIODRIVER="dummy")
    environment.update(extra)
    return environment


def start_game(directory, environment, game=GAME):
    return subprocess.Popen([game], cwd=directory, env=environment, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)


def stop_game(game):
    """One SIGTERM ends the game from any game mode; one that is still running
    after TIMEOUT is killed, and that is an error."""
    game.terminate()
    try:
        game.wait(timeout=TIMEOUT)
    except subprocess.TimeoutExpired:
        game.kill()
        game.wait()
        raise RuntimeError("the game did not end on SIGTERM")


def find_window(display):
    """The game's viewable window. On a fresh display the game first makes a
    window with its title that it never maps and soon destroys."""
    def search():
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                WINDOW_TITLE], env=dict(os.environ, DISPLAY=display),
                               capture_output=True, text=True, timeout=TIMEOUT)
        return int(found.stdout.split()[0]) if found.returncode == 0 and found.stdout else None
    return wait_for(search, "the game's window")


def click(display, window, x, y):
    """Moves the pointer to a place of the window and clicks there, as a
    user does; returns the time of the click."""
    xdotool(display, "mousemove", "--sync", "--window", str(window), str(x), str(y))
    clicked = time.monotonic()
    xdotool(display, "click", "1")
    return clicked


def key(display, window, action, name):
    """Presses ("keydown") or releases ("keyup") the key in the window."""
    xdotool(display, action, "--window", str(window), name)


def capture(display, window):
    """The window's content as (width, height, RGB bytes), or None when import
    fails, as it may while the window maps or changes."""
    ppm = subprocess.run(["import", "-window", str(window), "-depth", "8", "ppm:-"],
                         env=dict(os.environ, DISPLAY=display), capture_output=True,
                         timeout=TIMEOUT)
    fields = ppm.stdout.split(maxsplit=4)
    if ppm.returncode != 0 or len(fields) < 5 or fields[0] != b"P6":
        return None
    width, height = int(fields[1]), int(fields[2])
    return width, height, ppm.stdout[-width * height * 3:]


def wait_for_picture(display, window, test, what):
    """Photographs the window until a picture passes the test; returns it."""
    def passing():
        picture = capture(display, window)
        return picture if picture is not None and test(picture) else None
    return wait_for(passing, what)


def pixel(picture, x, y):
    width, _, rgb = picture
    at = (y * width + x) * 3
    return tuple(rgb[at:at + 3])


def start_button_swatch(width, height):
    """A point left of the label of "Start game", which is tinted blue."""
    return width // 2 - 85, height // 2 - 40


def shows_start_button(picture):
    red, green, blue = pixel(picture, *start_button_swatch(picture[0], picture[1]))
    return blue > red + 40 and blue > green + 40


def xdotool(display, *arguments):
    subprocess.run(["xdotool", *arguments], env=dict(os.environ, DISPLAY=display), check=True,
                   timeout=TIMEOUT)


def battle_button(width, height):
    """The centre of "Battle", below "Start game"."""
    return width // 2, height // 2 + 20


def wait_for(test, what):
    """Calls the test until it returns a true value, and returns that."""
    deadline = time.monotonic() + TIMEOUT
    while True:
        result = test()
        if result:
            return result
        if time.monotonic() > deadline:
            raise RuntimeError("Timed out waiting for " + what)
        time.sleep(0.05)
