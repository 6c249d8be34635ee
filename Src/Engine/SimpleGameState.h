#pragma once

#include "Engine/DataStore.h"
#include "Engine/EventDispatcher.h"
#include "Engine/GameState.h"
#include "Engine/LuaState.h"

#include <list>
#include <memory>

class UiRootInterface;
class VideoInterface;

namespace Engine
{

// The base of the game's states: each has its own resource store, event
// dispatcher, Lua state and interface root. Until every resource on its wait
// list is ready the state only polls its events and draws nothing; when one of
// them fails to load, the state cannot start (StartFailure). It leaves the
// stack at the tick after its quit flag is set (by SDL's quit event or the Lua
// function LuaExit), also while it waits.
class SimpleGameState : public GameState
{
public:
    // The store's parent is the store of the creating state, null for the
    // first state.
    SimpleGameState(Timer* timer, VideoInterface* graph, DataStore* parentStore, int id);
    ~SimpleGameState() override;

    // Unpauses the state, listens for SDL's quit event, creates the interface
    // root and publishes the profiler to Lua. Subclasses call it first.
    void Init() override;
    void OnResume() override {}
    // Finishes the completed loads (throwing the first failed one, as
    // StartFailure when the state waits for it); once the awaited resources
    // are ready, dispatches the events, updates the interface once per fixed
    // step and returns what Update returns. Returns null once the quit flag
    // is set, without updating.
    GameState* Tick() override;
    // The scene, then the interface.
    void Draw() override;
    // Prints the failure and shows it in the interface's error window; without
    // the frames "ErrorMessageText" and "ErrorMessageWindow" it rethrows.
    void HandleError(const std::exception& e) override;

    // SDL's quit event sets the quit flag of the state given as data; other
    // handlers still see the event.
    static bool OnQuitEvent(const SDL_Event& event, Object* data);
    // Lua: sets the quit flag of the state bound to argument 1.
    static int LuaExit(lua_State* L);

protected:
    virtual GameState* Update() = 0;
    virtual void DrawScene() = 0;

    bool quit = false;
    VideoInterface* const graph;
    DataStore store;
    EventDispatcher events;
    LuaState lua;
    // Null while the game registers no interface.
    std::unique_ptr<UiRootInterface> uiRoot;
    bool loading = true;
    // The resources the state waits for; the store owns them.
    std::list<Resource*> waitList;

private:
    void ProcessLoaded();
    // Throws StartFailure when a resource on the wait list failed to load.
    void CheckWaitList() const;
    bool FinishLoading();
};

} // namespace Engine
