#include "Engine/Application.h"
#include "Engine/Error.h"
#include "Engine/EventDispatcher.h"
#include "Engine/GameState.h"
#include "Engine/GameStateManager.h"
#include "Engine/Profiler.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Engine/Timer.h"
#include "Platform/TerminationSignals.h"

namespace
{

Engine::GameState* CreateFirstState(Timer* timer, VideoInterface* graph)
{
    const auto createFirstState = Engine::GetSubsystems().createFirstState;
    if (!createFirstState)
        throw Error("No first game state is registered!");
    return createFirstState(timer, graph);
}

// Runs the frame loop until no state is left; returns main's result.
int Run(VideoInterface* graph)
{
    Timer timer(Settings::timeStep);
    Profiler profiler("Main");
    GameStateManager manager(&timer, graph, &profiler);
    try
    {
        manager.Push(CreateFirstState(&timer, graph), true);
        timer.Start();
        while (manager.GetCount() != 0)
        {
            // The window's close button leaves one state; a signal ends the game.
            if (Platform::TerminationRequested())
                manager.LeaveAll();
            timer.Frame();
            manager.Tick();
            manager.Draw();
        }
    }
    catch (const std::exception& e)
    {
        // Once the player ends the game (a signal, or the window closed while
        // the menu starts), a failure (a script or a read that this stopped)
        // is no more than the quit: no error box.
        if (Platform::TerminationRequested() || EventDispatcher::QuitRequested())
        {
            PrintError(e);
            return 0;
        }
        ShowError(e);
        return -1;
    }
    return 0;
}

} // namespace

int main()
{
    Engine::RegisterSubsystems();
    Application application;
    VideoInterface* graph = nullptr;
    try
    {
        application.Init();
        graph = application.CreateGraph();
        application.CreateAudio();
    }
    catch (const std::exception& e)
    {
        ShowError(e);
        return -1;
    }
    return Run(graph);
}
