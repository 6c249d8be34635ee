#pragma once

#include "Engine/DataFile.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Game/MenuState.h"
#include "Graphics/Graph.h"
#include "Support/GlWindow.h"
#include "Support/TempDirectory.h"

#include <SDL_ttf.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

class TestMenu : public MenuState
{
public:
    using MenuState::MenuState;
    using MenuState::Update;

    DataStore& Store() { return store; }
    LuaState& Lua() { return lua; }
};

// The game's own data in a directory of the test's, and the menu over it,
// initialised but never ticked. A fixture that starts a game mode over the
// menu deletes it before this fixture's TearDown.
class GameDataGlTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        OpenGlWindow();
        ASSERT_EQ(0, TTF_Init()) << TTF_GetError();
        Engine::RegisterSubsystems();
    }

    void SetUp() override
    {
        Settings::SetDefaults();
        CreateFileMutex();
        graph.width = GlWindowWidth;
        graph.height = GlWindowHeight;
        CopyGameData();
    }

    void TearDown() override
    {
        menu.reset();
        DestroyFileMutex();
    }

    static void CopyGameData()
    {
        namespace fs = std::filesystem;
        fs::remove_all("Data");
        fs::copy(fs::path(ZEV_SOURCE_DIR) / "Data", "Data", fs::copy_options::recursive);
    }

    void StartMenu()
    {
        menu = std::make_unique<TestMenu>(&timer, &graph, nullptr);
        menu->Init();
    }

    // A new menu, and the game mode over its store, as the menu starts it;
    // Init's error leaves after the mode is deleted.
    template <class Mode>
    std::unique_ptr<Mode> StartOverMenu()
    {
        StartMenu();
        auto mode = std::make_unique<Mode>(&timer, &graph, &menu->Store());
        mode->Init();
        return mode;
    }

    TempDirectory directory;
    Timer timer{15};
    Graph graph;
    std::unique_ptr<TestMenu> menu;
};
