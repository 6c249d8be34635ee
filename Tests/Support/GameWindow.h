#pragma once

#include "Support/Screenshot.h"
#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"
#include "Support/ZevProcess.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>

// What the end-to-end tests look for in the game's window: the menu's
// buttons, and a fixture that runs the game on a display of its own.

using Pixel = Screenshot::Pixel;

struct Point
{
    int x, y;
};

// The menu's buttons are 200 by 40 pixels, centred across the window; their
// tops lie at these distances from its centre, and each has its own tint.
struct MenuButton
{
    int top;
    Hue hue;
};

const MenuButton StartGame = {-60, Hue::Blue};
const MenuButton Battle = {0, Hue::Green};
const MenuButton Exit = {60, Hue::Red};
const MenuButton Buttons[] = {StartGame, Battle, Exit};

// A point where the button shows its tint, left of its label.
Point Swatch(const MenuButton& button, int width, int height);
Point Centre(const MenuButton& button, int width, int height);

bool ShowsMenu(const Screenshot& picture);

// The game in a directory of its own on a display of its own.
class ZevWindowTest : public ::testing::Test
{
protected:
    // Throws when no window appears, which ends the test there.
    void Start();

    // Photographs the window until the picture passes the test; returns the
    // last picture taken.
    Screenshot WaitForPicture(const std::function<bool(const Screenshot&)>& test);

    // Waits until the three buttons show their tints at their places.
    Screenshot WaitForMenu();

    void Click(const MenuButton& button, const Screenshot& menu);

    TempDirectory directory;
    VirtualDisplay display;
    std::unique_ptr<ChildProcess> zev;
    unsigned long window = 0;
};
