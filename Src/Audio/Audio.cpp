#include "Audio/Audio.h"

#include "Engine/Error.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <cstdio>

std::atomic<bool> Audio::audioOpen(false);
int Audio::mixChannels = 0;
int Audio::fadeMs = 1;

namespace
{

void SetDefault(int& value, int fallback)
{
    if (value < 1)
        value = fallback;
}

bool operator!=(const SDL_version& a, const SDL_version& b)
{
    return a.major != b.major || a.minor != b.minor || a.patch != b.patch;
}

} // namespace

Audio::~Audio()
{
    Quit();
}

void Audio::Init(int& frequency, int& chunkSize, int& outputChannels, int& mixChannels,
                 bool reverseStereo)
{
    if (audioOpen)
        return;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        throw Error("Could not init SDL audio subsystem: ", SDL_GetError());

    SetDefault(frequency, 22050);
    SetDefault(chunkSize, 4096);
    SetDefault(outputChannels, 2);
    SetDefault(mixChannels, 8);
    if (Mix_OpenAudio(frequency, AUDIO_S16LSB, outputChannels, chunkSize) == -1)
    {
        const Error error("SDL_mixer error: ", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw error;
    }

    Audio::mixChannels = Mix_AllocateChannels(mixChannels);
    fadeMs = static_cast<int>(static_cast<long long>(chunkSize) * 4000 / frequency);
    if (reverseStereo)
        Mix_SetReverseStereo(MIX_CHANNEL_POST, 1);
    audioOpen = true;
    CheckMixerVersion();
}

void Audio::SetVolume(float& music, float& effects)
{
    if (!audioOpen)
        return;
    music = std::clamp(music, 0.0f, 1.0f);
    effects = std::clamp(effects, 0.0f, 1.0f);
    Mix_VolumeMusic(static_cast<int>(music * MIX_MAX_VOLUME));
    Mix_Volume(-1, static_cast<int>(effects * MIX_MAX_VOLUME));
}

void Audio::Quit()
{
    if (!audioOpen)
        return;
    HaltAll();
    WaitForSilence();
    Mix_CloseAudio();
    audioOpen = false;
}

void Audio::HaltAll()
{
    if (!audioOpen)
        return;
    Mix_HaltChannel(-1);
    Mix_HookMusicFinished(nullptr);
    if (Mix_PlayingMusic())
        Mix_HaltMusic();
}

void Audio::FadeOutAll(int ms)
{
    if (!audioOpen)
        return;
    Mix_FadeOutChannel(-1, ms);
    Mix_HookMusicFinished(nullptr);
    if (Mix_PlayingMusic())
        Mix_FadeOutMusic(ms);
}

void Audio::WaitForSilence()
{
    if (!audioOpen)
        return;
    while (Mix_Playing(-1) > 0 || Mix_PlayingMusic())
        SDL_Delay(1);
}

// Compares the version the build was compiled against with the library
// loaded at run time.
void Audio::CheckMixerVersion()
{
    SDL_version compiled;
    MIX_VERSION(&compiled);
    const SDL_version& linked = *Mix_Linked_Version();
    if (compiled != linked)
        std::printf("SDL_mixer version: %d.%d.%d, differs from SDL_mixer.dll version: %d.%d.%d\n",
                    compiled.major, compiled.minor, compiled.patch, linked.major, linked.minor,
                    linked.patch);
}
