#include "Engine/GameStateManager.h"

#include "Engine/Error.h"
#include "Engine/GameState.h"
#include "Engine/Profiler.h"
#include "Engine/StartFailure.h"
#include "Engine/Timer.h"
#include "Engine/VideoInterface.h"

#include <algorithm>
#include <memory>
#include <string>

using Engine::GameState;

namespace
{

// Keeps the time a new state spends in its Init out of the frame time.
class TimerPause
{
public:
    explicit TimerPause(Timer& timer) : timer(timer) { timer.Pause(true); }
    ~TimerPause() { timer.Pause(false); }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    Timer& timer;
};

} // namespace

GameStateManager::GameStateManager(Timer* timer, VideoInterface* graph, Profiler* profiler)
    : timer(timer), graph(graph), profiler(profiler)
{
}

// States are left on the stack only when a failure ended the frame loop.
GameStateManager::~GameStateManager()
{
    LeaveAll();
}

void GameStateManager::Push(GameState* state, bool init)
{
    std::unique_ptr<GameState> owned(state);
    if (init)
    {
        state->Init();
        state->initialised = true;
    }
    states.push_front(owned.release());
    ++count;
}

int GameStateManager::Tick()
{
    count = 0;
    const Profiler::Scope scope(*profiler);
    auto position = states.begin();
    while (position != states.end())
    {
        GameState* const state = *position;
        if (state->IsPaused())
        {
            ++position;
            continue;
        }
        GameState* const next = TickState(state);
        if (!next)
        {
            position = states.erase(position);
            delete state;
        }
        else if (next == state)
        {
            if (state->BlocksTick())
                break;
            ++position;
        }
        else if (StartState(state, next))
        {
            // The new state goes directly above its creator and is ticked next.
            position = states.insert(position, next);
        }
    }
    return count;
}

GameState* GameStateManager::TickState(GameState* state)
{
    ++count;
    try
    {
        // The scopes close before the manager may delete the state.
        const Profiler::Scope stateScope(state->profiler);
        const Profiler::Scope tickScope(state->tickProfiler);
        return state->Tick();
    }
    catch (const Engine::StartFailure& e)
    {
        Abandon(state, e);
        return nullptr;
    }
    catch (const std::exception& e)
    {
        HandleFailure(state, e);
        return state;
    }
}

// Initialises a state that the creator returned. When that fails, the creator
// shows the failure and the new state is deleted.
bool GameStateManager::StartState(GameState* creator, GameState* state)
{
    const TimerPause pause(*timer);
    std::unique_ptr<GameState> owned(state);
    try
    {
        state->Init();
    }
    catch (const std::exception& e)
    {
        creator->HandleError(e);
        return false;
    }
    state->initialised = true;
    owned.release();
    return true;
}

void GameStateManager::LeaveAll()
{
    while (!states.empty())
    {
        GameState* const top = states.front();
        states.pop_front();
        delete top;
    }
}

int GameStateManager::Draw()
{
    const Profiler::Scope scope(*profiler);
    graph->BeginFrame();
    const int drawn = DrawFrom(states.begin());
    count += drawn;
    graph->EndFrame();
    return drawn;
}

// Draws the first state from the position on that is not paused, over the
// states below it unless it blocks them.
int GameStateManager::DrawFrom(StateList::iterator position)
{
    while (position != states.end() && (*position)->IsPaused())
        ++position;
    if (position == states.end())
        return 0;
    GameState* const state = *position;
    const int below = state->BlocksDraw() ? 0 : DrawFrom(std::next(position));
    DrawState(state);
    return below + 1;
}

void GameStateManager::DrawState(GameState* state)
{
    try
    {
        const Profiler::Scope stateScope(state->profiler);
        const Profiler::Scope drawScope(state->drawProfiler);
        state->Draw();
    }
    catch (const std::exception& e)
    {
        HandleFailure(state, e);
    }
}

// A state that cannot show its failure leaves the stack, and the failure goes
// on to main.
void GameStateManager::HandleFailure(GameState* state, const std::exception& e)
{
    try
    {
        state->HandleError(e);
    }
    catch (...)
    {
        const std::string message = e.what();
        Remove(state);
        throw Error(message);
    }
}

// A state that cannot start leaves like one whose Init failed: the state
// below it, its creator, shows the failure; with none below, main does.
void GameStateManager::Abandon(GameState* state, const std::exception& e)
{
    const StateList::iterator below = std::next(std::find(states.begin(), states.end(), state));
    if (below != states.end())
    {
        (*below)->HandleError(e);
        return;
    }
    const std::string message = e.what();
    Remove(state);
    throw Error(message);
}

void GameStateManager::Remove(GameState* state)
{
    states.remove(state);
    delete state;
}
