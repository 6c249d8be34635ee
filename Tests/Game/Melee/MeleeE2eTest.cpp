#include "Support/Archive.h"
#include "Support/Deadline.h"
#include "Support/GameWindow.h"
#include "Support/Sounds.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace
{

using namespace std::chrono_literals;

#ifdef ZEV_SANITIZED
constexpr auto ScriptedBattle = 60s;
#else
constexpr auto ScriptedBattle = 10s;
#endif

// At 640x480 each ship's window holds a battery gauge, 100 pixels wide when
// full, on this row: ship 1's on the right, ship 2's on the left, where the
// ships start.
const int GaugeRow = 458;
const int GaugeLeft[] = {510, 76};
const int GaugeWidth = 100;

int BatteryGauge(const Screenshot& picture, int ship)
{
    int lit = 0;
    for (int x = GaugeLeft[ship]; x < GaugeLeft[ship] + GaugeWidth; ++x)
        lit += Shows(picture.At(x, GaugeRow), Hue::Yellow);
    return lit;
}

// The area above the ships' windows, where the ships are.
struct Area
{
    int left, top, right, bottom;
};
const Area Arena = {0, 40, 640, 400};
const Area LeftHalf = {0, 40, 320, 400};
const Area RightHalf = {320, 40, 640, 400};

// The grey hull of the ships, lit.
int HullPixels(const Screenshot& picture, const Area& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y += 2)
    {
        for (int x = area.left; x < area.right; x += 2)
        {
            const Pixel p = picture.At(x, y);
            count += p.red > 80 && p.blue > 80 && std::abs(p.red - p.blue) < 50 &&
                     std::abs(p.green - p.blue) < 50;
        }
    }
    return count;
}

// Points of light above the ships: the sky's stars and the star layer.
int Stars(const Screenshot& picture)
{
    int count = 0;
    for (int y = 0; y < 40; ++y)
    {
        for (int x = 0; x < picture.Width(); ++x)
            count += picture.At(x, y).blue > 60;
    }
    return count;
}

int Changed(const Screenshot& a, const Screenshot& b, const Area& area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; y += 2)
    {
        for (int x = area.left; x < area.right; x += 2)
            count += Difference(a.At(x, y), b.At(x, y)) > 60;
    }
    return count;
}

bool ShowsFreshBattle(const Screenshot& picture)
{
    return !ShowsMenu(picture) && BatteryGauge(picture, 0) > GaugeWidth - 5 &&
           BatteryGauge(picture, 1) > GaugeWidth - 5 && HullPixels(picture, Arena) > 300;
}

class MeleeE2eTest : public ZevWindowTest
{
protected:
    Screenshot StartBattle(const Screenshot& menu)
    {
        Click(Battle, menu);
        Screenshot battle = WaitForPicture(ShowsFreshBattle);
        EXPECT_TRUE(ShowsFreshBattle(battle)) << "No battle\n" << zev->Output();
        return battle;
    }

    // Holds the key until the picture passes the test.
    Screenshot WhileHeld(const std::string& key,
                         const std::function<bool(const Screenshot&)>& test)
    {
        display.Key(window, key, true);
        Screenshot picture = WaitForPicture(test);
        display.Key(window, key, false);
        return picture;
    }

    // The fire key fires both ships' cannons, which costs each battery; only
    // a ship in the world fires, and only once its model is ready.
    void ExpectBothFire()
    {
        const auto bothFired = [](const Screenshot& picture)
        { return BatteryGauge(picture, 0) < GaugeWidth - 10 && BatteryGauge(picture, 1) < GaugeWidth - 10; };
        EXPECT_TRUE(bothFired(WhileHeld("z", bothFired))) << zev->Output();
    }

    void Leave()
    {
        display.Key(window, "Escape", true);
        display.Key(window, "Escape", false);
    }
};

TEST_F(MeleeE2eTest, BothShipsFlyAndFireOnTheSameKeysAndEscapeReturnsToTheMenu)
{
    CopyGameData(directory.Path());
    Start();
    const Screenshot battle = StartBattle(WaitForMenu());
    EXPECT_GT(Stars(battle), 10) << "No stars above the ships";

    // Both ships lie on the screen's halves; a turn moves both.
    const auto bothTurned = [&](const Screenshot& picture)
    { return Changed(battle, picture, LeftHalf) > 200 && Changed(battle, picture, RightHalf) > 200; };
    EXPECT_TRUE(bothTurned(WhileHeld("Left", bothTurned))) << zev->Output();
    const Screenshot turned = WaitForPicture([](const Screenshot&) { return true; });
    const auto moved = [&](const Screenshot& picture)
    { return Changed(turned, picture, Arena) > 200; };
    EXPECT_TRUE(moved(WhileHeld("Up", moved)));

    ExpectBothFire();

    Leave();
    const Screenshot menu = WaitForMenu();
    // A new battle starts afresh, its batteries full.
    StartBattle(menu);
    Leave();
    Click(Exit, WaitForMenu());
    ExpectCleanEnd(*zev);
}

// As an installed game with its data in the archive: the cruiser is read from
// its ".x" file and cannot be converted, yet both ships are there and fire.
TEST_F(MeleeE2eTest, TheBattleRunsFromTheArchiveAloneWithItsShips)
{
    namespace fs = std::filesystem;
    CopyGameData(directory.Path());
    for (const fs::directory_entry& entry : fs::directory_iterator("Data/Models"))
    {
        if (entry.path().extension() == ".x")
            fs::remove(fs::path(entry.path()).replace_extension(".3d"));
    }
    ASSERT_NO_FATAL_FAILURE(MoveDataIntoArchive());
    Start();
    StartBattle(WaitForMenu());
    ExpectBothFire();
    EXPECT_FALSE(fs::exists("Data"));
    const std::string output = zev->Output();
    EXPECT_EQ(1, Occurrences(output, "Warning: Can't write file 'Data/Models/Cruiser.3d'")) << output;
    EXPECT_EQ(std::string::npos, output.find("Converting")) << output;

    Leave();
    Click(Exit, WaitForMenu());
    ExpectCleanEnd(*zev);
}

// The close button leaves the battle alone; one SIGTERM ends the game from it.
TEST_F(MeleeE2eTest, TheCloseButtonReturnsToTheMenuAndSigtermEndsTheGame)
{
    CopyGameData(directory.Path());
    Start();
    StartBattle(WaitForMenu());
    display.CloseWindow(window);
    StartBattle(WaitForMenu());
    ExpectCleanEndOnSigterm(*zev);
}

// The mixer would play nothing of a mono FLAC music and, restarting it at its
// end, spin for ever under the audio lock on a file of more than 16 kB, which
// the end would wait for. The shots give the music time to start. The music is
// checked only with the audio open, so the error shows that it is.
TEST_F(MeleeE2eTest, AMonoFlacMusicIsRefusedAndSigtermEndsTheBattle)
{
    CopyGameData(directory.Path());
    WriteFlac("Data/Sounds/GameMusic.flac", {{1001, 4 * FlacBlockFrames}},
              {1, 16, SoundFrequency}, FlacSubframes::Verbatim);
    ReplaceInFile("Data/Melee/Melee.xml", "GameMusic.ogg", "GameMusic.flac");
    Start();
    StartBattle(WaitForMenu());
    ExpectBothFire();
    ExpectCleanEndOnSigterm(*zev);
    const std::string output = zev->Output();
    EXPECT_NE(std::string::npos, output.find("Unknown audio format: Data/Sounds/GameMusic.flac"))
        << output;
}

// Under the sanitizers a minute: any report of theirs ends the game with a
// status other than 0.
TEST_F(MeleeE2eTest, AScriptedBattleEndsCleanly)
{
    CopyGameData(directory.Path());
    Start();
    StartBattle(WaitForMenu());
    const char* const moves[][2] = {{"Up", "z"}, {"Left", "x"}, {"Up", "x"}, {"Right", "z"}};
    const Deadline end(ScriptedBattle);
    for (int turn = 0; !end.Passed(); ++turn)
    {
        const auto& move = moves[turn % 4];
        display.Key(window, move[0], true);
        display.Key(window, move[1], true);
        // The script's pace, not a wait for the game.
        std::this_thread::sleep_for(700ms);
        display.Key(window, move[1], false);
        display.Key(window, move[0], false);
        ASSERT_FALSE(zev->HasExited()) << zev->Output() << zev->Errors();
    }
    Leave();
    Click(Exit, WaitForMenu());
    ExpectCleanEnd(*zev);
    EXPECT_EQ(std::string::npos, zev->Errors().find("runtime error")) << zev->Errors();
}

} // namespace
