#include "Support/Archive.h"
#include "Support/GameWindow.h"
#include "Support/LuaScript.h"
#include "Support/Screenshot.h"
#include "Support/TempDirectory.h"
#include "Support/VirtualDisplay.h"
#include "Support/ZevProcess.h"

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{

// A point inside the error window, which hangs from the top centre, right of
// its caption and above its message.
Point ErrorWindowSwatch(int width)
{
    return {width / 2 + 210, 30};
}

class MenuE2eTest : public ZevWindowTest
{
};

TEST_F(MenuE2eTest, TheButtonsAppearHighlightUnderThePointerAndExitEndsTheProcess)
{
    CopyGameData(directory.Path());
    Start();
    const Screenshot menu = WaitForMenu();
    EXPECT_EQ(640, menu.Width());
    EXPECT_EQ(480, menu.Height());

    const Point swatch = Swatch(Battle, menu.Width(), menu.Height());
    const Pixel before = menu.At(swatch.x, swatch.y);
    const Point centre = Centre(Battle, menu.Width(), menu.Height());
    display.MovePointer(window, centre.x, centre.y);
    const Screenshot hovered =
        WaitForPicture([&](const Screenshot& picture)
                       { return Difference(picture.At(swatch.x, swatch.y), before) > 60; });
    EXPECT_GT(Difference(hovered.At(swatch.x, swatch.y), before), 60)
        << "The button under the pointer looks as before";

    Click(Exit, menu);
    ExpectCleanEnd(*zev);
}

TEST_F(MenuE2eTest, TheMenuRunsFromTheArchiveAlone)
{
    CopyGameData(directory.Path());
    ASSERT_NO_FATAL_FAILURE(MoveDataIntoArchive());

    Start();
    const Screenshot menu = WaitForMenu();
    EXPECT_FALSE(fs::exists("Data"));

    Click(Exit, menu);
    ExpectCleanEnd(*zev);
}

TEST_F(MenuE2eTest, AFailingButtonScriptShowsItsErrorAndTheGameGoesOn)
{
    CopyGameData(directory.Path());
    ReplaceInFile("Data/Menu/MainMenu.xml", "MainMenu:StartGame()", "MainMenu:NoSuchMethod()");
    Start();
    const Screenshot menu = WaitForMenu();
    const Point swatch = ErrorWindowSwatch(menu.Width());
    EXPECT_FALSE(Shows(menu.At(swatch.x, swatch.y), Hue::Red));

    Click(StartGame, menu);
    const auto errorShown = [&](const Screenshot& picture)
    { return Shows(picture.At(swatch.x, swatch.y), Hue::Red); };
    EXPECT_TRUE(errorShown(WaitForPicture(errorShown))) << zev->Output();
    EXPECT_NE(std::string::npos, zev->Output().find("NoSuchMethod")) << zev->Output();

    // A click on the error window closes it.
    display.Click(window, swatch.x, swatch.y);
    EXPECT_FALSE(errorShown(WaitForPicture(std::not_fn(errorShown))));

    Click(Exit, menu);
    ExpectCleanEnd(*zev);
}

TEST_F(MenuE2eTest, WithoutTheFontArial16TheProcessEndsWithStatus255)
{
    struct Case
    {
        const char* name;
        const char* menuData;
    };
    const Case cases[] = {
        {"no resource of that name", "<MenuData/>"},
        {"a texture of that name",
         "<MenuData><resource type=\"Texture\" file=\"Button.png\" name=\"Arial16\"/></MenuData>"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const TempDirectory run;
        WriteTextFile("Data/Root.xml", c.menuData);
        fs::copy_file(fs::path(ZEV_SOURCE_DIR) / "Data/Textures/Button.png", "Data/Button.png");
        const auto failing = StartZev(run.Path(), ZevEnvironment(display));
        ASSERT_TRUE(failing->WaitForExit(ZevTimeout));
        EXPECT_EQ(255, failing->ExitStatus());
        EXPECT_NE(std::string::npos, failing->Output().find("Missing resource: 'Arial16'"))
            << failing->Output();
    }
}

TEST_F(MenuE2eTest, TheWindowTakesItsSizeFromTheSettingsWhichStayUntouchedWhenUnchanged)
{
    CopyGameData(directory.Path());
    Start();
    Click(Exit, WaitForMenu());
    ExpectCleanEnd(*zev);

    ReplaceInFile("settings.xml", "width=\"640\"", "width=\"800\"");
    ReplaceInFile("settings.xml", "height=\"480\"", "height=\"600\"");
    const std::string settings = ReadTextFile("settings.xml");
    // An old time that a rewrite would replace, whatever the clock's grain.
    const fs::file_time_type written = fs::last_write_time("settings.xml") - std::chrono::hours(24);
    fs::last_write_time("settings.xml", written);

    Start();
    const Screenshot menu = WaitForMenu();
    EXPECT_EQ(800, menu.Width());
    EXPECT_EQ(600, menu.Height());
    Click(Exit, menu);
    ExpectCleanEnd(*zev);
    EXPECT_EQ(settings, ReadTextFile("settings.xml"));
    EXPECT_EQ(written, fs::last_write_time("settings.xml"));
}

// The message is printed by main, and a failed load also by the loader
// thread where it failed.
TEST_F(MenuE2eTest, AMenuThatCannotStartEndsTheProcessWithStatus255AndItsMessage)
{
    struct Case
    {
        const char* name;
        std::function<void()> breakData;
        const char* message;
        int printed;
    };
    const Case cases[] = {
        {"the file of the font it waits for is missing",
         [] { fs::remove("Data/Fonts/DejaVuSans.ttf"); },
         "Error: Can't open file 'Data/Fonts/DejaVuSans.ttf'", 2},
        {"its script is precompiled",
         [] { WriteTextFile("Data/Menu/Menu.lua", PrecompiledChunk("function() end")); },
         "[string \"Data/Menu/Menu.lua\"]: can't load a precompiled chunk", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const TempDirectory run;
        CopyGameData(run.Path());
        c.breakData();
        const auto failing = StartZev(run.Path(), ZevEnvironment(display));
        ASSERT_TRUE(failing->WaitForExit(ZevTimeout)) << failing->Output();
        EXPECT_EQ(255, failing->ExitStatus());
        EXPECT_EQ(c.printed, Occurrences(failing->Output(), c.message)) << failing->Output();
    }
}

// A script that prints a line long enough to leave the output buffer and then
// never returns.
const std::string EndlessScript = "print('looping ' .. string.rep('.', 9000)) while true do end";

// Each script below never returns. SIGTERM stops it and ends the game as a
// quit, also from a script run while the menu starts: no error box.
TEST_F(MenuE2eTest, AScriptThatNeverReturnsIsStoppedWhenThePlayerQuits)
{
    const std::string& loop = EndlessScript;
    struct Case
    {
        const char* where;
        const char* file;
        std::string text;
        // Whether the pointer must enter a button to run it.
        bool hover;
    };
    const Case cases[] = {
        {"at the top of a script file", "Data/Menu/Menu.lua", "-- The main menu's script", false},
        {"in OnLoad", "Data/Menu/MainMenu.xml",
         "<OnLoad>MenuButton_Highlight(self, false)</OnLoad>", false},
        {"in OnUpdate", "Data/Menu/MainMenu.xml", "<OnUpdate>FitText(self)</OnUpdate>", false},
        {"in OnEnter", "Data/Menu/MainMenu.xml", "MenuButton_Highlight(self, true)", true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.where);
        const TempDirectory run;
        CopyGameData(run.Path());
        const bool inTag = c.text[0] == '<';
        const std::string tag = c.text.substr(0, c.text.find('>') + 1);
        ReplaceInFile(c.file, c.text,
                      inTag ? tag + loop + "</" + tag.substr(1) : loop + "\n" + c.text);
        zev = StartZev(run.Path(), ZevEnvironment(display));
        if (c.hover)
        {
            window = display.FindWindow(ZevWindowTitle, ZevTimeout);
            ASSERT_NE(0u, window) << zev->Output();
            const Screenshot menu = WaitForMenu();
            const Point centre = Centre(Battle, menu.Width(), menu.Height());
            display.MovePointer(window, centre.x, centre.y);
        }
        ASSERT_TRUE(zev->WaitForOutput("looping", ZevTimeout)) << zev->Output();

        ExpectCleanEndOnSigterm(*zev);
        EXPECT_NE(std::string::npos, zev->Output().find("was stopped: the game is quitting"))
            << zev->Output();
        EXPECT_EQ(std::string::npos, zev->Errors().find("Error: ")) << zev->Errors();
    }
}

// Closing the window of the menu ends the game, also while the menu starts:
// the script that never returns is stopped and the game ends as a quit.
TEST_F(MenuE2eTest, ClosingTheWindowWhileTheMenuStartsEndsTheGame)
{
    const TempDirectory run;
    CopyGameData(run.Path());
    ReplaceInFile("Data/Menu/MainMenu.xml", "MenuButton_Highlight(self, false)", EndlessScript);
    zev = StartZev(run.Path(), ZevEnvironment(display));
    ASSERT_TRUE(zev->WaitForOutput("looping", ZevTimeout)) << zev->Output();
    window = display.FindWindow(ZevWindowTitle, ZevTimeout);
    ASSERT_NE(0u, window) << zev->Output();

    display.CloseWindow(window);
    ExpectCleanEnd(*zev);
    EXPECT_NE(std::string::npos, zev->Output().find("was stopped: the game is quitting"))
        << zev->Output();
    EXPECT_EQ(std::string::npos, zev->Errors().find("Error: ")) << zev->Errors();
}

// A script prints a line long enough to leave the output buffer where the
// text stands in the file, of a folder under Data.
void PrintReadingBefore(const std::string& file, const std::string& text)
{
    WriteTextFile("Data/Common/Reading.lua", "print('reading ' .. string.rep('.', 9000))");
    ReplaceInFile(file, text, "<lua file='../Common/Reading.lua'/>" + text);
}

const std::string SlowFrame = "<frame name='Slow'>";

// A frame that reads a long while, a thousand includes of a megabyte of
// elements, at the top of the interface in the file.
void AddSlowFrame(const std::string& file)
{
    std::string sizes = "<Sizes>";
    while (sizes.size() < (1u << 20))
        sizes += "<size/>";
    WriteTextFile("Data/Common/Slow.xml", sizes + "</Sizes>");
    std::string slow = SlowFrame;
    for (int i = 0; i < 1000; ++i)
        slow += "<include file='../Common/Slow.xml' type='Sizes'/>";
    ReplaceInFile(file, "<Ui>", "<Ui>" + slow + "</frame>");
}

// A state that reads a long while, the line printed as the slow frame starts.
void SlowDownTheRead(const std::string& file)
{
    AddSlowFrame(file);
    PrintReadingBefore(file, SlowFrame);
}

// The menu's interface grows to three megabytes, its button template holding
// its scripts 10,000 times; the line is printed as the menu's data includes
// the file, which then reads a long while.
void SlowDownTheLoad(const std::string& file)
{
    const std::string text = ReadTextFile(file);
    const std::size_t begin = text.find("<scripts>");
    const std::size_t end = text.find("</scripts>", begin) + std::strlen("</scripts>");
    std::string scripts;
    for (int i = 0; i < 10000; ++i)
        scripts += text.substr(begin, end - begin);
    WriteTextFile(file, text.substr(0, begin) + scripts + text.substr(end));
    AddSlowFrame(file);
    PrintReadingBefore("Data/Menu/Menu.xml",
                       "<include file=\"" + fs::path(file).filename().string() + "\"/>");
}

// One SIGTERM ends the game while a state reads its data as from any game
// mode: the read stops within seconds, also in a sanitizer build and while a
// large file is loaded.
TEST_F(MenuE2eTest, ASigtermWhileAStateReadsItsDataEndsTheGame)
{
    const std::chrono::seconds readStopTimeout(5);
    const struct
    {
        const char* state;
        const char* file;
        void (*slowDown)(const std::string& file);
        bool startGame; // whether the menu opens it
    } cases[] = {
        {"the menu", "Data/Menu/MainMenu.xml", SlowDownTheRead, false},
        {"the solar system", "Data/Solar/SolarUi.xml", SlowDownTheRead, true},
        {"the menu, its large file loading", "Data/Menu/MainMenu.xml", SlowDownTheLoad, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.state);
        const TempDirectory run;
        CopyGameData(run.Path());
        c.slowDown(c.file);
        zev = StartZev(run.Path(), ZevEnvironment(display));
        if (c.startGame)
        {
            window = display.FindWindow(ZevWindowTitle, ZevTimeout);
            ASSERT_NE(0u, window) << zev->Output();
            Click(StartGame, WaitForMenu());
        }
        ASSERT_TRUE(zev->WaitForOutput("reading", ZevTimeout)) << zev->Output();

        ExpectCleanEndOnSigterm(*zev, readStopTimeout);
        EXPECT_NE(std::string::npos, zev->Output().find("was stopped: the game is quitting"))
            << zev->Output();
        EXPECT_EQ(std::string::npos, zev->Errors().find("Error: ")) << zev->Errors();
    }
}

// Every button label sets a text of a megabyte at each update: the menu still
// answers the pointer and one SIGTERM ends it.
TEST_F(MenuE2eTest, AMegabyteTextSetAtEveryUpdateIsCutOnceAndTheMenuGoesOn)
{
    CopyGameData(directory.Path());
    ReplaceInFile("Data/Menu/MainMenu.xml", "<OnUpdate>FitText(self)</OnUpdate>",
                  "<OnUpdate>Long = Long or string.rep('x ', 2^19) self:SetText(Long) "
                  "FitText(self)</OnUpdate>");
    Start();
    const Screenshot menu = WaitForMenu();
    const Point swatch = Swatch(Battle, menu.Width(), menu.Height());
    const Pixel before = menu.At(swatch.x, swatch.y);
    const Point centre = Centre(Battle, menu.Width(), menu.Height());
    display.MovePointer(window, centre.x, centre.y);
    const auto highlighted = [&](const Screenshot& picture)
    { return Difference(picture.At(swatch.x, swatch.y), before) > 60; };
    EXPECT_TRUE(highlighted(WaitForPicture(highlighted))) << zev->Output();

    ExpectCleanEndOnSigterm(*zev);
    for (const char* label : {"StartGameButtonLabel", "BattleButtonLabel", "ExitButtonLabel"})
    {
        EXPECT_EQ(1, Occurrences(zev->Output(), std::string("Warning: the text of frame '") +
                                                     label + "' is cut to 4096 of its 1048576 bytes"))
            << label;
    }
    // Neither tried to render at every frame.
    EXPECT_GE(3, Occurrences(zev->Output(), "Warning: can't render"));
}

// The checking allocator appends its report to "stdout.txt" at exit: after a
// session through every game mode, only the peak memory use.
TEST_F(MenuE2eTest, ASessionThroughEveryGameModeLeaksNothing)
{
#ifndef ZEV_CHECKED_ALLOCATOR
    GTEST_SKIP() << "Built without the checking allocator";
#endif
    CopyGameData(directory.Path());
    Start();
    const Screenshot menu = WaitForMenu();
    // Into the solar system and back with Escape.
    Click(StartGame, menu);
    EXPECT_FALSE(ShowsMenu(WaitForPicture(std::not_fn(ShowsMenu)))) << "No solar system";
    display.Key(window, "Escape", true);
    display.Key(window, "Escape", false);
    // Into the battle and back with Escape.
    Click(Battle, WaitForMenu());
    EXPECT_FALSE(ShowsMenu(WaitForPicture(std::not_fn(ShowsMenu)))) << "No battle";
    display.Key(window, "Escape", true);
    display.Key(window, "Escape", false);
    Click(Exit, WaitForMenu());
    ExpectCleanEnd(*zev);
    const std::string report = ReadTextFile("stdout.txt");
    EXPECT_TRUE(std::regex_match(report, std::regex("Memory needed: [0-9]+\\.[0-9]{2}Mb\n")))
        << report;
}

} // namespace
