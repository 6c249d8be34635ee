#include "Engine/SimpleGameState.h"

#include "Engine/Error.h"
#include "Engine/Settings.h"
#include "Engine/StartFailure.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Engine/UiRootInterface.h"

namespace Engine
{

SimpleGameState::SimpleGameState(Timer* timer, VideoInterface* graph, DataStore* parentStore,
                                 int id)
    : GameState(timer, id), graph(graph), store(parentStore)
{
}

// The Lua state, the dispatcher and then the store (which stops its loader
// thread) go after these, in the reverse order of their declaration.
SimpleGameState::~SimpleGameState()
{
    uiRoot.reset();
    waitList.clear();
}

void SimpleGameState::Init()
{
    SetPaused(false);
    events.AddHandler(SDL_QUIT, OnQuitEvent, this, false);
    if (const auto createUiRoot = GetSubsystems().createUiRoot)
        uiRoot.reset(createUiRoot(graph, events, lua));
    profiler.RegisterLua(lua);
}

GameState* SimpleGameState::Tick()
{
    ProcessLoaded();
    if (loading && !FinishLoading())
    {
        events.Poll();
        // The player may leave while the state waits.
        return quit ? nullptr : this;
    }

    profiler.UpdateLua(lua);
    try
    {
        events.Poll();
        // A state that leaves runs no more scripts.
        if (quit)
            return nullptr;
        if (uiRoot)
        {
            for (Uint32 step = 0; step < timer->steps; ++step)
                uiRoot->Update(StepSeconds);
        }
        return quit ? nullptr : Update();
    }
    catch (const std::exception& e)
    {
        HandleError(e);
        return quit ? nullptr : this;
    }
}

// While the state waits, a failed load of a resource it waits for ends it.
void SimpleGameState::ProcessLoaded()
{
    try
    {
        store.ProcessLoaded();
    }
    catch (const std::exception&)
    {
        if (loading)
            CheckWaitList();
        throw;
    }
}

void SimpleGameState::CheckWaitList() const
{
    for (const Resource* const resource : waitList)
    {
        if (resource->HasFailed())
            throw StartFailure(resource->GetFailure());
    }
}

// Drops the resources that became ready; true once none is left.
bool SimpleGameState::FinishLoading()
{
    CheckWaitList();
    waitList.remove_if([](const Resource* resource) { return resource->IsReady(); });
    if (!waitList.empty())
        return false;
    loading = false;
    // The first frame after loading runs at least one step.
    if (timer->steps == 0)
        timer->steps = 1;
    return true;
}

void SimpleGameState::Draw()
{
    if (loading)
        return;
    DrawScene();
    if (uiRoot)
        uiRoot->Draw();
}

void SimpleGameState::HandleError(const std::exception& e)
{
    PrintError(e);
    if (!uiRoot || !uiRoot->SetFrameText("ErrorMessageText", e.what()) ||
        !uiRoot->SetFrameVisible("ErrorMessageWindow", true))
        throw;
}

bool SimpleGameState::OnQuitEvent(const SDL_Event&, Object* data)
{
    static_cast<SimpleGameState*>(data)->quit = true;
    return false;
}

int SimpleGameState::LuaExit(lua_State* L)
{
    LuaState::GetThis<SimpleGameState>(L)->quit = true;
    return 0;
}

} // namespace Engine
