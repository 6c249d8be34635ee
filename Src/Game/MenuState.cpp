#include "Game/MenuState.h"

#include "Audio/Music.h"
#include "Audio/Sample.h"
#include "Engine/DataReader.h"
#include "Engine/Error.h"
#include "Engine/Settings.h"
#include "Engine/UiRootInterface.h"
#include "Game/Melee/MeleeState.h"
#include "Game/Solar/SolarSystemState.h"
#include "Graphics/Font.h"
#include "Ui/Root.h"

namespace
{

const int MenuStateId = 1;
const char* const MenuFont = "Arial16";
const char* const MenuSamples[] = {"Menu movement", "Menu select"};

template <class State>
Engine::GameState* MakeState(Timer* timer, VideoInterface* graph, DataStore* parentStore)
{
    return new State(timer, graph, parentStore);
}

} // namespace

MenuState::MenuState(Timer* timer, VideoInterface* graph, DataStore* parentStore)
    : SimpleGameState(timer, graph, parentStore, MenuStateId)
{
    profiler.SetName("Menu");
}

void MenuState::Init()
{
    SimpleGameState::Init();
    RegisterMainMenu();
    ReadMenuData();
    waitList.push_back(store.GetFont(MenuFont, true));
    ShowVersion();
    RequestSamples();
    if (Ui::Root* const root = dynamic_cast<Ui::Root*>(uiRoot.get()))
        root->RunOnLoad();
}

void MenuState::OnResume()
{
    SimpleGameState::OnResume();
    if (music)
        music->Play(Music::StateFadeMs);
}

// One game mode a frame, in the order of the table; another flag set stays
// set until the player is back in the menu.
Engine::GameState* MenuState::Update()
{
    using Maker = Engine::GameState* (*)(Timer*, VideoInterface*, DataStore*);
    static const struct
    {
        bool MenuState::*flag;
        Maker make;
    } modes[] = {{&MenuState::startGame, MakeState<SolarSystemState>},
                 {&MenuState::startMelee, MakeState<MeleeState>}};
    for (const auto& mode : modes)
    {
        if (this->*mode.flag)
        {
            this->*mode.flag = false;
            return mode.make(timer, graph, &store);
        }
    }
    return this;
}

// Before any data is read, so that the data's scripts can use it.
void MenuState::RegisterMainMenu()
{
    lua_State* const L = lua.GetState();
    lua_newtable(L);
    lua.SetField("Exit", LuaExit);
    lua.SetField("StartGame", LuaStartGame);
    lua.SetField("StartMelee", LuaStartMelee);
    lua.SetField("PlaySample", LuaPlaySample);
    lua.SetThis(this);
    lua_setglobal(L, "MainMenu");
}

void MenuState::ReadMenuData()
{
    DataReader reader(&store, &events, &lua);
    reader.SetParent(uiRoot ? uiRoot->AsParent() : nullptr);
    reader.ReadFile(Settings::rootXml, "MenuData");
}

// A menu without the version line is no error.
void MenuState::ShowVersion()
{
    if (uiRoot)
        uiRoot->SetFrameText("VersionNumber", std::string("Version ") + GameVersion);
}

// Starts loading the sounds; a missing one is reported, and the menu plays
// without it.
void MenuState::RequestSamples()
{
    try
    {
        for (const char* const name : MenuSamples)
            store.GetSample(name, true);
    }
    catch (const std::exception& e)
    {
        PrintError(e);
    }
}

int MenuState::LuaStartGame(lua_State* L)
{
    LuaState::GetThis<MenuState>(L)->startGame = true;
    return 0;
}

int MenuState::LuaStartMelee(lua_State* L)
{
    LuaState::GetThis<MenuState>(L)->startMelee = true;
    return 0;
}

// A sample still loading plays nothing. The store gives no resource for an
// empty name, and no error either.
int MenuState::LuaPlaySample(lua_State* L)
{
    MenuState* const menu = LuaState::GetThis<MenuState>(L);
    LuaCheckArgs(L, 1);
    const std::string name = LuaCheckText(L, 2);
    Sample* const sample = menu->store.GetSample(name, true);
    if (!sample)
        LuaError(L, "Missing resource: '" + name + "'");
    if (sample->IsReady())
        sample->Play();
    return 0;
}
