#include "Support/Screenshot.h"
#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"
#include "Support/ZevProcess.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace
{

struct Point
{
    int x, y;
};

// At 640x480: the menu's "Start game" button, with a point of its blue tint;
// in the solar system the centre of the view, where a planet's close view
// shows the planet, and the mother ship's place at the start; the
// conversation's text area and its first three option buttons.
const Point StartGameButton = {320, 200};
const Point StartGameSwatch = {235, 200};
const Point Centre = {320, 240};
const Point ShipStart = {320, 387};
const Point ConversationText = {60, 290};
const Point Options[] = {{300, 365}, {300, 392}, {300, 419}};

bool ShowsMenu(const Screenshot& picture)
{
    return Shows(picture.At(StartGameSwatch.x, StartGameSwatch.y), Hue::Blue);
}

// The orbits and the planets: a good many blue pixels over the upper part
// of the view, where the close view of a planet shows none but the planet's.
int BluePixels(const Screenshot& picture)
{
    int count = 0;
    for (int y = 100; y < 360; y += 2)
    {
        for (int x = 80; x < 560; x += 2)
            count += Shows(picture.At(x, y), Hue::Blue) ? 1 : 0;
    }
    return count;
}

bool ShowsSystem(const Screenshot& picture)
{
    return BluePixels(picture) > 300 && !Shows(picture.At(Centre.x, Centre.y), Hue::Blue);
}

// The enlarged planet around the centre; the ship may stand on its middle.
bool ShowsPlanetView(const Screenshot& picture)
{
    return Shows(picture.At(Centre.x - 10, Centre.y), Hue::Blue) &&
           Shows(picture.At(Centre.x + 10, Centre.y), Hue::Blue);
}

// The mother ship: lit grey hull, brighter than the dark sky, around its
// place.
bool ShowsShipAt(const Screenshot& picture, Point place)
{
    for (int y = place.y - 8; y <= place.y + 8; ++y)
    {
        for (int x = place.x - 4; x <= place.x + 4; ++x)
        {
            const Screenshot::Pixel pixel = picture.At(x, y);
            if (pixel.red > 70 && std::abs(pixel.red - pixel.blue) < 50)
                return true;
        }
    }
    return false;
}

// The number of option buttons shown, from the top.
int OptionsShown(const Screenshot& picture)
{
    int shown = 0;
    for (const Point& option : Options)
        shown += Shows(picture.At(option.x - 230, option.y), Hue::Blue) ? 1 : 0;
    return shown;
}

bool ShowsSpokenLine(const Screenshot& picture)
{
    for (int x = ConversationText.x; x < ConversationText.x + 200; ++x)
    {
        const Screenshot::Pixel pixel = picture.At(x, ConversationText.y);
        if (pixel.red > 180 && pixel.green > 180 && pixel.blue > 180)
            return true;
    }
    return false;
}

// The difference between the two pictures around the point.
int Change(const Screenshot& a, const Screenshot& b, Point around)
{
    int change = 0;
    for (int y = around.y - 20; y <= around.y + 20; ++y)
    {
        for (int x = around.x - 20; x <= around.x + 20; ++x)
            change += Difference(a.At(x, y), b.At(x, y));
    }
    return change;
}

class SolarSystemE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CopyGameData(directory.Path());
        zev = StartZev(directory.Path(), ZevEnvironment(display));
        window = display.FindWindow(ZevWindowTitle, ZevTimeout);
        if (!window)
            throw std::runtime_error("The game's window did not appear\n" + zev->Output() +
                                     zev->Errors());
    }

    // Photographs the window until the picture passes the test; a picture
    // that never does fails the test, and the last one is returned.
    Screenshot WaitFor(const std::function<bool(const Screenshot&)>& test, const char* what)
    {
        Screenshot picture = WaitForScreenshot(display, window, test, ZevTimeout);
        EXPECT_TRUE(test(picture)) << "No picture showed " << what << "\n" << zev->Output();
        return picture;
    }

    Screenshot StartGame()
    {
        WaitFor(ShowsMenu, "the menu");
        display.Click(window, StartGameButton.x, StartGameButton.y);
        return WaitFor(
            [](const Screenshot& picture)
            { return ShowsSystem(picture) && ShowsShipAt(picture, ShipStart); },
            "the solar system with the mother ship");
    }

    // Holds the key until the picture passes the test.
    Screenshot HoldKeyUntil(const std::string& key,
                            const std::function<bool(const Screenshot&)>& test, const char* what)
    {
        display.Key(window, key, true);
        Screenshot picture = WaitFor(test, what);
        display.Key(window, key, false);
        return picture;
    }

    void PressAndRelease(const std::string& key)
    {
        display.Key(window, key, true);
        display.Key(window, key, false);
    }

    void Choose(int option) { display.Click(window, Options[option - 1].x, Options[option - 1].y); }

    TempDirectory directory;
    VirtualDisplay display;
    std::unique_ptr<ChildProcess> zev;
    unsigned long window = 0;
};

TEST_F(SolarSystemE2eTest, AFlightThroughAPlanetsViewAndAConversationAndBackToTheMenu)
{
    StartGame();
    // Straight ahead lies a planet; touching it opens its close view.
    HoldKeyUntil("Up", ShowsPlanetView, "the close view of a planet");
    // There the ship starts facing the planet, and touching it enters its
    // orbit: the conversation speaks its lines, then offers its options.
    display.Key(window, "Up", true);
    WaitFor(ShowsSpokenLine, "a line of the conversation");
    display.Key(window, "Up", false);
    WaitFor([](const Screenshot& picture) { return OptionsShown(picture) == 3; },
            "the three options of the greeting");

    // Trade: a line, then two options of its own; back to the greeting.
    Choose(1);
    WaitFor([](const Screenshot& picture) { return OptionsShown(picture) == 0; },
            "the options hidden while a line is spoken");
    WaitFor([](const Screenshot& picture) { return OptionsShown(picture) == 2; },
            "the two options of the trade");
    Choose(2);
    WaitFor([](const Screenshot& picture) { return OptionsShown(picture) == 3; },
            "the greeting's options again");
    // Leaving ends the conversation after its last line, and the world runs
    // on: flying away from the planet returns to the system.
    Choose(3);
    WaitFor([](const Screenshot& picture)
            { return OptionsShown(picture) == 0 && !ShowsSpokenLine(picture); },
            "the end of the conversation");
    HoldKeyUntil("Up", ShowsSystem, "the system again");

    PressAndRelease("Escape");
    WaitFor(ShowsMenu, "the menu again");
    // A fresh system, and the ship answers the keys.
    const Screenshot system = StartGame();
    HoldKeyUntil(
        "Left", [&](const Screenshot& picture) { return Change(system, picture, ShipStart) > 3000; },
        "the ship turning");
    PressAndRelease("Escape");
    WaitFor(ShowsMenu, "the menu at last");
    // Exit, below "Start game" and "Battle".
    display.Click(window, 320, 320);
    ExpectCleanEnd(*zev);
}

TEST_F(SolarSystemE2eTest, ClosingTheWindowInTheSolarSystemEndsTheGame)
{
    StartGame();
    display.CloseWindow(window);
    WaitFor(ShowsMenu, "the menu");
    display.CloseWindow(window);
    ExpectCleanEnd(*zev);
}

TEST_F(SolarSystemE2eTest, SigtermInTheSolarSystemEndsTheGame)
{
    StartGame();
    ExpectCleanEndOnSigterm(*zev);
}

} // namespace
