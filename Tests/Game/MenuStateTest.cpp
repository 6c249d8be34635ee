#include "Game/MenuState.h"

#include "Engine/DataFile.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Graphics/Graph.h"
#include "Support/Capture.h"
#include "Support/LuaScript.h"
#include "Support/TempDirectory.h"
#include "Ui/Root.h"
#include "Ui/TextView.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace
{

const char* const Banner = "Version 0.3 (build 280M)";

// The menu with its Lua state and interface open to the test.
class TestMenu : public MenuState
{
public:
    TestMenu(Timer* timer, Graph* graph) : MenuState(timer, graph, nullptr) {}

    LuaState& Lua() { return lua; }
    Ui::Root& Root() { return dynamic_cast<Ui::Root&>(*uiRoot); }
};

// Headless: the menu is initialised, never ticked, so nothing is uploaded.
class MenuStateTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Engine::RegisterSubsystems();
        Settings::SetDefaults();
        CreateFileMutex();
        graph.width = 640;
        graph.height = 480;
        std::filesystem::create_directory("Data");
        std::filesystem::copy_file(std::string(ZEV_SOURCE_DIR) + "/Data/Fonts/DejaVuSans.ttf",
                                   "Data/Sans.ttf");
        std::filesystem::copy_file(std::string(ZEV_SOURCE_DIR) + "/Data/Sounds/MenuSelect.wav",
                                   "Data/Select.wav");
    }
    void TearDown() override
    {
        menu.reset();
        DestroyFileMutex();
    }

    // Writes the group "MenuData" with the font "Arial16" and the elements
    // given, then initialises a new menu.
    void Init(const std::string& elements)
    {
        WriteTextFile("Data/Root.xml",
                      "<MenuData><resource type='TTFFont' file='Sans.ttf' name='Arial16'/>" +
                          elements + "</MenuData>");
        menu = std::make_unique<TestMenu>(&timer, &graph);
        menu->Init();
    }

    TempDirectory directory;
    Timer timer{15};
    Graph graph;
    std::unique_ptr<TestMenu> menu;
};

TEST_F(MenuStateTest, MainMenuIsThereForTheScriptsThatRunWhileTheDataIsRead)
{
    WriteTextFile("Data/Check.lua", "Methods = type(MainMenu.Exit) .. type(MainMenu.StartGame) .."
                                    " type(MainMenu.StartMelee) .. type(MainMenu.PlaySample)");
    Init("<lua file='Check.lua'/>");
    EXPECT_EQ("functionfunctionfunctionfunction", LuaEval(menu->Lua(), "Methods"));
}

TEST_F(MenuStateTest, PlaySampleFailsInTheScriptThatCallsIt)
{
    Init("<resource type='Sample' file='Select.wav' name='Menu select'/>"
         "<resource type='Sample' file='Select.wav' name='5'/>"
         "<resource type='Texture' file='Sans.ttf' name='Picture'/>");
    struct Case
    {
        const char* call;
        const char* failure;
    };
    const Case cases[] = {
        {"MainMenu:PlaySample()", "Too few arguments, 1 required"},
        // A number stands for its text.
        {"MainMenu:PlaySample(12)", "Missing resource: '12'"},
        {"MainMenu:PlaySample({})", "Argument 1 must be a string"},
        {"MainMenu:PlaySample(true)", "Argument 1 must be a string"},
        {"MainMenu:PlaySample(nil)", "Argument 1 must be a string"},
        {"MainMenu:PlaySample('')", "Missing resource: ''"},
        {"MainMenu:PlaySample('Menu click')", "Missing resource: 'Menu click'"},
        {"MainMenu:PlaySample('Picture')", "Missing resource: 'Picture'"},
        {"MainMenu.PlaySample({}, 'Menu select')", "Invalid Lua object!"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.call);
        EXPECT_TRUE(EndsWith(LuaFailure(menu->Lua(), c.call), c.failure))
            << LuaFailure(menu->Lua(), c.call);
    }
    // Still loading: it plays nothing, and that is no failure.
    EXPECT_EQ("no error", LuaFailure(menu->Lua(), "MainMenu:PlaySample('Menu select')"));
    EXPECT_EQ("no error", LuaFailure(menu->Lua(), "MainMenu:PlaySample(5)"));
}

TEST_F(MenuStateTest, AMissingSoundIsReportedAndTheMenuGoesOn)
{
    struct Case
    {
        const char* elements;
        const char* reported;
        const char* notReported;
    };
    const Case cases[] = {
        // Without "Menu movement", "Menu select" is not asked for.
        {"<resource type='Sample' file='Select.wav' name='Menu select'/>", "'Menu movement'",
         "'Menu select'"},
        {"<resource type='Sample' file='Select.wav' name='Menu movement'/>", "'Menu select'",
         "'Menu movement'"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.elements);
        const std::string output = OutputOf([&] { Init(c.elements); });
        EXPECT_NE(std::string::npos, output.find(std::string("Missing resource: ") + c.reported))
            << output;
        EXPECT_EQ(std::string::npos, output.find(c.notReported)) << output;
    }
}

TEST_F(MenuStateTest, TheVersionLineIsWrittenBeforeTheOnLoadScriptsRun)
{
    Init("<ui><text name='VersionNumber' font='Arial16'><scripts>"
         "<OnLoad>Loaded = self:GetText()</OnLoad></scripts></text></ui>");
    const Ui::TextView* const version = menu->Root().GetTextView("VersionNumber");
    ASSERT_NE(nullptr, version);
    EXPECT_EQ(Banner, version->GetText());
    EXPECT_EQ(Banner, LuaEval(menu->Lua(), "Loaded"));
}

} // namespace
