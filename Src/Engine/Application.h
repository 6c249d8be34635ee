#pragma once

#include "Engine/PreciseTime.h"

#include <memory>

class AudioInterface;
class Settings;
class VideoInterface;

// Starts and stops what the process runs on: SDL, SDL_ttf, the window icon,
// the settings, the data-file mutex, the video context and the sound. The
// destructor shuts all of it down, on every path out of main.
class Application
{
public:
    // Prints the version banner.
    Application();
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Starts SDL and SDL_ttf, lets SIGTERM and SIGINT end the game, sets the
    // window icon, loads the settings and creates the file mutex. Throws Error.
    void Init();
    // Opens the video mode from the Display settings. Throws Error.
    VideoInterface* CreateGraph();
    // Starts the sound when the Audio setting enabled holds; a sound that
    // cannot start is reported and the game runs without it.
    AudioInterface* CreateAudio();

private:
    static void SetWindowIcon();
    static void DestroyWindowIcon();

    PreciseTime preciseTime;
    std::unique_ptr<VideoInterface> graph;
    std::unique_ptr<AudioInterface> audio;
    std::unique_ptr<Settings> settings;
};
