#include "Engine/Application.h"

#include "Engine/AudioInterface.h"
#include "Engine/DataFile.h"
#include "Engine/Error.h"
#include "Engine/Settings.h"
#include "Engine/Subsystems.h"
#include "Engine/VideoInterface.h"
#include "Platform/Console.h"
#include "Platform/SharedLibraries.h"
#include "Platform/TerminationSignals.h"
#include "Platform/WindowIcon.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <cstdio>

namespace
{

SDL_Surface* windowIcon = nullptr;

// The settings choose the mode, so a mode that cannot be opened ends every
// start until they change: the user is told which they are.
std::string VideoModeAskedFor()
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "The video mode asked for: %dx%d, %d bits per pixel, %s, set by the Display "
                  "options width, height, bitsPerPixel and fullScreen of '%s'",
                  Settings::width, Settings::height, Settings::bitsPerPixel,
                  Settings::fullScreen ? "full screen" : "in a window", Settings::FileName);
    return text;
}

} // namespace

Application::Application()
{
    std::printf("%s version %s\n", GameTitle, GameVersion);
    std::fflush(stdout);
}

Application::~Application()
{
    if (settings)
    {
        settings->Save();
        settings.reset();
    }
    DestroyFileMutex();
    if (graph)
    {
        graph->ClearVideoModes();
        graph.reset();
    }
    audio.reset();
    TTF_Quit();
    SDL_Quit();
    Platform::ShutDownLlvm();
    DestroyWindowIcon();
}

void Application::Init()
{
    if (SDL_Init(SDL_INIT_VIDEO) < 0)
        throw Error("Could not init SDL: ", SDL_GetError());
    Platform::CatchTerminationSignals();
    if (TTF_Init() < 0)
        throw Error("Could not init SDL TTF: ", SDL_GetError());
    SetWindowIcon();
    settings = std::make_unique<Settings>();
    settings->Load();
    CreateFileMutex();
    Platform::ReleaseConsole();
}

VideoInterface* Application::CreateGraph()
{
    const auto createVideo = Engine::GetSubsystems().createVideo;
    if (!createVideo)
        throw Error("No video context is registered!");
    graph.reset(createVideo());
    SDL_WM_SetCaption(GameTitle, nullptr);
    graph->SetFullScreen(Settings::fullScreen);
    graph->SetVSync(Settings::waitVerticalRetrace);
    try
    {
        graph->Init(Settings::width, Settings::height, Settings::bitsPerPixel);
    }
    catch (const Error& e)
    {
        // An OpenGL without the extensions the game needs is no fault of the
        // settings: only a mode that did not open is named.
        if (SDL_GetVideoSurface())
            throw;
        throw Error(e.what(), "\n", VideoModeAskedFor());
    }
    return graph.get();
}

AudioInterface* Application::CreateAudio()
{
    const auto createAudio = Engine::GetSubsystems().createAudio;
    if (!createAudio)
        throw Error("No sound system is registered!");
    audio.reset(createAudio());
    if (!Settings::enabled)
        return audio.get();
    try
    {
        audio->Init(Settings::frequency, Settings::chunkSize, Settings::speakers,
                    Settings::channels, Settings::reverseStereo);
        settings->MixerOpened();
        audio->SetVolume(Settings::musicVolume, Settings::sfxVolume);
    }
    catch (const std::exception& e)
    {
        PrintError(e);
    }
    return audio.get();
}

// The icon is set before the video mode opens, so the window has it from the
// start.
void Application::SetWindowIcon()
{
    windowIcon = Platform::CreateWindowIcon();
    if (!windowIcon)
    {
        std::printf("Could not create the window icon: %s\n", SDL_GetError());
        return;
    }
    SDL_WM_SetIcon(windowIcon, nullptr);
}

void Application::DestroyWindowIcon()
{
    SDL_FreeSurface(windowIcon);
    windowIcon = nullptr;
}
