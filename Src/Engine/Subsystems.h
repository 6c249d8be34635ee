#pragma once

class AudioInterface;
class EventDispatcher;
class LuaState;
class Timer;
class UiRootInterface;
class VideoInterface;

namespace Engine
{

class GameState;

// The points where the engine core reaches forward into the later subsystems.
// The game fills them in before start-up; tests fill them with fakes. Resource
// kinds and data sub-readers have registries of their own (DataStore,
// DataReader).
struct Subsystems
{
    VideoInterface* (*createVideo)() = nullptr;
    AudioInterface* (*createAudio)() = nullptr;
    UiRootInterface* (*createUiRoot)(VideoInterface* video, EventDispatcher& events,
                                     LuaState& lua) = nullptr;
    GameState* (*createFirstState)(Timer* timer, VideoInterface* video) = nullptr;
};

Subsystems& GetSubsystems();

// Defined by the game: fills the forward points and the registries.
void RegisterSubsystems();

} // namespace Engine
