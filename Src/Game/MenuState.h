#pragma once

#include "Engine/SimpleGameState.h"

class Music;

// The first game state, at the bottom of the stack: the main menu. It has no
// scene; everything it shows is its interface, read from the group
// "MenuData" of the root data file, whose scripts drive it through the Lua
// table "MainMenu". The process ends when it leaves the stack.
class MenuState : public Engine::SimpleGameState
{
public:
    MenuState(Timer* timer, VideoInterface* graph, DataStore* parentStore);

    // Publishes "MainMenu", reads "MenuData", waits for the font "Arial16",
    // writes the version line, starts loading the menu's sounds and runs the
    // interface's OnLoad scripts. Throws Error when the data cannot be read or
    // has no "Arial16".
    void Init() override;
    // Plays the menu's music again, when it has one.
    void OnResume() override;

protected:
    GameState* Update() override;
    void DrawScene() override {}

private:
    void RegisterMainMenu();
    void ReadMenuData();
    void ShowVersion();
    void RequestSamples();

    // The methods of "MainMenu" besides "Exit".
    static int LuaStartGame(lua_State* L);
    static int LuaStartMelee(lua_State* L);
    static int LuaPlaySample(lua_State* L);

    bool startGame = false;
    bool startMelee = false;
    Music* music = nullptr;
};
