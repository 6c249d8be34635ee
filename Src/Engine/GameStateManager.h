#pragma once

#include <exception>
#include <list>

class Profiler;
class Timer;
class VideoInterface;

namespace Engine
{
class GameState;
}

// The stack of game states; the front of the list is the top. Once per frame
// it ticks the states from the top down and draws the visible ones from the
// lowest up. It owns the states on it.
class GameStateManager
{
public:
    GameStateManager(Timer* timer, VideoInterface* graph, Profiler* profiler);
    ~GameStateManager();
    GameStateManager(const GameStateManager&) = delete;
    GameStateManager& operator=(const GameStateManager&) = delete;

    // Puts the state on top, after running its Init when init holds. A failing
    // Init deletes the state and propagates.
    void Push(Engine::GameState* state, bool init);

    // Returns the number of states ticked. A failure that the failing state
    // cannot show removes that state and is thrown on as Error. A state whose
    // Tick throws Engine::StartFailure is removed as if its Init had failed.
    int Tick();
    // Every state leaves the stack, the top first, as if each Tick had
    // returned null.
    void LeaveAll();
    // Draws one frame; returns the number of states drawn.
    int Draw();

    // States ticked by the last Tick plus states drawn by the last Draw.
    int GetCount() const { return count; }

private:
    using StateList = std::list<Engine::GameState*>;

    Engine::GameState* TickState(Engine::GameState* state);
    bool StartState(Engine::GameState* creator, Engine::GameState* state);
    int DrawFrom(StateList::iterator position);
    void DrawState(Engine::GameState* state);
    void HandleFailure(Engine::GameState* state, const std::exception& e);
    void Abandon(Engine::GameState* state, const std::exception& e);
    void Remove(Engine::GameState* state);

    int count = 0;
    StateList states;
    Timer* const timer;
    VideoInterface* const graph;
    Profiler* const profiler;
};
